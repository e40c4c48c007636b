#include <cstdint>

#include "FieldIo.h"
#include "ListFramework.h"

namespace VISDKHelper {

namespace {

// Managed mode flags are integers in which only 1 means set.
bool IsSet(int32_t flag) { return flag == 1; }
int32_t OneIf(bool condition) { return condition ? 1 : 0; }

// A limit of 0 means none was set, which hosts tell from -1 (never read) by the value -10.
int64_t MemoryLimitBytes(int64_t megabytes) { return megabytes == 0 ? -10 : ScaledLeft(megabytes, 20); }

int64_t KilobytesToBytes(int64_t kilobytes) { return ScaledLeft(kilobytes, 10); }

// The disk type is computed from four vendor flags, read in this order.
int32_t DiskType(FieldReader& io)
{
    int32_t compatMode = io.Value<int32_t>("nRDMCompatMode");
    int32_t rawDeviceMap = io.Value<int32_t>("nRawDeviceMap");
    int32_t split = io.Value<int32_t>("nSplit");
    int32_t flat = io.Value<int32_t>("nFlat");
    return CVISDKHelper::_GetZTDiskTypeFromVendorType(flat, split, rawDeviceMap, compatMode);
}

// Managed datastore types count from 0, native codes from 1 with 0 for unknown.
DatastoreType_t DatastoreType(int32_t managed) { return static_cast<DatastoreType_t>(CVISDKHelper::_GetZTDatastoreType(managed)); }

// Managed 1 marks a CD-ROM; natively it is 2, and 1 is a plain disk.
int32_t CDRomCode(int32_t managed) { return managed == 1 ? 2 : 1; }

// Thin wins over eager-zeroed, whose flag is then not even read.
int32_t ProvisionType(FieldReader& io)
{
    if (io.Value<int32_t>("nThinProvisioned") == 1)
        return 2;
    return io.Value<int32_t>("nEagerZero") == 1 ? 3 : 1;
}

void DiskReadFields(FieldReader& io, SDisk& r)
{
    io.Field(r.nDeviceKey, "nDeviceKey");
    io.Field(r.llMaxSizeInBytes, "llMaxSizeInBytes");
    io.Field(r.llCurrSizeInBytes, "llCurrSizeInBytes");
    r.nDiskType = DiskType(io);
    io.Field(r.strFileName, "strFileName");
    io.Field(r.strLUNUUID, "strLUNUUID");
    io.Field(r.strParentFileName, "strParentFileName");
    io.Field(r.strControllerType, "strControllerType");
    io.Field(r.nControllerBusNumber, "nControllerBusNumber");
    io.Field(r.nUnitNumber, "nUnitNumber");
    io.Field(r.strLabel, "strLabel");
    r.nDatastoreType = DatastoreType(io.Value<int32_t>("nDatastoreType"));
    io.Field(r.strDataStoreName, "strDataStoreName");
    io.Field(r.strUUID, "strUUID");
    io.Field(r.strVMFSPath, "strVMFSPath");
    r.nCDRomDevice = CDRomCode(io.Value<int32_t>("nCDRomDevice"));
    io.Field(r.strParentNameForMultidatastore, "strParentNameForMultidatastore");
    r.bIndependentMode = IsSet(io.Value<int32_t>("nIndependentMode"));
    r.bPersistentMode = IsSet(io.Value<int32_t>("nPersistentMode"));
    r.nProvisionType = ProvisionType(io);
    io.Field(r.vmStoragePolicyId, "vmStoragePolicyId");
    io.Field(r.vmStoragePolicyName, "vmStoragePolicyName");
}

// The disk type, UUID and VMFS path are never sent back.
void DiskWriteFields(FieldWriter& io, const SDisk& r)
{
    io.Field(r.nDeviceKey, "nDeviceKey");
    io.Field(r.llMaxSizeInBytes, "llMaxSizeInBytes");
    io.Field(r.llCurrSizeInBytes, "llCurrSizeInBytes");
    io.Field(r.strFileName, "strFileName");
    io.Field(r.strLUNUUID, "strLUNUUID");
    io.Field(r.strParentFileName, "strParentFileName");
    io.Field(r.strControllerType, "strControllerType");
    io.Field(r.nControllerBusNumber, "nControllerBusNumber");
    io.Field(r.nUnitNumber, "nUnitNumber");
    io.Field(r.strLabel, "strLabel");
    io.Field(r.strDataStoreName, "strDataStoreName");
    io.Field(r.strParentNameForMultidatastore, "strParentNameForMultidatastore");
    io.Field(r.vmStoragePolicyId, "vmStoragePolicyId");
    io.Field(r.vmStoragePolicyName, "vmStoragePolicyName");
    io.Field(OneIf(r.nProvisionType == 2), "nThinProvisioned");
    io.Field(OneIf(r.nProvisionType == 3), "nEagerZero");
    io.Field(OneIf(r.nCDRomDevice == 2), "nCDRomDevice");
    io.Field(OneIf(r.bIndependentMode), "nIndependentMode");
    io.Field(OneIf(r.bPersistentMode), "nPersistentMode");
    io.Field(CVISDKHelper::_GetZTDatastoreTypeValue(r.nDatastoreType), "nDatastoreType");
}

void ControllerReadFields(FieldReader& io, SVMDiskController& r)
{
    io.Field(r.strControllerType, "strControllerType");
    io.Field(r.strScsiControllerType, "strScsiControllerType");
    io.Field(r.nControllerBusNumber, "nControllerBusNumber");
    io.Field(r.sharedBus, "sharedBus");
}

void ControllerWriteFields(FieldWriter& io, const SVMDiskController& r)
{
    io.Field(r.nControllerBusNumber, "nControllerBusNumber");
    io.Field(r.strScsiControllerType, "strScsiControllerType");
    io.Field(r.strControllerType, "strControllerType");
    io.Field(r.sharedBus, "sharedBus");
}

void NetworkCardReadFields(FieldReader& io, SVMNetworkCard& r)
{
    io.Field(r.label, "label");
    io.Field(r.networkName, "networkName");
    io.Field(r.macAddress, "macAddress");
    io.Field(r.isConnected, "isConnected");
    io.Field(r.ipAddress, "ipAddress");
    io.Field(r.networkId, "networkId");
    io.Field(r.nicType, "nicType");
}

// The guest's IP address is reported by the managed side, never set from here.
void NetworkCardWriteFields(FieldWriter& io, const SVMNetworkCard& r)
{
    io.Field(r.isConnected, "isConnected");
    io.Field(r.label, "label");
    io.Field(r.networkName, "networkName");
    io.Field(r.networkId, "networkId");
    io.Field(r.nicType, "nicType");
    io.Field(r.macAddress, "macAddress");
}

void SnapshotFields(FieldReader& io, SSnapshot& r)
{
    io.Field(r.strMoRef, "strMoRef");
    io.Field(r.strName, "strName");
    io.Field(r.strDescription, "strDescription");
    io.Date(r.creationTime, "creationTime");
    io.Field(r.childSnapshots, "childSnapshots");
}

void VMFileFields(FieldReader& io, SVMFile& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.lSize, "lSize");
    io.Field(r.eFileType, "eFileType");
    io.Date(r.modifiedTime, "modifiedTime");
}

void FileLayoutFields(FieldReader& io, SFilelayout& r)
{
    io.Field(r.diskList, "diskList");
    io.Field(r.fileList, "fileList");
}

void VMInfoReadFields(FieldReader& io, SVMInfo& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.strGuestOSName, "strGuestOSName");
    io.Field(r.strUuid, "strUuid");
    io.Field(r.strBiosUuid, "strBiosUuid");
    io.Field(r.strInstanceUuid, "strInstanceUuid");
    io.Field(r.strConfigFile, "strConfigFile");
    io.Field(r.strMoRef, "strMoRef");
    io.Field(r.strGuestOSVersion, "strGuestOSVersion");
    io.Field(r.vmVersion, "vmVersion");
    io.Field(r.changeTrackingEnabled, "changeTrackingEnabled");
    io.Field(r.templateVM, "templateVM");
    io.Field(r.strDataStoreName, "strDataStoreName");
    io.Field(r.strDataCenterName, "strDataCenterName");
    io.Field(r.strDataCenterPath, "strDataCenterPath");
    io.Field(r.strResourcePoolPath, "strResourcePoolPath");
    io.Field(r.strInventoryPath, "strInventoryPath");
    io.Field(r.connectionState, "connectionState");
    io.Field(r.hostName, "hostName");
    io.Field(r.hostVersion, "hostVersion");
    io.Field(r.hostBuild, "hostBuild");
    io.Field(r.hostFullVersion, "hostFullVersion");
    io.Field(r.hostConnectionState, "hostConnectionState");
    io.Field(r.clusterMorefString, "clusterMorefString");
    io.Field(r.clusterName, "clusterName");
    io.Field(r.ipAddress, "ipAddress");
    io.Field(r.dnsHostName, "dnsHostName");
    io.Field(r.poweredState, "poweredState");
    io.Field(r.m_nStubbedSubclientID, "m_nStubbedSubclientID");
    io.Field(r.m_nPowerOffTimeInHours, "m_nPowerOffTimeInHours");
    io.Field(r.bDiskUUIDEnabled, "bDiskUUIDEnabled");
    io.Field(r.bIsSnapPresent, "bIsSnapPresent");
    io.Field(r.KyStubReparseData, "KyStubReparseData");
    io.Field(r.strToolsStatus, "strToolsStatus");
    io.Field(r.toolsStatus, "toolsStatus");
    io.Field(r.toolsVersion, "toolsVersion");
    io.Field(r.strFirmware, "strFirmware");
    io.Field(r.guestSize, "guestSize");
    io.Field(r.usedSize, "usedSize");
    io.Field(r.notes, "notes");
    io.Field(r.diskList, "diskList");
    io.Field(r.diskControllerList, "diskControllerList");
    io.Nested(r.fileLayout, "fileLayout");
    io.Field(r.snapshotList, "snapshotList");
    io.Field(r.vmPaths, "vmPaths");
    io.Field(r.networkCards, "networkCards");
    r.videoRamSize = KilobytesToBytes(io.Value<int64_t>("videoRamSizeInKb"));
    io.Field(r.numOfCPU, "numOfCPU");
    io.Field(r.numDisks, "numDisks");
    io.Field(r.memorySizeInMB, "memorySizeInMB");
    io.Field(r.memoryResvInMB, "memoryResvInMB");
    io.Field(r.memoryReservation, "memoryReservation");
    io.Field(r.numEthernetCards, "numEthernetCards");
    io.Field(r.bootTime, "bootTime");
    r.memoryLimit = MemoryLimitBytes(io.Value<int64_t>("memoryLimit"));
    io.Field(r.memoryShares, "memoryShares");
    io.Field(r.vAppEnabled, "vAppEnabled");
    io.Field(r.supportPVEnabled, "supportPVEnabled");
    io.Field(r.vmStoragePolicyId, "vmStoragePolicyId");
    io.Field(r.vmStoragePolicyName, "vmStoragePolicyName");
    io.Field(r.managedBy, "managedBy");
    io.Field(r.managedByType, "managedByType");
    io.Field(r.owners, "owners");
    io.Field(r.optionValues, "optionValues");
    io.Field(r.customAttributes, "customAttributes");
}

// Only what a create, reconfigure or clone request sets; memory goes out in megabytes, unscaled.
void VMInfoWriteFields(FieldWriter& io, const SVMInfo& r)
{
    io.Field(r.strName, "strName");
    io.Field(r.strUuid, "strUuid");
    io.Field(r.strInstanceUuid, "strInstanceUuid");
    io.Field(r.strBiosUuid, "strBiosUuid");
    io.Field(r.strGuestOSName, "strGuestOSName");
    io.Field(r.strMoRef, "strMoRef");
    io.Field(r.strGuestOSVersion, "strGuestOSVersion");
    io.Field(r.strConfigFile, "strConfigFile");
    io.Field(r.vmVersion, "vmVersion");
    io.Field(r.changeTrackingEnabled, "changeTrackingEnabled");
    io.Field(r.templateVM, "templateVM");
    io.Field(r.strDataCenterName, "strDataCenterName");
    io.Field(r.strDataCenterPath, "strDataCenterPath");
    io.Field(r.connectionState, "connectionState");
    io.Field(r.hostName, "hostName");
    io.Field(r.hostVersion, "hostVersion");
    io.Field(r.hostFullVersion, "hostFullVersion");
    io.Field(r.hostConnectionState, "hostConnectionState");
    io.Field(r.ipAddress, "ipAddress");
    io.Field(r.dnsHostName, "dnsHostName");
    io.Field(r.numDisks, "numDisks");
    io.Field(r.numOfCPU, "numOfCPU");
    io.Field(r.memorySizeInMB, "memorySizeInMB");
    io.Field(r.numEthernetCards, "numEthernetCards");
    io.Field(r.strDataStoreName, "strDataStoreName");
    io.Field(r.strFirmware, "strFirmware");
    io.Field(r.strResourcePoolPath, "strResourcePoolPath");
    io.Field(r.strInventoryPath, "strInventoryPath");
    io.Field(r.isoPath, "isoPath");
    io.Field(r.diskList, "diskList");
    io.Field(r.diskControllerList, "diskControllerList");
    io.Field(r.networkCards, "networkCards");
    io.Field(r.optionValues, "optionValues");
}

} // namespace

void CVISDKHelper::ConvertObject(SVMInfo& out, MonoObject*& object) { ReadRecord(out, object, VMInfoReadFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SVMInfo& in) { WriteRecord(object, in, VMInfoWriteFields); }
void CVISDKHelper::ConvertObject(SDisk& out, MonoObject*& object) { ReadRecord(out, object, DiskReadFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SDisk& in) { WriteRecord(object, in, DiskWriteFields); }
void CVISDKHelper::ConvertObject(SVMDiskController& out, MonoObject*& object) { ReadRecord(out, object, ControllerReadFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SVMDiskController& in) { WriteRecord(object, in, ControllerWriteFields); }
void CVISDKHelper::ConvertObject(SVMNetworkCard& out, MonoObject*& object) { ReadRecord(out, object, NetworkCardReadFields); }
void CVISDKHelper::ConvertObject(MonoObject*& object, const SVMNetworkCard& in) { WriteRecord(object, in, NetworkCardWriteFields); }
void CVISDKHelper::ConvertObject(SSnapshot& out, MonoObject*& object) { ReadRecord(out, object, SnapshotFields); }
void CVISDKHelper::ConvertObject(SVMFile& out, MonoObject*& object) { ReadRecord(out, object, VMFileFields); }
void CVISDKHelper::ConvertObject(SFilelayout& out, MonoObject*& object) { ReadRecord(out, object, FileLayoutFields); }

void CVISDKHelper::ConvertVMInfoList(std::vector<SVMInfo>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SVMInfoLibListEnumerator"); }

void CVISDKHelper::ConvertVMInfoList(MonoObject*& list, const std::vector<SVMInfo>& in)
{
    list = CreateList("SVMInfoLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SVMInfoLib");
}

void CVISDKHelper::ConvertDiskControllerList(std::vector<SVMDiskController>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDiskControllerLibListEnumerator");
}

void CVISDKHelper::ConvertDiskControllerList(MonoObject*& list, const std::vector<SVMDiskController>& in)
{
    list = CreateList("SDiskControllerLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SDiskControllerLib");
}

void CVISDKHelper::ConvertDiskList(std::vector<SDisk>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SDiskLibListEnumerator"); }

void CVISDKHelper::ConvertDiskList(MonoObject*& list, const std::vector<SDisk>& in)
{
    list = CreateList("SDiskLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SDiskLib");
}

void CVISDKHelper::ConvertVMFileList(std::vector<SVMFile>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SVMFileLibListEnumerator"); }

void CVISDKHelper::ConvertVMNetworkCardList(std::vector<SVMNetworkCard>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SVMNetworkCardLibListEnumerator");
}

void CVISDKHelper::ConvertVMNetworkCardList(MonoObject*& list, const std::vector<SVMNetworkCard>& in)
{
    list = CreateList("SVMNetworkCardLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SVMNetworkCardLib");
}

void CVISDKHelper::ConvertSnapshotList(std::vector<SSnapshot>& out, MonoObject* list) { ConvertList(out, list, nullptr, "SSnapshotLibListEnumerator"); }

} // namespace VISDKHelper
