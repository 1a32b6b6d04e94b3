// Assembles a bitmap font file: the header values, each glyph's data length and width, then
// all the glyphs' run bytes, every number a variable-length integer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornel {

class FontFileWriter {
public:
    // The game keeps glyph widths in 16 signed bits.
    static constexpr int32_t kMaxWidth = 32767;

    // A font for the character codes first..last (0 <= first <= last <= 255), none of them
    // with a glyph yet. baseline (rows from the top of the line) is stored as the header's
    // third value, which the game reads and passes over. The caller keeps the numbers in
    // those ranges.
    FontFileWriter(int32_t spaceWidth, int32_t lineHeight, int32_t baseline, int32_t firstChar, int32_t lastChar);

    // Gives the code its run bytes and width; answers false, and changes nothing, for a code
    // outside first..last or a width outside 1..kMaxWidth when there are runs. A code without
    // runs has no glyph, and the game gives it no width.
    bool setGlyph(int32_t code, std::vector<uint8_t> runs, int32_t width);

    // The whole file.
    std::vector<uint8_t> bytes() const;
    // Writes bytes() to path; answers false with a one-line reason on failure.
    bool writeFile(const std::string& path, std::string& error) const;

    int32_t glyphCount() const { return static_cast<int32_t>(m_runs.size()); }

private:
    int32_t m_spaceWidth;
    int32_t m_lineHeight;
    int32_t m_baseline;
    int32_t m_firstChar;
    std::vector<std::vector<uint8_t>> m_runs;  // per code from m_firstChar
    std::vector<int32_t> m_widths;             // pixels, per code from m_firstChar
};

}  // namespace vornel
