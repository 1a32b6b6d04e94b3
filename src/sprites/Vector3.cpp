// Vector arithmetic on fixed-point components.
#include "sprites/Vector3.h"

namespace vornel {

void Vector3::setComponents(Fixed x, Fixed y, Fixed z) {
    m_x = x;
    m_y = y;
    m_z = z;
}

void Vector3::addComponents(Fixed x, Fixed y, Fixed z) {
    m_x += x;
    m_y += y;
    m_z += z;
}

void Vector3::addVector(const Ref<Vector3>& v) {
    addComponents(v->m_x, v->m_y, v->m_z);
}

void Vector3::cross(const Ref<Vector3>& a, const Ref<Vector3>& b) {
    const Fixed x = fmul(a->m_y, b->m_z) - fmul(a->m_z, b->m_y);
    const Fixed y = fmul(a->m_z, b->m_x) - fmul(a->m_x, b->m_z);
    const Fixed z = fmul(a->m_x, b->m_y) - fmul(a->m_y, b->m_x);
    setComponents(x, y, z);
}

void Vector3::divide(Fixed d) {
    m_x = fdiv(m_x, d);
    m_y = fdiv(m_y, d);
    m_z = fdiv(m_z, d);
}

Fixed Vector3::dot(const Ref<Vector3>& v) {
    return fmul(m_x, v->m_x) + fmul(m_y, v->m_y) + fmul(m_z, v->m_z);
}

Fixed Vector3::length() {
    const int64_t squares = static_cast<int64_t>(m_x) * m_x + static_cast<int64_t>(m_y) * m_y +
                            static_cast<int64_t>(m_z) * m_z;
    return fsqrt(squares >> kFixedShift);
}

Fixed Vector3::approxLength() {
    const Fixed a = m_x < 0 ? -m_x : m_x;
    const Fixed b = m_y < 0 ? -m_y : m_y;
    const Fixed c = m_z < 0 ? -m_z : m_z;
    const Fixed p = a > b ? a : b;
    const Fixed q = a > b ? b : a;
    const Fixed r = q > c ? q : c;
    const Fixed s = q > c ? c : q;
    return p + ((11 * r) >> 5) + (s >> 2);
}

void Vector3::addScaled(const Ref<Vector3>& v, Fixed k) {
    addComponents(fmul(v->m_x, k), fmul(v->m_y, k), fmul(v->m_z, k));
}

void Vector3::multiply(Fixed k) {
    m_x = fmul(m_x, k);
    m_y = fmul(m_y, k);
    m_z = fmul(m_z, k);
}

void Vector3::negate() {
    setComponents(-m_x, -m_y, -m_z);
}

void Vector3::normalise() {
    const Fixed l = length();
    if (l < 2) {
        setZero();
        return;
    }
    multiply(static_cast<Fixed>(int64_t{0x40000000} / l));
}

void Vector3::accept(Ref<Vector3> v) {
    (void)v;
}

void Vector3::assign(const Ref<Vector3>& v) {
    setComponents(v->m_x, v->m_y, v->m_z);
}

void Vector3::subtract(const Ref<Vector3>& v) {
    addComponents(-v->m_x, -v->m_y, -v->m_z);
}

void Vector3::setZero() {
    setComponents(0, 0, 0);
}

}  // namespace vornel
