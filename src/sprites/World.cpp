// Perspective projection of the world's children, the camera's pitch and focal factor, and the
// layout that re-projects what moved and keeps the children sorted far to near.
#include "sprites/World.h"

namespace vornel {

namespace {

// Projected scales this close to 1.0 (about 5 %) are drawn unscaled: the copy is faster
// and sharper than a resample of almost the same size.
constexpr Fixed kUnscaledLow = 0x799B;
constexpr Fixed kUnscaledHigh = 0x8665;

// A 64-bit product that wraps like the hardware multiply instead of overflowing.
int64_t wrappingProduct(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

// (factor × value) in Fixed, kept to 32 bits.
Fixed scaleByFactor(int64_t factor, Fixed value) {
    return static_cast<Fixed>(wrappingProduct(factor, value) >> kFixedShift);
}

}  // namespace

int32_t World::childSignature(const Psprite& child) {
    return (child.m_posX + child.m_picture * 128) * 2 + (child.m_posY >> 4) + child.m_posZ;
}

void World::moveCentre(int32_t dx, int32_t dy) {
    m_centreX += toFixed(dx);
    m_centreY += toFixed(dy);
}

void World::setCentre(int32_t x, int32_t y) {
    m_centreX = toFixed(x);
    m_centreY = toFixed(y);
}

void World::setFocal(int32_t a, int32_t b) {
    if (a == 0) {
        return;  // no perspective can be made of it; keep the one we have
    }
    const auto numerator = static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(b) << kFixedShift));
    m_focal = numerator * (int64_t{1} << 30) / (int64_t{2} * a);
}

void World::setPitch(Turn angle) {
    m_sin = fsin(-angle);
    m_cos = fcos(-angle);
}

void World::project(Psprite& sprite) {
    const Fixed dx = sprite.m_posX - m_posX;
    const Fixed dy = sprite.m_posY - m_posY;
    const Fixed dz = sprite.m_posZ - m_posZ;
    const Fixed depth = fmul(m_sin, dy) + fmul(m_cos, dz);
    const Fixed up = fmul(m_cos, dy) + fmul(-dz, m_sin);
    if (static_cast<uint32_t>(depth - kNearestDepth) > kDepthSpan) {
        sprite.setRect(0, 0, 0, 0);  // behind the camera, too near or too far
        return;
    }
    const int64_t factor = m_focal / depth;
    Fixed px = scaleByFactor(factor, dx);
    Fixed py = scaleByFactor(factor, up);
    Fixed ps = scaleByFactor(factor, sprite.m_scale);
    if (ps >= kUnscaledLow && ps <= kUnscaledHigh) {
        ps = kFixedOne;
    }
    if (m_scale != kFixedOne) {
        px = fmul(px, m_scale);
        py = fmul(py, m_scale);
        ps = fmul(ps, m_scale);
    }
    sprite.m_x = m_centreX + px;
    sprite.m_y = m_centreY - py;
    sprite.place(sprite.m_x, sprite.m_y, ps);
    sprite.m_depth = depth >> 1;
}

int32_t World::worldSignature(Fixed worldX, Fixed worldY) const {
    return m_centreY + m_centreX * 8 + m_sin + m_cos + m_posZ + m_posY + m_posX + m_height + m_width + worldX +
           worldY;
}

void World::layout(Fixed originX, Fixed originY, Fixed scale) {
    const WorldPlacement world = worldPlacement(originX, originY, scale);
    bool changed = false;
    const int32_t placed = worldSignature(world.x, world.y);
    if (placed != m_signature) {
        m_signature = placed;
        invalidateSelf();
        place(world.x, world.y, world.scale);
        invalidateSelf();
        projectAll();
        changed = true;
    } else {
        changed = projectChanged();
    }
    if (changed) {
        sortByDepth();
    }
}

// The camera or the world moved: every child needs a new place. Only the world's own old and
// new areas are reported, not the children's.
void World::projectAll() {
    for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        child->m_signature = childSignature(*child);
        project(*child);
    }
}

// Re-projects only the children whose position or picture changed, reporting the area each
// left and the area it now covers. Answers whether any moved.
bool World::projectChanged() {
    bool any = false;
    for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        const int32_t placed = childSignature(*child);
        if (placed == child->m_signature) {
            continue;
        }
        child->m_signature = placed;
        child->invalidateSelf();
        project(*child);
        child->invalidateSelf();
        any = true;
    }
    return any;
}

// Takes every child off and adds them back in their old order, so that the list runs from
// the deepest to the nearest and equal depths keep their order.
void World::sortByDepth() {
    Ref<Psprite> keepAlive = this;  // the children's parent links may be the last holders
    Ref<Psprite> child = std::move(m_firstChild);  // leaves the list empty
    while (child) {
        Ref<Psprite> next = std::move(child->m_next);
        child->m_next = nullptr;
        child->m_parent = nullptr;
        add(child);
        child = std::move(next);
    }
}

}  // namespace vornel
