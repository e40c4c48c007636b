#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Security.Cryptography;
using System.Text;

namespace VISDKWrapper
{
    sealed partial class VimClient
    {
        // What one operation knows of the inventory. Objects come in bulk, never one request per object: every object
        // of some types over one view of the whole inventory (Load), or chosen objects of one type with more paths
        // (Detail). They are merged by reference, and the relations (host to cluster, datastore to hosts, tree
        // children) are followed here in memory.
        sealed partial class InventoryRead
        {
            public const ulong HostDsList = 0x2000000, HostNwList = 0x4000000, HostAdapters = 0x8000000, HostVmList = 0x20000000, HostNicInfo = 0x80000000;
            public const ulong DsExtents = 0x100000000, DsVmList = 0x400000000, VAppVmList = 0x100000000000;
            public const ulong ClusterVmList = 0x10000000000000, ClusterHostList = 0x20000000000000;

            // Where every host sits and what it holds: enough to place it, count its VMs and share its datastores.
            public static readonly string[] HostPlace = { "name", "parent", "datastore", "vm" };
            static readonly string[] HostFacts =
            {
                "summary.hardware", "summary.config.product", "summary.config.faultToleranceEnabled", "summary.quickStats",
                "runtime.connectionState", "runtime.inMaintenanceMode", "config.vsanHostConfig.faultDomainInfo.name"
            };
            static readonly string[] HostNics = { "config.network.pnic", "config.network.vnic", "config.network.vswitch", "config.network.portgroup", "config.network.proxySwitch" };
            public static readonly string[] HostStorage = { "config.storageDevice.hostBusAdapter", "config.storageDevice.scsiLun", "config.storageDevice.multipathInfo" };
            public static readonly string[] DatastoreFacts = { "name", "summary", "info", "host" };
            public static readonly string[] VmBrief = { "name", "config.uuid", "config.instanceUuid", "config.guestFullName", "config.files.vmPathName" };
            public static readonly string[] VmFlags = { "name", "runtime.powerState", "config.template", "guest.toolsRunningStatus" };
            public static readonly string[] PoolFacts = { "name", "parent", "owner", "resourcePool", "vm" };

            readonly VimClient client;
            readonly Dictionary<MoRef, ObjectContent> objects = new Dictionary<MoRef, ObjectContent>();
            readonly Dictionary<MoRef, HashSet<string>> read = new Dictionary<MoRef, HashSet<string>>();
            readonly List<MoRef> order = new List<MoRef>();
            Dictionary<MoRef, List<MoRef>> mounts;

            public InventoryRead(VimClient client) { this.client = client; }

            // Where the hosts sit (datacenters, folders, compute resources) and what each holds.
            public static Kinds Places()
            {
                return new Kinds().Add("Datacenter", "name", "parent", "vmFolder").Add("Folder", "name", "parent")
                    .Add("ComputeResource", "name", "parent", "host", "resourcePool").Add("HostSystem", HostPlace);
            }

            public static string[] HostPaths(ulong mask)
            {
                var paths = HostPlace.Concat(HostFacts);
                if ((mask & HostNwList) != 0) paths = paths.Concat(new[] { "network" });
                if ((mask & HostAdapters) != 0) paths = paths.Concat(new[] { "config.storageDevice.hostBusAdapter" });
                if ((mask & HostNicInfo) != 0) paths = paths.Concat(HostNics);
                return paths.ToArray();
            }

            public static string[] DatastorePaths(ulong mask)
            {
                return (mask & DsVmList) != 0 ? DatastoreFacts.Concat(new[] { "vm" }).ToArray() : DatastoreFacts;
            }

            // ---- reading ----

            public InventoryRead Load(Kinds kinds)
            {
                var asked = kinds.ToArrays();
                Merge(client.RetrieveAll("ManagedEntity", asked), o => PathsFor(asked, o.Obj.Type));
                return this;
            }

            // The objects not yet read with these paths, in one request.
            public void Detail(IEnumerable<MoRef> refs, string type, params string[] paths)
            {
                var missing = refs.Where(r => r != null).Distinct().Where(r => { HashSet<string> had; return !read.TryGetValue(r, out had) || !had.IsSupersetOf(paths); }).ToList();
                if (missing.Count > 0) Merge(client.RetrieveMany(missing, type, paths), o => paths);
            }

            void Merge(List<ObjectContent> found, Func<ObjectContent, IEnumerable<string>> paths)
            {
                foreach (var o in found)
                {
                    ObjectContent had;
                    if (objects.TryGetValue(o.Obj, out had)) foreach (var p in o.Props) had.Props[p.Key] = p.Value;
                    else { objects[o.Obj] = o; order.Add(o.Obj); read[o.Obj] = new HashSet<string>(); }
                    read[o.Obj].UnionWith(paths(o));
                }
                mounts = null;
            }

            static IEnumerable<string> PathsFor(Dictionary<string, string[]> asked, string type)
            {
                string[] own, inherited;
                asked.TryGetValue(type, out own);
                asked.TryGetValue(BaseType(type), out inherited);
                return (own ?? new string[0]).Concat(inherited ?? new string[0]);
            }

            // The type a property set names to cover this one: a cluster is a compute resource, a vApp a pool, ...
            public static string BaseType(string type)
            {
                switch (type)
                {
                    case "ClusterComputeResource": return "ComputeResource";
                    case "VirtualApp": return "ResourcePool";
                    case "DistributedVirtualPortgroup":
                    case "OpaqueNetwork": return "Network";
                    case "StoragePod": return "Folder";
                    default: return type;
                }
            }

            // ---- looking up ----

            public ObjectContent Get(MoRef r)
            {
                ObjectContent o;
                return r != null && objects.TryGetValue(r, out o) ? o : null;
            }

            public ObjectContent this[MoRef r] { get { return Get(r); } }

            public IEnumerable<ObjectContent> Of(string type)
            {
                return order.Select(r => objects[r]).Where(o => o.Obj.Type == type || BaseType(o.Obj.Type) == type);
            }

            // A list of references; a server that answers with something else for the path (a structure) gives none.
            public static List<MoRef> Refs(ObjectContent o, string path)
            {
                if (o == null) return new List<MoRef>();
                return o[path].Kids.Where(k => k.Name == "ManagedObjectReference").Select(k => k.AsRef()).Where(r => r != null).Distinct().ToList();
            }

            public string Name(MoRef r)
            {
                var o = Get(r);
                return o == null ? "" : o.Str("name");
            }

            // By reference, else by name (exactly, then ignoring case); null when none of the type has it.
            public ObjectContent Find(string type, string id, Func<ObjectContent, bool> filter = null)
            {
                if (string.IsNullOrEmpty(id)) return null;
                var all = Of(type).Where(filter ?? (o => true)).ToList();
                return all.FirstOrDefault(o => o.Obj.Value == id) ?? all.FirstOrDefault(o => o.Str("name") == id)
                    ?? all.FirstOrDefault(o => string.Equals(o.Str("name"), id, StringComparison.OrdinalIgnoreCase));
            }

            public ObjectContent Require(string type, string id, string kind, Func<ObjectContent, bool> filter = null)
            {
                var found = Find(type, id, filter);
                if (found == null) throw new ClientFault("The " + kind + " '" + id + "' was not found.");
                return found;
            }

            public ObjectContent Host(string id) { return Require("HostSystem", id, "host"); }

            public ObjectContent Cluster(string id) { return Require("ComputeResource", id, "cluster", IsCluster); }

            public static bool IsCluster(ObjectContent o) { return o.Obj.Type == "ClusterComputeResource"; }

            // The hosts a host or cluster (or a standalone host's compute resource) names.
            public List<MoRef> HostsOf(string id)
            {
                var host = Find("HostSystem", id);
                if (host != null) return new List<MoRef> { host.Obj };
                var compute = Find("ComputeResource", id);
                if (compute != null) return Refs(compute, "host");
                throw new ClientFault("The host or cluster '" + id + "' was not found.");
            }

            public ObjectContent ComputeOf(MoRef host) { return Get(Get(host)?["parent"].AsRef()); }

            // The datacenter above an object, following parents through folders.
            public ObjectContent DatacenterOf(MoRef r)
            {
                for (var o = Get(r); o != null; o = Get(o["parent"].AsRef()))
                    if (o.Obj.Type == "Datacenter") return o;
                return null;
            }

            // Names from the top of what was read down to the object ("DC0", "Folder/DC1").
            public string PathOf(MoRef r)
            {
                var names = new List<string>();
                for (var o = Get(r); o != null && names.Count < 64; o = Get(o["parent"].AsRef())) names.Insert(0, o.Str("name"));
                return string.Join("/", names);
            }

            // Hosts that mount a datastore: its own mount list and every host listing it (a server may tell one side only).
            public List<MoRef> MountsOf(MoRef datastore)
            {
                if (mounts == null)
                {
                    mounts = new Dictionary<MoRef, List<MoRef>>();
                    foreach (var h in Of("HostSystem"))
                        foreach (var d in Refs(h, "datastore")) Mounted(d).Add(h.Obj);
                    foreach (var d in Of("Datastore"))
                        foreach (var m in d["host"].Kids) { var h = m.Ref("key"); if (h != null && !Mounted(d.Obj).Contains(h)) Mounted(d.Obj).Add(h); }
                }
                List<MoRef> found;
                return mounts.TryGetValue(datastore, out found) ? found : new List<MoRef>();
            }

            List<MoRef> Mounted(MoRef d)
            {
                List<MoRef> list;
                if (!mounts.TryGetValue(d, out list)) mounts[d] = list = new List<MoRef>();
                return list;
            }

            // The mount's own record on that host, if the datastore lists one.
            public VimNode MountInfo(MoRef datastore, MoRef host)
            {
                var d = Get(datastore);
                var m = d == null ? null : d["host"].Kids.FirstOrDefault(k => host.Equals(k.Ref("key")));
                return m == null ? VimNode.None : m["mountInfo"];
            }

            // ---- members of the lists ----

            public IEnumerable<MoRef> RootPools()
            {
                return Of("ResourcePool").Where(p => (p["parent"].AsRef()?.Type ?? "").EndsWith("ComputeResource", StringComparison.Ordinal)).Select(p => p.Obj);
            }

            public IEnumerable<MoRef> TopVApps()
            {
                var nested = new HashSet<MoRef>(Of("ResourcePool").Where(p => p.Obj.Type == "VirtualApp").SelectMany(p => Refs(p, "resourcePool")));
                return Of("ResourcePool").Where(p => p.Obj.Type == "VirtualApp" && !nested.Contains(p.Obj)).Select(p => p.Obj);
            }

            // A pool and every pool or vApp below it.
            public IEnumerable<MoRef> PoolTree(MoRef pool)
            {
                var seen = new HashSet<MoRef>();
                var next = new Queue<MoRef>(new[] { pool });
                while (next.Count > 0)
                {
                    var p = next.Dequeue();
                    if (!seen.Add(p)) continue;
                    yield return p;
                    foreach (var child in Refs(Get(p), "resourcePool")) next.Enqueue(child);
                }
            }

            // Pools by reference, name or path below the root pool ("Resources/Production/Databases").
            public ObjectContent Pool(string id, IEnumerable<MoRef> scope)
            {
                var within = new HashSet<MoRef>(scope);
                var pools = Of("ResourcePool").Where(p => p.Obj.Type != "VirtualApp" && within.Contains(p.Obj)).ToList();
                var found = pools.FirstOrDefault(p => p.Obj.Value == id) ?? pools.FirstOrDefault(p => p.Str("name") == id) ?? pools.FirstOrDefault(p => PoolPath(p.Obj) == id);
                if (found == null) throw new ClientFault("The resource pool '" + id + "' was not found.");
                return found;
            }

            string PoolPath(MoRef pool)
            {
                var names = new List<string>();
                for (var o = Get(pool); o != null && o.Obj.Type != "Folder" && !o.Obj.Type.EndsWith("ComputeResource", StringComparison.Ordinal); o = Get(o["parent"].AsRef()))
                    names.Insert(0, o.Str("name"));
                return string.Join("/", names);
            }

            // ---- detail for the records ----

            public void PrepareHosts(List<MoRef> hosts, ulong mask)
            {
                Detail(hosts, "HostSystem", HostPaths(mask));
                if ((mask & HostVmList) != 0) Detail(hosts.SelectMany(h => Refs(Get(h), "vm")), "VirtualMachine", VmBrief);
                if ((mask & HostDsList) != 0) PrepareDatastores(hosts.SelectMany(h => Refs(Get(h), "datastore")).Distinct().ToList(), 0);
                if ((mask & HostNwList) != 0) Detail(hosts.SelectMany(h => Refs(Get(h), "network")), "Network", "name");
            }

            public void PrepareDatastores(List<MoRef> datastores, ulong mask)
            {
                Detail(datastores, "Datastore", DatastorePaths(mask));
                if ((mask & DsVmList) != 0) Detail(datastores.SelectMany(d => Refs(Get(d), "vm")), "VirtualMachine", VmBrief);
                // A VMFS extent is described by a host that mounts it.
                if ((mask & DsExtents) != 0)
                    Detail(datastores.Where(d => Get(d)?["info"].Type == "VmfsDatastoreInfo").Select(d => MountsOf(d).FirstOrDefault()), "HostSystem", HostStorage);
            }

            public void PrepareVms(IEnumerable<MoRef> vms) { Detail(vms, "VirtualMachine", VmBrief); }

            // ---- records ----

            public SVMInfoLib VmRecord(MoRef vm)
            {
                var o = Get(vm);
                var uuid = o.Str("config.uuid");
                return new SVMInfoLib
                {
                    strName = o.Str("name"), strUuid = uuid, strBiosUuid = uuid, strInstanceUuid = o.Str("config.instanceUuid"), strMoRef = vm.Value,
                    strGuestOSName = o.Str("config.guestFullName"), strConfigFile = o.Str("config.files.vmPathName")
                };
            }

            public List<SVMInfoLib> VmRecords(IEnumerable<MoRef> vms)
            {
                return vms.Distinct().Where(v => Get(v) != null).Select(VmRecord).ToList();
            }

            public SHostInfoLib HostRecord(MoRef host, ulong mask)
            {
                var o = Get(host);
                var hw = o["summary.hardware"];
                var product = o["summary.config.product"];
                var stats = o["summary.quickStats"];
                var compute = ComputeOf(host);
                var dc = DatacenterOf(host);
                var vms = Refs(o, "vm");
                var r = new SHostInfoLib
                {
                    strHostName = o.Str("name"), strMoRef = host.Value,
                    strHostDatacenter = dc == null ? "" : dc.Str("name"), strHostDatacenterPath = dc == null ? "" : "/" + PathOf(dc.Obj),
                    strHostDatacenterMoRef = dc == null ? "" : dc.Obj.Value,
                    strVMFolderPath = dc == null ? "" : PathOf(dc.Obj) + "/" + (Get(dc["vmFolder"].AsRef()) != null ? Name(dc["vmFolder"].AsRef()) : "vm"),
                    strResourcePool = compute == null ? "" : compute["resourcePool"].Text,
                    connectionState = ConnectionCode(o.Str("runtime.connectionState")), maintenanceMode = o["runtime.inMaintenanceMode"].AsBool(),
                    numVMAndTemplates = vms.Count, version = product.Str("version"), fullVersion = product.Str("fullName"),
                    manufacturer = hw.Str("vendor"), model = hw.Str("model"),
                    bClustered = compute != null && IsCluster(compute), faultToleranceEnabled = o["summary.config.faultToleranceEnabled"].AsBool(),
                    logicalProcessors = hw.Int("numCpuThreads"), processorSockets = hw.Int("numCpuPkgs"),
                    cpuTotalMhz = (int)Math.Min(int.MaxValue, hw.Long("cpuMhz") * hw.Long("numCpuCores")), cpuUsedMhz = stats.Int("overallCpuUsage"),
                    memoryTotalBytes = hw.Long("memorySize"), memoryUsedMBytes = stats.Long("overallMemoryUsage")
                };
                if (r.bClustered)
                {
                    r.clusterName = compute.Str("name");
                    r.strClusterMoref = compute.Obj.Value;
                    r.faultDomain = o.Str("config.vsanHostConfig.faultDomainInfo.name");
                }
                if ((mask & HostVmList) != 0) r.vmInfoList = VmRecords(vms);
                if ((mask & HostDsList) != 0) r.datastoreList = Refs(o, "datastore").Where(d => Get(d) != null).Select(d => DatastoreRecord(d, 0)).ToList();
                if ((mask & HostNwList) != 0)
                    r.nwList = Refs(o, "network").Distinct().Select(n => new SNetworkInfoLib { strNetworkName = Name(n), strNetworkMoref = n.Value }).ToList();
                if ((mask & HostAdapters) != 0) r.storageAdapterList = o["config.storageDevice.hostBusAdapter"].Kids.Select(AdapterRecord).ToList();
                if ((mask & HostNicInfo) != 0)
                {
                    r.physicalNetAdapterList = o["config.network.pnic"].Kids.Select(n => PhysicalNicRecord(o, n)).ToList();
                    r.virtualNetAdapterList = o["config.network.vnic"].Kids.Select(n => VirtualNicRecord(o, n)).ToList();
                }
                return r;
            }

            static int ConnectionCode(string state)
            {
                return state == "connected" ? 0 : state == "notResponding" ? 2 : 1;
            }

            // "HostInternetScsiHba" is an "InternetScsi" adapter; world-wide names are 64-bit numbers shown as colon hex.
            public static SHostStorageAdapterInfoLib AdapterRecord(VimNode hba)
            {
                var type = hba.Type ?? "";
                if (type.StartsWith("Host", StringComparison.Ordinal)) type = type.Substring(4);
                if (type.EndsWith("Hba", StringComparison.Ordinal)) type = type.Substring(0, type.Length - 3);
                var target = hba["configuredSendTarget"];
                return new SHostStorageAdapterInfoLib
                {
                    strAdapterType = type, strRemoteHost = target.Str("address"), strRemotePath = target.Str("port"),
                    strIscsiName = hba.Str("iScsiName"), strIscsiAlias = hba.Str("iScsiAlias"),
                    strportWorldWideName = Wwn(hba["portWorldWideName"]), strnodeWorldWideName = Wwn(hba["nodeWorldWideName"])
                };
            }

            static string Wwn(VimNode n)
            {
                if (!n.Present || n.Text == "") return "";
                var bytes = BitConverter.GetBytes(n.AsLong());
                Array.Reverse(bytes);
                return string.Join(":", bytes.Select(b => b.ToString("x2")));
            }

            static SHostNetworkAdapterInfoLib PhysicalNicRecord(ObjectContent host, VimNode pnic)
            {
                var key = pnic.Str("key");
                var vswitch = host["config.network.vswitch"].Kids.FirstOrDefault(s => s.All("pnic").Any(p => p.Text == key));
                var proxy = host["config.network.proxySwitch"].Kids.FirstOrDefault(s => s.All("pnic").Any(p => p.Text == key));
                return new SHostNetworkAdapterInfoLib
                {
                    device = pnic.Str("device"), configured = vswitch != null || proxy != null ? "true" : "false",
                    switchedType = vswitch != null ? vswitch.Str("name") : proxy != null ? proxy.Str("dvsName") : "", portGroup = "",
                    macAddress = pnic.Str("mac"), ipAddress = pnic.At("spec.ip.ipAddress").Text, subnetMask = pnic.At("spec.ip.subnetMask").Text,
                    wakeOnLANSupported = pnic.Bool("wakeOnLanSupported"), speed = pnic["linkSpeed"].Int("speedMb")
                };
            }

            static SHostNetworkAdapterInfoLib VirtualNicRecord(ObjectContent host, VimNode vnic)
            {
                var portGroup = vnic.Str("portgroup");
                var group = host["config.network.portgroup"].Kids.FirstOrDefault(g => g.At("spec.name").Text == portGroup);
                var dvsUuid = vnic.At("spec.distributedVirtualPort.switchUuid").Text;
                var proxy = dvsUuid == "" ? null : host["config.network.proxySwitch"].Kids.FirstOrDefault(s => s.Str("dvsUuid") == dvsUuid);
                return new SHostNetworkAdapterInfoLib
                {
                    device = vnic.Str("device"), configured = "true",
                    switchedType = group != null ? group.At("spec.vswitchName").Text : proxy != null ? proxy.Str("dvsName") : "", portGroup = portGroup,
                    macAddress = vnic.At("spec.mac").Text, ipAddress = vnic.At("spec.ip.ipAddress").Text, subnetMask = vnic.At("spec.ip.subnetMask").Text
                };
            }

            public SDatastoreInfoLib DatastoreRecord(MoRef datastore, ulong mask)
            {
                var o = Get(datastore);
                var summary = o["summary"];
                var info = o["info"];
                var uuid = DatastoreUuid(o);
                var nas = info["nas"];
                var r = new SDatastoreInfoLib
                {
                    accessible = summary.Bool("accessible"), strDataStoreName = o.Str("name"), strDataStoreType = summary.Str("type"), strDataStoreUUID = uuid,
                    strDatastorePath = nas.Present ? nas.Str("remoteHost") + ":" + nas.Str("remotePath") : info.Str("path") != "" ? info.Str("path") : "/vmfs/volumes/" + uuid,
                    strMoref = datastore.Value, i64TotalSize = summary.Long("capacity"), i64FreeSpace = summary.Long("freeSpace"),
                    blockSizeMB = info.At("vmfs.blockSizeMb").AsInt(),
                    isShared = summary.Bool("multipleHostAccess") || MountsOf(datastore).Count > 1
                };
                if ((mask & DsVmList) != 0) r.vmInfoList = VmRecords(Refs(o, "vm"));
                if ((mask & DsExtents) != 0) r.extentsInfoList = info.At("vmfs").All("extent").Select(e => LunRecord(datastore, e.Str("diskName"))).ToList();
                return r;
            }

            // The file system's own UUID, else the volume id in its URL, else one derived from the URL: stable for the datastore.
            static string DatastoreUuid(ObjectContent ds)
            {
                var vmfs = ds["info"].At("vmfs.uuid").Text;
                if (vmfs != "") return vmfs;
                var url = ds["summary"].Str("url");
                const string volumes = "ds:///vmfs/volumes/";
                if (url.StartsWith(volumes, StringComparison.Ordinal) && url.Length > volumes.Length) return url.Substring(volumes.Length).TrimEnd('/');
                using (var md5 = MD5.Create())
                {
                    var hex = string.Concat(md5.ComputeHash(Encoding.UTF8.GetBytes("datastore:" + (url != "" ? url : ds.Obj.Value))).Select(b => b.ToString("x2")));
                    return hex.Substring(0, 8) + "-" + hex.Substring(8, 8) + "-" + hex.Substring(16, 4) + "-" + hex.Substring(20, 12);
                }
            }

            // A VMFS extent's LUN as the first host mounting the datastore describes it, with the adapter of its first path.
            SSCSILUNInfoLib LunRecord(MoRef datastore, string canonicalName)
            {
                var host = Get(MountsOf(datastore).FirstOrDefault());
                var lun = host == null ? null : host["config.storageDevice.scsiLun"].Kids.FirstOrDefault(l => l.Str("canonicalName") == canonicalName);
                if (lun == null) return new SSCSILUNInfoLib { strCanonicalName = canonicalName };
                return LunRecord(lun, LunAdapters(host, lun).FirstOrDefault());
            }

            // The adapters a host reaches a LUN through, in the order of its paths.
            public static IEnumerable<VimNode> LunAdapters(ObjectContent host, VimNode lun)
            {
                var paths = host["config.storageDevice.multipathInfo"].All("lun").Where(l => l.Str("lun") == lun.Str("key")).SelectMany(l => l.All("path"));
                var hbas = host["config.storageDevice.hostBusAdapter"].Kids;
                return paths.Select(p => hbas.FirstOrDefault(a => a.Str("key") == p.Str("adapter"))).Where(a => a != null);
            }

            public static SSCSILUNInfoLib LunRecord(VimNode lun, VimNode hba)
            {
                var inquiry = lun.All("standardInquiry").Select(b => (byte)b.AsLong()).ToArray();
                return new SSCSILUNInfoLib
                {
                    strCanonicalName = lun.Str("canonicalName"), strKey = lun.Str("key"), strUUID = lun.Str("uuid"), strLUNSerialNo = lun.Str("serialNumber"),
                    strStandardInquiry = inquiry.Length >= 36 ? Encoding.ASCII.GetString(inquiry, 8, 28) : "", strVendor = lun.Str("vendor").Trim(),
                    TargetAdapter = hba == null ? new SHostStorageAdapterInfoLib() : AdapterRecord(hba)
                };
            }

            public SDataCenterInfoLib DatacenterRecord(MoRef dc, ulong mask)
            {
                var r = new SDataCenterInfoLib { strName = Name(dc), strMoRef = dc.Value };
                if (mask != 0) r.vmInfoList = VmRecords(DatacenterVms(dc));
                return r;
            }

            public IEnumerable<MoRef> DatacenterVms(MoRef dc)
            {
                return Of("HostSystem").Where(h => dc.Equals(DatacenterOf(h.Obj)?.Obj)).SelectMany(h => Refs(h, "vm"));
            }

            public SClusterInfoLib ClusterRecord(MoRef cluster, ulong mask)
            {
                var hosts = Refs(Get(cluster), "host");
                var r = new SClusterInfoLib { strClusterName = Name(cluster), strClusterMoref = cluster.Value };
                if ((mask & ClusterHostList) != 0) r.hostInfoList = hosts.Select(h => HostRecord(h, mask)).ToList();
                if ((mask & ClusterVmList) != 0) r.vmInfoList = VmRecords(hosts.SelectMany(h => Refs(Get(h), "vm")));
                return r;
            }

            // Pool kinds in "type": 0 a compute resource's root pool, 1 a pool below it.
            public SResourcePoolInfoLib PoolRecord(MoRef pool)
            {
                var o = Get(pool);
                return new SResourcePoolInfoLib
                {
                    strResourcePoolName = o.Str("name"), type = (o["parent"].AsRef()?.Type ?? "").EndsWith("ComputeResource", StringComparison.Ordinal) ? 0 : 1,
                    vmInfoList = VmRecords(Refs(o, "vm")), childPoolList = Refs(o, "resourcePool").Where(c => c.Type != "VirtualApp" && Get(c) != null).Select(PoolRecord).ToList()
                };
            }

            public SVAppInfoLib VAppRecord(MoRef vapp, ulong mask)
            {
                var o = Get(vapp);
                var r = new SVAppInfoLib
                {
                    strVAppName = o.Str("name"),
                    childVAppList = Refs(o, "resourcePool").Where(c => c.Type == "VirtualApp" && Get(c) != null).Select(c => VAppRecord(c, mask)).ToList()
                };
                if ((mask & VAppVmList) != 0) r.vmInfoList = VmRecords(Refs(o, "vm"));
                return r;
            }
        }

        // Property paths wanted per type, merged as an operation adds what it needs.
        sealed class Kinds
        {
            readonly Dictionary<string, List<string>> paths = new Dictionary<string, List<string>>();

            public Kinds Add(string type, params string[] wanted)
            {
                List<string> list;
                if (!paths.TryGetValue(type, out list)) paths[type] = list = new List<string>();
                foreach (var p in wanted) if (!list.Contains(p)) list.Add(p);
                return this;
            }

            public Dictionary<string, string[]> ToArrays() { return paths.ToDictionary(p => p.Key, p => p.Value.ToArray()); }
        }
    }
}
#endif
