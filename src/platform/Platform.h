// The stand-in for the handheld's platform: the few services the application shell and the
// sound player call (system queries, display memory, the window and its messages, painting,
// time, wave output), with the values and orders the handheld had. A backend implements it:
// SDL2 for a real window, headless for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Clock.h"
#include "core/Rect.h"
#include "platform/WaveOutput.h"
#include "platform/WindowClient.h"
#include "platform/WindowMessage.h"

namespace vornel {

// The display driver's description of its memory, as the raw-frame-buffer query answers it.
struct RawFrameBuffer {
    static constexpr uint16_t kFormat565 = 1;
    static constexpr uint16_t kFormat565Alternate = 33;  // also 5-6-5 when bitsPerPixel is 16

    uint16_t format = 0;
    uint16_t bitsPerPixel = 0;
    uint16_t* address = nullptr;  // the first pixel
    int32_t xStride = 0;          // bytes from one pixel to the next on a row (signed)
    int32_t yStride = 0;          // bytes from one row to the next (signed)
    int32_t width = 0;            // pixels
    int32_t height = 0;
};

class Platform {
public:
    // System parameters the start-up asks for.
    static constexpr int32_t kPlatformType = 257;
    static constexpr int32_t kOemInfo = 258;
    // Display orientations the display-settings query answers.
    static constexpr int32_t kOrientation0 = 0;
    static constexpr int32_t kOrientation90 = 1;
    static constexpr int32_t kOrientation180 = 2;
    static constexpr int32_t kOrientation270 = 4;

    virtual ~Platform() = default;

    // ---- Start-up queries ----
    // The full path of the executable: the program folder (where the data files are) plus
    // the executable's name.
    virtual std::string modulePath() = 0;
    // kPlatformType ("PocketPC", "Smartphone") or kOemInfo; false when the query fails.
    virtual bool systemParameter(int32_t which, std::string& value) = 0;
    // The raw-frame-buffer query; false when the display cannot be reached this way.
    virtual bool queryRawFrameBuffer(RawFrameBuffer& record) = 0;
    // The display's current orientation, asked on every paint into display memory.
    virtual int32_t displayOrientation() = 0;

    // ---- The window ----
    // Whether a copy of the game already runs for this player; if so it has been asked to
    // bring its window to the front.
    virtual bool findRunningCopy() = 0;
    // Makes the one window, whose messages go to the client from then on (it must outlive the
    // window); the client receives Create before this returns. False when the window cannot
    // be made.
    virtual bool createWindow(const std::string& title, WindowClient& client) = 0;
    // The window's rectangle on the screen.
    virtual Rect windowRect() = 0;
    virtual void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
    // Shows the window: the client then receives Size, Activate and Paint.
    virtual void showWindow() = 0;

    // ---- Messages (first thread) ----
    // Waits for the next message; false once the quit message arrives.
    virtual bool getMessage(WindowMessage& message) = 0;
    // Sends the message to the window's client.
    virtual int32_t dispatchMessage(const WindowMessage& message) = 0;
    // What the system does with a message the client leaves alone.
    virtual int32_t defaultProcedure(const WindowMessage& message) = 0;
    virtual void postQuitMessage(int32_t exitCode) = 0;
    virtual int32_t quitCode() = 0;
    // Queues a message for the window, as input arriving from the device would; any thread.
    // Input scripts and the built-in player steer the game through it.
    virtual void postMessage(const WindowMessage& message) = 0;

    // ---- Painting ----
    // Marks a rectangle of the window for painting; any thread. The first thread then
    // receives a Paint message.
    virtual void invalidateRect(const Rect& rect) = 0;
    // A run that no one watches the pace of may have the calling thread paint the rectangle
    // itself, in the window's turn, instead of handing the paint over to the first thread:
    // only while that thread waits for messages and nothing but a paint is queued ahead, so
    // that the messages keep their order. Answers whether it painted; if not, the caller
    // invalidates the rectangle and waits for the paint as usual.
    virtual bool paintInTurn(const Rect& rect) {
        (void)rect;
        return false;
    }
    // Starts painting: the rectangle to paint; validates it.
    virtual Rect beginPaint() = 0;
    // Ends painting: what was written to the display is shown.
    virtual void endPaint() = 0;
    // Device-context copies of a 32-bit surface (0x..RRGGBB, rows top to bottom) into the
    // display: unscaled at (0, 0), or stretched onto (0, 0, width, height) of the window.
    virtual void setBitsToDevice(const uint32_t* surface, int32_t width, int32_t height) = 0;
    virtual void stretchBits(const uint32_t* surface, int32_t width, int32_t height, int32_t targetWidth,
                             int32_t targetHeight) = 0;

    // ---- The game's thread ----
    // A platform without threads (the browser) keeps the game thread's body and runs it from
    // its message loop, where the body's waits let the window's messages through; it answers
    // true. Every other platform answers false, and the body runs on a thread of its own.
    virtual bool adoptGameBody(std::function<void()>& body) {
        (void)body;
        return false;
    }

    // ---- Time and sound ----
    // Device time: milliseconds since start, and sleeping (a headless run may speed it up).
    virtual Clock& clock() = 0;
    virtual WaveOutput& waveOutput() = 0;
};

}  // namespace vornel
