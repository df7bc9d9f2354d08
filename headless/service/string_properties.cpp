// String, list, text range and text location properties, and whole
// property lists.
#include <utility>

#include "service/object_props.h"
#include "service/ops.h"

namespace headless::detail {

namespace {

// The path of a document or book tells open ones apart (as a search for an
// open document does); reading it is not acting on it.
Target IdentifyingRead(HostState& h, ObjectId obj, int32_t prop) {
  const Target t = h.peek(obj);
  if (prop == host::kPropName && (t.isDocument() || t.isBook())) return t;
  return h.resolve(obj);
}

}  // namespace

void GetString(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop, VtrStringSink sink,
               void* ctx) {
  HostState& h = *c.host;
  std::string out;
  if (obj == 0) {
    if (prop == host::kPropHomeDir) {
      out = h.homeDir;
    } else if (prop == host::kPropMasterBookDir) {
      out = h.masterBookDir;
    } else {
      out = h.hostProps.getString(prop);
    }
  } else if (Target t = IdentifyingRead(h, obj, prop)) {
    if (Document* d = t.doc()) {
      const Kind k = d->kind(t.local);
      if (prop == host::kPropName && k == Kind::Document) {
        out = d->path();
      } else if (prop == host::kPropName && k == Kind::Paragraph) {
        out = std::string(d->tag(t.local));
      } else if (prop == host::kPropMarkerText && k == Kind::Marker) {
        out = d->node(t.local).name;
      } else if (prop == host::kPropName && IsNamed(k)) {
        out = d->node(t.local).name;
      } else {
        out = d->props(t.local).getString(prop);
      }
    } else if (Book* b = t.book()) {
      if (prop == host::kPropName) {
        out = t.isBook() ? b->path() : b->component(t.local).path;
      } else if (t.isBook() && prop == host::kPropBookStatusLine) {
        auto it = h.statusLineText.find(obj);
        if (it != h.statusLineText.end()) out = it->second;
      } else {
        out = b->props(t.local).getString(prop);
      }
    } else if (HostObject* o = t.object()) {
      out = prop == host::kPropName ? o->tag : o->props.getString(prop);
    }
  }
  h.noteText(out);
  if (sink) sink(ctx, out.data(), static_cast<uint32_t>(out.size()));
}

void SetString(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop, const char* value) {
  HostState& h = *c.host;
  if (!value) return;
  std::string v = value;
  h.noteText(v);
  if (obj == 0) {
    if (prop == host::kPropHomeDir) {
      h.homeDir = v;
    } else if (prop == host::kPropMasterBookDir) {
      h.masterBookDir = v;
    } else {
      h.hostProps.set(prop, Value::String(v));
    }
    return;
  }
  Target t = h.resolve(obj);
  if (!t) return;
  if (Document* d = t.doc()) {
    const Kind k = d->kind(t.local);
    if (prop == host::kPropName && k == Kind::Document) {
      d->setPath(v);
    } else if (prop == host::kPropName && k == Kind::Paragraph) {
      d->setTag(t.local, v);
    } else if (prop == host::kPropMarkerText && k == Kind::Marker) {
      h.unicodeAtMarkerWrites.push_back(h.unicode);
      d->setName(t.local, v);
    } else if (prop == host::kPropName && IsNamed(k)) {
      d->setName(t.local, v);
    } else {
      d->setProp(t.local, prop, Value::String(v));
    }
    return;
  }
  if (Book* b = t.book()) {
    if (prop == host::kPropName) {
      if (t.isBook()) {
        b->setPath(v);
      } else {
        b->setComponentPath(t.local, v);
      }
      return;
    }
    if (t.isBook() && prop == host::kPropBookStatusLine) {
      // Window state: showing progress does not change the book.
      h.statusLines.push_back({obj, v});
      h.statusLineText[obj] = v;
      if (h.user) h.user->statusLine(h.statusLines.back());
      return;
    }
    b->setProp(t.local, prop, Value::String(v));
    return;
  }
  Store(t, prop, Value::String(v));
}

void GetProps(ClientState& c, ObjectId /*doc*/, ObjectId obj, VtrPropSink sink, void* ctx) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  if (!t || !sink) return;
  PropMap list;
  if (Document* d = t.doc()) {
    const Kind k = d->kind(t.local);
    if (k == Kind::ParagraphFormat || k == Kind::CharacterFormat) {
      list = d->formatPropList(t.local);
    } else {
      list = d->props(t.local);
      if (k == Kind::Paragraph)
        list.set(host::kPropName, Value::String(std::string(d->tag(t.local))));
      if (IsNamed(k)) list.set(host::kPropName, Value::String(d->node(t.local).name));
      if (k == Kind::Marker) {
        list.set(host::kPropMarkerText, Value::String(d->node(t.local).name));
        list.set(host::kPropMarkerType, Value::Object(d->node(t.local).ref));
      }
    }
  } else {
    list = StoredProps(t);
  }
  for (const auto& [prop, value] : list) {
    AbiValue abi(h, *t.space, prop, value);
    sink(ctx, abi.get());
  }
}

void SetProps(ClientState& c, ObjectId doc, ObjectId obj, const VtrAbiPropVal* vals,
              uint32_t count) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  if (!t || !vals) return;
  Document* d = t.doc();
  if (d && d->kind(t.local) == Kind::Paragraph) {
    // A list with a name is a paragraph format's: the paragraph then carries
    // exactly its properties, whatever it had set before. Other lists change
    // the properties they name.
    bool format = false;
    for (uint32_t i = 0; i < count; ++i) format = format || vals[i].prop == host::kPropName;
    PropMap props = format ? PropMap{} : d->paragraphProps(t.local);
    for (uint32_t i = 0; i < count; ++i) {
      const VtrAbiPropVal& a = vals[i];
      if (a.prop == host::kPropName) {
        std::string tag = a.sval ? a.sval : "";
        h.noteText(tag);
        d->setTag(t.local, tag);
      } else if (!IsDerived(Kind::Paragraph, a.prop)) {
        props.set(a.prop, FromAbi(h, *t.space, a));
      }
    }
    d->setParagraphProps(t.local, std::move(props));
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const VtrAbiPropVal& a = vals[i];
    switch (a.type) {
      case host::kValueInt:
      case host::kValueMetric:
        SetInt(c, doc, obj, a.prop, a.ival);
        break;
      case host::kValueString:
        SetString(c, doc, obj, a.prop, a.sval);
        break;
      case host::kValueId:
        SetId(c, doc, obj, a.prop, static_cast<ObjectId>(a.ival));
        break;
      default:
        if (d && IsDerived(d->kind(t.local), a.prop)) break;
        Store(t, a.prop, FromAbi(h, *t.space, a));
        break;
    }
  }
}

TextRange GetTextRange(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  TextRange out{{0, 0}, {0, 0}};
  if (!t) return out;
  if (t.isDocument() && prop == host::kPropTextSelection) {
    const TextSpan& sel = t.doc()->selection();
    out.beg = ToAbi(h, *t.space, sel.begin);
    out.end = ToAbi(h, *t.space, sel.end);
    return out;
  }
  const Value* v = StoredProps(t).find(prop);
  if (v && v->type == host::kValueTextRange) {
    out.beg = {HandleIn(h, *t.space, v->range.beg.obj), v->range.beg.offset};
    out.end = {HandleIn(h, *t.space, v->range.end.obj), v->range.end.offset};
  }
  return out;
}

void SetTextRange(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop,
                  const TextRange* range) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  if (!t || !range) return;
  if (t.isDocument() && prop == host::kPropTextSelection) {
    Document& d = *t.doc();
    if (range->beg.obj == 0 && range->end.obj == 0) {
      d.setSelection({});
      return;
    }
    TextPos b = FromAbi(h, *t.space, range->beg);
    TextPos e = FromAbi(h, *t.space, range->end);
    if (b.para == 0 || e.para == 0) return;
    d.setSelection({b, e});
    return;
  }
  Value v;
  v.type = host::kValueTextRange;
  v.range = {{LocalIn(h, *t.space, range->beg.obj), range->beg.offset},
             {LocalIn(h, *t.space, range->end.obj), range->end.offset}};
  Store(t, prop, std::move(v));
}

TextLoc GetTextLoc(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  if (!t) return {0, 0};
  if (Document* d = t.doc()) {
    if (prop == host::kPropMarkerPosition && IsAnchored(d->kind(t.local))) {
      return ToAbi(h, *t.space, d->anchorPosition(t.local));
    }
  }
  const Value* v = StoredProps(t).find(prop);
  if (v && v->type == host::kValueTextLoc) {
    return {HandleIn(h, *t.space, v->loc.obj), v->loc.offset};
  }
  return {0, 0};
}

}  // namespace headless::detail
