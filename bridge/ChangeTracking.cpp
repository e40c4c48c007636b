#include "VISDKCppBridge.h"

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::SetChangeTrackingEnabled(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetChangeTrackingEnabled", vm, host);
}

int CVISDKCppBridge::SetChangeTrackingDisabled(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "SetChangeTrackingDisabled", vm, host);
}

// A change id that did not come back must not pass for a fresh one: backups built on it miss blocks. The client
// answers a failure with an empty text, and no disk has an empty change id.
int CVISDKCppBridge::GetChangeIdForDisk(const string& vm, const string& host, const string& snapshot, const string& disk,
                                        std::string& changeId)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, S, S, S>(*m_wrapper, up, "GetChangeIdForDisk", vm, host, snapshot, disk);
        CVIWrapperPtr::StringResult(result, changeId);
        return IsString(result) && !changeId.empty() ? 1 : 0;
    });
}

int CVISDKCppBridge::QueryChangedDiskAreas(const string& vm, const string& host, const string& snapshot, const string& disk,
                                           long long int startOffset, const string& changeId,
                                           VMInfoStructs::SDiskChangeInfo& changes)
{
    return ForwardLookup<int, S, S, S, S, V<long long>, S>(*m_wrapper, __PRETTY_FUNCTION__, "QueryChangedDiskAreas", {}, changes, vm,
                                                           host, snapshot, disk, startOffset, changeId);
}

int CVISDKCppBridge::GetDiskBlockInfo(const string& vm, const string& host, const string& snapshot, const string& disk, bool flag,
                                      VMInfoStructs::SDiskTotalBlockInfo& blocks,
                                      std::vector<VMInfoStructs::SDiskMetadataInfo>& metadata)
{
    return Forward<Int, Always, S, S, S, S, V<bool>, RO<VMInfoStructs::SDiskTotalBlockInfo>, LO<VMInfoStructs::SDiskMetadataInfo>>(
        *m_wrapper, __PRETTY_FUNCTION__, "GetDiskBlockInfoList", vm, host, snapshot, disk, flag, blocks, metadata);
}

bool CVISDKCppBridge::GetPageInfoForExtent(const string& vm, const string& host, const string& extent, int page,
                                           std::vector<std::__cxx11::basic_string<char> >& pages)
{
    return ForwardList<S, S, S, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetPageInfoForExtent", pages, vm, host, extent, page) != 0;
}

} // namespace VISDKCppBridge
