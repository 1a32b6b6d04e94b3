// What the shell does with a repainted rectangle in double-size mode, done at once on the
// calling thread: the rectangle is doubled and invalidated on a 480 x 640 emulated handheld,
// and its paint stretches the game's 240 x 320 buffer onto the window, as the window
// procedure's paint does when display memory is not used.
#pragma once

#include <memory>

#include "backends/headless/HeadlessDevice.h"
#include "sprites/Screen.h"
#include "sprites/ScreenHost.h"

namespace vornel::bench {

class DoubleSizePresenter : public ScreenHost {
public:
    DoubleSizePresenter();

    // The screen whose buffer is presented; it holds this host, so this keeps no reference.
    void setScreen(Screen* screen) { m_screen = screen; }
    void presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void playSound(const String&, int32_t) override {}

protected:
    ~DoubleSizePresenter() override = default;

private:
    std::unique_ptr<HeadlessDevice> m_device;
    Screen* m_screen = nullptr;
};

}  // namespace vornel::bench
