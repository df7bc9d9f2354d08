// Paragraphs: their chains, creation, tags and shared properties, text built
// at their end, and the interned attributes of their positions.
#include "headless/document.h"
#include "headless/utf8.h"

namespace headless {

// ---- Paragraphs ----

uint32_t Document::internTag(std::string_view tag) {
  auto it = tagIndex_.find(std::string(tag));
  if (it != tagIndex_.end()) return it->second;
  auto index = static_cast<uint32_t>(tags_.size());
  tags_.emplace_back(tag);
  tagIndex_.emplace(std::string(tag), index);
  return index;
}

void Document::chainInsert(Id owner, Id before, Id id) {
  Para& p = mutablePara(id);
  p.owner = owner;
  Node& o = mutableNode(owner);
  if (before == 0) {
    p.prev = o.paraLast;
    p.next = 0;
    if (o.paraLast != 0) {
      mutablePara(o.paraLast).next = id;
    } else {
      o.paraFirst = id;
    }
    o.paraLast = id;
    // A new paragraph stands in the column of the one before it until it
    // is placed.
    p.layoutSeq = layoutSeqBeside(owner, p.prev);
    layoutParagraphChanged(id);
    return;
  }
  Para& b = mutablePara(before);
  p.prev = b.prev;
  p.next = before;
  if (b.prev != 0) {
    mutablePara(b.prev).next = id;
  } else {
    o.paraFirst = id;
  }
  b.prev = id;
  p.layoutSeq = layoutSeqBeside(owner, p.prev);
  layoutParagraphChanged(id);
}

void Document::chainRemove(Id id) {
  layoutParagraphChanged(id);
  Para& p = mutablePara(id);
  Node& o = mutableNode(p.owner);
  if (p.prev != 0) {
    mutablePara(p.prev).next = p.next;
  } else {
    o.paraFirst = p.next;
  }
  if (p.next != 0) {
    mutablePara(p.next).prev = p.prev;
  } else {
    o.paraLast = p.prev;
  }
  p.prev = p.next = 0;
}

namespace {
bool IsContainer(Kind k) {
  return k == Kind::Flow || k == Kind::Cell || k == Kind::Footnote;
}
}  // namespace

Id Document::appendParagraph(Id container, std::string_view tag) {
  if (!IsContainer(kind(container))) return 0;
  Id format = find(Kind::ParagraphFormat, tag);
  Id id = newPara(container, internTag(tag), format ? sharedFormatProps(format) : nullptr);
  chainInsert(container, 0, id);
  changed(container);
  return id;
}

Id Document::insertParagraphBefore(Id before, std::string_view tag) {
  if (kind(before) != Kind::Paragraph) return 0;
  Id owner = para(before).owner;
  Id format = find(Kind::ParagraphFormat, tag);
  Id id = newPara(owner, internTag(tag), format ? sharedFormatProps(format) : nullptr);
  chainInsert(owner, before, id);
  changed(owner);
  return id;
}

Id Document::insertParagraphAfter(Id after, std::string_view tag) {
  if (kind(after) != Kind::Paragraph) return 0;
  Id owner = para(after).owner;
  Id format = find(Kind::ParagraphFormat, tag);
  Id id = newPara(owner, internTag(tag), format ? sharedFormatProps(format) : nullptr);
  chainInsert(owner, para(after).next, id);
  changed(owner);
  return id;
}

std::string_view Document::tag(Id id) const {
  if (kind(id) != Kind::Paragraph) return {};
  return tags_[para(id).tag];
}

void Document::setTag(Id id, std::string_view tag) {
  if (kind(id) != Kind::Paragraph) return;
  mutablePara(id).tag = internTag(tag);
  changed(id);
}

const PropMap& Document::paragraphProps(Id id) const {
  if (kind(id) != Kind::Paragraph) return *emptyProps_;
  return *para(id).props;
}

void Document::setParagraphProp(Id id, int code, Value value) {
  if (kind(id) != Kind::Paragraph) return;
  if (code == host::kPropName) {
    setTag(id, value.s);
    return;
  }
  Para& p = mutablePara(id);
  // Paragraphs share their format's map; the first own change copies it.
  auto copy = std::make_shared<PropMap>(*p.props);
  copy->set(code, std::move(value));
  p.props = std::move(copy);
  changed(id);
}

void Document::setParagraphProps(Id id, PropMap props) {
  if (kind(id) != Kind::Paragraph) return;
  props.erase(host::kPropName);
  mutablePara(id).props = std::make_shared<const PropMap>(std::move(props));
  changed(id);
}

void Document::applyParagraphFormat(Id id, Id format) {
  if (kind(id) != Kind::Paragraph || kind(format) != Kind::ParagraphFormat) return;
  Para& p = mutablePara(id);
  p.tag = internTag(node(format).name);
  p.props = sharedFormatProps(format);
  changed(id);
}

std::string Document::text(Id id) const {
  std::string out;
  if (kind(id) != Kind::Paragraph) return out;
  for (const Atom a : para(id).text) {
    if (!a.isAnchor()) AppendUtf8(out, a.ch());
  }
  return out;
}

void Document::setEndAttr(Id id, uint32_t attr) {
  if (kind(id) != Kind::Paragraph || attr >= attrs_.size()) return;
  Para& p = mutablePara(id);
  p.endAttr = attr;
  p.hiddenStamp = 0;
  changed(id);
}

void Document::appendText(Id id, std::string_view utf8, uint32_t attr) {
  if (kind(id) != Kind::Paragraph) return;
  if (attr >= attrs_.size()) attr = 0;
  std::u32string chars = DecodeUtf8(utf8);
  std::vector<Atom> atoms;
  atoms.reserve(chars.size());
  for (char32_t c : chars) atoms.push_back(Atom::Char(c, attr));
  insertAtoms({id, static_cast<uint32_t>(size(id))}, atoms);
}

void Document::appendAnchor(Id id, Id obj, AnchorRole role, uint32_t attr) {
  if (kind(id) != Kind::Paragraph) return;
  if (attr >= attrs_.size()) attr = 0;
  insertAtoms({id, static_cast<uint32_t>(size(id))}, {Atom::Anchor(obj, role, attr)});
}

// ---- Attributes ----

uint32_t Document::internAttr(const TextAttr& attr) {
  auto it = attrIndex_.find(attr);
  if (it != attrIndex_.end()) return it->second;
  auto id = static_cast<uint32_t>(attrs_.size());
  attrs_.push_back(attr);
  attrIndex_.emplace(attr, id);
  return id;
}

uint32_t Document::internCharStyle(const PropMap& props) {
  for (uint32_t i = 0; i < charStyles_.size(); ++i) {
    if (charStyles_[i] == props) return i;
  }
  charStyles_.push_back(props);
  return static_cast<uint32_t>(charStyles_.size() - 1);
}

std::vector<Id> Document::conditionsOf(uint32_t attr) const {
  std::vector<Id> out;
  if (attr >= attrs_.size()) return out;
  for (Id c : attrs_[attr].conditions) {
    if (kind(c) == Kind::Condition) out.push_back(c);
  }
  return out;
}

}  // namespace headless
