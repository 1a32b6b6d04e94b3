// The run's context.
#include "core/RunContext.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace vornel {
namespace {

std::atomic<const RunContext*> g_newest{nullptr};
std::mutex g_listLock;
RunContext* g_newestInList = nullptr;  // guarded by g_listLock; g_newest follows it

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

}  // namespace

RunContext::RunContext() : m_clock(Clock::system()) {}

RunContext::RunContext(std::string programFolder, std::string saveFolder, Clock* clock)
    : m_programFolder(withSeparator(std::move(programFolder))),
      m_saveFolder(withSeparator(std::move(saveFolder))),
      m_clock(clock != nullptr ? *clock : current().clock()) {
    const std::lock_guard<std::mutex> guard(g_listLock);
    m_older = g_newestInList;
    if (m_older != nullptr) {
        m_older->m_newer = this;
    }
    g_newestInList = this;
    g_newest.store(this, std::memory_order_release);
}

RunContext::~RunContext() {
    const std::lock_guard<std::mutex> guard(g_listLock);
    if (m_older != nullptr) {
        m_older->m_newer = m_newer;
    }
    if (m_newer != nullptr) {
        m_newer->m_older = m_older;
    } else {
        g_newestInList = m_older;
        g_newest.store(m_older, std::memory_order_release);
    }
}

// Never destroyed: a thread may still ask while the process exits.
const RunContext& RunContext::current() {
    static const RunContext* const none = new RunContext();
    const RunContext* const context = g_newest.load(std::memory_order_acquire);
    return context != nullptr ? *context : *none;
}

}  // namespace vornel
