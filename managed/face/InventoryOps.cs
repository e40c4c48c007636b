#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object GetHostInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetHostInfoList(mask, flags));
        }

        public object GetDCInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetDCInfoList(mask, flags));
        }

        public object GetDSInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetDSInfoList(mask, flags));
        }

        public object GetDSInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), hostOrCluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetDSInfoListForHostOrCluster(hostOrCluster, mask, flags));
        }

        // What every host of a host or cluster can run, by the lowest hardware version among them.
        public object GetSupportedGuestOSInfoListForHostOrCluster(string hostOrCluster)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), hostOrCluster);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetSupportedGuestOSInfoListForHostOrCluster(hostOrCluster));
        }

        public object GetRpInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetRpInfoList(mask, flags));
        }

        public object GetRPInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), hostOrCluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetRPInfoListForHostOrCluster(hostOrCluster, mask, flags));
        }

        public object GetClusterInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetClusterInfoList(mask, flags));
        }

        public object GetVAppInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVAppInfoList(mask, flags));
        }

        // The whole tree: one node per datacenter with everything below it.
        public object GetInventoryInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetInventoryInfoList(mask, flags));
        }

        public object GetVMInventoryInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), hostOrCluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInventoryInfoListForHostOrCluster(hostOrCluster, mask, flags));
        }

        // #2 names datastores to consider; an empty list considers all. A policy name ending in "-shared" wants shared datastores.
        public object GetCompatibleDatastoresForStoragePolicy(string policy, List<string> datastores)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), policy, datastores);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetCompatibleDatastoresForStoragePolicy(policy, datastores));
        }

        // Picks the datastore with the most free space that every host of the pool's owner mounts; outputs its name and reference.
        public object SelectDatastoreFromResourcePool(string pool, out string datastore, out string datastoreMoref)
        {
            datastore = null; datastoreMoref = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), pool, null, null);
            if (c != null) { c.Out(1, ref datastore); c.Out(2, ref datastoreMoref); return c.Result<int>(); }
            string name = null, moref = null;
            var r = Int(() => client.SelectDatastoreFromResourcePool(pool, out name, out moref));
            datastore = name; datastoreMoref = moref;
            return r;
        }

        public object RefreshHostInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshHostInfoList(mask, flags));
        }

        public object RefreshVMInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshVMInfoList(mask, flags));
        }

        public object RefreshDSInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshDSInfoList(mask, flags));
        }

        public object RefreshDCInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshDCInfoList(mask, flags));
        }

        public object RefreshResourcePoolList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshResourcePoolList(mask, flags));
        }

        public object RefreshClusterInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshClusterInfoList(mask, flags));
        }

        public object RefreshVAppInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshVAppInfoList(mask, flags));
        }

        public object RefreshInventoryInfoList(ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), mask, flags);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshInventoryInfoList(mask, flags));
        }

        // #1 name or reference, #2 UUID (either may be empty), #3 a host or cluster that must mount it (may be empty).
        public object GetDSInfoForDS(string datastore, string uuid, string hostOrCluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datastore, uuid, hostOrCluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetDSInfoForDS(datastore, uuid, hostOrCluster, mask, flags));
        }

        public object GetHostInfoForHost(string host, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetHostInfoForHost(host, mask, flags));
        }

        public object GetClusterInfoForCluster(string cluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), cluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetClusterInfoForCluster(cluster, mask, flags));
        }

        // #1 pool name, path below its owner's root or reference; #2 the host or cluster that owns it (may be empty).
        public object GetRPInfoForRP(string pool, string hostOrCluster, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), pool, hostOrCluster, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetRPInfoForRP(pool, hostOrCluster, mask, flags));
        }

        // #2 the object kind expected (0 any).
        public object GetInventoryObjectByMoref(string moref, int kind, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), moref, kind, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetInventoryObjectByMoref(moref, kind, mask, flags));
        }

        // The children of the node (its reference, else #1 as a reference or path; neither gives the datacenters), one level deep.
        public object BrowseInventory(string path, SInventoryInfoLib node, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), path, node, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.BrowseInventory(path, node, mask, flags));
        }

        // The LUNs a host sees; #2 narrows them to one adapter (device, iSCSI name or port WWN), empty for all.
        public object GetDeviceList(string host, string adapter)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, adapter);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetDeviceList(host, adapter));
        }

        // #1 VM name, #2 BIOS or instance UUID, #3 host, #4 datacenter; empty ones match anything. #5 the VM's reference.
        public object DoesVMExist(string name, string uuid, string host, string datacenter, out string moref)
        {
            moref = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), name, uuid, host, datacenter, null);
            if (c != null) { c.Out(4, ref moref); return c.Result<bool>(); }
            string found = null;
            var r = Bool(() => client.DoesVMExist(name, uuid, host, datacenter, out found));
            moref = found;
            return r;
        }

        // 1 when the host already runs a VM of that name, 0 when the name is free there.
        public object CheckHostForVMName(string host, string name)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, name);
            if (c != null) return c.Result<int>();
            return Int(() => client.CheckHostForVMName(host, name));
        }

        // #1 host, #2 LUN canonical name or UUID; describes the LUN as a raw-mapped datastore.
        public object GetLUNInformationForRDM(string host, string lun, ref SDatastoreInfoLib info)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, lun, info);
            if (c != null) { c.Out(2, ref info); return c.Result<bool>(); }
            SDatastoreInfoLib filled = info;
            var r = Bool(() => client.GetLUNInformationForRDM(host, lun, ref filled));
            info = filled;
            return r;
        }

        // Rescans the host adapter that matches #2 (by iSCSI name, port WWN or type); the datastores named in #3 must be visible through it.
        public object RefreshHostAdapter(string host, SHostStorageAdapterInfoLib adapter, List<SDatastoreInfoLib> datastores)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, adapter, datastores);
            if (c != null) return c.Result<int>();
            return Int(() => client.RefreshHostAdapter(host, adapter, datastores));
        }

        public object GetHostListForDatastore(string datastore, out List<string> hosts)
        {
            hosts = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datastore, null);
            if (c != null) { c.Out(1, ref hosts); return c.Result<bool>(); }
            List<string> found = null;
            var r = Bool(() => client.GetHostListForDatastore(datastore, out found));
            hosts = found;
            return r;
        }
    }
}
#endif
