#if !NOCLASS && !EMPTY
using System;
using System.Collections;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Inventory lists, lookups and browsing, all answered from the one simulated inventory.
    sealed partial class SimClient
    {
        const ulong HostDsList = 0x2000000, HostNwList = 0x4000000, HostAdapters = 0x8000000, HostVmList = 0x20000000, HostNicInfo = 0x80000000;
        const ulong DsExtents = 0x100000000, DsVmList = 0x400000000, VAppVmList = 0x100000000000;
        const ulong ClusterVmList = 0x10000000000000, ClusterHostList = 0x20000000000000;

        // Every inventory answer needs a session and VMs placed as the VM list now stands.
        void Placed()
        {
            Auth();
            Sim.SyncPlacements();
        }

        // Which objects each list holds, as of its last refresh; the records themselves are always current.
        readonly Dictionary<string, IList> cached = new Dictionary<string, IList>();

        List<T> Cached<T>(string list, Func<IEnumerable<T>> members)
        {
            IList found;
            if (!cached.TryGetValue(list, out found)) cached[list] = found = members().ToList();
            return (List<T>)found;
        }

        int Refresh<T>(string list, Func<IEnumerable<T>> members)
        {
            Placed();
            var fresh = members().ToList();
            cached[list] = fresh;
            return Math.Max(1, fresh.Count);
        }

        static IEnumerable<Vm> ListedVms() { return Sim.Vms; }
        static IEnumerable<Pool> RootPools() { return Sim.Computes.Select(c => c.Root); }
        static IEnumerable<Pool> TopVApps() { return Sim.AllPools().Where(p => p.VApp && !p.Parent.VApp); }

        // ---- records made from the model ----

        static SVMInfoLib VmRecord(Vm v)
        {
            var r = new SVMInfoLib();
            r.strName = v.Name; r.strUuid = v.Uuid; r.strInstanceUuid = v.InstanceUuid; r.strBiosUuid = v.Uuid; r.strMoRef = v.Moref;
            r.strGuestOSName = v.GuestName; r.strConfigFile = v.HomeDir + "/" + v.Name + ".vmx";
            return r;
        }

        static List<SVMInfoLib> VmRecords(IEnumerable<Vm> vms)
        {
            return vms.Select(VmRecord).ToList();
        }

        static SHostStorageAdapterInfoLib AdapterRecord(StorageAdapter a)
        {
            return new SHostStorageAdapterInfoLib
            {
                strAdapterType = a.Type, strRemoteHost = a.RemoteHost, strRemotePath = a.RemotePath, strIscsiName = a.IscsiName,
                strIscsiAlias = a.IscsiAlias, strportWorldWideName = a.PortWwn, strnodeWorldWideName = a.NodeWwn
            };
        }

        static SSCSILUNInfoLib LunRecord(Lun l)
        {
            return new SSCSILUNInfoLib
            {
                strCanonicalName = l.CanonicalName, strKey = l.Key, strUUID = l.Uuid, strLUNSerialNo = l.Serial,
                strStandardInquiry = l.Inquiry, strVendor = l.Vendor, TargetAdapter = AdapterRecord(l.Adapter)
            };
        }

        static SHostNetworkAdapterInfoLib NicRecord(NetAdapter n)
        {
            return new SHostNetworkAdapterInfoLib
            {
                device = n.Device, configured = n.Configured, switchedType = n.SwitchedType, portGroup = n.PortGroup, macAddress = n.Mac,
                ipAddress = n.Ip, subnetMask = n.Mask, wakeOnLANSupported = n.WakeOnLan, speed = n.Speed
            };
        }

        static SNetworkInfoLib NetworkRecord(Network n)
        {
            return new SNetworkInfoLib { strNetworkName = n.Name, strNetworkMoref = n.Moref };
        }

        // The VMs that live on a datastore; on a mounted snapshot volume, those it exposes.
        static IEnumerable<Vm> VmsOn(Datastore ds)
        {
            var vol = Sim.SnapVolumes.FirstOrDefault(s => s.Volume == ds);
            return vol != null ? vol.Vms : Sim.Vms.Where(v => v.Datastore == ds.Name);
        }

        static SDatastoreInfoLib DatastoreRecord(Datastore ds, ulong mask)
        {
            var vol = Sim.SnapVolumes.FirstOrDefault(s => s.Volume == ds);
            var r = new SDatastoreInfoLib
            {
                accessible = ds.Accessible, strDataStoreName = ds.Name, strDataStoreType = ds.Type, strDataStoreUUID = ds.Uuid,
                strDatastorePath = ds.Nas ? ds.RemoteHost + ":" + ds.RemotePath : "/vmfs/volumes/" + ds.Uuid, strMoref = ds.Moref,
                i64TotalSize = ds.Capacity, i64FreeSpace = ds.Free, blockSizeMB = ds.Nas ? 0 : 1, isShared = ds.Nas || ds.Hosts.Count > 1
            };
            if ((mask & DsVmList) != 0) r.vmInfoList = VmRecords(VmsOn(ds));
            if ((mask & DsExtents) != 0)
            {
                var backing = vol != null ? vol.Source : ds.Name;
                var lun = Sim.Hosts.SelectMany(h => h.Luns).FirstOrDefault(l => l.Datastore == backing);
                r.extentsInfoList = lun == null ? new List<SSCSILUNInfoLib>() : new List<SSCSILUNInfoLib> { LunRecord(lun) };
            }
            return r;
        }

        static SDatastoreInfoLib DatastoreRecord(string name, ulong mask) { return DatastoreRecord(Sim.FindDatastore(name), mask); }

        static string VmFolderPath(HostInfo h)
        {
            return h.Dc.Name + "/vm";
        }

        static SHostInfoLib HostRecord(HostInfo h, ulong mask)
        {
            var vms = Sim.Vms.Where(v => string.Equals(v.Host, h.Name, StringComparison.OrdinalIgnoreCase)).ToList();
            var r = new SHostInfoLib
            {
                strHostName = h.Name, strMoRef = h.Moref, strHostDatacenter = h.Dc.Name, strHostDatacenterPath = "/" + h.Dc.Name,
                strHostDatacenterMoRef = h.Dc.Moref, strVMFolderPath = VmFolderPath(h), strResourcePool = h.Compute.Root.Moref,
                connectionState = h.ConnectionState, maintenanceMode = h.Maintenance, numVMAndTemplates = vms.Count,
                version = h.Version, fullVersion = "VMware ESXi " + h.Version + " build-" + h.Build, manufacturer = h.Vendor, model = h.Model,
                bClustered = h.Clustered, faultToleranceEnabled = h.Clustered,
                logicalProcessors = h.Sockets * h.CoresPerSocket * 2, processorSockets = h.Sockets,
                cpuTotalMhz = h.Sockets * h.CoresPerSocket * h.MhzPerCore, cpuUsedMhz = h.CpuUsedMhz,
                memoryTotalBytes = h.MemoryBytes, memoryUsedMBytes = h.MemoryUsedMB
            };
            if (h.Clustered) { r.clusterName = h.Compute.Name; r.strClusterMoref = h.Compute.Moref; r.faultDomain = h.FaultDomain; }
            if ((mask & HostVmList) != 0) r.vmInfoList = VmRecords(vms);
            if ((mask & HostDsList) != 0) r.datastoreList = h.Mounts.Select(d => DatastoreRecord(d, 0)).ToList();
            if ((mask & HostNwList) != 0) r.nwList = h.Networks.Select(NetworkRecord).ToList();
            if ((mask & HostAdapters) != 0) r.storageAdapterList = h.Hbas.Select(AdapterRecord).ToList();
            if ((mask & HostNicInfo) != 0)
            {
                r.physicalNetAdapterList = h.Pnics.Select(NicRecord).ToList();
                r.virtualNetAdapterList = h.Vnics.Select(NicRecord).ToList();
            }
            return r;
        }

        static SDataCenterInfoLib DatacenterRecord(Datacenter d, ulong mask)
        {
            var r = new SDataCenterInfoLib { strName = d.Name, strMoRef = d.Moref };
            if (mask != 0) r.vmInfoList = VmRecords(Sim.Vms.Where(v => Sim.VmFolder.ContainsKey(v) && Sim.VmFolder[v].Dc == d));
            return r;
        }

        static SClusterInfoLib ClusterRecord(Compute c, ulong mask)
        {
            var r = new SClusterInfoLib { strClusterName = c.Name, strClusterMoref = c.Moref };
            if ((mask & ClusterHostList) != 0) r.hostInfoList = c.Hosts.Select(h => HostRecord(h, mask)).ToList();
            if ((mask & ClusterVmList) != 0) r.vmInfoList = VmRecords(Sim.FindPools(c.Root).SelectMany(p => p.Vms));
            return r;
        }

        // Pool kinds in "type": 0 a compute resource's root pool, 1 a pool below it.
        static SResourcePoolInfoLib PoolRecord(Pool p, ulong mask)
        {
            return new SResourcePoolInfoLib
            {
                strResourcePoolName = p.Name, type = p.Parent == null ? 0 : 1, vmInfoList = VmRecords(p.Vms),
                childPoolList = p.Children.Where(x => !x.VApp).Select(x => PoolRecord(x, mask)).ToList()
            };
        }

        static SVAppInfoLib VAppRecord(Pool p, ulong mask)
        {
            var r = new SVAppInfoLib { strVAppName = p.Name, childVAppList = p.Children.Where(x => x.VApp).Select(x => VAppRecord(x, mask)).ToList() };
            if ((mask & VAppVmList) != 0) r.vmInfoList = VmRecords(p.Vms);
            return r;
        }

        // ---- inventory nodes ----

        static SInventoryInfoLib Node(string name, string moref, InvKind kind, int flags, List<SInventoryInfoLib> children)
        {
            return new SInventoryInfoLib { strName = name, strGUID = moref, type = (int)kind, flags = flags, children = children ?? new List<SInventoryInfoLib>() };
        }

        static SInventoryInfoLib VmNode(Vm v) { return Node(v.Name, v.Moref, InvKind.VirtualMachine, Sim.Flags(v), null); }

        static SInventoryInfoLib HostNode(HostInfo h, int depth)
        {
            var kids = depth == 0 ? null : h.Clustered ? null : PoolContents(h.Compute.Root, depth - 1);
            return Node(h.Name, h.Moref, InvKind.Host, h.Maintenance ? 8 : 0, kids);
        }

        static List<SInventoryInfoLib> PoolContents(Pool p, int depth)
        {
            return p.Children.Select(c => NodeOf(c, depth)).Concat(p.Vms.Select(VmNode)).ToList();
        }

        // The node of any model object, with its descendants down to depth levels (-1 for all).
        static SInventoryInfoLib NodeOf(object o, int depth)
        {
            int next = depth < 0 ? -1 : depth - 1;
            Func<Func<List<SInventoryInfoLib>>, List<SInventoryInfoLib>> kids = make => depth == 0 ? null : make();
            var dc = o as Datacenter;
            if (dc != null)
                return Node(dc.Name, dc.Moref, InvKind.Datacenter, 0, kids(() => new[] { dc.VmFolder, dc.HostFolder, dc.DatastoreFolder, dc.NetworkFolder }.Select(f => NodeOf(f, next)).ToList()));
            var f0 = o as InvFolder;
            if (f0 != null)
                return Node(f0.Name, f0.Moref, InvKind.Folder, 0, kids(() => FolderContents(f0, next)));
            var comp = o as Compute;
            if (comp != null)
                return comp.IsCluster
                    ? Node(comp.Name, comp.Moref, InvKind.Cluster, 0, kids(() => comp.Hosts.Select(h => HostNode(h, 0)).Concat(PoolContents(comp.Root, next)).ToList()))
                    : HostNode(comp.Hosts[0], depth);
            var h0 = o as HostInfo;
            if (h0 != null) return HostNode(h0, depth);
            var p0 = o as Pool;
            if (p0 != null)
            {
                // Root pools are not shown in the tree (their contents hang below the cluster or host), but answer by reference.
                return Node(p0.Name, p0.Moref, p0.VApp ? InvKind.VApp : InvKind.ResourcePool, 0, kids(() => PoolContents(p0, next)));
            }
            var v0 = o as Vm;
            if (v0 != null) return VmNode(v0);
            var ds = o as Datastore;
            if (ds != null) return Node(ds.Name, ds.Moref, InvKind.Datastore, 0, null);
            var n0 = o as Network;
            if (n0 != null) return Node(n0.Name, n0.Moref, n0.Distributed ? InvKind.PortGroup : InvKind.Network, 0, null);
            return Node("", "", 0, 0, null);
        }

        static List<SInventoryInfoLib> FolderContents(InvFolder f, int depth)
        {
            switch (f.View)
            {
                case "host":
                    return f.Dc.Computes.Select(c => NodeOf(c, depth)).ToList();
                case "datastore":
                    return f.Dc.Datastores.Select(d => NodeOf(Sim.FindDatastore(d), depth)).ToList();
                case "network":
                    return f.Dc.Networks.Select(n => NodeOf(n, depth)).ToList();
                default:
                    return f.Folders.Select(x => NodeOf(x, depth)).Concat(f.Vms.Select(VmNode)).ToList();
            }
        }

        // A model object by managed-object reference, or by a path of names from the datacenters ("DC/vm/Linux").
        static object Resolve(string id)
        {
            object o;
            if (string.IsNullOrEmpty(id) || id == "/") return null;
            if (Sim.ByMoref.TryGetValue(id, out o)) return o;
            object at = null;
            foreach (var part in id.Split(new[] { '/' }, StringSplitOptions.RemoveEmptyEntries))
            {
                IEnumerable<object> under = at == null ? Sim.Datacenters.Cast<object>() : Children(at);
                at = under.FirstOrDefault(x => NodeOf(x, 0).strName == part);
                if (at == null) throw new SimFault("The object '" + id + "' was not found.");
            }
            return at;
        }

        static IEnumerable<object> Children(object o)
        {
            var dc = o as Datacenter;
            if (dc != null) return new object[] { dc.VmFolder, dc.HostFolder, dc.DatastoreFolder, dc.NetworkFolder };
            var f = o as InvFolder;
            if (f != null)
            {
                if (f.View == "host") return f.Dc.Computes.Select(c => c.IsCluster ? (object)c : c.Hosts[0]);
                if (f.View == "datastore") return f.Dc.Datastores.Select(d => (object)Sim.FindDatastore(d));
                if (f.View == "network") return f.Dc.Networks.Cast<object>();
                return f.Folders.Cast<object>().Concat(f.Vms.Cast<object>());
            }
            var c0 = o as Compute;
            if (c0 != null) return c0.Hosts.Cast<object>().Concat(PoolChildren(c0.Root));
            var h = o as HostInfo;
            if (h != null) return h.Clustered ? Enumerable.Empty<object>() : PoolChildren(h.Compute.Root);
            var p = o as Pool;
            if (p != null) return PoolChildren(p);
            return Enumerable.Empty<object>();
        }

        static IEnumerable<object> PoolChildren(Pool p) { return p.Children.Cast<object>().Concat(p.Vms.Cast<object>()); }

        // ---- lists ----

        public List<SHostInfoLib> GetHostInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("hosts", () => Sim.Hosts).Select(h => HostRecord(h, mask)).ToList();
        }

        public List<SDataCenterInfoLib> GetDCInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("datacenters", () => Sim.Datacenters).Select(d => DatacenterRecord(d, mask)).ToList();
        }

        public List<SDatastoreInfoLib> GetDSInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("datastores", () => Sim.Datastores).Where(Sim.Datastores.Contains).Select(d => DatastoreRecord(d, mask)).ToList();
        }

        public List<SDatastoreInfoLib> GetDSInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            Placed();
            return Sim.HostsOf(hostOrCluster).SelectMany(h => h.Mounts).Distinct().Select(d => DatastoreRecord(d, mask)).ToList();
        }

        static readonly string[][] GuestOsTable =
        {
            new[] { "4", "otherLinux64Guest", "Other Linux (64-bit)" }, new[] { "4", "windows9Server64Guest", "Microsoft Windows Server 2016 or later (64-bit)" },
            new[] { "10", "centos7_64Guest", "CentOS 7 (64-bit)" }, new[] { "11", "ubuntu64Guest", "Ubuntu Linux (64-bit)" },
            new[] { "13", "rhel8_64Guest", "Red Hat Enterprise Linux 8 (64-bit)" }, new[] { "19", "rhel9_64Guest", "Red Hat Enterprise Linux 9 (64-bit)" },
            new[] { "19", "debian12_64Guest", "Debian GNU/Linux 12 (64-bit)" }, new[] { "19", "windows2019srvNext_64Guest", "Microsoft Windows Server 2022 (64-bit)" },
            new[] { "21", "windows2022srvNext_64Guest", "Microsoft Windows Server 2025 (64-bit)" }
        };

        public List<SGuestOSInfoLib> GetSupportedGuestOSInfoListForHostOrCluster(string hostOrCluster)
        {
            Placed();
            var hosts = Sim.HostsOf(hostOrCluster);
            int max = hosts.Count == 0 ? 0 : hosts.Min(h => h.MaxHardwareVersion);
            return GuestOsTable.Where(g => int.Parse(g[0]) <= max).Select(g => new SGuestOSInfoLib { guestID = g[1], fullName = g[2] }).ToList();
        }

        public List<SResourcePoolInfoLib> GetRpInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("pools", RootPools).Select(p => PoolRecord(p, mask)).ToList();
        }

        public List<SResourcePoolInfoLib> GetRPInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            Placed();
            return Sim.HostsOf(hostOrCluster).Select(h => h.Compute.Root).Distinct().Select(p => PoolRecord(p, mask)).ToList();
        }

        public List<SClusterInfoLib> GetClusterInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("clusters", () => Sim.Computes.Where(x => x.IsCluster)).Select(x => ClusterRecord(x, mask)).ToList();
        }

        public List<SVAppInfoLib> GetVAppInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("vapps", TopVApps).Select(p => VAppRecord(p, mask)).ToList();
        }

        public List<SInventoryInfoLib> GetInventoryInfoList(ulong mask, int flags)
        {
            Placed();
            return Cached("inventory", () => Sim.Datacenters).Select(d => NodeOf(d, -1)).ToList();
        }

        public List<SInventoryInfoLib> GetVMInventoryInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags)
        {
            Placed();
            var names = new HashSet<string>(Sim.HostsOf(hostOrCluster).Select(h => h.Name), StringComparer.OrdinalIgnoreCase);
            var live = new HashSet<Vm>(Sim.Vms);
            return Cached("vms", ListedVms).Where(v => live.Contains(v) && names.Contains(v.Host)).Select(VmNode).ToList();
        }

        public List<SDatastoreInfoLib> GetCompatibleDatastoresForStoragePolicy(string policy, List<string> datastores)
        {
            Placed();
            if (string.IsNullOrEmpty(policy)) throw new SimFault("A specified parameter was not correct: profileId");
            var pool = datastores == null || datastores.Count == 0 ? Sim.Datastores : Sim.Datastores.Where(d => datastores.Contains(d.Name)).ToList();
            bool shared = policy.EndsWith("-shared", StringComparison.OrdinalIgnoreCase);
            return pool.Select(d => DatastoreRecord(d, 0)).Where(r => !shared || r.isShared).ToList();
        }

        public int SelectDatastoreFromResourcePool(string pool, out string datastore, out string datastoreMoref)
        {
            datastore = null; datastoreMoref = null;
            Placed();
            var p = FindPool(pool, null);
            var common = p.Owner.Hosts.Select(h => (IEnumerable<string>)h.Mounts).Aggregate((a, b) => a.Intersect(b)).ToList();
            if (common.Count == 0) throw new SimFault("No datastore is accessible from resource pool '" + p.Name + "'.");
            var name = common.Select(Sim.FindDatastore).Where(d => d.Accessible && !d.ReadOnly).OrderByDescending(d => d.Free).ThenBy(d => d.Name, StringComparer.Ordinal).Select(d => d.Name).FirstOrDefault();
            if (name == null) throw new SimFault("No writable datastore is accessible from resource pool '" + p.Name + "'.");
            datastore = name;
            datastoreMoref = Sim.FindDatastore(name).Moref;
            return 1;
        }

        static Pool FindPool(string id, string owner)
        {
            var scope = string.IsNullOrEmpty(owner) ? Sim.AllPools() : Sim.HostsOf(owner).Select(h => h.Compute).Distinct().SelectMany(x => Sim.FindPools(x.Root));
            var p = scope.FirstOrDefault(x => !x.VApp && (x.Moref == id || x.Name == id || x.Path == id));
            if (p == null) throw new SimFault("The resource pool '" + id + "' was not found.");
            return p;
        }

        // ---- refresh ----

        public int RefreshHostInfoList(ulong mask, int flags)
        {
            return Refresh("hosts", () => Sim.Hosts);
        }

        public int RefreshVMInfoList(ulong mask, int flags)
        {
            return Refresh("vms", ListedVms);
        }

        public int RefreshDSInfoList(ulong mask, int flags)
        {
            return Refresh("datastores", () => Sim.Datastores);
        }

        public int RefreshDCInfoList(ulong mask, int flags)
        {
            return Refresh("datacenters", () => Sim.Datacenters);
        }

        public int RefreshResourcePoolList(ulong mask, int flags)
        {
            return Refresh("pools", RootPools);
        }

        public int RefreshClusterInfoList(ulong mask, int flags)
        {
            return Refresh("clusters", () => Sim.Computes.Where(x => x.IsCluster));
        }

        public int RefreshVAppInfoList(ulong mask, int flags)
        {
            return Refresh("vapps", TopVApps);
        }

        public int RefreshInventoryInfoList(ulong mask, int flags)
        {
            return Refresh("inventory", () => Sim.Datacenters);
        }

        // ---- single-object lookups ----

        public SDatastoreInfoLib GetDSInfoForDS(string datastore, string uuid, string hostOrCluster, ulong mask, int flags)
        {
            Placed();
            var ds = (string.IsNullOrEmpty(datastore) ? null : Sim.FindDatastore(datastore))
                ?? Sim.Datastores.FirstOrDefault(d => !string.IsNullOrEmpty(uuid) && string.Equals(d.Uuid, uuid, StringComparison.OrdinalIgnoreCase));
            if (ds == null) throw new SimFault("The datastore '" + (string.IsNullOrEmpty(datastore) ? uuid : datastore) + "' was not found.");
            if (!string.IsNullOrEmpty(hostOrCluster) && !Sim.HostsOf(hostOrCluster).Any(h => ds.MountedOn(h.Name)))
                throw new SimFault("The datastore '" + ds.Name + "' is not mounted on '" + hostOrCluster + "'.");
            return DatastoreRecord(ds, mask);
        }

        public SHostInfoLib GetHostInfoForHost(string host, ulong mask, int flags)
        {
            Placed();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            return HostRecord(h, mask);
        }

        public SClusterInfoLib GetClusterInfoForCluster(string cluster, ulong mask, int flags)
        {
            Placed();
            var x = Sim.FindCompute(cluster);
            if (x == null || !x.IsCluster) throw new SimFault("The cluster '" + cluster + "' was not found.");
            return ClusterRecord(x, mask);
        }

        public SResourcePoolInfoLib GetRPInfoForRP(string pool, string hostOrCluster, ulong mask, int flags)
        {
            Placed();
            return PoolRecord(FindPool(pool, hostOrCluster), mask);
        }

        public SInventoryInfoLib GetInventoryObjectByMoref(string moref, int kind, ulong mask, int flags)
        {
            Placed();
            object o;
            if (string.IsNullOrEmpty(moref) || !Sim.ByMoref.TryGetValue(moref, out o))
                throw new SimFault("The object 'vim.ManagedEntity:" + moref + "' has already been deleted or has not been completely created");
            var node = NodeOf(o, -1);
            if (kind != 0 && node.type != kind) throw new SimFault("The object '" + moref + "' is not of the kind asked for.");
            return node;
        }

        // ---- browsing ----

        public List<SInventoryInfoLib> BrowseInventory(string path, SInventoryInfoLib node, ulong mask, int flags)
        {
            Placed();
            var at = Resolve(string.IsNullOrEmpty(node.strGUID) ? path : node.strGUID);
            var under = at == null ? Sim.Datacenters.Cast<object>() : Children(at);
            return under.Select(x => NodeOf(x, 0)).ToList();
        }

        public List<SSCSILUNInfoLib> GetDeviceList(string host, string adapter)
        {
            Placed();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            return h.Luns.Where(l => string.IsNullOrEmpty(adapter) || l.Adapter.Device == adapter || l.Adapter.IscsiName == adapter || l.Adapter.PortWwn == adapter)
                .Select(LunRecord).ToList();
        }

        public bool DoesVMExist(string name, string uuid, string host, string datacenter, out string moref)
        {
            moref = null;
            Placed();
            if (string.IsNullOrEmpty(name) && string.IsNullOrEmpty(uuid)) throw new SimFault("A specified parameter was not correct: vm");
            var v = Sim.Vms.FirstOrDefault(x => (string.IsNullOrEmpty(name) || x.Name == name)
                && (string.IsNullOrEmpty(uuid) || string.Equals(x.Uuid, uuid, StringComparison.OrdinalIgnoreCase) || string.Equals(x.InstanceUuid, uuid, StringComparison.OrdinalIgnoreCase))
                && (string.IsNullOrEmpty(host) || string.Equals(x.Host, host, StringComparison.OrdinalIgnoreCase))
                && (string.IsNullOrEmpty(datacenter) || (Sim.VmFolder.ContainsKey(x) && Sim.VmFolder[x].Dc.Name == datacenter)));
            if (v == null) return false;
            moref = v.Moref;
            return true;
        }

        public int CheckHostForVMName(string host, string name)
        {
            Placed();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            return Sim.Vms.Any(v => v.Name == name && string.Equals(v.Host, h.Name, StringComparison.OrdinalIgnoreCase)) ? 1 : 0;
        }

        public bool GetLUNInformationForRDM(string host, string lun, ref SDatastoreInfoLib info)
        {
            Placed();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            var l = h.Luns.FirstOrDefault(x => x.CanonicalName == lun || string.Equals(x.Uuid, lun, StringComparison.OrdinalIgnoreCase));
            if (l == null) return false;
            if (l.Datastore != null) throw new SimFault("The LUN '" + l.CanonicalName + "' backs datastore '" + l.Datastore + "' and cannot be mapped raw.");
            info = new SDatastoreInfoLib
            {
                accessible = true, strDataStoreName = l.CanonicalName, strDataStoreType = "RDM", strDataStoreUUID = l.Uuid,
                strDatastorePath = "/vmfs/devices/disks/" + l.CanonicalName, i64TotalSize = l.Capacity, i64FreeSpace = 0,
                extentsInfoList = new List<SSCSILUNInfoLib> { LunRecord(l) }, vmInfoList = new List<SVMInfoLib>()
            };
            return true;
        }

        public int RefreshHostAdapter(string host, SHostStorageAdapterInfoLib adapter, List<SDatastoreInfoLib> datastores)
        {
            Placed();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            Need("Host.Config.Storage", "vim.HostSystem:" + h.Moref);
            var a = h.Hbas.FirstOrDefault(x => (!string.IsNullOrEmpty(adapter.strIscsiName) && x.IscsiName == adapter.strIscsiName)
                || (!string.IsNullOrEmpty(adapter.strportWorldWideName) && x.PortWwn == adapter.strportWorldWideName))
                ?? h.Hbas.FirstOrDefault(x => string.IsNullOrEmpty(adapter.strIscsiName) && string.IsNullOrEmpty(adapter.strportWorldWideName) && x.Type == adapter.strAdapterType);
            if (a == null) throw new SimFault("The storage adapter was not found on host '" + h.Name + "'.");
            a.Rescans++;
            foreach (var d in datastores ?? new List<SDatastoreInfoLib>())
                if (!h.Luns.Any(l => l.Adapter == a && l.Datastore == d.strDataStoreName) && !Sim.SnapVolumes.Any(s => s.Host == h.Name && s.Volume.Name == d.strDataStoreName))
                    throw new SimFault("The datastore '" + d.strDataStoreName + "' is not reachable through adapter " + a.Device + ".");
            return 1;
        }

        public bool GetHostListForDatastore(string datastore, out List<string> hosts)
        {
            hosts = null;
            Placed();
            var ds = Sim.FindDatastore(datastore);
            if (ds == null) throw new SimFault("The datastore '" + datastore + "' was not hosts.");
            hosts = Sim.Hosts.Where(h => ds.MountedOn(h.Name)).Select(h => h.Name).ToList();
            return true;
        }
    }
}
#endif
