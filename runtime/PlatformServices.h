#ifndef VISDK_PLATFORM_SERVICES_H
#define VISDK_PLATFORM_SERVICES_H

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "VISDKExport.h"

namespace VISDKCppBridge {

// Receives every message that passes the threshold. `level` is 0 for errors and the
// debug level (1 for plain debug messages) otherwise; `tag` is null unless the error was tagged.
typedef void (*LogSink)(int level, const char* tag, const char* text, void* context);

// Logging never throws: it runs inside the bridge's exception handlers. A message that cannot be formatted whole
// (no memory for a long text) goes out truncated.
class VISDK_API DebugLog {
public:
    enum { LevelError = 0, LevelDebug = 1 };

    explicit DebugLog(void* logFile = nullptr);

    void Debug(const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));
    void DebugLevel(int level, const char* format, ...) noexcept __attribute__((format(printf, 3, 4)));
    void Error(const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));
    void ErrorTagged(const char* function, const char* format, ...) noexcept __attribute__((format(printf, 3, 4)));

    // Process-wide: a null sink restores the standard-error sink.
    static void SetSink(LogSink sink, void* context);
    // Debug messages above this level are dropped; errors always pass. Default 1.
    static void SetThreshold(int level);
    static int Threshold();

private:
    void* m_logFile;
};

class VISDK_API PlatformEvent {
public:
    PlatformEvent();
    ~PlatformEvent();
    PlatformEvent(const PlatformEvent&) = delete;
    PlatformEvent& operator=(const PlatformEvent&) = delete;

    void Set();
    void Wait();
    bool Wait(unsigned milliseconds);

private:
    bool WaitFor(unsigned milliseconds);
    int m_fd;
    std::atomic<int> m_waiters;
};

class VISDK_API PlatformMutex {
public:
    PlatformMutex();
    ~PlatformMutex();
    PlatformMutex(const PlatformMutex&) = delete;
    PlatformMutex& operator=(const PlatformMutex&) = delete;

    void Enter();
    void Leave();

    class Lock {
    public:
        explicit Lock(PlatformMutex& mutex) : m_mutex(mutex) { m_mutex.Enter(); }
        ~Lock() { m_mutex.Leave(); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        PlatformMutex& m_mutex;
    };

private:
    void* m_handle;
};

class VISDK_API PlatformThread {
public:
    typedef void* (*Entry)(void*);

    PlatformThread();
    ~PlatformThread();
    PlatformThread(const PlatformThread&) = delete;
    PlatformThread& operator=(const PlatformThread&) = delete;

    bool Create(Entry entry, void* argument);
    // True once the thread has returned from its entry function.
    bool Join(unsigned milliseconds);

private:
    struct State;
    std::shared_ptr<State> m_state;
};

VISDK_API std::string GetHomeDirectory();
VISDK_API std::string JoinPath(const std::string& directory, const std::string& file);
VISDK_API std::vector<std::string> SplitString(const std::string& text, const std::string& separator);
VISDK_API void SleepMs(unsigned milliseconds);

} // namespace VISDKCppBridge

#endif
