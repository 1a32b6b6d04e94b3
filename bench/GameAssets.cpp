// Loading the bank and the font the way the game does, with the checks a benchmark needs.
#include "GameAssets.h"

#include <cstdio>
#include <filesystem>

#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "sprites/TextSprite.h"

namespace vornel::bench {
namespace {

// The bank's owner: the game passes its host; the bank only keeps the reference.
class BankOwner : public Base {};

}  // namespace

GameAssets& GameAssets::instance() {
    static auto* const assets = new GameAssets();  // never destroyed: benchmarks may run until exit
    return *assets;
}

bool GameAssets::load(const std::string& folder) {
    GameAssets& assets = instance();
    assets.m_folder = folder;
    static const RunContext* const context = new RunContext(folder);  // the benchmarks' data, to the end
    (void)context;
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::path(folder) / "app0.bin", ignored)) {
        std::fprintf(stderr, "bench: no picture bank app0.bin in %s (make bench generates it)\n", folder.c_str());
        return false;
    }
    assets.m_bank = new PictureBank(new BankOwner(), *String::fromLiteral("app"));
    if (assets.m_bank->count() != kPictureCount) {
        std::fprintf(stderr, "bench: no picture bank of %d pictures (app*.bin) in %s\n", kPictureCount,
                     folder.c_str());
        return false;
    }
    assets.m_font = new Font();
    if (!assets.m_font->load(*String::fromLiteral("f15.bin"))) {
        std::fprintf(stderr, "bench: no font f15.bin in %s\n", folder.c_str());
        return false;
    }
    TextSprite::setDefaultFont(assets.m_font);
    TextSprite::setDefaultTextColor(0xFFFFFFFF);
    return true;
}

Ref<Picture> GameAssets::picture(int32_t number) {
    return m_bank->getPicture(number);
}

}  // namespace vornel::bench
