// The game's own data for the benchmarks, loaded once through the game's classes from a
// program folder: the picture bank "app" and the font f15.bin.
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "media/Picture.h"
#include "media/PictureBank.h"
#include "sprites/Font.h"

namespace vornel::bench {

class GameAssets {
public:
    // Picture numbers of the bank "app" the benchmarks use.
    static constexpr int32_t kTablePicture = 6;      // 480 x 512 JPEG, opaque
    static constexpr int32_t kBallPicture = 7;
    static constexpr int32_t kShadowPicture = 8;
    static constexpr int32_t kStraightBatPicture = 11;  // transparent runs, translucent edges
    static constexpr int32_t kNetPicture = 14;          // wide, long transparent runs
    static constexpr int32_t kScoreMarkerPicture = 15;
    static constexpr int32_t kPictureCount = 16;

    // Sets the program folder and loads the bank and the font. False, with one line on stderr
    // saying what is missing, when the folder does not hold the game's data.
    static bool load(const std::string& folder);

    static GameAssets& instance();

    const std::string& folder() const { return m_folder; }
    const Ref<PictureBank>& bank() const { return m_bank; }
    const Ref<Font>& font() const { return m_font; }
    // The decoded picture, from the bank's cache or loaded again (the table view gives its
    // picture back to the bank once it has drawn it).
    Ref<Picture> picture(int32_t number);

private:
    std::string m_folder;
    Ref<PictureBank> m_bank;
    Ref<Font> m_font;
};

}  // namespace vornel::bench
