// The game's sixteen pictures in bank order, and writing them as the bank "app" (and, for a
// look at them, as PNG files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "art/ArtPicture.h"

namespace vornel {

class ArtBank {
public:
    static constexpr int32_t kPictureCount = 16;
    static constexpr const char* kBankName = "app";

    // The picture numbers the game refers to.
    static constexpr int32_t kLoading = 0;
    static constexpr int32_t kMenuButton = 1;
    static constexpr int32_t kUpMarker = 2;
    static constexpr int32_t kDownMarker = 3;
    static constexpr int32_t kCloseMarker = 4;
    static constexpr int32_t kEmblem = 5;
    static constexpr int32_t kTable = 6;
    static constexpr int32_t kBall = 7;
    static constexpr int32_t kShadow = 8;
    static constexpr int32_t kFirstBat = 9;  // 9 far left ... 13 far right
    static constexpr int32_t kNet = 14;
    static constexpr int32_t kScoreMarker = 15;

    // Draws every picture; numbered by their place in the list.
    static std::vector<ArtPicture> drawAll();

    // Writes the pictures as app0.bin, app1.bin, ... into folder. False with a reason on failure.
    static bool writeBank(const std::vector<ArtPicture>& pictures, const std::string& folder, std::string& error);
    // Writes each picture as folder/picture-NN.png.
    static bool writePngs(const std::vector<ArtPicture>& pictures, const std::string& folder, std::string& error);
};

}  // namespace vornel
