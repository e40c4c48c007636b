#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // VM records from the server's properties. One table says, for each bit of the property mask, which VM property
    // paths it fetches, which related objects it needs read, and how it fills the record from them: a request asks
    // exactly the paths of the mask's rows, and each row fills only from its own paths.
    sealed partial class VimClient
    {
        // Related objects a row needs, read once for every VM of a batch in one request.
        [Flags]
        enum Related { None = 0, Hosts = 1, Networks = 2, Datastores = 4, Tree = 8, Fields = 16 }

        delegate void RowFill(ref SVMInfoLib r, VmSource s);

        sealed class RecordRow
        {
            public readonly ulong Bit;
            public readonly string[] Paths;
            public readonly Related Needs;
            public readonly RowFill Fill;

            public RecordRow(ulong bit, Related needs, string[] paths, RowFill fill) { Bit = bit; Needs = needs; Paths = paths; Fill = fill; }
        }

        const string DevicesPath = "config.hardware.device";

        // Bit 0 is the part every record has. Bits not listed (0x80, 0x200, 0x1000, ...) fetch and fill nothing.
        static readonly RecordRow[] RecordRows =
        {
            new RecordRow(0, Related.None, new[]
            {
                "name", "config.uuid", "config.instanceUuid", "config.guestFullName", "config.version", "config.firmware",
                "config.template", "config.changeTrackingEnabled", "config.annotation", "config.managedBy", "config.flags.diskUuidEnabled",
                "config.hardware.numCPU", "config.hardware.memoryMB", "config.memoryAllocation", "config.files.vmPathName",
                "runtime.powerState", "runtime.connectionState", "runtime.bootTime", "guest.toolsStatus", "guest.toolsRunningStatus",
                "summary.config.numVirtualDisks", "summary.config.numEthernetCards", "summary.storage", "rootSnapshot", "snapshot.currentSnapshot"
            }, FillBase),
            new RecordRow(Mask.HostInfo, Related.Hosts, new[] { "runtime.host" }, FillHost),
            new RecordRow(Mask.GuestInfo, Related.None, new[] { "guest.ipAddress", "guest.hostName", "guest.guestFullName", "guest.toolsVersion" }, FillGuest),
            new RecordRow(Mask.CfgFile, Related.None, new[] { "config.files.vmPathName", "layout.disk" }, FillConfigFile),
            new RecordRow(Mask.SnapshotList, Related.None, new[] { "snapshot" }, FillSnapshots),
            new RecordRow(Mask.DiskList, Related.Datastores, new[] { DevicesPath, "layoutEx" }, FillDisks),
            new RecordRow(Mask.NetworkList, Related.Networks, new[] { DevicesPath, "network", "guest.net" }, FillNetworkCards),
            new RecordRow(Mask.HostDatacenter, Related.Tree, new[] { "parent", "resourcePool", "parentVApp" }, FillPlacement),
            new RecordRow(Mask.FileList, Related.Datastores, new[] { DevicesPath, "layoutEx" }, FillFileLayout),
            new RecordRow(Mask.PowerOffTime, Related.None, new[] { "runtime.powerState" }, FillPowerOffTime),
            new RecordRow(Mask.Attributes, Related.Fields, new[] { "customValue" }, FillAttributes),
        };

        static IEnumerable<RecordRow> RowsOf(ulong mask)
        {
            return RecordRows.Where(row => row.Bit == 0 || (mask & row.Bit) != 0);
        }

        // The VM property paths a mask fetches, each once, in table order.
        public static string[] PathsFor(ulong mask)
        {
            return RowsOf(mask).SelectMany(row => row.Paths).Distinct().ToArray();
        }

        static Related NeedsOf(ulong mask)
        {
            return RowsOf(mask).Aggregate(Related.None, (n, row) => n | row.Needs);
        }

        // Everything one VM's record is built from: its properties, its devices (the VM's, or a snapshot's) and the
        // related objects read for the whole batch.
        sealed class VmSource
        {
            public ObjectContent Vm;
            public List<VimNode> Devices;
            public Dictionary<int, VimNode> DeviceByKey;
            public RelatedObjects Related;
            public ulong Mask;

            public VimNode this[string path] { get { return Vm[path]; } }
            public string Str(string path) { return Vm.Str(path); }
        }

        // Hosts (with their clusters), networks, datastores, the folders and pools above the VMs, custom field names.
        sealed class RelatedObjects
        {
            public readonly Dictionary<MoRef, ObjectContent> ById = new Dictionary<MoRef, ObjectContent>();
            public readonly Dictionary<string, ObjectContent> PortgroupByKey = new Dictionary<string, ObjectContent>();
            public readonly Dictionary<int, string> FieldNames = new Dictionary<int, string>();

            public ObjectContent Get(MoRef id)
            {
                ObjectContent o;
                return id != null && ById.TryGetValue(id, out o) ? o : null;
            }
        }

        // Builds the records of VMs read with PathsFor(mask); `devices` may give another device list (a snapshot's).
        List<SVMInfoLib> Records(List<ObjectContent> vms, ulong mask, Func<ObjectContent, List<VimNode>> devices = null)
        {
            var sources = vms.Select(vm =>
            {
                var s = new VmSource { Vm = vm, Mask = mask, Devices = devices != null ? devices(vm) : vm[DevicesPath].Kids.ToList() };
                s.DeviceByKey = new Dictionary<int, VimNode>();
                foreach (var d in s.Devices) s.DeviceByKey[d.Int("key")] = d;
                return s;
            }).ToList();
            var related = ReadRelated(sources, NeedsOf(mask));
            var rows = RowsOf(mask).ToArray();
            var records = new List<SVMInfoLib>(sources.Count);
            foreach (var s in sources)
            {
                s.Related = related;
                var r = new SVMInfoLib();
                foreach (var row in rows) row.Fill(ref r, s);
                records.Add(r);
            }
            return records;
        }

        // One request for every related object the rows need, whatever the number of VMs.
        RelatedObjects ReadRelated(List<VmSource> vms, Related needs)
        {
            var related = new RelatedObjects();
            if (needs == Related.None || vms.Count == 0) return related;
            var found = ThroughViews(() => Run(RelatedRead(vms, needs)));
            foreach (var o in found)
            {
                ObjectContent known;
                if (related.ById.TryGetValue(o.Obj, out known)) foreach (var p in o.Props) known.Props[p.Key] = p.Value;
                else related.ById[o.Obj] = o;
            }
            foreach (var o in related.ById.Values)
            {
                if (o.Obj.Type == "DistributedVirtualPortgroup" && o.Str("key") != "") related.PortgroupByKey[o.Str("key")] = o;
                if (o.Obj.Type == "CustomFieldsManager")
                    foreach (var f in o["field"].Kids) related.FieldNames[f.Int("key")] = f.Str("name");
            }
            return related;
        }

        Retrieval RelatedRead(List<VmSource> vms, Related needs)
        {
            var read = new Retrieval { ReportMissing = true };
            if ((needs & Related.Hosts) != 0)
            {
                read.Props("HostSystem", new[] { "name", "config.product.version", "config.product.build", "config.product.fullName", "runtime.connectionState", "parent" })
                    .Props("ClusterComputeResource", new[] { "name" });
                foreach (var host in vms.Select(v => v["runtime.host"].AsRef()).Where(h => h != null).Distinct())
                    read.Object(host, false, "HostSystem", "parent");
            }
            if ((needs & Related.Networks) != 0)
            {
                read.Props("Network", new[] { "name" }).Props("DistributedVirtualPortgroup", new[] { "name", "key" });
                foreach (var net in vms.SelectMany(v => v["network"].Kids).Select(n => n.AsRef()).Where(n => n != null).Distinct())
                    read.Object(net);
            }
            if ((needs & Related.Datastores) != 0)
            {
                read.Props("Datastore", new[] { "name", "summary.type" });
                foreach (var ds in vms.SelectMany(v => v.Devices).Select(d => d["backing"].Ref("datastore")).Where(d => d != null).Distinct())
                    read.Object(ds);
            }
            if ((needs & Related.Fields) != 0 && content.Ref("customFieldsManager") != null)
                read.Props("CustomFieldsManager", new[] { "field" }).Object(content.Ref("customFieldsManager"));
            if ((needs & Related.Tree) != 0)
            {
                foreach (var type in TreeTypes) read.Props(type, new[] { "name", "parent" });
                read.Props("VirtualApp", new[] { "parentFolder" }).Object(ViewOn(null, TreeTypes), true, "ContainerView", "view");
            }
            return read;
        }

        static readonly string[] TreeTypes = { "Folder", "Datacenter", "ComputeResource", "ResourcePool" };

        static void FillBase(ref SVMInfoLib r, VmSource s)
        {
            r.strName = s.Str("name");
            r.strMoRef = s.Vm.Obj.Value;
            r.strGuestOSName = s.Str("config.guestFullName");
            r.strUuid = r.strBiosUuid = s.Str("config.uuid");
            r.strInstanceUuid = s.Str("config.instanceUuid");
            r.strDataStoreName = DatastoreOf(s.Str("config.files.vmPathName"));
            r.vmVersion = s.Str("config.version");
            r.strFirmware = s.Str("config.firmware");
            r.templateVM = s["config.template"].AsBool();
            r.changeTrackingEnabled = s["config.changeTrackingEnabled"].AsBool();
            r.notes = s.Str("config.annotation");
            var managedBy = s["config.managedBy"];
            r.managedBy = managedBy.Str("extensionKey");
            r.managedByType = managedBy.Str("type");
            r.bDiskUUIDEnabled = s["config.flags.diskUuidEnabled"].AsBool();
            r.numOfCPU = s["config.hardware.numCPU"].AsLong();
            r.memorySizeInMB = s["config.hardware.memoryMB"].AsLong();
            var memory = s["config.memoryAllocation"];
            r.memoryResvInMB = memory.Long("reservation");
            r.memoryLimit = memory["limit"].Present && memory.Str("limit") != "" ? memory.Long("limit") : -1;
            r.memoryShares = memory["shares"].Long("shares");
            r.poweredState = PowerCode(s.Str("runtime.powerState"));
            r.connectionState = VmConnectionCode(s.Str("runtime.connectionState"));
            var boot = s["runtime.bootTime"].AsTime();
            r.bootTime = boot.HasValue ? Shared.Iso(boot.Value) : "";
            ToolsOf(s.Str("guest.toolsStatus"), s.Str("guest.toolsRunningStatus"), out r.strToolsStatus, out r.toolsStatus);
            r.numDisks = s["summary.config.numVirtualDisks"].AsLong();
            r.numEthernetCards = (int)s["summary.config.numEthernetCards"].AsLong();
            var storage = s["summary.storage"];
            r.guestSize = storage.Long("committed") + storage.Long("uncommitted");
            r.bIsSnapPresent = s["rootSnapshot"].Kids.Count > 0 || s["snapshot.currentSnapshot"].AsRef() != null;
            r.hostConnectionState = -1;
            r.m_nPowerOffTimeInHours = -1;
            // With the device list at hand (another row asked it), the counts and the video memory come from it.
            if (s.Vm[DevicesPath].Present)
            {
                r.numDisks = s.Devices.Count(d => d.Type == "VirtualDisk");
                r.numEthernetCards = s.Devices.Count(IsNetworkCard);
                var video = s.Devices.FirstOrDefault(d => d.Type == "VirtualMachineVideoCard");
                if (video != null) r.videoRamSizeInKb = video.Long("videoRamSizeInKB");
            }
        }

        static void FillHost(ref SVMInfoLib r, VmSource s)
        {
            var host = s.Related.Get(s["runtime.host"].AsRef());
            if (host == null) return;
            r.hostName = host.Str("name");
            r.hostVersion = host.Str("config.product.version");
            r.hostBuild = host.Str("config.product.build");
            r.hostFullVersion = host.Str("config.product.fullName");
            r.hostConnectionState = HostConnectionCode(host.Str("runtime.connectionState"));
            var parent = host["parent"].AsRef();
            var cluster = parent != null && parent.Type == "ClusterComputeResource" ? s.Related.Get(parent) : null;
            if (cluster != null)
            {
                r.clusterName = cluster.Str("name");
                r.clusterMorefString = cluster.Obj.Value;
            }
        }

        static void FillGuest(ref SVMInfoLib r, VmSource s)
        {
            r.ipAddress = s.Str("guest.ipAddress");
            r.dnsHostName = s.Str("guest.hostName");
            r.strGuestOSVersion = s.Str("guest.guestFullName");
            int version;
            if (int.TryParse(s.Str("guest.toolsVersion"), NumberStyles.Integer, CultureInfo.InvariantCulture, out version)) r.toolsVersion = version;
        }

        static void FillConfigFile(ref SVMInfoLib r, VmSource s)
        {
            var vmx = s.Str("config.files.vmPathName");
            r.strConfigFile = vmx;
            var paths = new List<string>();
            if (vmx != "") paths.Add(DirectoryOf(vmx));
            foreach (var disk in s["layout.disk"].Kids)
                foreach (var file in disk.All("diskFile"))
                    if (file.Text != "") paths.Add(DirectoryOf(file.Text));
            r.vmPaths = paths.Distinct().ToList();
        }

        static void FillSnapshots(ref SVMInfoLib r, VmSource s)
        {
            r.snapshotList = s["snapshot"].All("rootSnapshotList").Select(SnapshotOf).ToList();
        }

        static SSnapshotLib SnapshotOf(VimNode tree)
        {
            var created = tree["createTime"].AsTime();
            return new SSnapshotLib
            {
                strMoRef = tree.Str("snapshot"), strName = tree.Str("name"), strDescription = tree.Str("description"),
                creationTime = created ?? default(DateTime), childSnapshots = tree.All("childSnapshotList").Select(SnapshotOf).ToList()
            };
        }

        static void FillDisks(ref SVMInfoLib r, VmSource s)
        {
            bool advanced = (s.Mask & Mask.DiskAdvanced) != 0;
            var disks = s.Devices.Where(d => d.Type == "VirtualDisk").ToList();
            var chains = ChainsOf(s);
            r.diskList = disks.Select(d => DiskOf(s, d, d["backing"], advanced, chains)).ToList();
            r.diskControllerList = disks.Select(d => d.Int("controllerKey")).Distinct()
                .Select(k => { VimNode c; return s.DeviceByKey.TryGetValue(k, out c) ? c : null; })
                .Where(c => c != null).OrderBy(c => ControllerKind(c.Type)).ThenBy(c => c.Int("busNumber"))
                .Select(c => new SDiskControllerLib
                {
                    strControllerType = ControllerKind(c.Type), nControllerBusNumber = c.Int("busNumber"), strScsiControllerType = ScsiKind(c.Type),
                    sharedBus = c.Str("sharedBus") != "" && c.Str("sharedBus") != "noSharing"
                }).ToList();
        }

        // The files of each disk's chain, by disk key: layoutEx.disk's chain of file keys, resolved to layoutEx.file.
        static Dictionary<int, List<List<VimNode>>> ChainsOf(VmSource s)
        {
            var layout = s["layoutEx"];
            var files = new Dictionary<int, VimNode>();
            foreach (var f in layout.All("file")) files[f.Int("key")] = f;
            var chains = new Dictionary<int, List<List<VimNode>>>();
            foreach (var d in layout.All("disk"))
                chains[d.Int("key")] = d.All("chain").Select(c => c.All("fileKey").Select(k => { VimNode f; return files.TryGetValue((int)k.AsLong(), out f) ? f : null; })
                    .Where(f => f != null).ToList()).ToList();
            return chains;
        }

        // One disk record from the device and one backing of its chain (the device's own for the running state).
        static SDiskLib DiskOf(VmSource s, VimNode disk, VimNode backing, bool advanced, Dictionary<int, List<List<VimNode>>> chains)
        {
            var rdm = backing.Type == "VirtualDiskRawDiskMappingVer1BackingInfo";
            var thin = backing.Bool("thinProvisioned");
            var mode = backing.Str("diskMode");
            var capacity = disk.Long("capacityInBytes") > 0 ? disk.Long("capacityInBytes") : disk.Long("capacityInKB") * 1024;
            VimNode controller;
            s.DeviceByKey.TryGetValue(disk.Int("controllerKey"), out controller);
            var store = s.Related.Get(backing.Ref("datastore"));
            List<List<VimNode>> chain;
            long allocated = 0;
            // The extents of every level of the chain; a level without extent files (a sparse format) counts its files.
            if (chains.TryGetValue(disk.Int("key"), out chain))
                foreach (var files in chain)
                {
                    var extents = files.Where(f => f.Str("type") == "diskExtent").ToList();
                    allocated += (extents.Count > 0 ? extents : files).Sum(f => f.Long("size"));
                }
            var r = new SDiskLib
            {
                strFileName = backing.Str("fileName"), strUUID = backing.Str("uuid"), nDeviceKey = disk.Int("key"), llMaxSizeInBytes = capacity,
                llCurrSizeInBytes = rdm ? 0 : thin ? allocated : capacity,
                nFlat = rdm ? 2 : thin ? 0 : 1, nSplit = backing.Bool("split") ? 1 : 0, nRawDeviceMap = rdm ? 1 : 0,
                nRDMCompatMode = rdm && backing.Str("compatibilityMode") == "physicalMode" ? 1 : 0,
                strControllerType = controller == null ? "" : ControllerKind(controller.Type), nControllerBusNumber = controller == null ? 0 : controller.Int("busNumber"),
                nUnitNumber = disk.Int("unitNumber"), strLabel = disk["deviceInfo"].Str("label"),
                nDatastoreType = store == null ? 0 : DatastoreTypeCode(store.Str("summary.type")), strDataStoreName = DatastoreOf(backing.Str("fileName")),
                nIndependentMode = mode.StartsWith("independent", StringComparison.Ordinal) ? 1 : 0,
                nPersistentMode = mode == "nonpersistent" || mode == "independent_nonpersistent" ? 0 : 1,
                nThinProvisioned = thin ? 1 : 0, nEagerZero = !thin && backing.Bool("eagerlyScrub") ? 1 : 0
            };
            if (advanced)
            {
                var device = backing.Str("deviceName");
                r.strLUNUUID = rdm ? device.Substring(device.LastIndexOf('/') + 1) : "";
                var parent = backing["parent"];
                r.strParentFileName = parent.Str("fileName");
                var baseBacking = backing;
                while (baseBacking["parent"].Present) baseBacking = baseBacking["parent"];
                r.strVMFSPath = baseBacking.Str("fileName");
                r.vmStoragePolicyName = r.vmStoragePolicyId = "";
            }
            return r;
        }

        static void FillNetworkCards(ref SVMInfoLib r, VmSource s)
        {
            var guestNics = s["guest.net"].Kids;
            var related = s.Related;
            r.networkCards = s.Devices.Where(IsNetworkCard).Select(card =>
            {
                var backing = card["backing"];
                string name = "", id = "";
                var net = backing.Ref("network");
                var key = backing["port"].Str("portgroupKey");
                if (key != "")
                {
                    ObjectContent pg;
                    if (!related.PortgroupByKey.TryGetValue(key, out pg)) pg = related.Get(new MoRef("DistributedVirtualPortgroup", key));
                    name = pg != null ? pg.Str("name") : key;
                    id = pg != null ? pg.Obj.Value : key;
                }
                else if (net != null)
                {
                    var n = related.Get(net);
                    name = n != null ? n.Str("name") : backing.Str("deviceName");
                    id = net.Value;
                }
                else if (backing.Str("opaqueNetworkId") != "") name = id = backing.Str("opaqueNetworkId");
                else name = backing.Str("deviceName");
                var mac = card.Str("macAddress");
                var guest = guestNics.FirstOrDefault(g => mac != "" && string.Equals(g.Str("macAddress"), mac, StringComparison.OrdinalIgnoreCase));
                return new SVMNetworkCardLib
                {
                    label = card["deviceInfo"].Str("label"), networkName = name, networkId = id, macAddress = mac, nicType = NicType(card.Type),
                    isConnected = card["connectable"].Bool("connected"),
                    ipAddress = guest == null ? "" : guest.All("ipAddress").Select(a => a.Text).FirstOrDefault(a => a.IndexOf(':') < 0) ?? guest.Str("ipAddress")
                };
            }).ToList();
        }

        static void FillPlacement(ref SVMInfoLib r, VmSource s)
        {
            var related = s.Related;
            var parent = s["parent"].AsRef() ?? s["parentVApp"].AsRef();
            var pool = s["resourcePool"].AsRef();
            // The datacenter above the VM's folder, else above its pool (a VM in a vApp has no folder).
            var dc = Above(related, parent, "Datacenter") ?? Above(related, pool, "Datacenter");
            if (dc != null)
            {
                r.strDataCenterName = dc.Str("name");
                r.strDataCenterPath = PathOf(related, dc.Obj);
            }
            r.strResourcePoolPath = pool != null ? PathOf(related, pool) : "";
            r.strInventoryPath = parent != null ? PathOf(related, parent) + "/" + s.Str("name") : "";
        }

        static ObjectContent Above(RelatedObjects related, MoRef start, string type)
        {
            for (int guard = 0; start != null && guard < 256; guard++)
            {
                var o = related.Get(start);
                if (o == null) return null;
                if (o.Obj.Type == type) return o;
                start = o["parent"].AsRef() ?? o["parentFolder"].AsRef();
            }
            return null;
        }

        // "/DC0/vm/Linux": the names from below the root folder down to the object.
        static string PathOf(RelatedObjects related, MoRef id)
        {
            var names = new List<string>();
            for (int guard = 0; id != null && guard < 256; guard++)
            {
                var o = related.Get(id);
                if (o == null) break;
                var up = o["parent"].AsRef() ?? o["parentFolder"].AsRef();
                if (up == null) break; // the root folder has no name in paths
                names.Add(o.Str("name"));
                id = up;
            }
            names.Reverse();
            return "/" + string.Join("/", names);
        }

        static void FillFileLayout(ref SVMInfoLib r, VmSource s)
        {
            var layout = s["layoutEx"];
            var stamp = layout["timestamp"].AsTime() ?? default(DateTime);
            var files = layout.All("file").Select(f => new SVMFileLib
            {
                strName = f.Str("name"), lSize = f.Long("size"), eFileType = Shared.FileTypeCode(f.Str("type")), modifiedTime = stamp
            }).ToList();
            // One disk record per level of each disk's chain: the base first, the running state last.
            var chains = ChainsOf(s);
            var disks = new List<SDiskLib>();
            foreach (var d in s.Devices.Where(x => x.Type == "VirtualDisk"))
            {
                var backings = new List<VimNode>();
                for (var b = d["backing"]; b.Present; b = b["parent"]) backings.Add(b);
                backings.Reverse();
                foreach (var b in backings) disks.Add(DiskOf(s, d, b, false, chains));
            }
            r.fileLayout = new SFilelayoutLib { diskList = disks, fileList = files };
            r.usedSize = files.Sum(f => f.lSize);
        }

        static void FillPowerOffTime(ref SVMInfoLib r, VmSource s)
        {
            // The server keeps no power-off time: 0 while on, unknown (-1) otherwise.
            r.m_nPowerOffTimeInHours = s.Str("runtime.powerState") == "poweredOn" ? 0 : -1;
        }

        static void FillAttributes(ref SVMInfoLib r, VmSource s)
        {
#if !FAULTS
            var names = s.Related.FieldNames;
            // A server that appends values rather than replacing them (the test endpoint) holds a field's newest last.
            r.customAttributes = s["customValue"].Kids.GroupBy(v => v.Str("key")).Select(g => g.Last()).Select(v =>
            {
                string name;
                return new SVMOptionValueLib { key = names.TryGetValue(v.Int("key"), out name) ? name : v.Str("key"), value = v.Str("value") };
            }).ToList();
#endif
        }

        // Codes as the simulator gives them for the same facts.
        static int PowerCode(string state)
        {
            return state == "poweredOn" ? 1 : state == "suspended" ? 2 : 0;
        }

        static int VmConnectionCode(string state)
        {
            switch (state)
            {
                case "disconnected": return 1;
                case "orphaned": return 2;
                case "inaccessible": return 3;
                case "invalid": return 4;
                default: return 0;
            }
        }

        static int HostConnectionCode(string state)
        {
            return state == "disconnected" ? 1 : state == "notResponding" ? 2 : 0;
        }

        // toolsStatus: 0 not installed, 1 not running, 2 running (toolsOk), 3 running an old version.
        static void ToolsOf(string status, string running, out string text, out int code)
        {
            switch (status)
            {
                case "toolsOk": text = status; code = 2; return;
                case "toolsOld": text = status; code = 3; return;
                case "toolsNotRunning": text = status; code = 1; return;
                case "toolsNotInstalled": text = status; code = 0; return;
            }
            if (running == "guestToolsRunning") { text = "toolsOk"; code = 2; }
            else { text = "toolsNotInstalled"; code = 0; }
        }

        static int DatastoreTypeCode(string type)
        {
            switch (type)
            {
                case "VMFS": return 1;
                case "NFS":
                case "NFS41": return 2;
                case "vsan": return 3;
                default: return 0;
            }
        }

        static string ControllerKind(string type)
        {
            switch (type)
            {
                case "VirtualIDEController": return "IDE";
                case "VirtualAHCIController":
                case "VirtualSATAController": return "SATA";
                case "VirtualNVMEController": return "NVME";
                default: return "SCSI";
            }
        }

        static string ScsiKind(string type)
        {
            switch (type)
            {
                case "VirtualLsiLogicController": return "lsilogic";
                case "VirtualLsiLogicSASController": return "lsilogic-sas";
                case "ParaVirtualSCSIController": return "pvscsi";
                case "VirtualBusLogicController": return "buslogic";
                default: return "";
            }
        }

        static readonly Dictionary<string, string> NicTypes = new Dictionary<string, string>
        {
            { "VirtualVmxnet3", "vmxnet3" }, { "VirtualVmxnet3Vrdma", "vmxnet3vrdma" }, { "VirtualVmxnet2", "vmxnet2" }, { "VirtualVmxnet", "vmxnet" },
            { "VirtualE1000", "e1000" }, { "VirtualE1000e", "e1000e" }, { "VirtualPCNet32", "pcnet32" }, { "VirtualSriovEthernetCard", "sriov" }
        };

        static bool IsNetworkCard(VimNode device) { return device.Type != null && NicTypes.ContainsKey(device.Type); }

        static string NicType(string type) { string t; return NicTypes.TryGetValue(type ?? "", out t) ? t : ""; }

        // "[ds] dir/file" → "ds"; "" without brackets.
        static string DatastoreOf(string path)
        {
            if (!path.StartsWith("[", StringComparison.Ordinal)) return "";
            int end = path.IndexOf(']');
            return end > 0 ? path.Substring(1, end - 1) : "";
        }

        // "[ds] dir/file.vmx" → "[ds] dir"; "[ds] file.vmx" → "[ds]".
        static string DirectoryOf(string path)
        {
            int slash = path.LastIndexOf('/');
            if (slash >= 0) return path.Substring(0, slash);
            int end = path.IndexOf(']');
            return end >= 0 ? path.Substring(0, end + 1) : "";
        }
    }
}
#endif
