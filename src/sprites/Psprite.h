// The base of everything drawn: a rectangle with an optional picture or fill, a position in
// its parent, a scale, a depth and an ordered list of children. Sprites form a tree whose
// root is a screen; layout turns positions into screen rectangles and reports what moved.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/Base.h"
#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/SurfaceView.h"
#include "media/PictureBank.h"

namespace vornel {

class TextSprite;

class Psprite : public Base {
public:
    // Space around rows added with addRow, in pixels.
    static constexpr int32_t kRowMargin = 0;

    Psprite() = default;
    // A sprite at whole-pixel position (x, y) of the given size and fill colour (0xAARRGGBB).
    Psprite(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);

    // ---- The tree ----
    // Inserts the child in depth order, deepest first; equal depths keep their order. A child
    // that already has a parent is left where it is.
    virtual void add(Ref<Psprite> child);
    virtual Ref<TextSprite> addText(Ref<String> text);
    // Appends the child as a new row below the rows so far; the panel grows to hold it.
    virtual void addRow(Ref<Psprite> child);
    virtual Ref<TextSprite> addTextField(Ref<String> text, int32_t fieldSize);
    // Appends the child centred horizontally, and vertically between top and bottom (pixels).
    virtual void addCentredIn(Ref<Psprite> child, int32_t top, int32_t bottom);
    virtual void addCentred(Ref<Psprite> child);
    virtual Ref<TextSprite> addTextCentred(Ref<String> text);
    virtual void addRowCentred(Ref<Psprite> child);
    virtual Ref<TextSprite> addTextFieldCentred(Ref<String> text, int32_t fieldSize);
    virtual void addFront(Ref<Psprite> child);
    virtual void addBack(Ref<Psprite> child);

    // ---- Position and placement ----
    virtual void movePosBy(Fixed dx, Fixed dy, Fixed dz);
    virtual void moveBy(Fixed dx, Fixed dy);
    // Places the sprite inside the box (pixels); a sprite taller than the box sits on its bottom.
    virtual void centreIn(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // A number that changes whenever placement, size, picture, colour or opacity changes.
    virtual int32_t signature(Fixed x, Fixed y, Fixed scale);

    // ---- Drawing ----
    // Paints the sprite and then its children into the surface (stride pixels a row), inside
    // the clip rectangle, at the given opacity (Fixed). The sprite's own pixels go through
    // paintSelf; the children are reached through their draw, so each paints in its own way.
    virtual void draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
                      int32_t clipRight, int32_t clipBottom, Fixed opacity);
    virtual void drawChildren(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                              int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed opacity);
    virtual void fillRect(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t left, int32_t top,
                          int32_t right, int32_t bottom, uint32_t color);
    // Reports the current rectangle as dirty and forces a re-placement, for this sprite and
    // every sprite under it.
    virtual void touch();

    // ---- Accessors ----
    virtual Fixed opacity();
    virtual Ref<Psprite> firstChild();
    virtual int32_t height();
    virtual int32_t tag();
    virtual int32_t picture();
    virtual Ref<Psprite> parent();
    virtual Fixed scale();
    virtual int32_t width();
    virtual Fixed posX();
    virtual Fixed posY();
    virtual Fixed posZ();
    virtual Fixed x();
    virtual Fixed y();
    virtual bool hasParent();

    // ---- Leaving the tree, hit tests, dirty rectangles ----
    virtual void removeFromParent();
    // Whether the screen point (pixels) lies on the sprite; a group (width 0) asks its children.
    virtual bool hitTest(int32_t x, int32_t y);
    // Reports a dirty screen rectangle up the tree; the screen records it.
    virtual void invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void invalidateSelf();
    // Tells the bank the picture may go first when memory runs short.
    virtual void releasePicture();
    // Takes the child out of the list; its area is repainted.
    virtual void remove(Ref<Psprite> child);
    virtual void removeAll();
    // Removes every sprite of the subtree.
    virtual void clear();
    virtual void render();
    // The placement pass: world position and scale from the parent's, the rectangle when
    // the signature changed, then the children.
    virtual void layout(Fixed originX, Fixed originY, Fixed scale);
    // Computes the screen rectangle for the anchor at (x, y) and the given scale.
    virtual void place(Fixed x, Fixed y, Fixed scale);

    // ---- Setters: none of them repaints; the next layout notices the change ----
    virtual void setOpacity(Fixed opacity);
    virtual void setAnchor(int32_t anchorX, int32_t anchorY);
    virtual void setColor(uint32_t color);
    virtual void setColor2(uint32_t color);
    virtual void setRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void setTag(int32_t tag);
    // Shows picture number of the bank; the sprite takes the picture's size and anchor.
    virtual void setPicture(Ref<PictureBank> bank, int32_t number);
    virtual void setPictureNumber(int32_t number);
    virtual void setScale(Fixed scale);
    virtual void setMaxScale(Fixed scale);
    virtual void setMinScale(Fixed scale);
    virtual void setSize(int32_t width, int32_t height);
    virtual void setPos(Fixed x, Fixed y, Fixed z);
    virtual void setPosition(int32_t x, int32_t y);
    virtual void setPositionFixed(Fixed x, Fixed y);
    // Moves the sprite to its place among its siblings for the new depth.
    virtual void setDepth(Fixed depth);
    virtual void playSound(Ref<String> name);
    virtual Ref<String> name();

    // The fields are open to the sprites that own and place others: the screen, the
    // projecting world and the game read and set them directly.
    Fixed m_opacity = kFixedOne;  // of this sprite and everything under it
    Ref<Psprite> m_firstChild;
    Ref<Psprite> m_parent;
    Ref<Psprite> m_next;  // next sibling in the parent's list
    uint32_t m_color = 0;   // fill 0xAARRGGBB; 0 is no fill
    uint32_t m_color2 = 0;  // end colour of a vertical gradient; 0 is no gradient
    int32_t m_signature = 0;
    int32_t m_tag = 0;
    Ref<PictureBank> m_bank;
    int32_t m_picture = -1;  // -1: no picture
    Fixed m_scale = kFixedOne;
    Fixed m_invScale = 0;  // 2^30 / the effective scale of the last placement
    Fixed m_minScale = 1;
    Fixed m_maxScale = 0x7FFFFFFF;
    int32_t m_left = 0;  // screen rectangle of the last placement, pixels
    int32_t m_top = 0;
    int32_t m_right = 0;
    int32_t m_bottom = 0;
    Fixed m_fixLeft = 0;  // the same left and top with their fractions
    Fixed m_fixTop = 0;
    Fixed m_x = 0;  // anchor position in the parent
    Fixed m_y = 0;
    Fixed m_depth = 0;  // sort key among siblings; its whole part is the drawing depth
    int32_t m_width = 0;  // unscaled size, pixels; width 0 marks a group
    int32_t m_height = 0;
    int32_t m_anchorX = 0;  // the point of the sprite's box that lies at (m_x, m_y)
    int32_t m_anchorY = 0;
    Fixed m_posX = 0;  // position in the game's three-dimensional space
    Fixed m_posY = 0;
    Fixed m_posZ = 0;

protected:
    ~Psprite() override;

    // Where the anchor and scale of this sprite land for a parent placed at (originX, originY)
    // with the given scale.
    struct WorldPlacement {
        Fixed x;
        Fixed y;
        Fixed scale;
    };
    WorldPlacement worldPlacement(Fixed originX, Fixed originY, Fixed scale) const;
    // The screen rectangle of the last placement.
    Rect screenRect() const { return {m_left, m_top, m_right, m_bottom}; }
    // The sprite's picture, gradient or fill inside the clip, at opacity (Fixed, the
    // sprite's own already applied); not its children.
    void paintSelf(const Surface32& surface, const Rect& clip, Fixed opacity);

private:
    static Ref<TextSprite> makeText(Ref<String> text, int32_t fieldSize);
    void drawGradient(const Surface32& surface, const Rect& clip);
};

}  // namespace vornel
