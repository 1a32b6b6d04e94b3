// In the browser each page holds its own game: there is no other copy to find or to raise.
#include "device/SingleInstance.h"

namespace vornel {

SingleInstance::SingleInstance(std::string saveFolder) : m_folder(std::move(saveFolder)) {}

SingleInstance::~SingleInstance() = default;

std::string SingleInstance::socketNameOf(const std::string& folder) {
    return folder;
}

bool SingleInstance::claim() {
    return true;
}

bool SingleInstance::askRunningCopyToRaise() {
    return false;
}

void SingleInstance::listen(std::function<void()>) {}

}  // namespace vornel
