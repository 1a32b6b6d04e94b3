// The sprite tree: depth order, rows and centring, placement, dirty rectangles, hit tests, drawing.
#include "sprites/Psprite.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace vornel {
namespace {

using Rect = std::array<int32_t, 4>;

// A root that records every dirty rectangle reported to it.
class RecordingRoot : public Psprite {
public:
    void invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        reported.push_back({left, top, right, bottom});
    }
    std::vector<Rect> reported;
};

Ref<Psprite> sprite(int32_t x, int32_t y, int32_t width, int32_t height, Fixed depth = 0, uint32_t color = 0) {
    Ref<Psprite> s = new Psprite(x, y, width, height, color);
    s->m_depth = depth;
    return s;
}

// Parents and children hold each other: a test takes its trees apart when it ends.
class TreeCleaner {
public:
    explicit TreeCleaner(std::initializer_list<Ref<Psprite>> roots) : m_roots(roots) {}
    ~TreeCleaner() {
        for (const Ref<Psprite>& root : m_roots) {
            root->clear();
        }
    }

private:
    std::vector<Ref<Psprite>> m_roots;
};

std::vector<Psprite*> children(Psprite& parent) {
    std::vector<Psprite*> list;
    for (Psprite* child = parent.m_firstChild.get(); child != nullptr; child = child->m_next.get()) {
        list.push_back(child);
    }
    return list;
}

TEST(Psprite, ChildrenRunFromTheDeepestAndEqualDepthsKeepTheirOrder) {
    Ref<Psprite> parent = new Psprite();
    Ref<Psprite> first = sprite(0, 0, 1, 1, 5);
    Ref<Psprite> deep = sprite(0, 0, 1, 1, 9);
    Ref<Psprite> second = sprite(0, 0, 1, 1, 5);
    parent->add(first);
    parent->add(deep);
    parent->add(second);
    TreeCleaner cleaner{parent};
    EXPECT_EQ(children(*parent), (std::vector<Psprite*>{deep.get(), first.get(), second.get()}));
    EXPECT_EQ(first->parent(), parent);
}

TEST(Psprite, AChildWithAParentIsNotAddedElsewhere) {
    Ref<Psprite> a = new Psprite();
    Ref<Psprite> b = new Psprite();
    Ref<Psprite> child = sprite(0, 0, 1, 1);
    a->add(child);
    b->add(child);
    TreeCleaner cleaner{a, b};
    EXPECT_EQ(child->parent(), a);
    EXPECT_TRUE(children(*b).empty());
}

TEST(Psprite, ChangingDepthResortsAndRepaintsAndTheSameDepthDoesNothing) {
    Ref<RecordingRoot> root = new RecordingRoot();
    Ref<Psprite> near = sprite(0, 0, 4, 4, 1);
    Ref<Psprite> far = sprite(0, 0, 4, 4, 7);
    root->add(near);
    root->add(far);
    TreeCleaner cleaner{root};
    root->layout(0, 0, 0x8000);
    root->reported.clear();

    near->setDepth(9);
    EXPECT_EQ(children(*root), (std::vector<Psprite*>{near.get(), far.get()}));
    EXPECT_EQ(root->reported, (std::vector<Rect>{{0, 0, 4, 4}}));

    root->reported.clear();
    near->setDepth(9);
    EXPECT_TRUE(root->reported.empty());
}

TEST(Psprite, RemovingRepaintsTheChildsAreaAndBreaksItsLinks) {
    Ref<RecordingRoot> root = new RecordingRoot();
    Ref<Psprite> a = sprite(1, 1, 2, 2);
    Ref<Psprite> b = sprite(5, 5, 2, 2);
    root->addBack(a);
    root->addBack(b);
    TreeCleaner cleaner{root};
    root->layout(0, 0, 0x8000);
    root->reported.clear();

    root->remove(a);
    EXPECT_EQ(root->reported, (std::vector<Rect>{{1, 1, 3, 3}}));
    EXPECT_FALSE(a->hasParent());
    EXPECT_FALSE(a->m_next);
    EXPECT_EQ(children(*root), (std::vector<Psprite*>{b.get()}));

    Ref<Psprite> stranger = new Psprite();
    Ref<Psprite> elsewhere = sprite(0, 0, 1, 1);
    stranger->add(elsewhere);
    TreeCleaner strangers{stranger};
    root->remove(elsewhere);  // not in this list: nothing changes
    EXPECT_EQ(elsewhere->parent(), stranger);
    root->remove(nullptr);
}

TEST(Psprite, ClearEmptiesTheWholeSubtree) {
    Ref<Psprite> root = new Psprite();
    Ref<Psprite> group = new Psprite();
    Ref<Psprite> leaf = sprite(0, 0, 1, 1);
    root->add(group);
    group->add(leaf);
    root->clear();
    EXPECT_FALSE(root->m_firstChild);
    EXPECT_FALSE(group->m_firstChild);
    EXPECT_FALSE(leaf->hasParent());
}

TEST(Psprite, GroupsAreHitThroughTheirChildrenAndSpritesWithAWidthNeverPassOn) {
    Ref<Psprite> group = new Psprite();
    Ref<Psprite> button = sprite(10, 10, 5, 5);
    Ref<Psprite> inner = sprite(0, 0, 50, 50);
    group->add(button);
    button->add(inner);
    TreeCleaner cleaner{group};
    group->layout(0, 0, 0x8000);
    EXPECT_TRUE(group->hitTest(12, 12));
    EXPECT_FALSE(group->hitTest(15, 12));  // right edge is outside
    EXPECT_FALSE(group->hitTest(30, 30));  // only the inner sprite covers this point
    EXPECT_TRUE(inner->hitTest(30, 30));
}

TEST(Psprite, PlacementClampsTheScaleOfItsOwnRectangleButNotOfItsChildren) {
    Ref<Psprite> parent = sprite(8, 4, 20, 10);
    parent->setAnchor(2, 2);
    parent->setMinScale(0x8000);
    Ref<Psprite> child = sprite(4, 0, 10, 10);
    parent->add(child);
    TreeCleaner cleaner{parent};
    parent->layout(0, 0, 0x4000);  // half size, but the parent may not shrink

    EXPECT_EQ(parent->m_invScale, 0x8000);
    EXPECT_EQ((Rect{parent->m_left, parent->m_top, parent->m_right, parent->m_bottom}), (Rect{2, 0, 22, 10}));
    EXPECT_EQ(child->m_invScale, 0x10000);  // the child gets the unclamped half scale
    EXPECT_EQ((Rect{child->m_left, child->m_top, child->m_right, child->m_bottom}), (Rect{6, 2, 11, 7}));
}

TEST(Psprite, LayoutReportsOldAndNewRectanglesOnlyWhenSomethingChanged) {
    Ref<RecordingRoot> root = new RecordingRoot();
    Ref<Psprite> ball = sprite(2, 3, 4, 4, 0, 0xFFFFFFFF);
    root->add(ball);
    TreeCleaner cleaner{root};
    root->layout(0, 0, 0x8000);
    root->reported.clear();

    root->layout(0, 0, 0x8000);
    EXPECT_TRUE(root->reported.empty());

    ball->moveBy(toFixed(10), 0);
    root->layout(0, 0, 0x8000);
    EXPECT_EQ(root->reported, (std::vector<Rect>{{2, 3, 6, 7}, {12, 3, 16, 7}}));

    root->reported.clear();
    ball->setColor(0xFF00FF00);  // a new colour changes the signature too
    root->layout(0, 0, 0x8000);
    EXPECT_EQ(root->reported.size(), 2u);
}

TEST(Psprite, RowsStackDownwardsAndWidenThePanel) {
    Ref<Psprite> panel = new Psprite();
    Ref<Psprite> narrow = sprite(0, 0, 30, 12);
    Ref<Psprite> wide = sprite(0, 0, 50, 8);
    panel->addRow(narrow);
    TreeCleaner cleaner{panel};
    EXPECT_EQ(narrow->y(), 0);
    EXPECT_EQ(panel->height(), 12);
    EXPECT_EQ(panel->width(), 30);
    panel->addRowCentred(wide);
    EXPECT_EQ(wide->y(), toFixed(12));
    EXPECT_EQ(panel->width(), 50);
    EXPECT_EQ(panel->height(), 20);
    EXPECT_EQ(wide->x(), 0);
}

TEST(Psprite, CentringInABoxTooSmallSitsOnItsBottomOrAtItsTop) {
    Ref<Psprite> panel = sprite(0, 0, 100, 40);
    Ref<Psprite> tall = sprite(0, 0, 20, 60);
    TreeCleaner cleaner{panel};
    panel->addCentredIn(tall, 0, 40);  // the box's bottom is the panel's: align to it
    EXPECT_EQ(tall->y(), toFixed(-20));
    EXPECT_EQ(tall->x(), toFixed(40));

    Ref<Psprite> other = sprite(0, 0, 20, 60);
    panel->addCentredIn(other, 0, 30);  // above the box's top at 0: placed at 0
    EXPECT_EQ(other->y(), 0);

    Ref<Psprite> loose = sprite(0, 0, 10, 50);
    loose->centreIn(0, 0, 100, 30);
    EXPECT_EQ(loose->y(), toFixed(-20));
    EXPECT_EQ(loose->x(), toFixed(45));
}

TEST(Psprite, ChildrenAreDrawnAfterTheirParentAndOnlyInsideTheirRectangles) {
    Ref<Psprite> back = sprite(0, 0, 4, 4, 0, 0xFF111111);
    Ref<Psprite> front = sprite(1, 1, 2, 2, 0, 0xFF222222);
    Ref<Psprite> invisible = sprite(0, 0, 4, 4, 0, 0x00FFFFFF);
    back->addBack(front);
    back->addBack(invisible);
    TreeCleaner cleaner{back};
    back->layout(0, 0, 0x8000);
    Array<uint32_t> surface = allocInt<uint32_t>(16);
    back->draw(surface, 4, 4, 0, 0, 4, 4, 0x8000);
    EXPECT_EQ(surface[0], 0xFF111111u);
    EXPECT_EQ(surface[5], 0xFF222222u);
    EXPECT_EQ(surface[10], 0xFF222222u);
    EXPECT_EQ(surface[15], 0xFF111111u);
}

TEST(Psprite, APlainSpriteNamesItsPicture) {
    EXPECT_STREQ(Ref<Psprite>(new Psprite())->name()->text(), "Sprite image -1");
}

}  // namespace
}  // namespace vornel
