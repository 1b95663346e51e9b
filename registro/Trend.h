#pragma once

#include <QString>

#include <optional>

// How a pupil's last five contests compare with the five before, in words a
// teacher reads at a glance. Within one right answer the two are the same.
namespace Trend {
enum class Way { Unknown, Up, Steady, Down };
inline constexpr double steadyWithin = 1.0;
Way way(std::optional<double> recent, std::optional<double> earlier);
QString text(std::optional<double> recent, std::optional<double> earlier);
}
