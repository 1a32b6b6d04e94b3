// Fixed-point division, square root and the trigonometric approximations.
#include "core/Fixed.h"

namespace vornel {

Fixed fdiv(Fixed a, Fixed b) {
    if (b == 0) {
        return a < 0 ? INT32_MIN : INT32_MAX;
    }
    return static_cast<Fixed>((static_cast<int64_t>(a) * kFixedOne) / b);
}

namespace {

// (v × 2^15) / g without overflow: values from 2^48 up need the wider numerator.
int64_t scaledQuotient(int64_t v, int64_t g) {
    if (v < (int64_t{1} << 48)) {
        return (v * kFixedOne) / g;
    }
    __extension__ using Wide = __int128;
    return static_cast<int64_t>((static_cast<Wide>(v) * kFixedOne) / g);
}

// |value|; the wrapping negation leaves the most negative value as it is.
Fixed magnitude(Fixed value) {
    return value < 0 ? -value : value;
}

}  // namespace

Fixed fsqrt(int64_t value) {
    if (value == 0) {
        return 0;
    }
    int64_t v = value < 0 ? (value == INT64_MIN ? INT64_MAX : -value) : value;
    int64_t g = (v >> 1) + (kFixedOne >> 1);  // (v + 1.0) / 2 without overflowing near the top
    for (;;) {
        const int64_t q = scaledQuotient(v, g);
        const int64_t next = (g + q) >> 1;
        const int64_t step = g - next;
        if (step < 4) {  // also stops when the guess starts to grow again
            return static_cast<Fixed>(next);
        }
        g = next;
    }
}

Fixed fsin(Turn angle) {
    int32_t q = angle & 0x1FFF;
    if ((angle & 0x2000) != 0) {
        q = 0x2000 - q;  // the second and fourth quarters mirror the first and third
    }
    const Fixed t = (q - 0x1000) * 4;  // -0.5 .. 0.5 across the quarter
    Fixed s = fmul(fmul(t, t), -27861) + t + 23349;
    if ((angle & 0x4000) != 0) {
        s = -s;
    }
    return s;
}

Fixed fcos(Turn angle) {
    return fsin(angle + kQuarterTurn);
}

Turn fatan2(Fixed y, Fixed x) {
    const Fixed ay = magnitude(y);
    Fixed sum = magnitude(x) + ay;
    if (sum == 0) {
        sum = 1;
    }
    Fixed r;
    Turn base;
    if (x >= 0) {
        r = fdiv(x - ay, sum);
        base = 0x1000;  // 45 degrees
    } else {
        r = fdiv(x + ay, sum);
        base = 0x3000;  // 135 degrees
    }
    // 1023 and 5119 are 0.1962 and 0.9816 radians expressed in turns.
    Turn angle = fmul(fmul(fmul(r, r), r), 1023) - fmul(r, 5119) + base;
    return y < 0 ? -angle : angle;
}

}  // namespace vornel
