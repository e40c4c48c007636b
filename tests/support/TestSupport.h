#ifndef VISDK_TEST_SUPPORT_H
#define VISDK_TEST_SUPPORT_H

#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <mono/metadata/object.h>

#include "PlatformServices.h"
#include "VISDKCppBridge.h"

namespace visdktest {

struct LogEntry {
    int level;
    std::string tag;
    std::string text;
};

// Captures everything the library logs while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    void Clear();
    std::vector<LogEntry> Entries() const;
    int Count(const std::string& text) const;           // entries whose text equals `text`
    int CountContaining(const std::string& part) const;  // entries whose text contains `part`
    std::vector<std::string> Errors() const;
    std::string Dump() const;

private:
    static void Sink(int level, const char* tag, const char* text, void* context);
    mutable std::mutex m_mutex;
    std::vector<LogEntry> m_entries;
};

// Drives the stand-in client's probe through the runtime.
namespace probe {
void Reset();
void Return(const char* method, MonoObject* value);
void ReturnInt(const char* method, int value);
void ReturnLong(const char* method, long long value);
void ReturnBool(const char* method, bool value);
void ReturnByte(const char* method, unsigned char value);
void ReturnString(const char* method, const std::string& value);
void ReturnNull(const char* method);
// Returns `value` as it is, even when it does not fit the method's result type.
void ReturnRaw(const char* method, MonoObject* value);
void Throw(const char* method, const char* exceptionType);
void Out(const char* method, int slot, MonoObject* value);
int CallCount(const char* method);
int ArgCount(const char* method);
MonoObject* Arg(const char* method, int slot);
std::string ArgKind(const char* method, int slot);
// The slot's value on entry as "Type:value" ("String:abc", "Int32:7", "Boolean:True", "null").
std::string ArgText(const char* method, int slot);
std::string Calls();
// Entries the probe holds for its records.
int RecordedEntries();
} // namespace probe

// Managed values made from native ones.
MonoObject* BoxInt(int value);
MonoObject* BoxLong(long long value);
MonoObject* BoxBool(bool value);
MonoObject* ManagedString(const std::string& text);
MonoObject* ManagedDate(long long ticks);
MonoObject* NewRecord(const char* className);
MonoObject* NewList(const char* itemClass);
void ListAdd(MonoObject* list, MonoObject* item);
MonoObject* NewStringList(const std::vector<std::string>& items);
// Calls a static method of a wrapper class.
MonoObject* CallStatic(const char* className, const char* method, void** args);
std::string Text(MonoObject* value);
long long Ticks(MonoObject* boxedDate);

// Brings the runtime up with the wrapper beside the library; the bridge object stays alive.
VISDKCppBridge::CVISDKCppBridge& Bridge();

// A test on the shared bridge with the probe cleared and the log captured.
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bridge();
        probe::Reset();
        log.Clear();
    }
    LogCapture log;
};

} // namespace visdktest

#endif
