// The save folder and its whole-file reads and atomic replacements.
#include "core/SaveFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/ProgramFolder.h"
#include "core/RunContext.h"

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

// Whether the last replacement failed: a failure is said once, not at every save after it.
std::atomic<bool> g_failing{false};

const std::string& folderInUse() {
    const std::string& folder = RunContext::current().saveFolder();
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

// Writes the buffer to a new temporary file beside path, then renames it over path. Answers
// "" when the new content is in place, else why not; the old file is then untouched.
std::string replaceFile(const std::string& folder, const std::string& path, std::string_view name,
                        const Array<uint8_t>& buffer) {
    std::string temporary =
        folder + temporaryPrefixOf(name) + std::string(kTemporaryRandom) + std::string(kTemporarySuffix);
    const int fd = ::mkstemps(temporary.data(), static_cast<int>(kTemporarySuffix.size()));
    if (fd < 0) {
        return std::strerror(errno);
    }
    const bool written = writeAll(fd, buffer.data(), static_cast<std::size_t>(buffer.length())) && ::fsync(fd) == 0;
    int problem = written ? 0 : (errno != 0 ? errno : EIO);
    if (::close(fd) != 0 && problem == 0) {
        problem = errno;
    }
    if (problem == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        problem = errno;
    }
    if (problem != 0) {
        std::remove(temporary.c_str());
        return std::strerror(problem);
    }
    syncFolder(folder);
    return "";
}

// A playback's private folder is thrown away with the run, so its saves need neither the
// temporary file nor the sweep for stale ones: the file is written where it lies.
std::string overwriteFile(const std::string& path, const Array<uint8_t>& buffer) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return std::strerror(errno);
    }
    const bool written = writeAll(fd, buffer.data(), static_cast<std::size_t>(buffer.length()));
    const int problem = written ? 0 : (errno != 0 ? errno : EIO);
    ::close(fd);
    return problem == 0 ? "" : std::strerror(problem);
}

// One line when saving starts to fail and one when it works again: a full disk would
// otherwise repeat itself at every point.
void reportOutcome(const std::string& path, const std::string& problem) {
    if (!problem.empty() && !g_failing.exchange(true)) {
        std::fprintf(stderr, "vornel: cannot save %s: %s; the game goes on and saves again at the next change\n",
                     path.c_str(), problem.c_str());
    } else if (problem.empty() && g_failing.exchange(false)) {
        std::fprintf(stderr, "vornel: %s is saved again\n", path.c_str());
    }
}

}  // namespace

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
    char built[ProgramFolder::kPathBufferSize];
    if (!ProgramFolder::buildPath(folderInUse(), name, built)) {
        reportOutcome(folderInUse() + name, "the path is too long");
        return false;
    }
    const std::string path = built;
    if (!RunContext::current().keepsSavesDurable()) {
        const std::string problem = overwriteFile(path, buffer);
        reportOutcome(path, problem);
        return problem.empty();
    }
    // The temporary file lies in the target's own folder, so that the rename never crosses disks.
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const std::string fileName = path.substr(folder.size());
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    removeStaleTemporaries(folder, fileName);
    const std::string problem = replaceFile(folder, path, fileName, buffer);
    reportOutcome(path, problem);
    return problem.empty();
}

bool SaveFolder::prepare(const std::string& folder, std::string& problem) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    std::error_code ignored;
    if (std::filesystem::exists(folder, ignored) && !std::filesystem::is_directory(folder, ignored)) {
        problem = folder + " is a file, not a folder";
        return false;
    }
    if (failure) {
        problem = "cannot make the folder " + folder + ": " + failure.message();
        return false;
    }
    // What a save does, short of the rename: a new file in the folder, written and removed.
    std::string probe = folder + "/" + temporaryPrefixOf(kSettingsFile) + std::string(kTemporaryRandom) +
                        std::string(kTemporarySuffix);
    const int fd = ::mkstemps(probe.data(), static_cast<int>(kTemporarySuffix.size()));
    if (fd < 0) {
        problem = "cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    std::remove(probe.c_str());
    return true;
}

}  // namespace vornel
