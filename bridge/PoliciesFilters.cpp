#include "VISDKCppBridge.h"

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;
using VMInfoStructs::SDisk;

bool CVISDKCppBridge::GetVMStoragePolicies(const string& vm, const string& host, std::string& policyName, std::string& policyId,
                                           std::vector<VMInfoStructs::SDisk>& disks)
{
    return Forward<Bool, IfTrue, S, S, OS, OS, LR<SDisk>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMStoragePolicies", vm, host, policyName,
                                                            policyId, disks);
}

bool CVISDKCppBridge::AttachVMStoragePolicyToVMAndDisks(const string& vm, const string& host, const string& policyName,
                                                        const string& policyId, const std::vector<VMInfoStructs::SDisk>& disks)
{
    return Forward<Bool, Always, S, S, S, S, LI<SDisk>>(*m_wrapper, __PRETTY_FUNCTION__, "AttachVMStoragePolicyToVMAndDisks", vm, host,
                                                          policyName, policyId, disks);
}

bool CVISDKCppBridge::AttachVMStoragePolicyToVM(const string& vm, const string& host, const string& policyName, const string& policyId)
{
    return Forward<Bool, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "AttachVMStoragePolicyToVM", vm, host, policyName,
                                               policyId);
}

bool CVISDKCppBridge::DetachVMStoragePolicyFromVM(const string& vm, const string& host, const string& policyName, const string& policyId)
{
    return Forward<Bool, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DetachVMStoragePolicyFromVM", vm, host, policyName,
                                               policyId);
}

bool CVISDKCppBridge::InstallIOFilter(const string& cluster, const string& filter, const string& version, const string& vibUrl,
                                      const string& fifth)
{
    return Forward<Bool, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "InstallIOFilter", cluster, filter, version, vibUrl,
                                                  fifth);
}

bool CVISDKCppBridge::UninstallIOFilter(const string& cluster, const string& filter, const string& third)
{
    return Forward<Bool, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "UninstallIOFilter", cluster, filter, third);
}

bool CVISDKCppBridge::GetIOFilterStatus(const string& cluster, const string& filter, const string& third, SIOFilterStatus& status)
{
    return Forward<Bool, Always, S, S, S, RP<SIOFilterStatus>>(*m_wrapper, __PRETTY_FUNCTION__, "GetIOFilterStatus", cluster, filter,
                                                                 third, status);
}

bool CVISDKCppBridge::GetIOFilterAttachedVMList(const string& cluster, const string& filter, std::vector<VMInfoStructs::SVMInfo>& vms)
{
    return ForwardList<S, S>(*m_wrapper, __PRETTY_FUNCTION__, "GetIOFilterAttachedVMList", vms, cluster, filter) != 0;
}

} // namespace VISDKCppBridge
