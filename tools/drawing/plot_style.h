// Colours, sizes and number steps shared by the parts of the route picture.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

namespace plot_style {

inline constexpr double kWidth = 1200;
inline constexpr double kMargin = 20;
inline constexpr const char* kFonts = "DejaVu Sans, Verdana, Arial, Helvetica, sans-serif";

inline constexpr const char* kInk = "#1f2933";
inline constexpr const char* kMuted = "#6b7280";
inline constexpr const char* kGridLine = "#e5e7eb";
inline constexpr const char* kPanel = "#f8fafc";
inline constexpr const char* kLine = "#374151";
inline constexpr const char* kStationInk = "#1d4ed8";
inline constexpr const char* kSignalInk = "#c0262d";
inline constexpr const char* kBoardInk = "#b45309";
inline constexpr const char* kSpeedBoardInk = "#7c3aed";
inline constexpr const char* kHeightInk = "#6b8e23";
inline constexpr const char* kHeightFill = "#dfe9c8";
inline constexpr const char* kClimb = "#e07a5f";
inline constexpr const char* kFall = "#3d8fb8";
inline constexpr const char* kSpeedInk = "#1e40af";
inline constexpr const char* kAdhesionInk = "#0f766e";

// A round step (1, 2 or 5 times a power of ten) of at least `minimum`.
inline double nice_step(double minimum) {
    if (!(minimum > 0) || !std::isfinite(minimum)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= minimum) return f * power;
    return 10 * power;
}

// A length in metres as a short text: "500 m", "2 km", "1.5 km".
inline std::string length_text(double metres) {
    char buffer[32];
    if (metres >= 1000) std::snprintf(buffer, sizeof buffer, "%g km", metres / 1000);
    else std::snprintf(buffer, sizeof buffer, "%g m", metres);
    return buffer;
}

}  // namespace plot_style
