#include "mif/text.h"

#include "mif/strings.h"

namespace mif {

MarkerView ReadMarker(const Document& doc, NodeId marker) {
  MarkerView m;
  m.node = marker;
  m.type = doc.childInteger(marker, "MType");
  m.typeName = doc.childText(marker, "MTypeName").value_or("");
  m.text = doc.childText(marker, "MText").value_or("");
  m.unique = doc.childInteger(marker, "Unique");
  return m;
}

TextInsetView ReadTextInset(const Document& doc, NodeId inset) {
  TextInsetView v;
  v.node = inset;
  v.unique = doc.childInteger(inset, "Unique");
  v.sourceFile = doc.childText(inset, "TiSrcFile").value_or("");
  v.locked = doc.childBoolean(inset, "TextInsetLocked").value_or(false);
  v.autoUpdate = doc.childBoolean(inset, "TiAutoUpdate");
  return v;
}

namespace {

InlineItem ReadItem(const Document& doc, NodeId node, NodeId line,
                    std::vector<std::string>& conditions) {
  const Tree& t = doc.tree();
  const std::string_view tok = t.token(node);
  InlineItem item;
  item.node = node;
  item.line = line;
  auto number = [&] { return doc.integer(node).value_or(0); };
  if (tok == "String") {
    item.kind = InlineKind::String;
    item.text = doc.text(node).value_or("");
  } else if (tok == "Char") {
    item.kind = InlineKind::Char;
    item.text = std::string(doc.keyword(node).value_or(""));
  } else if (tok == "Marker") {
    item.kind = InlineKind::Marker;
    item.text = doc.childText(node, "MText").value_or("");
    item.number = doc.childInteger(node, "MType").value_or(0);
  } else if (tok == "ATbl") {
    item.kind = InlineKind::TableAnchor;
    item.number = number();
  } else if (tok == "FNote") {
    item.kind = InlineKind::FootnoteAnchor;
    item.number = number();
  } else if (tok == "AFrame") {
    item.kind = InlineKind::FrameAnchor;
    item.number = number();
  } else if (tok == "Font") {
    item.kind = InlineKind::Font;
    item.text = doc.childText(node, "FTag").value_or("");
  } else if (tok == "Conditional") {
    item.kind = InlineKind::Conditional;
    item.conditions = doc.childTexts(node, "InCondition");
    conditions = item.conditions;
  } else if (tok == "Unconditional") {
    item.kind = InlineKind::Unconditional;
    conditions.clear();
  } else if (tok == "TextInset") {
    item.kind = InlineKind::TextInset;
    item.text = doc.childText(node, "TiSrcFile").value_or("");
  } else if (tok == "TextInsetEnd") {
    item.kind = InlineKind::TextInsetEnd;
  } else if (tok == "Variable") {
    item.kind = InlineKind::Variable;
    item.text = doc.childText(node, "VariableName").value_or("");
  } else if (tok == "XRef") {
    item.kind = InlineKind::XRef;
    item.text = doc.childText(node, "XRefName").value_or("");
  } else if (tok == "XRefEnd") {
    item.kind = InlineKind::XRefEnd;
  } else if (tok == "TextRectID") {
    item.kind = InlineKind::TextFrame;
    item.number = number();
  }
  return item;
}

// The text a character statement stands for in the host's paragraph text.
// Line-end hyphens the application put in itself are not text.
std::string_view CharText(std::string_view name) {
  if (name == "Tab") return "\t";
  if (name == "HardSpace") return "\x11";
  if (name == "HardHyphen") return "\x15";
  if (name == "DiscHyphen") return "\x04";
  if (name == "NoHyphen") return "\x05";
  if (name == "NumberSpace") return "\x10";
  if (name == "ThinSpace") return "\x12";
  if (name == "EnSpace") return "\x13";
  if (name == "EmSpace") return "\x14";
  if (name == "HardReturn") return "\n";
  if (name == "EmDash") return "\xE2\x80\x94";
  if (name == "EnDash") return "\xE2\x80\x93";
  if (name == "Cent") return "\xC2\xA2";
  if (name == "Pound") return "\xC2\xA3";
  if (name == "Yen") return "\xC2\xA5";
  if (name == "Dagger") return "\xE2\x80\xA0";
  if (name == "DoubleDagger") return "\xE2\x80\xA1";
  if (name == "Bullet") return "\xE2\x80\xA2";
  return {};
}

}  // namespace

std::string ParagraphView::text() const {
  std::string out;
  for (const InlineItem& item : items) {
    if (item.kind == InlineKind::String) {
      out += item.text;
    } else if (item.kind == InlineKind::Char) {
      out += CharText(item.text);
    }
  }
  return out;
}

ParagraphView ReadParagraph(const Document& doc, NodeId para,
                            const std::vector<std::string>& carried) {
  const Tree& t = doc.tree();
  ParagraphView p;
  p.node = para;
  p.conditionsAtStart = carried;
  std::vector<std::string> conditions = carried;
  p.unique = doc.childInteger(para, "Unique");
  p.tag = doc.childText(para, "PgfTag");
  if (!p.tag) {
    const NodeId pgf = t.findChild(para, "Pgf");
    if (pgf != kNoNode) p.tag = doc.childText(pgf, "PgfTag");
  }
  p.conditionalEnd = doc.childBoolean(para, "PgfEndCond").value_or(false);
  p.wholeConditional = doc.childBoolean(para, "PgfCondFullPgf").value_or(false);
  for (NodeId line : t.children(para)) {
    if (t.token(line) != "ParaLine") continue;
    p.lines.push_back(line);
    for (NodeId item : t.children(line)) p.items.push_back(ReadItem(doc, item, line, conditions));
  }
  p.conditionsAtEnd = std::move(conditions);
  return p;
}

std::vector<NodeId> ParagraphNodes(const Tree& tree, NodeId container) {
  std::vector<NodeId> out;
  for (NodeId c : tree.children(container)) {
    if (tree.token(c) == "Para") out.push_back(c);
  }
  return out;
}

std::vector<ParagraphView> ReadParagraphs(const Document& doc, NodeId container) {
  std::vector<ParagraphView> out;
  std::vector<std::string> carried;
  for (NodeId para : ParagraphNodes(doc.tree(), container)) {
    out.push_back(ReadParagraph(doc, para, carried));
    carried = out.back().conditionsAtEnd;
  }
  return out;
}

std::vector<FootnoteView> ReadFootnotes(const Document& doc, NodeId notes) {
  std::vector<FootnoteView> out;
  if (notes == kNoNode) return out;
  for (NodeId c : doc.tree().children(notes)) {
    if (doc.tree().token(c) != "FNote") continue;
    out.push_back(
        FootnoteView{c, doc.childInteger(c, "ID").value_or(0), ParagraphNodes(doc.tree(), c)});
  }
  return out;
}

FlowView ReadFlow(const Document& doc, NodeId flow) {
  FlowView f;
  f.node = flow;
  f.tag = doc.childText(flow, "TFTag").value_or("");
  f.autoConnect = doc.childBoolean(flow, "TFAutoConnect").value_or(false);
  f.notes = doc.tree().findChild(flow, "Notes");
  f.footnotes = ReadFootnotes(doc, f.notes);
  f.paragraphs = ParagraphNodes(doc.tree(), flow);
  return f;
}

std::vector<FlowView> ReadFlows(const Document& doc) {
  std::vector<FlowView> out;
  const Tree& t = doc.tree();
  for (NodeId n : t.children(t.root())) {
    if (t.token(n) == "TextFlow") out.push_back(ReadFlow(doc, n));
  }
  return out;
}

}  // namespace mif
