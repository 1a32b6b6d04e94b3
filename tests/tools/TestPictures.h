// Tiny pictures, expected pixel words and scratch folders shared by the bank writer's tests.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>
#include <unistd.h>

#include "bank/ColourLevels.h"
#include "bank/RgbaImage.h"
#include "core/Ref.h"
#include "media/Picture.h"
#include "media/PictureDecoder.h"

namespace vornel::test {

using Bytes = std::vector<uint8_t>;
using Words = std::vector<uint32_t>;

// Colours on the game's 5-bit levels, so that they survive quantisation unchanged.
inline constexpr uint32_t kRed = 0xFFF80000;
inline constexpr uint32_t kGreen = 0xFF00F800;
inline constexpr uint32_t kWhite = 0xFFF8F8F8;
inline constexpr uint32_t kClear = 0x00000000;

inline uint32_t withCode(uint32_t argb, int32_t code) {
    return (ColourLevels::alphaOfCode(code) << 24) | (argb & 0xFFFFFF);
}

inline RgbaImage row(std::initializer_list<uint32_t> pixels) {
    RgbaImage image(static_cast<int32_t>(pixels.size()), 1);
    image.pixels().assign(pixels);
    return image;
}

inline RgbaImage repeated(int32_t count, uint32_t argb) {
    return RgbaImage(count, 1, argb);
}

inline RgbaImage joined(std::initializer_list<RgbaImage> parts) {
    std::vector<uint32_t> pixels;
    for (const RgbaImage& part : parts) {
        pixels.insert(pixels.end(), part.pixels().begin(), part.pixels().end());
    }
    RgbaImage image(static_cast<int32_t>(pixels.size()), 1);
    image.pixels() = pixels;
    return image;
}

// Opaque colours from a fixed pseudo-random sequence: nearly every pixel a new colour.
inline RgbaImage noise(int32_t width, int32_t height, uint32_t seed = 7) {
    RgbaImage image(width, height);
    for (uint32_t& pixel : image.pixels()) {
        seed = seed * 1103515245 + 12345;
        pixel = 0xFF000000 | (seed >> 8 & 0xFFFFFF);
    }
    return image;
}

// Picture words: alpha code in bits 29-31, run count in bits 24-28, colour below.
inline uint32_t opaqueWord(uint32_t argb, uint32_t run) {
    return 0xE0000000 | (run << 24) | (argb & 0xFFFFFF);
}
inline uint32_t clearWord(uint32_t run) {
    return run << 24;
}

// The words of a run of count pixels: run counts count down to 0 and stop at 31.
template <typename MakeWord>
void appendRun(Words& words, int32_t count, MakeWord makeWord) {
    for (int32_t left = count - 1; left >= 0; --left) {
        words.push_back(makeWord(static_cast<uint32_t>(left < 31 ? left : 31)));
    }
}

// The game's run-length decoder over data, for a picture of the image's size.
inline Words decodeRunLength(const RgbaImage& image, const Bytes& data) {
    Ref<Picture> picture = new Picture();
    picture->m_width = static_cast<int16_t>(image.width());
    picture->m_height = static_cast<int16_t>(image.height());
    Array<uint32_t> pixels = allocInt<uint32_t>(image.pixelCount());
    Array<uint8_t> bytes = allocByte(static_cast<int32_t>(data.size()));
    std::copy(data.begin(), data.end(), bytes.data());
    if (!PictureDecoder::decodeRunLength(*picture, pixels, bytes, 0, bytes.length())) {
        return {};
    }
    return Words(pixels.data(), pixels.data() + pixels.length());
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag)
        : m_path(std::filesystem::temp_directory_path() / ("vornel-" + tag + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    std::string path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace vornel::test
