#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;
using namespace VMInfoStructs;

int CVISDKCppBridge::GetHostKernelIPList(const string& host, std::string& addresses)
{
    return Forward<Int, IfNonZero, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "GetHostVMKernelIPList", host, addresses);
}

// Success only when a name came back: a stale name from the caller is no answer.
int CVISDKCppBridge::GetDatacenterNameFromHostName(const string& host, std::string& datacenter)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S>(*m_wrapper, up, "GetDatacenterNameFromHostName", host);
        CVIWrapperPtr::StringResult(result, datacenter);
        return IsString(result) && !datacenter.empty() ? 1 : 0;
    });
}

long long int CVISDKCppBridge::GetCurrentServerTime()
{
    return Forward<Long, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetCurrentServerTime");
}

std::string CVISDKCppBridge::GetCurrentTimeOnServer()
{
    return Forward<Str, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetCurrentTimeOnServer");
}

std::string CVISDKCppBridge::GetCurrentTimeOnHost(const string& host)
{
    return Forward<Str, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "GetCurrentTimeOnHost", host);
}

bool CVISDKCppBridge::DownloadHostLogBundle(const string& host, const string& localPath)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DownloadHostLogBundle", host, localPath);
}

bool CVISDKCppBridge::DownloadServerLogBundle(const string& localPath)
{
    return Forward<Bool, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "DownloadServerLogBundle", localPath);
}

bool CVISDKCppBridge::GetMgmtVersionInfo(VMInfoStructs::SMgmtVersion& version)
{
    return Forward<Bool, IfTrue, OR<SMgmtVersion>>(*m_wrapper, __PRETTY_FUNCTION__, "GetMgmtVersion", version);
}

} // namespace VISDKCppBridge
