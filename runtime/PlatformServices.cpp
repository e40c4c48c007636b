#include "PlatformServices.h"

#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

namespace VISDKCppBridge {

namespace {

std::mutex s_logMutex;
LogSink s_sink = nullptr;
void* s_sinkContext = nullptr;
std::atomic<int> s_threshold{DebugLog::LevelDebug};

// Formats into `buffer`; a text longer than it goes to `heap` when memory allows, else it stays truncated.
// Never throws: logging runs inside the bridge's exception handlers.
const char* FormatV(char (&buffer)[512], std::string& heap, const char* format, va_list args) noexcept
{
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(buffer, sizeof buffer, format, copy);
    va_end(copy);
    if (length < 0)
        return format;
    if (static_cast<size_t>(length) < sizeof buffer)
        return buffer;
    try {
        heap.assign(static_cast<size_t>(length) + 1, '\0');
        vsnprintf(&heap[0], heap.size(), format, args);
        heap.resize(static_cast<size_t>(length));
        return heap.c_str();
    } catch (...) {
        return buffer;
    }
}

void WriteAll(int fd, iovec* parts, int count) noexcept
{
    while (count > 0) {
        ssize_t written = ::writev(fd, parts, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        while (count > 0 && static_cast<size_t>(written) >= parts->iov_len) {
            written -= static_cast<ssize_t>(parts->iov_len);
            ++parts;
            --count;
        }
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + written;
            parts->iov_len -= static_cast<size_t>(written);
        }
    }
}

// One line per message, written with one call so that lines of racing threads do not interleave; allocates nothing.
void Emit(int level, const char* tag, const char* text) noexcept
{
    if (level != DebugLog::LevelError && level > s_threshold.load(std::memory_order_relaxed))
        return;
    std::unique_lock<std::mutex> lock(s_logMutex, std::defer_lock);
    try {
        lock.lock();
    } catch (...) {
        // A lock that cannot be taken still lets the message out, at the risk of interleaving.
    }
    if (s_sink) {
        s_sink(level, tag, text, s_sinkContext);
        return;
    }
    char head[48];
    if (level == DebugLog::LevelError)
        snprintf(head, sizeof head, "VISDKCppBridge ERROR");
    else if (level == DebugLog::LevelDebug)
        snprintf(head, sizeof head, "VISDKCppBridge DEBUG");
    else
        snprintf(head, sizeof head, "VISDKCppBridge DEBUG%d", level);
    size_t length = strlen(text);
    // The message texts keep their own trailing line feed; the line gets exactly one.
    if (length > 0 && text[length - 1] == '\n')
        --length;
    iovec parts[] = {{head, strlen(head)},
                     {const_cast<char*>(" ["), tag ? 2u : 0u},
                     {const_cast<char*>(tag ? tag : ""), tag ? strlen(tag) : 0u},
                     {const_cast<char*>("]"), tag ? 1u : 0u},
                     {const_cast<char*>(": "), 2},
                     {const_cast<char*>(text), length},
                     {const_cast<char*>("\n"), 1}};
    WriteAll(STDERR_FILENO, parts, static_cast<int>(sizeof parts / sizeof parts[0]));
}

void EmitV(int level, const char* tag, const char* format, va_list args) noexcept
{
    char buffer[512];
    std::string heap;
    Emit(level, tag, FormatV(buffer, heap, format, args));
}

} // namespace

DebugLog::DebugLog(void* logFile) : m_logFile(logFile) {}

void DebugLog::Debug(const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    EmitV(LevelDebug, nullptr, format, args);
    va_end(args);
}

void DebugLog::DebugLevel(int level, const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    EmitV(level < LevelDebug ? LevelDebug : level, nullptr, format, args);
    va_end(args);
}

void DebugLog::Error(const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    EmitV(LevelError, nullptr, format, args);
    va_end(args);
}

void DebugLog::ErrorTagged(const char* function, const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    EmitV(LevelError, function ? function : "", format, args);
    va_end(args);
}

void DebugLog::SetSink(LogSink sink, void* context)
{
    std::lock_guard<std::mutex> lock(s_logMutex);
    s_sink = sink;
    s_sinkContext = context;
}

void DebugLog::SetThreshold(int level) { s_threshold.store(level); }

int DebugLog::Threshold() { return s_threshold.load(); }

PlatformEvent::PlatformEvent() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_waiters(0)
{
    if (m_fd < 0)
        throw std::runtime_error("Not enough memory to initialize the event object");
}

// The descriptor is never read, so once set the event stays set. One still waited on (the runtime
// thread's, at process exit) is left open: closing it would wake that thread in the middle of exit.
PlatformEvent::~PlatformEvent()
{
    if (m_waiters.load() == 0)
        ::close(m_fd);
}

void PlatformEvent::Set()
{
    uint64_t one = 1;
    while (::write(m_fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void PlatformEvent::Wait()
{
    ++m_waiters;
    pollfd entry{m_fd, POLLIN, 0};
    while (::poll(&entry, 1, -1) <= 0) {
    }
    --m_waiters;
}

bool PlatformEvent::Wait(unsigned milliseconds)
{
    ++m_waiters;
    bool signalled = WaitFor(milliseconds);
    --m_waiters;
    return signalled;
}

bool PlatformEvent::WaitFor(unsigned milliseconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left < 0)
            left = 0;
        pollfd entry{m_fd, POLLIN, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(left));
        if (ready > 0)
            return true;
        if (ready == 0 && left == 0)
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

PlatformMutex::PlatformMutex() : m_handle(new (std::nothrow) std::mutex)
{
    if (!m_handle)
        throw std::runtime_error("Not enough memory to initialize the critical section object");
}

PlatformMutex::~PlatformMutex() { delete static_cast<std::mutex*>(m_handle); }

void PlatformMutex::Enter() { static_cast<std::mutex*>(m_handle)->lock(); }

void PlatformMutex::Leave() { static_cast<std::mutex*>(m_handle)->unlock(); }

struct PlatformThread::State {
    Entry entry = nullptr;
    void* argument = nullptr;
    PlatformEvent ended;
};

PlatformThread::PlatformThread() = default;

PlatformThread::~PlatformThread() = default;

bool PlatformThread::Create(Entry entry, void* argument)
{
    auto state = std::make_shared<State>();
    state->entry = entry;
    state->argument = argument;
    auto* shared = new std::shared_ptr<State>(state);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    // Detached: a thread that parks for ever must not keep the process from exiting cleanly.
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t handle;
    int failed = pthread_create(
        &handle, &attributes,
        [](void* raw) -> void* {
            std::shared_ptr<State> own = *static_cast<std::shared_ptr<State>*>(raw);
            delete static_cast<std::shared_ptr<State>*>(raw);
            own->entry(own->argument);
            own->ended.Set();
            return nullptr;
        },
        shared);
    pthread_attr_destroy(&attributes);
    if (failed) {
        delete shared;
        return false;
    }
    m_state = state;
    return true;
}

bool PlatformThread::Join(unsigned milliseconds)
{
    std::shared_ptr<State> state = m_state;
    return !state || state->ended.Wait(milliseconds);
}

std::string GetHomeDirectory()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&GetHomeDirectory), &info) || !info.dli_fname)
        return std::string();
    std::string path = info.dli_fname;
    if (path.empty() || path[0] != '/') {
        char resolved[PATH_MAX];
        if (!realpath(path.c_str(), resolved))
            return std::string();
        path = resolved;
    }
    size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string JoinPath(const std::string& directory, const std::string& file)
{
    if (directory.empty())
        return file;
    if (directory.back() == '/')
        return directory + file;
    return directory + "/" + file;
}

std::vector<std::string> SplitString(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        size_t found = text.find(separator, start);
        if (found == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

void SleepMs(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

} // namespace VISDKCppBridge
