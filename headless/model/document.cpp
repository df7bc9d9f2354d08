// Objects, lists and named objects (formats, conditions, colours, marker
// types) of a document.
#include "headless/document.h"

#include <cassert>

namespace headless {

namespace {

constexpr const char* kStandardMarkerTypes[] = {
    "Header/Footer $1", "Header/Footer $2", "Index",     "Comment",   "Subject",         "Author",
    "Glossary",         "Equation",         "Hypertext", "Cross-Ref", "Conditional Text"};

constexpr const char* kReservedColors[] = {"Black", "White", "Red",     "Green",
                                           "Blue",  "Cyan",  "Magenta", "Yellow"};

// Paragraph properties every paragraph format lists, with their defaults.
struct FormatDefault {
  int code;
  Value value;
};

const std::vector<FormatDefault>& ParagraphFormatDefaults() {
  static const std::vector<FormatDefault> defaults = {
      {host::kPropIndent, Value::Metric(0)},
      {host::kPropStartPosition, Value::Int(0)},
      {host::kPropPlacement, Value::Int(0)},
  };
  return defaults;
}

DocList ListOfKind(Kind kind, bool* has) {
  *has = true;
  switch (kind) {
    case Kind::Flow:
      return DocList::Flows;
    case Kind::Table:
      return DocList::Tables;
    case Kind::Footnote:
      return DocList::Footnotes;
    case Kind::Marker:
      return DocList::Markers;
    case Kind::Condition:
      return DocList::Conditions;
    case Kind::ParagraphFormat:
      return DocList::ParagraphFormats;
    case Kind::CharacterFormat:
      return DocList::CharacterFormats;
    case Kind::Color:
      return DocList::Colors;
    case Kind::MarkerType:
      return DocList::MarkerTypes;
    case Kind::TextInset:
      return DocList::TextInsets;
    case Kind::Variable:
      return DocList::Variables;
    case Kind::XRef:
      return DocList::XRefs;
    case Kind::AnchoredFrame:
      return DocList::AnchoredFrames;
    default:
      *has = false;
      return DocList::Count;
  }
}

bool IsNamedKind(Kind kind) {
  return kind == Kind::Condition || kind == Kind::ParagraphFormat ||
         kind == Kind::CharacterFormat || kind == Kind::Color || kind == Kind::MarkerType;
}

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::None:
      return "none";
    case Kind::Document:
      return "document";
    case Kind::Flow:
      return "flow";
    case Kind::TextFrame:
      return "text frame";
    case Kind::Column:
      return "column";
    case Kind::Paragraph:
      return "paragraph";
    case Kind::Table:
      return "table";
    case Kind::Row:
      return "row";
    case Kind::Cell:
      return "cell";
    case Kind::Footnote:
      return "footnote";
    case Kind::Marker:
      return "marker";
    case Kind::MarkerType:
      return "marker type";
    case Kind::Condition:
      return "condition tag";
    case Kind::ParagraphFormat:
      return "paragraph format";
    case Kind::CharacterFormat:
      return "character format";
    case Kind::Color:
      return "colour";
    case Kind::TextInset:
      return "text inset";
    case Kind::Variable:
      return "variable";
    case Kind::XRef:
      return "cross-reference";
    case Kind::AnchoredFrame:
      return "anchored frame";
  }
  return "unknown";
}

Document::Document() : emptyProps_(std::make_shared<const PropMap>()) {
  slots_.resize(1);  // id 0 is none
  Id self = newNode(Kind::Document);
  assert(self == kSelf);
  (void)self;
  tags_.emplace_back();  // tag 0 is the empty tag
  tagIndex_.emplace(std::string(), 0);
  attrs_.emplace_back();  // attribute 0: no conditions, paragraph font
  attrIndex_.emplace(TextAttr{}, 0);
  charStyles_.emplace_back();
  for (const char* name : kStandardMarkerTypes) {
    Id type = addMarkerType(name);
    mutableNode(type).flag = 1;
  }
  clearModified();
}

// ---- Objects ----

Kind Document::kind(Id id) const {
  if (id == 0 || id >= slots_.size()) return Kind::None;
  return slots_[id].kind;
}

uint64_t Document::origin(Id id) const {
  return alive(id) ? slots_[id].origin : 0;
}

void Document::setOrigin(Id id, uint64_t origin) {
  if (alive(id)) slots_[id].origin = origin;
}

bool Document::modified(Id id) const {
  return alive(id) && slots_[id].modified;
}

void Document::markModified(Id id) {
  if (!alive(id)) return;
  slots_[id].modified = true;
  dirty_ = true;
  ++changes_;
  switch (kind(id)) {
    case Kind::Paragraph:
      layoutParagraphChanged(id);
      break;
    // What moves no text in frames: the chain of a flow changes only with
    // its paragraphs, which say so themselves.
    case Kind::Flow:
    case Kind::Table:
    case Kind::Row:
    case Kind::Cell:
    case Kind::Footnote:
    case Kind::Marker:
    case Kind::MarkerType:
    case Kind::CharacterFormat:
    case Kind::Color:
    case Kind::TextInset:
    case Kind::Variable:
    case Kind::XRef:
    case Kind::AnchoredFrame:
      break;
    default:
      layoutChanged();
  }
}

void Document::clearModified() {
  for (Slot& slot : slots_) slot.modified = false;
  dirty_ = false;
}

void Document::changed(Id id) {
  markModified(id);
}

void Document::changedVisibility() {
  ++visibilityStamp_;
  ++changes_;
  layoutChanged();
}

Id Document::newNode(Kind kind) {
  Id id = static_cast<Id>(slots_.size());
  Slot slot;
  slot.kind = kind;
  slot.index = static_cast<uint32_t>(nodes_.size());
  slot.modified = true;
  slots_.push_back(slot);
  Node node;
  node.kind = kind;
  nodes_.push_back(std::move(node));
  bool has = false;
  DocList list = ListOfKind(kind, &has);
  if (has) linkLast(lists_[static_cast<int>(list)], id);
  dirty_ = true;
  ++changes_;
  if (kind == Kind::TextFrame || kind == Kind::Column) layoutChanged();
  return id;
}

Id Document::newPara(Id owner, uint32_t tag, std::shared_ptr<const PropMap> props) {
  Id id = static_cast<Id>(slots_.size());
  Slot slot;
  slot.kind = Kind::Paragraph;
  slot.index = static_cast<uint32_t>(paras_.size());
  slot.modified = true;
  slots_.push_back(slot);
  Para para;
  para.owner = owner;
  para.tag = tag;
  para.props = props ? std::move(props) : emptyProps_;
  paras_.push_back(std::move(para));
  dirty_ = true;
  ++changes_;
  return id;
}

const Node& Document::node(Id id) const {
  assert(alive(id) && kind(id) != Kind::Paragraph);
  return nodes_[slots_[id].index];
}

const Para& Document::para(Id id) const {
  assert(kind(id) == Kind::Paragraph);
  const Para& p = paras_[slots_[id].index];
  if (p.removed != 0) takeOutRemoved(p);
  return p;
}

Node& Document::mutableNode(Id id) {
  assert(alive(id) && kind(id) != Kind::Paragraph);
  return nodes_[slots_[id].index];
}

Para& Document::mutablePara(Id id) {
  assert(kind(id) == Kind::Paragraph);
  Para& p = paras_[slots_[id].index];
  if (p.removed != 0) takeOutRemoved(p);
  return p;
}

const PropMap& Document::props(Id id) const {
  static const PropMap kNone;
  Kind k = kind(id);
  if (k == Kind::None) return kNone;
  if (k == Kind::Paragraph) return *para(id).props;
  return node(id).props;
}

void Document::setProp(Id id, int code, Value value) {
  Kind k = kind(id);
  if (k == Kind::None) return;
  if (k == Kind::Paragraph) {
    setParagraphProp(id, code, std::move(value));
    return;
  }
  mutableNode(id).props.set(code, std::move(value));
  if (k == Kind::ParagraphFormat) formatProps_.erase(id);
  changed(id);
}

void Document::eraseProp(Id id, int code) {
  Kind k = kind(id);
  if (k == Kind::None || k == Kind::Paragraph) return;
  if (mutableNode(id).props.erase(code)) {
    if (k == Kind::ParagraphFormat) formatProps_.erase(id);
    changed(id);
  }
}

void Document::setName(Id id, std::string name) {
  Kind k = kind(id);
  if (k == Kind::None || k == Kind::Paragraph) return;
  if (IsNamedKind(k)) unindexName(id);
  mutableNode(id).name = std::move(name);
  if (IsNamedKind(k)) indexName(id);
  changed(id);
  if (k == Kind::Marker) markModified(node(id).anchor);
}

void Document::setFlag(Id id, int32_t flag) {
  Kind k = kind(id);
  if (k == Kind::None || k == Kind::Paragraph) return;
  if (k == Kind::Condition) {
    setConditionShown(id, flag != 0);
    return;
  }
  mutableNode(id).flag = flag;
  changed(id);
}

// ---- The document itself ----

void Document::setPath(std::string path) {
  path_ = std::move(path);
}

void Document::setShowAll(bool on) {
  if (showAll_ == on) return;
  showAll_ = on;
  changed(kSelf);
  changedVisibility();
}

void Document::setMainFlow(Id flow) {
  if (kind(flow) != Kind::Flow) return;
  mainFlow_ = flow;
  changed(kSelf);
}

// ---- Lists ----

Document::ListHead* Document::listOf(Kind kind) {
  bool has = false;
  DocList list = ListOfKind(kind, &has);
  return has ? &lists_[static_cast<int>(list)] : nullptr;
}

void Document::linkLast(ListHead& head, Id id) {
  Node& n = mutableNode(id);
  n.prev = head.last;
  n.next = 0;
  if (head.last != 0) {
    mutableNode(head.last).next = id;
  } else {
    head.first = id;
  }
  head.last = id;
}

void Document::unlink(ListHead& head, Id id) {
  Node& n = mutableNode(id);
  if (n.prev != 0) {
    mutableNode(n.prev).next = n.next;
  } else {
    head.first = n.next;
  }
  if (n.next != 0) {
    mutableNode(n.next).prev = n.prev;
  } else {
    head.last = n.prev;
  }
  n.prev = n.next = 0;
}

void Document::moveToListEnd(Id id) {
  const Kind k = kind(id);
  if (k == Kind::None || k == Kind::Paragraph) return;
  ListHead* head = listOf(k);
  if (head == nullptr || head->last == id) return;
  unlink(*head, id);
  linkLast(*head, id);
}

std::vector<Id> Document::all(DocList list) const {
  std::vector<Id> out;
  for (Id id = first(list); id != 0; id = node(id).next) out.push_back(id);
  return out;
}

// ---- Named objects ----

void Document::indexName(Id id) {
  const Node& n = node(id);
  // The first object of a name keeps it; lookups find that one.
  names_[static_cast<int>(n.kind)].emplace(n.name, id);
}

void Document::unindexName(Id id) {
  const Node& n = node(id);
  auto& names = names_[static_cast<int>(n.kind)];
  auto it = names.find(n.name);
  if (it != names.end() && it->second == id) names.erase(it);
}

Id Document::find(Kind kind, std::string_view name) const {
  if (!IsNamedKind(kind)) return 0;
  const auto& names = names_[static_cast<int>(kind)];
  auto it = names.find(std::string(name));
  return it == names.end() ? 0 : it->second;
}

Id Document::addColor(std::string name) {
  if (Id existing = find(Kind::Color, name)) return existing;
  Id id = newNode(Kind::Color);
  mutableNode(id).name = std::move(name);
  indexName(id);
  return id;
}

void Document::addReservedColors() {
  for (const char* name : kReservedColors) addColor(name);
}

Id Document::addCondition(std::string name, bool shown, Id color) {
  if (Id existing = find(Kind::Condition, name)) return existing;
  Id id = newNode(Kind::Condition);
  Node& n = mutableNode(id);
  n.name = std::move(name);
  n.flag = 1;
  if (kind(color) == Kind::Color) n.props.set(host::kPropConditionColor, Value::Object(color));
  indexName(id);
  if (!shown) setConditionShown(id, false);
  return id;
}

bool Document::conditionShown(Id condition) const {
  return kind(condition) == Kind::Condition && node(condition).flag != 0;
}

void Document::setConditionShown(Id condition, bool shown) {
  if (kind(condition) != Kind::Condition) return;
  Node& n = mutableNode(condition);
  const bool was = n.flag != 0;
  n.flag = shown ? 1 : 0;
  changed(condition);
  if (was == shown) return;
  hiddenConditions_ += shown ? -1 : 1;
  changedVisibility();
}

Id Document::addParagraphFormat(std::string name, PropMap props) {
  if (Id existing = find(Kind::ParagraphFormat, name)) return existing;
  Id id = newNode(Kind::ParagraphFormat);
  Node& n = mutableNode(id);
  n.name = std::move(name);
  props.erase(host::kPropName);
  n.props = std::move(props);
  indexName(id);
  return id;
}

Id Document::addCharacterFormat(std::string name, PropMap props) {
  if (Id existing = find(Kind::CharacterFormat, name)) return existing;
  Id id = newNode(Kind::CharacterFormat);
  Node& n = mutableNode(id);
  n.name = std::move(name);
  props.erase(host::kPropName);
  n.props = std::move(props);
  indexName(id);
  return id;
}

Id Document::addMarkerType(std::string name) {
  if (Id existing = find(Kind::MarkerType, name)) return existing;
  Id id = newNode(Kind::MarkerType);
  mutableNode(id).name = std::move(name);
  indexName(id);
  return id;
}

PropMap Document::formatPropList(Id format) const {
  PropMap out;
  Kind k = kind(format);
  if (k != Kind::ParagraphFormat && k != Kind::CharacterFormat) return out;
  const Node& n = node(format);
  if (k == Kind::ParagraphFormat) {
    for (const FormatDefault& d : ParagraphFormatDefaults()) out.set(d.code, d.value);
  }
  for (const auto& [code, value] : n.props) out.set(code, value);
  out.set(host::kPropName, Value::String(n.name));
  return out;
}

std::shared_ptr<const PropMap> Document::sharedFormatProps(Id format) {
  auto it = formatProps_.find(format);
  if (it != formatProps_.end()) return it->second;
  PropMap list = formatPropList(format);
  list.erase(host::kPropName);
  auto shared = std::make_shared<const PropMap>(std::move(list));
  formatProps_.emplace(format, shared);
  return shared;
}

}  // namespace headless
