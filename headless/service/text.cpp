// Reading text as typed items, inserting and deleting text, and the
// properties of text (condition tags, character formatting).
#include <string>

#include "headless/utf8.h"
#include "service/ops.h"

namespace headless::detail {

namespace {

int32_t ItemType(Kind k, bool end) {
  switch (k) {
    case Kind::Marker:
      return host::kItemMarkerAnchor;
    case Kind::Table:
      return host::kItemTableAnchor;
    case Kind::Footnote:
      return host::kItemFootnoteAnchor;
    case Kind::AnchoredFrame:
      return host::kItemFrameAnchor;
    case Kind::TextInset:
      return end ? host::kItemTextInsetEnd : host::kItemTextInsetBegin;
    case Kind::Variable:
      return end ? host::kItemVariableEnd : host::kItemVariableBegin;
    case Kind::XRef:
      return end ? host::kItemXRefEnd : host::kItemXRefBegin;
    default:
      return 0;
  }
}

// Hands out the items of stretches of paragraphs: strings run between
// anchors, each anchor is an item of its own carrying its object.
class ItemWriter {
 public:
  ItemWriter(HostState& host, Space& space, int32_t flags, VtrTextItemSink sink, void* ctx)
      : host_(host), space_(space), flags_(flags), sink_(sink), ctx_(ctx) {}

  void write(Id para, uint32_t from, uint32_t to, bool endMark) {
    const Document& d = *space_.doc;
    const auto& atoms = d.atoms(para);
    to = std::min(to, static_cast<uint32_t>(atoms.size()));
    for (uint32_t i = from; i < to; ++i) {
      const Atom a = atoms[i];
      if (!a.isAnchor()) {
        if (text_.empty()) start_ = i;
        AppendUtf8(text_, a.ch());
        continue;
      }
      flush();
      const Kind k = d.kind(a.object());
      const int32_t type = ItemType(k, a.isEnd());
      if (type != 0 && (flags_ & type) != 0) {
        sink_(ctx_, static_cast<int32_t>(i), type, nullptr, 0, HandleIn(host_, space_, a.object()));
      }
    }
    flush();
    if (endMark && (flags_ & host::kItemParagraphEnd) != 0) {
      sink_(ctx_, static_cast<int32_t>(atoms.size()), host::kItemParagraphEnd, nullptr, 0,
            HandleIn(host_, space_, para));
    }
  }

 private:
  void flush() {
    if (text_.empty()) return;
    if ((flags_ & host::kItemString) != 0) {
      host_.noteText(text_);
      sink_(ctx_, static_cast<int32_t>(start_), host::kItemString, text_.data(),
            static_cast<uint32_t>(text_.size()), 0);
    }
    text_.clear();
  }

  HostState& host_;
  Space& space_;
  int32_t flags_;
  VtrTextItemSink sink_;
  void* ctx_;
  std::string text_;
  uint32_t start_ = 0;
};

// Both ends of a boundary range in one document, in order.
bool RangeIn(HostState& h, const TextRange* range, Space** space, TextPos* b, TextPos* e) {
  if (!range) return false;
  *space = DocumentSpace(h, range->beg.obj);
  if (!*space) return false;
  *b = FromAbi(h, **space, range->beg);
  *e = FromAbi(h, **space, range->end);
  if (b->para == 0 || e->para == 0) return false;
  return (*space)->doc->ordered(*b, *e);
}

}  // namespace

void GetText(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t flags, VtrTextItemSink sink,
             void* ctx) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  Document* d = t.doc();
  if (!d || !sink) return;
  ItemWriter writer(h, *t.space, flags, sink, ctx);
  const Kind k = d->kind(t.local);
  if (k == Kind::Paragraph) {
    writer.write(t.local, 0, static_cast<uint32_t>(d->size(t.local)), true);
  } else if (k == Kind::Flow || k == Kind::Cell || k == Kind::Footnote) {
    for (Id p = d->firstParagraph(t.local); p != 0; p = d->nextParagraph(p)) {
      writer.write(p, 0, static_cast<uint32_t>(d->size(p)), true);
    }
  }
}

void GetTextForRange(ClientState& c, ObjectId /*doc*/, const TextRange* range, int32_t flags,
                     VtrTextItemSink sink, void* ctx) {
  HostState& h = *c.host;
  Space* space = nullptr;
  TextPos b, e;
  if (!sink || !RangeIn(h, range, &space, &b, &e)) return;
  const Document& d = *space->doc;
  ItemWriter writer(h, *space, flags, sink, ctx);
  for (Id p = b.para;; p = d.para(p).next) {
    const auto n = static_cast<uint32_t>(d.size(p));
    const bool last = p == e.para;
    const uint32_t from = p == b.para ? b.offset : 0;
    const uint32_t to = last ? e.offset : n;
    writer.write(p, from, to, !last || e.offset > n);
    if (last) break;
  }
}

TextLoc AddText(ClientState& c, ObjectId /*doc*/, const TextLoc* loc, const char* text) {
  HostState& h = *c.host;
  if (!loc) return {0, 0};
  Space* space = DocumentSpace(h, loc->obj);
  if (!space) return {0, 0};
  TextPos pos = FromAbi(h, *space, *loc);
  if (pos.para == 0) return {0, 0};
  const std::string s = text ? text : "";
  h.noteText(s);
  return ToAbi(h, *space, space->doc->insertText(pos, s));
}

int32_t DeleteText(ClientState& c, ObjectId /*doc*/, const TextRange* range) {
  HostState& h = *c.host;
  Space* space = nullptr;
  TextPos b, e;
  if (!RangeIn(h, range, &space, &b, &e)) return -1;
  space->doc->deleteRange(b, e);
  return 0;
}

void GetTextPropVal(ClientState& c, ObjectId /*doc*/, const TextLoc* loc, int32_t prop,
                    VtrPropSink sink, void* ctx) {
  HostState& h = *c.host;
  if (!sink || !loc) return;
  Space* space = DocumentSpace(h, loc->obj);
  Value value;
  TextPos pos = space ? FromAbi(h, *space, *loc) : TextPos{};
  if (pos.para != 0) {
    const Document& d = *space->doc;
    const uint32_t attr = d.attrAt(pos);
    if (prop == host::kPropTextConditions) {
      value = Value::Objects(d.conditionsOf(attr));
    } else if (const Value* v = d.charStyle(d.attr(attr).charStyle).find(prop)) {
      value = *v;
    }
  }
  if (!space) {
    VtrAbiPropVal none{};
    none.prop = prop;
    sink(ctx, &none);
    return;
  }
  AbiValue abi(h, *space, prop, value);
  sink(ctx, abi.get());
}

void SetTextPropVal(ClientState& c, ObjectId /*doc*/, const TextRange* range,
                    const VtrAbiPropVal* value) {
  HostState& h = *c.host;
  Space* space = nullptr;
  TextPos b, e;
  if (!value || !RangeIn(h, range, &space, &b, &e)) return;
  Value v = FromAbi(h, *space, *value);
  if (value->prop == host::kPropTextConditions) {
    space->doc->setConditions(b, e, v.ids);
    return;
  }
  PropMap one;
  one.set(value->prop, std::move(v));
  space->doc->setCharProps(b, e, one, false);
}

void SetTextProps(ClientState& c, ObjectId /*doc*/, const TextRange* range,
                  const VtrAbiPropVal* vals, uint32_t count) {
  HostState& h = *c.host;
  Space* space = nullptr;
  TextPos b, e;
  if (!vals || !RangeIn(h, range, &space, &b, &e)) return;
  PropMap style;
  bool conditions = false;
  std::vector<Id> ids;
  for (uint32_t i = 0; i < count; ++i) {
    Value v = FromAbi(h, *space, vals[i]);
    if (vals[i].prop == host::kPropTextConditions) {
      conditions = true;
      ids = v.ids;
    } else {
      style.set(vals[i].prop, std::move(v));
    }
  }
  if (conditions) space->doc->setConditions(b, e, ids);
  // A list with a name is a character format: it becomes the text's whole
  // character formatting.
  if (!style.empty()) space->doc->setCharProps(b, e, style, style.contains(host::kPropName));
}

}  // namespace headless::detail
