// vornel-sound: argument checking and the writing of every sound file.
#include "sound/SoundCommand.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sound/GameSounds.h"
#include "sound/WavWriter.h"

namespace vornel {

namespace {

constexpr const char* kProgram = "vornel-sound";

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return SoundCommand::kFailure;
}

bool makeFolder(const std::string& folder, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code || !std::filesystem::is_directory(folder, code)) {
        error = "cannot create folder " + folder + (code ? ": " + code.message() : "");
        return false;
    }
    return true;
}

}  // namespace

int SoundCommand::run(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty() || args[0].starts_with("-")) {
        return fail("usage: " + std::string(kProgram) + " OUTDIR");
    }
    const std::string& folder = args[0];
    std::string error;
    if (!makeFolder(folder, error)) {
        return fail(error);
    }
    for (const GameSounds::Entry& entry : GameSounds::all()) {
        const std::string path = (std::filesystem::path(folder) / (std::string(entry.name) + ".wav")).string();
        if (!WavWriter::write(path, entry.make(), error)) {
            return fail(error);
        }
    }
    return kSuccess;
}

}  // namespace vornel
