// The fuzz targets' temporary folders.
#include "FuzzFolder.h"

#include <unistd.h>

#include <fstream>

namespace vornel::fuzz {

FuzzFolder::FuzzFolder(const std::string& tag)
    : m_path(std::filesystem::temp_directory_path() / ("vornel-fuzz-" + tag + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

FuzzFolder::~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void FuzzFolder::write(const std::string& name, const uint8_t* data, std::size_t size) const {
    std::ofstream file(m_path / name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void FuzzFolder::writePieces(const std::string& name, const uint8_t* data, std::size_t size, std::size_t pieceSize) {
    std::size_t pieces = 0;
    do {
        const std::size_t at = pieces * pieceSize;
        const std::size_t length = size - at < pieceSize ? size - at : pieceSize;
        write(name + std::to_string(pieces) + ".bin", data + at, length);
        ++pieces;
    } while (pieces * pieceSize < size);
    for (std::size_t stale = pieces; stale < m_pieces; ++stale) {
        std::filesystem::remove(m_path / (name + std::to_string(stale) + ".bin"));
    }
    m_pieces = pieces;
}

}  // namespace vornel::fuzz
