// Menus: entries, the selection and its highlight, and the keys and taps that move or choose.
#include "sprites/Menu.h"

#include "sprites/GameKey.h"

namespace vornel {
namespace {

bool isPrevious(int32_t key) {
    return key == GameKey::kUp || key == GameKey::kLeft || key == GameKey::kDigit2;
}

bool isNext(int32_t key) {
    return key == GameKey::kDown || key == GameKey::kRight || key == GameKey::kDigit8;
}

bool isChoose(int32_t key) {
    return key == GameKey::kConfirm || key == GameKey::kNewline || key == GameKey::kDigit5;
}

}  // namespace

Menu::Menu() {
    m_color = kDefaultColor;
}

Menu::~Menu() = default;

// ---- Building ----

Ref<TextSprite> Menu::addKeyedItem(Ref<String> text, int32_t key) {
    Ref<TextSprite> item = new TextSprite();
    // A pen chooses by tapping, so the key written in front of the label is left out.
    if (text && isTouchScreen() && text->length() >= 2 && text->text()[1] == ' ') {
        text = text->substring(2);
    }
    item->setText(std::move(text));
    item->setTag(key);
    addEntry(item);
    return item;
}

Ref<TextSprite> Menu::addItem(Ref<String> text) {
    const int32_t key = text ? static_cast<int8_t>(text->text()[0]) : 0;
    return addKeyedItem(std::move(text), key);
}

void Menu::addEntry(Ref<Psprite> entry) {
    if (!entry) {
        return;
    }
    if (!m_selected) {
        m_selected = entry;
    } else {
        entry->setOpacity(kDimmed);
    }
    addRow(std::move(entry));
}

void Menu::addPicture(int32_t key, int32_t number) {
    Ref<Psprite> cell = new Psprite();
    cell->setColor(m_color);
    cell->setTag(key);
    cell->setSize(kCellSize, kCellSize);
    addRow(cell);

    Ref<Psprite> picture = new Psprite();
    picture->setTag(key);
    picture->setPicture(m_bank, number);
    picture->setPosition((kCellSize - picture->width()) / 2, (kCellSize - picture->height()) / 2);
    picture->setOpacity(kDimmed);
    cell->add(picture);
}

// ---- The selection ----

Ref<Psprite> Menu::highlightTarget() {
    if (!m_selected) {
        return nullptr;
    }
    Psprite* target = m_selected.get();
    for (Psprite* child = m_selected->m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        target = child;
    }
    return target;
}

Ref<Psprite> Menu::selectedItem() {
    return highlightTarget();
}

void Menu::dim() {
    if (Ref<Psprite> target = highlightTarget()) {
        target->setOpacity(kDimmed);
    }
}

void Menu::highlight() {
    if (!m_selected) {
        m_selected = m_firstChild;
    }
    if (Ref<Psprite> target = highlightTarget()) {
        target->setOpacity(kFixedOne);
    }
}

void Menu::select(Psprite* entry) {
    dim();
    m_selected = entry;
    highlight();
}

void Menu::selectIndex(int32_t i) {
    dim();
    if (i < 0) {
        return;
    }
    Psprite* entry = m_firstChild.get();
    for (; entry != nullptr && i > 0; --i) {
        entry = entry->m_next.get();
    }
    if (entry != nullptr) {
        m_selected = entry;
        highlight();
    }
}

int32_t Menu::selectedIndex() {
    int32_t index = 0;
    for (Psprite* entry = m_firstChild.get(); entry != nullptr && entry != m_selected.get();
         entry = entry->m_next.get()) {
        ++index;
    }
    return index;
}

void Menu::selectByKey(int32_t key) {
    for (Psprite* entry = m_firstChild.get(); entry != nullptr; entry = entry->m_next.get()) {
        if (entry->m_tag == key && entry != m_selected.get()) {
            select(entry);
        }
    }
}

// ---- Keys ----

Psprite* Menu::entryBefore(Psprite* entry) {
    Psprite* previous = nullptr;
    for (Psprite* at = m_firstChild.get(); at != nullptr && at != entry; at = at->m_next.get()) {
        previous = at;
    }
    return previous;
}

Psprite* Menu::lastEntry() {
    return entryBefore(nullptr);
}

int32_t Menu::keyOf(Psprite& entry) {
    return static_cast<int8_t>(entry.m_tag);
}

// The first rule that applies decides:
// 1. a tap (action with a position) on an entry selects it and answers its key; elsewhere 0;
// 2. up, left or '2' selects the entry above, from the first wrapping to the last; answers 0;
// 3. down, right or '8' selects the entry below, from the last wrapping to the first; 0;
// 4. action, newline or '5' answers the selected entry's key (the key itself if none);
// 5. any other key selects the first entry carrying it and answers the key either way;
// 6. no key (0) answers 0.
int32_t Menu::handleKey(int32_t key, int32_t x, int32_t y) {
    if (key == GameKey::kConfirm && (x != 0 || y != 0)) {
        if (x < m_left || x >= m_right) {
            return 0;
        }
        for (Psprite* entry = m_firstChild.get(); entry != nullptr; entry = entry->m_next.get()) {
            if (entry->m_top <= y && y < entry->m_bottom) {
                select(entry);
                return keyOf(*entry);
            }
        }
        return 0;
    }
    if (isPrevious(key)) {
        Psprite* first = m_firstChild.get();
        select(m_selected.get() == first ? lastEntry() : entryBefore(m_selected.get()));
        return 0;
    }
    if (isNext(key)) {
        Psprite* next = m_selected ? m_selected->m_next.get() : nullptr;
        select(next != nullptr ? next : m_firstChild.get());
        return 0;
    }
    if (isChoose(key)) {
        return m_selected ? keyOf(*m_selected) : key;
    }
    if (key == GameKey::kNone) {
        return 0;
    }
    for (Psprite* entry = m_firstChild.get(); entry != nullptr; entry = entry->m_next.get()) {
        if (entry->m_tag == key) {
            select(entry);
            break;
        }
    }
    return key;
}

}  // namespace vornel
