// A list of entries stacked as rows, one of them selected: keys and stylus taps move the
// selection or choose an entry, which answers its key character.
#pragma once

#include <cstdint>

#include "core/Fixed.h"
#include "core/Ref.h"
#include "core/String.h"
#include "sprites/Psprite.h"
#include "sprites/TextSprite.h"

namespace vornel {

class Menu final : public Psprite {
public:
    // The fill every menu starts with: none. A menu that wants one sets its own colour.
    static constexpr uint32_t kDefaultColor = 0;
    static constexpr Fixed kDimmed = 0x6000;  // opacity of the entries not selected
    static constexpr int32_t kCellSize = 32;  // pixels, each side of a picture cell

    Menu();

    // A text entry chosen by key. On a touch screen a label "k Word" shows only "Word".
    virtual Ref<TextSprite> addKeyedItem(Ref<String> text, int32_t key);
    // A text entry chosen by its first character.
    virtual Ref<TextSprite> addItem(Ref<String> text);
    // Appends an entry as a row; the first one becomes the selection, the others are dimmed.
    virtual void addEntry(Ref<Psprite> entry);
    // Appends a 32 × 32 cell with picture number of the menu's bank centred in it.
    virtual void addPicture(int32_t key, int32_t number);
    virtual void dim();
    // What shows the selection: the selected entry, or the last sprite inside it.
    virtual Ref<Psprite> highlightTarget();
    virtual Ref<Psprite> selectedItem();
    // Moves the selection or chooses: answers the chosen entry's key, 0 while still choosing
    // (see Menu.cpp for the rules). (x, y) is the stylus position of a tap, else (0, 0).
    virtual int32_t handleKey(int32_t key, int32_t x, int32_t y);
    // Selects the entry carrying key (the last one, if several do).
    virtual void selectByKey(int32_t key);
    virtual void highlight();
    // Selects entry i counted from 0; an index past the end leaves the old selection dimmed.
    virtual void selectIndex(int32_t i);
    // Entries before the selected one (the entry count if none is selected).
    virtual int32_t selectedIndex();

    // Whether the menu is on a touch screen (its screen's, set by whoever makes the menu
    // before its entries are added).
    void setTouchScreen(bool touchScreen) { m_touchScreen = touchScreen; }
    bool isTouchScreen() const { return m_touchScreen; }

    Ref<Psprite> m_selected;

protected:
    ~Menu() override;

private:
    void select(Psprite* entry);
    Psprite* entryBefore(Psprite* entry);
    Psprite* lastEntry();
    // The entry's key character as the menu answers it.
    static int32_t keyOf(Psprite& entry);

    bool m_touchScreen = false;
};

}  // namespace vornel
