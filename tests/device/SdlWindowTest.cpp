// The SDL window on SDL's windowless video driver: a window resized by hand shows the largest
// whole factor centred on black with the pen mapped through it, the zoom keys give exact
// multiples again, the icon is read, and a driver that refuses textures neither stops the
// picture nor keeps the event loop from sleeping.
#include "backends/sdl/SdlDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "SdlTestWindow.h"
#include "backends/sdl/WindowIcon.h"

namespace vornel {
namespace {

using testing_support::kTinyProfile;
using testing_support::SdlTestWindow;
using testing_support::TemporaryFolder;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;

class SdlWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(m_window.create(kTinyProfile, 1));
        m_device = &m_window.device();
    }

    // The tiny handheld's 3 x 2 screen white, but for a red pixel at (2, 1), then shown.
    void showPainted() {
        std::vector<uint32_t> surface(6, kWhite);
        surface[5] = kRed;
        m_device->setBitsToDevice(surface.data(), 3, 2);
        m_window.show();
    }

    // Handles what SDL has queued so far and returns where the pen went down.
    std::vector<uint32_t> settle() {
        std::vector<uint32_t> penDowns;
        for (const testing_support::Seen& seen : m_window.settle()) {
            if (seen.type == MessageType::PenDown) {
                penDowns.push_back(seen.lParam);
            }
        }
        return penDowns;
    }

    static void push(uint32_t type, void (*fill)(SDL_Event&)) { SdlTestWindow::push(type, fill); }

    static void pushClick(int32_t x, int32_t y) {
        SDL_Event event;
        SDL_zero(event);
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
        for (const uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            event.type = type;
            SDL_PushEvent(&event);
        }
    }

    // The colour the window shows at a device pixel, as 0xRRGGBB.
    uint32_t shownAt(int32_t x, int32_t y) const {
        SDL_Surface* surface = SDL_GetWindowSurface(m_device->window());
        if (surface == nullptr || surface->format->BytesPerPixel != 4) {
            ADD_FAILURE() << "no 32-bit window surface to read";
            return 0xDEAD;
        }
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        uint8_t r = 0, g = 0, b = 0;
        SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[x], surface->format, &r, &g, &b);
        return uint32_t{r} << 16 | uint32_t{g} << 8 | b;
    }

    std::pair<int, int> windowSize() const {
        std::pair<int, int> size{0, 0};
        SDL_GetWindowSize(m_device->window(), &size.first, &size.second);
        return size;
    }

    SdlTestWindow m_window;
    SdlDevice* m_device = nullptr;
};

// 11 x 7 points is about 3.5 times the 3 x 2 screen: scale 3, one column of black left.
TEST_F(SdlWindowTest, AResizedWindowShowsTheLargestWholeFactorCentredAndThePenFollowsIt) {
    showPainted();
    SDL_SetWindowSize(m_device->window(), 11, 7);  // as a window manager's resize arrives
    settle();
    const ScreenPlacement where = m_device->placement();
    EXPECT_EQ(where.scale, 3);
    EXPECT_EQ(where.left, 1);
    EXPECT_EQ(where.top, 0);
    EXPECT_EQ(shownAt(0, 3), kBlack);
    EXPECT_EQ(shownAt(1, 0), kWhite);
    EXPECT_EQ(shownAt(7, 3), kRed);  // screen pixel (2, 1) covers x 7-9, y 3-5
    EXPECT_EQ(shownAt(9, 5), kRed);
    EXPECT_EQ(shownAt(10, 5), kBlack);

    pushClick(8, 5);
    pushClick(0, 0);  // on the black left of the screen: its first pixel
    EXPECT_EQ(settle(), (std::vector<uint32_t>{packPoint(2, 1), packPoint(0, 0)}));
}

TEST_F(SdlWindowTest, ZoomKeysTakeAResizedWindowToExactMultiplesNeverBelowTheScreen) {
    showPainted();
    SDL_SetWindowSize(m_device->window(), 11, 7);
    settle();
    push(SDL_KEYDOWN, [](SDL_Event& e) { e.key.keysym = {SDL_SCANCODE_MINUS, SDLK_MINUS, KMOD_LCTRL, 0}; });
    settle();
    EXPECT_EQ(windowSize(), std::make_pair(9, 6));  // first to the factor shown
    push(SDL_KEYDOWN, [](SDL_Event& e) { e.key.keysym = {SDL_SCANCODE_EQUALS, SDLK_EQUALS, KMOD_LCTRL, 0}; });
    settle();
    EXPECT_EQ(windowSize(), std::make_pair(12, 8));
    m_device->rotate();
    settle();
    std::pair<int, int> smallest{0, 0};
    SDL_GetWindowMinimumSize(m_device->window(), &smallest.first, &smallest.second);
    EXPECT_EQ(smallest, std::make_pair(2, 3));
}

TEST_F(SdlWindowTest, ARefusedTextureIsMadeAgainWithAFreshRenderer) {
    m_device->presenter()->injectFaults({1, false});
    showPainted();
    EXPECT_EQ(m_device->presenter()->route(), WindowPresenter::Route::Renderer);
    EXPECT_EQ(m_device->presenter()->textureCreations(), 2);
    EXPECT_EQ(shownAt(2, 1), kRed);
}

TEST_F(SdlWindowTest, TexturesRefusedTwiceLeaveThePictureToTheWindowsSurface) {
    m_device->presenter()->injectFaults({2, false});
    showPainted();
    EXPECT_EQ(m_device->presenter()->route(), WindowPresenter::Route::WindowSurface);
    SDL_SetWindowSize(m_device->window(), 11, 7);
    settle();
    EXPECT_EQ(shownAt(0, 3), kBlack);
    EXPECT_EQ(shownAt(8, 4), kRed);
    EXPECT_EQ(m_device->presenter()->textureCreations(), 2);
}

// Before, a frame that could not be shown stayed due, and the loop woke at once forever.
TEST_F(SdlWindowTest, AWindowThatCannotShowAnythingLetsTheLoopSleep) {
    m_device->presenter()->injectFaults({1000, true});
    showPainted();
    EXPECT_EQ(m_device->presenter()->route(), WindowPresenter::Route::Nothing);
    for (int turn = 0; turn < 3; ++turn) {
        m_device->endPaint();  // a frame to show
        push(SDL_WINDOWEVENT, [](SDL_Event& e) { e.window.event = SDL_WINDOWEVENT_EXPOSED; });
        settle();
        EXPECT_EQ(m_device->nextWaitMs(), 100) << "turn " << turn;
    }
    EXPECT_EQ(m_device->presenter()->textureCreations(), 2);  // tried once and once afresh, never again
}

TEST(SdlWindowIconTest, TheBuiltIconIsReadAtItsSize) {
    const WindowIcon::Surface icon = WindowIcon::load(VORNEL_BUILT_PROGRAM_FOLDER);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, WindowIcon::kSize);
    EXPECT_EQ(icon->h, WindowIcon::kSize);
    EXPECT_EQ(SDL_ALPHA_TRANSPARENT, static_cast<const uint8_t*>(icon->pixels)[3]) << "the corner is see-through";
}

TEST(SdlWindowIconTest, TheInstalledGameFindsTheIconInTheIconTheme) {
    const TemporaryFolder prefix("icon-prefix");
    const std::filesystem::path theme = std::filesystem::path(prefix.path()) / "share/icons/hicolor/64x64/apps";
    std::filesystem::create_directories(theme);
    std::filesystem::create_directories(prefix.file("lib/vornel"));
    EXPECT_EQ(WindowIcon::load(prefix.file("lib/vornel")), nullptr) << "no icon yet";
    std::filesystem::copy_file(std::string(VORNEL_BUILT_PROGRAM_FOLDER) + "/icons/vornel-64.png", theme / "vornel.png");
    const WindowIcon::Surface icon = WindowIcon::load(prefix.file("lib/vornel"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, WindowIcon::kSize);
}

}  // namespace
}  // namespace vornel
