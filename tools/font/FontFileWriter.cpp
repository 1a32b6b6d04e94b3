// The font file's layout: header, glyph table, glyph data.
#include "font/FontFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "font/VarIntWriter.h"

namespace vornel {

FontFileWriter::FontFileWriter(int32_t spaceWidth, int32_t lineHeight, int32_t baseline, int32_t firstChar,
                               int32_t lastChar)
    : m_spaceWidth(spaceWidth), m_lineHeight(lineHeight), m_baseline(baseline), m_firstChar(firstChar) {
    const std::size_t count = lastChar >= firstChar ? static_cast<std::size_t>(lastChar - firstChar + 1) : 0;
    m_runs.resize(count);
    m_widths.resize(count, 0);
}

bool FontFileWriter::setGlyph(int32_t code, std::vector<uint8_t> runs, int32_t width) {
    const int32_t index = code - m_firstChar;
    if (index < 0 || index >= glyphCount() || (!runs.empty() && (width < 1 || width > kMaxWidth))) {
        return false;
    }
    m_widths[static_cast<std::size_t>(index)] = runs.empty() ? 0 : width;
    m_runs[static_cast<std::size_t>(index)] = std::move(runs);
    return true;
}

std::vector<uint8_t> FontFileWriter::bytes() const {
    std::vector<uint8_t> file;
    VarIntWriter::append(file, static_cast<uint32_t>(m_spaceWidth));
    VarIntWriter::append(file, static_cast<uint32_t>(m_lineHeight));
    VarIntWriter::append(file, static_cast<uint32_t>(m_baseline));
    VarIntWriter::append(file, static_cast<uint32_t>(m_firstChar));
    VarIntWriter::append(file, static_cast<uint32_t>(m_firstChar + glyphCount() - 1));
    std::size_t total = 0;
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        VarIntWriter::append(file, static_cast<uint32_t>(m_runs[i].size()));
        if (!m_runs[i].empty()) {
            VarIntWriter::append(file, static_cast<uint32_t>(m_widths[i]));
        }
        total += m_runs[i].size();
    }
    VarIntWriter::append(file, static_cast<uint32_t>(total));
    for (const std::vector<uint8_t>& runs : m_runs) {
        file.insert(file.end(), runs.begin(), runs.end());
    }
    return file;
}

bool FontFileWriter::writeFile(const std::string& path, std::string& error) const {
    const std::vector<uint8_t> file = bytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        out.close();
    }
    if (!out) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace vornel
