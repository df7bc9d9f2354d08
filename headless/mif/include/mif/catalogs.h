// Typed views of the catalogs and of the Document statement.
#ifndef VELTRANO_MIF_CATALOGS_H
#define VELTRANO_MIF_CATALOGS_H

#include <optional>
#include <string>
#include <vector>

#include "mif/document.h"

namespace mif {

struct ColorEntry {
  NodeId node = kNoNode;  // <Color>
  std::string tag;
  double cyan = 0, magenta = 0, yellow = 0, black = 0;
  std::vector<std::string> attributes;  // ColorIsBlack, ColorIsReserved, ...
};

struct ConditionEntry {
  NodeId node = kNoNode;  // <Condition>
  std::string tag;
  bool hidden = false;  // CState CHidden
  std::string style;    // CAsIs, CUnderline, ...
  std::string color;
};

// A paragraph format (<Pgf>), character format (<Font>) or table format
// (<TblFormat>) of a catalog: its tag; the other properties are its
// children, read through Document when needed.
struct FormatEntry {
  NodeId node = kNoNode;
  std::string tag;
};

struct MarkerTypeEntry {
  NodeId node = kNoNode;  // <MTypeName> of MarkerTypeCatalog
  std::string name;
};

struct Catalogs {
  NodeId colorCatalog = kNoNode;
  NodeId conditionCatalog = kNoNode;
  NodeId paragraphCatalog = kNoNode;  // PgfCatalog
  NodeId characterCatalog = kNoNode;  // FontCatalog
  NodeId markerTypeCatalog = kNoNode;
  NodeId tableCatalog = kNoNode;  // TblCatalog
  std::vector<ColorEntry> colors;
  std::vector<ConditionEntry> conditions;
  std::vector<FormatEntry> paragraphFormats;
  std::vector<FormatEntry> characterFormats;
  std::vector<MarkerTypeEntry> markerTypes;  // custom marker type names only
  std::vector<FormatEntry> tableFormats;
};

Catalogs ReadCatalogs(const Document& doc);

ColorEntry ReadColor(const Document& doc, NodeId color);
ConditionEntry ReadCondition(const Document& doc, NodeId condition);

// The settings of the <Document> statement the host models.
struct DocumentSettings {
  NodeId node = kNoNode;                // <Document>, kNoNode when the file has none
  bool showAllConditions = false;       // DShowAllConditions
  std::optional<long long> nextUnique;  // DNextUnique
};

DocumentSettings ReadDocumentSettings(const Document& doc);

}  // namespace mif

#endif
