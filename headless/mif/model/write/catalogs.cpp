// Catalog entries and the Document statement from the model: changed
// entries get the statements that changed, new ones are added in the
// application's layout.
#include <cstdio>

#include "model/comment_props.h"
#include "model/formats.h"
#include "model/write/write.h"

namespace mif {

namespace {

using headless::DocList;
using headless::Kind;

struct Cmyk {
  std::string_view name;
  double c, m, y, k;
};

// The reserved colours every document has.
constexpr Cmyk kReserved[] = {{"Black", 0, 0, 0, 100},   {"White", 0, 0, 0, 0},
                              {"Red", 0, 100, 100, 0},   {"Green", 100, 0, 100, 0},
                              {"Blue", 100, 100, 0, 0},  {"Cyan", 100, 0, 0, 0},
                              {"Magenta", 0, 100, 0, 0}, {"Yellow", 0, 0, 100, 0}};

std::string Percent(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, " %.6f", v);
  return buf;
}

Status WriteColor(WriteContext& w, Id color) {
  const headless::Node& n = w.doc.node(color);
  NodeId node = w.state.node(color);
  if (node != kNoNode) return w.setChildText(node, "ColorTag", n.name);
  node = w.container("Color");
  auto tag = w.stringStatement("ColorTag", n.name);
  if (!tag) return tag.error();
  w.tree.append(node, *tag);
  Cmyk value{n.name, 0, 0, 0, 0};
  for (const Cmyk& r : kReserved) {
    if (r.name == n.name) value = r;
  }
  w.tree.append(node, w.statement("ColorCyan", Percent(value.c)));
  w.tree.append(node, w.statement("ColorMagenta", Percent(value.m)));
  w.tree.append(node, w.statement("ColorYellow", Percent(value.y)));
  w.tree.append(node, w.statement("ColorBlack", Percent(value.k)));
  w.tree.append(w.topLevel("ColorCatalog"), node);
  w.state.setNode(color, node);
  return Ok();
}

Status WriteCondition(WriteContext& w, Id condition) {
  const headless::Node& n = w.doc.node(condition);
  NodeId node = w.state.node(condition);
  const bool made = node == kNoNode;
  if (made) {
    node = w.container("Condition");
    auto tag = w.stringStatement("CTag", n.name);
    if (!tag) return tag.error();
    w.tree.append(node, *tag);
  } else if (Status s = w.setChildText(node, "CTag", n.name); !s) {
    return s;
  }
  w.setChildWord(node, "CState", w.doc.conditionShown(condition) ? "CShown" : "CHidden");
  if (made) w.tree.append(node, w.statement("CStyle", "CAsIs"));
  const Id color = n.props.getId(host::kPropConditionColor);
  if (w.doc.kind(color) == Kind::Color) {
    if (Status s = w.setChildText(node, "CColor", w.doc.node(color).name); !s) return s;
  }
  if (made) {
    w.tree.append(w.topLevel("ConditionCatalog"), node);
    w.state.setNode(condition, node);
  }
  return Ok();
}

Status WriteParagraphFormat(WriteContext& w, Id format) {
  const headless::Node& n = w.doc.node(format);
  NodeId node = w.state.node(format);
  const bool made = node == kNoNode;
  if (made) {
    // A new format starts as a copy of the catalog's first, so that it
    // states every property the application expects a format to have.
    const NodeId catalog = w.topLevel("PgfCatalog");
    const NodeId like = w.tree.findChild(catalog, "Pgf");
    node = like != kNoNode ? w.tree.copySubtree(like) : w.container("Pgf");
    w.tree.append(catalog, node);
    w.state.setNode(format, node);
  }
  if (Status s = w.setChildText(node, "PgfTag", n.name); !s) return s;
  const headless::PropMap current =
      ReadParagraphFormatProps(w.file, node, w.state.defaultUnit, w.doc);
  if (Status s =
          WriteParagraphFormatProps(w.file, node, n.props, current, w.state.defaultUnit, w.doc);
      !s) {
    return s;
  }
  WriteCommentProps(w.file, node, n.props, IsMappedParagraphProp);
  return Ok();
}

Status WriteCharacterFormat(WriteContext& w, Id format) {
  const headless::Node& n = w.doc.node(format);
  NodeId node = w.state.node(format);
  if (node == kNoNode) {
    node = w.container("Font");
    auto tag = w.stringStatement("FTag", n.name);
    if (!tag) return tag.error();
    w.tree.append(node, *tag);
    w.tree.append(node, w.statement("FLocked", "No"));
    w.tree.append(w.topLevel("FontCatalog"), node);
    w.state.setNode(format, node);
  } else if (Status s = w.setChildText(node, "FTag", n.name); !s) {
    return s;
  }
  const headless::PropMap current = ReadCharacterFormatProps(w.file, node, w.doc);
  return WriteCharacterFormatProps(w.file, node, n.props, current, w.doc);
}

Status WriteMarkerType(WriteContext& w, Id type) {
  const headless::Node& n = w.doc.node(type);
  if (n.flag != 0) return Ok();  // a standard type: the file never lists it
  NodeId node = w.state.node(type);
  if (node != kNoNode) {
    if (w.file.text(node) == n.name) return Ok();
    auto quoted = w.file.quote(n.name);
    if (!quoted) return w.error(quoted.error().message);
    w.tree.setValue(node, *quoted);
    return Ok();
  }
  auto made = w.stringStatement("MTypeName", n.name);
  if (!made) return made.error();
  w.tree.append(w.topLevel("MarkerTypeCatalog"), *made);
  w.state.setNode(type, *made);
  return Ok();
}

// Entries that changed or are new since the file was read. An object the
// reading made without a catalog entry (a condition tag only the text
// names, a marker type only markers name) gets none until it changes: the
// file did without it. A document made without a file has every entry
// written, changed since its last save or not.
template <typename F>
Status EachChanged(WriteContext& w, DocList list, F write) {
  for (Id id = w.doc.first(list); id != 0; id = w.doc.node(id).next) {
    if (!w.doc.modified(id) && !w.withoutFile) continue;
    if (Status s = write(w, id); !s) return s;
  }
  return Ok();
}

}  // namespace

Status WriteCatalogs(WriteContext& w) {
  if (Status s = EachChanged(w, DocList::Colors, WriteColor); !s) return s;
  if (Status s = EachChanged(w, DocList::Conditions, WriteCondition); !s) return s;
  if (Status s = EachChanged(w, DocList::ParagraphFormats, WriteParagraphFormat); !s) return s;
  if (Status s = EachChanged(w, DocList::CharacterFormats, WriteCharacterFormat); !s) return s;
  if (Status s = EachChanged(w, DocList::MarkerTypes, WriteMarkerType); !s) return s;

  NodeId document = w.state.node(headless::Document::kSelf);
  const bool showAll = w.doc.showAll();
  if (document == kNoNode) document = w.findTopLevel("Document");
  const bool said =
      document != kNoNode && w.file.childBoolean(document, "DShowAllConditions").value_or(false);
  // A file without a Document statement gets one only to say show-all.
  if (said != showAll) {
    if (document == kNoNode) document = w.topLevel("Document");
    w.setChildWord(document, "DShowAllConditions", showAll ? "Yes" : "No");
  }
  if (document != kNoNode) w.state.setNode(headless::Document::kSelf, document);
  return Ok();
}

}  // namespace mif
