using System;
using System.Collections.Generic;

#pragma warning disable 0649

namespace VISDKWrapper
{
    public struct SVMOwnerInfoLib
    {
        public string name;
        public bool group;
        public bool fullAccess;
        public bool readAccess;
    }

    public struct SVMOptionValueLib
    {
        public string key;
#if !FAULTS
        public string value;
#endif
    }

    public struct SGuestFileLib
    {
        public string name;
        public long size;
        public int type;
#if !FAULTS
        public DateTime modifiedTime;
#endif
        public DateTime accessTime;
        public DateTime createTime;
        public int unixUserId;
        public int unixGroupId;
#if !FAULTS
        public int unixMode;
#endif
    }

    public struct SGuestOSInfoLib
    {
        public string fullName;
        public string guestID;
    }

    public struct SDiskChangeExtentLib
    {
        public long llStart;
        public long llLength;
    }

    public struct SDiskChangeInfoLib
    {
        public long llStartOffset;
        public long llLength;
        public List<SDiskChangeExtentLib> changedAreaList;
    }

    public struct SDiskBlockMapExtentInfoLib
    {
        public long length;
        public long logicalStart;
        public long physicalStart;
    }

    public struct SDiskBlockMapInfoLib
    {
        public string element;
        public List<SDiskBlockMapExtentInfoLib> MapAreaList;
    }

    public struct SDiskTotalBlockInfoLib
    {
        public long totalsize;
        public List<SDiskBlockMapInfoLib> TotalMapAreaList;
    }

    public struct SDiskLib
    {
        public string strFileName;
        public string strUUID;
        public int nDeviceKey;
        public long llMaxSizeInBytes;
        public long llCurrSizeInBytes;
        public int nFlat;
        public int nSplit;
        public int nRawDeviceMap;
        public int nRDMCompatMode;
        public string strControllerType;
        public int nControllerBusNumber;
        public int nUnitNumber;
        public string strLabel;
        public int nDatastoreType;
        public string strDataStoreName;
        public string strLUNUUID;
        public string strParentFileName;
        public string strVMFSPath;
        public string strParentNameForMultidatastore;
        public int nCDRomDevice;
        public int nIndependentMode;
        public int nPersistentMode;
        public int nThinProvisioned;
        public int nEagerZero;
        public string vmStoragePolicyName;
        public string vmStoragePolicyId;
    }

    public struct SDiskControllerLib
    {
        public string strControllerType;
        public int nControllerBusNumber;
        public string strScsiControllerType;
        public bool sharedBus;
    }

    public struct SVMNetworkCardLib
    {
        public string label;
        public string networkName;
        public string networkId;
        public string macAddress;
        public string nicType;
        public bool isConnected;
        public string ipAddress;
    }

    public struct SSnapshotLib
    {
        public string strMoRef;
        public string strName;
        public string strDescription;
        public DateTime creationTime;
        public List<SSnapshotLib> childSnapshots;
    }

    public struct SVMFileLib
    {
        public string strName;
        public long lSize;
        public int eFileType;
        public DateTime modifiedTime;
    }

    // Held by value in SVMInfoLib's "fileLayout".
    public struct SFilelayoutLib
    {
        public List<SDiskLib> diskList;
        public List<SVMFileLib> fileList;
    }

    public struct SVMInfoLib
    {
        public string strName;
        public string strGuestOSName;
        public string strUuid;
        public string strBiosUuid;
        public string strInstanceUuid;
        public string strConfigFile;
        public string strMoRef;
        public string strDataStoreName;
        public string strDataCenterName;
        public string strDataCenterPath;
        public string strResourcePoolPath;
        public string strInventoryPath;
        public string vmVersion;
        public string strToolsStatus;
        public string strFirmware;
        public string ipAddress;
        public string dnsHostName;
        public string hostName;
        public string clusterName;
        public string clusterMorefString;
        public string hostVersion;
        public string hostBuild;
        public string hostFullVersion;
        public int m_nStubbedSubclientID;
        public int m_nPowerOffTimeInHours;
        public List<SSnapshotLib> snapshotList;
        public List<SDiskLib> diskList;
        public List<SDiskControllerLib> diskControllerList;
        public List<SVMNetworkCardLib> networkCards;
        public SFilelayoutLib fileLayout;
        public long numOfCPU;
        public long memorySizeInMB;
        public long memoryResvInMB;
        public long memoryReservation;
        public long memoryLimit;
        public long memoryShares;
        public long videoRamSizeInKb;
        public long numDisks;
        public int numEthernetCards;
        public bool changeTrackingEnabled;
        public bool templateVM;
        public int toolsVersion;
        public int toolsStatus;
        public int connectionState;
        public int poweredState;
        public string bootTime;
        public int hostConnectionState;
        public string strGuestOSVersion;
        public long guestSize;
        public long usedSize;
        public bool supportPVEnabled;
        public string isoPath;
        public string notes;
        public List<SVMOptionValueLib> customAttributes;
        public List<SVMOptionValueLib> optionValues;
        public bool bDiskUUIDEnabled;
        public bool bIsSnapPresent;
        public List<string> vmPaths;
        public string KyStubReparseData;
        public bool vAppEnabled;
        public List<SVMOwnerInfoLib> owners;
        public string vmStoragePolicyName;
        public string vmStoragePolicyId;
        public string managedBy;
        public string managedByType;
    }

    public struct SInventoryInfoLib
    {
        public string strName;
        public string strGUID;
        public int type;
        public List<SInventoryInfoLib> children;
        public int flags;
    }

    public struct SHostStorageAdapterInfoLib
    {
        public string strAdapterType;
        public string strRemoteHost;
        public string strRemotePath;
        public string strIscsiName;
        public string strIscsiAlias;
        public string strportWorldWideName;
        public string strnodeWorldWideName;
    }

    public struct SSCSILUNInfoLib
    {
        public string strCanonicalName;
        public string strKey;
        public string strUUID;
        public string strLUNSerialNo;
        public string strStandardInquiry;
        public string strVendor;
        public SHostStorageAdapterInfoLib TargetAdapter;
    }

    public struct SHostNetworkAdapterInfoLib
    {
        public string device;
        public string configured;
        public string switchedType;
        public string portGroup;
        public string macAddress;
        public string ipAddress;
        public string subnetMask;
        public bool wakeOnLANSupported;
        public int speed;
    }

    public struct SNetworkInfoLib
    {
        public string strNetworkName;
        public string strNetworkMoref;
    }

    public struct SDatastoreInfoLib
    {
        public bool accessible;
        public string strDataStoreName;
        public string strDataStoreType;
        public string strDataStoreUUID;
        public string strDatastorePath;
        public string strMoref;
        public long i64TotalSize;
        public long i64FreeSpace;
        public List<SVMInfoLib> vmInfoList;
        public List<SSCSILUNInfoLib> extentsInfoList;
        public int blockSizeMB;
        public bool isShared;
    }

    public struct SHostInfoLib
    {
        public string strHostName;
        public string strMoRef;
        public string strHostDatacenter;
        public string strHostDatacenterPath;
        public string strHostDatacenterMoRef;
        public string strVMFolderPath;
        public string strResourcePool;
        public int connectionState;
        public bool maintenanceMode;
        public int numVMAndTemplates;
        public string version;
        public string fullVersion;
        public List<SVMInfoLib> vmInfoList;
        public List<SDatastoreInfoLib> datastoreList;
        public List<SNetworkInfoLib> nwList;
        public string manufacturer;
        public string model;
        public List<SHostStorageAdapterInfoLib> storageAdapterList;
        public List<SHostNetworkAdapterInfoLib> physicalNetAdapterList;
        public List<SHostNetworkAdapterInfoLib> virtualNetAdapterList;
        public bool bClustered;
        public bool faultToleranceEnabled;
        public string clusterName;
        public string strClusterMoref;
        public string faultDomain;
        public int logicalProcessors;
        public int processorSockets;
        public int cpuTotalMhz;
        public int cpuUsedMhz;
        public long memoryTotalBytes;
        public long memoryUsedMBytes;
    }

    public struct SDataCenterInfoLib
    {
        public string strName;
        public string strMoRef;
        public List<SVMInfoLib> vmInfoList;
    }

    public struct SClusterInfoLib
    {
        public string strClusterName;
        public string strClusterMoref;
        public List<SVMInfoLib> vmInfoList;
        public List<SHostInfoLib> hostInfoList;
    }

    public struct SResourcePoolInfoLib
    {
        public string strResourcePoolName;
        public int type;
        public List<SVMInfoLib> vmInfoList;
        public List<SResourcePoolInfoLib> childPoolList;
    }

    public struct SVAppInfoLib
    {
        public string strVAppName;
        public List<SVMInfoLib> vmInfoList;
        public List<SVAppInfoLib> childVAppList;
    }

    public struct SIOFilterHostResultLib
    {
        public string host;
        public List<string> errStrList;
    }

    public struct SIOFilterResultLib
    {
        public int eFilterState;
        public int eFilterInstallStatus;
        public string strVersion;
        public string strId;
        public List<SIOFilterHostResultLib> hostStatusList;
    }

    public struct SMgmtVersionLib
    {
        public string strVersion;
        public string strBuild;
        public string strFullVersion;
    }

    public struct SnapRestoreCtxLib
    {
        public string strEsxServerName;
        public List<SDatastoreInfoLib> datastores;
        public bool bResignatureVol;
        public bool bPrimaryDeviceMount;
    }
}
