#include "VISDKCppBridge.h"

#include "ResultFrames.h"

namespace VISDKCppBridge {

using namespace frame;
using namespace VMInfoStructs;

int CVISDKCppBridge::GetDSInfoForDS(const string& datastore, const string& uuid, const string& hostOrCluster, UINT64 mask, int flags,
                                    VMInfoStructs::SDatastoreInfo& info)
{
    return ForwardLookup<int, S, S, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetDSInfoForDS",
                                                          {"strDataStoreName", "strDataStoreUUID"}, info, datastore, uuid,
                                                          hostOrCluster, mask, flags);
}

int CVISDKCppBridge::GetHostInfoForHost(const string& host, UINT64 mask, int flags, VMInfoStructs::SHostInfo& info)
{
    return ForwardLookup<int, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetHostInfoForHost", {"strHostName"}, info, host,
                                                    mask, flags);
}

int CVISDKCppBridge::GetClusterInfoForCluster(const string& cluster, UINT64 mask, int flags, VMInfoStructs::SClusterInfo& info)
{
    return ForwardLookup<int, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetClusterInfoForCluster", {"strClusterName"}, info,
                                                    cluster, mask, flags);
}

int CVISDKCppBridge::GetRPInfoForRP(const string& pool, const string& hostOrCluster, UINT64 mask, int flags,
                                    VMInfoStructs::SResourcePoolInfo& info)
{
    return ForwardLookup<int, S, S, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetRPInfoForRP", {"strResourcePoolName"}, info,
                                                       pool, hostOrCluster, mask, flags);
}

int CVISDKCppBridge::GetInventoryObjectByMoref(const string& moref, int kind, UINT64 mask, int flags, VMInfoStructs::SInventoryInfo& info)
{
    return ForwardLookup<int, S, V<int>, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "GetInventoryObjectByMoref", {"strName"}, info,
                                                            moref, kind, mask, flags);
}

int CVISDKCppBridge::BrowseInventory(const string& path, const VMInfoStructs::SInventoryInfo& node,
                                     std::vector<VMInfoStructs::SInventoryInfo>& children, UINT64 mask, int flags)
{
    return ForwardList<S, RV<SInventoryInfo>, V<UINT64>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "BrowseInventory", children, path, node,
                                                                 mask, flags);
}

int CVISDKCppBridge::GetDeviceList(const string& host, const string& adapter, std::vector<VMInfoStructs::SSCSILunInfo>& luns)
{
    return ForwardList<S, S>(*m_wrapper, __PRETTY_FUNCTION__, "GetDeviceList", luns, host, adapter);
}

bool CVISDKCppBridge::DoesVMExist(const string& name, const string& uuid, const string& host, const string& datacenter, std::string& moref)
{
    return Forward<Bool, IfTrue, S, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "DoesVMExist", name, uuid, host, datacenter, moref);
}

int CVISDKCppBridge::CheckHostForVMName(const string& host, const string& name)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CheckHostForVMName", host, name);
}

bool CVISDKCppBridge::GetLUNInformationForRDM(const string& host, const string& lun, VMInfoStructs::SDatastoreInfo& info)
{
    return Forward<Bool, IfTrue, S, S, RO<SDatastoreInfo>>(*m_wrapper, __PRETTY_FUNCTION__, "GetLUNInformationForRDM", host, lun, info);
}

int CVISDKCppBridge::RefreshHostAdapter(const string& host, const VMInfoStructs::SHostStorageAdapterInfo& adapter,
                                        const std::vector<VMInfoStructs::SDatastoreInfo>& datastores)
{
    return Forward<Int, Always, S, RV<SHostStorageAdapterInfo>, LI<SDatastoreInfo>>(*m_wrapper, __PRETTY_FUNCTION__, "RefreshHostAdapter",
                                                                                    host, adapter, datastores);
}

bool CVISDKCppBridge::GetHostListForDatastore(const string& datastore, std::vector<std::__cxx11::basic_string<char> >& hosts)
{
    return Forward<Bool, IfTrue, S, LO<std::string>>(*m_wrapper, __PRETTY_FUNCTION__, "GetHostListForDatastore", datastore, hosts);
}

} // namespace VISDKCppBridge
