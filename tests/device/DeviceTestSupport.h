// Shared pieces of the platform tests: small handhelds, a window procedure that records what
// it receives, and temporary folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "device/DeviceProfile.h"
#include "device/EmulatedDevice.h"
#include "platform/WindowMessage.h"

namespace vornel::testing_support {

// 3 pixels wide and 2 high: small enough to check every pixel of every orientation.
inline constexpr DeviceProfile kTinyProfile = {"tiny", "PocketPC", "Tiny", 3, 2, true, true, false};
inline constexpr DeviceProfile kTinyWithoutDisplayMemory = {"tiny", "Smartphone", "Tiny", 3, 2, false, false, false};

// What the recording client has received, in order; tests clear it first.
inline std::vector<WindowMessage>& receivedMessages() {
    static std::vector<WindowMessage> messages;
    return messages;
}

// A window client that keeps every message in receivedMessages() and answers 0.
class RecordingClient final : public WindowClient {
public:
    int32_t windowMessage(const WindowMessage& message) override {
        receivedMessages().push_back(message);
        return 0;
    }
};

inline RecordingClient recordingClient;

// A folder of its own under the system's temporary folder, removed at the end of the test.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("vornel-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(m_path); }
    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline EmulatedDevice::Setup setupIn(const std::string& saveFolder, int32_t speed = 0) {
    EmulatedDevice::Setup setup;
    setup.programFolder = "/games/vornel";
    setup.saveFolder = saveFolder;
    setup.speed = speed;
    return setup;
}

}  // namespace vornel::testing_support
