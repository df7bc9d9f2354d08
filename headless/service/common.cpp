#include "service/common.h"

namespace headless::detail {

ObjectId HandleIn(HostState& host, Space& space, Id local) {
  if (space.type == Space::Type::Host) return local;
  if (local == 0) return 0;
  if (space.doc && !space.doc->alive(local)) return 0;
  if (space.book && !space.book->isBook(local) && !space.book->isComponent(local)) return 0;
  return host.handleOf(space, local);
}

Id LocalIn(const HostState& host, const Space& space, ObjectId handle) {
  if (space.type == Space::Type::Host) return handle;
  return host.localIn(space, handle);
}

AbiValue::AbiValue(HostState& host, Space& space, int prop, const Value& value) {
  abi_.prop = prop;
  abi_.type = value.type;
  abi_.ival = value.i;
  if (value.type == host::kValueId) {
    abi_.ival = static_cast<int32_t>(HandleIn(host, space, static_cast<Id>(value.i)));
  }
  s_ = value.s;
  abi_.sval = s_.c_str();
  for (Id id : value.ids) ids_.push_back(HandleIn(host, space, id));
  abi_.ids = ids_.empty() ? nullptr : ids_.data();
  abi_.ids_len = static_cast<uint32_t>(ids_.size());
  strs_ = value.strs;
  for (const std::string& s : strs_) strPtrs_.push_back(s.c_str());
  abi_.strs = strPtrs_.empty() ? nullptr : strPtrs_.data();
  abi_.strs_len = static_cast<uint32_t>(strPtrs_.size());
  if (value.type == host::kValueTextLoc) {
    abi_.loc = {HandleIn(host, space, value.loc.obj), value.loc.offset};
  }
  if (value.type == host::kValueTextRange) {
    abi_.range = {{HandleIn(host, space, value.range.beg.obj), value.range.beg.offset},
                  {HandleIn(host, space, value.range.end.obj), value.range.end.offset}};
  }
  host.noteText(s_);
}

Value FromAbi(const HostState& host, const Space& space, const VtrAbiPropVal& a) {
  Value v;
  v.type = a.type;
  v.i = a.ival;
  if (a.type == host::kValueId) v.i = static_cast<int32_t>(LocalIn(host, space, a.ival));
  if (a.sval) v.s = a.sval;
  for (uint32_t i = 0; a.ids && i < a.ids_len; ++i) {
    Id local = LocalIn(host, space, a.ids[i]);
    if (local != 0) v.ids.push_back(local);
  }
  for (uint32_t i = 0; a.strs && i < a.strs_len; ++i)
    v.strs.emplace_back(a.strs[i] ? a.strs[i] : "");
  if (a.type == host::kValueTextLoc) v.loc = {LocalIn(host, space, a.loc.obj), a.loc.offset};
  if (a.type == host::kValueTextRange) {
    v.range = {{LocalIn(host, space, a.range.beg.obj), a.range.beg.offset},
               {LocalIn(host, space, a.range.end.obj), a.range.end.offset}};
  }
  return v;
}

TextLoc ToAbi(HostState& host, Space& space, TextPos pos) {
  if (pos.para == 0) return {0, 0};
  return {HandleIn(host, space, pos.para), static_cast<int32_t>(pos.offset)};
}

TextPos FromAbi(const HostState& host, const Space& space, const TextLoc& loc) {
  if (!space.doc) return {};
  Id p = LocalIn(host, space, loc.obj);
  if (space.doc->kind(p) != Kind::Paragraph) return {};
  return space.doc->resolve(p, loc.offset);
}

Space* DocumentSpace(const HostState& host, ObjectId handle) {
  Target t = host.resolve(handle);
  return t.doc() ? t.space : nullptr;
}

}  // namespace headless::detail
