// The save folder's lock and the raise request over a local socket.
#include "device/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

namespace vornel {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kReply[] = "ok\n";
constexpr int kConnectAttempts = 40;       // the first copy may still be starting up
constexpr int kConnectPauseMs = 25;
constexpr int kReplyTimeoutMs = 2000;      // the first copy answers at once from its thread

// Abstract-namespace address: a leading zero byte, then the name.
sockaddr_un addressOf(const std::string& name, socklen_t& length) {
    sockaddr_un address;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t size = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), size);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return address;
}

int openSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

bool waitReadable(int descriptor, int timeoutMs) {
    pollfd entry{descriptor, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) == 1;
}

// Reads what the peer sends until a line end, the peer closes, or the timeout passes.
std::string readLine(int connection, int timeoutMs) {
    std::string text;
    char buffer[16];
    while (text.size() < 64 && text.find('\n') == std::string::npos && waitReadable(connection, timeoutMs)) {
        const ssize_t count = ::read(connection, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

bool sendAll(int connection, const char* text) {
    const std::size_t length = std::strlen(text);
    return ::send(connection, text, length, MSG_NOSIGNAL) == static_cast<ssize_t>(length);
}

}  // namespace

SingleInstance::SingleInstance(std::string saveFolder) : m_folder(std::move(saveFolder)) {}

SingleInstance::~SingleInstance() {
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        if (::write(m_stopEvent, &one, sizeof one) != sizeof one) {
            std::perror("vornel: stopping the instance listener");
        }
        m_thread.join();
    }
    for (const int descriptor : {m_stopEvent, m_listener, m_lockFile}) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
}

std::string SingleInstance::socketNameOf(const std::string& folder) {
    std::error_code failure;
    const std::string path = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, failure), failure).string();
    uint64_t hash = 14695981039346656037u;  // FNV-1a, 64 bits
    for (const char c : path) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211u;
    }
    char name[40];
    std::snprintf(name, sizeof name, "vornel-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

bool SingleInstance::claim() {
    std::error_code failure;
    std::filesystem::create_directories(m_folder, failure);
    const std::string lockPath = (std::filesystem::path(m_folder) / kLockFileName).string();
    m_lockFile = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_lockFile < 0) {
        std::fprintf(stderr, "vornel: cannot lock %s: %s\n", lockPath.c_str(), std::strerror(errno));
        return true;
    }
    if (::flock(m_lockFile, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            ::close(m_lockFile);
            m_lockFile = -1;
            return false;
        }
        std::fprintf(stderr, "vornel: cannot lock %s: %s\n", lockPath.c_str(), std::strerror(errno));
        return true;
    }
    // Bound at once, so that a copy started right after this one can connect (its request
    // waits in the backlog until listen() serves it).
    socklen_t length = 0;
    const sockaddr_un address = addressOf(socketNameOf(m_folder), length);
    m_listener = openSocket();
    if (m_listener >= 0 && (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
                            ::listen(m_listener, 4) != 0)) {
        ::close(m_listener);
        m_listener = -1;
    }
    return true;
}

bool SingleInstance::askRunningCopyToRaise() {
    socklen_t length = 0;
    const sockaddr_un address = addressOf(socketNameOf(m_folder), length);
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const int connection = openSocket();
        if (connection < 0) {
            return false;
        }
        if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
            const bool confirmed = sendAll(connection, kRequest) && readLine(connection, kReplyTimeoutMs) == kReply;
            ::close(connection);
            return confirmed;
        }
        ::close(connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectPauseMs));
    }
    return false;
}

void SingleInstance::listen(std::function<void()> raise) {
    if (m_listener < 0 || m_thread.joinable()) {
        return;
    }
    m_stopEvent = ::eventfd(0, EFD_CLOEXEC);
    if (m_stopEvent < 0) {
        return;
    }
    m_raise = std::move(raise);
    m_thread = std::thread([this] { serve(); });
}

void SingleInstance::serve() {
    for (;;) {
        pollfd entries[2] = {{m_listener, POLLIN, 0}, {m_stopEvent, POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((entries[1].revents & POLLIN) != 0) {
            return;
        }
        if ((entries[0].revents & POLLIN) != 0) {
            const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                answer(connection);
                ::close(connection);
            }
        }
    }
}

void SingleInstance::answer(int connection) {
    if (readLine(connection, kReplyTimeoutMs) != kRequest) {
        return;
    }
    if (m_raise) {
        m_raise();
    }
    sendAll(connection, kReply);
}

}  // namespace vornel
