// The reference-counted vector of three Fixed components with which the game computes in its
// three-dimensional space (x across the table, y up, z along it).
#pragma once

#include "core/Base.h"
#include "core/Fixed.h"
#include "core/Ref.h"

namespace vornel {

class Vector3 final : public Base {
public:
    Vector3() = default;
    Vector3(Fixed x, Fixed y, Fixed z) : m_x(x), m_y(y), m_z(z) {}

    void setComponents(Fixed x, Fixed y, Fixed z);

    virtual void addComponents(Fixed x, Fixed y, Fixed z);
    virtual void addVector(const Ref<Vector3>& v);
    // this = a × b. Either argument may be this vector itself.
    virtual void cross(const Ref<Vector3>& a, const Ref<Vector3>& b);
    virtual void divide(Fixed d);
    virtual Fixed dot(const Ref<Vector3>& v);
    virtual Fixed length();
    // A fast length estimate: the larger of |x| and |y| at full weight, then the larger of
    // the rest at 11/32 and the smallest at 1/4. The three are not fully sorted: when |z| is
    // the largest, it gets the 11/32 weight.
    virtual Fixed approxLength();
    virtual void addScaled(const Ref<Vector3>& v, Fixed k);
    virtual void multiply(Fixed k);
    virtual void negate();
    // Scales to length 1.0; a vector shorter than 2 units becomes zero.
    virtual void normalise();
    // Takes and releases a handle; changes nothing.
    virtual void accept(Ref<Vector3> v);
    virtual void assign(const Ref<Vector3>& v);
    virtual void subtract(const Ref<Vector3>& v);
    virtual void setZero();

    Fixed m_x = 0;
    Fixed m_y = 0;
    Fixed m_z = 0;

protected:
    ~Vector3() override = default;
};

}  // namespace vornel
