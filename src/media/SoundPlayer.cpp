// The sound player: clip lookup, the stall check, opening and closing the device, and the
// mixing of playing clips into the device's buffers.
#include "media/SoundPlayer.h"

#include <cstring>

#include "core/Allocator.h"
#include "core/Clock.h"
#include "core/ProgramFolder.h"

namespace vornel {
namespace {

int32_t readSample(const uint8_t* bytes) {
    return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
}

void writeSample(uint8_t* bytes, int32_t sample) {
    bytes[0] = static_cast<uint8_t>(sample);
    bytes[1] = static_cast<uint8_t>(sample >> 8);
}

// Adds clip sample b to buffer sample a with no clipping stage: a sum that does not fit in
// 16 bits is retried with b halved, and when even that leaves 32767 or more (or falls below
// -32768) the buffer keeps a.
int32_t mixSample(int32_t a, int32_t b) {
    const int32_t sum = a + b;
    if (sum >= -32768 && sum <= 32767) {
        return sum;
    }
    const int32_t halved = a + (b >> 1);
    if (halved >= -32768 && halved <= 32766) {
        return halved;
    }
    return a;
}

// The first clip of a buffer: its bytes, then silence to the end of the buffer.
void copyChunk(uint8_t* buffer, const uint8_t* chunk, uint32_t bytes) {
    if (bytes != 0) {
        std::memcpy(buffer, chunk, bytes);
    }
    std::memset(buffer + bytes, 0, SoundPlayer::kBufferBytes - bytes);
}

// Later clips, sample by sample; an odd last byte still counts as a whole sample, whose high
// byte is the clip's padding.
void mixChunk(uint8_t* buffer, const uint8_t* chunk, uint32_t bytes) {
    const uint32_t samples = (bytes + 1) / 2;
    for (uint32_t i = 0; i < samples; ++i) {
        writeSample(buffer + 2 * i, mixSample(readSample(buffer + 2 * i), readSample(chunk + 2 * i)));
    }
}

void clearHeader(WaveHeader& header) {
    header.data = nullptr;
    header.bufferLength = 0;
    header.bytesRecorded = 0;
    header.user = 0;
    header.flags.store(0, std::memory_order_relaxed);
    header.loops = 0;
    header.next = nullptr;
    header.reserved = 0;
}

bool isDone(const WaveHeader& header) {
    return (header.flags.load(std::memory_order_acquire) & WaveHeader::kDone) != 0;
}

}  // namespace

SoundPlayer::~SoundPlayer() {
    stopSound();
}

SoundPlayer& SoundPlayer::instance() {
    static SoundPlayer* const player = new SoundPlayer();
    return *player;
}

void SoundPlayer::setWaveOutput(WaveOutput* output) {
    const std::lock_guard control(m_control);
    m_output = output;
}

// ---- The fill lock ----

// Sequentially consistent, like m_wantedFills: see fillWantedBuffers.
bool SoundPlayer::tryLockFill() {
    return !m_busy.test_and_set();
}

void SoundPlayer::lockFill() {
    while (m_busy.test_and_set()) {
        m_busy.wait(true, std::memory_order_relaxed);
    }
}

void SoundPlayer::unlockFill() {
    m_busy.clear();
    m_busy.notify_all();
}

// ---- Playing ----

int32_t SoundPlayer::playSound(const char* name, int32_t /*loop*/) {
    const std::string fileName = std::string(name) + ".wav";
    char path[ProgramFolder::kPathBufferSize];
    if (ProgramFolder::buildPath(ProgramFolder::path(), fileName.c_str(), path)) {
        play(path);
    }
    return 1;
}

void SoundPlayer::play(const std::string& path) {
    const std::lock_guard control(m_control);
    if (m_output == nullptr) {
        return;
    }
    checkForStall();
    if (m_device == nullptr && enabled()) {
        openDevice();
    }
    if (m_device == nullptr) {
        return;
    }
    SoundClip* clip = findClip(path);
    const bool loaded = clip == nullptr;
    if (loaded) {
        clip = SoundClip::load(path);  // outside the fill lock: file reading takes a while
    }
    lockFill();
    if (loaded) {
        clip->m_next = m_clips;
        m_clips = clip;
    }
    clip->m_playing = 1;
    clip->m_cursor = 0;
    unlockFill();
    // Both buffers, when both are free: the first plays while the second waits its turn.
    fillBuffer();
    fillBuffer();
}

void SoundPlayer::addClip(SoundClip* clip) {
    const std::lock_guard control(m_control);
    lockFill();
    clip->m_next = m_clips;
    m_clips = clip;
    unlockFill();
    fillWantedBuffers();  // a buffer that came back meanwhile
}

// A device whose played position has not moved over kStallLimit requests is restarted.
void SoundPlayer::checkForStall() {
    const uint32_t position = m_device != nullptr ? m_device->position() : 0;
    if (position != m_lastPosition) {
        m_lastPosition = position;
        m_stallCount = 0;
        return;
    }
    if (++m_stallCount >= kStallLimit) {
        stop();
    }
}

SoundClip* SoundPlayer::findClip(const std::string& path) const {
    for (SoundClip* clip = m_clips; clip != nullptr; clip = clip->m_next) {
        if (clip->m_path == path) {
            return clip;
        }
    }
    return nullptr;
}

// ---- The device ----

void SoundPlayer::openDevice() {
    if (!m_output->open(kDeviceFormat, &SoundPlayer::waveDone, this)) {
        m_enabled.store(0, std::memory_order_relaxed);
        return;
    }
    bool allocated = true;
    for (WaveHeader& header : m_headers) {
        clearHeader(header);
        header.data = static_cast<uint8_t*>(Allocator::allocate(kBufferBytes));
        allocated = allocated && header.data != nullptr;
    }
    if (!allocated) {  // the game goes on without sound rather than without memory
        for (WaveHeader& header : m_headers) {
            Allocator::release(header.data);
            header.data = nullptr;
        }
        m_output->close();
        m_enabled.store(0, std::memory_order_relaxed);
        return;
    }
    for (WaveHeader& header : m_headers) {
        header.bufferLength = kBufferBytes;
        m_output->prepareHeader(header);
        header.flags.fetch_or(WaveHeader::kDone, std::memory_order_release);  // free for filling
    }
    lockFill();
    m_device = m_output;
    unlockFill();
}

void SoundPlayer::closeDevice() {
    m_device->reset();
    for (WaveHeader& header : m_headers) {
        for (int32_t poll = 0; poll < kStopPolls && !isDone(header); ++poll) {
            sleepMilliseconds(1);
        }
        m_device->unprepareHeader(header);
        Allocator::release(header.data);
        header.data = nullptr;
        header.bufferLength = 0;
    }
    m_device->close();
    m_device = nullptr;
}

void SoundPlayer::stopSound() {
    const std::lock_guard control(m_control);
    stop();
}

void SoundPlayer::stop() {
    lockFill();
    if (m_device != nullptr) {
        closeDevice();
    }
    freeClips();
    m_stallCount = 0;
    m_wantedFills.store(0);  // the buffers the reset handed back belong to the closed device
    unlockFill();
}

void SoundPlayer::freeClips() {
    while (m_clips != nullptr) {
        SoundClip* next = m_clips->m_next;
        delete m_clips;
        m_clips = next;
    }
}

// ---- Filling ----

void SoundPlayer::waveDone(void* context, uint32_t message, WaveHeader* /*header*/) {
    if (message == WaveOutput::kDoneMessage) {
        static_cast<SoundPlayer*>(context)->fillBuffer();
    }
}

void SoundPlayer::fillBuffer() {
    m_wantedFills.fetch_add(1);
    fillWantedBuffers();
}

// One buffer per wanted fill. A fill asked for while another thread holds the lock is done by
// that thread after it lets go: the count is raised before the lock is tried and read again
// after it is cleared, both in one total order, so one of the two always sees the other.
void SoundPlayer::fillWantedBuffers() {
    while (m_wantedFills.load() > 0 && tryLockFill()) {
        if (m_wantedFills.load() > 0) {  // only the lock's holder lowers it
            m_wantedFills.fetch_sub(1);
            fillOneBuffer();
        }
        unlockFill();
    }
}

void SoundPlayer::fillOneBuffer() {
    if (m_device != nullptr) {
        if (WaveHeader* header = freeHeader()) {
            mixInto(*header);
        }
    }
}

WaveHeader* SoundPlayer::freeHeader() {
    for (WaveHeader& header : m_headers) {
        if (isDone(header)) {
            return &header;
        }
    }
    return nullptr;
}

// Newest clip first: the first playing clip is copied, the others are mixed over it. A clip
// whose rest fits in this buffer stops playing after it.
void SoundPlayer::mixInto(WaveHeader& header) {
    bool first = true;
    for (SoundClip* clip = m_clips; clip != nullptr; clip = clip->m_next) {
        if (clip->m_playing == 0) {
            continue;
        }
        uint32_t chunk = clip->m_length - clip->m_cursor;
        if (chunk > kBufferBytes) {
            chunk = kBufferBytes;
        } else {
            clip->m_playing = 0;
        }
        const uint8_t* from = chunk != 0 ? clip->m_samples + clip->m_cursor : nullptr;
        clip->m_cursor += chunk;
        if (first) {
            copyChunk(header.data, from, chunk);
            first = false;
        } else {
            mixChunk(header.data, from, chunk);
        }
    }
    if (!first) {
        submit(header);
    }
}

void SoundPlayer::submit(WaveHeader& header) {
    header.flags.fetch_and(~WaveHeader::kDone, std::memory_order_acq_rel);
    if (!m_device->write(header)) {
        header.flags.fetch_or(WaveHeader::kDone, std::memory_order_release);  // that chunk is lost
    }
}

}  // namespace vornel
