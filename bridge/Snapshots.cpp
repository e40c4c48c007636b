#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::CreateBackupSnapshot(const string& vm, const string& host, bool first, bool second, std::string& snapshot)
{
    return Forward<Int, IfNonZero, S, S, V<bool>, V<bool>, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CreateBackupSnapshot", vm, host,
                                                                 first, second, snapshot);
}

int CVISDKCppBridge::CreateSnapshotWithName(const string& vm, const string& host, const string& name, const string& description,
                                            bool first, bool second, std::string& snapshot)
{
    return Forward<Int, IfNonZero, S, S, S, S, V<bool>, V<bool>, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CreateSnapshotWithName", vm,
                                                                       host, name, description, first, second, snapshot);
}

int CVISDKCppBridge::CreateReplicationSnapshot(const string& vm, const string& host, bool first, bool second,
                                               std::string& snapshot)
{
    return Forward<Int, IfNonZero, S, S, V<bool>, V<bool>, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CreateReplicationSnapshot", vm,
                                                                 host, first, second, snapshot);
}

int CVISDKCppBridge::RemoveSnapshot(const string& vm, const string& host, const string& snapshot)
{
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveSnapshot", vm, host, snapshot);
}

int CVISDKCppBridge::RemoveSnapshot_Task(const string& vm, const string& host, const string& snapshot, std::string& task)
{
    return Forward<Int, IfNonZero, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveSnapshot_Task", vm, host, snapshot, task);
}

int CVISDKCppBridge::RemoveSnapshots(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveSnapshots", vm, host);
}

int CVISDKCppBridge::RemoveOldSnapshots(const string& vm, const string& host, int days)
{
    return Forward<Int, Always, S, S, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveOldSnapshots", vm, host, days);
}

int CVISDKCppBridge::CountBackupSnapshots(const string& vm, const string& host, int& count)
{
    return Forward<Int, Always, S, S, R<int>>(*m_wrapper, __PRETTY_FUNCTION__, "CountBackupSnapshots", vm, host, count);
}

int CVISDKCppBridge::CountReplicationSnapshots(const string& vm, const string& host, int& count)
{
    return Forward<Int, Always, S, S, R<int>>(*m_wrapper, __PRETTY_FUNCTION__, "CountReplicationSnapshots", vm, host, count);
}

int CVISDKCppBridge::RevertToCurrentSnapshot(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RevertToCurrentSnapshot", vm, host);
}

bool CVISDKCppBridge::RevertToSnapshot(const string& vm, const string& host, const string& snapshot)
{
    return Forward<Bool, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RevertToSnapshot", vm, host, snapshot);
}

bool CVISDKCppBridge::GetSnapshotInfo(const string& vm, const string& host, const string& snapshot, std::string& name,
                                      time_t& created, std::string& description, bool& flag)
{
    return Forward<Bool, IfTrue, S, S, S, OS, DT, OS, R<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "GetSnapshotInfo", vm, host,
                                                                 snapshot, name, created, description, flag);
}

bool CVISDKCppBridge::GetSnapshotSize(const string& vm, const string& host, const string& snapshot, long long unsigned int& size)
{
    return Forward<Bool, Always, S, S, S, R<unsigned long long>>(*m_wrapper, __PRETTY_FUNCTION__, "GetSnapshotSize", vm, host,
                                                                   snapshot, size);
}

// Success only when a file name came back: a stale name from the caller is no answer.
int CVISDKCppBridge::GetSnapshotFileNameUsingSnapMoref(const string& vm, const string& host, const string& snapshot,
                                                       std::string& file)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result =
            Invoke<Object, Always, S, S, S>(*m_wrapper, up, "GetSnapshotFileNameUsingSnapMoref", vm, host, snapshot);
        CVIWrapperPtr::StringResult(result, file);
        return IsString(result) && !file.empty() ? 1 : 0;
    });
}

bool CVISDKCppBridge::SetVMSnapshotLocation(const string& vm, const string& host, const string& datastore, const string& path,
                                            bool flag)
{
    return Forward<Bool, Always, S, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "SetVMSnapshotLocation", vm, host,
                                                        datastore, path, flag);
}

bool CVISDKCppBridge::CheckCreateSnapshotMethodDisabled(const string& vm, const string& host, std::string& reason)
{
    return Forward<Bool, IfTrue, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CheckCreateSnapshotMethodDisabled", vm, host, reason);
}

} // namespace VISDKCppBridge
