#include "VISDKCppBridge.h"

#include <initializer_list>

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

namespace {

// A lookup's answer is a VM only when its key fields are filled; anything else is a miss and leaves the record alone.
bool FillIfKeyed(MonoObject* result, VMInfoStructs::SVMInfo& info, std::initializer_list<const char*> keys)
{
    if (!result)
        return false;
    for (const char* key : keys)
        if (IsStringFieldEmpty(result, key))
            return false;
    CVISDKHelper::ConvertObject(info, result);
    return true;
}

bool FillList(MonoObject* result, std::vector<VMInfoStructs::SVMInfo>& vms)
{
    if (!result)
        return false;
    ListOf<VMInfoStructs::SVMInfo>::Read(vms, result);
    return true;
}

} // namespace

int CVISDKCppBridge::GetVMInfoForVM(const string& vm, const string& host, const string& datacenter, UINT64 mask, int flags,
                                    VMInfoStructs::SVMInfo& info)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result =
            Invoke<Object, Always, S, S, S, V<UINT64>, V<int>>(*m_wrapper, up, "GetVMInfoForVM", vm, host, datacenter, mask, flags);
        return FillIfKeyed(result, info, {"strName"}) ? 1 : 0;
    });
}

// The snapshot string comes back whatever the lookup found.
int CVISDKCppBridge::GetVMInfoForVMSnapshot(const string& vm, const string& host, UINT64 mask, int flags, std::string& snapshot,
                                            VMInfoStructs::SVMInfo& info)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, S, V<UINT64>, V<int>, IOS>(*m_wrapper, up, "GetVMInfoForVMSnapshot", vm, host,
                                                                                   mask, flags, snapshot);
        return FillIfKeyed(result, info, {"strName", "strUuid"}) ? 1 : 0;
    });
}

int CVISDKCppBridge::GetVMInfoForVMByVMX(const string& vmxPath, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, V<UINT64>, V<int>>(*m_wrapper, up, "GetVMInfoForVMByVMX", vmxPath, mask, flags);
        return FillIfKeyed(result, info, {"strName", "strUuid"}) ? 1 : 0;
    });
}

bool CVISDKCppBridge::GetVMInfoForVMByMoref(const string& moref, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, false, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, V<UINT64>, V<int>>(*m_wrapper, up, "GetVMInfoForVMByMoref", moref, mask, flags);
        return FillIfKeyed(result, info, {"strName", "strUuid"});
    });
}

int CVISDKCppBridge::BrowseInventoryByMoref(const string& moref, int kind, UINT64 mask, int flags,
                                            std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, V<int>, V<UINT64>, V<int>>(*m_wrapper, up, "BrowseInventoryByMoref", moref,
                                                                                   kind, mask, flags);
        return FillList(result, vms) ? 1 : 0;
    });
}

int CVISDKCppBridge::BrowseInventoryByName(const string& name, int kind, UINT64 mask, int flags,
                                           std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, V<int>, V<UINT64>, V<int>>(*m_wrapper, up, "BrowseInventoryByName", name, kind,
                                                                                   mask, flags);
        return FillList(result, vms) ? 1 : 0;
    });
}

} // namespace VISDKCppBridge
