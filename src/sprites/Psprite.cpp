// The sprite tree: ordering children, rows and centring, layout and placement, dirty
// rectangles, hit tests and drawing.
#include "sprites/Psprite.h"

#include <algorithm>

#include "core/StringBuffer.h"
#include "sprites/Drawing.h"
#include "sprites/TextSprite.h"

namespace vornel {

Psprite::Psprite(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color)
    : m_color(color), m_x(toFixed(x)), m_y(toFixed(y)), m_width(width), m_height(height) {}

Psprite::~Psprite() = default;

// ---- The tree ----

void Psprite::add(Ref<Psprite> child) {
    if (!child || child->m_parent) {
        return;
    }
    Psprite* previous = nullptr;
    Psprite* current = m_firstChild.get();
    while (current != nullptr && child->m_depth <= current->m_depth) {
        previous = current;
        current = current->m_next.get();
    }
    child->m_next = current;
    child->m_parent = this;
    if (previous != nullptr) {
        previous->m_next = child;
    } else {
        m_firstChild = child;
    }
}

void Psprite::addFront(Ref<Psprite> child) {
    if (!child) {
        return;
    }
    child->m_next = m_firstChild;
    child->m_parent = this;
    m_firstChild = child;
}

void Psprite::addBack(Ref<Psprite> child) {
    if (!child) {
        return;
    }
    child->m_parent = this;
    if (!m_firstChild) {
        m_firstChild = child;
        return;
    }
    Psprite* last = m_firstChild.get();
    while (last->m_next) {
        last = last->m_next.get();
    }
    last->m_next = child;
}

void Psprite::addRow(Ref<Psprite> child) {
    if (!child) {
        return;
    }
    addBack(child);
    const int32_t rowWidth = child->width() + 2 * kRowMargin;
    if (rowWidth > m_width) {
        m_width = rowWidth;
    }
    child->setPosition(kRowMargin, m_height);
    m_height += child->height();
}

void Psprite::addRowCentred(Ref<Psprite> child) {
    if (!child) {
        return;
    }
    addRow(child);
    child->setPositionFixed((m_width - child->width()) * 0x4000, child->y());
}

void Psprite::addCentredIn(Ref<Psprite> child, int32_t top, int32_t bottom) {
    if (!child) {
        return;
    }
    const Fixed scale = child->scale();
    const int32_t height = fmul(child->height(), scale);
    const int32_t width = fmul(child->width(), scale);
    addBack(child);
    int32_t y = top + (((bottom - height) - top) >> 1);
    if (y < top && top == 0) {
        y = 0;
    }
    if (bottom < height + y && bottom == m_height) {
        y = bottom - height;
    }
    child->setPosition((m_width - width) / 2, y);
}

void Psprite::addCentred(Ref<Psprite> child) {
    addCentredIn(std::move(child), 0, m_height);
}

// A text sprite, with a field of fieldSize characters when that is not 0.
Ref<TextSprite> Psprite::makeText(Ref<String> text, int32_t fieldSize) {
    Ref<TextSprite> sprite = new TextSprite(std::move(text));
    if (fieldSize != 0) {
        sprite->setFieldSize(fieldSize);
    }
    return sprite;
}

Ref<TextSprite> Psprite::addText(Ref<String> text) {
    Ref<TextSprite> sprite = makeText(std::move(text), 0);
    addRow(sprite);
    return sprite;
}

Ref<TextSprite> Psprite::addTextField(Ref<String> text, int32_t fieldSize) {
    Ref<TextSprite> sprite = makeText(std::move(text), fieldSize);
    addRow(sprite);
    return sprite;
}

Ref<TextSprite> Psprite::addTextCentred(Ref<String> text) {
    Ref<TextSprite> sprite = makeText(std::move(text), 0);
    addRowCentred(sprite);
    return sprite;
}

Ref<TextSprite> Psprite::addTextFieldCentred(Ref<String> text, int32_t fieldSize) {
    Ref<TextSprite> sprite = makeText(std::move(text), fieldSize);
    addRowCentred(sprite);
    return sprite;
}

void Psprite::remove(Ref<Psprite> child) {
    if (!child || !child->m_parent) {
        return;
    }
    child->touch();
    Psprite* previous = nullptr;
    Psprite* current = m_firstChild.get();
    while (current != nullptr && current != child.get()) {
        previous = current;
        current = current->m_next.get();
    }
    if (current == nullptr) {
        return;
    }
    if (previous != nullptr) {
        previous->m_next = child->m_next;
    } else {
        m_firstChild = child->m_next;
    }
    child->m_parent = nullptr;
    child->m_next = nullptr;
}

void Psprite::removeAll() {
    while (m_firstChild) {
        remove(m_firstChild);
    }
}

void Psprite::clear() {
    while (m_firstChild) {
        Ref<Psprite> child = m_firstChild;
        remove(child);
        child->clear();
    }
}

void Psprite::removeFromParent() {
    if (m_parent) {
        Ref<Psprite> parent = m_parent;
        parent->remove(this);
    }
}

void Psprite::setDepth(Fixed depth) {
    if (depth == m_depth) {
        return;
    }
    m_depth = depth;
    if (m_parent) {
        Ref<Psprite> self = this;
        Ref<Psprite> parent = m_parent;
        parent->remove(self);
        parent->add(self);
    }
}

// ---- Placement ----

void Psprite::movePosBy(Fixed dx, Fixed dy, Fixed dz) {
    setPos(m_posX + dx, m_posY + dy, m_posZ + dz);
}

void Psprite::moveBy(Fixed dx, Fixed dy) {
    m_x += dx;
    m_y += dy;
}

void Psprite::centreIn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    int32_t y = top + (((bottom - m_height) - top) >> 1);
    if (bottom < m_height + y) {
        y = bottom - m_height;
    }
    const int32_t x = left + ((right - m_width) - left) / 2;
    setPosition(x, y);
}

int32_t Psprite::signature(Fixed x, Fixed y, Fixed scale) {
    return ((((m_height + y) * 8 + x) * 16 + m_width) * 8 + m_picture) + static_cast<int32_t>(m_color) + m_opacity +
           scale;
}

Psprite::WorldPlacement Psprite::worldPlacement(Fixed originX, Fixed originY, Fixed scale) const {
    if (scale == kFixedOne) {
        return {originX + m_x, originY + m_y, m_scale};
    }
    return {originX + fmul(m_x, scale), originY + fmul(m_y, scale), fmul(m_scale, scale)};
}

void Psprite::layout(Fixed originX, Fixed originY, Fixed scale) {
    const WorldPlacement world = worldPlacement(originX, originY, scale);
    if (m_width != 0) {
        const int32_t placed = signature(world.x, world.y, world.scale);
        if (placed != m_signature) {
            m_signature = placed;
            invalidateSelf();
            place(world.x, world.y, world.scale);
            invalidateSelf();
        }
    }
    for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        child->layout(world.x, world.y, world.scale);
    }
}

void Psprite::place(Fixed x, Fixed y, Fixed scale) {
    if (scale < m_minScale) {
        scale = m_minScale;
    }
    if (scale > m_maxScale) {
        scale = m_maxScale;
    }
    if (scale <= 0) {
        scale = 1;  // a minimum scale set to 0 or below would divide by zero
    }
    m_invScale = 0x40000000 / scale;
    const Fixed left = x - m_anchorX * scale;
    const Fixed top = y - m_anchorY * scale;
    m_fixLeft = left;
    m_fixTop = top;
    m_left = left >> kFixedShift;
    m_top = top >> kFixedShift;
    m_right = m_left + ((m_width * scale) >> kFixedShift);
    m_bottom = m_top + ((m_height * scale) >> kFixedShift);
}

// ---- Dirty rectangles and hit tests ----

void Psprite::touch() {
    invalidateSelf();
    m_signature += 1;
    for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        child->touch();
    }
}

void Psprite::invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (m_parent && right > left) {
        m_parent->invalidate(left, top, right, bottom);
    }
}

void Psprite::invalidateSelf() {
    invalidate(m_left, m_top, m_right, m_bottom);
}

bool Psprite::hitTest(int32_t x, int32_t y) {
    if (m_width == 0) {
        for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
            if (child->hitTest(x, y)) {
                return true;
            }
        }
        return false;
    }
    return m_left <= x && x < m_right && m_top <= y && y < m_bottom;
}

void Psprite::render() {
    if (m_parent) {
        m_parent->render();
    }
}

void Psprite::playSound(Ref<String> name) {
    if (m_parent) {
        m_parent->playSound(std::move(name));
    }
}

// ---- Drawing ----

void Psprite::draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
                   int32_t clipRight, int32_t clipBottom, Fixed opacity) {
    const Fixed effective = fmul(opacity, m_opacity);
    paintSelf(surfaceOf(surface, stride, rows), {clipLeft, clipTop, clipRight, clipBottom}, effective);
    if (m_firstChild) {
        drawChildren(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, effective);
    }
}

void Psprite::paintSelf(const Surface32& surface, const Rect& clip, Fixed opacity) {
    if (m_picture != -1) {
        if (m_bank) {
            m_bank->drawPicture(m_picture, surface, clip, {m_fixLeft, m_fixTop}, m_invScale, m_depth >> kFixedShift,
                                opacity);
        }
    } else if (m_color2 != 0) {
        drawGradient(surface, clip);
    } else if (m_color != 0) {
        Drawing::fillRect(surface, clip, Drawing::withOpacity(m_color, opacity));
    }
}

// Opaque rows from m_color to m_color2 down the sprite; the sprite's opacity does not apply.
void Psprite::drawGradient(const Surface32& surface, const Rect& clip) {
    if (m_height <= 0) {
        return;
    }
    Drawing::fillGradient(surface, clip, m_color, m_color2, m_top, kFixedOne / m_height);
}

void Psprite::drawChildren(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                           int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed opacity) {
    for (Psprite* child = m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        if (child->m_width == 0) {
            child->draw(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, opacity);
            continue;
        }
        const Rect part = intersect({clipLeft, clipTop, clipRight, clipBottom}, child->screenRect());
        if (!part.isEmpty()) {
            child->draw(surface, stride, rows, part.left, part.top, part.right, part.bottom, opacity);
        }
    }
}

void Psprite::fillRect(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, uint32_t color) {
    Drawing::fillRect(surfaceOf(surface, stride, rows), {left, top, right, bottom}, color);
}

// ---- Pictures ----

void Psprite::setPicture(Ref<PictureBank> bank, int32_t number) {
    if (bank == m_bank && number == m_picture) {
        return;
    }
    m_bank = std::move(bank);
    m_picture = number;
    if (m_bank) {
        Ref<Picture> picture = m_bank->getPicture(number);
        m_width = picture->m_width;
        m_height = picture->m_height;
        m_anchorX = picture->m_anchorX;
        m_anchorY = picture->m_anchorY;
    }
}

void Psprite::setPictureNumber(int32_t number) {
    setPicture(m_bank, number);
}

void Psprite::releasePicture() {
    if (m_bank && m_picture != -1) {
        m_bank->hintEviction(m_picture);
    }
}

// ---- Accessors and setters ----

Fixed Psprite::opacity() { return m_opacity; }
Ref<Psprite> Psprite::firstChild() { return m_firstChild; }
int32_t Psprite::height() { return m_height; }
int32_t Psprite::tag() { return m_tag; }
int32_t Psprite::picture() { return m_picture; }
Ref<Psprite> Psprite::parent() { return m_parent; }
Fixed Psprite::scale() { return m_scale; }
int32_t Psprite::width() { return m_width; }
Fixed Psprite::posX() { return m_posX; }
Fixed Psprite::posY() { return m_posY; }
Fixed Psprite::posZ() { return m_posZ; }
Fixed Psprite::x() { return m_x; }
Fixed Psprite::y() { return m_y; }
bool Psprite::hasParent() { return static_cast<bool>(m_parent); }

void Psprite::setOpacity(Fixed opacity) { m_opacity = opacity; }

void Psprite::setAnchor(int32_t anchorX, int32_t anchorY) {
    m_anchorX = anchorX;
    m_anchorY = anchorY;
}

void Psprite::setColor(uint32_t color) { m_color = color; }
void Psprite::setColor2(uint32_t color) { m_color2 = color; }

void Psprite::setRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

void Psprite::setTag(int32_t tag) { m_tag = tag; }
void Psprite::setScale(Fixed scale) { m_scale = scale; }
void Psprite::setMaxScale(Fixed scale) { m_maxScale = scale; }
void Psprite::setMinScale(Fixed scale) { m_minScale = scale; }

void Psprite::setSize(int32_t width, int32_t height) {
    m_width = width;
    m_height = height;
}

void Psprite::setPos(Fixed x, Fixed y, Fixed z) {
    m_posX = x;
    m_posY = y;
    m_posZ = z;
}

void Psprite::setPosition(int32_t x, int32_t y) {
    m_x = toFixed(x);
    m_y = toFixed(y);
}

void Psprite::setPositionFixed(Fixed x, Fixed y) {
    m_x = x;
    m_y = y;
}

Ref<String> Psprite::name() {
    Ref<StringBuffer> text = new StringBuffer();
    text->append(*String::fromLiteral("Sprite image "));
    text->appendNumber(m_picture);
    return text->toString();
}

}  // namespace vornel
