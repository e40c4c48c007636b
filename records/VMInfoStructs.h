#ifndef VISDK_VMINFOSTRUCTS_H
#define VISDK_VMINFOSTRUCTS_H

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "VISDKExport.h"

typedef unsigned long long UINT64;

// Property-selection mask: tells the managed side which parts of each returned record to fill.
const UINT64 MIN_VM_PROPS = 0x0ULL;
const UINT64 VM_PROP_ALL = 0xFFFFFFFFFFFFFFFFULL;
const UINT64 VM_PROP_ALL_VM = 0x000000000000FFFFULL;
const UINT64 VM_PROP_ALL_HOST = 0x00000000FFFF0000ULL;
const UINT64 VM_PROP_ALL_DS = 0x00000FFF00000000ULL;
const UINT64 VM_PROP_ALL_OTHER = 0x00FFF00000000000ULL;
const UINT64 VM_PROP_ALL_SPECIAL = 0xFF00000000000000ULL;

const UINT64 VM_PROP_VM_HOST_INFO = 0x1ULL;
const UINT64 VM_PROP_VM_GUEST_INFO = 0x2ULL;
const UINT64 VM_PROP_VM_CFG_FILE = 0x4ULL;
const UINT64 VM_PROP_VM_SNAPSHOT_LIST = 0x8ULL;
const UINT64 VM_PROP_VM_DISK_LIST = 0x10ULL;
const UINT64 VM_PROP_VM_NW_LIST = 0x20ULL;
const UINT64 VM_PROP_VM_HOSTDATACENTER = 0x40ULL;
const UINT64 VM_PROP_VM_REPLICATION_INFO = 0x80ULL;
const UINT64 VM_PROP_VM_DISK_LIST_ADVANCED = 0x100ULL;
const UINT64 VM_PROP_VM_STUB_STATE = 0x200ULL;
const UINT64 VM_PROP_VM_DS_FILE_LIST = 0x400ULL;
const UINT64 VM_PROP_VM_POWER_OFF_TIME = 0x800ULL;
const UINT64 VM_PROP_VM_OWNER_INFO = 0x1000ULL;
const UINT64 VM_PROP_VM_ATTRIBUTES = 0x2000ULL;
const UINT64 VM_PROP_HOST_KEY_PAIR_LIST = 0x800000ULL;
const UINT64 VM_PROP_HOST_RP_VM_LIST = 0x1000000ULL;
const UINT64 VM_PROP_HOST_DS_LIST = 0x2000000ULL;
const UINT64 VM_PROP_HOST_NW_LIST = 0x4000000ULL;
const UINT64 VM_PROP_HOST_ADAP_INFO = 0x8000000ULL;
const UINT64 VM_PROP_HOST_RSC_POOL_INFO = 0x10000000ULL;
const UINT64 VM_PROP_HOST_VM_LIST = 0x20000000ULL;
const UINT64 VM_PROP_HOST_REPLICATION_INFO = 0x40000000ULL;
const UINT64 VM_PROP_HOST_NW_ADAP_INFO = 0x80000000ULL;
const UINT64 VM_PROP_DS_EXTENT_LIST = 0x100000000ULL;
const UINT64 VM_PROP_DS_ALL_VMS = 0x200000000ULL;
const UINT64 VM_PROP_DS_VM_LIST = 0x400000000ULL;
const UINT64 VM_PROP_VAPP_VM_LIST = 0x100000000000ULL;
const UINT64 VM_PROP_DATACENTER_CLUSTER_LIST = 0x1000000000000ULL;
const UINT64 VM_PROP_DATACENTER_DS_LIST = 0x2000000000000ULL;
const UINT64 VM_PROP_CLUSTER_VM_LIST = 0x10000000000000ULL;
const UINT64 VM_PROP_CLUSTER_HOST_LIST = 0x20000000000000ULL;
const UINT64 VM_PROP_INCLUDE_PUBLIC_TEMPLATES = 0x4000000000000000ULL;
const UINT64 VM_PROP_INCLUDE_KY_BACKUP = 0x8000000000000000ULL;

// Datastore type of a disk: codes 1 to 4, 0 for a managed value outside them.
enum DatastoreType_t : int { eDatastoreTypeUnknown = 0, eDatastoreType1 = 1, eDatastoreType2 = 2, eDatastoreType3 = 3, eDatastoreType4 = 4 };

// Declared for the inert operations' signatures only; nothing reads them.
enum EAlarmCondition : int { eAlarmConditionNone = 0, eAlarmConditionCpu, eAlarmConditionMemory, eAlarmConditionDisk, eAlarmConditionNetwork };

struct VISDK_API StubVMCtx {
    std::string strVMName;
    std::string strHost;
    int nAux01 = 0;
};

// Records copy through _Copy; moves are member-wise, so vectors of large records grow without deep copies.
namespace VMInfoStructs {

// Bits of SInventoryInfo::flags, set by the managed side.
const int32_t INVENTORY_INFO_FLAG_POWERED_ON = 1;
const int32_t INVENTORY_INFO_FLAG_TEMPLATE = 2;
const int32_t INVENTORY_INFO_FLAG_TOOLS_RUNNING = 4;
const int32_t INVENTORY_INFO_FLAG_MAINTAINANCE_MODE = 8;

const UINT64 SDISK_BACKUP_FLAG_HIDDEN = 4ULL;

enum EPerformanceMetricType : int { ePerfMetricCpu = 0, ePerfMetricMemory, ePerfMetricDisk, ePerfMetricNetwork };

struct VISDK_API SVMOwnerInfo {
    std::string name;
    bool group = false;
    bool fullAccess = false;
    bool readAccess = false;
};

struct VISDK_API SVMOptionValue {
    std::string key;
    std::string value;
};

struct VISDK_API SGuestFile {
    std::string name;
    int64_t size = 0;
    int32_t type = 0;
    time_t modifiedTime = 0;
    time_t accessTime = 0;
    time_t createTime = 0;
    int32_t unixUserId = 0;
    int32_t unixGroupId = 0;
    int32_t unixMode = 0;

    SGuestFile() = default;
    SGuestFile(SGuestFile&&) = default;
    SGuestFile& operator=(SGuestFile&&) = default;
    SGuestFile(const SGuestFile& other) : SGuestFile() { _Copy(other); }
    SGuestFile& operator=(const SGuestFile& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SGuestFile& other);
};

struct VISDK_API SGuestOSInfo {
    int32_t nAux01 = 0;
    std::string strAux01 = "Any";
    std::string strAux02 = "Any";
    std::string strAux03 = "Any";
    std::string fullName = "Any";
    std::string guestID;
    std::string strAux04 = "Any";

    SGuestOSInfo() = default;
    SGuestOSInfo(SGuestOSInfo&&) = default;
    SGuestOSInfo& operator=(SGuestOSInfo&&) = default;
    SGuestOSInfo(const SGuestOSInfo& other) : SGuestOSInfo() { _Copy(other); }
    SGuestOSInfo& operator=(const SGuestOSInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SGuestOSInfo& other);
};

struct VISDK_API SDiskChangeExtent {
    int64_t llAux01 = 0;
    int64_t llStart = 0;
    int64_t llLength = 0;
};

struct VISDK_API SDiskChangeInfo {
    int64_t llStartOffset = 0;
    int64_t llLength = 0;
    int64_t llAux01 = 0;
    std::vector<SDiskChangeExtent> changedAreaList;
};

struct VISDK_API SDiskBlockMapExtentInfo {
    int64_t length = 0;
    int64_t logicalStart = 0;
    int64_t physicalStart = 0;
};

struct VISDK_API SDiskBlockMapInfo {
    std::string element;
    std::vector<SDiskBlockMapExtentInfo> MapAreaList;
};

struct VISDK_API SDiskTotalBlockInfo {
    int64_t totalsize = 0;
    std::vector<SDiskBlockMapInfo> TotalMapAreaList;
};

struct VISDK_API SDiskMetadataInfo {
    std::string key;
    std::string value;
};

struct VISDK_API SKeyPairInfo {
    std::string strAux01;
    std::string strAux02;

    SKeyPairInfo() = default;
    SKeyPairInfo(SKeyPairInfo&&) = default;
    SKeyPairInfo& operator=(SKeyPairInfo&&) = default;
    SKeyPairInfo(const SKeyPairInfo& other) : SKeyPairInfo() { _Copy(other); }
    SKeyPairInfo& operator=(const SKeyPairInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SKeyPairInfo& other);
};

struct VISDK_API SRoleInfo {
    std::string strAux01;
    std::string strAux02;

    SRoleInfo() = default;
    SRoleInfo(SRoleInfo&&) = default;
    SRoleInfo& operator=(SRoleInfo&&) = default;
    SRoleInfo(const SRoleInfo& other) : SRoleInfo() { _Copy(other); }
    SRoleInfo& operator=(const SRoleInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SRoleInfo& other);
};

struct VISDK_API SSecurityGroupInfo {
    std::string strAux01;
    std::string strAux02;

    SSecurityGroupInfo() = default;
    SSecurityGroupInfo(SSecurityGroupInfo&&) = default;
    SSecurityGroupInfo& operator=(SSecurityGroupInfo&&) = default;
    SSecurityGroupInfo(const SSecurityGroupInfo& other) : SSecurityGroupInfo() { _Copy(other); }
    SSecurityGroupInfo& operator=(const SSecurityGroupInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SSecurityGroupInfo& other);
};

struct VISDK_API SReplicaSource {
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;

    SReplicaSource() = default;
    SReplicaSource(SReplicaSource&&) = default;
    SReplicaSource& operator=(SReplicaSource&&) = default;
    SReplicaSource(const SReplicaSource& other) : SReplicaSource() { _Copy(other); }
    SReplicaSource& operator=(const SReplicaSource& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SReplicaSource& other);
};

struct VISDK_API SHostReplicaSetting {
    bool bAux01 = false;
    std::vector<SReplicaSource> sourceList;

    SHostReplicaSetting() = default;
    SHostReplicaSetting(SHostReplicaSetting&&) = default;
    SHostReplicaSetting& operator=(SHostReplicaSetting&&) = default;
    SHostReplicaSetting(const SHostReplicaSetting& other) : SHostReplicaSetting() { _Copy(other); }
    SHostReplicaSetting& operator=(const SHostReplicaSetting& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SHostReplicaSetting& other);
};

struct VISDK_API SFCAdapterInfo {
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;
    std::string strAux04;
    std::string strAux05;
};

struct VISDK_API SChildDisk {
    std::string strAux01;
    int32_t nAux01 = 0;
    int64_t llAux01 = 0;
    int64_t llAux02 = 0;
    int64_t llAux03 = 0;
    std::string strAux02;
    std::string strAux03;
    std::string strAux04;
    std::string strAux05;
    std::string strAux06;
    int32_t nAux02 = 0;
    std::string strAux07;
    int32_t nAux03 = 0;
    int32_t nAux04 = 0;
    bool bAux01 = false;
    bool bAux02 = false;
    int64_t llAux04 = 0;
    int32_t nAux05 = 0;
    std::string strAux08;
    std::string strAux09;
    int64_t llAux05 = 0;
    int32_t nAux06 = 0;
    int64_t llAux06 = 0;
    bool bAux03 = false;
    std::string strAux10;
    bool bAux04 = false;
    std::string strAux11;

    SChildDisk() = default;
    SChildDisk(SChildDisk&&) = default;
    SChildDisk& operator=(SChildDisk&&) = default;
    SChildDisk(const SChildDisk& other) : SChildDisk() { _Copy(other); }
    SChildDisk& operator=(const SChildDisk& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SChildDisk& other);
};

struct VISDK_API SDisk {
    std::string strFileName;
    int32_t nDiskType = 0;
    std::string strUUID;
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;
    int32_t nDeviceKey = 0;
    bool bIndependentMode = false;
    bool bPersistentMode = false;
    int64_t llMaxSizeInBytes = 0;
    int64_t llCurrSizeInBytes = 0;
    int64_t llAux01 = 0;
    std::vector<SChildDisk> childDiskList;
    std::string strControllerType;
    int32_t nControllerBusNumber = 0;
    int32_t nUnitNumber = 0;
    std::string strLabel;
    DatastoreType_t nDatastoreType = eDatastoreTypeUnknown;
    std::string strDataStoreName;
    int32_t nProvisionType = 0;
    std::string strLUNUUID;
    std::string strAux04;
    std::string strAux05;
    std::string strAux06;
    std::string strAux07;
    std::string strAux08;
    int32_t nAux01 = 1;
    int64_t llAux02 = 0;
    std::string strAux09;
    std::string strAux10;
    std::string strParentFileName;
    std::string strVMFSPath;
    std::string strParentNameForMultidatastore;
    bool bAux01 = false;
    int32_t nCDRomDevice = 1;
    bool bAux02 = true;
    int64_t llAux03 = -1;
    bool bAux03 = false;
    bool bAux04 = false;
    int32_t nAux02 = 0;
    std::string strAux11;
    std::string strAux12;
    std::string strAux13;
    std::string strAux14;
    std::string strAux15;
    bool bAux05 = false;
    int64_t llAux04 = 0;
    std::string strAux16;
    int32_t nAux03 = 0;
    bool bAux06 = false;
    std::string strAux17;
    bool bAux07 = false;
    bool bAux08 = false;
    bool bAux09 = false;
    std::string strAux18;
    std::string strAux19;
    std::string strAux20;
    bool bAux10 = true;
    std::string vmStoragePolicyName;
    std::string vmStoragePolicyId;
    std::string strAux21;
    std::string strAux22;
    int32_t nAux04 = 512;
    int32_t nAux05 = 0;
    bool bAux11 = false;
    bool bAux12 = false;
    bool bAux13 = false;
    std::string strAux23;
    std::string strAux24;
    std::string strAux25;
    std::string strAux26;
    std::string strAux27;
    std::vector<std::string> auxStringList;
    std::string strAux28;
    std::string strAux29;
    std::string strAux30;
    std::string strAux31;
    int64_t llAux05 = 0;
    bool bAux14 = false;
    std::string strAux32;
    std::string strAux33;
    std::string strAux34;

    SDisk() = default;
    SDisk(SDisk&&) = default;
    SDisk& operator=(SDisk&&) = default;
    SDisk(const SDisk& other) : SDisk() { _Copy(other); }
    SDisk& operator=(const SDisk& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SDisk& other);
};

struct VISDK_API SVMDiskController {
    std::string strControllerType;
    int32_t nControllerBusNumber = 0;
    std::string strScsiControllerType;
    bool sharedBus = false;

    SVMDiskController() = default;
    SVMDiskController(SVMDiskController&&) = default;
    SVMDiskController& operator=(SVMDiskController&&) = default;
    SVMDiskController(const SVMDiskController& other) : SVMDiskController() { _Copy(other); }
    SVMDiskController& operator=(const SVMDiskController& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SVMDiskController& other);
};

struct VISDK_API SVMNetworkCard {
    std::string label;
    std::string networkName;
    std::string networkId;
    std::string strAux01;
    std::string macAddress;
    std::string nicType;
    std::string strAux02;
    bool isConnected = true;
    bool bAux01 = false;
    int32_t nAux01 = 0;
    int64_t llAux01 = 0;
    int64_t llAux02 = 0;
    std::string ipAddress;
    bool bAux02 = false;
    int16_t sAux01 = 0;
    int16_t sAux02 = 0;
    std::string strAux03;
    std::string strAux04;
    bool bAux03 = false;

    SVMNetworkCard() = default;
    SVMNetworkCard(SVMNetworkCard&&) = default;
    SVMNetworkCard& operator=(SVMNetworkCard&&) = default;
    SVMNetworkCard(const SVMNetworkCard& other) : SVMNetworkCard() { _Copy(other); }
    SVMNetworkCard& operator=(const SVMNetworkCard& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SVMNetworkCard& other);
};

struct VISDK_API SSubnetInfo {
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;
    std::vector<SVMNetworkCard> networkCardList;
    std::string strAux04;
    std::string strAux05;

    SSubnetInfo() = default;
    SSubnetInfo(SSubnetInfo&&) = default;
    SSubnetInfo& operator=(SSubnetInfo&&) = default;
    SSubnetInfo(const SSubnetInfo& other) : SSubnetInfo() { _Copy(other); }
    SSubnetInfo& operator=(const SSubnetInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SSubnetInfo& other);
};

struct VISDK_API SVMFile {
    std::string strName;
    int64_t lSize = 0;
    int32_t eFileType = -1;
    time_t modifiedTime = 0;
    int32_t nAux01 = 0;
    std::string strAux01;
    std::map<std::string, std::string> auxProperties;
    bool bAux01 = false;

    SVMFile() = default;
    SVMFile(SVMFile&&) = default;
    SVMFile& operator=(SVMFile&&) = default;
    SVMFile(const SVMFile& other) : SVMFile() { _Copy(other); }
    SVMFile& operator=(const SVMFile& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SVMFile& other);
};

struct VISDK_API SFilelayout {
    std::vector<SDisk> diskList;
    std::vector<SVMFile> fileList;

    SFilelayout() = default;
    SFilelayout(SFilelayout&&) = default;
    SFilelayout& operator=(SFilelayout&&) = default;
    SFilelayout(const SFilelayout& other) : SFilelayout() { _Copy(other); }
    SFilelayout& operator=(const SFilelayout& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SFilelayout& other);
};

struct VISDK_API SSnapshot {
    std::vector<std::string> auxStringList;
    std::string strMoRef;
    std::string strName;
    std::string strDescription;
    time_t creationTime = 0;
    std::string strAux01;
    std::string strAux02;
    std::vector<SKeyPairInfo> keyPairList;
    std::vector<SSnapshot> childSnapshots;

    SSnapshot() = default;
    SSnapshot(SSnapshot&&) = default;
    SSnapshot& operator=(SSnapshot&&) = default;
    SSnapshot(const SSnapshot& other) : SSnapshot() { _Copy(other); }
    SSnapshot& operator=(const SSnapshot& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SSnapshot& other);
};

struct VISDK_API SVMInfo {
    std::string strName;
    std::string strGuestOSName;
    std::string strUuid;
    std::string strBiosUuid;
    std::string strInstanceUuid;
    std::string strConfigFile;
    std::string strMoRef;
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;
    std::string strDataStoreName;
    std::string strDataCenterName;
    std::string strDataCenterPath;
    std::string strResourcePoolPath;
    std::string strInventoryPath;
    std::string strAux04;
    std::string strAux05;
    std::string vmVersion;
    std::string strToolsStatus;
    std::string strFirmware;
    std::string ipAddress;
    std::string dnsHostName;
    std::string hostName;
    std::string clusterName;
    std::string clusterMorefString;
    std::string hostVersion;
    std::string hostBuild;
    std::string hostFullVersion;
    std::string strAux06;
    std::string strAux07;
    std::string strAux08;
    std::string strAux09;
    std::string strAux10;
    std::string strAux11;
    bool bAux01 = false;
    std::string strAux12;
    int32_t nAux01 = 0;
    int32_t nAux02 = 0;
    int32_t nAux03 = 0;
    std::string strAux13;
    int32_t m_nStubbedSubclientID = 0;
    int32_t m_nPowerOffTimeInHours = -1;
    std::vector<SSnapshot> snapshotList;
    std::vector<SDisk> diskList;
    std::vector<SVMDiskController> diskControllerList;
    std::vector<SVMNetworkCard> networkCards;
    SFilelayout fileLayout;
    int64_t numOfCPU = 0;
    int32_t nAux04 = 0;
    int64_t memorySizeInMB = -1;
    int64_t memoryResvInMB = -1;
    int64_t llAux01 = -1;
    int64_t memoryReservation = 0;
    int64_t memoryLimit = -1;
    int64_t memoryShares = -1;
    bool bAux02 = false;
    int64_t videoRamSize = 0;
    int64_t numDisks = 0;
    int32_t numEthernetCards = 0;
    bool changeTrackingEnabled = false;
    bool templateVM = false;
    int32_t toolsVersion = 0;
    int32_t toolsStatus = 99;
    int32_t connectionState = 0;
    int32_t poweredState = 0;
    std::string bootTime;
    int32_t hostConnectionState = -1;
    std::string strGuestOSVersion;
    int64_t guestSize = 0;
    int64_t usedSize = 0;
    std::string strAux14;
    std::string strAux15;
    int64_t llAux02 = 0;
    std::string strAux16;
    bool supportPVEnabled = false;
    bool bAux03 = false;
    std::string isoPath;
    std::string notes;
    std::vector<SVMOptionValue> customAttributes;
    std::vector<SVMOptionValue> optionValues;
    bool bDiskUUIDEnabled = false;
    bool bIsSnapPresent = false;
    std::vector<std::string> vmPaths;
    std::vector<SKeyPairInfo> keyPairList;
    std::vector<SSecurityGroupInfo> securityGroupList;
    std::string strAux17;
    std::string KyStubReparseData;
    bool bAux04 = false;
    bool bAux05 = false;
    bool bAux06 = false;
    int32_t nAux05 = 0;
    bool bAux07 = false;
    int64_t llAux03 = 0;
    bool vAppEnabled = false;
    bool bAux08 = false;
    int32_t nAux06 = 0;
    bool bAux09 = false;
    bool bAux10 = false;
    std::string strAux18;
    std::string strAux19;
    std::vector<SVMOwnerInfo> owners;
    std::string strAux20;
    std::string strAux21;
    std::string strAux22;
    std::string strAux23;
    std::string strAux24;
    std::vector<SVMNetworkCard> auxNetworkCards;
    std::string strAux25;
    std::string strAux26;
    std::vector<std::string> auxStringList1;
    std::vector<std::string> auxStringList2;
    SGuestOSInfo guestOSInfo;
    std::string strAux27;
    std::string strAux28;
    int32_t nAux07 = 0;
    int32_t nAux08 = 0;
    std::string strAux29;
    int32_t nAux09 = 0;
    std::string strAux30;
    bool bAux11 = false;
    std::string vmStoragePolicyName;
    std::string vmStoragePolicyId;
    std::string managedBy;
    std::string managedByType;
    int32_t nAux10 = 0;
    std::vector<SFCAdapterInfo> fcAdapterList;
    std::string strAux31;
    std::string strAux32;
    std::string strAux33;
    std::string strAux34;

    SVMInfo() = default;
    SVMInfo(SVMInfo&&) = default;
    SVMInfo& operator=(SVMInfo&&) = default;
    SVMInfo(const SVMInfo& other) : SVMInfo() { _Copy(other); }
    SVMInfo& operator=(const SVMInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SVMInfo& other);
};

struct VISDK_API SHostStorageAdapterInfo {
    std::string strAdapterType;
    std::string strRemoteHost;
    std::string strRemotePath;
    std::string strIscsiName;
    std::string strIscsiAlias;
    std::string strportWorldWideName;
    std::string strnodeWorldWideName;

    SHostStorageAdapterInfo() = default;
    SHostStorageAdapterInfo(SHostStorageAdapterInfo&&) = default;
    SHostStorageAdapterInfo& operator=(SHostStorageAdapterInfo&&) = default;
    SHostStorageAdapterInfo(const SHostStorageAdapterInfo& other) : SHostStorageAdapterInfo() { _Copy(other); }
    SHostStorageAdapterInfo& operator=(const SHostStorageAdapterInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SHostStorageAdapterInfo& other);
};

struct VISDK_API SSCSILunInfo {
    std::string strCanonicalName;
    std::string strKey;
    std::string strUUID;
    std::string strLUNSerialNo;
    std::string strStandardInquiry;
    std::string strVendor;
    SHostStorageAdapterInfo TargetAdapter;

    SSCSILunInfo() = default;
    SSCSILunInfo(SSCSILunInfo&&) = default;
    SSCSILunInfo& operator=(SSCSILunInfo&&) = default;
    SSCSILunInfo(const SSCSILunInfo& other) : SSCSILunInfo() { _Copy(other); }
    SSCSILunInfo& operator=(const SSCSILunInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SSCSILunInfo& other);
};

struct VISDK_API SHostNetworkAdapterInfo {
    std::string device;
    std::string configured;
    std::string switchedType;
    std::string portGroup;
    std::string macAddress;
    std::string ipAddress;
    std::string subnetMask;
    bool wakeOnLANSupported = false;
    int32_t speed = 0;

    SHostNetworkAdapterInfo() = default;
    SHostNetworkAdapterInfo(SHostNetworkAdapterInfo&&) = default;
    SHostNetworkAdapterInfo& operator=(SHostNetworkAdapterInfo&&) = default;
    SHostNetworkAdapterInfo(const SHostNetworkAdapterInfo& other) : SHostNetworkAdapterInfo() { _Copy(other); }
    SHostNetworkAdapterInfo& operator=(const SHostNetworkAdapterInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SHostNetworkAdapterInfo& other);
};

struct VISDK_API SNetworkInfo {
    std::string strNetworkName;
    std::string strNetworkMoref;
    std::vector<SSubnetInfo> subnetList;
    std::vector<SSecurityGroupInfo> securityGroupList;

    SNetworkInfo() = default;
    SNetworkInfo(SNetworkInfo&&) = default;
    SNetworkInfo& operator=(SNetworkInfo&&) = default;
    SNetworkInfo(const SNetworkInfo& other) : SNetworkInfo() { _Copy(other); }
    SNetworkInfo& operator=(const SNetworkInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SNetworkInfo& other);
};

struct VISDK_API SDatastoreInfo {
    bool accessible = true;
    std::string strDataStoreName;
    std::string strDataStoreType;
    std::string strDataStoreUUID;
    std::string strDatastorePath;
    std::string strAux01;
    std::string strAux02;
    std::string strMoref;
    int32_t nAux01 = 0;
    int64_t i64TotalSize = 0;
    int64_t i64FreeSpace = 0;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SSCSILunInfo> extentsInfoList;
    std::vector<std::string> auxStringList1;
    int32_t blockSizeMB = 0;
    bool isShared = false;
    std::string strAux03;
    bool bAux01 = false;
    bool bAux02 = false;
    std::string strAux04;
    std::string strAux05;
    std::string strAux06;

    SDatastoreInfo() = default;
    SDatastoreInfo(SDatastoreInfo&&) = default;
    SDatastoreInfo& operator=(SDatastoreInfo&&) = default;
    SDatastoreInfo(const SDatastoreInfo& other) : SDatastoreInfo() { _Copy(other); }
    SDatastoreInfo& operator=(const SDatastoreInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SDatastoreInfo& other);
};

struct VISDK_API SHostInfo {
    std::string strHostName;
    std::string strMoRef;
    std::string strAux01;
    std::string strHostDatacenter;
    std::string strHostDatacenterPath;
    std::string strHostDatacenterMoRef;
    std::string strVMFolderPath;
    std::string strResourcePool;
    std::string strAux02;
    int32_t connectionState = 0;
    bool maintenanceMode = false;
    int32_t numVMAndTemplates = -1;
    std::string version;
    std::string strAux03;
    std::string fullVersion;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SDatastoreInfo> datastoreList;
    std::vector<SNetworkInfo> nwList;
    std::vector<SSecurityGroupInfo> securityGroupList;
    std::vector<SKeyPairInfo> keyPairList;
    std::vector<SRoleInfo> roleList;
    std::string manufacturer;
    std::string model;
    std::vector<SHostStorageAdapterInfo> storageAdapterList;
    std::vector<SHostNetworkAdapterInfo> physicalNetAdapterList;
    std::vector<SHostNetworkAdapterInfo> virtualNetAdapterList;
    bool bClustered = false;
    bool faultToleranceEnabled = false;
    SHostReplicaSetting replicaSetting;
    std::string clusterName;
    std::string strClusterMoref;
    std::string faultDomain;
    int32_t logicalProcessors = 0;
    int32_t processorSockets = 0;
    int32_t cpuTotalMhz = 0;
    int32_t cpuUsedMhz = 0;
    int64_t memoryTotalBytes = 0;
    int64_t memoryUsedBytes = 0;
    std::string strAux04;
    std::string strAux05;
    std::string strAux06;
    std::string strAux07;
    std::string strAux08;

    SHostInfo() = default;
    SHostInfo(SHostInfo&&) = default;
    SHostInfo& operator=(SHostInfo&&) = default;
    SHostInfo(const SHostInfo& other) : SHostInfo() { _Copy(other); }
    SHostInfo& operator=(const SHostInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SHostInfo& other);
};

struct VISDK_API SClusterInfo {
    std::string strClusterName;
    std::string strClusterMoref;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SHostInfo> hostInfoList;

    SClusterInfo() = default;
    SClusterInfo(SClusterInfo&&) = default;
    SClusterInfo& operator=(SClusterInfo&&) = default;
    SClusterInfo(const SClusterInfo& other) : SClusterInfo() { _Copy(other); }
    SClusterInfo& operator=(const SClusterInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SClusterInfo& other);
};

struct VISDK_API SDataCenterInfo {
    std::string strName;
    std::string strAux01;
    std::string strMoRef;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SDatastoreInfo> datastoreList;
    std::vector<SClusterInfo> clusterList;
    std::vector<SHostInfo> hostInfoList;
    std::vector<SKeyPairInfo> keyPairList;
    std::vector<SSecurityGroupInfo> securityGroupList;
    std::vector<SNetworkInfo> nwList;

    SDataCenterInfo() = default;
    SDataCenterInfo(SDataCenterInfo&&) = default;
    SDataCenterInfo& operator=(SDataCenterInfo&&) = default;
    SDataCenterInfo(const SDataCenterInfo& other) : SDataCenterInfo() { _Copy(other); }
    SDataCenterInfo& operator=(const SDataCenterInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SDataCenterInfo& other);
};

struct VISDK_API SResourcePoolInfo {
    std::string strResourcePoolName;
    int32_t type = 0;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SResourcePoolInfo> childPoolList;

    SResourcePoolInfo() = default;
    SResourcePoolInfo(SResourcePoolInfo&&) = default;
    SResourcePoolInfo& operator=(SResourcePoolInfo&&) = default;
    SResourcePoolInfo(const SResourcePoolInfo& other) : SResourcePoolInfo() { _Copy(other); }
    SResourcePoolInfo& operator=(const SResourcePoolInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SResourcePoolInfo& other);
};

struct VISDK_API SVAppInfo {
    std::string strVAppName;
    std::string strAux01;
    std::vector<SVMInfo> vmInfoList;
    std::vector<SVAppInfo> childVAppList;
    std::vector<SNetworkInfo> nwList;

    SVAppInfo() = default;
    SVAppInfo(SVAppInfo&&) = default;
    SVAppInfo& operator=(SVAppInfo&&) = default;
    SVAppInfo(const SVAppInfo& other) : SVAppInfo() { _Copy(other); }
    SVAppInfo& operator=(const SVAppInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SVAppInfo& other);
};

struct VISDK_API SInventoryInfo {
    std::string strName;
    std::string strGUID;
    int32_t type = 0;
    std::vector<SInventoryInfo> children;
    int32_t flags = 0;

    SInventoryInfo() = default;
    SInventoryInfo(SInventoryInfo&&) = default;
    SInventoryInfo& operator=(SInventoryInfo&&) = default;
    SInventoryInfo(const SInventoryInfo& other) : SInventoryInfo() { _Copy(other); }
    SInventoryInfo& operator=(const SInventoryInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SInventoryInfo& other);
};

struct VISDK_API SMgmtVersion {
    std::string strVersion;
    std::string strBuild;
    std::string strFullVersion;
};

struct VISDK_API SCustomSpecInfo {
    std::string strAux01;
    std::string strAux02;
    std::string strAux03;
};

} // namespace VMInfoStructs

// Declared outside the namespace, as hosts know them.
struct VISDK_API SnapRestoreCtx {
    std::string strEsxServerName;
    std::vector<VMInfoStructs::SDatastoreInfo> datastores;
    bool bResignatureVol = false;
    bool bPrimaryDeviceMount = false;
};

struct VISDK_API SIOFilterHostStatus {
    std::string host;
    std::vector<std::string> errStrList;
};

struct VISDK_API SIOFilterStatus {
    bool bFilterState = false;
    int32_t eFilterInstallStatus = 0;
    std::string strVersion;
    std::string strId;
    std::vector<SIOFilterHostStatus> hostStatusList;
};

#endif
