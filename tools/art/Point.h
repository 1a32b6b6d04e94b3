// A point in picture pixels with fractions: pixel (i, j) covers [i, i + 1) x [j, j + 1).
#pragma once

namespace vornel {

struct Point {
    double x = 0;
    double y = 0;
};

}  // namespace vornel
