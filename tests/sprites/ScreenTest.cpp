// The screen sprite: dirty-rectangle merging, repainting and presenting, the key queue, frame
// pacing on a fake clock, wipes, sizes and sounds.
#include "sprites/Screen.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/Clock.h"
#include "core/RunContext.h"

namespace vornel {
namespace {

using Rect = std::array<int32_t, 4>;

class RecordingHost : public ScreenHost {
public:
    explicit RecordingHost(std::function<void()> onPresent = {}) : m_onPresent(std::move(onPresent)) {}
    void presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        presented.push_back({left, top, right, bottom});
        if (m_onPresent) {
            m_onPresent();
        }
    }
    void playSound(const String& name, int32_t loop) override { sounds.emplace_back(name.text(), loop); }

    std::vector<Rect> presented;
    std::vector<std::pair<std::string, int32_t>> sounds;

private:
    std::function<void()> m_onPresent;
};

// Device time that moves only when someone sleeps or a test says so.
class FakeClock : public Clock {
public:
    uint32_t ticks() override { return now; }
    void sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
        if (onSleep) {
            onSleep();
        }
    }

    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
    std::function<void()> onSleep;
};

class ScreenTest : public ::testing::Test {
protected:
    // A tree keeps itself alive (children and parents hold each other), so every screen
    // made here is emptied at the end.
    void TearDown() override {
        for (const Ref<Screen>& screen : m_screens) {
            screen->clear();
        }
    }

    Ref<Screen> makeScreen() {
        m_screens.push_back(new Screen());
        return m_screens.back();
    }

    // A hosted screen of the given size, whose first full repaint is already done.
    Ref<Screen> hostedScreen(int32_t width, int32_t height) {
        Ref<Screen> screen = makeScreen();
        screen->setHost(host);
        screen->setSize(width, height);
        screen->render();
        host->presented.clear();
        return screen;
    }

    static std::vector<Rect> dirtyList(Screen& screen) {
        std::vector<Rect> rects;
        for (int32_t i = 0; i < screen.m_dirtyCount; i += 4) {
            rects.push_back({screen.m_dirty[i], screen.m_dirty[i + 1], screen.m_dirty[i + 2], screen.m_dirty[i + 3]});
        }
        return rects;
    }

    FakeClock clock;
    Ref<RecordingHost> host = new RecordingHost();

private:
    const RunContext m_context{"", "", &clock};
    std::vector<Ref<Screen>> m_screens;
};

TEST_F(ScreenTest, OverlappingRectanglesMergeAndContainedOnesChangeNothing) {
    Ref<Screen> screen = hostedScreen(30, 30);
    screen->invalidate(0, 0, 10, 10);
    screen->invalidate(5, 5, 20, 20);
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 20, 20}}));
    screen->invalidate(2, 2, 4, 4);
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 20, 20}}));
}

TEST_F(ScreenTest, TouchingRectanglesStaySeparate) {
    Ref<Screen> screen = hostedScreen(30, 30);
    screen->invalidate(0, 0, 10, 10);
    screen->invalidate(10, 0, 20, 10);
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 10, 10}, {10, 0, 20, 10}}));
}

TEST_F(ScreenTest, EleventhDisjointRectangleIsNotRecorded) {
    Ref<Screen> screen = hostedScreen(100, 10);
    for (int32_t i = 0; i < 11; ++i) {
        screen->invalidate(i * 5, 0, i * 5 + 2, 2);
    }
    ASSERT_EQ(screen->m_dirtyCount, 40);
    EXPECT_EQ(dirtyList(*screen).back(), (Rect{45, 0, 47, 2}));
}

TEST_F(ScreenTest, MergingRestartsTheScanSoAGrownUnionAbsorbsEarlierRectangles) {
    Ref<Screen> screen = hostedScreen(30, 30);
    screen->invalidate(0, 0, 4, 4);
    screen->invalidate(2, 6, 10, 10);
    screen->invalidate(8, 2, 12, 8);  // meets only the second; the union then meets the first
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 12, 10}}));
}

TEST_F(ScreenTest, RectanglesAreClippedToTheScreen) {
    Ref<Screen> screen = hostedScreen(10, 10);
    screen->invalidate(-5, -5, 3, 20);
    screen->invalidate(10, 0, 15, 5);
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 3, 10}}));
}

TEST_F(ScreenTest, RenderRepaintsOnlyDirtyRectanglesAndPresentsEachOnceInOrder) {
    Ref<Screen> screen = hostedScreen(8, 6);
    screen->add(new Psprite(0, 0, 8, 6, 0xFF112233));
    screen->render();
    std::fill(screen->m_buffer.data(), screen->m_buffer.data() + 48, 0u);
    host->presented.clear();

    screen->invalidate(5, 4, 7, 6);
    screen->invalidate(1, 1, 3, 2);
    screen->render();

    EXPECT_EQ(host->presented, (std::vector<Rect>{{5, 4, 7, 6}, {1, 1, 3, 2}}));
    EXPECT_EQ(screen->m_dirtyCount, 0);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const bool dirty = (x >= 5 && x < 7 && y >= 4) || (x >= 1 && x < 3 && y == 1);
            EXPECT_EQ(screen->m_buffer[y * 8 + x], dirty ? 0xFF112233u : 0u) << x << "," << y;
        }
    }
}

TEST_F(ScreenTest, NestedScreenReportsRepaintedRectanglesToItsParentMovedByItsPosition) {
    Ref<Screen> outer = makeScreen();
    outer->setSize(20, 20);
    Ref<Screen> inner = makeScreen();
    inner->setSize(4, 4);
    inner->setPosition(5, 6);
    outer->add(inner);
    outer->render();  // places the inner screen; its own list still holds (0, 0, 4, 4)

    inner->render();
    EXPECT_EQ(dirtyList(*outer), (std::vector<Rect>{{5, 6, 9, 10}}));
    EXPECT_EQ(inner->m_dirtyCount, 0);
}

TEST_F(ScreenTest, NestedScreenDrawsByCopyingItsBufferInsideTheSurface) {
    Ref<Screen> inner = makeScreen();
    inner->setSize(3, 2);
    for (int32_t i = 0; i < 6; ++i) {
        inner->m_buffer[i] = 0x100 + static_cast<uint32_t>(i);
    }
    inner->setRect(-1, 3, 2, 5);  // hangs over the left and bottom edges of a 4 x 4 surface
    Array<uint32_t> surface = allocInt<uint32_t>(16);
    inner->draw(surface, 4, 4, 0, 0, 4, 4, 0x4000);
    const std::array<uint32_t, 16> expected{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x101, 0x102, 0, 0};
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(surface[i], expected[i]) << i;
    }
}

TEST_F(ScreenTest, ConfirmWhileADirectionIsHeldSetsItsBitButIsNotQueued) {
    constexpr int32_t kHeldNothing = 0;
    Ref<Screen> screen = makeScreen();
    screen->keyDown(2);
    screen->keyDown(5);
    EXPECT_TRUE(screen->isKeyDown(5));
    EXPECT_EQ(screen->nextKey(), 2);
    EXPECT_EQ(screen->nextKey(), 0);
    screen->keyUp(2);
    EXPECT_FALSE(screen->isKeyDown(2));
    EXPECT_EQ(screen->nextKey(), 0);  // releasing queues nothing

    screen->keyDown(kHeldNothing);
    screen->keyDown(5);  // code 0 held blocks it too
    screen->keyUp(kHeldNothing);
    screen->keyDown(5);
    EXPECT_EQ(screen->nextKey(), kHeldNothing);
    EXPECT_EQ(screen->nextKey(), 5);
    EXPECT_EQ(screen->nextKey(), 0);
}

TEST_F(ScreenTest, QueueHoldsNinePressesOldestFirstAndWrapsAround) {
    Ref<Screen> screen = makeScreen();
    for (int32_t round = 0; round < 2; ++round) {
        for (int32_t code = 10; code < 20; ++code) {
            screen->keyDown(code);
        }
        for (int32_t code = 10; code < 19; ++code) {
            EXPECT_EQ(screen->nextKey(), code);
        }
        EXPECT_EQ(screen->nextKey(), 0);
    }
}

TEST_F(ScreenTest, CodesOutsideTheHeldRangeQueueWithoutTouchingBits) {
    Ref<Screen> screen = makeScreen();
    for (int32_t code : {-3, 58, 63, 100}) {
        screen->keyDown(code);
        EXPECT_FALSE(screen->isKeyDown(code));
        screen->keyUp(code);
    }
    for (int32_t code = 0; code <= InputQueue::kHighestHeldKey; ++code) {
        EXPECT_FALSE(screen->isKeyDown(code)) << code;
    }
    EXPECT_EQ(screen->nextKey(), -3);
    EXPECT_EQ(screen->nextKey(), 58);
    EXPECT_EQ(screen->nextKey(), 63);
    EXPECT_EQ(screen->nextKey(), 100);
}

TEST_F(ScreenTest, KeyMatchesThePressOrAHeldKey) {
    Ref<Screen> screen = makeScreen();
    EXPECT_TRUE(screen->keyMatches(3, 3));
    EXPECT_FALSE(screen->keyMatches(0, 2));
    screen->keyDown(2);
    EXPECT_TRUE(screen->keyMatches(0, 2));
    EXPECT_FALSE(screen->keyMatches(7, 57));
}

TEST_F(ScreenTest, PaceSleepsOnlyWhatIsLeftOfTheFrame) {
    Ref<Screen> screen = hostedScreen(4, 4);  // frame mark at 1000
    screen->pace(32);
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{32}));
    EXPECT_EQ(screen->m_frameTime, 32);

    clock.now += 50;  // a slow frame: nothing left to sleep
    screen->pace(32);
    EXPECT_EQ(clock.sleeps.size(), 1u);
    EXPECT_EQ(screen->m_frameTime, 50);
    EXPECT_EQ(screen->m_lastTick, 1082u);
}

TEST_F(ScreenTest, PaceSkipsAWaitOfMoreThanFiveSeconds) {
    Ref<Screen> screen = hostedScreen(4, 4);
    screen->m_lastTick = 1000 + 4969;  // due at 6001: 5001 ms ahead
    screen->pace(32);
    EXPECT_TRUE(clock.sleeps.empty());
    screen->m_lastTick = 1000 + 4968;  // exactly 5000 ms ahead still sleeps
    screen->pace(32);
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{5000}));
}

TEST_F(ScreenTest, PausedPaceWaitsInStepsOf100MsUntilCleared) {
    Ref<Screen> screen = hostedScreen(4, 4);
    screen->input().setPaused(true);
    clock.onSleep = [&] {
        if (clock.sleeps.size() == 3) {
            screen->input().setPaused(false);
        }
    };
    screen->pace(32);
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{100, 100, 100}));
    EXPECT_EQ(screen->m_frameTime, 300);
}

TEST_F(ScreenTest, WipesPresentEveryStripeAndPaceBetween) {
    host = new RecordingHost([this] { clock.now += 3; });  // showing a stripe takes 3 ms
    Ref<Screen> screen = makeScreen();
    screen->setHost(host);
    screen->setSize(20, 12);
    screen->add(new Psprite(0, 0, 20, 12, 0xFF445566));

    screen->wipeColumns();
    EXPECT_EQ(host->presented, (std::vector<Rect>{{0, 0, 8, 12}, {8, 0, 16, 12}, {16, 0, 20, 12}}));
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{7, 7, 7}));
    EXPECT_EQ(screen->m_buffer[12 * 20 - 1], 0xFF445566u);
    EXPECT_EQ(screen->m_dirtyCount, 0);

    screen->wipeRows();  // nothing changed: no wipe
    EXPECT_EQ(host->presented.size(), 3u);
    screen->invalidate(1, 1, 2, 2);
    screen->wipeRows();
    EXPECT_EQ(host->presented.back(), (Rect{0, 8, 20, 12}));
    EXPECT_EQ(host->presented.size(), 5u);
}

TEST_F(ScreenTest, SetSizeMakesANewBufferAndTheWholeScreenDirty) {
    Ref<Screen> screen = hostedScreen(4, 4);
    screen->invalidate(1, 1, 2, 2);
    screen->setSize(6, 3);
    EXPECT_EQ(screen->m_buffer.length(), 18);
    EXPECT_EQ((Rect{screen->m_left, screen->m_top, screen->m_right, screen->m_bottom}), (Rect{0, 0, 6, 3}));
    EXPECT_EQ(dirtyList(*screen), (std::vector<Rect>{{0, 0, 6, 3}}));
}

TEST_F(ScreenTest, SizesWithoutABufferDrawAndPresentNothing) {
    Ref<Screen> screen = hostedScreen(4, 4);
    screen->add(new Psprite(0, 0, 4, 4, 0xFF000001));
    for (const auto& [width, height] : {std::pair{0, 5}, std::pair{-3, 5}, std::pair{70000, 70000}}) {
        screen->setSize(width, height);
        EXPECT_TRUE(screen->m_buffer.isEmpty());
        screen->invalidate(0, 0, 2, 2);
        screen->wipeColumns();
        screen->invalidate(0, 0, 2, 2);
        screen->render();
        EXPECT_TRUE(host->presented.empty());
        Array<uint32_t> surface = allocInt<uint32_t>(4);
        screen->draw(surface, 2, 2, 0, 0, 2, 2, kFixedOne);
        EXPECT_EQ(surface[0], 0u);
    }
}

TEST_F(ScreenTest, PlaySoundGoesThroughTheHostUnlessMuted) {
    Ref<Screen> screen = hostedScreen(4, 4);
    screen->playSound(String::fromLiteral("hit"));
    screen->playSoundLoop(String::fromLiteral("music5"));
    screen->m_mute = true;
    screen->playSound(String::fromLiteral("gong"));
    EXPECT_EQ(host->sounds, (std::vector<std::pair<std::string, int32_t>>{{"hit", 0}, {"music5", 1}}));
}

TEST_F(ScreenTest, IsOnScreenNeedsANonEmptyRectangleOverlappingTheScreen) {
    Ref<Screen> screen = hostedScreen(10, 10);
    Ref<Psprite> sprite = new Psprite();
    auto onScreenAt = [&](int32_t l, int32_t t, int32_t r, int32_t b) {
        sprite->setRect(l, t, r, b);
        return screen->isOnScreen(sprite);
    };
    EXPECT_TRUE(onScreenAt(8, 8, 12, 12));
    EXPECT_TRUE(onScreenAt(-4, 2, 1, 5));
    EXPECT_FALSE(onScreenAt(10, 0, 12, 5));
    EXPECT_FALSE(onScreenAt(-4, 2, 0, 5));
    EXPECT_FALSE(onScreenAt(3, 3, 3, 5));
}

// The window thread presses and releases while the game thread reads; with the writer held
// back whenever the queue could be full, every press must arrive, in order. Run under
// ThreadSanitizer this also checks the hand-over itself.
TEST_F(ScreenTest, PressesFromTheWindowThreadArriveInOrder) {
    Ref<Screen> screen = makeScreen();
    constexpr int32_t kPresses = 3000;
    auto codeOf = [](int32_t i) { return i % 7 == 0 ? -(i % 100) - 1 : 6 + i % 50; };
    std::atomic<int32_t> consumed{0};

    std::thread window([&] {
        for (int32_t i = 0; i < kPresses; ++i) {
            while (i - consumed.load() >= 9) {
                std::this_thread::yield();
            }
            screen->keyDown(codeOf(i));
            screen->keyUp(codeOf(i));
        }
    });
    int32_t received = 0;
    while (received < kPresses) {
        static_cast<void>(screen->isKeyDown(6 + received % 50));  // a read racing the writer
        const int32_t code = screen->nextKey();
        if (code == 0) {
            std::this_thread::yield();
            continue;
        }
        if (code != codeOf(received)) {
            ADD_FAILURE() << "press " << received << " arrived as " << code;
            consumed.store(kPresses);  // lets the window thread finish
            break;
        }
        consumed.store(++received);
    }
    window.join();
    EXPECT_EQ(screen->nextKey(), 0);
    for (int32_t code = 0; code <= InputQueue::kHighestHeldKey; ++code) {
        EXPECT_FALSE(screen->isKeyDown(code));
    }
}

}  // namespace
}  // namespace vornel
