using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    sealed partial class Vm
    {
        // Home and FileStem are fixed when the VM is made, so a rename leaves its files where they are.
        public string Home, FileStem, Owner = "", Firmware = "bios", Folder = "vm", ResourcePool = "Resources";
        public int NumCpu = 1, VideoRamKB = 4096;
        public bool NeedsConsolidation;
        public readonly List<string> Isos = new List<string>();

        public string ConfigFile { get { return HomeDir + "/" + (FileStem ?? Name) + ".vmx"; } }
    }

    sealed partial class Disk
    {
        public string Uuid, RdmDevice, RdmMode;
        public int Bus, Unit;
        public bool Placed;
        public bool EagerZero, Independent, NonPersistent;

        public bool Rdm { get { return RdmDevice != null; } }
    }

    // One file of a VM's layout on a datastore.
    sealed class VmFile
    {
        public string Datastore, Path, Type;
        public long Size;
        public byte[] Data;
        public string Full { get { return Sim.DsPath(Datastore, Path); } }
    }

    sealed class FirstClassDisk
    {
        public string Name, Datastore, Path, Id;
    }

    static partial class Sim
    {
        // Unregistered VMs by the datastore path of their configuration file, ready to be registered again.
        public static readonly Dictionary<string, Vm> Unregistered = new Dictionary<string, Vm>(StringComparer.OrdinalIgnoreCase);
        public static readonly List<FirstClassDisk> FirstClassDisks = new List<FirstClassDisk>();
        public static int VmSeq;

        static Vm DescribeVm(Vm vm, XmlElement e)
        {
            vm.Home = vm.HomeDir;
            vm.FileStem = vm.Name;
            vm.Owner = A(e, "owner", "");
            vm.NumCpu = (int)L(e, "cpus", Math.Max(1, vm.MemoryMB / 2048));
            vm.Firmware = A(e, "firmware", vm.HardwareVersion >= 19 ? "efi" : "bios");
            vm.NeedsConsolidation = B(e, "needsConsolidation");
            var iso = A(e, "iso");
            if (!string.IsNullOrEmpty(iso)) vm.Isos.Add(iso);
            PlaceDisks(vm);
            return vm;
        }

        // Disks take the first free unit from their bus on: SCSI units 0 to 15 without 7, the controller's own.
        public static void PlaceDisks(Vm vm)
        {
            foreach (var d in vm.Disks.Where(x => !x.Placed).ToList()) PlaceDisk(vm, d, 0);
        }

        public static void PlaceDisk(Vm vm, Disk d, int firstBus)
        {
            if (d.Uuid == null) d.Uuid = DiskUuid(vm, d);
            for (int bus = firstBus; bus < 4; bus++)
                for (int unit = 0; unit < 16; unit++)
                    if (unit != 7 && !vm.Disks.Any(x => x.Placed && x.Bus == bus && x.Unit == unit))
                    {
                        d.Bus = bus; d.Unit = unit; d.Placed = true;
                        return;
                    }
            throw new SimFault("The virtual machine '" + vm.Name + "' has no free controller slot.");
        }

        public static string DiskUuid(Vm vm, Disk d)
        {
            var h = Hex(Hash("disk:" + vm.Uuid + ":" + d.Key + ":" + d.Stem), 16, "");
            return "6000C29" + h.Substring(0, 1) + "-" + h.Substring(1, 4) + "-" + h.Substring(5, 4) + "-" + h.Substring(9, 4) + "-" + h.Substring(13, 12);
        }

        public static string Mac(Vm vm, int index)
        {
            var b = Hash("mac:" + vm.InstanceUuid + ":" + index);
            return "00:50:56:" + (b[0] & 0x3F).ToString("x2") + ":" + b[1].ToString("x2") + ":" + b[2].ToString("x2");
        }

        static IEnumerable<int> LiveSegments(Vm vm)
        {
            return vm.Running.Select(s => s.Seg).Concat(vm.Snaps.SelectMany(s => s.State.Select(x => x.Seg))).Distinct().OrderBy(x => x);
        }

        static VmFile At(string full, string type, long size, byte[] data = null)
        {
            string ds;
            var rel = CleanPath(full, out ds);
            return new VmFile { Datastore = ds, Path = rel, Type = type, Size = data != null ? data.Length : size, Data = data };
        }

        // Every file the VM keeps on its datastores, in the order a layout lists them.
        public static List<VmFile> VmLayout(Vm vm)
        {
            var files = new List<VmFile>();
            var home = vm.HomeDir + "/" + (vm.FileStem ?? vm.Name);
            files.Add(At(vm.ConfigFile, "config", 0, Encoding.UTF8.GetBytes(VmxText(vm))));
            files.Add(At(home + ".vmsd", "snapshotList", 0, Encoding.UTF8.GetBytes(".encoding = \"UTF-8\"\nsnapshot.numSnapshots = \"" + vm.Snaps.Count + "\"\n")));
            files.Add(At(home + ".nvram", "nvram", 8684));
            files.Add(At(vm.HomeDir + "/vmware.log", "log", 250 * 1024));
            if (vm.Power != "poweredOff")
                files.Add(At(home + "-" + Hex(Hash("swap:" + vm.Uuid), 4, "") + ".vswp", "swap", (long)vm.MemoryMB * MiB));
            for (int i = 0; i < vm.Snaps.Count; i++)
            {
                var s = vm.Snaps[i];
                files.Add(At(home + "-Snapshot" + (i + 1) + ".vmsn", "snapshotData", 32 * 1024 + (s.Memory ? (long)vm.MemoryMB * MiB : 0)));
            }
            foreach (var d in vm.Disks) files.AddRange(DiskFiles(vm, d));
            return files;
        }

        public static List<VmFile> DiskFiles(Vm vm, Disk d)
        {
            var files = new List<VmFile>();
            foreach (var seg in LiveSegments(vm))
            {
                files.Add(At(d.FileOf(vm, seg), "diskDescriptor", 0, Encoding.UTF8.GetBytes(Descriptor(vm, d, seg))));
                long written = Merge(d.Writes.Where(w => w.Seg == seg).Select(w => new Area(w.Offset, w.Length))).Sum(a => a.Length);
                if (seg != 0) files.Add(At(d.ExtentOf(vm, seg), "diskExtent", written + MiB));
                else if (d.Rdm) files.Add(At(d.Dir + "/" + d.Stem + (d.RdmMode == "physicalMode" ? "-rdmp" : "-rdm") + ".vmdk", "diskExtent", 0));
                else files.Add(At(d.ExtentOf(vm, seg), "diskExtent", d.Thin ? written : d.Capacity));
            }
            return files;
        }

        static string Descriptor(Vm vm, Disk d, int seg)
        {
            var sb = new StringBuilder();
            sb.Append("# Disk DescriptorFile\nversion=1\nencoding=\"UTF-8\"\nCID=").Append(Hex(Hash("cid:" + d.Uuid + seg), 4, "")).Append('\n');
            sb.Append("parentCID=").Append(seg == 0 ? "ffffffff" : Hex(Hash("cid:" + d.Uuid + (seg - 1)), 4, "")).Append('\n');
            sb.Append("createType=\"").Append(d.Rdm ? (d.RdmMode == "physicalMode" ? "vmfsPassthroughRawDeviceMap" : "vmfsRawDeviceMap") : seg == 0 ? "vmfs" : "seSparse").Append("\"\n");
            var extent = d.ExtentOf(vm, seg);
            sb.Append("RW ").Append(d.Capacity / 512).Append(seg == 0 ? " VMFS \"" : " SESPARSE \"").Append(extent.Substring(extent.LastIndexOf('/') + 1)).Append("\"\n");
            sb.Append("ddb.uuid = \"").Append(d.Uuid).Append("\"\nddb.adapterType = \"").Append(d.Adapter).Append("\"\n");
            return sb.ToString();
        }

        public static string VmxText(Vm vm)
        {
            var sb = new StringBuilder();
            Action<string, object> put = (k, v) => sb.Append(k).Append(" = \"").Append(Convert.ToString(v, CultureInfo.InvariantCulture)).Append("\"\n");
            put(".encoding", "UTF-8");
            put("config.version", 8);
            put("virtualHW.version", vm.HardwareVersion);
            put("displayName", vm.Name);
            put("guestOS", vm.GuestId);
            put("guestOS.detailed", vm.GuestName);
            put("memSize", vm.MemoryMB);
            put("numvcpus", vm.NumCpu);
            put("firmware", vm.Firmware);
            put("uuid.bios", vm.Uuid);
            put("vc.uuid", vm.InstanceUuid);
            put("annotation", vm.Annotation.Replace("\n", "|0A"));
            put("ctkEnabled", vm.Cbt ? "TRUE" : "FALSE");
            foreach (var bus in vm.Disks.Select(d => d.Bus).Distinct()) put("scsi" + bus + ".virtualDev", vm.Disks.First(d => d.Bus == bus).Adapter);
            foreach (var d in vm.Disks)
            {
                var file = d.FileOf(vm, LiveSegments(vm).Last());
                put("scsi" + d.Bus + ":" + d.Unit + ".fileName", file.StartsWith(vm.HomeDir + "/") ? file.Substring(vm.HomeDir.Length + 1) : file);
                put("scsi" + d.Bus + ":" + d.Unit + ".mode", d.Independent ? (d.NonPersistent ? "independent-nonpersistent" : "independent-persistent") : "persistent");
            }
            for (int i = 0; i < vm.Networks.Count; i++)
            {
                put("ethernet" + i + ".networkName", vm.Networks[i]);
                put("ethernet" + i + ".generatedAddress", Mac(vm, i));
            }
            for (int i = 0; i < vm.Isos.Count; i++) put("sata0:" + i + ".fileName", vm.Isos[i]);
            return sb.ToString();
        }

        // A VM made from a configuration file found on a datastore (uploaded or left by another system).
        public static Vm VmFromVmx(string text, Datastore ds, string rel)
        {
            var keys = new Dictionary<string, string>(StringComparer.OrdinalIgnoreCase);
            foreach (var line in text.Split('\n'))
            {
                int eq = line.IndexOf('=');
                if (eq <= 0) continue;
                keys[line.Substring(0, eq).Trim()] = line.Substring(eq + 1).Trim().Trim('"');
            }
            Func<string, string, string> get = (k, f) => { string v; return keys.TryGetValue(k, out v) && v.Length > 0 ? v : f; };
            Func<string, int, int> num = (k, f) => { int v; return int.TryParse(get(k, ""), NumberStyles.Integer, CultureInfo.InvariantCulture, out v) ? v : f; };
            var dir = DsParent(rel);
            var stem = rel.Substring(dir.Length).Trim('/');
            stem = stem.EndsWith(".vmx", StringComparison.OrdinalIgnoreCase) ? stem.Substring(0, stem.Length - 4) : stem;
            var vm = new Vm
            {
                Name = get("displayName", stem), Datastore = ds.Name, Power = "poweredOff", Tools = "notRunning",
                GuestId = get("guestOS", "otherGuest64"), GuestName = get("guestOS.detailed", "Other (64-bit)"),
                HardwareVersion = num("virtualHW.version", 19), MemoryMB = num("memSize", 1024), Annotation = get("annotation", "").Replace("|0A", "\n")
            };
            vm.Home = DsPath(ds.Name, dir);
            vm.FileStem = stem;
            vm.NumCpu = num("numvcpus", 1);
            vm.Firmware = get("firmware", "bios");
            vm.Uuid = get("uuid.bios", null) ?? NewUuid(0x42);
            vm.InstanceUuid = get("vc.uuid", null) ?? NewUuid(0x50);
            vm.Cbt = get("ctkEnabled", "FALSE").Equals("TRUE", StringComparison.OrdinalIgnoreCase);
            foreach (var kv in keys.Where(k => k.Key.StartsWith("ethernet", StringComparison.OrdinalIgnoreCase) && k.Key.EndsWith(".networkName", StringComparison.OrdinalIgnoreCase)).OrderBy(k => k.Key))
                vm.Networks.Add(kv.Value);
            vm.NewSegment();
            int index = 0;
            foreach (var kv in keys.Where(k => k.Key.StartsWith("scsi", StringComparison.OrdinalIgnoreCase) && k.Key.EndsWith(".fileName", StringComparison.OrdinalIgnoreCase)).OrderBy(k => k.Key))
            {
                var file = kv.Value;
                string diskDs;
                var diskRel = CleanPath(file.StartsWith("[") ? file : DsPath(ds.Name, (dir.Length > 0 ? dir + "/" : "") + file), out diskDs);
                var store = FindDatastore(diskDs) ?? ds;
                var desc = store.Find(diskRel);
                long capacity = 16 * GiB;
                var flat = store.Find(diskRel.Substring(0, diskRel.Length - 5) + "-flat.vmdk");
                if (flat != null && flat.Size > 0) capacity = flat.Size;
                if (desc != null && desc.Data != null)
                {
                    var rw = Encoding.UTF8.GetString(desc.Data.Bytes()).Split('\n').FirstOrDefault(l => l.StartsWith("RW "));
                    long sectors;
                    if (rw != null && long.TryParse(rw.Split(' ')[1], NumberStyles.Integer, CultureInfo.InvariantCulture, out sectors)) capacity = sectors * 512;
                }
                var diskDir = DsParent(diskRel);
                var name = diskRel.Substring(diskDir.Length).Trim('/');
                vm.Disks.Add(new Disk
                {
                    Key = 2000 + index, Label = "Hard disk " + (index + 1), Dir = DsPath(store.Name, diskDir),
                    Stem = name.Substring(0, name.Length - 5), Capacity = capacity
                });
                index++;
            }
            vm.Cbt = vm.Cbt && vm.Disks.Count > 0;
            ResetTracking(vm);
            PlaceDisks(vm);
            return vm;
        }

        public static string NewUuid(byte first)
        {
            var b = Guid.NewGuid().ToByteArray();
            b[0] = first;
            var h = Hex(b, 16, "");
            return h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20);
        }

        public static string NextMoref()
        {
            int n = 200 + (++VmSeq);
            while (Vms.Any(v => v.Moref == "vm-" + n) || Unregistered.Values.Any(v => v.Moref == "vm-" + n)) n = 200 + (++VmSeq);
            return "vm-" + n;
        }

        // Brings every registered VM's files on its datastores up to date with its configuration.
        public static void RefreshVmFiles()
        {
            var registered = new HashSet<Vm>(Vms);
            foreach (var ds in Datastores)
                foreach (var key in ds.Files.Where(kv => kv.Value.Owner != null && registered.Contains(kv.Value.Owner)).Select(kv => kv.Key).ToList())
                    ds.Files.Remove(key);
            foreach (var vm in Vms) PutVmFiles(vm);
        }

        static void PutVmFiles(Vm vm)
        {
            foreach (var f in VmLayout(vm))
            {
                var ds = FindDatastore(f.Datastore);
                if (ds == null) continue;
                var old = ds.Find(f.Path);
                ds.Put(f.Path, f.Size, Content.Of(f.Data), old != null && old.Size == f.Size ? old.Modified : Now, vm);
            }
        }

        // Removes the VM's files and its home folder when nothing else is left in it.
        public static void DropVmFiles(Vm vm)
        {
            foreach (var ds in Datastores)
                foreach (var key in ds.Files.Where(kv => kv.Value.Owner == vm).Select(kv => kv.Key).ToList())
                    ds.Files.Remove(key);
            string name;
            var home = CleanPath(vm.HomeDir, out name);
            var store = FindDatastore(name);
            if (store != null && store.Tree(home).Count == 1) store.Files.Remove(home);
        }

        public static long VmUsedBytes(Vm vm)
        {
            return VmLayout(vm).Sum(f => f.Size);
        }
    }
}
