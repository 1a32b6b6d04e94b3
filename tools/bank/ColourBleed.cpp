// Colour bleeding under the transparent pixels of a picture.
#include "bank/ColourBleed.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bank/ColourLevels.h"

namespace vornel {

namespace {

constexpr int32_t kNeighbourOffsets[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

class Bleeder {
public:
    explicit Bleeder(RgbaImage& image) : m_image(image), m_state(static_cast<std::size_t>(image.pixelCount()), kHidden) {}

    void run() {
        std::vector<int32_t> ring = firstRing();
        while (!ring.empty()) {
            colourRing(ring);
            ring = nextRing(ring);
        }
    }

private:
    enum State : uint8_t { kHidden, kQueued, kColoured };

    std::vector<int32_t> firstRing() {
        const std::vector<uint32_t>& pixels = m_image.pixels();
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (ColourLevels::alphaCode(RgbaImage::alpha(pixels[i])) != ColourLevels::kTransparentCode) {
                m_state[i] = kColoured;
            }
        }
        std::vector<int32_t> ring;
        for (int32_t i = 0; i < m_image.pixelCount(); ++i) {
            if (m_state[static_cast<std::size_t>(i)] == kColoured) {
                queueHiddenNeighbours(i, ring);
            }
        }
        return ring;
    }

    std::vector<int32_t> nextRing(const std::vector<int32_t>& ring) {
        std::vector<int32_t> next;
        for (int32_t i : ring) {
            queueHiddenNeighbours(i, next);
        }
        return next;
    }

    // The colours of one ring are worked out before any of them is stored, so that the
    // result does not depend on the order in which the ring was found.
    void colourRing(const std::vector<int32_t>& ring) {
        std::vector<uint32_t> colours;
        colours.reserve(ring.size());
        for (int32_t i : ring) {
            colours.push_back(meanOfColouredNeighbours(i));
        }
        std::vector<uint32_t>& pixels = m_image.pixels();
        for (std::size_t n = 0; n < ring.size(); ++n) {
            const auto i = static_cast<std::size_t>(ring[n]);
            pixels[i] = (pixels[i] & 0xFF000000) | colours[n];
            m_state[i] = kColoured;
        }
    }

    uint32_t meanOfColouredNeighbours(int32_t i) const {
        uint32_t sums[3] = {0, 0, 0};
        uint32_t count = 0;
        forEachNeighbour(i, [&](int32_t n) {
            if (m_state[static_cast<std::size_t>(n)] != kColoured) {
                return;
            }
            const uint32_t rgb = m_image.pixels()[static_cast<std::size_t>(n)];
            sums[0] += (rgb >> 16) & 0xFF;
            sums[1] += (rgb >> 8) & 0xFF;
            sums[2] += rgb & 0xFF;
            ++count;
        });
        if (count == 0) {
            return 0;
        }
        const auto mean = [count](uint32_t sum) { return (sum + count / 2) / count; };
        return (mean(sums[0]) << 16) | (mean(sums[1]) << 8) | mean(sums[2]);
    }

    void queueHiddenNeighbours(int32_t i, std::vector<int32_t>& ring) {
        forEachNeighbour(i, [&](int32_t n) {
            if (m_state[static_cast<std::size_t>(n)] == kHidden) {
                m_state[static_cast<std::size_t>(n)] = kQueued;
                ring.push_back(n);
            }
        });
    }

    template <typename Visit>
    void forEachNeighbour(int32_t i, Visit visit) const {
        const int32_t width = m_image.width();
        const int32_t x = i % width;
        const int32_t y = i / width;
        for (const auto& offset : kNeighbourOffsets) {
            const int32_t nx = x + offset[0];
            const int32_t ny = y + offset[1];
            if (nx >= 0 && nx < width && ny >= 0 && ny < m_image.height()) {
                visit(ny * width + nx);
            }
        }
    }

    RgbaImage& m_image;
    std::vector<uint8_t> m_state;
};

}  // namespace

void ColourBleed::bleedUnderTransparency(RgbaImage& image) {
    if (image.isEmpty()) {
        return;
    }
    Bleeder(image).run();
}

}  // namespace vornel
