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

    // Inventory records whose fields are not served yet.
    public struct SVMInfoLib { }
    public struct SHostInfoLib { }
    public struct SDiskControllerLib { }
    public struct SDiskLib { }
    public struct SVMFileLib { }
    public struct SVMNetworkCardLib { }
    public struct SSnapshotLib { }
    public struct SDatastoreInfoLib { }
    public struct SInventoryInfoLib { }
    public struct SDataCenterInfoLib { }
    public struct SClusterInfoLib { }
    public struct SResourcePoolInfoLib { }
    public struct SVAppInfoLib { }
    public struct SNetworkInfoLib { }
    public struct SHostStorageAdapterInfoLib { }
    public struct SHostNetworkAdapterInfoLib { }
    public struct SSCSILUNInfoLib { }
    public struct SIOFilterHostResultLib { }
}
