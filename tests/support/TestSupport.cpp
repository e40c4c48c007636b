#include "TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/class.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"

using namespace VISDKCppBridge;

namespace visdktest {

LogCapture::LogCapture()
{
    DebugLog::SetThreshold(9);
    DebugLog::SetSink(&LogCapture::Sink, this);
}

LogCapture::~LogCapture() { DebugLog::SetSink(nullptr, nullptr); }

void LogCapture::Sink(int level, const char* tag, const char* text, void* context)
{
    auto* self = static_cast<LogCapture*>(context);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_entries.push_back(LogEntry{level, tag ? tag : "", text});
}

void LogCapture::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}

std::vector<LogEntry> LogCapture::Entries() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries;
}

int LogCapture::Count(const std::string& text) const
{
    int count = 0;
    for (const LogEntry& entry : Entries())
        count += entry.text == text;
    return count;
}

int LogCapture::CountContaining(const std::string& part) const
{
    int count = 0;
    for (const LogEntry& entry : Entries())
        count += entry.text.find(part) != std::string::npos;
    return count;
}

std::vector<std::string> LogCapture::Errors() const
{
    std::vector<std::string> errors;
    for (const LogEntry& entry : Entries())
        if (entry.level == DebugLog::LevelError)
            errors.push_back(entry.text);
    return errors;
}

std::string LogCapture::Dump() const
{
    std::ostringstream out;
    for (const LogEntry& entry : Entries())
        out << entry.level << " [" << entry.tag << "] " << entry.text << "\n";
    return out.str();
}

MonoObject* CallStatic(const char* className, const char* method, void** args)
{
    MonoClass* klass = mono_class_from_name(g_image, "VISDKWrapper", className);
    if (!klass)
        return nullptr;
    MonoMethod* found = mono_class_get_method_from_name(klass, method, -1);
    if (!found)
        return nullptr;
    MonoObject* exception = nullptr;
    void* unused = nullptr;
    MonoObject* result = mono_runtime_invoke(found, nullptr, args ? args : &unused, &exception);
    return exception ? nullptr : result;
}

MonoObject* BoxInt(int value) { return mono_value_box(g_domain, mono_get_int32_class(), &value); }

MonoObject* BoxLong(long long value) { return mono_value_box(g_domain, mono_get_int64_class(), &value); }

MonoObject* BoxBool(bool value)
{
    unsigned char byte = value ? 1 : 0;
    return mono_value_box(g_domain, mono_get_boolean_class(), &byte);
}

MonoObject* ManagedString(const std::string& text)
{
    return reinterpret_cast<MonoObject*>(mono_string_new_len(g_domain, text.data(), static_cast<unsigned>(text.size())));
}

MonoObject* ManagedDate(long long ticks)
{
    MonoClass* klass = mono_class_from_name(mono_get_corlib(), "System", "DateTime");
    return mono_value_box(g_domain, klass, &ticks);
}

long long Ticks(MonoObject* boxedDate)
{
    unsigned long long raw;
    std::memcpy(&raw, mono_object_unbox(boxedDate), sizeof raw);
    return static_cast<long long>(raw & 0x3FFFFFFFFFFFFFFFULL);
}

MonoObject* NewRecord(const char* className) { return NewManagedObject(className, false); }

MonoObject* NewList(const char* itemClass)
{
    std::string method = std::string("Create") + itemClass + "List";
    return CallStatic("CVIWrapperFactory", method.c_str(), nullptr);
}

void ListAdd(MonoObject* list, MonoObject* item)
{
    MonoMethod* add = mono_class_get_method_from_name(mono_object_get_class(list), "Add", 1);
    bool value = item && mono_class_is_valuetype(mono_object_get_class(item));
    void* args[] = {value ? mono_object_unbox(item) : item};
    MonoObject* exception = nullptr;
    mono_runtime_invoke(add, list, args, &exception);
}

MonoObject* NewStringList(const std::vector<std::string>& items)
{
    MonoObject* list = NewList("SStringInfoLib");
    for (const std::string& item : items)
        ListAdd(list, ManagedString(item));
    return list;
}

std::string Text(MonoObject* value)
{
    if (!value)
        return "null";
    MonoClass* klass = mono_object_get_class(value);
    std::string name = mono_class_get_name(klass);
    if (klass == mono_get_string_class())
        return "String:" + gc2std(reinterpret_cast<MonoString*>(value));
    if (name == "Int32")
        return "Int32:" + std::to_string(*static_cast<int32_t*>(mono_object_unbox(value)));
    if (name == "Int64")
        return "Int64:" + std::to_string(*static_cast<int64_t*>(mono_object_unbox(value)));
    if (name == "UInt64")
        return "UInt64:" + std::to_string(*static_cast<uint64_t*>(mono_object_unbox(value)));
    if (name == "Boolean")
        return std::string("Boolean:") + (*static_cast<unsigned char*>(mono_object_unbox(value)) ? "True" : "False");
    if (name == "DateTime")
        return "DateTime:" + std::to_string(Ticks(value));
    return name;
}

namespace probe {

namespace {

MonoObject* Call(const char* method, std::initializer_list<void*> args)
{
    std::vector<void*> slots(args);
    slots.push_back(nullptr);
    return CallStatic("Probe", method, slots.data());
}

void* Str(const char* text) { return mono_string_new(g_domain, text); }

} // namespace

void Reset() { Call("Reset", {}); }

void Return(const char* method, MonoObject* value) { Call("SetReturn", {Str(method), value}); }

void ReturnInt(const char* method, int value) { Return(method, BoxInt(value)); }

void ReturnLong(const char* method, long long value) { Return(method, BoxLong(value)); }

void ReturnBool(const char* method, bool value) { Return(method, BoxBool(value)); }

void ReturnByte(const char* method, unsigned char value) { Return(method, mono_value_box(g_domain, mono_get_byte_class(), &value)); }

void ReturnString(const char* method, const std::string& value) { Return(method, ManagedString(value)); }

void ReturnNull(const char* method) { Call("SetReturnNull", {Str(method)}); }

void ReturnRaw(const char* method, MonoObject* value) { Call("SetReturnRaw", {Str(method), value}); }

void Throw(const char* method, const char* exceptionType) { Call("SetThrow", {Str(method), Str(exceptionType)}); }

void Out(const char* method, int slot, MonoObject* value) { Call("SetOut", {Str(method), &slot, value}); }

int CallCount(const char* method)
{
    MonoObject* result = Call("CallCount", {Str(method)});
    return result ? *static_cast<int*>(mono_object_unbox(result)) : -1;
}

int ArgCount(const char* method)
{
    MonoObject* result = Call("ArgCount", {Str(method)});
    return result ? *static_cast<int*>(mono_object_unbox(result)) : -1;
}

MonoObject* Arg(const char* method, int slot) { return Call("Arg", {Str(method), &slot}); }

std::string ArgKind(const char* method, int slot)
{
    return gc2std(reinterpret_cast<MonoString*>(Call("ArgKind", {Str(method), &slot})));
}

std::string ArgText(const char* method, int slot) { return Text(Arg(method, slot)); }

std::string Calls() { return gc2std(reinterpret_cast<MonoString*>(Call("Calls", {}))); }

int RecordedEntries()
{
    MonoObject* result = Call("RecordedEntries", {});
    return result ? *static_cast<int*>(mono_object_unbox(result)) : -1;
}

} // namespace probe

CVISDKCppBridge& Bridge()
{
    static CVISDKCppBridge* bridge = [] {
        // Tests expect the configured inventory, never one kept in a developer's state file.
        unsetenv("VISDK_SIM_STATE");
        auto* created = new CVISDKCppBridge;
        std::string first = "vcenter.sim.local", second;
        created->SetVMFocus(first, second, 0);
        return created;
    }();
    return *bridge;
}

} // namespace visdktest
