#include "VISDKCppBridge.h"

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;
using namespace VMInfoStructs;

int CVISDKCppBridge::GetHostInfoList(std::vector<VMInfoStructs::SHostInfo>& hosts, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetHostInfoList", hosts, mask, flags);
}

int CVISDKCppBridge::GetDCInfoList(std::vector<VMInfoStructs::SDataCenterInfo>& datacenters, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetDCInfoList", datacenters, mask, flags);
}

int CVISDKCppBridge::GetDSInfoList(std::vector<VMInfoStructs::SDatastoreInfo>& datastores, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetDSInfoList", datastores, mask, flags);
}

int CVISDKCppBridge::GetDSInfoListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SDatastoreInfo>& datastores,
                                                   UINT64 mask, int flags)
{
    return ForwardList<S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetDSInfoListForHostOrCluster", datastores, hostOrCluster,
                                             mask, flags);
}

int CVISDKCppBridge::GetSupportedGuestOSInfoListForHostOrCluster(const string& hostOrCluster,
                                                                 std::vector<VMInfoStructs::SGuestOSInfo>& guests)
{
    return ForwardList<S>(*m_wrapper, __PRETTY_FUNCTION__, "GetSupportedGuestOSInfoListForHostOrCluster", guests, hostOrCluster);
}

int CVISDKCppBridge::GetResourcePoolList(std::vector<VMInfoStructs::SResourcePoolInfo>& pools, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetRpInfoList", pools, mask, flags);
}

int CVISDKCppBridge::GetResourcePoolListForHostOrCluster(const string& hostOrCluster,
                                                         std::vector<VMInfoStructs::SResourcePoolInfo>& pools, UINT64 mask, int flags)
{
    return ForwardList<S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetRPInfoListForHostOrCluster", pools, hostOrCluster, mask,
                                             flags);
}

int CVISDKCppBridge::GetClusterInfoList(std::vector<VMInfoStructs::SClusterInfo>& clusters, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetClusterInfoList", clusters, mask, flags);
}

int CVISDKCppBridge::GetVAppInfoList(std::vector<VMInfoStructs::SVAppInfo>& vapps, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVAppInfoList", vapps, mask, flags);
}

int CVISDKCppBridge::GetInventoryInfoList(std::vector<VMInfoStructs::SInventoryInfo>& inventory, UINT64 mask, int flags)
{
    return ForwardList<V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetInventoryInfoList", inventory, mask, flags);
}

int CVISDKCppBridge::GetVMInventoryInfoListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SInventoryInfo>& vms,
                                                            UINT64 mask, int flags)
{
    return ForwardList<S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetVMInventoryInfoListForHostOrCluster", vms,
                                             hostOrCluster, mask, flags);
}

int CVISDKCppBridge::GetVMInfoList(std::vector<VMInfoStructs::SVMInfo>&, UINT64, int) { return 0; }

int CVISDKCppBridge::GetCustomizationSpecInfo(std::vector<VMInfoStructs::SCustomSpecInfo>&) { return 0; }

int CVISDKCppBridge::GetCompatibleDatastoresForStoragePolicy(const string& policy, std::vector<std::__cxx11::basic_string<char> >& names,
                                                             std::vector<VMInfoStructs::SDatastoreInfo>& datastores)
{
    return ForwardList<S, LI<std::string>>(*m_wrapper, __PRETTY_FUNCTION__, "GetCompatibleDatastoresForStoragePolicy", datastores, policy,
                                           names);
}

int CVISDKCppBridge::SelectDatastoreFromResourcePool(const string& pool, std::string& datastore, std::string& datastoreMoref)
{
    return Forward<Int, IfNonZero, S, OS, OS>(*m_wrapper, __PRETTY_FUNCTION__, "SelectDatastoreFromResourcePool", pool, datastore,
                                              datastoreMoref);
}

int CVISDKCppBridge::RefreshHostInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshHostInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshVMInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshVMInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshDSInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshDSInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshDCInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshDCInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshResourcePoolList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshResourcePoolList", mask, flags);
}

int CVISDKCppBridge::RefreshClusterInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshClusterInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshVAppInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshVAppInfoList", mask, flags);
}

int CVISDKCppBridge::RefreshInventoryInfoList(UINT64 mask, int flags)
{
    return Forward<Int, Always, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshInventoryInfoList", mask, flags);
}

} // namespace VISDKCppBridge
