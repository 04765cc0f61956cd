// Conversions of computed values to whole numbers and to narrow fields.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/format.h"

// Nearest whole number, a half going to the even neighbour (0.5 -> 0, 1.5 -> 2).
inline int64_t round_half_even(double x) {
    double r = std::nearbyint(x);  // the default rounding mode is to-nearest-even
    if (!(r > -9.2e18 && r < 9.2e18)) return 0;  // never reached with whole-metre inputs
    return static_cast<int64_t>(r);
}

// The grid's speed step of a speed in km/h: round(v / 5). A step outside 0 to
// 255 does not fit its byte, and the reader refuses it.
inline int64_t speed_step_of(int64_t kmh) { return round_half_even(static_cast<double>(kmh) / kSpeedStepKmh); }
inline bool speed_step_fits(int64_t kmh) { return speed_step_of(kmh) >= 0 && speed_step_of(kmh) <= 255; }
// The speed in km/h a step stands for.
inline int64_t speed_of_step(int64_t step) { return step * kSpeedStepKmh; }

// Narrowing keeps the low bits, as the fields of the compiled files do.
inline int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
inline uint8_t low8(int64_t v) { return static_cast<uint8_t>(v); }

// The byte of a gradient on the grid: the gradient + kGradientOffset, low eight
// bits; and the gradient a byte stands for.
inline uint8_t gradient_byte(int64_t gradient) { return low8(gradient + kGradientOffset); }
inline int32_t gradient_of_byte(uint8_t byte) { return int32_t{byte} - kGradientOffset; }
