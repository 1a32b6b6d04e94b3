// A folder of its own for each fuzz target in each process, where the target writes its input
// as the file a loader reads. It is emptied when made and removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vornel::fuzz {

class FuzzFolder {
public:
    explicit FuzzFolder(const std::string& tag);
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Replaces the named file by size bytes of data.
    void write(const std::string& name, const uint8_t* data, std::size_t size) const;
    // Writes data as name0.bin, name1.bin, ... of at most pieceSize bytes each (one empty
    // name0.bin for empty data) and removes the later pieces a longer input left behind.
    void writePieces(const std::string& name, const uint8_t* data, std::size_t size, std::size_t pieceSize);

private:
    std::filesystem::path m_path;
    std::size_t m_pieces = 0;  // pieces the last writePieces wrote
};

}  // namespace vornel::fuzz
