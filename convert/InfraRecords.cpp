#include <cstdint>

#include "FieldIo.h"
#include "ListFramework.h"

namespace VISDKHelper {

namespace {

void InventoryReadFields(FieldReader& io, SInventoryInfo& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.type, "type");
    io.Field(r.strGUID, "strGUID");
    io.Field(r.flags, "flags");
    io.Field(r.children, "children");
}

void InventoryWriteFields(FieldWriter& io, const SInventoryInfo& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.strGUID, "strGUID");
    io.Field(r.type, "type");
    io.Field(r.flags, "flags");
    io.Field(r.children, "children");
}

// Only a clustered host reports its cluster; otherwise the record keeps what it held.
void ClusterPlacement(FieldReader& io, SHostInfo& r)
{
    if (!r.bClustered)
        return;
    io.Field(r.clusterName, "clusterName");
    io.Field(r.strClusterMoref, "strClusterMoref");
    io.Field(r.faultDomain, "faultDomain");
}

// The host reports used memory in megabytes; the record holds bytes.
int64_t MegabytesToBytes(int64_t megabytes) { return ScaledLeft(megabytes, 20); }

void HostFields(FieldReader& io, SHostInfo& r)
{
    io.Field(r.strHostName, "strHostName");
    io.Field(r.strMoRef, "strMoRef");
    io.Field(r.strHostDatacenter, "strHostDatacenter");
    io.Field(r.strHostDatacenterPath, "strHostDatacenterPath");
    io.Field(r.strHostDatacenterMoRef, "strHostDatacenterMoRef");
    io.Field(r.strVMFolderPath, "strVMFolderPath");
    io.Field(r.strResourcePool, "strResourcePool");
    io.Field(r.bClustered, "bClustered");
    ClusterPlacement(io, r);
    io.Field(r.faultToleranceEnabled, "faultToleranceEnabled");
    io.Field(r.numVMAndTemplates, "numVMAndTemplates");
    io.Field(r.connectionState, "connectionState");
    io.Field(r.maintenanceMode, "maintenanceMode");
    io.Field(r.version, "version");
    io.Field(r.fullVersion, "fullVersion");
    io.Field(r.manufacturer, "manufacturer");
    io.Field(r.model, "model");
    io.Field(r.logicalProcessors, "logicalProcessors");
    io.Field(r.processorSockets, "processorSockets");
    io.Field(r.cpuTotalMhz, "cpuTotalMhz");
    io.Field(r.cpuUsedMhz, "cpuUsedMhz");
    io.Field(r.memoryTotalBytes, "memoryTotalBytes");
    r.memoryUsedBytes = MegabytesToBytes(io.Value<int64_t>("memoryUsedMBytes"));
    io.Field(r.physicalNetAdapterList, "physicalNetAdapterList");
    io.Field(r.virtualNetAdapterList, "virtualNetAdapterList");
    io.Field(r.vmInfoList, "vmInfoList");
    io.Field(r.datastoreList, "datastoreList");
    io.Field(r.nwList, "nwList");
    io.Field(r.storageAdapterList, "storageAdapterList");
}

// Sizes, flags and the reference are the managed side's own and never sent back.
template <typename Io, typename Record>
void DatastoreFields(Io& io, Record& r)
{
    ReadOnly(io, r.accessible, "accessible");
    io.Field(r.strDataStoreName, "strDataStoreName");
    ReadOnly(io, r.strMoref, "strMoref");
    ReadOnly(io, r.i64TotalSize, "i64TotalSize");
    ReadOnly(io, r.i64FreeSpace, "i64FreeSpace");
    io.Field(r.strDataStoreType, "strDataStoreType");
    io.Field(r.strDataStoreUUID, "strDataStoreUUID");
    io.Field(r.strDatastorePath, "strDatastorePath");
    ReadOnly(io, r.blockSizeMB, "blockSizeMB");
    ReadOnly(io, r.isShared, "isShared");
    io.Field(r.vmInfoList, "vmInfoList");
    io.Field(r.extentsInfoList, "extentsInfoList");
}

void DataCenterFields(FieldReader& io, SDataCenterInfo& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.strMoRef, "strMoRef");
    io.Field(r.vmInfoList, "vmInfoList");
}

void ClusterFields(FieldReader& io, SClusterInfo& r)
{
    io.Field(r.strClusterName, "strClusterName");
    io.Field(r.strClusterMoref, "strClusterMoref");
    io.Field(r.vmInfoList, "vmInfoList");
    io.Field(r.hostInfoList, "hostInfoList");
}

void ResourcePoolFields(FieldReader& io, SResourcePoolInfo& r)
{
    io.Field(r.strResourcePoolName, "strResourcePoolName");
    io.Field(r.type, "type");
    io.Field(r.vmInfoList, "vmInfoList");
    io.Field(r.childPoolList, "childPoolList");
}

void VAppFields(FieldReader& io, SVAppInfo& r)
{
    io.Field(r.strVAppName, "strVAppName");
    io.Field(r.vmInfoList, "vmInfoList");
    io.Field(r.childVAppList, "childVAppList");
}

void NetworkFields(FieldReader& io, SNetworkInfo& r)
{
    io.Field(r.strNetworkName, "strNetworkName");
    io.Field(r.strNetworkMoref, "strNetworkMoref");
}

void NetworkAdapterFields(FieldReader& io, SHostNetworkAdapterInfo& r)
{
    io.Field(r.device, "device");
    io.Field(r.configured, "configured");
    io.Field(r.switchedType, "switchedType");
    io.Field(r.portGroup, "portGroup");
    io.Field(r.macAddress, "macAddress");
    io.Field(r.ipAddress, "ipAddress");
    io.Field(r.subnetMask, "subnetMask");
    io.Field(r.wakeOnLANSupported, "wakeOnLANSupported");
    io.Field(r.speed, "speed");
}

template <typename Io, typename Record>
void StorageAdapterFields(Io& io, Record& r)
{
    io.Field(r.strAdapterType, "strAdapterType");
    io.Field(r.strRemoteHost, "strRemoteHost");
    io.Field(r.strRemotePath, "strRemotePath");
    io.Field(r.strIscsiName, "strIscsiName");
    io.Field(r.strIscsiAlias, "strIscsiAlias");
    io.Field(r.strportWorldWideName, "strportWorldWideName");
    io.Field(r.strnodeWorldWideName, "strnodeWorldWideName");
}

// The adapter is embedded by value in the managed LUN, not referenced.
template <typename Io, typename Record>
void LunFields(Io& io, Record& r)
{
    io.Field(r.strCanonicalName, "strCanonicalName");
    io.Field(r.strKey, "strKey");
    io.Field(r.strUUID, "strUUID");
    io.Field(r.strLUNSerialNo, "strLUNSerialNo");
    io.Field(r.strStandardInquiry, "strStandardInquiry");
    io.Field(r.strVendor, "strVendor");
    io.Nested(r.TargetAdapter, "TargetAdapter");
}

// The managed filter state is a code; natively only "enabled" (1) is kept.
void IOFilterFields(FieldReader& io, SIOFilterStatus& r)
{
    io.Field(r.strId, "strId");
    io.Field(r.strVersion, "strVersion");
    r.bFilterState = io.Value<int32_t>("eFilterState") == 1;
    io.Field(r.eFilterInstallStatus, "eFilterInstallStatus");
    io.Field(r.hostStatusList, "hostStatusList");
}

void IOFilterHostFields(FieldReader& io, SIOFilterHostStatus& r)
{
    io.Field(r.host, "host");
    io.Field(r.errStrList, "errStrList");
}

void MgmtVersionFields(FieldReader& io, SMgmtVersion& r)
{
    io.Field(r.strVersion, "strVersion");
    io.Field(r.strBuild, "strBuild");
    io.Field(r.strFullVersion, "strFullVersion");
}

void SnapRestoreFields(FieldWriter& io, const SnapRestoreCtx& r)
{
    io.Field(r.strEsxServerName, "strEsxServerName");
    io.Field(r.datastores, "datastores");
    io.Field(r.bResignatureVol, "bResignatureVol");
    io.Field(r.bPrimaryDeviceMount, "bPrimaryDeviceMount");
}

} // namespace

void CVISDKHelper::ConvertObject(SInventoryInfo& out, MonoObject*& object) { ReadRecord(out, object, InventoryReadFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SInventoryInfo& in) { WriteRecord(object, in, InventoryWriteFields); }
void CVISDKHelper::ConvertObject(SHostInfo& out, MonoObject*& object) { ReadRecord(out, object, HostFields); }

void CVISDKHelper::ConvertObject(SDatastoreInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, DatastoreFields<FieldReader, SDatastoreInfo>);
}

void CVISDKHelper::ConvertObject(MonoObject*& object, const SDatastoreInfo& in)
{
    WriteRecord(object, in, DatastoreFields<FieldWriter, const SDatastoreInfo>);
}

void CVISDKHelper::ConvertObject(SDataCenterInfo& out, MonoObject*& object) { ReadRecord(out, object, DataCenterFields); }
void CVISDKHelper::ConvertObject(SClusterInfo& out, MonoObject*& object) { ReadRecord(out, object, ClusterFields); }
void CVISDKHelper::ConvertObject(SResourcePoolInfo& out, MonoObject*& object) { ReadRecord(out, object, ResourcePoolFields); }
void CVISDKHelper::ConvertObject(SVAppInfo& out, MonoObject*& object) { ReadRecord(out, object, VAppFields); }
void CVISDKHelper::ConvertObject(SNetworkInfo& out, MonoObject*& object) { ReadRecord(out, object, NetworkFields); }
void CVISDKHelper::ConvertObject(SHostNetworkAdapterInfo& out, MonoObject*& object) { ReadRecord(out, object, NetworkAdapterFields); }

void CVISDKHelper::ConvertObject(SHostStorageAdapterInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, StorageAdapterFields<FieldReader, SHostStorageAdapterInfo>);
}

void CVISDKHelper::ConvertObject(MonoObject*& object, const SHostStorageAdapterInfo& in)
{
    WriteRecord(object, in, StorageAdapterFields<FieldWriter, const SHostStorageAdapterInfo>);
}

void CVISDKHelper::ConvertObject(SSCSILunInfo& out, MonoObject*& object) { ReadRecord(out, object, LunFields<FieldReader, SSCSILunInfo>); }

void CVISDKHelper::ConvertObject(MonoObject*& object, const SSCSILunInfo& in)
{
    WriteRecord(object, in, LunFields<FieldWriter, const SSCSILunInfo>);
}

void CVISDKHelper::ConvertObject(SIOFilterStatus& out, MonoObject*& object) { ReadRecord(out, object, IOFilterFields); }
void CVISDKHelper::ConvertObject(SIOFilterHostStatus& out, MonoObject*& object) { ReadRecord(out, object, IOFilterHostFields); }
void CVISDKHelper::ConvertObject(SMgmtVersion& out, MonoObject*& object) { ReadRecord(out, object, MgmtVersionFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SnapRestoreCtx& in) { WriteRecord(object, in, SnapRestoreFields); }

void CVISDKHelper::ConvertHostInfoList(std::vector<SHostInfo>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SHostInfoLibListEnumerator"); }

void CVISDKHelper::ConvertDatastoreInfoList(std::vector<SDatastoreInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDatastoreInfoLibListEnumerator");
}

void CVISDKHelper::ConvertDatastoreInfoList(MonoObject*& list, const std::vector<SDatastoreInfo>& in)
{
    list = CreateList("SDatastoreInfoLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SDatastoreInfoLib");
}

void CVISDKHelper::ConvertInventoryInfoList(std::vector<SInventoryInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SInventoryInfoLibListEnumerator");
}

void CVISDKHelper::ConvertInventoryInfoList(MonoObject*& list, const std::vector<SInventoryInfo>& in)
{
    list = CreateList("SInventoryInfoLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SInventoryInfoLib");
}

void CVISDKHelper::ConvertDataCenterInfoList(std::vector<SDataCenterInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDataCenterInfoLibListEnumerator");
}

void CVISDKHelper::ConvertClusterInfoList(std::vector<SClusterInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SClusterInfoLibListEnumerator");
}

void CVISDKHelper::ConvertResourcePoolInfoList(std::vector<SResourcePoolInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SResourcePoolInfoLibListEnumerator");
}

void CVISDKHelper::ConvertVAppInfoList(std::vector<SVAppInfo>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SVAppInfoLibListEnumerator"); }
void CVISDKHelper::ConvertNWInfoList(std::vector<SNetworkInfo>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SNetworkInfoLibListEnumerator"); }

void CVISDKHelper::ConvertHostStorageAdapterInfoList(std::vector<SHostStorageAdapterInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SHostStorageAdapterInfoLibListEnumerator");
}

void CVISDKHelper::ConvertHostNetworkAdapterInfoList(std::vector<SHostNetworkAdapterInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SHostNetworkAdapterInfoLibListEnumerator");
}

void CVISDKHelper::ConvertSCSILunInfoList(std::vector<SSCSILunInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SSCSILUNInfoLibListEnumerator");
}

void CVISDKHelper::ConvertSCSILunInfoList(MonoObject*& list, const std::vector<SSCSILunInfo>& in)
{
    list = CreateList("SSCSILUNInfoLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SSCSILUNInfoLib");
}

void CVISDKHelper::ConvertIOFilterHostResultList(std::vector<SIOFilterHostStatus>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SIOFilterHostResultLibListEnumerator");
}

} // namespace VISDKHelper
