// The screen sprite: dirty-rectangle bookkeeping, repainting and presenting, frame pacing
// and the stripe wipes.
#include "sprites/Screen.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/Clock.h"
#include "core/FrameHash.h"
#include "core/FrameStats.h"

namespace vornel {
namespace {

// Holds the host's drawing bracket for as long as the buffer is being changed.
class DrawingScope {
public:
    explicit DrawingScope(ScreenHost* host) : m_host(host) {
        if (m_host != nullptr) {
            m_host->beginDrawing();
        }
    }
    ~DrawingScope() {
        if (m_host != nullptr) {
            m_host->endDrawing();
        }
    }
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;

private:
    ScreenHost* m_host;
};

constexpr int32_t kPausePollMs = 100;
constexpr uint32_t kLongestWaitMs = 5000;  // a longer wait means the mark is stale: skip it
constexpr int32_t kWipeStripe = 8;         // pixels
constexpr int32_t kWipeStepMs = 10;

}  // namespace

Screen::~Screen() = default;

// ---- Dirty rectangles ----

void Screen::invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (m_parent) {
        m_parent->invalidate(left, top, right, bottom);
        return;
    }
    recordDirty({left, top, right, bottom});
}

// Overlapping rectangles are merged so that no pixel is painted twice in a frame; a merge
// can reach rectangles already scanned, so the scan starts over after each one.
void Screen::recordDirty(const Rect& rect) {
    Rect added = intersect(rect, {0, 0, m_width, m_height});
    if (added.isEmpty()) {
        return;
    }
    int32_t index = 0;
    while (index < m_dirtyCount) {
        const Rect listed = dirtyAt(index);
        if (!listed.overlaps(added)) {
            index += 4;
            continue;
        }
        if (listed.contains(added)) {
            return;
        }
        added = unite(added, listed);
        removeDirty(index);
        index = 0;
    }
    if (m_dirtyCount >= kMaxDirtyRects * 4) {
        return;  // a full list drops it; the area is repainted when it is reported again
    }
    storeDirty(m_dirtyCount, added);
    m_dirtyCount += 4;
}

Rect Screen::dirtyAt(int32_t index) const {
    return {m_dirty[index], m_dirty[index + 1], m_dirty[index + 2], m_dirty[index + 3]};
}

void Screen::storeDirty(int32_t index, const Rect& rect) {
    m_dirty[index] = rect.left;
    m_dirty[index + 1] = rect.top;
    m_dirty[index + 2] = rect.right;
    m_dirty[index + 3] = rect.bottom;
}

void Screen::removeDirty(int32_t index) {
    std::copy(m_dirty.begin() + index + 4, m_dirty.begin() + m_dirtyCount, m_dirty.begin() + index);
    m_dirtyCount -= 4;
}

// ---- Repainting ----

void Screen::render() {
    layout(0, 0, kFixedOne);
    for (int32_t i = 0; i < m_dirtyCount; i += 4) {
        const Rect dirty = dirtyAt(i);
        if (dirty.isEmpty() || !hasBuffer()) {
            continue;
        }
        paintIntoBuffer(dirty);
        if (m_host) {
            present(dirty);
        } else if (m_parent) {
            const Rect moved = dirty.offset(m_left, m_top);
            m_parent->invalidate(moved.left, moved.top, moved.right, moved.bottom);
        }
    }
    m_dirtyCount = 0;
}

// The plain sprite drawing paints the screen's own fill and its children; the override of
// draw would only copy the buffer onto itself.
void Screen::paintIntoBuffer(const Rect& area) {
    if (hasBuffer()) {
        {
            DrawingScope drawing(m_host.get());
            Psprite::draw(m_buffer, m_width, m_height, area.left, area.top, area.right, area.bottom, kFixedOne);
        }
        if (hashesChanges()) {
            noteChange(area);
        }
    }
}

// Presentation keeps the host's four-value form.
void Screen::present(const Rect& area) {
    m_host->presentRect(area.left, area.top, area.right, area.bottom);
}

bool Screen::hasBuffer() const {
    return !m_buffer.isEmpty() && m_width > 0 && m_height > 0 &&
           static_cast<int64_t>(m_width) * m_height == m_buffer.length();
}

Surface32 Screen::frameBuffer() const {
    return hasBuffer() ? Surface32{m_buffer.data(), m_width, m_height} : Surface32{};
}

void Screen::draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
                  int32_t clipRight, int32_t clipBottom, Fixed /*opacity*/) {
    showBufferIn(surfaceOf(surface, stride, rows), {clipLeft, clipTop, clipRight, clipBottom});
}

void Screen::showBufferIn(const Surface32& surface, const Rect& clip) const {
    if (!hasBuffer() || surface.isEmpty()) {
        return;
    }
    // Cut the clip to the surface and to the part of it the buffer covers (64-bit: a screen
    // placed far out must not wrap back into view).
    const auto left = static_cast<int32_t>(std::max<int64_t>({clip.left, m_left, 0}));
    const auto top = static_cast<int32_t>(std::max<int64_t>({clip.top, m_top, 0}));
    const auto right =
        static_cast<int32_t>(std::min<int64_t>({clip.right, int64_t{m_left} + m_width, surface.stride}));
    const auto bottom = static_cast<int32_t>(std::min<int64_t>({clip.bottom, int64_t{m_top} + m_height, surface.rows}));
    if (left >= right || top >= bottom) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(right - left) * sizeof(uint32_t);
    for (int32_t y = top; y < bottom; ++y) {
        const uint32_t* from = m_buffer.data() + (y - m_top) * m_width + (left - m_left);
        std::memcpy(surface.row(y) + left, from, rowBytes);
    }
}

void Screen::setSize(int32_t width, int32_t height) {
    if (width == m_width && height == m_height) {
        return;
    }
    DrawingScope drawing(m_host.get());
    releaseBuffer();
    const int64_t pixels = static_cast<int64_t>(width) * height;
    if (width > 0 && height > 0 && pixels <= INT32_MAX) {
        m_buffer = allocInt<uint32_t>(static_cast<int32_t>(pixels));  // empty if the heap refuses
    }
    m_width = width;
    m_height = height;
    m_left = 0;
    m_top = 0;
    m_right = width;
    m_bottom = height;
    m_dirtyCount = 0;
    if (hasBuffer() && hashesChanges()) {
        noteChange({0, 0, width, height});  // the new buffer's pixels, before anything is painted
    }
    invalidate(0, 0, width, height);
}

void Screen::releaseBuffer() {
    deleteInt(m_buffer);
}

// ---- Wipes ----

void Screen::wipeColumns() {
    if (!startWipe()) {
        return;
    }
    for (int32_t x = 0; x < m_width; x += kWipeStripe) {
        wipeStripe({x, 0, x + kWipeStripe, m_height});
    }
    m_dirtyCount = 0;
}

void Screen::wipeRows() {
    if (!startWipe()) {
        return;
    }
    for (int32_t y = 0; y < m_height; y += kWipeStripe) {
        wipeStripe({0, y, m_width, y + kWipeStripe});
    }
    m_dirtyCount = 0;
}

// A wipe repaints everything, but only when something changed; without a buffer there is
// nothing to show, and the changes are dropped as render drops them.
bool Screen::startWipe() {
    layout(0, 0, kFixedOne);
    if (m_dirtyCount == 0) {
        return false;
    }
    if (!hasBuffer()) {
        m_dirtyCount = 0;
        return false;
    }
    return true;
}

void Screen::wipeStripe(const Rect& stripe) {
    const Rect cut{stripe.left, stripe.top, std::min(stripe.right, m_width), std::min(stripe.bottom, m_height)};
    paintIntoBuffer(cut);
    if (m_host) {
        present(cut);
    }
    pace(kWipeStepMs);
}

// ---- Host, sounds, frames ----

void Screen::setHost(Ref<ScreenHost> host) {
    m_host = std::move(host);
    m_lastTick = tickCount();
}

bool Screen::isActive() {
    return taped(demo::kOpen, !m_host || m_host->isOpen() ? 1 : 0) != 0;
}

void Screen::setTape(InputTape* tape) {
    m_tape = tape;
    m_input.setTape(tape);
}

bool Screen::hashesChanges() const {
    return m_tape != nullptr ? !m_tape->hashesWholeFrames() : FrameStats::ofThisProcess().keepsChecksum();
}

// Only the game thread paints, so the pixels need no lock to be read.
void Screen::noteChange(const Rect& area) {
    const Rect inside = intersect(area, {0, 0, m_width, m_height});
    if (!inside.isEmpty()) {
        m_changes = frames::withChange(m_changes, m_buffer.data(), m_width, inside.left, inside.top, inside.right,
                                       inside.bottom);
    }
}

uint32_t Screen::takeFrameHash() {
    if (m_tape != nullptr && m_tape->hashesWholeFrames()) {
        return hasBuffer() ? frames::hash(m_buffer.data(), static_cast<std::size_t>(m_buffer.length())) : 0;
    }
    return frames::ofChanges(std::exchange(m_changes, frames::kChangesBasis));
}

void Screen::playSound(Ref<String> name) {
    if (!m_mute && m_host && name) {
        m_host->playSound(*name, 0);
    }
}

void Screen::playSoundLoop(Ref<String> name) {
    if (!m_mute && m_host && name) {
        m_host->playSound(*name, 1);
    }
}

void Screen::frame() {
    render();
    pace(kFramePeriodMs);
}

void Screen::run() {}

// The frame clock neither drops frames nor catches up: a late frame just reports a longer
// m_frameTime, which every time-based rule clamps.
void Screen::pace(int32_t milliseconds) {
    FrameStats::ofThisProcess().frameDrawn();  // the frame that ends here has presented its rectangles
    while (m_input.isPaused()) {
        sleepMilliseconds(kPausePollMs);
    }
    uint32_t now = tickCount();
    const uint32_t due = m_lastTick + static_cast<uint32_t>(milliseconds);
    const uint32_t wait = due - now;  // wraps to a huge value when the frame is already late
    if (wait >= 1 && wait <= kLongestWaitMs) {
        sleepMilliseconds(wait);
        now = tickCount();
    }
    FrameStats::ofThisProcess().frameBegins();  // and the next one reads the input from here on
    m_frameTime = static_cast<int32_t>(now - m_lastTick);
    m_lastTick = now;
    FrameStats& stats = FrameStats::ofThisProcess();
    if (milliseconds > 0) {
        stats.record(m_frameTime);  // a reset of the frame clock (0 ms) ends no frame
    }
    const bool checksummed = stats.keepsChecksum();
    if (m_tape != nullptr || checksummed) {
        const uint32_t hash = takeFrameHash();
        if (m_tape != nullptr) {
            m_tape->endFrame(hash);
        }
        if (checksummed) {
            stats.recordFrameHash(hash);
        }
    }
}

bool Screen::isOnScreen(Ref<Psprite> sprite) {
    if (!sprite) {
        return false;
    }
    return sprite->m_left < sprite->m_right && sprite->m_left < m_right && m_left < sprite->m_right &&
           m_top < sprite->m_bottom && sprite->m_top < m_bottom;
}

// ---- Keys: the input queue's ----

void Screen::keyDown(int32_t code) {
    m_input.keyDown(code);
}

void Screen::keyUp(int32_t code) {
    m_input.keyUp(code);
}

bool Screen::isKeyDown(int32_t code) {
    return m_input.isKeyDown(code);
}

void Screen::queueKey(int32_t code) {
    m_input.queueKey(code);
}

int32_t Screen::nextKey() {
    return m_input.nextKey();
}

bool Screen::keyMatches(int32_t code, int32_t key) {
    return m_input.keyMatches(code, key);
}

}  // namespace vornel
