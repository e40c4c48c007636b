#include "VISDKCppBridge.h"

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;
using VMInfoStructs::SVMInfo;

int CVISDKCppBridge::GetVMInfoForVM(const string& vm, const string& host, const string& datacenter, UINT64 mask, int flags,
                                    VMInfoStructs::SVMInfo& info)
{
    return ForwardLookup<int, S, S, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoForVM", {"strName"}, info, vm, host,
                                                          datacenter, mask, flags);
}

// The snapshot string comes back whatever the lookup found.
int CVISDKCppBridge::GetVMInfoForVMSnapshot(const string& vm, const string& host, UINT64 mask, int flags, std::string& snapshot,
                                            VMInfoStructs::SVMInfo& info)
{
    return ForwardLookup<int, S, S, V<UINT64>, V<int>, IOS>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoForVMSnapshot",
                                                            {"strName", "strUuid"}, info, vm, host, mask, flags, snapshot);
}

int CVISDKCppBridge::GetVMInfoForVMByVMX(const string& vmxPath, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info)
{
    return ForwardLookup<int, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoForVMByVMX", {"strName", "strUuid"}, info,
                                                    vmxPath, mask, flags);
}

bool CVISDKCppBridge::GetVMInfoForVMByMoref(const string& moref, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info)
{
    return ForwardLookup<bool, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInfoForVMByMoref", {"strName", "strUuid"},
                                                     info, moref, mask, flags);
}

int CVISDKCppBridge::BrowseInventoryByMoref(const string& moref, int kind, UINT64 mask, int flags,
                                            std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return ForwardList<S, V<int>, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "BrowseInventoryByMoref", vms, moref, kind, mask,
                                                     flags);
}

int CVISDKCppBridge::BrowseInventoryByName(const string& name, int kind, UINT64 mask, int flags,
                                           std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return ForwardList<S, V<int>, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "BrowseInventoryByName", vms, name, kind, mask,
                                                     flags);
}

} // namespace VISDKCppBridge
