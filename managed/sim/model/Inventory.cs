using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // Object kinds as an inventory node's "type" carries them.
    enum InvKind { Folder = 1, Datacenter = 2, Cluster = 3, Host = 4, ResourcePool = 5, VApp = 6, VirtualMachine = 7, Datastore = 8, Network = 9, PortGroup = 10 }

    sealed class NetAdapter
    {
        public string Device, Configured = "true", SwitchedType, PortGroup = "", Mac, Ip = "", Mask = "";
        public bool WakeOnLan;
        public int Speed;
    }

    sealed class StorageAdapter
    {
        public string Device, Type, RemoteHost = "", RemotePath = "", IscsiName = "", IscsiAlias = "", PortWwn = "", NodeWwn = "";
        public int Rescans;
    }

    sealed class Lun
    {
        public string CanonicalName, Key, Uuid, Serial, Inquiry, Vendor = "SIMSTOR";
        public long Capacity;
        public StorageAdapter Adapter;
        public string Datastore;   // the datastore it backs; null for a free LUN (raw device mapping)
    }

    sealed class Network
    {
        public string Name, Moref, Switch;
        public bool Distributed;
        public Datacenter Dc;
    }

    // A resource pool, or a vApp (which is a pool of its own kind).
    sealed class Pool
    {
        public string Name, Moref;
        public bool VApp;
        public Pool Parent;
        public Compute Owner;
        public readonly List<Pool> Children = new List<Pool>();
        public readonly List<Vm> Vms = new List<Vm>();

        public string Path { get { return Parent == null ? Name : Parent.Path + "/" + Name; } }
    }

    // A cluster, or the compute resource of a standalone host.
    sealed class Compute
    {
        public string Name, Moref;
        public bool IsCluster;
        public Datacenter Dc;
        public readonly List<HostInfo> Hosts = new List<HostInfo>();
        public Pool Root;
    }

    sealed class InvFolder
    {
        public string Name, Moref, View = "vm";
        public Datacenter Dc;
        public InvFolder Parent;
        public readonly List<InvFolder> Folders = new List<InvFolder>();
        public readonly List<Vm> Vms = new List<Vm>();

        public string Path { get { return Parent == null ? Name : Parent.Path + "/" + Name; } }
    }

    sealed class Datacenter
    {
        public string Name, Moref;
        public InvFolder VmFolder, HostFolder, DatastoreFolder, NetworkFolder;
        public readonly List<Compute> Computes = new List<Compute>();
        public readonly List<string> Datastores = new List<string>();
        public readonly List<Network> Networks = new List<Network>();
    }

    sealed partial class HostInfo
    {
        public string Moref, Version = "8.0.1", Build = "22088981", Vendor = "Dell Inc.", Model = "PowerEdge R650", FaultDomain = "";
        public Datacenter Dc;
        public Compute Compute;
        public bool Maintenance;
        public int ConnectionState;   // 0 connected, 1 disconnected, 2 not responding
        public int Sockets = 2, CoresPerSocket = 16, MhzPerCore = 2600, CpuUsedMhz;
        public long MemoryBytes = 512L << 30, MemoryUsedMB;
        public long ClockSkewSeconds;
        public readonly List<NetAdapter> Pnics = new List<NetAdapter>();
        public readonly List<NetAdapter> Vnics = new List<NetAdapter>();
        public readonly List<StorageAdapter> Hbas = new List<StorageAdapter>();
        public readonly List<Lun> Luns = new List<Lun>();
        public readonly List<Network> Networks = new List<Network>();
        public bool Clustered { get { return Compute != null && Compute.IsCluster; } }

        // The datastores mounted here, in the inventory's order.
        public List<string> Mounts { get { return Sim.Datastores.Where(d => d.Hosts.Any(x => string.Equals(x, Name, StringComparison.OrdinalIgnoreCase))).Select(d => d.Name).ToList(); } }
    }

    // A storage snapshot of a datastore presented to a host as a volume of its own.
    sealed class SnapVolume
    {
        public Datastore Volume;
        public string Source, Host;
        public bool Resignatured, Primary;
        public readonly List<Vm> Vms = new List<Vm>();
    }

    static partial class Sim
    {
        public static readonly List<Datacenter> Datacenters = new List<Datacenter>();
        public static readonly List<Compute> Computes = new List<Compute>();
        public static readonly List<Network> NetworkObjects = new List<Network>();
        public static readonly Dictionary<Vm, Pool> VmPool = new Dictionary<Vm, Pool>();
        public static readonly Dictionary<Vm, InvFolder> VmFolder = new Dictionary<Vm, InvFolder>();
        public static readonly Dictionary<string, object> ByMoref = new Dictionary<string, object>(StringComparer.OrdinalIgnoreCase);
        public static readonly List<SnapVolume> SnapVolumes = new List<SnapVolume>();
        public static string MgmtBuild = "22385739";
        static int morefSeq;

        static string NextMoref(string prefix, object target)
        {
            // "datastore-1001", but "group-v1001" where the prefix already has its dash.
            var stem = prefix.Contains("-") ? prefix : prefix + "-";
            var m = stem + (++morefSeq);
            while (ByMoref.ContainsKey(m)) m = stem + (++morefSeq);
            ByMoref[m] = target;
            return m;
        }

        static void Register(string moref, object target)
        {
            if (!string.IsNullOrEmpty(moref)) ByMoref[moref] = target;
        }

        static List<string> Names(string text)
        {
            return (text ?? "").Split(new[] { ',' }, StringSplitOptions.RemoveEmptyEntries).Select(x => x.Trim()).Where(x => x.Length > 0).ToList();
        }

        // Places hosts, datastores, networks and VMs in datacenters, clusters, pools and folders, and generates
        // the configured bulk on top. Without a layout everything lands in one datacenter.
        static void BuildInventory(XmlElement root)
        {
            Datacenters.Clear(); Computes.Clear(); NetworkObjects.Clear(); VmPool.Clear(); VmFolder.Clear(); ByMoref.Clear();
            SnapVolumes.Clear();
            morefSeq = 1000;
            MgmtBuild = root != null ? A(root, "build", "22385739") : "22385739";

            var layout = All(root, "datacenter").ToList();
            var gen = All(root, "generate").FirstOrDefault();
            // A purely generated inventory has no place for loose objects, so no default datacenter either.
            if (layout.Count == 0 && (gen == null || Hosts.Count > 0 || Datastores.Count > 0 || Networks.Count > 0 || Vms.Count > 0))
                Datacenters.Add(NewDatacenter("Datacenter", null));
            foreach (var e in layout)
            {
                var dc = NewDatacenter(A(e, "name"), A(e, "moref"));
                Datacenters.Add(dc);
                foreach (var c in All(e, "cluster"))
                {
                    var comp = NewCompute(dc, A(c, "name"), A(c, "moref"), true);
                    foreach (var h in Names(A(c, "hosts"))) { var host = Hosts.FirstOrDefault(x => x.Name == h); if (host != null) Join(host, comp); }
                }
            }
            var first = Datacenters.FirstOrDefault();
            var hostElements = All(root, "host").ToList();
            foreach (var h in Hosts)
            {
                var e = hostElements.FirstOrDefault(x => A(x, "name") == h.Name);
                ConfigureHost(h, e, first);
            }
            foreach (var ds in Datastores) PlaceDatastore(ds, Datacenters.FirstOrDefault(d => Hosts.Any(h => h.Dc == d && ds.MountedOn(h.Name))) ?? first);
            foreach (var n in Networks)
            {
                var e = All(root, "network").FirstOrDefault(x => A(x, "name") == n);
                var net = new Network { Name = n, Distributed = e != null && B(e, "distributed"), Switch = e != null ? A(e, "switch", "") : "", Dc = first };
                net.Moref = NextMoref(net.Distributed ? "dvportgroup" : "network", net);
                NetworkObjects.Add(net);
                first.Networks.Add(net);
            }
            foreach (var h in Hosts) ConnectHost(h);

            foreach (var e in layout)
            {
                var dc = Datacenters.First(d => d.Name == A(e, "name"));
                foreach (var p in All(e, "resourcePool").Concat(All(e, "vapp")))
                {
                    var owner = Computes.FirstOrDefault(c => c.Dc == dc && (c.Name == A(p, "owner") || c.Moref == A(p, "owner"))) ?? Computes.FirstOrDefault(c => c.Dc == dc);
                    if (owner == null) continue;
                    var parent = FindPools(owner.Root).FirstOrDefault(x => x.Name == A(p, "parent")) ?? owner.Root;
                    var pool = NewPool(A(p, "name"), A(p, "moref"), p.Name == "vapp", parent);
                    foreach (var vmName in Names(A(p, "vms"))) { var vm = FindVm(vmName); if (vm != null) Place(vm, pool, null); }
                }
                foreach (var f in All(e, "folder"))
                {
                    var folder = MakeFolder(dc.VmFolder, A(f, "path"));
                    foreach (var vmName in Names(A(f, "vms"))) { var vm = FindVm(vmName); if (vm != null) Place(vm, null, folder); }
                }
            }
            foreach (var vm in Vms) PlaceByHost(vm);

            if (gen != null) Generate(gen);
        }

        static Datacenter NewDatacenter(string name, string moref)
        {
            var dc = new Datacenter { Name = name };
            dc.Moref = string.IsNullOrEmpty(moref) ? NextMoref("datacenter", dc) : moref;
            Register(dc.Moref, dc);
            dc.VmFolder = ViewFolder(dc, "vm", "group-v");
            dc.HostFolder = ViewFolder(dc, "host", "group-h");
            dc.DatastoreFolder = ViewFolder(dc, "datastore", "group-s");
            dc.NetworkFolder = ViewFolder(dc, "network", "group-n");
            return dc;
        }

        static InvFolder ViewFolder(Datacenter dc, string view, string prefix)
        {
            var f = new InvFolder { Name = view, View = view, Dc = dc };
            f.Moref = NextMoref(prefix, f);
            return f;
        }

        static Compute NewCompute(Datacenter dc, string name, string moref, bool cluster)
        {
            var comp = new Compute { Name = name, IsCluster = cluster, Dc = dc };
            comp.Moref = string.IsNullOrEmpty(moref) ? NextMoref(cluster ? "domain-c" : "domain-s", comp) : moref;
            Register(comp.Moref, comp);
            comp.Root = new Pool { Name = "Resources", Owner = comp };
            comp.Root.Moref = NextMoref("resgroup", comp.Root);
            dc.Computes.Add(comp);
            Computes.Add(comp);
            return comp;
        }

        static Pool NewPool(string name, string moref, bool vapp, Pool parent)
        {
            var pool = new Pool { Name = name, VApp = vapp, Parent = parent, Owner = parent.Owner };
            pool.Moref = string.IsNullOrEmpty(moref) ? NextMoref(vapp ? "resgroup-v" : "resgroup", pool) : moref;
            Register(pool.Moref, pool);
            parent.Children.Add(pool);
            return pool;
        }

        static InvFolder MakeFolder(InvFolder under, string path)
        {
            foreach (var part in (path ?? "").Split(new[] { '/' }, StringSplitOptions.RemoveEmptyEntries))
            {
                var next = under.Folders.FirstOrDefault(x => x.Name == part);
                if (next == null)
                {
                    next = new InvFolder { Name = part, Parent = under, Dc = under.Dc };
                    next.Moref = NextMoref("group-v", next);
                    under.Folders.Add(next);
                }
                under = next;
            }
            return under;
        }

        static void Join(HostInfo host, Compute comp)
        {
            host.Compute = comp;
            host.Dc = comp.Dc;
            comp.Hosts.Add(host);
        }

        static void ConfigureHost(HostInfo h, XmlElement e, Datacenter fallback)
        {
            if (e != null)
            {
                h.Moref = A(e, "moref");
                h.Version = A(e, "version", h.Version);
                h.Build = A(e, "build", h.Build);
                h.Vendor = A(e, "vendor", h.Vendor);
                h.Model = A(e, "model", h.Model);
                h.Sockets = (int)L(e, "sockets", h.Sockets);
                h.CoresPerSocket = (int)L(e, "coresPerSocket", h.CoresPerSocket);
                h.MemoryBytes = L(e, "memoryGB", h.MemoryBytes >> 30) << 30;
                h.Maintenance = B(e, "maintenance");
                h.ConnectionState = A(e, "state", "connected") == "disconnected" ? 1 : A(e, "state", "connected") == "notResponding" ? 2 : 0;
                h.ClockSkewSeconds = L(e, "clockSkewSeconds", 0);
                h.FaultDomain = A(e, "faultDomain", "");
            }
            if (string.IsNullOrEmpty(h.Moref)) h.Moref = NextMoref("host", h); else Register(h.Moref, h);
            if (h.Compute == null)
            {
                var dc = e != null ? Datacenters.FirstOrDefault(d => d.Name == A(e, "datacenter")) ?? fallback : fallback;
                Join(h, NewCompute(dc, h.Name, null, false));
            }
        }

        static void PlaceDatastore(Datastore ds, Datacenter dc)
        {
            if (!dc.Datastores.Contains(ds.Name)) dc.Datastores.Add(ds.Name);
            Register(ds.Moref, ds);
        }

        public static Datacenter DatacenterOf(Datastore ds)
        {
            return Datacenters.FirstOrDefault(d => d.Datastores.Contains(ds.Name));
        }

        public static Datastore NewVmfs(string name, long capacity, IEnumerable<string> hosts)
        {
            var ds = new Datastore { Name = name, Type = "VMFS", Capacity = capacity, Uuid = MakeDsUuid(name) };
            ds.Moref = NextMoref("datastore", ds);
            ds.Url = "ds:///vmfs/volumes/" + ds.Uuid + "/";
            ds.Hosts.AddRange(hosts);
            Datastores.Add(ds);
            return ds;
        }

        // Adapters, LUNs and networks of a host, derived from its name and position so that each run is the same.
        static void ConnectHost(HostInfo h)
        {
            int n = Hosts.IndexOf(h) + 1;
            var mac = Hash("mac:" + h.Name);
            for (int i = 0; i < 2; i++)
                h.Pnics.Add(new NetAdapter
                {
                    Device = "vmnic" + i, SwitchedType = "vSwitch0", Mac = "00:50:56:" + Hex(mac.Skip(i * 3).ToArray(), 3, ":"),
                    WakeOnLan = i == 0, Speed = 10000
                });
            h.Vnics.Add(new NetAdapter { Device = "vmk0", SwitchedType = "vSwitch0", PortGroup = "Management Network", Mac = "00:50:56:6" + (n % 10) + ":" + Hex(mac, 2, ":"), Ip = "10.0." + (n / 250) + "." + (10 + n % 250), Mask = "255.255.255.0", Speed = 0 });
            h.Vnics.Add(new NetAdapter { Device = "vmk1", SwitchedType = "vSwitch0", PortGroup = "vMotion", Mac = "00:50:56:6" + (n % 10) + ":" + Hex(mac.Skip(2).ToArray(), 2, ":"), Ip = "10.1." + (n / 250) + "." + (10 + n % 250), Mask = "255.255.255.0", Speed = 0 });
            var local = new StorageAdapter { Device = "vmhba0", Type = "ParallelScsi" };
            var iscsi = new StorageAdapter
            {
                Device = "vmhba64", Type = "InternetScsi", RemoteHost = "10.20.0.5", RemotePath = "3260",
                IscsiName = "iqn.1998-01.com.vmware:" + h.Name.Split('.')[0] + "-" + Hex(Hash("iqn:" + h.Name), 4, ""), IscsiAlias = h.Name.Split('.')[0]
            };
            var fc = new StorageAdapter
            {
                Device = "vmhba2", Type = "FibreChannel",
                PortWwn = "20:00:" + Hex(Hash("pwwn:" + h.Name), 6, ":"), NodeWwn = "20:01:" + Hex(Hash("nwwn:" + h.Name), 6, ":")
            };
            h.Hbas.AddRange(new[] { local, iscsi, fc });
            h.Luns.Add(MakeLun("mpx.vmhba0:C0:T0:L0", local, null, 32 * GiB));
            foreach (var ds in Datastores.Where(d => !d.Nas && d.MountedOn(h.Name) && !SnapVolumes.Any(v => v.Volume == d)))
                h.Luns.Add(MakeLun(LunNameOf(ds.Name), iscsi, ds.Name, ds.Capacity));
            h.Luns.Add(MakeLun("naa.6" + Hex(Hash("rdm:" + h.Name), 16, "").Substring(1), fc, null, 100 * GiB));
            h.Networks.AddRange(NetworkObjects.Where(x => x.Dc == h.Dc));
            h.MemoryUsedMB = h.MemoryBytes / MiB / 8;
            h.CpuUsedMhz = h.Sockets * h.CoresPerSocket * h.MhzPerCore / 10;
        }

        // A shared datastore's LUN has the same name on every host that sees it.
        public static string LunNameOf(string datastore) { return "naa.6" + Hex(Hash("lun:" + datastore), 16, "").Substring(1); }

        static Lun MakeLun(string canonical, StorageAdapter adapter, string datastore, long capacity)
        {
            var h = Hash("uuid:" + canonical);
            return new Lun
            {
                CanonicalName = canonical, Key = "key-vim.host.ScsiDisk-" + Hex(h, 8, ""), Uuid = "0200000000" + Hex(h, 16, ""),
                Serial = Hex(h.Skip(4).ToArray(), 6, "").ToUpperInvariant(), Inquiry = "SIMSTOR  VirtualDisk     1.0 ", Adapter = adapter, Datastore = datastore, Capacity = capacity
            };
        }

        static void Place(Vm vm, Pool pool, InvFolder folder)
        {
            if (pool != null)
            {
                vm.ResourcePool = pool.Path;
                Pool old;
                if (VmPool.TryGetValue(vm, out old)) old.Vms.Remove(vm);
                VmPool[vm] = pool;
                pool.Vms.Add(vm);
            }
            if (folder != null)
            {
                vm.Folder = folder.Path;
                InvFolder old;
                if (VmFolder.TryGetValue(vm, out old)) old.Vms.Remove(vm);
                VmFolder[vm] = folder;
                folder.Vms.Add(vm);
            }
        }

        // A VM not placed explicitly goes where its own folder and pool texts say, else to its host's root pool and its
        // datacenter's VM folder (templates to "Templates").
        public static void PlaceByHost(Vm vm)
        {
            var h = FindHost(vm.Host);
            var dc = h != null ? h.Dc : Datacenters.FirstOrDefault();
            if (!VmPool.ContainsKey(vm) && h != null)
            {
                var wanted = (vm.ResourcePool ?? "").Trim('/');
                var pools = FindPools(h.Compute.Root).ToList();
                Place(vm, pools.FirstOrDefault(p => p.Path == wanted) ?? pools.FirstOrDefault(p => p.Name == wanted || p.Moref == wanted) ?? h.Compute.Root, null);
            }
            if (!VmFolder.ContainsKey(vm) && dc != null)
            {
                var path = (vm.Folder ?? "").Trim('/');
                if (path.StartsWith(dc.Name + "/", StringComparison.Ordinal)) path = path.Substring(dc.Name.Length + 1);
                if (path == "vm" || path.StartsWith("vm/", StringComparison.Ordinal)) path = path.Substring(2).Trim('/');
                Place(vm, null, path.Length > 0 ? MakeFolder(dc.VmFolder, path) : vm.Template ? MakeFolder(dc.VmFolder, "Templates") : dc.VmFolder);
            }
            if (string.IsNullOrEmpty(vm.Moref)) vm.Moref = NextMoref("vm", vm); else Register(vm.Moref, vm);
        }

        // VMs come and go outside the inventory (created, registered, removed, or replaced by a saved state): the
        // placements follow the VM list, a replaced VM keeping its predecessor's place by its reference.
        public static void SyncPlacements()
        {
            var current = new HashSet<Vm>(Vms);
            if (current.Count == VmFolder.Count && VmFolder.Keys.All(current.Contains)) return;
            var byMoref = Vms.Where(v => !string.IsNullOrEmpty(v.Moref)).GroupBy(v => v.Moref).ToDictionary(g => g.Key, g => g.First());
            foreach (var gone in VmFolder.Keys.Concat(VmPool.Keys).Distinct().Where(v => !current.Contains(v)).ToList())
            {
                Pool pool;
                InvFolder folder;
                VmPool.TryGetValue(gone, out pool);
                VmFolder.TryGetValue(gone, out folder);
                if (pool != null) { pool.Vms.Remove(gone); VmPool.Remove(gone); }
                if (folder != null) { folder.Vms.Remove(gone); VmFolder.Remove(gone); }
                object registered;
                if (!string.IsNullOrEmpty(gone.Moref) && ByMoref.TryGetValue(gone.Moref, out registered) && registered == gone) ByMoref.Remove(gone.Moref);
                Vm successor;
                if (string.IsNullOrEmpty(gone.Moref) || !byMoref.TryGetValue(gone.Moref, out successor) || VmFolder.ContainsKey(successor)) continue;
                var host = FindHost(successor.Host);
                if (pool != null && host != null && pool.Owner == host.Compute) Place(successor, pool, null);
                if (folder != null) Place(successor, null, folder);
            }
            foreach (var vm in Vms.Where(v => !VmFolder.ContainsKey(v) || !VmPool.ContainsKey(v))) PlaceByHost(vm);
        }

        public static HostInfo FindHost(string id)
        {
            if (string.IsNullOrEmpty(id)) return null;
            return Hosts.FirstOrDefault(h => string.Equals(h.Name, id, StringComparison.OrdinalIgnoreCase) || string.Equals(h.Moref, id, StringComparison.OrdinalIgnoreCase));
        }

        public static Compute FindCompute(string id)
        {
            if (string.IsNullOrEmpty(id)) return null;
            return Computes.FirstOrDefault(c => string.Equals(c.Name, id, StringComparison.OrdinalIgnoreCase) || string.Equals(c.Moref, id, StringComparison.OrdinalIgnoreCase));
        }

        public static IEnumerable<Pool> FindPools(Pool root)
        {
            yield return root;
            foreach (var c in root.Children)
                foreach (var p in FindPools(c)) yield return p;
        }

        public static IEnumerable<Pool> AllPools() { return Computes.SelectMany(c => FindPools(c.Root)); }

        // Hosts of a host name or of a cluster (either by name or managed-object reference).
        public static List<HostInfo> HostsOf(string hostOrCluster)
        {
            var h = FindHost(hostOrCluster);
            if (h != null) return new List<HostInfo> { h };
            var c = FindCompute(hostOrCluster);
            if (c != null) return new List<HostInfo>(c.Hosts);
            throw new SimFault("The host or cluster '" + hostOrCluster + "' was not found.");
        }

        public static int Flags(Vm vm)
        {
            return (vm.On ? 1 : 0) | (vm.Template ? 2 : 0) | (vm.Tools == "running" ? 4 : 0);
        }

        // Deterministic bulk: datacenters, clusters of hosts, shared datastores, pools and VMs spread evenly.
        static void Generate(XmlElement g)
        {
            int dcs = (int)Math.Max(1, L(g, "datacenters", 1)), clusters = (int)Math.Max(1, L(g, "clustersPerDatacenter", 2));
            int hosts = (int)Math.Max(1, L(g, "hosts", 4)), dss = (int)Math.Max(1, L(g, "datastores", 4)), vms = (int)Math.Max(0, L(g, "vms", 16));
            int pools = (int)Math.Max(0, L(g, "poolsPerCluster", 2)), perShare = (int)Math.Max(1, L(g, "hostsPerDatastore", 4));
            var prefix = A(g, "prefix", "gen");
            var comps = new List<Compute>();
            for (int d = 0; d < dcs; d++)
            {
                var dc = NewDatacenter(prefix + "-dc" + (d + 1).ToString("D2"), null);
                Datacenters.Add(dc);
                var net = new Network { Name = prefix + "-dc" + (d + 1).ToString("D2") + "-pg", Distributed = true, Switch = prefix + "-dvs" + (d + 1), Dc = dc };
                net.Moref = NextMoref("dvportgroup", net);
                NetworkObjects.Add(net);
                dc.Networks.Add(net);
                if (!Networks.Contains(net.Name)) Networks.Add(net.Name);
                for (int c = 0; c < clusters; c++) comps.Add(NewCompute(dc, prefix + "-dc" + (d + 1).ToString("D2") + "-cl" + (c + 1).ToString("D2"), null, true));
            }
            var newDs = new List<Datastore>();
            for (int i = 0; i < dss; i++)
                newDs.Add(NewVmfs(prefix + "-ds" + (i + 1).ToString("D3"), (4096 + 1024L * (i % 4)) * GiB, new string[0]));
            var newHosts = new List<HostInfo>();
            for (int i = 0; i < hosts; i++)
            {
                var h = new HostInfo { Name = prefix + "-esx" + (i + 1).ToString("D3") + ".sim.local", MaxHardwareVersion = 21 };
                Hosts.Add(h);
                h.Moref = NextMoref("host", h);
                Join(h, comps[i % comps.Count]);
                // Each block of perShare consecutive hosts shares the datastores dealt to it.
                int groups = (hosts + perShare - 1) / perShare;
                for (int k = 0; k < dss; k++) if (k % groups == i / perShare) newDs[k].Hosts.Add(h.Name);
                if (!newDs.Any(d => d.Hosts.Contains(h.Name))) newDs[i % dss].Hosts.Add(h.Name);
                foreach (var ds in newDs.Where(d => d.Hosts.Contains(h.Name))) PlaceDatastore(ds, h.Dc);
                newHosts.Add(h);
            }
            foreach (var h in newHosts) ConnectHost(h);
            foreach (var comp in comps)
                for (int p = 0; p < pools; p++)
                {
                    var pool = NewPool("pool" + (p + 1), null, false, comp.Root);
                    NewPool("pool" + (p + 1) + "-child", null, false, pool);
                }
            for (int i = 0; i < vms; i++)
            {
                var h = newHosts[i % newHosts.Count];
                var mounts = h.Mounts;
                var vm = NewSimpleVm(prefix + "-vm" + (i + 1).ToString("D5"), h, mounts[i % mounts.Count], i % 3 != 0, i % 50 == 49);
                var pools2 = FindPools(h.Compute.Root).ToList();
                Place(vm, pools2[i % pools2.Count], MakeFolder(h.Dc.VmFolder, "group" + (i % 10)));
                PlaceByHost(vm);
            }
        }

        // A one-disk Linux VM on the host and datastore, added to the VM list.
        public static Vm NewSimpleVm(string name, HostInfo h, string datastore, bool on, bool template)
        {
            var vm = new Vm
            {
                Name = name, Host = h.Name, Datastore = datastore, Power = on && !template ? "poweredOn" : "poweredOff",
                Tools = on && !template ? "running" : "notRunning", Template = template,
                GuestId = "otherLinux64Guest", GuestName = "Other Linux (64-bit)", HardwareVersion = 19, MemoryMB = 2048
            };
            vm.Uuid = MakeUuid("bios:" + vm.Name, 0x42);
            vm.InstanceUuid = MakeUuid("instance:" + vm.Name, 0x50);
            vm.Networks.Add(h.Networks.Count > 0 ? h.Networks[h.Networks.Count - 1].Name : "VM Network");
            vm.NewSegment();
            vm.Disks.Add(new Disk { Key = 2000, Label = "Hard disk 1", Dir = vm.HomeDir, Stem = vm.Name, Capacity = 16 * GiB, Thin = true });
            vm.NumCpu = 2;
            vm.Firmware = "efi";
            PlaceDisks(vm);
            ResetTracking(vm);
            Vms.Add(vm);
            return vm;
        }

        // The text of a UTC instant as the server reports it.
        public static string TimeText(DateTime t)
        {
            return t.ToUniversalTime().ToString("yyyy-MM-ddTHH:mm:ss.fffZ", CultureInfo.InvariantCulture);
        }
    }

    public static partial class Simulator
    {
        // A new connected host, in the named cluster or standalone in the first datacenter, mounting the named datastores.
        public static bool AddHost(string name, string cluster, string datastores)
        {
            return Sim.Hold(() => Sim.AddHost(name, cluster, datastores), false);
        }

        public static int InventorySize()
        {
            return Sim.Hold(() => Sim.ByMoref.Count, false);
        }

        // A VM created beside the client (in another session, say): it has no place in the inventory until one looks.
        public static bool AddVm(string name, string host, string datastore)
        {
            return Sim.Hold(() =>
            {
                var h = Sim.FindHost(host);
                var ds = Sim.FindDatastore(datastore ?? "");
                if (string.IsNullOrEmpty(name) || h == null || ds == null || !ds.MountedOn(h.Name) || Sim.FindVm(name) != null) return false;
                var vm = Sim.NewSimpleVm(name, h, ds.Name, true, false);
                vm.Moref = Sim.NextMoref();
                Sim.RefreshVmFiles();
                return true;
            }, false);
        }

        // A VM removed beside the client, files and all.
        public static bool RemoveVm(string name)
        {
            return Sim.Hold(() =>
            {
                var vm = Sim.FindVm(name ?? "");
                if (vm == null) return false;
                Sim.DropVmFiles(vm);
                Sim.Vms.Remove(vm);
                return true;
            }, false);
        }
    }

    static partial class Sim
    {
        public static bool AddHost(string name, string cluster, string datastores)
        {
            if (string.IsNullOrEmpty(name) || FindHost(name) != null) return false;
            var comp = FindCompute(cluster);
            if (!string.IsNullOrEmpty(cluster) && (comp == null || !comp.IsCluster)) return false;
            var h = new HostInfo { Name = name, MaxHardwareVersion = 21 };
            foreach (var ds in Names(datastores).Select(FindDatastore).Where(d => d != null)) ds.Hosts.Add(name);
            Hosts.Add(h);
            if (comp != null) Join(h, comp);
            if (Datacenters.Count == 0) Datacenters.Add(NewDatacenter("Datacenter", null));
            ConfigureHost(h, null, Datacenters[0]);
            ConnectHost(h);
            return true;
        }
    }
}
