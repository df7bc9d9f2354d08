// Named, series and anchored objects, and deletion.
#include "service/ops.h"

namespace headless::detail {

namespace {

Kind NamedKind(int32_t type) {
  switch (type) {
    case host::kObjParagraphFormat:
      return Kind::ParagraphFormat;
    case host::kObjCharacterFormat:
      return Kind::CharacterFormat;
    case host::kObjCondition:
      return Kind::Condition;
    case host::kObjColor:
      return Kind::Color;
    case host::kObjMarkerType:
      return Kind::MarkerType;
    default:
      return Kind::None;
  }
}

// The marker type a new marker has until it is given one.
constexpr const char* kDefaultMarkerType = "Header/Footer $1";

}  // namespace

ObjectId GetNamedObject(ClientState& c, ObjectId doc, int32_t type, const char* name) {
  HostState& h = *c.host;
  const std::string n = name ? name : "";
  h.noteText(n);
  if (doc == 0) {
    switch (type) {
      case host::kObjMenu:
        return h.findHostObject(MenuEntry::Type::Menu, n);
      case host::kObjSeparator:
        return h.findHostObject(MenuEntry::Type::Separator, n);
      case host::kObjBook: {
        ObjectId found = h.findOpen(n);
        return h.resolve(found).isBook() ? found : 0;
      }
      default:
        return 0;
    }
  }
  Target t = h.resolve(doc);
  if (!t.isDocument()) return 0;
  Kind k = NamedKind(type);
  if (k == Kind::None) return 0;
  return HandleIn(h, *t.space, t.doc()->find(k, n));
}

ObjectId NewNamedObject(ClientState& c, ObjectId doc, int32_t type, const char* name) {
  HostState& h = *c.host;
  const std::string n = name ? name : "";
  h.noteText(n);
  if (doc == 0) {
    if (type == host::kObjSeparator) {
      // Every call makes a separator of its own, whatever its name.
      HostObject sep;
      sep.type = MenuEntry::Type::Separator;
      sep.tag = n;
      sep.client = c.index;
      return h.addHostObject(std::move(sep));
    }
    if (type == host::kObjBook) {
      auto book = std::make_unique<Book>();
      book->setPath(n);
      return h.adopt(std::move(book));
    }
    return 0;
  }
  Target t = h.resolve(doc);
  if (!t.isDocument()) return 0;
  Document& d = *t.doc();
  Id id = 0;
  switch (NamedKind(type)) {
    case Kind::ParagraphFormat:
      id = d.addParagraphFormat(n);
      break;
    case Kind::CharacterFormat:
      id = d.addCharacterFormat(n);
      break;
    case Kind::Condition:
      id = d.addCondition(n);
      break;
    case Kind::Color:
      id = d.addColor(n);
      break;
    case Kind::MarkerType:
      id = d.addMarkerType(n);
      break;
    default:
      return 0;
  }
  return HandleIn(h, *t.space, id);
}

ObjectId NewSeriesObject(ClientState& c, ObjectId doc, int32_t type, ObjectId prev) {
  HostState& h = *c.host;
  if (type != host::kObjBookComponent) return 0;
  Target t = h.resolve(doc);
  if (!t.isBook()) return 0;
  Book& b = *t.book();
  Id after = 0;
  Id parent = 0;
  if (prev != 0) {
    after = LocalIn(h, *t.space, prev);
    if (!b.isComponent(after)) return 0;
    parent = b.component(after).parent;
  }
  return HandleIn(h, *t.space, b.addComponent(parent, after, host::kComponentDocument, {}));
}

ObjectId NewAnchoredObject(ClientState& c, ObjectId doc, int32_t type, const TextLoc* loc) {
  HostState& h = *c.host;
  if (type != host::kObjMarker || !loc) return 0;
  Target t = h.resolve(doc);
  if (!t.isDocument()) return 0;
  TextPos pos = FromAbi(h, *t.space, *loc);
  if (pos.para == 0) return 0;
  Document& d = *t.doc();
  Id marker = d.addMarker(d.find(Kind::MarkerType, kDefaultMarkerType), {});
  d.insertAnchor(pos, marker);
  h.unicodeAtMarkerWrites.push_back(h.unicode);
  return HandleIn(h, *t.space, marker);
}

int32_t DeleteObject(ClientState& c, ObjectId /*doc*/, ObjectId obj) {
  HostState& h = *c.host;
  Target t = h.resolve(obj);
  if (Document* d = t.doc()) {
    if (t.isDocument()) return -1;
    return d->deleteObject(t.local) ? 0 : -1;
  }
  if (t.isComponent()) return t.book()->removeComponent(t.local) ? 0 : -1;
  return -1;
}

}  // namespace headless::detail
