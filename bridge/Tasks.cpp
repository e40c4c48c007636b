#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;
using VMInfoStructs::SDisk;

bool CVISDKCppBridge::WaitForTask(const string& task, int timeout, bool& done, bool& failed)
{
    return Forward<Bool, Always, S, V<int>, R<bool>, R<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "WaitForTask", task, timeout, done, failed);
}

bool CVISDKCppBridge::CheckTaskProgress(const string& task, bool& done, bool& failed, int& progress)
{
    return Forward<Bool, Always, S, R<bool>, R<bool>, R<int>>(*m_wrapper, __PRETTY_FUNCTION__, "CheckTaskProgress", task, done, failed,
                                                                progress);
}

bool CVISDKCppBridge::CheckNewVMTaskProgress(const string& task, bool& done, bool& failed, int& progress, std::string& vm)
{
    return Forward<Bool, IfTrue, S, R<bool>, R<bool>, R<int>, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CheckNewVMTaskProgress", task, done,
                                                                    failed, progress, vm);
}

bool CVISDKCppBridge::CancelTask(const string& task)
{
    return Forward<Bool, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "CancelTask", task);
}

bool CVISDKCppBridge::CheckForRunningTasksOnVM(const string& vm, const string& host, std::string& task, std::string& description)
{
    return Forward<Bool, IfTrue, S, S, OS, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CheckForRunningTaskOnVM", vm, host, task, description);
}

bool CVISDKCppBridge::RelocateVM(const string& vm, const string& host, const string& targetHost, const string& datastore,
                                 const string& pool, bool flag, const std::vector<VMInfoStructs::SDisk>& disks)
{
    return Forward<Bool, Always, S, S, S, S, S, V<bool>, LI<SDisk>>(*m_wrapper, __PRETTY_FUNCTION__, "RelocateVM", vm, host, targetHost,
                                                                      datastore, pool, flag, disks);
}

bool CVISDKCppBridge::RelocateVM_Task(const string& vm, const string& host, const string& targetHost, const string& datastore,
                                      const string& pool, bool flag, const std::vector<VMInfoStructs::SDisk>& disks, std::string& task)
{
    return Forward<Bool, IfTrue, S, S, S, S, S, V<bool>, LI<SDisk>, OS>(*m_wrapper, __PRETTY_FUNCTION__, "RelocateVM_Task", vm, host,
                                                                          targetHost, datastore, pool, flag, disks, task);
}

bool CVISDKCppBridge::IsRelocateTaskInProgress(const string& vm, const string& host, std::string& task)
{
    return Forward<Bool, IfTrue, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "IsRelocateTaskInProgress", vm, host, task);
}

bool CVISDKCppBridge::CheckRelocatePrivilegeOnHost(const string& host)
{
    return Forward<Bool, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "CheckRelocatePrivilegeOnHost", host);
}

int CVISDKCppBridge::ReconfigureVM(VMInfoStructs::SVMInfo& info)
{
    return Forward<Int, Always, RV<VMInfoStructs::SVMInfo>>(*m_wrapper, __PRETTY_FUNCTION__, "ReconfigVM", info);
}

bool CVISDKCppBridge::ReconfigureVMNetworks(const string& vm, const string& host, const std::vector<VMInfoStructs::SVMNetworkCard>& cards,
                                            bool flag)
{
    return Forward<Bool, Always, S, S, LI<VMInfoStructs::SVMNetworkCard>, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__,
                                                                                     "ReconfigureVMNetworks", vm, host, cards, flag);
}

bool CVISDKCppBridge::ReconfigureVMBootOptions(const string& vm, const string& host,
                                               const std::vector<std::__cxx11::basic_string<char> >& order, bool first, bool second,
                                               bool third)
{
    return Forward<Bool, Always, S, S, LI<std::string>, V<bool>, V<bool>, V<bool>>(
        *m_wrapper, __PRETTY_FUNCTION__, "ReconfigureVMBootOptions", vm, host, order, first, second, third);
}

} // namespace VISDKCppBridge
