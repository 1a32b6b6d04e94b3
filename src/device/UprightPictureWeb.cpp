// Screenshots are not written as files in the browser; the page reads its canvas instead.
#include "device/UprightPicture.h"

namespace vornel {

bool UprightPicture::writePng(const std::string&, std::string& error) const {
    error = "no picture files are written in the browser";
    return false;
}

}  // namespace vornel
