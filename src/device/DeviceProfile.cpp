// The four handhelds.
#include "device/DeviceProfile.h"

#include <array>

namespace vornel {
namespace {

constexpr std::array<DeviceProfile, 4> kProfiles = {{
    {"pocketpc", "PocketPC", "Pocket PC", 240, 320, true, true, false},
    {"pocketpc-vga", "PocketPC", "Pocket PC VGA", 480, 640, true, true, false},
    {"smartphone", "Smartphone", "Smartphone", 176, 220, true, false, false},
    {"qwerty", "Smartphone", "MotoQ", 320, 240, true, false, true},
}};

}  // namespace

const DeviceProfile* DeviceProfile::find(std::string_view name) {
    for (const DeviceProfile& profile : kProfiles) {
        if (profile.name == name) {
            return &profile;
        }
    }
    return nullptr;
}

const DeviceProfile& DeviceProfile::defaultProfile() {
    return kProfiles[0];
}

std::string DeviceProfile::names() {
    std::string list;
    for (const DeviceProfile& profile : kProfiles) {
        if (!list.empty()) {
            list += ", ";
        }
        list += profile.name;
    }
    return list;
}

}  // namespace vornel
