// Catalogs and document settings into the model: colours, condition tags,
// paragraph and character formats, marker types, show-all.
#include "mif/catalogs.h"
#include "mif/builder.h"
#include "model/comment_props.h"
#include "model/formats.h"
#include "model/read/read.h"
#include "model/units.h"

namespace mif {

namespace {

using headless::Kind;

// True for a <Font> that only returns to the paragraph font:
// <Font <FTag `'> <FLocked No>>.
bool IsParagraphFont(const Document& file, NodeId font) {
  const Tree& t = file.tree();
  for (NodeId c : t.children(font)) {
    const std::string_view tok = t.token(c);
    if (tok == "FTag") {
      if (file.text(c).value_or("x") != "") return false;
    } else if (tok != "FLocked") {
      return false;
    }
  }
  return true;
}

}  // namespace

Id ReadContext::condition(const std::string& name) {
  if (Id c = doc.find(Kind::Condition, name)) return c;
  // Text may name a tag the catalog lacks; the tag is made, as shown.
  return doc.addCondition(name);
}

Id ReadContext::markerType(const std::string& name, std::optional<long long> number) {
  std::string n = name;
  if (n.empty() && number) {
    static constexpr const char* kStandard[] = {"Header/Footer $1", "Header/Footer $2", "Index",
                                                "Comment",          "Subject",          "Author",
                                                "Glossary",         "Equation",         "Hypertext",
                                                "Cross-Ref",        "Conditional Text"};
    if (*number >= 0 && *number < 11) {
      n = kStandard[*number];
    } else {
      // Old files name custom types by number only.
      n = "Type " + std::to_string(*number);
    }
  }
  if (n == "X-Ref") n = "Cross-Ref";
  if (Id t = doc.find(Kind::MarkerType, n)) return t;
  return doc.addMarkerType(n);
}

uint32_t ReadContext::fontStyle(NodeId font) {
  if (IsParagraphFont(file, font)) return 0;
  // Fonts are the same style when their whole statements say the same:
  // every statement below, with its value and number of children.
  const Tree& t = file.tree();
  std::string key;
  for (NodeId c = t.firstChild(font); c != kNoNode; c = t.nextInSubtree(c, font)) {
    std::size_t children = 0;
    for (NodeId g = t.firstChild(c); g != kNoNode; g = t.nextSibling(g)) ++children;
    key += t.token(c);
    key += ' ';
    key += t.value(c);
    key += ' ';
    key += std::to_string(children);
    key += '\n';
  }
  auto it = fontStyles.find(key);
  if (it != fontStyles.end()) return it->second;
  headless::PropMap style;
  style.set(host::kPropName, headless::Value::String(file.childText(font, "FTag").value_or("")));
  style.set(kPropSourceStatement, headless::Value::Int(static_cast<int32_t>(font + 1)));
  const uint32_t id = doc.internCharStyle(style);
  fontStyles.emplace(std::move(key), id);
  return id;
}

std::string ParagraphTag(const ReadContext& ctx, NodeId para) {
  if (auto tag = ctx.file.childText(para, "PgfTag")) return *tag;
  const NodeId pgf = ctx.file.tree().findChild(para, "Pgf");
  if (pgf != kNoNode) {
    if (auto tag = ctx.file.childText(pgf, "PgfTag")) return *tag;
  }
  auto it = ctx.inheritedTag.find(para);
  return it == ctx.inheritedTag.end() ? std::string() : it->second;
}

void ReadCatalogs(ReadContext& ctx) {
  const Document& file = ctx.file;
  headless::Document& doc = ctx.doc;
  const Tree& t = file.tree();

  for (NodeId n : t.children(t.root())) {
    if (t.token(n) != "Units") continue;
    if (auto word = file.keyword(n)) {
      if (auto per = PointsPerUnitsKeyword(*word)) ctx.state.defaultUnit = *per;
    }
    break;
  }

  const Catalogs catalogs = mif::ReadCatalogs(file);
  for (const ColorEntry& c : catalogs.colors) {
    if (doc.find(Kind::Color, c.tag) != 0) continue;
    SetOrigin(doc, ctx.state, doc.addColor(c.tag), c.node);
  }
  for (const ConditionEntry& c : catalogs.conditions) {
    if (doc.find(Kind::Condition, c.tag) != 0) continue;
    const Id color = c.color.empty() ? 0 : doc.find(Kind::Color, c.color);
    SetOrigin(doc, ctx.state, doc.addCondition(c.tag, !c.hidden, color), c.node);
  }
  for (const FormatEntry& f : catalogs.paragraphFormats) {
    if (doc.find(Kind::ParagraphFormat, f.tag) != 0) continue;
    headless::PropMap props = ReadParagraphFormatProps(file, f.node, ctx.state.defaultUnit, doc);
    for (const auto& [code, value] : ReadCommentProps(file, f.node)) {
      if (!props.contains(code)) props.set(code, value);
    }
    SetOrigin(doc, ctx.state, doc.addParagraphFormat(f.tag, std::move(props)), f.node);
  }
  for (const FormatEntry& f : catalogs.characterFormats) {
    if (doc.find(Kind::CharacterFormat, f.tag) != 0) continue;
    headless::PropMap props = ReadCharacterFormatProps(file, f.node, doc);
    SetOrigin(doc, ctx.state, doc.addCharacterFormat(f.tag, std::move(props)), f.node);
  }
  for (const MarkerTypeEntry& m : catalogs.markerTypes) {
    if (doc.find(Kind::MarkerType, m.name) != 0) continue;
    SetOrigin(doc, ctx.state, doc.addMarkerType(m.name), m.node);
  }

  const DocumentSettings settings = ReadDocumentSettings(file);
  doc.setShowAll(settings.showAllConditions);
  if (settings.node != kNoNode) SetOrigin(doc, ctx.state, headless::Document::kSelf, settings.node);
}

}  // namespace mif
