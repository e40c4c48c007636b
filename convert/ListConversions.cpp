#include <atomic>
#include <string>

#include "ListFramework.h"

namespace VISDKHelper {

namespace {
const long long kDefaultNestedRecordBytes = 1LL << 30;
std::atomic<long long> s_nestedRecordBytes{kDefaultNestedRecordBytes};
}

long long NestedRecordBytes() { return s_nestedRecordBytes.load(std::memory_order_relaxed); }

void SetNestedRecordBytes(long long bytes)
{
    s_nestedRecordBytes.store(bytes > 0 ? bytes : kDefaultNestedRecordBytes, std::memory_order_relaxed);
}

MonoObject* CVISDKHelper::CreateList(const char* listName)
{
    struct FactoryHandles {
        std::string methodName;
        MonoClass* factory;
        MonoMethod* create;
    };
    if (!VISDKCppBridge::g_image) {
        g_debug.Error("Failed to get list factory class [%s]", listName);
        VISDKCppBridge::NoteIncompleteList(listName);
        return nullptr;
    }
    const FactoryHandles& handles =
        VISDKCppBridge::ProcessCache<FactoryHandles>()
            .Get(VISDKCppBridge::g_image, listName, 0,
                 [&] {
                     std::string methodName = std::string("Create") + listName + "List";
                     MonoClass* factory = VISDKCppBridge::WrapperClass("CVIWrapperFactory");
                     MonoMethod* create = factory ? g_mono.mono_class_get_method_from_name(factory, methodName.c_str(), -1) : nullptr;
                     return FactoryHandles{methodName, factory, create};
                 })
            .value;
    MonoObject* list = nullptr;
    if (!handles.factory) {
        g_debug.Error("Failed to get list factory class [%s]", listName);
    } else if (!handles.create) {
        g_debug.Error("Failed to get create list method [%s]", handles.methodName.c_str());
    } else {
        list = VISDKCppBridge::InvokeCaptured(handles.create, nullptr, nullptr, handles.methodName.c_str());
        if (!list)
            g_debug.Error("Failed to invoke create list method [%s]", handles.methodName.c_str());
    }
    if (!list)
        VISDKCppBridge::NoteIncompleteList(listName);
    return list;
}

void CVISDKHelper::ConvertStringList_NativeToManaged(MonoObject*& list, const std::vector<std::string>& in)
{
    list = CreateList("SStringInfoLib");
    if (!list)
        return;
    const AddHandles* handles = FindAddMethod(list);
    if (!handles || !ItemFits(handles->parameter, g_mono.mono_get_string_class(), list))
        return VISDKCppBridge::NoteIncompleteList("SStringInfoLib");
    for (const std::string& text : in)
        if (!AddItem(handles->add, list, VISDKCppBridge::std2gc(text, "SStringInfoLib")))
            return VISDKCppBridge::NoteIncompleteList("SStringInfoLib");
}

void CVISDKHelper::ConvertObject(std::string& out, MonoObject*& value)
{
    // Only a managed string is read as text; anything else reads as empty.
    bool isString = value && g_mono.mono_object_get_class(value) == g_mono.mono_get_string_class();
    out = isString ? VISDKCppBridge::gc2std(reinterpret_cast<MonoString*>(value)) : std::string();
}

void CVISDKHelper::ConvertStringInfoList(std::vector<std::string>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SStringInfoLibListEnumerator");
}

void CVISDKHelper::ConvertStringInfoList(MonoObject*& list, const std::vector<std::string>& in)
{
    ConvertStringList_NativeToManaged(list, in);
}

int CVISDKHelper::_GetZTDiskTypeFromVendorType(int flat, int split, int rawDeviceMap, int rdmCompatMode)
{
    if (flat == 0 || flat == 1) {
        if (split == 0)
            return flat == 0 ? 1 : 3;
        if (split == 1)
            return flat == 0 ? 5 : 6;
        return 0;
    }
    if (rawDeviceMap != 1)
        return 0;
    if (rdmCompatMode == 0)
        return 10;
    if (rdmCompatMode == 1)
        return 11;
    return 0;
}

int CVISDKHelper::_GetZTDatastoreType(int vendorType)
{
    return vendorType >= 0 && vendorType <= 3 ? vendorType + 1 : 0;
}

int CVISDKHelper::_GetZTDatastoreTypeValue(DatastoreType_t type)
{
    return type >= 1 && type <= 4 ? static_cast<int>(type) - 1 : -1;
}

} // namespace VISDKHelper

namespace VISDKHelper {

// Exported for hosts that walk lists of their own enumerators.
template void CVISDKHelper::ConvertList<std::string>(std::vector<std::string>&, MonoObject*, MonoObject*, const char*);

} // namespace VISDKHelper
