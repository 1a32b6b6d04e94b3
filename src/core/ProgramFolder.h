// The folder the game's data files are read from, and the building of file paths inside a folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vornel {

class ProgramFolder final {
public:
    // Room for a path and its terminator, as on the handheld.
    static constexpr std::size_t kPathBufferSize = 260;

    // The run's program folder (core/RunContext.h), with its separator; empty for the working
    // folder.
    static const std::string& path();

    // folder + name, with one leading '/' of the name dropped, into a buffer of
    // kPathBufferSize bytes. A path that does not fit answers false and leaves no partial path.
    static bool buildPath(std::string_view folder, const char* name, char* buffer);
};

}  // namespace vornel
