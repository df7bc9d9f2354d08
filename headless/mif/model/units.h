// Lengths between MIF dimensions and the host's metric (1/65536 point).
#ifndef VELTRANO_MIF_MODEL_UNITS_H
#define VELTRANO_MIF_MODEL_UNITS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mif/values.h"

namespace mif {

inline constexpr double kMetricPerPoint = 65536.0;

// Points per unit for a unit as written after a number ("pt", "\"", "mm",
// ...); none for a unit this reader does not know.
std::optional<double> PointsPerUnit(std::string_view unit);

// Points per unit of a <Units> keyword (Uin, Ucm, Umm, Upica, Upt, Udd, Ucc).
std::optional<double> PointsPerUnitsKeyword(std::string_view keyword);

// A dimension in points; a dimension without a unit is in `defaultUnit`
// points per unit.
std::optional<double> ToPoints(const Dimension& d, double defaultUnit);

// A metric value of the host from points, rounded to the nearest unit.
int32_t PointsToMetric(double points);
double MetricToPoints(int32_t metric);

// A length written the way the application writes it, in `unit` ("pt",
// "\"", "mm", ... as read; empty means points): "12.0 pt", "0.5\"".
std::string FormatLength(double points, std::string_view unit);

}  // namespace mif

#endif
