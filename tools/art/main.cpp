// vornel-art: draws the game's pictures and writes them as the picture bank app0.bin, app1.bin,
// ... into a folder, and optionally every picture as a PNG for a look at it.
#include <cstdio>
#include <string>
#include <vector>

#include "art/ArtBank.h"

namespace {

constexpr const char* kUsage = "usage: vornel-art OUTPUT_FOLDER [--png PREVIEW_FOLDER]";

int fail(const std::string& message) {
    std::fprintf(stderr, "vornel-art: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vornel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string pngFolder;
    if (args.size() == 3 && args[1] == "--png") {
        pngFolder = args[2];
    } else if (args.size() != 1) {
        return fail(kUsage);
    }
    const std::vector<ArtPicture> pictures = ArtBank::drawAll();
    std::string error;
    if (!ArtBank::writeBank(pictures, args[0], error)) {
        return fail(error);
    }
    if (!pngFolder.empty() && !ArtBank::writePngs(pictures, pngFolder, error)) {
        return fail(error);
    }
    return 0;
}
