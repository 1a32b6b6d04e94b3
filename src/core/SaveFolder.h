// The folder that keeps what a player's game remembers between runs (the settings file), and
// whole-file reads and writes inside it.
#pragma once

#include <string>
#include <string_view>

#include "core/Array.h"

namespace vornel {

class SaveFolder final {
public:
    // The game's settings file, the one file a player's folder holds.
    static constexpr const char* kSettingsFile = "vornel";

    // The run's save folder (core/RunContext.h), with its separator; when the run has none,
    // files are kept in the program folder.
    static const std::string& path();

    // Reads once as many bytes of the named file as the buffer holds: true only when the file
    // opened and delivered exactly that many. The buffer keeps whatever was read.
    static bool readFileInto(const char* name, const Array<uint8_t>& buffer);
    // Replaces the named file by the buffer's bytes. The bytes go to a new file in the same
    // folder first, which is flushed to the disk and then renamed over the old one, so the
    // file is always either the old or the new content, whenever the process or the power
    // stops. True when the new content is in place; the folder is made when missing. The first
    // failure after a success (or the first ever) is said in one line on stderr, and so is the
    // first success after failures: a full disk is not repeated at every save.
    static bool writeFileFrom(const char* name, const Array<uint8_t>& buffer);

    // Makes the folder when missing and checks that a file can be written in it; false with a
    // one-line reason (a file in the way, a folder that cannot be made or written in).
    static bool prepare(const std::string& folder, std::string& problem);
};

}  // namespace vornel
