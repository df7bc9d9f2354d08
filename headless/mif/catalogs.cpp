#include "mif/catalogs.h"

namespace mif {

namespace {

std::vector<FormatEntry> ReadFormats(const Document& doc, NodeId catalog,
                                     std::string_view entryToken, std::string_view tagToken) {
  std::vector<FormatEntry> out;
  if (catalog == kNoNode) return out;
  for (NodeId c : doc.tree().children(catalog)) {
    if (doc.tree().token(c) != entryToken) continue;
    out.push_back(FormatEntry{c, doc.childText(c, tagToken).value_or("")});
  }
  return out;
}

}  // namespace

ColorEntry ReadColor(const Document& doc, NodeId color) {
  ColorEntry e;
  e.node = color;
  e.tag = doc.childText(color, "ColorTag").value_or("");
  auto number = [&](std::string_view token) {
    const auto d = doc.childDimensions(color, token);
    return d.empty() ? 0.0 : d.front().value;
  };
  e.cyan = number("ColorCyan");
  e.magenta = number("ColorMagenta");
  e.yellow = number("ColorYellow");
  e.black = number("ColorBlack");
  for (NodeId c : doc.tree().children(color)) {
    if (doc.tree().token(c) != "ColorAttribute") continue;
    if (const auto k = doc.keyword(c)) e.attributes.emplace_back(*k);
  }
  return e;
}

ConditionEntry ReadCondition(const Document& doc, NodeId condition) {
  ConditionEntry e;
  e.node = condition;
  e.tag = doc.childText(condition, "CTag").value_or("");
  e.hidden = doc.childKeyword(condition, "CState") == "CHidden";
  e.style = std::string(doc.childKeyword(condition, "CStyle").value_or(""));
  e.color = doc.childText(condition, "CColor").value_or("");
  return e;
}

Catalogs ReadCatalogs(const Document& doc) {
  const Tree& t = doc.tree();
  Catalogs c;
  for (NodeId n : t.children(t.root())) {
    const std::string_view tok = t.token(n);
    if (tok == "ColorCatalog") {
      c.colorCatalog = n;
    } else if (tok == "ConditionCatalog") {
      c.conditionCatalog = n;
    } else if (tok == "PgfCatalog") {
      c.paragraphCatalog = n;
    } else if (tok == "FontCatalog") {
      c.characterCatalog = n;
    } else if (tok == "MarkerTypeCatalog") {
      c.markerTypeCatalog = n;
    } else if (tok == "TblCatalog") {
      c.tableCatalog = n;
    }
  }
  if (c.colorCatalog != kNoNode) {
    for (NodeId n : t.children(c.colorCatalog)) {
      if (t.token(n) == "Color") c.colors.push_back(ReadColor(doc, n));
    }
  }
  if (c.conditionCatalog != kNoNode) {
    for (NodeId n : t.children(c.conditionCatalog)) {
      if (t.token(n) == "Condition") c.conditions.push_back(ReadCondition(doc, n));
    }
  }
  if (c.markerTypeCatalog != kNoNode) {
    for (NodeId n : t.children(c.markerTypeCatalog)) {
      if (t.token(n) == "MTypeName") c.markerTypes.push_back({n, doc.text(n).value_or("")});
    }
  }
  c.paragraphFormats = ReadFormats(doc, c.paragraphCatalog, "Pgf", "PgfTag");
  c.characterFormats = ReadFormats(doc, c.characterCatalog, "Font", "FTag");
  c.tableFormats = ReadFormats(doc, c.tableCatalog, "TblFormat", "TblTag");
  return c;
}

DocumentSettings ReadDocumentSettings(const Document& doc) {
  DocumentSettings s;
  s.node = doc.tree().findChild(doc.tree().root(), "Document");
  if (s.node == kNoNode) return s;
  s.showAllConditions = doc.childBoolean(s.node, "DShowAllConditions").value_or(false);
  s.nextUnique = doc.childInteger(s.node, "DNextUnique");
  return s;
}

}  // namespace mif
