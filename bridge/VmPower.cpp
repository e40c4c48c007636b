#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::PowerOnVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "PowerOnVM", vm, host);
}

int CVISDKCppBridge::SuspendVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SuspendVM", vm, host);
}

int CVISDKCppBridge::PowerOffVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "PowerOffVM", vm, host);
}

int CVISDKCppBridge::ShutdownVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "ShutdownVM", vm, host);
}

int CVISDKCppBridge::ReloadVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "ReloadVM", vm, host);
}

int CVISDKCppBridge::MountVMTools(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "MountVMTools", vm, host);
}

int CVISDKCppBridge::MarkAsTemplate(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "MarkAsTemplate", vm, host);
}

int CVISDKCppBridge::RenameVM(const string& vm, const string& host, const string& newName)
{
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RenameVM", vm, host, newName);
}

int CVISDKCppBridge::ReConfigureUUID(const string& vm, const string& host, const string& third, const string& fourth)
{
    return Forward<Int, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "Reconfig_UUID", vm, host, third, fourth);
}

int CVISDKCppBridge::AnnotateVM(const string& vm, const string& host, const string& annotation)
{
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "AnnotateVM", vm, host, annotation);
}

bool CVISDKCppBridge::ClearVMAlarms(const string& vm, const string& host)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "ClearVMAlarms", vm, host);
}

bool CVISDKCppBridge::ResetNetworkConnections(const string& vm, const string& host)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "ResetNetworkConnections", vm, host);
}

bool CVISDKCppBridge::AddVirtualNetwork(const string& first, const string& second)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "AddVirtualNetwork", first, second);
}

bool CVISDKCppBridge::RemoveVirtualNetwork(const string& first, const string& second)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveVirtualNetwork", first, second);
}

bool CVISDKCppBridge::VerifyVMXVersionForHost(const string& vm, const string& host)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "VerifyVMXVersionForHost", vm, host);
}

int CVISDKCppBridge::SetVMManagedByZantrel(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetVMManagedByZantrel", vm, host);
}

int CVISDKCppBridge::UnSetVMManagedByExtension(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "UnSetVMManagedByExtension", vm, host);
}

int CVISDKCppBridge::GetVMStubbedSubClientID(const string&, const string&) { return 0; }

int CVISDKCppBridge::PerformVMOperation(int, long, const string&, std::string&) { return 0; }

int CVISDKCppBridge::IsVMIdle(const string&, const string&, std::map<EAlarmCondition, std::pair<int, int> >&) { return 0; }

bool CVISDKCppBridge::StubVM(const StubVMCtx&) { return false; }

int CVISDKCppBridge::GetPerformanceCountersForVM(const string&, const string&, VMInfoStructs::EPerformanceMetricType, int,
                                                 std::vector<long long>&)
{
    return 0;
}

} // namespace VISDKCppBridge
