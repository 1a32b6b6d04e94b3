// Menus: the selection and its highlight, navigation with wrap-around, choosing by key or
// tap, picture cells and the touch-screen labels.
#include "sprites/Menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "../media/BankFiles.h"

namespace vornel {
namespace {

constexpr Fixed kDimmed = 0x6000;

// A menu that takes its tree apart when the test ends: parents and children hold each other.
struct TestMenu {
    ~TestMenu() { menu->clear(); }
    Menu* operator->() const { return menu.get(); }
    Ref<Menu> menu = new Menu();
};

// A menu of three 20 × 10 entries keyed 'a', 'b', 'c', placed with its corner at (10, 5).
class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        for (char key : {'a', 'b', 'c'}) {
            Ref<Psprite> entry = new Psprite(0, 0, 20, 10, 0);
            entry->setTag(key);
            m_menu->addEntry(entry);
            m_entries.push_back(entry);
        }
        m_menu->setPosition(10, 5);
        m_menu->layout(0, 0, kFixedOne);
    }

    TestMenu m_menu;
    std::vector<Ref<Psprite>> m_entries;
};

TEST_F(MenuTest, TheFirstEntryIsSelectedAndTheOthersDimmed) {
    EXPECT_EQ(m_menu->m_selected, m_entries[0]);
    EXPECT_EQ(m_entries[0]->opacity(), kFixedOne);
    EXPECT_EQ(m_entries[1]->opacity(), kDimmed);
    EXPECT_EQ(m_entries[2]->opacity(), kDimmed);
    EXPECT_EQ(m_entries[2]->m_top, 25);
    EXPECT_EQ(m_menu->m_color, 0u);
}

TEST_F(MenuTest, UpFromTheFirstSelectsTheLastAndDownFromTheLastTheFirst) {
    EXPECT_EQ(m_menu->handleKey(3, 0, 0), 0);
    EXPECT_EQ(m_menu->selectedIndex(), 2);
    EXPECT_EQ(m_entries[0]->opacity(), kDimmed);
    EXPECT_EQ(m_entries[2]->opacity(), kFixedOne);
    EXPECT_EQ(m_menu->handleKey(4, 0, 0), 0);
    EXPECT_EQ(m_menu->selectedIndex(), 0);
    EXPECT_EQ(m_entries[2]->opacity(), kDimmed);
}

TEST_F(MenuTest, KeypadTwoAndEightMoveAndFiveNewlineOrActionChoose) {
    EXPECT_EQ(m_menu->handleKey('8', 0, 0), 0);
    EXPECT_EQ(m_menu->handleKey(2, 0, 0), 0);  // right moves on too
    EXPECT_EQ(m_menu->handleKey('2', 0, 0), 0);
    EXPECT_EQ(m_menu->selectedIndex(), 1);
    EXPECT_EQ(m_menu->handleKey('5', 0, 0), 'b');
    EXPECT_EQ(m_menu->handleKey(10, 0, 0), 'b');
    EXPECT_EQ(m_menu->handleKey(5, 0, 0), 'b');
    EXPECT_EQ(m_menu->handleKey(0, 0, 0), 0);
}

TEST_F(MenuTest, ATapOutsideAnswersZeroAndATapOnAnEntryChoosesIt) {
    EXPECT_EQ(m_menu->handleKey(5, 9, 20), 0);
    EXPECT_EQ(m_menu->handleKey(5, 30, 20), 0);
    EXPECT_EQ(m_menu->handleKey(5, 12, 40), 0);  // below the last entry
    EXPECT_EQ(m_menu->selectedIndex(), 0);
    EXPECT_EQ(m_menu->handleKey(5, 12, 20), 'b');
    EXPECT_EQ(m_menu->selectedIndex(), 1);
    EXPECT_EQ(m_entries[1]->opacity(), kFixedOne);
    EXPECT_EQ(m_entries[0]->opacity(), kDimmed);
}

TEST_F(MenuTest, KeysSelectTheirEntryAndAnUnknownKeyOnlyAnswersItself) {
    EXPECT_EQ(m_menu->handleKey('x', 0, 0), 'x');
    EXPECT_EQ(m_menu->selectedIndex(), 0);
    EXPECT_EQ(m_menu->handleKey('c', 0, 0), 'c');
    EXPECT_EQ(m_menu->selectedIndex(), 2);
    m_entries[0]->setTag('b');
    m_menu->selectByKey('b');  // two entries carry 'b': the walk ends on the later one
    EXPECT_EQ(m_menu->selectedIndex(), 1);
    EXPECT_EQ(m_entries[2]->opacity(), kDimmed);
}

TEST_F(MenuTest, AnIndexPastTheEndLeavesTheOldSelectionDimmed) {
    m_menu->selectIndex(2);
    EXPECT_EQ(m_menu->selectedItem(), m_entries[2]);
    m_menu->selectIndex(3);
    EXPECT_EQ(m_menu->selectedIndex(), 2);
    EXPECT_EQ(m_entries[2]->opacity(), kDimmed);
}

TEST(Menu, AnEmptyMenuAnswersTheChoiceKeyAndSurvivesNavigation) {
    TestMenu menu;
    EXPECT_EQ(menu->handleKey(3, 0, 0), 0);
    EXPECT_EQ(menu->handleKey(4, 0, 0), 0);
    EXPECT_EQ(menu->handleKey(5, 0, 0), 5);
    EXPECT_EQ(menu->selectedIndex(), 0);
}

TEST(Menu, OnATouchScreenAKeyedLabelLosesItsKeyButIsStillChosenByIt) {
    TestMenu menu;
    Ref<TextSprite> plain = menu->addItem(String::fromLiteral("\xE9 Word"));  // keys are signed bytes
    menu->setTouchScreen(true);
    Ref<TextSprite> touch = menu->addItem(String::fromLiteral("1 Word"));
    EXPECT_STREQ(plain->name()->text(), "\xE9 Word");
    EXPECT_EQ(menu->handleKey(5, 0, 0), static_cast<int8_t>('\xE9'));
    EXPECT_STREQ(touch->name()->text(), "Word");
    EXPECT_EQ(menu->handleKey('1', 0, 0), '1');
    EXPECT_EQ(menu->m_selected, Ref<Psprite>(touch));
}

TEST(Menu, APictureSitsCentredAndDimmedInA32PixelCell) {
    test::BankFolder folder;
    folder.write("app", test::bankStream({test::literalRecord(4, 2, 0)}));
    TestMenu menu;
    menu->m_bank = new PictureBank(nullptr, *String::fromLiteral("app"));
    menu->setColor(0xFF123456);
    menu->addPicture('p', 0);

    Ref<Psprite> cell = menu->firstChild();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->width(), 32);
    EXPECT_EQ(cell->height(), 32);
    EXPECT_EQ(cell->tag(), 'p');
    EXPECT_EQ(cell->m_color, 0xFF123456u);
    Ref<Psprite> picture = cell->firstChild();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->x(), toFixed(14));
    EXPECT_EQ(picture->y(), toFixed(15));
    EXPECT_EQ(picture->opacity(), kDimmed);

    menu->highlight();  // selects the cell and lights its picture
    EXPECT_EQ(menu->highlightTarget(), picture);
    EXPECT_EQ(picture->opacity(), kFixedOne);
    EXPECT_EQ(menu->handleKey(5, 0, 0), 'p');
}

}  // namespace
}  // namespace vornel
