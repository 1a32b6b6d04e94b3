// One running copy per save folder: the first copy holds an exclusive lock on a file in the
// folder and listens on a local socket named after the folder; a later copy finds the lock
// taken and asks the first, through the socket, to bring its window to the front.
#pragma once

#include <functional>
#include <string>
#include <thread>

namespace vornel {

class SingleInstance final {
public:
    static constexpr const char* kLockFileName = "vornel.lock";

    explicit SingleInstance(std::string saveFolder);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // Stops listening and releases the lock.
    ~SingleInstance();

    // Takes the folder's lock (creating the folder when needed); false when another copy
    // holds it. A folder that cannot be locked at all counts as claimed, with a line on
    // stderr: the game then runs rather than refusing to start.
    bool claim();
    // Asks the copy that holds the lock to raise its window; true once it has confirmed.
    bool askRunningCopyToRaise();
    // After a successful claim: serves raise requests on a thread of its own, calling raise
    // there for each one.
    void listen(std::function<void()> raise);

    // The socket's name in the abstract namespace, derived from the folder's full path.
    static std::string socketNameOf(const std::string& folder);

private:
    void serve();
    void answer(int connection);

    std::string m_folder;
    int m_lockFile = -1;
    int m_listener = -1;
    int m_stopEvent = -1;  // an eventfd that ends the listening thread
    std::function<void()> m_raise;
    std::thread m_thread;
};

}  // namespace vornel
