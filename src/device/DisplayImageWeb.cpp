// Screenshots are not written as files in the browser; the page reads its canvas instead.
#include "device/DisplayImage.h"

namespace vornel {

bool DisplayImage::writePng(const std::string&, std::string& error) const {
    error = "no picture files are written in the browser";
    return false;
}

}  // namespace vornel
