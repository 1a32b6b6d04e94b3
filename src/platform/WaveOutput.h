// The handheld's wave output as the sound player uses it: open with a completion callback,
// prepare, write, position in samples, reset, unprepare, close. Buffers complete on the
// output's own thread, which calls the callback.
#pragma once

#include <atomic>
#include <cstdint>

namespace vornel {

struct WaveFormat {
    uint16_t formatTag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t samplesPerSecond = 8000;
    uint32_t bytesPerSecond = 16000;
    uint16_t blockAlign = 2;
    uint16_t bitsPerSample = 16;
};

// One buffer handed to the output, in the layout of the handheld's wave header.
struct WaveHeader {
    static constexpr uint32_t kDone = 1;      // played (or never queued): free for filling
    static constexpr uint32_t kPrepared = 2;
    static constexpr uint32_t kInQueue = 16;

    uint8_t* data = nullptr;
    uint32_t bufferLength = 0;   // bytes
    uint32_t bytesRecorded = 0;
    uintptr_t user = 0;
    std::atomic<uint32_t> flags{0};  // set by the output thread, read by the player's threads
    uint32_t loops = 0;
    WaveHeader* next = nullptr;
    uintptr_t reserved = 0;
};

class WaveOutput {
public:
    static constexpr uint32_t kOpenMessage = 955;
    static constexpr uint32_t kCloseMessage = 956;
    static constexpr uint32_t kDoneMessage = 957;  // a buffer finished playing

    // Called on the output's thread; for kDoneMessage, after the header's kDone flag is set.
    using Callback = void (*)(void* context, uint32_t message, WaveHeader* header);

    virtual ~WaveOutput() = default;

    // Opens the device for the format; false when there is no device to play on.
    virtual bool open(const WaveFormat& format, Callback callback, void* context) = 0;
    virtual bool prepareHeader(WaveHeader& header) = 0;
    // Queues the header's bufferLength bytes behind those already queued; false on failure.
    virtual bool write(WaveHeader& header) = 0;
    // Samples played since the device was opened.
    virtual uint32_t position() = 0;
    // Stops playing and hands every queued header back as done.
    virtual void reset() = 0;
    virtual bool unprepareHeader(WaveHeader& header) = 0;
    virtual void close() = 0;
};

}  // namespace vornel
