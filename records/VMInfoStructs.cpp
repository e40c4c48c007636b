#include "VMInfoStructs.h"

namespace VMInfoStructs {

void SGuestFile::_Copy(const SGuestFile& other)
{
    if (this == &other)
        return;
    name = other.name;
    size = other.size;
    type = other.type;
    modifiedTime = other.modifiedTime;
    accessTime = other.accessTime;
    createTime = other.createTime;
    unixUserId = other.unixUserId;
    unixGroupId = other.unixGroupId;
    unixMode = other.unixMode;
}

void SGuestOSInfo::_Copy(const SGuestOSInfo& other)
{
    if (this == &other)
        return;
    nAux01 = other.nAux01;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    fullName = other.fullName;
    guestID = other.guestID;
    strAux04 = other.strAux04;
}

void SKeyPairInfo::_Copy(const SKeyPairInfo& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
}

void SRoleInfo::_Copy(const SRoleInfo& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
}

void SSecurityGroupInfo::_Copy(const SSecurityGroupInfo& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
}

void SReplicaSource::_Copy(const SReplicaSource& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
}

void SHostReplicaSetting::_Copy(const SHostReplicaSetting& other)
{
    if (this == &other)
        return;
    bAux01 = other.bAux01;
    sourceList = other.sourceList;
}

void SChildDisk::_Copy(const SChildDisk& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    nAux01 = other.nAux01;
    llAux01 = other.llAux01;
    llAux02 = other.llAux02;
    llAux03 = other.llAux03;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
    strAux06 = other.strAux06;
    nAux02 = other.nAux02;
    strAux07 = other.strAux07;
    nAux03 = other.nAux03;
    nAux04 = other.nAux04;
    bAux01 = other.bAux01;
    bAux02 = other.bAux02;
    llAux04 = other.llAux04;
    nAux05 = other.nAux05;
    strAux08 = other.strAux08;
    strAux09 = other.strAux09;
    llAux05 = other.llAux05;
    nAux06 = other.nAux06;
    llAux06 = other.llAux06;
    bAux03 = other.bAux03;
    strAux10 = other.strAux10;
    bAux04 = other.bAux04;
    strAux11 = other.strAux11;
}

void SDisk::_Copy(const SDisk& other)
{
    if (this == &other)
        return;
    strFileName = other.strFileName;
    nDiskType = other.nDiskType;
    strUUID = other.strUUID;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    nDeviceKey = other.nDeviceKey;
    bIndependentMode = other.bIndependentMode;
    bPersistentMode = other.bPersistentMode;
    llMaxSizeInBytes = other.llMaxSizeInBytes;
    llCurrSizeInBytes = other.llCurrSizeInBytes;
    llAux01 = other.llAux01;
    childDiskList = other.childDiskList;
    strControllerType = other.strControllerType;
    nControllerBusNumber = other.nControllerBusNumber;
    nUnitNumber = other.nUnitNumber;
    strLabel = other.strLabel;
    nDatastoreType = other.nDatastoreType;
    strDataStoreName = other.strDataStoreName;
    nProvisionType = other.nProvisionType;
    strLUNUUID = other.strLUNUUID;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
    strAux06 = other.strAux06;
    strAux07 = other.strAux07;
    strAux08 = other.strAux08;
    nAux01 = other.nAux01;
    llAux02 = other.llAux02;
    strAux09 = other.strAux09;
    strAux10 = other.strAux10;
    strParentFileName = other.strParentFileName;
    strVMFSPath = other.strVMFSPath;
    strParentNameForMultidatastore = other.strParentNameForMultidatastore;
    bAux01 = other.bAux01;
    nCDRomDevice = other.nCDRomDevice;
    bAux02 = other.bAux02;
    llAux03 = other.llAux03;
    bAux03 = other.bAux03;
    bAux04 = other.bAux04;
    nAux02 = other.nAux02;
    strAux11 = other.strAux11;
    strAux12 = other.strAux12;
    strAux13 = other.strAux13;
    strAux14 = other.strAux14;
    strAux15 = other.strAux15;
    bAux05 = other.bAux05;
    llAux04 = other.llAux04;
    strAux16 = other.strAux16;
    nAux03 = other.nAux03;
    bAux06 = other.bAux06;
    strAux17 = other.strAux17;
    bAux07 = other.bAux07;
    bAux08 = other.bAux08;
    bAux09 = other.bAux09;
    strAux18 = other.strAux18;
    strAux19 = other.strAux19;
    strAux20 = other.strAux20;
    bAux10 = other.bAux10;
    vmStoragePolicyName = other.vmStoragePolicyName;
    vmStoragePolicyId = other.vmStoragePolicyId;
    strAux21 = other.strAux21;
    strAux22 = other.strAux22;
    nAux04 = other.nAux04;
    nAux05 = other.nAux05;
    bAux11 = other.bAux11;
    bAux12 = other.bAux12;
    bAux13 = other.bAux13;
    strAux23 = other.strAux23;
    strAux24 = other.strAux24;
    strAux25 = other.strAux25;
    strAux26 = other.strAux26;
    strAux27 = other.strAux27;
    auxStringList = other.auxStringList;
    strAux28 = other.strAux28;
    strAux29 = other.strAux29;
    strAux30 = other.strAux30;
    strAux31 = other.strAux31;
    llAux05 = other.llAux05;
    bAux14 = other.bAux14;
    strAux32 = other.strAux32;
    strAux33 = other.strAux33;
    strAux34 = other.strAux34;
}

void SVMDiskController::_Copy(const SVMDiskController& other)
{
    if (this == &other)
        return;
    strControllerType = other.strControllerType;
    nControllerBusNumber = other.nControllerBusNumber;
    strScsiControllerType = other.strScsiControllerType;
    sharedBus = other.sharedBus;
}

void SVMNetworkCard::_Copy(const SVMNetworkCard& other)
{
    if (this == &other)
        return;
    label = other.label;
    networkName = other.networkName;
    networkId = other.networkId;
    strAux01 = other.strAux01;
    macAddress = other.macAddress;
    nicType = other.nicType;
    strAux02 = other.strAux02;
    isConnected = other.isConnected;
    bAux01 = other.bAux01;
    nAux01 = other.nAux01;
    llAux01 = other.llAux01;
    llAux02 = other.llAux02;
    ipAddress = other.ipAddress;
    bAux02 = other.bAux02;
    sAux01 = other.sAux01;
    sAux02 = other.sAux02;
    strAux03 = other.strAux03;
    strAux04 = other.strAux04;
    bAux03 = other.bAux03;
}

void SSubnetInfo::_Copy(const SSubnetInfo& other)
{
    if (this == &other)
        return;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    networkCardList = other.networkCardList;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
}

void SVMFile::_Copy(const SVMFile& other)
{
    if (this == &other)
        return;
    strName = other.strName;
    lSize = other.lSize;
    eFileType = other.eFileType;
    modifiedTime = other.modifiedTime;
    nAux01 = other.nAux01;
    strAux01 = other.strAux01;
    auxProperties = other.auxProperties;
    bAux01 = other.bAux01;
}

void SFilelayout::_Copy(const SFilelayout& other)
{
    if (this == &other)
        return;
    diskList = other.diskList;
    fileList = other.fileList;
}

void SSnapshot::_Copy(const SSnapshot& other)
{
    if (this == &other)
        return;
    auxStringList = other.auxStringList;
    strMoRef = other.strMoRef;
    strName = other.strName;
    strDescription = other.strDescription;
    creationTime = other.creationTime;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    keyPairList = other.keyPairList;
    childSnapshots = other.childSnapshots;
}

void SVMInfo::_Copy(const SVMInfo& other)
{
    if (this == &other)
        return;
    strName = other.strName;
    strGuestOSName = other.strGuestOSName;
    strUuid = other.strUuid;
    strBiosUuid = other.strBiosUuid;
    strInstanceUuid = other.strInstanceUuid;
    strConfigFile = other.strConfigFile;
    strMoRef = other.strMoRef;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    strDataStoreName = other.strDataStoreName;
    strDataCenterName = other.strDataCenterName;
    strDataCenterPath = other.strDataCenterPath;
    strResourcePoolPath = other.strResourcePoolPath;
    strInventoryPath = other.strInventoryPath;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
    vmVersion = other.vmVersion;
    strToolsStatus = other.strToolsStatus;
    strFirmware = other.strFirmware;
    ipAddress = other.ipAddress;
    dnsHostName = other.dnsHostName;
    hostName = other.hostName;
    clusterName = other.clusterName;
    clusterMorefString = other.clusterMorefString;
    hostVersion = other.hostVersion;
    hostBuild = other.hostBuild;
    hostFullVersion = other.hostFullVersion;
    strAux06 = other.strAux06;
    strAux07 = other.strAux07;
    strAux08 = other.strAux08;
    strAux09 = other.strAux09;
    strAux10 = other.strAux10;
    strAux11 = other.strAux11;
    bAux01 = other.bAux01;
    strAux12 = other.strAux12;
    nAux01 = other.nAux01;
    nAux02 = other.nAux02;
    nAux03 = other.nAux03;
    strAux13 = other.strAux13;
    m_nStubbedSubclientID = other.m_nStubbedSubclientID;
    m_nPowerOffTimeInHours = other.m_nPowerOffTimeInHours;
    snapshotList = other.snapshotList;
    diskList = other.diskList;
    diskControllerList = other.diskControllerList;
    networkCards = other.networkCards;
    fileLayout = other.fileLayout;
    numOfCPU = other.numOfCPU;
    nAux04 = other.nAux04;
    memorySizeInMB = other.memorySizeInMB;
    memoryResvInMB = other.memoryResvInMB;
    llAux01 = other.llAux01;
    memoryReservation = other.memoryReservation;
    memoryLimit = other.memoryLimit;
    memoryShares = other.memoryShares;
    bAux02 = other.bAux02;
    videoRamSize = other.videoRamSize;
    numDisks = other.numDisks;
    numEthernetCards = other.numEthernetCards;
    changeTrackingEnabled = other.changeTrackingEnabled;
    templateVM = other.templateVM;
    toolsVersion = other.toolsVersion;
    toolsStatus = other.toolsStatus;
    connectionState = other.connectionState;
    poweredState = other.poweredState;
    bootTime = other.bootTime;
    hostConnectionState = other.hostConnectionState;
    strGuestOSVersion = other.strGuestOSVersion;
    guestSize = other.guestSize;
    usedSize = other.usedSize;
    strAux14 = other.strAux14;
    strAux15 = other.strAux15;
    llAux02 = other.llAux02;
    strAux16 = other.strAux16;
    supportPVEnabled = other.supportPVEnabled;
    bAux03 = other.bAux03;
    isoPath = other.isoPath;
    notes = other.notes;
    customAttributes = other.customAttributes;
    optionValues = other.optionValues;
    bDiskUUIDEnabled = other.bDiskUUIDEnabled;
    bIsSnapPresent = other.bIsSnapPresent;
    vmPaths = other.vmPaths;
    keyPairList = other.keyPairList;
    securityGroupList = other.securityGroupList;
    strAux17 = other.strAux17;
    KyStubReparseData = other.KyStubReparseData;
    bAux04 = other.bAux04;
    bAux05 = other.bAux05;
    bAux06 = other.bAux06;
    nAux05 = other.nAux05;
    bAux07 = other.bAux07;
    llAux03 = other.llAux03;
    vAppEnabled = other.vAppEnabled;
    bAux08 = other.bAux08;
    nAux06 = other.nAux06;
    bAux09 = other.bAux09;
    bAux10 = other.bAux10;
    strAux18 = other.strAux18;
    strAux19 = other.strAux19;
    owners = other.owners;
    strAux20 = other.strAux20;
    strAux21 = other.strAux21;
    strAux22 = other.strAux22;
    strAux23 = other.strAux23;
    strAux24 = other.strAux24;
    auxNetworkCards = other.auxNetworkCards;
    strAux25 = other.strAux25;
    strAux26 = other.strAux26;
    auxStringList1 = other.auxStringList1;
    auxStringList2 = other.auxStringList2;
    guestOSInfo = other.guestOSInfo;
    strAux27 = other.strAux27;
    strAux28 = other.strAux28;
    nAux07 = other.nAux07;
    nAux08 = other.nAux08;
    strAux29 = other.strAux29;
    nAux09 = other.nAux09;
    strAux30 = other.strAux30;
    bAux11 = other.bAux11;
    vmStoragePolicyName = other.vmStoragePolicyName;
    vmStoragePolicyId = other.vmStoragePolicyId;
    managedBy = other.managedBy;
    managedByType = other.managedByType;
    nAux10 = other.nAux10;
    fcAdapterList = other.fcAdapterList;
    strAux31 = other.strAux31;
    strAux32 = other.strAux32;
    strAux33 = other.strAux33;
    strAux34 = other.strAux34;
}

void SHostStorageAdapterInfo::_Copy(const SHostStorageAdapterInfo& other)
{
    if (this == &other)
        return;
    strAdapterType = other.strAdapterType;
    strRemoteHost = other.strRemoteHost;
    strRemotePath = other.strRemotePath;
    strIscsiName = other.strIscsiName;
    strIscsiAlias = other.strIscsiAlias;
    strportWorldWideName = other.strportWorldWideName;
    strnodeWorldWideName = other.strnodeWorldWideName;
}

void SSCSILunInfo::_Copy(const SSCSILunInfo& other)
{
    if (this == &other)
        return;
    strCanonicalName = other.strCanonicalName;
    strKey = other.strKey;
    strUUID = other.strUUID;
    strLUNSerialNo = other.strLUNSerialNo;
    strStandardInquiry = other.strStandardInquiry;
    strVendor = other.strVendor;
    TargetAdapter = other.TargetAdapter;
}

void SHostNetworkAdapterInfo::_Copy(const SHostNetworkAdapterInfo& other)
{
    if (this == &other)
        return;
    device = other.device;
    configured = other.configured;
    switchedType = other.switchedType;
    portGroup = other.portGroup;
    macAddress = other.macAddress;
    ipAddress = other.ipAddress;
    subnetMask = other.subnetMask;
    wakeOnLANSupported = other.wakeOnLANSupported;
    speed = other.speed;
}

void SNetworkInfo::_Copy(const SNetworkInfo& other)
{
    if (this == &other)
        return;
    strNetworkName = other.strNetworkName;
    strNetworkMoref = other.strNetworkMoref;
    subnetList = other.subnetList;
    securityGroupList = other.securityGroupList;
}

void SDatastoreInfo::_Copy(const SDatastoreInfo& other)
{
    if (this == &other)
        return;
    accessible = other.accessible;
    strDataStoreName = other.strDataStoreName;
    strDataStoreType = other.strDataStoreType;
    strDataStoreUUID = other.strDataStoreUUID;
    strDatastorePath = other.strDatastorePath;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strMoref = other.strMoref;
    nAux01 = other.nAux01;
    i64TotalSize = other.i64TotalSize;
    i64FreeSpace = other.i64FreeSpace;
    vmInfoList = other.vmInfoList;
    extentsInfoList = other.extentsInfoList;
    auxStringList1 = other.auxStringList1;
    blockSizeMB = other.blockSizeMB;
    isShared = other.isShared;
    strAux03 = other.strAux03;
    bAux01 = other.bAux01;
    bAux02 = other.bAux02;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
    strAux06 = other.strAux06;
}

void SHostInfo::_Copy(const SHostInfo& other)
{
    if (this == &other)
        return;
    strHostName = other.strHostName;
    strMoRef = other.strMoRef;
    strAux01 = other.strAux01;
    strHostDatacenter = other.strHostDatacenter;
    strHostDatacenterPath = other.strHostDatacenterPath;
    strHostDatacenterMoRef = other.strHostDatacenterMoRef;
    strVMFolderPath = other.strVMFolderPath;
    strResourcePool = other.strResourcePool;
    strAux02 = other.strAux02;
    connectionState = other.connectionState;
    maintenanceMode = other.maintenanceMode;
    numVMAndTemplates = other.numVMAndTemplates;
    version = other.version;
    strAux03 = other.strAux03;
    fullVersion = other.fullVersion;
    vmInfoList = other.vmInfoList;
    datastoreList = other.datastoreList;
    nwList = other.nwList;
    securityGroupList = other.securityGroupList;
    keyPairList = other.keyPairList;
    roleList = other.roleList;
    manufacturer = other.manufacturer;
    model = other.model;
    storageAdapterList = other.storageAdapterList;
    physicalNetAdapterList = other.physicalNetAdapterList;
    virtualNetAdapterList = other.virtualNetAdapterList;
    bClustered = other.bClustered;
    faultToleranceEnabled = other.faultToleranceEnabled;
    replicaSetting = other.replicaSetting;
    clusterName = other.clusterName;
    strClusterMoref = other.strClusterMoref;
    faultDomain = other.faultDomain;
    logicalProcessors = other.logicalProcessors;
    processorSockets = other.processorSockets;
    cpuTotalMhz = other.cpuTotalMhz;
    cpuUsedMhz = other.cpuUsedMhz;
    memoryTotalBytes = other.memoryTotalBytes;
    memoryUsedBytes = other.memoryUsedBytes;
    strAux04 = other.strAux04;
    strAux05 = other.strAux05;
    strAux06 = other.strAux06;
    strAux07 = other.strAux07;
    strAux08 = other.strAux08;
}

void SClusterInfo::_Copy(const SClusterInfo& other)
{
    if (this == &other)
        return;
    strClusterName = other.strClusterName;
    strClusterMoref = other.strClusterMoref;
    vmInfoList = other.vmInfoList;
    hostInfoList = other.hostInfoList;
}

void SDataCenterInfo::_Copy(const SDataCenterInfo& other)
{
    if (this == &other)
        return;
    strName = other.strName;
    strAux01 = other.strAux01;
    strMoRef = other.strMoRef;
    vmInfoList = other.vmInfoList;
    datastoreList = other.datastoreList;
    clusterList = other.clusterList;
    hostInfoList = other.hostInfoList;
    keyPairList = other.keyPairList;
    securityGroupList = other.securityGroupList;
    nwList = other.nwList;
}

void SResourcePoolInfo::_Copy(const SResourcePoolInfo& other)
{
    if (this == &other)
        return;
    strResourcePoolName = other.strResourcePoolName;
    type = other.type;
    vmInfoList = other.vmInfoList;
    childPoolList = other.childPoolList;
}

void SVAppInfo::_Copy(const SVAppInfo& other)
{
    if (this == &other)
        return;
    strVAppName = other.strVAppName;
    strAux01 = other.strAux01;
    vmInfoList = other.vmInfoList;
    childVAppList = other.childVAppList;
    nwList = other.nwList;
}

void SInventoryInfo::_Copy(const SInventoryInfo& other)
{
    if (this == &other)
        return;
    strName = other.strName;
    strGUID = other.strGUID;
    type = other.type;
    children = other.children;
    flags = other.flags;
}

} // namespace VMInfoStructs
