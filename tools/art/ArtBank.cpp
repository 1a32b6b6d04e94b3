// Drawing the game's pictures in bank order and writing them out.
#include "art/ArtBank.h"

#include <filesystem>

#include "art/BallPicture.h"
#include "art/BatPicture.h"
#include "art/InterfacePictures.h"
#include "art/NetPicture.h"
#include "art/TablePicture.h"
#include "art/TitlePicture.h"
#include "bank/BankWriter.h"
#include "bank/PngFile.h"

namespace vornel {

std::vector<ArtPicture> ArtBank::drawAll() {
    std::vector<ArtPicture> pictures;
    pictures.push_back(TitlePicture::make());
    pictures.push_back(InterfacePictures::menuButton());
    pictures.push_back(InterfacePictures::upMarker());
    pictures.push_back(InterfacePictures::downMarker());
    pictures.push_back(InterfacePictures::closeMarker());
    pictures.push_back(InterfacePictures::emblem());
    pictures.push_back(TablePicture::make());
    pictures.push_back(BallPicture::ball());
    pictures.push_back(BallPicture::shadow());
    for (int32_t angle = 0; angle < BatPicture::kAngles; ++angle) {
        pictures.push_back(BatPicture::make(angle));
    }
    pictures.push_back(NetPicture::make());
    pictures.push_back(BallPicture::scoreMarker());
    return pictures;
}

bool ArtBank::writeBank(const std::vector<ArtPicture>& pictures, const std::string& folder, std::string& error) {
    BankWriter writer;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const ArtPicture& picture = pictures[i];
        if (!writer.addPicture(picture.type, picture.image, picture.anchorX, picture.anchorY, error)) {
            error = "picture " + std::to_string(i) + ": " + error;
            return false;
        }
    }
    return writer.writeFiles(folder, kBankName, error);
}

bool ArtBank::writePngs(const std::vector<ArtPicture>& pictures, const std::string& folder, std::string& error) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        error = "cannot create " + folder + ": " + failure.message();
        return false;
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        const std::string name = "picture-" + number + ".png";
        if (!PngFile::write((std::filesystem::path(folder) / name).string(), pictures[i].image, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace vornel
