// Fixed-point numbers (17.15: 0x8000 is 1.0) and angles in turns (0x8000 is a full circle),
// the only arithmetic the game's own code uses.
#pragma once

#include <cstdint>

namespace vornel {

using Fixed = int32_t;
using Turn = int32_t;  // a Fixed fraction of a full circle

inline constexpr Fixed kFixedOne = 0x8000;
inline constexpr int kFixedShift = 15;
inline constexpr Turn kQuarterTurn = 0x2000;

// A position whose coordinates are Fixed: (toFixed(3), toFixed(1)) is the pixel (3, 1).
struct FixedPoint {
    Fixed x = 0;
    Fixed y = 0;
};

constexpr Fixed toFixed(int32_t whole) { return whole * kFixedOne; }
// Back to whole units, rounding toward minus infinity.
constexpr int32_t fromFixed(Fixed value) { return value >> kFixedShift; }

// a × b. Zero and exactly 1.0 are answered without the 64-bit multiply, which also makes
// multiplying by 1.0 exact; otherwise the product is shifted arithmetically and wraps to 32 bits.
constexpr Fixed fmul(Fixed a, Fixed b) {
    if (a == 0 || b == 0) {
        return 0;
    }
    if (a == kFixedOne) {
        return b;
    }
    if (b == kFixedOne) {
        return a;
    }
    return static_cast<Fixed>((static_cast<int64_t>(a) * b) >> kFixedShift);
}

// a ÷ b, truncated toward zero. Division by zero answers the largest value of a's sign
// instead of faulting.
Fixed fdiv(Fixed a, Fixed b);

// Square root of a 64-bit fixed-point value (15 fraction bits) by Newton's method; negative
// input is taken as its absolute value.
Fixed fsqrt(int64_t value);

// Sine and cosine as a parabola per quarter turn, in [-1.0, 1.0].
Fixed fsin(Turn angle);
Fixed fcos(Turn angle);

// Arc tangent of y/x in turns, from -0x4000 to 0x4000.
Turn fatan2(Fixed y, Fixed x);

}  // namespace vornel
