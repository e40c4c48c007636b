#include "VISDKCppBridge.h"

#include <cstring>

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;

namespace {

// Byte size of a boxed System integer or flag, 0 for any other object.
size_t BoxedNumberSize(MonoObject* result)
{
    static const struct {
        const char* name;
        size_t size;
    } numbers[] = {{"Boolean", 1}, {"Byte", 1}, {"SByte", 1}, {"Int16", 2}, {"UInt16", 2},
                   {"Int32", 4},   {"UInt32", 4}, {"Int64", 8}, {"UInt64", 8}};
    MonoClass* klass = ClassOf(result);
    if (!klass || std::strcmp(g_mono.mono_class_get_namespace(klass), "System") != 0)
        return 0;
    const char* name = g_mono.mono_class_get_name(klass);
    for (const auto& number : numbers)
        if (std::strcmp(name, number.name) == 0)
            return number.size;
    return 0;
}

// A boxed false or 0 is the managed side saying no; any other object counts as done.
int Succeeded(MonoObject* result)
{
    if (!result)
        return 0;
    size_t size = BoxedNumberSize(result);
    const unsigned char* data = size ? static_cast<const unsigned char*>(UnboxedValue(result, size)) : nullptr;
    if (!data)
        return 1;
    for (size_t i = 0; i < size; ++i)
        if (data[i])
            return 1;
    return 0;
}

} // namespace

int CVISDKCppBridge::GetCustomField(const string& vm, const string& host, std::string field, std::string& value)
{
    return Forward<Int, IfNonZero, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "GetCustomField", vm, host, field, value);
}

int CVISDKCppBridge::SetCustomField(const string& vm, const string& host, const string& field, const string& value)
{
    return Forward<Int, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetCustomField", vm, host, field, value);
}

int CVISDKCppBridge::AddCustomField(const string& field)
{
    return Forward<Int, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "AddCustomField", field);
}

int CVISDKCppBridge::SetLastBackupCustomField(const string& vm, const string& value)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetLastBackupCustomField", vm, value);
}

int CVISDKCppBridge::SetBackupStatusCustomField(const string& vm, const string& host, const string& status, const string& job,
                                                const string& detail, long long unsigned int first, long long unsigned int second)
{
    return Forward<Int, Always, S, S, S, S, S, V<unsigned long long>, V<unsigned long long>>(
        *m_wrapper, __PRETTY_FUNCTION__, "SetBackupStatusCustomField", vm, host, status, job, detail, first, second);
}

int CVISDKCppBridge::GetVMInfoListForTag(const string& tag, const string& category, UINT64 mask, int flags,
                                         std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return ForwardList<S, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoListForTag", vms, tag, category, mask, flags);
}

int CVISDKCppBridge::GetVMInfoListForCategory(const string& category, const string& third, UINT64 mask, int flags,
                                              std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return ForwardList<S, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoListForCategory", vms, category, third, mask,
                                                flags);
}

int CVISDKCppBridge::GetTagsForVM(const string& vm, std::vector<VMInfoStructs::SInventoryInfo>& tags)
{
    return ForwardList<S>(*m_wrapper, __PRETTY_FUNCTION__, "GetTagsForVM", tags, vm);
}

int CVISDKCppBridge::AttachTagsToVM(const string& vm, std::vector<VMInfoStructs::SInventoryInfo>& tags)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        return Succeeded(Invoke<Object, Always, S, LI<VMInfoStructs::SInventoryInfo>>(*m_wrapper, up, "AttachTagsToVM", vm, tags));
    });
}

bool CVISDKCppBridge::SetConfigValues(const string& vm, const string& host, std::vector<VMInfoStructs::SVMOptionValue>& values)
{
    return Forward<Bool, Always, S, S, LI<VMInfoStructs::SVMOptionValue>>(*m_wrapper, __PRETTY_FUNCTION__, "SetConfigValues", vm, host,
                                                                            values);
}

bool CVISDKCppBridge::GetConfigValues(const string& vm, const string& host, std::vector<VMInfoStructs::SVMOptionValue>& values)
{
    return Forward<Bool, IfTrue, S, S, LO<VMInfoStructs::SVMOptionValue>>(*m_wrapper, __PRETTY_FUNCTION__, "GetConfigValues", vm, host,
                                                                            values);
}

int CVISDKCppBridge::GetHostConfigValue(const string& host, const string& key, std::string& value)
{
    return Forward<Int, IfNonZero, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "GetHostConfigValue", host, key, value);
}

int CVISDKCppBridge::SetHostConfigValue(const string& host, const string& key, const string& value)
{
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetHostConfigValue", host, key, value);
}

} // namespace VISDKCppBridge
