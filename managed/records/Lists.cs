using System.Collections.Generic;

namespace VISDKWrapper
{
    public static class CVIWrapperFactory
    {
        public static List<string> CreateSStringInfoLibList() { return new List<string>(); }
        public static List<SHostInfoLib> CreateSHostInfoLibList() { return new List<SHostInfoLib>(); }
        public static List<SVMInfoLib> CreateSVMInfoLibList() { return new List<SVMInfoLib>(); }
        public static List<SDiskControllerLib> CreateSDiskControllerLibList() { return new List<SDiskControllerLib>(); }
#if !FAULTS
        public static List<SDiskLib> CreateSDiskLibList() { return new List<SDiskLib>(); }
#endif
        public static List<SVMFileLib> CreateSVMFileLibList() { return new List<SVMFileLib>(); }
        public static List<SVMNetworkCardLib> CreateSVMNetworkCardLibList() { return new List<SVMNetworkCardLib>(); }
        public static List<SSnapshotLib> CreateSSnapshotLibList() { return new List<SSnapshotLib>(); }
        public static List<SDatastoreInfoLib> CreateSDatastoreInfoLibList() { return new List<SDatastoreInfoLib>(); }
        public static List<SInventoryInfoLib> CreateSInventoryInfoLibList() { return new List<SInventoryInfoLib>(); }
        public static List<SDataCenterInfoLib> CreateSDataCenterInfoLibList() { return new List<SDataCenterInfoLib>(); }
        public static List<SClusterInfoLib> CreateSClusterInfoLibList() { return new List<SClusterInfoLib>(); }
        public static List<SResourcePoolInfoLib> CreateSResourcePoolInfoLibList() { return new List<SResourcePoolInfoLib>(); }
        public static List<SVAppInfoLib> CreateSVAppInfoLibList() { return new List<SVAppInfoLib>(); }
        public static List<SNetworkInfoLib> CreateSNetworkInfoLibList() { return new List<SNetworkInfoLib>(); }
        public static List<SHostStorageAdapterInfoLib> CreateSHostStorageAdapterInfoLibList() { return new List<SHostStorageAdapterInfoLib>(); }
        public static List<SHostNetworkAdapterInfoLib> CreateSHostNetworkAdapterInfoLibList() { return new List<SHostNetworkAdapterInfoLib>(); }
        public static List<SSCSILUNInfoLib> CreateSSCSILUNInfoLibList() { return new List<SSCSILUNInfoLib>(); }
        public static List<SVMOwnerInfoLib> CreateSVMOwnerInfoLibList() { return new List<SVMOwnerInfoLib>(); }
        public static List<SVMOptionValueLib> CreateSVMOptionValueLibList() { return new List<SVMOptionValueLib>(); }
        public static List<SDiskChangeExtentLib> CreateSDiskChangeExtentLibList() { return new List<SDiskChangeExtentLib>(); }
        public static List<SGuestFileLib> CreateSGuestFileLibList() { return new List<SGuestFileLib>(); }
        public static List<SDiskBlockMapInfoLib> CreateSDiskBlockMapInfoLibList() { return new List<SDiskBlockMapInfoLib>(); }
        public static List<SDiskBlockMapExtentInfoLib> CreateSDiskBlockMapExtentInfoLibList() { return new List<SDiskBlockMapExtentInfoLib>(); }
        public static List<SGuestOSInfoLib> CreateSGuestOSInfoLibList() { return new List<SGuestOSInfoLib>(); }
        public static List<SIOFilterHostResultLib> CreateSIOFilterHostResultLibList() { return new List<SIOFilterHostResultLib>(); }
#if FAULTS
        public static object CreateNoAddLibList() { return new NoAddList(); }
        public static object CreateNullLibList() { return null; }
        public static object CreateThrowingLibList() { throw new System.InvalidOperationException("The list could not be created"); }
        public static object CreateThrowingAddLibList() { return new ThrowingAddList(); }
#endif
    }

    // The runtime's lookup by name does not search base classes, so each enumerator declares its own members.
    public abstract class ListEnumerator<T>
    {
        List<T> items;
        int index = -1;

        protected static E Over<E>(List<T> list) where E : ListEnumerator<T>, new() { return list == null ? null : new E { items = list }; }
        protected bool Next() { return ++index < items.Count; }
        protected T Item() { return items[index]; }
    }

    public sealed class SStringInfoLibListEnumerator : ListEnumerator<string>
    {
        public static SStringInfoLibListEnumerator GetEnumerator(List<string> list) { return Over<SStringInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public string Current() { return Item(); }
    }

    public sealed class SHostInfoLibListEnumerator : ListEnumerator<SHostInfoLib>
    {
        public static SHostInfoLibListEnumerator GetEnumerator(List<SHostInfoLib> list) { return Over<SHostInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SHostInfoLib Current() { return Item(); }
    }

    public sealed class SVMInfoLibListEnumerator : ListEnumerator<SVMInfoLib>
    {
        public static SVMInfoLibListEnumerator GetEnumerator(List<SVMInfoLib> list) { return Over<SVMInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVMInfoLib Current() { return Item(); }
    }

    public sealed class SDiskControllerLibListEnumerator : ListEnumerator<SDiskControllerLib>
    {
        public static SDiskControllerLibListEnumerator GetEnumerator(List<SDiskControllerLib> list) { return Over<SDiskControllerLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDiskControllerLib Current() { return Item(); }
    }

    public sealed class SDiskLibListEnumerator : ListEnumerator<SDiskLib>
    {
        public static SDiskLibListEnumerator GetEnumerator(List<SDiskLib> list) { return Over<SDiskLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDiskLib Current() { return Item(); }
    }

    public sealed class SVMFileLibListEnumerator : ListEnumerator<SVMFileLib>
    {
        public static SVMFileLibListEnumerator GetEnumerator(List<SVMFileLib> list) { return Over<SVMFileLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVMFileLib Current() { return Item(); }
    }

    public sealed class SVMNetworkCardLibListEnumerator : ListEnumerator<SVMNetworkCardLib>
    {
        public static SVMNetworkCardLibListEnumerator GetEnumerator(List<SVMNetworkCardLib> list) { return Over<SVMNetworkCardLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVMNetworkCardLib Current() { return Item(); }
    }

    public sealed class SSnapshotLibListEnumerator : ListEnumerator<SSnapshotLib>
    {
        public static SSnapshotLibListEnumerator GetEnumerator(List<SSnapshotLib> list) { return Over<SSnapshotLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SSnapshotLib Current() { return Item(); }
    }

    public sealed class SDatastoreInfoLibListEnumerator : ListEnumerator<SDatastoreInfoLib>
    {
        public static SDatastoreInfoLibListEnumerator GetEnumerator(List<SDatastoreInfoLib> list) { return Over<SDatastoreInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDatastoreInfoLib Current() { return Item(); }
    }

    public sealed class SInventoryInfoLibListEnumerator : ListEnumerator<SInventoryInfoLib>
    {
        public static SInventoryInfoLibListEnumerator GetEnumerator(List<SInventoryInfoLib> list) { return Over<SInventoryInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SInventoryInfoLib Current() { return Item(); }
    }

    public sealed class SDataCenterInfoLibListEnumerator : ListEnumerator<SDataCenterInfoLib>
    {
        public static SDataCenterInfoLibListEnumerator GetEnumerator(List<SDataCenterInfoLib> list) { return Over<SDataCenterInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDataCenterInfoLib Current() { return Item(); }
    }

    public sealed class SClusterInfoLibListEnumerator : ListEnumerator<SClusterInfoLib>
    {
        public static SClusterInfoLibListEnumerator GetEnumerator(List<SClusterInfoLib> list) { return Over<SClusterInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SClusterInfoLib Current() { return Item(); }
    }

    public sealed class SResourcePoolInfoLibListEnumerator : ListEnumerator<SResourcePoolInfoLib>
    {
        public static SResourcePoolInfoLibListEnumerator GetEnumerator(List<SResourcePoolInfoLib> list) { return Over<SResourcePoolInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SResourcePoolInfoLib Current() { return Item(); }
    }

    public sealed class SVAppInfoLibListEnumerator : ListEnumerator<SVAppInfoLib>
    {
        public static SVAppInfoLibListEnumerator GetEnumerator(List<SVAppInfoLib> list) { return Over<SVAppInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVAppInfoLib Current() { return Item(); }
    }

    public sealed class SNetworkInfoLibListEnumerator : ListEnumerator<SNetworkInfoLib>
    {
        public static SNetworkInfoLibListEnumerator GetEnumerator(List<SNetworkInfoLib> list) { return Over<SNetworkInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SNetworkInfoLib Current() { return Item(); }
    }

    public sealed class SHostStorageAdapterInfoLibListEnumerator : ListEnumerator<SHostStorageAdapterInfoLib>
    {
        public static SHostStorageAdapterInfoLibListEnumerator GetEnumerator(List<SHostStorageAdapterInfoLib> list) { return Over<SHostStorageAdapterInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SHostStorageAdapterInfoLib Current() { return Item(); }
    }

    public sealed class SHostNetworkAdapterInfoLibListEnumerator : ListEnumerator<SHostNetworkAdapterInfoLib>
    {
        public static SHostNetworkAdapterInfoLibListEnumerator GetEnumerator(List<SHostNetworkAdapterInfoLib> list) { return Over<SHostNetworkAdapterInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SHostNetworkAdapterInfoLib Current() { return Item(); }
    }

    public sealed class SSCSILUNInfoLibListEnumerator : ListEnumerator<SSCSILUNInfoLib>
    {
        public static SSCSILUNInfoLibListEnumerator GetEnumerator(List<SSCSILUNInfoLib> list) { return Over<SSCSILUNInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SSCSILUNInfoLib Current() { return Item(); }
    }

    public sealed class SVMOwnerInfoLibListEnumerator : ListEnumerator<SVMOwnerInfoLib>
    {
        public static SVMOwnerInfoLibListEnumerator GetEnumerator(List<SVMOwnerInfoLib> list) { return Over<SVMOwnerInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVMOwnerInfoLib Current() { return Item(); }
    }

    public sealed class SVMOptionValueLibListEnumerator : ListEnumerator<SVMOptionValueLib>
    {
        public static SVMOptionValueLibListEnumerator GetEnumerator(List<SVMOptionValueLib> list) { return Over<SVMOptionValueLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SVMOptionValueLib Current() { return Item(); }
    }

    public sealed class SDiskChangeExtentLibListEnumerator : ListEnumerator<SDiskChangeExtentLib>
    {
        public static SDiskChangeExtentLibListEnumerator GetEnumerator(List<SDiskChangeExtentLib> list) { return Over<SDiskChangeExtentLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDiskChangeExtentLib Current() { return Item(); }
    }

    public sealed class SGuestFileLibListEnumerator : ListEnumerator<SGuestFileLib>
    {
        public static SGuestFileLibListEnumerator GetEnumerator(List<SGuestFileLib> list) { return Over<SGuestFileLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SGuestFileLib Current() { return Item(); }
    }

    public sealed class SDiskBlockMapInfoLibListEnumerator : ListEnumerator<SDiskBlockMapInfoLib>
    {
        public static SDiskBlockMapInfoLibListEnumerator GetEnumerator(List<SDiskBlockMapInfoLib> list) { return Over<SDiskBlockMapInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDiskBlockMapInfoLib Current() { return Item(); }
    }

    public sealed class SDiskBlockMapExtentLibListEnumerator : ListEnumerator<SDiskBlockMapExtentInfoLib>
    {
        public static SDiskBlockMapExtentLibListEnumerator GetEnumerator(List<SDiskBlockMapExtentInfoLib> list) { return Over<SDiskBlockMapExtentLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SDiskBlockMapExtentInfoLib Current() { return Item(); }
    }

    public sealed class SGuestOSInfoLibListEnumerator : ListEnumerator<SGuestOSInfoLib>
    {
        public static SGuestOSInfoLibListEnumerator GetEnumerator(List<SGuestOSInfoLib> list) { return Over<SGuestOSInfoLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SGuestOSInfoLib Current() { return Item(); }
    }

    public sealed class SIOFilterHostResultLibListEnumerator : ListEnumerator<SIOFilterHostResultLib>
    {
        public static SIOFilterHostResultLibListEnumerator GetEnumerator(List<SIOFilterHostResultLib> list) { return Over<SIOFilterHostResultLibListEnumerator>(list); }
        public bool MoveNext() { return Next(); }
        public SIOFilterHostResultLib Current() { return Item(); }
    }
}
