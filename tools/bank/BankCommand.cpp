// vornel-bank: write, list and extract picture banks.
#include "BankCommand.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "bank/BankWriter.h"
#include "bank/PictureImage.h"
#include "bank/PngFile.h"
#include "core/Base.h"
#include "core/String.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

namespace vornel {

namespace {

constexpr const char* kProgram = "vornel-bank";
constexpr const char* kWriteUsage = "write OUTDIR NAME TYPE:FILE.png[:ANCHORX,ANCHORY]...";
constexpr const char* kListUsage = "list DIR NAME";
constexpr const char* kExtractUsage = "extract DIR NAME N OUT.png";

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return BankCommand::kFailure;
}

int failUsage(const char* verbUsage) {
    return fail(std::string("usage: ") + kProgram + " " + verbUsage);
}

void printUsage() {
    std::fprintf(stderr,
                 "usage: %s %s\n"
                 "       %s %s\n"
                 "       %s %s\n"
                 "TYPE is j (JPEG with alpha runs), r (run-length with transparency) or o (run-length, opaque).\n",
                 kProgram, kWriteUsage, kProgram, kListUsage, kProgram, kExtractUsage);
}

// A whole decimal number with an optional minus sign, nothing else.
bool parseNumber(const std::string& text, int32_t& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

struct PictureSpec {
    char type = 0;
    std::string file;
    int32_t anchorX = 0;
    int32_t anchorY = 0;
};

// TYPE:FILE.png or TYPE:FILE.png:X,Y. A last part with a comma is always taken as the
// anchors, so a mistyped anchor is reported rather than read as part of the file name.
bool parseSpec(const std::string& text, PictureSpec& spec, std::string& error) {
    if (text.size() < 3 || text[1] != ':') {
        error = "picture \"" + text + "\" is not TYPE:FILE.png[:ANCHORX,ANCHORY]";
        return false;
    }
    spec.type = text[0];
    spec.file = text.substr(2);
    const std::size_t lastColon = spec.file.rfind(':');
    if (lastColon == std::string::npos || spec.file.find(',', lastColon) == std::string::npos) {
        return true;
    }
    const std::string anchors = spec.file.substr(lastColon + 1);
    const std::size_t comma = anchors.find(',');
    if (!parseNumber(anchors.substr(0, comma), spec.anchorX) || !parseNumber(anchors.substr(comma + 1), spec.anchorY)) {
        error = "picture \"" + text + "\": anchors \"" + anchors + "\" are not two whole numbers X,Y";
        return false;
    }
    spec.file.resize(lastColon);
    if (spec.file.empty()) {
        error = "picture \"" + text + "\" names no file";
        return false;
    }
    return true;
}

// The bank's owner receives no calls from a tool; it only has to exist.
class ToolHost : public Base {};

Ref<PictureBank> openBank(const std::string& folder, const std::string& name, std::string& error) {
    const std::filesystem::path first = std::filesystem::path(folder) / (name + "0.bin");
    if (name.empty() || name.find('/') != std::string::npos || !std::filesystem::is_regular_file(first)) {
        error = "no picture bank \"" + name + "\" in " + folder + " (" + first.string() + " not found)";
        return nullptr;
    }
    Ref<String> bankName = new String(name.data(), 0, static_cast<int32_t>(name.size()));
    Ref<PictureBank> bank = new PictureBank(new ToolHost, *bankName);
    if (bank->count() <= 0) {
        error = first.string() + " is not a picture bank (it holds no pictures)";
        return nullptr;
    }
    return bank;
}

char shownType(const Picture& picture) {
    if (picture.m_type == 'r' && picture.m_opaque != 0) {
        return 'o';
    }
    return picture.m_type == 'j' || picture.m_type == 'r' ? static_cast<char>(picture.m_type) : '?';
}

}  // namespace

int BankCommand::run(const std::vector<std::string>& args) {
    if (args.empty()) {
        printUsage();
        return kFailure;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "write") {
        return write(rest);
    }
    if (args[0] == "list") {
        return list(rest);
    }
    if (args[0] == "extract") {
        return extract(rest);
    }
    return fail("unknown command \"" + args[0] + "\" (use write, list or extract)");
}

int BankCommand::write(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        return failUsage(kWriteUsage);
    }
    BankWriter writer;
    std::string error;
    for (std::size_t i = 2; i < args.size(); ++i) {
        PictureSpec spec;
        RgbaImage image;
        if (!parseSpec(args[i], spec, error)) {
            return fail(error);
        }
        if (!PngFile::read(spec.file, image, error) ||
            !writer.addPicture(spec.type, image, spec.anchorX, spec.anchorY, error)) {
            return fail(spec.file + " (picture " + std::to_string(writer.count()) + "): " + error);
        }
    }
    if (!writer.writeFiles(args[0], args[1], error)) {
        return fail(error);
    }
    const std::size_t bytes = writer.stream().size();
    std::printf("%s: %d pictures, %zu bytes in %zu files\n", args[1].c_str(), writer.count(), bytes,
                (bytes + BankWriter::kFileSize - 1) / BankWriter::kFileSize);
    return kSuccess;
}

int BankCommand::list(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return failUsage(kListUsage);
    }
    std::string error;
    const RunContext bankFolder(args[0]);  // the bank reads its files from the program folder
    Ref<PictureBank> bank = openBank(args[0], args[1], error);
    if (!bank) {
        return fail(error);
    }
    for (int32_t i = 0; i < bank->count(); ++i) {
        Ref<Picture> picture = bank->getPicture(i);
        if (!picture) {
            return fail("picture " + std::to_string(i) + " cannot be read");
        }
        std::printf("%d %c %d %d %d %d %d\n", i, shownType(*picture), picture->m_width, picture->m_height,
                    picture->m_anchorX, picture->m_anchorY, bank->recordLength(i));
    }
    return kSuccess;
}

int BankCommand::extract(const std::vector<std::string>& args) {
    if (args.size() != 4) {
        return failUsage(kExtractUsage);
    }
    int32_t number = 0;
    if (!parseNumber(args[2], number)) {
        return fail("picture number \"" + args[2] + "\" is not a whole number");
    }
    std::string error;
    const RunContext bankFolder(args[0]);  // the bank reads its files from the program folder
    Ref<PictureBank> bank = openBank(args[0], args[1], error);
    if (!bank) {
        return fail(error);
    }
    if (number < 0 || number >= bank->count()) {
        return fail("picture " + std::to_string(number) + " is outside 0.." + std::to_string(bank->count() - 1));
    }
    Ref<Picture> picture = bank->getPicture(number);
    const RgbaImage image = picture ? PictureImage::fromPicture(*picture) : RgbaImage();
    if (image.isEmpty()) {
        return fail("picture " + std::to_string(number) + " could not be decoded");
    }
    if (!PngFile::write(args[3], image, error)) {
        return fail(args[3] + ": " + error);
    }
    return kSuccess;
}

}  // namespace vornel
