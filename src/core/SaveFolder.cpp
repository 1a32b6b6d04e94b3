// The save folder and its whole-file reads and atomic replacements.
#include "core/SaveFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/ProgramFolder.h"

namespace vornel {
namespace {

// A replacement is written to "." + name + "-save-XXXXXX.tmp" (six random characters from
// mkstemps) before it is renamed over the file: hidden, and shaped so that no file of the
// player's own is taken for one of ours and swept away.
constexpr std::string_view kTemporaryInfix = "-save-";
constexpr std::string_view kTemporaryRandom = "XXXXXX";
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string temporaryPrefixOf(std::string_view name) {
    return "." + std::string(name) + std::string(kTemporaryInfix);
}

bool isTemporaryOf(const std::string& file, std::string_view name) {
    const std::string prefix = temporaryPrefixOf(name);
    return file.size() == prefix.size() + kTemporaryRandom.size() + kTemporarySuffix.size() &&
           file.compare(0, prefix.size(), prefix) == 0 &&
           file.compare(file.size() - kTemporarySuffix.size(), kTemporarySuffix.size(), kTemporarySuffix) == 0;
}

// Never destroyed: the game thread may still save while the process exits.
std::string& folderStorage() {
    static std::string* const folder = new std::string();
    return *folder;
}

const std::string& folderInUse() {
    const std::string& folder = folderStorage();
    return folder.empty() ? ProgramFolder::path() : folder;
}

bool writeAll(int fd, const uint8_t* data, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, data, count);
        if (written <= 0) {
            return false;
        }
        data += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

// The rename itself is durable only once the folder's entry list reaches the disk.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A replacement cut short (the process killed between writing and renaming) leaves its
// temporary file behind. Only one copy of the game uses a save folder, so any such file found
// before a new save is stale.
void removeStaleTemporaries(const std::string& folder, std::string_view name) {
    std::error_code failure;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, failure);
    if (failure) {
        return;
    }
    for (const std::filesystem::directory_entry& entry : entries) {
        const std::string file = entry.path().filename().string();
        if (isTemporaryOf(file, name) && entry.is_regular_file(failure)) {
            std::filesystem::remove(entry.path(), failure);
        }
    }
}

}  // namespace

void SaveFolder::set(std::string_view folder) {
    std::string& stored = folderStorage();
    stored.assign(folder);
    if (!stored.empty() && stored.back() != '/') {
        stored.push_back('/');
    }
}

const std::string& SaveFolder::path() {
    return folderInUse();
}

bool SaveFolder::readFileInto(const char* name, const Array<uint8_t>& buffer) {
    char path[ProgramFolder::kPathBufferSize];
    if (!ProgramFolder::buildPath(folderInUse(), name, path)) {
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    const std::size_t wanted = static_cast<std::size_t>(buffer.length());
    const std::size_t got = wanted == 0 ? 0 : std::fread(buffer.data(), 1, wanted, file);
    std::fclose(file);
    return got == wanted;
}

bool SaveFolder::writeFileFrom(const char* name, const Array<uint8_t>& buffer) {
    const std::string& folder = folderInUse();
    char path[ProgramFolder::kPathBufferSize];
    if (!ProgramFolder::buildPath(folder, name, path)) {
        return false;
    }
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    // The temporary file lies in the target's own folder, so that the rename never crosses disks.
    const std::string target = path;
    const std::string targetFolder = target.substr(0, target.rfind('/') + 1);
    const std::string fileName = target.substr(targetFolder.size());
    removeStaleTemporaries(targetFolder, fileName);
    std::string temporary =
        targetFolder + temporaryPrefixOf(fileName) + std::string(kTemporaryRandom) + std::string(kTemporarySuffix);
    const int fd = ::mkstemps(temporary.data(), static_cast<int>(kTemporarySuffix.size()));
    if (fd < 0) {
        return false;
    }
    const bool written = writeAll(fd, buffer.data(), static_cast<std::size_t>(buffer.length())) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace vornel
