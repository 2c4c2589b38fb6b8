#pragma once

#include <array>

// The value tables behind the record page's sliders: the page stores entries of them, and the
// sliders' tick labels and tooltips show them.
namespace SliderTables {
inline constexpr std::array<int, 4> Motion{0, 1, 3, 5};
// Entry 0 only matches a stored 0 on loading; sliders use entries 1 to 4.
inline constexpr std::array<int, 5> Hours{0, 6, 12, 24, 48};
inline constexpr std::array<float, 8> Volts12{11.6f, 11.7f, 11.8f, 11.9f, 12.0f, 12.1f, 12.2f, 12.3f};
inline constexpr std::array<float, 8> Volts24{23.2f, 23.4f, 23.6f, 23.8f, 24.0f, 24.2f, 24.4f, 24.6f};
} // namespace SliderTables
