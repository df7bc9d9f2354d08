// Object and integer properties. Properties the model computes (links,
// layout, flags the model acts on) are answered from the model; every other
// property set on an object is stored and read back as it was set.
#include <utility>

#include "service/object_props.h"
#include "service/ops.h"

namespace headless::detail {

bool IsDerived(Kind k, int prop) {
  switch (k) {
    case Kind::Document:
      return prop == host::kPropNextOpenDoc || prop == host::kPropFirstMarkerInDoc ||
             prop == host::kPropFirstFootnoteInDoc || prop == host::kPropFirstTableInDoc ||
             prop == host::kPropFirstFlowInDoc || prop == host::kPropFirstConditionInDoc ||
             prop == host::kPropSelectedTable || prop == host::kPropFirstTextInsetInDoc;
    case Kind::Flow:
      return prop == host::kPropFlowNext || prop == host::kPropFirstFrameInFlow;
    case Kind::TextFrame:
      return prop == host::kPropFirstParagraph || prop == host::kPropLastParagraph ||
             prop == host::kPropNextFrameInFlow || prop == host::kPropFirstColumn;
    case Kind::Column:
      return prop == host::kPropFirstParagraph || prop == host::kPropLastParagraph ||
             prop == host::kPropNextColumn;
    case Kind::Paragraph:
      return prop == host::kPropNextParagraph || prop == host::kPropPrevParagraph;
    case Kind::Table:
      return prop == host::kPropNextTable || prop == host::kPropFirstRow;
    case Kind::Row:
      return prop == host::kPropNextRow || prop == host::kPropFirstCell;
    case Kind::Cell:
      return prop == host::kPropFirstParagraph || prop == host::kPropNextCell;
    case Kind::Footnote:
      return prop == host::kPropNextFootnote || prop == host::kPropFirstParagraph;
    case Kind::Marker:
      return prop == host::kPropNextMarker || prop == host::kPropMarkerPosition;
    case Kind::Condition:
      return prop == host::kPropNextCondition;
    case Kind::TextInset:
      return prop == host::kPropNextTextInset;
    default:
      return false;
  }
}

bool IsAnchored(Kind k) {
  return k == Kind::Marker || k == Kind::Table || k == Kind::Footnote || k == Kind::TextInset ||
         k == Kind::Variable || k == Kind::XRef || k == Kind::AnchoredFrame;
}

bool IsNamed(Kind k) {
  return k == Kind::Condition || k == Kind::ParagraphFormat || k == Kind::CharacterFormat ||
         k == Kind::Color || k == Kind::MarkerType || k == Kind::Flow;
}

const PropMap& StoredProps(const Target& t) {
  static const PropMap kNone;
  if (t.doc()) return t.doc()->props(t.local);
  if (t.book()) return t.book()->props(t.local);
  if (HostObject* o = t.object()) return o->props;
  return kNone;
}

void Store(const Target& t, int prop, Value value) {
  if (Document* d = t.doc()) {
    d->setProp(t.local, prop, std::move(value));
  } else if (Book* b = t.book()) {
    b->setProp(t.local, prop, std::move(value));
  } else if (HostObject* o = t.object()) {
    o->props.set(prop, std::move(value));
  }
}

namespace {

using host::kValueId;

// The next open document or book after `self` in the host's open order.
ObjectId NextOpen(const HostState& host, ObjectId self, bool books) {
  std::vector<ObjectId> list = books ? host.openBooks() : host.openDocuments();
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (list[i] == self) return list[i + 1];
  }
  return 0;
}

// Object-valued properties the document model computes.
Id DocumentObjectId(HostState& host, const Target& t, int prop) {
  Document& d = *t.doc();
  const Id x = t.local;
  switch (d.kind(x)) {
    case Kind::Document:
      switch (prop) {
        case host::kPropFirstMarkerInDoc:
          return d.first(DocList::Markers);
        case host::kPropFirstFootnoteInDoc:
          return d.first(DocList::Footnotes);
        case host::kPropFirstTableInDoc:
          return d.first(DocList::Tables);
        case host::kPropFirstFlowInDoc:
          return d.first(DocList::Flows);
        case host::kPropFirstConditionInDoc:
          return d.first(DocList::Conditions);
        case host::kPropFirstTextInsetInDoc:
          return d.first(DocList::TextInsets);
        case host::kPropMainFlowInDoc:
          return d.mainFlow();
        case host::kPropSelectedTable: {
          Id p = d.selection().begin.para;
          return d.kind(p) == Kind::Paragraph ? d.tableOfCell(d.para(p).owner) : 0;
        }
        default:
          break;
      }
      break;
    case Kind::Flow:
      if (prop == host::kPropFlowNext) return d.node(x).next;
      if (prop == host::kPropFirstFrameInFlow) return d.node(x).first;
      break;
    case Kind::TextFrame:
      if (prop == host::kPropFirstParagraph) return d.frameFirstParagraph(x);
      if (prop == host::kPropLastParagraph) return d.frameLastParagraph(x);
      if (prop == host::kPropNextFrameInFlow) return d.nextFrame(x);
      if (prop == host::kPropFirstColumn) return d.node(x).first;
      break;
    case Kind::Column:
      if (prop == host::kPropFirstParagraph) return d.columnFirstParagraph(x);
      if (prop == host::kPropLastParagraph) return d.columnLastParagraph(x);
      if (prop == host::kPropNextColumn) return d.nextColumn(x);
      break;
    case Kind::Paragraph:
      if (prop == host::kPropNextParagraph) return d.nextParagraph(x);
      if (prop == host::kPropPrevParagraph) return d.prevParagraph(x);
      break;
    case Kind::Table:
      if (prop == host::kPropNextTable) return d.node(x).next;
      if (prop == host::kPropFirstRow) return d.node(x).first;
      break;
    case Kind::Row:
      if (prop == host::kPropNextRow) return d.node(x).next;
      if (prop == host::kPropFirstCell) return d.node(x).first;
      break;
    case Kind::Cell:
      if (prop == host::kPropNextCell) return d.node(x).next;
      if (prop == host::kPropFirstParagraph) return d.firstParagraph(x);
      break;
    case Kind::Footnote:
      if (prop == host::kPropNextFootnote) return d.node(x).next;
      if (prop == host::kPropFirstParagraph) return d.firstParagraph(x);
      break;
    case Kind::Marker:
      if (prop == host::kPropNextMarker) return d.node(x).next;
      if (prop == host::kPropMarkerType) return d.alive(d.node(x).ref) ? d.node(x).ref : 0;
      break;
    case Kind::Condition:
      if (prop == host::kPropNextCondition) return d.node(x).next;
      break;
    case Kind::TextInset:
      if (prop == host::kPropNextTextInset) return d.node(x).next;
      break;
    default:
      break;
  }
  (void)host;
  const Value* v = d.props(x).find(prop);
  return v && v->type == kValueId ? static_cast<Id>(v->i) : 0;
}

ObjectId BookObjectId(HostState& host, const Target& t, int prop) {
  Book& b = *t.book();
  if (t.isBook()) {
    if (prop == host::kPropNextOpenBook) return NextOpen(host, host.handleOf(t), true);
    if (prop == host::kPropFirstComponentInBook)
      return HandleIn(host, *t.space, b.firstComponent());
  } else {
    const Component& c = b.component(t.local);
    if (prop == host::kPropComponentFirstChild) return HandleIn(host, *t.space, c.first);
    if (prop == host::kPropComponentParent) return HandleIn(host, *t.space, c.parent);
    if (prop == host::kPropNextComponent) return HandleIn(host, *t.space, c.next);
  }
  const Value* v = b.props(t.local).find(prop);
  return v && v->type == kValueId ? HandleIn(host, *t.space, static_cast<Id>(v->i)) : 0;
}

}  // namespace

ObjectId GetId(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop) {
  HostState& h = *c.host;
  if (obj == 0) {
    switch (prop) {
      case host::kPropActiveDoc:
        return h.activeDocument();
      case host::kPropActiveBook:
        return h.activeBook();
      case host::kPropFirstOpenDoc: {
        auto docs = h.openDocuments();
        return docs.empty() ? 0 : docs.front();
      }
      case host::kPropFirstOpenBook: {
        auto books = h.openBooks();
        return books.empty() ? 0 : books.front();
      }
      default: {
        const Value* v = h.hostProps.find(prop);
        return v && v->type == kValueId ? static_cast<ObjectId>(v->i) : 0;
      }
    }
  }
  // Walking the open documents and books is not acting on them.
  const bool chain = prop == host::kPropNextOpenDoc || prop == host::kPropNextOpenBook;
  Target t = chain ? h.peek(obj) : h.resolve(obj);
  if (!t) return 0;
  if (t.doc()) {
    if (t.isDocument() && prop == host::kPropNextOpenDoc) return NextOpen(h, obj, false);
    return HandleIn(h, *t.space, DocumentObjectId(h, t, prop));
  }
  if (t.book()) return BookObjectId(h, t, prop);
  const Value* v = t.object()->props.find(prop);
  return v && v->type == kValueId ? static_cast<ObjectId>(v->i) : 0;
}

void SetId(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop, ObjectId value) {
  HostState& h = *c.host;
  if (obj == 0) {
    if (prop == host::kPropActiveDoc) {
      if (value == 0 || h.resolve(value).isDocument()) h.activeDocHandle = value;
    } else if (prop == host::kPropActiveBook) {
      if (value == 0 || h.resolve(value).isBook()) h.activeBookHandle = value;
    } else {
      h.hostProps.set(prop, Value::Object(value));
    }
    return;
  }
  Target t = h.resolve(obj);
  if (!t) return;
  const Id local = LocalIn(h, *t.space, value);
  // An object of another document or book cannot be named here.
  if (value != 0 && local == 0) return;
  if (Document* d = t.doc()) {
    const Kind k = d->kind(t.local);
    if (IsDerived(k, prop)) return;
    if (k == Kind::Marker && prop == host::kPropMarkerType) {
      d->setMarkerType(t.local, local);
      return;
    }
    d->setProp(t.local, prop, Value::Object(local));
    return;
  }
  if (t.book() && (prop == host::kPropComponentFirstChild || prop == host::kPropComponentParent ||
                   prop == host::kPropNextComponent || prop == host::kPropFirstComponentInBook ||
                   prop == host::kPropNextOpenBook)) {
    return;
  }
  Store(t, prop, Value::Object(local));
}

int32_t GetInt(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop) {
  HostState& h = *c.host;
  if (obj == 0) {
    if (prop == host::kPropDisplaying) return h.display ? 1 : 0;
    return h.hostProps.getInt(prop);
  }
  Target t = h.resolve(obj);
  if (!t) return 0;
  if (Document* d = t.doc()) {
    const Kind k = d->kind(t.local);
    if (k == Kind::Document && prop == host::kPropShowAllConditions) return d->showAll() ? 1 : 0;
    if (k == Kind::Condition && prop == host::kPropConditionShown) {
      return d->conditionShown(t.local) ? 1 : 0;
    }
    if (k == Kind::Cell && prop == host::kPropCellShown) return d->node(t.local).flag;
    if (k == Kind::TextInset && prop == host::kPropTextInsetLocked) return d->node(t.local).flag;
    if (k == Kind::TextFrame && prop == host::kPropBalanceColumns) return d->node(t.local).flag;
  }
  if (Book* b = t.book()) {
    if (t.isComponent() && prop == host::kPropComponentKind) return b->component(t.local).kind;
  }
  const Value* v = StoredProps(t).find(prop);
  if (!v) return 0;
  if (v->type == kValueId)
    return static_cast<int32_t>(HandleIn(h, *t.space, static_cast<Id>(v->i)));
  return v->i;
}

void SetInt(ClientState& c, ObjectId /*doc*/, ObjectId obj, int32_t prop, int32_t value) {
  HostState& h = *c.host;
  if (obj == 0) {
    if (prop == host::kPropDisplaying) {
      h.display = value != 0;
      h.displaySwitches.push_back(value);
    } else {
      h.hostProps.set(prop, Value::Int(value));
    }
    return;
  }
  Target t = h.resolve(obj);
  if (!t) return;
  if (Document* d = t.doc()) {
    const Kind k = d->kind(t.local);
    if (IsDerived(k, prop)) return;
    if (k == Kind::Document && prop == host::kPropShowAllConditions) {
      d->setShowAll(value != 0);
      return;
    }
    if ((k == Kind::Condition && prop == host::kPropConditionShown) ||
        (k == Kind::Cell && prop == host::kPropCellShown) ||
        (k == Kind::TextInset && prop == host::kPropTextInsetLocked) ||
        (k == Kind::TextFrame && prop == host::kPropBalanceColumns)) {
      d->setFlag(t.local, value);
      return;
    }
    // Metrics keep their type when they are written as integers.
    const Value* old = d->props(t.local).find(prop);
    d->setProp(t.local, prop,
               old && old->type == host::kValueMetric ? Value::Metric(value) : Value::Int(value));
    return;
  }
  if (Book* b = t.book()) {
    if (t.isComponent() && prop == host::kPropComponentKind) {
      b->setComponentKind(t.local, value);
      return;
    }
  }
  Store(t, prop, Value::Int(value));
}

int32_t GetMetric(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop) {
  return GetInt(c, doc, obj, prop);
}

}  // namespace headless::detail
