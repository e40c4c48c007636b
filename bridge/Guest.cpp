#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;
using VMInfoStructs::SGuestFile;

bool CVISDKCppBridge::BrowseGuest(const string& vm, const string& host, const string& user, const string& password,
                                  const string& path, std::vector<SGuestFile>& files)
{
    return Forward<Bool, IfTrue, S, S, S, S, S, LO<SGuestFile>>(*m_wrapper, __PRETTY_FUNCTION__, "BrowseGuest", vm, host, user,
                                                                  password, path, files);
}

bool CVISDKCppBridge::BrowseGuestFolders(const string& vm, const string& host, const string& user, const string& password,
                                         const string& path, std::vector<SGuestFile>& folders)
{
    return Forward<Bool, IfTrue, S, S, S, S, S, LO<SGuestFile>>(*m_wrapper, __PRETTY_FUNCTION__, "BrowseGuestFolders", vm, host,
                                                                  user, password, path, folders);
}

bool CVISDKCppBridge::CreateGuestFolder(const string& vm, const string& host, const string& user, const string& password,
                                        const string& path)
{
    return Forward<Bool, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CreateGuestFolder", vm, host, user, password,
                                                  path);
}

bool CVISDKCppBridge::CopyFileFromGuest(const string& vm, const string& host, const string& user, const string& password,
                                        const string& guestPath, const string& localPath)
{
    return Forward<Bool, Always, S, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CopyFileFromGuest", vm, host, user, password,
                                                     guestPath, localPath);
}

bool CVISDKCppBridge::CopyFileToGuest(const string& vm, const string& host, const string& user, const string& password,
                                      const string& localPath, const string& guestPath, bool overwrite)
{
    return Forward<Bool, Always, S, S, S, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "CopyFileToGuest", vm, host, user,
                                                              password, localPath, guestPath, overwrite);
}

bool CVISDKCppBridge::ExecuteScriptInGuest(const string& vm, const string& host, const string& user, const string& password,
                                           const string& script, const string& arguments, const string& workingDirectory,
                                           int timeout, const string& interpreter, int& exitCode)
{
    return Forward<Bool, Always, S, S, S, S, S, S, S, V<int>, S, R<int>>(*m_wrapper, __PRETTY_FUNCTION__, "ExecuteScriptInGuest",
                                                                          vm, host, user, password, script, arguments,
                                                                          workingDirectory, timeout, interpreter, exitCode);
}

bool CVISDKCppBridge::ExecuteProcessInGuest(const string& vm, const string& host, const string& user, const string& password,
                                            const string& program, const string& arguments, const string& workingDirectory,
                                            int timeout, int& exitCode)
{
    return Forward<Bool, Always, S, S, S, S, S, S, S, V<int>, R<int>>(*m_wrapper, __PRETTY_FUNCTION__, "ExecuteProcessInGuest", vm,
                                                                       host, user, password, program, arguments,
                                                                       workingDirectory, timeout, exitCode);
}

bool CVISDKCppBridge::IsProcessRunningInGuest(const string& vm, const string& host, const string& user, const string& password,
                                              const string& process, long int pid, bool& running)
{
    return Forward<Bool, Always, S, S, S, S, S, V<long>, R<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "IsProcessRunningInGuest", vm,
                                                                    host, user, password, process, pid, running);
}

bool CVISDKCppBridge::GetGuestTempFolder(const string& vm, const string& host, const string& user, const string& password,
                                         std::string& folder)
{
    return Forward<Bool, IfTrue, S, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "GetGuestTempFolder", vm, host, user, password,
                                                   folder);
}

// The fifth parameter is only read, although it is taken by non-constant reference.
bool CVISDKCppBridge::DeleteDirectoryInGuest(const string& vm, const string& host, const string& user, const string& password,
                                             std::string& path)
{
    return Forward<Bool, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DeleteDirectoryInGuest", vm, host, user,
                                                  password, path);
}

bool CVISDKCppBridge::ChangeGuestFileAttributes(const string& vm, const string& host, const string& user, const string& password,
                                                const string& path, SGuestFile attributes)
{
    return Forward<Bool, Always, S, S, S, S, S, RV<SGuestFile>>(*m_wrapper, __PRETTY_FUNCTION__, "ChangeGuestFileAttributes", vm,
                                                                  host, user, password, path, attributes);
}

bool CVISDKCppBridge::ComputeGuestSize(const string& vm, const string& host, long long unsigned int& size)
{
    return Forward<Bool, Always, S, S, R<unsigned long long>>(*m_wrapper, __PRETTY_FUNCTION__, "ComputeGuestSize", vm, host, size);
}

} // namespace VISDKCppBridge
