#include "model/formats.h"

#include <array>
#include <string>

#include "model/units.h"

namespace mif {

namespace {

using headless::Id;
using headless::PropMap;
using headless::Value;

constexpr std::array<std::string_view, 5> kPlacements = {"Anywhere", "ColumnTop", "PageTop",
                                                         "LPageTop", "RPageTop"};
constexpr std::array<std::string_view, 7> kPlacementStyles = {
    "Normal", "SideheadTop", "SideheadFirstBaseline", "SideheadLastBaseline",
    "RunIn",  "Straddle",    "StraddleNormal"};

template <std::size_t N>
std::optional<int32_t> IndexOf(const std::array<std::string_view, N>& names,
                               std::string_view word) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == word) return static_cast<int32_t>(i);
  }
  return std::nullopt;
}

std::optional<int32_t> PlacementStyle(std::string_view word) {
  if (word == "StraddleNormalOnly") return 6;
  return IndexOf(kPlacementStyles, word);
}

// The colour named by a FColor statement, as a model colour.
void ReadColor(const Document& file, NodeId font, const headless::Document& doc, PropMap& out) {
  const auto name = file.childText(font, "FColor");
  if (!name) return;
  const Id color = doc.find(headless::Kind::Color, *name);
  if (color != 0) out.set(host::kPropFormatColor, Value::Object(color));
}

bool Differs(const PropMap& props, const PropMap& current, int code) {
  const Value* want = props.find(code);
  if (!want) return false;
  const Value* have = current.find(code);
  return !have || !(*have == *want);
}

Status WriteColor(Document& file, NodeId font, const PropMap& props, const PropMap& current,
                  const headless::Document& doc) {
  if (!Differs(props, current, host::kPropFormatColor)) return Ok();
  const Id color = props.getId(host::kPropFormatColor);
  if (doc.kind(color) != headless::Kind::Color) return Ok();
  auto quoted = file.quote(doc.node(color).name);
  if (!quoted) return quoted.error();
  file.setChildValue(font, "FColor", *quoted);
  return Ok();
}

}  // namespace

bool IsMappedParagraphProp(int code) {
  return code == host::kPropIndent || code == host::kPropStartPosition ||
         code == host::kPropPlacement || code == host::kPropFormatColor;
}

PropMap ReadParagraphFormatProps(const Document& file, NodeId pgf, double defaultUnit,
                                 const headless::Document& doc) {
  PropMap out;
  if (pgf == kNoNode) return out;
  const auto indent = file.childDimensions(pgf, "PgfLIndent");
  if (!indent.empty()) {
    if (auto points = ToPoints(indent.front(), defaultUnit)) {
      out.set(host::kPropIndent, Value::Metric(PointsToMetric(*points)));
    }
  }
  if (auto word = file.childKeyword(pgf, "PgfPlacement")) {
    if (auto v = IndexOf(kPlacements, *word)) out.set(host::kPropStartPosition, Value::Int(*v));
  }
  if (auto word = file.childKeyword(pgf, "PgfPlacementStyle")) {
    if (auto v = PlacementStyle(*word)) out.set(host::kPropPlacement, Value::Int(*v));
  }
  const NodeId font = file.tree().findChild(pgf, "PgfFont");
  if (font != kNoNode) ReadColor(file, font, doc, out);
  return out;
}

PropMap ReadCharacterFormatProps(const Document& file, NodeId font, const headless::Document& doc) {
  PropMap out;
  if (font != kNoNode) ReadColor(file, font, doc, out);
  return out;
}

Status WriteParagraphFormatProps(Document& file, NodeId pgf, const PropMap& props,
                                 const PropMap& current, double defaultUnit,
                                 const headless::Document& doc) {
  if (Differs(props, current, host::kPropIndent)) {
    const NodeId old = file.tree().findChild(pgf, "PgfLIndent");
    std::string_view unit = "pt";
    std::vector<Dimension> dims;
    if (old != kNoNode) {
      dims = ParseDimensions(file.tree().rawValue(old));
      if (!dims.empty() && PointsPerUnit(dims.front().unit)) unit = dims.front().unit;
    }
    (void)defaultUnit;
    const double points = MetricToPoints(props.getInt(host::kPropIndent));
    const std::string text = FormatLength(points, unit);
    if (old == kNoNode) {
      file.tree().append(pgf, file.tree().createStatement("PgfLIndent", " " + text));
    } else {
      file.tree().setValue(old, text);
    }
  }
  if (Differs(props, current, host::kPropStartPosition)) {
    const int32_t v = props.getInt(host::kPropStartPosition);
    if (v >= 0 && static_cast<std::size_t>(v) < kPlacements.size()) {
      file.setChildValue(pgf, "PgfPlacement", kPlacements[static_cast<std::size_t>(v)]);
    }
  }
  if (Differs(props, current, host::kPropPlacement)) {
    const int32_t v = props.getInt(host::kPropPlacement);
    if (v >= 0 && static_cast<std::size_t>(v) < kPlacementStyles.size()) {
      file.setChildValue(pgf, "PgfPlacementStyle", kPlacementStyles[static_cast<std::size_t>(v)]);
    }
  }
  if (Differs(props, current, host::kPropFormatColor)) {
    NodeId font = file.tree().findChild(pgf, "PgfFont");
    if (font == kNoNode) {
      font = file.tree().createContainer("PgfFont");
      file.tree().append(pgf, font);
    }
    return WriteColor(file, font, props, current, doc);
  }
  return Ok();
}

Status WriteCharacterFormatProps(Document& file, NodeId font, const PropMap& props,
                                 const PropMap& current, const headless::Document& doc) {
  return WriteColor(file, font, props, current, doc);
}

}  // namespace mif
