#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Inventory lists, lookups and browsing. A list reads every object it shows in one request with all the paths its
    // records need; a lookup first finds its object among names and places, then reads the detail of just that object.
    sealed partial class VimClient
    {
        // Which objects each list holds, as of its last refresh (or first use); the records are always read afresh.
        readonly Dictionary<string, List<MoRef>> inventoryLists = new Dictionary<string, List<MoRef>>();

        List<MoRef> Listed(string list, IEnumerable<MoRef> current)
        {
            var now = current.ToList();
            List<MoRef> kept;
            if (!inventoryLists.TryGetValue(list, out kept)) return inventoryLists[list] = now;
            var live = new HashSet<MoRef>(now);
            return kept.Where(live.Contains).ToList();
        }

        int Refreshed(string list, IEnumerable<MoRef> current)
        {
            var now = current.ToList();
            inventoryLists[list] = now;
            return Math.Max(1, now.Count);
        }

        InventoryRead ReadInventory(Kinds kinds)
        {
            Auth();
            return new InventoryRead(this).Load(kinds);
        }

        static Kinds HostKinds(ulong mask)
        {
            var kinds = InventoryRead.Places().Add("HostSystem", InventoryRead.HostPaths(mask));
            if ((mask & InventoryRead.HostVmList) != 0) kinds.Add("VirtualMachine", InventoryRead.VmBrief);
            if ((mask & InventoryRead.HostDsList) != 0) kinds.Add("Datastore", InventoryRead.DatastoreFacts);
            if ((mask & InventoryRead.HostNwList) != 0) kinds.Add("Network", "name");
            return kinds;
        }

        // ---- lists ----

        public List<SHostInfoLib> GetHostInfoList(ulong mask, int flags)
        {
            var inv = ReadInventory(HostKinds(mask));
            var hosts = Listed("hosts", inv.Of("HostSystem").Select(h => h.Obj));
            inv.PrepareHosts(hosts, mask);
            return hosts.Select(h => inv.HostRecord(h, mask)).ToList();
        }

        public List<SDataCenterInfoLib> GetDCInfoList(ulong mask, int flags)
        {
            var kinds = mask == 0 ? new Kinds().Add("Datacenter", "name") : InventoryRead.Places().Add("VirtualMachine", InventoryRead.VmBrief);
            var inv = ReadInventory(kinds);
            return Listed("datacenters", inv.Datacenters()).Select(d => inv.DatacenterRecord(d, mask)).ToList();
        }

        public List<SDatastoreInfoLib> GetDSInfoList(ulong mask, int flags)
        {
            var kinds = new Kinds().Add("HostSystem", "name", "datastore").Add("Datastore", InventoryRead.DatastorePaths(mask));
            if ((mask & InventoryRead.DsVmList) != 0) kinds.Add("VirtualMachine", InventoryRead.VmBrief);
            var inv = ReadInventory(kinds);
            var datastores = Listed("datastores", inv.Of("Datastore").Select(d => d.Obj));
            inv.PrepareDatastores(datastores, mask);
            return datastores.Select(d => inv.DatastoreRecord(d, mask)).ToList();
        }

        public List<SDatastoreInfoLib> GetDSInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places());
            var datastores = inv.HostsOf(hostOrCluster).SelectMany(h => InventoryRead.Refs(inv[h], "datastore")).Distinct().ToList();
            inv.PrepareDatastores(datastores, mask);
            return datastores.Select(d => inv.DatastoreRecord(d, mask)).ToList();
        }

        public List<SResourcePoolInfoLib> GetRpInfoList(ulong mask, int flags)
        {
            var inv = ReadInventory(new Kinds().Add("ResourcePool", InventoryRead.PoolFacts).Add("VirtualMachine", InventoryRead.VmBrief));
            var roots = Listed("pools", inv.RootPools());
            return PoolRecords(inv, roots);
        }

        public List<SResourcePoolInfoLib> GetRPInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("ResourcePool", InventoryRead.PoolFacts));
            var roots = inv.HostsOf(hostOrCluster).Select(h => inv.ComputeOf(h)?["resourcePool"].AsRef()).Where(p => inv[p] != null).Distinct().ToList();
            return PoolRecords(inv, roots);
        }

        static List<SResourcePoolInfoLib> PoolRecords(InventoryRead inv, List<MoRef> pools)
        {
            inv.PrepareVms(pools.SelectMany(inv.PoolTree).SelectMany(p => InventoryRead.Refs(inv[p], "vm")));
            return pools.Select(inv.PoolRecord).ToList();
        }

        public List<SClusterInfoLib> GetClusterInfoList(ulong mask, int flags)
        {
            var kinds = (mask & InventoryRead.ClusterHostList) != 0 ? HostKinds(mask) : InventoryRead.Places();
            if ((mask & InventoryRead.ClusterVmList) != 0) kinds.Add("VirtualMachine", InventoryRead.VmBrief);
            var inv = ReadInventory(kinds);
            var clusters = Listed("clusters", inv.Of("ComputeResource").Where(InventoryRead.IsCluster).Select(c => c.Obj));
            return clusters.Select(c => PreparedCluster(inv, c, mask)).ToList();
        }

        static SClusterInfoLib PreparedCluster(InventoryRead inv, MoRef cluster, ulong mask)
        {
            var hosts = InventoryRead.Refs(inv[cluster], "host");
            if ((mask & InventoryRead.ClusterHostList) != 0) inv.PrepareHosts(hosts, mask);
            if ((mask & InventoryRead.ClusterVmList) != 0) inv.PrepareVms(hosts.SelectMany(h => InventoryRead.Refs(inv[h], "vm")));
            return inv.ClusterRecord(cluster, mask);
        }

        public List<SVAppInfoLib> GetVAppInfoList(ulong mask, int flags)
        {
            var kinds = new Kinds().Add("ResourcePool", InventoryRead.PoolFacts);
            if ((mask & InventoryRead.VAppVmList) != 0) kinds.Add("VirtualMachine", InventoryRead.VmBrief);
            var inv = ReadInventory(kinds);
            return Listed("vapps", inv.TopVApps()).Select(v => inv.VAppRecord(v, mask)).ToList();
        }

        public List<SInventoryInfoLib> GetInventoryInfoList(ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Tree());
            return Listed("inventory", inv.Datacenters()).Select(d => inv.NodeOf(d, -1)).ToList();
        }

        public List<SInventoryInfoLib> GetVMInventoryInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("VirtualMachine"));
            var onHosts = new HashSet<MoRef>(inv.HostsOf(hostOrCluster).SelectMany(h => InventoryRead.Refs(inv[h], "vm")));
            var vms = Listed("vms", inv.Of("VirtualMachine").Select(v => v.Obj)).Where(onHosts.Contains).ToList();
            inv.Detail(vms, "VirtualMachine", InventoryRead.VmFlags);
            return vms.Select(v => inv.NodeOf(v, 0)).ToList();
        }

        // ---- refresh: a fresh membership, its size (at least 1) ----

        public int RefreshHostInfoList(ulong mask, int flags) { return Refreshed("hosts", InventoryMembers("HostSystem")); }

        public int RefreshVMInfoList(ulong mask, int flags) { return Refreshed("vms", InventoryMembers("VirtualMachine")); }

        public int RefreshDSInfoList(ulong mask, int flags) { return Refreshed("datastores", InventoryMembers("Datastore")); }

        public int RefreshDCInfoList(ulong mask, int flags) { return Refreshed("datacenters", InventoryMembers("Datacenter")); }

        public int RefreshResourcePoolList(ulong mask, int flags)
        {
            return Refreshed("pools", ReadInventory(new Kinds().Add("ResourcePool", "parent")).RootPools());
        }

        public int RefreshClusterInfoList(ulong mask, int flags) { return Refreshed("clusters", InventoryMembers("ClusterComputeResource")); }

        public int RefreshVAppInfoList(ulong mask, int flags)
        {
            return Refreshed("vapps", ReadInventory(new Kinds().Add("ResourcePool", "resourcePool")).TopVApps());
        }

        public int RefreshInventoryInfoList(ulong mask, int flags) { return Refreshed("inventory", InventoryMembers("Datacenter")); }

        IEnumerable<MoRef> InventoryMembers(string type)
        {
            Auth();
            return RetrieveAll(type).Select(o => o.Obj);
        }

        // ---- single objects ----

        public SDatastoreInfoLib GetDSInfoForDS(string datastore, string uuid, string hostOrCluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("Datastore", InventoryRead.DatastoreFacts));
            var ds = inv.Find("Datastore", datastore)?.Obj;
            if (ds == null && !string.IsNullOrEmpty(uuid))
                ds = inv.Of("Datastore").Select(d => d.Obj).FirstOrDefault(d => string.Equals(inv.DatastoreRecord(d, 0).strDataStoreUUID, uuid, StringComparison.OrdinalIgnoreCase));
            if (ds == null) throw new ClientFault("The datastore '" + (string.IsNullOrEmpty(datastore) ? uuid : datastore) + "' was not found.");
            if (!string.IsNullOrEmpty(hostOrCluster) && !inv.HostsOf(hostOrCluster).Intersect(inv.MountsOf(ds)).Any())
                throw new ClientFault("The datastore '" + inv.Name(ds) + "' is not mounted on '" + hostOrCluster + "'.");
            inv.PrepareDatastores(new List<MoRef> { ds }, mask);
            return inv.DatastoreRecord(ds, mask);
        }

        public SHostInfoLib GetHostInfoForHost(string host, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places());
            var h = inv.Host(host).Obj;
            inv.PrepareHosts(new List<MoRef> { h }, mask);
            return inv.HostRecord(h, mask);
        }

        public SClusterInfoLib GetClusterInfoForCluster(string cluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places());
            return PreparedCluster(inv, inv.Cluster(cluster).Obj, mask);
        }

        public SResourcePoolInfoLib GetRPInfoForRP(string pool, string hostOrCluster, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("ResourcePool", InventoryRead.PoolFacts));
            var p = inv.Pool(pool, PoolScope(inv, hostOrCluster)).Obj;
            return PoolRecords(inv, new List<MoRef> { p })[0];
        }

        // The pools of the host or cluster's compute resources, or every pool.
        static IEnumerable<MoRef> PoolScope(InventoryRead inv, string hostOrCluster)
        {
            if (string.IsNullOrEmpty(hostOrCluster)) return inv.Of("ResourcePool").Select(p => p.Obj);
            return inv.HostsOf(hostOrCluster).Select(h => inv.ComputeOf(h)?["resourcePool"].AsRef()).Where(p => p != null).Distinct().SelectMany(inv.PoolTree);
        }

        public SInventoryInfoLib GetInventoryObjectByMoref(string moref, int kind, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Tree());
            var found = inv.ById(moref);
            if (found == null) throw new ClientFault("The object 'vim.ManagedEntity:" + moref + "' has already been deleted or has not been completely created");
            var node = inv.NodeOf(found, -1);
            if (kind != 0 && node.type != kind) throw new ClientFault("The object '" + moref + "' is not of the kind asked for.");
            return node;
        }

        public List<SInventoryInfoLib> BrowseInventory(string path, SInventoryInfoLib node, ulong mask, int flags)
        {
            var inv = ReadInventory(InventoryRead.Tree());
            var at = inv.Resolve(string.IsNullOrEmpty(node.strGUID) ? path : node.strGUID);
            return (at == null ? inv.Datacenters() : inv.Children(at)).Select(c => inv.NodeOf(c, 0)).ToList();
        }

        // ---- choices and questions ----

        public int SelectDatastoreFromResourcePool(string pool, out string datastore, out string datastoreMoref)
        {
            datastore = null; datastoreMoref = null;
            var inv = ReadInventory(InventoryRead.Places().Add("ResourcePool", InventoryRead.PoolFacts).Add("Datastore", InventoryRead.DatastoreFacts));
            var p = inv.Pool(pool, inv.Of("ResourcePool").Select(x => x.Obj));
            var hosts = InventoryRead.Refs(inv[p["owner"].AsRef()], "host");
            var common = hosts.Select(h => (IEnumerable<MoRef>)InventoryRead.Refs(inv[h], "datastore")).DefaultIfEmpty(Enumerable.Empty<MoRef>()).Aggregate((a, b) => a.Intersect(b)).ToList();
            if (common.Count == 0) throw new ClientFault("No datastore is accessible from resource pool '" + p.Str("name") + "'.");
            var best = common.Where(d => inv[d] != null && inv[d]["summary"].Bool("accessible") && hosts.All(h => inv.MountInfo(d, h).Str("accessMode") != "readOnly"))
                .OrderByDescending(d => inv[d]["summary"].Long("freeSpace")).ThenBy(d => inv.Name(d), StringComparer.Ordinal).FirstOrDefault();
            if (best == null) throw new ClientFault("No writable datastore is accessible from resource pool '" + p.Str("name") + "'.");
            datastore = inv.Name(best);
            datastoreMoref = best.Value;
            return 1;
        }

        public bool DoesVMExist(string name, string uuid, string host, string datacenter, out string moref)
        {
            moref = null;
            if (string.IsNullOrEmpty(name) && string.IsNullOrEmpty(uuid)) throw new ClientFault("A specified parameter was not correct: vm");
            var kinds = string.IsNullOrEmpty(host) && string.IsNullOrEmpty(datacenter) ? new Kinds() : InventoryRead.Places();
            var inv = ReadInventory(kinds.Add("VirtualMachine", "name", "config.uuid", "config.instanceUuid", "runtime.host"));
            var wanted = UuidKey(uuid);
            var found = inv.Of("VirtualMachine").FirstOrDefault(v =>
                (string.IsNullOrEmpty(name) || v.Str("name") == name)
                && (string.IsNullOrEmpty(uuid) || UuidKey(v.Str("config.uuid")) == wanted || UuidKey(v.Str("config.instanceUuid")) == wanted)
                && (string.IsNullOrEmpty(host) || IsNamed(inv, v["runtime.host"].AsRef(), host))
                && (string.IsNullOrEmpty(datacenter) || IsNamed(inv, inv.DatacenterOf(v["runtime.host"].AsRef())?.Obj, datacenter)));
            if (found == null) return false;
            moref = found.Obj.Value;
            return true;
        }

        static string UuidKey(string uuid) { return (uuid ?? "").Replace("-", "").Replace(" ", "").ToLowerInvariant(); }

        static bool IsNamed(InventoryRead inv, MoRef r, string id)
        {
            return r != null && (r.Value == id || string.Equals(inv.Name(r), id, StringComparison.OrdinalIgnoreCase));
        }

        public int CheckHostForVMName(string host, string name)
        {
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "vm"));
            var vms = InventoryRead.Refs(inv.Host(host), "vm");
            inv.Detail(vms, "VirtualMachine", "name");
            return vms.Any(v => inv.Name(v) == name) ? 1 : 0;
        }

        public bool GetHostListForDatastore(string datastore, out List<string> hosts)
        {
            hosts = null;
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "datastore").Add("Datastore", "name", "host"));
            var ds = inv.Require("Datastore", datastore, "datastore").Obj;
            hosts = inv.MountsOf(ds).Select(inv.Name).ToList();
            return true;
        }

        public bool IsDatastoreConnected(string host, string datastore)
        {
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "datastore").Add("Datastore", "name", "summary.accessible", "host"));
            var ds = inv.Require("Datastore", datastore, "datastore");
            if (!ds["summary.accessible"].AsBool()) return false;
            if (string.IsNullOrEmpty(host)) return true;
            var h = inv.Find("HostSystem", host);
            if (h == null || !inv.MountsOf(ds.Obj).Contains(h.Obj)) return false;
            var mount = inv.MountInfo(ds.Obj, h.Obj);
            return !mount.Present || (mount["mounted"].Text != "false" && mount["accessible"].Text != "false");
        }

        public int CheckDatastoreSpace(string datastore, string host, int requiredMB)
        {
            if (requiredMB < 0) throw new ClientFault("A specified parameter was not correct: requiredMB");
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "datastore").Add("Datastore", "name", "summary.accessible", "summary.freeSpace", "host"));
            var ds = inv.Require("Datastore", datastore, "datastore");
            if (!ds["summary.accessible"].AsBool()) throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible.");
            if (!string.IsNullOrEmpty(host) && !inv.MountsOf(ds.Obj).Any(h => IsNamed(inv, h, host)))
                throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible from host '" + host + "'.");
            long free = ds["summary.freeSpace"].AsLong(), needed = requiredMB * (1L << 20);
            if (needed > free)
                throw new ClientFault("Insufficient disk space on datastore '" + ds.Str("name") + "': " + requiredMB + " MB needed, " + (free >> 20) + " MB free.");
            return 1;
        }
    }
}
#endif
