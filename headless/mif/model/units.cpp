#include "model/units.h"

#include <cmath>
#include <cstdio>

namespace mif {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerMm = 72.0 / 25.4;
// A didot point is 0.376 mm; a cicero is 12 of them.
constexpr double kPointsPerDidot = 0.376 * kPointsPerMm;

}  // namespace

std::optional<double> PointsPerUnit(std::string_view unit) {
  if (unit == "pt" || unit == "point") return 1.0;
  if (unit == "\"" || unit == "in") return kPointsPerInch;
  if (unit == "mm" || unit == "millimeter") return kPointsPerMm;
  if (unit == "cm" || unit == "centimeter") return kPointsPerMm * 10.0;
  if (unit == "pc" || unit == "pica") return 12.0;
  if (unit == "dd" || unit == "didot") return kPointsPerDidot;
  if (unit == "cc" || unit == "cicero") return kPointsPerDidot * 12.0;
  return std::nullopt;
}

std::optional<double> PointsPerUnitsKeyword(std::string_view keyword) {
  if (keyword == "Uin") return kPointsPerInch;
  if (keyword == "Ucm") return kPointsPerMm * 10.0;
  if (keyword == "Umm") return kPointsPerMm;
  if (keyword == "Upica") return 12.0;
  if (keyword == "Upt") return 1.0;
  if (keyword == "Udd") return kPointsPerDidot;
  if (keyword == "Ucc") return kPointsPerDidot * 12.0;
  return std::nullopt;
}

std::optional<double> ToPoints(const Dimension& d, double defaultUnit) {
  if (d.unit.empty()) return d.value * defaultUnit;
  const auto per = PointsPerUnit(d.unit);
  if (!per) return std::nullopt;
  return d.value * *per;
}

int32_t PointsToMetric(double points) {
  const double m = std::round(points * kMetricPerPoint);
  if (std::isnan(m)) return 0;
  if (m > 2147483647.0) return 2147483647;
  if (m < -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(m);
}

double MetricToPoints(int32_t metric) {
  return static_cast<double>(metric) / kMetricPerPoint;
}

std::string FormatLength(double points, std::string_view unit) {
  const double per = unit.empty() ? 1.0 : PointsPerUnit(unit).value_or(1.0);
  const std::string_view shown = unit.empty() || !PointsPerUnit(unit) ? "pt" : unit;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6f", points / per);
  std::string number(buf);
  // Trailing zeros go, but one decimal stays: "12.0", "0.25".
  while (number.size() > 2 && number.back() == '0' && number[number.size() - 2] != '.') {
    number.pop_back();
  }
  if (number == "-0.0") number = "0.0";
  return shown == "\"" ? number + "\"" : number + " " + std::string(shown);
}

}  // namespace mif
