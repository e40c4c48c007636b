#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    static partial class Sim
    {
        static Datastore Writable(string name, HostInfo h)
        {
            var ds = GetDatastore(name);
            if (ds.ReadOnly) throw new SimFault("The datastore '" + ds.Name + "' is read-only.");
            if (!ds.MountedOn(h.Name)) throw new SimFault("The datastore '" + ds.Name + "' is not accessible from host '" + h.Name + "'.");
            return ds;
        }

        static string DatastoreOf(string dir)
        {
            string ds;
            CleanPath(dir, out ds);
            return ds;
        }

        // Checks a move and returns the work that makes it: the VM's home, the disks' files and the host change;
        // a moved disk starts change tracking afresh.
        public static Action Relocation(Vm vm, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            var h = string.IsNullOrEmpty(targetHost) ? FindHost(vm.Host) : GetHost(targetHost);
            if (h == null) throw new SimFault("The host '" + vm.Host + "' was not found.");
            if (h.ConnectionState != 0) throw new SimFault("The host '" + h.Name + "' is not connected.");
            if (h.Maintenance && vm.On) throw new SimFault("The host '" + h.Name + "' is in maintenance mode.");
            if (vm.On && h.MaxHardwareVersion < vm.HardwareVersion)
                throw new SimFault("The host '" + h.Name + "' does not support virtual hardware vmx-" + vm.HardwareVersion.ToString("D2") + ".");
            var home = string.IsNullOrEmpty(datastore) ? FindDatastore(vm.Datastore) : Writable(datastore, h);
            if (home == null) throw new SimFault("The datastore '" + vm.Datastore + "' was not found.");
            if (!home.MountedOn(h.Name)) throw new SimFault("The datastore '" + home.Name + "' is not accessible from host '" + h.Name + "'.");

            var target = new Dictionary<Disk, Datastore>();
            foreach (var d in vm.Disks)
                target[d] = keepDisks || string.IsNullOrEmpty(datastore) ? FindDatastore(DatastoreOf(d.Dir)) : home;
            foreach (var record in disks ?? new List<SDiskLib>())
            {
                var d = SimClient.NeedDisk(vm, record);
                target[d] = string.IsNullOrEmpty(record.strDataStoreName) ? home : Writable(record.strDataStoreName, h);
            }
            foreach (var kv in target)
                if (kv.Value == null || !kv.Value.MountedOn(h.Name))
                    throw new SimFault("The disk '" + kv.Key.Label + "' would not be accessible from host '" + h.Name + "'.");

            string oldDs;
            var rel = CleanPath(vm.HomeDir, out oldDs);
            var newHome = DsPath(home.Name, rel);
            bool homeMoves = !string.Equals(oldDs, home.Name, StringComparison.OrdinalIgnoreCase);
            if (homeMoves && home.Find(rel) != null)
                throw new SimFault("Cannot complete the operation because the file or folder " + newHome + " already exists");
            var moving = target.Where(kv => !string.Equals(DatastoreOf(kv.Key.Dir), kv.Value.Name, StringComparison.OrdinalIgnoreCase)).ToList();
            var need = new Dictionary<Datastore, long>();
            Action<Datastore, long> add = (ds, bytes) => need[ds] = (need.ContainsKey(ds) ? need[ds] : 0) + bytes;
            foreach (var kv in moving) add(kv.Value, DiskFiles(vm, kv.Key).Sum(f => f.Size));
            if (homeMoves)
                add(home, VmLayout(vm).Where(f => f.Type != "diskDescriptor" && f.Type != "diskExtent").Sum(f => f.Size));
            foreach (var kv in need) NeedSpace(kv.Key, kv.Value);

            Pool place = null;
            if (!string.IsNullOrEmpty(pool))
            {
                place = FindPools(h.Compute.Root).FirstOrDefault(p => p.Moref == pool || p.Path == pool || p.Name == pool);
                if (place == null) throw new SimFault("The resource pool '" + pool + "' was not found on '" + h.Compute.Name + "'.");
            }
            else if (ComputeOf(vm) != h.Compute) place = h.Compute.Root;

            return () =>
            {
                var oldHome = vm.HomeDir;
                if (homeMoves)
                {
                    vm.Home = newHome;
                    vm.Datastore = home.Name;
                    for (int i = 0; i < vm.SegDirs.Count; i++)
                        if (vm.SegDirs[i] == oldHome) vm.SegDirs[i] = newHome;
                }
                foreach (var kv in moving)
                    kv.Key.Dir = kv.Value == home ? newHome : DsPath(kv.Value.Name, rel);
                // Disks that stayed in the old folder keep their path on the old datastore.
                vm.Host = h.Name;
                if (place != null) Place(vm, place, null);
                if (moving.Count > 0) ResetTracking(vm);
                RefreshVmFiles();
                var store = FindDatastore(oldDs);
                if (homeMoves && store != null && store.Tree(rel).Count == 1) store.Files.Remove(rel);
            };
        }

        public static void Reconfigure(Vm vm, SVMInfoLib info)
        {
            bool hot = vm.Power != "poweredOff";
            // Zero or negative numbers keep the VM's own: a record made natively starts its memory size at -1.
            if (info.numOfCPU > 768) throw new SimFault("A specified parameter was not correct: numCPUs");
            if (info.memorySizeInMB > 0 && (info.memorySizeInMB < 4 || info.memorySizeInMB % 4 != 0))
                throw new SimFault("A specified parameter was not correct: memoryMB");
            if (hot && ((info.numOfCPU > 0 && info.numOfCPU != vm.NumCpu) || (info.memorySizeInMB > 0 && info.memorySizeInMB != vm.MemoryMB)))
                throw new SimFault(StateFault(vm));
            int version = 0;
            if (!string.IsNullOrEmpty(info.vmVersion) && (!info.vmVersion.StartsWith("vmx-") || !int.TryParse(info.vmVersion.Substring(4), out version)))
                throw new SimFault("A specified parameter was not correct: version");
            var host = FindHost(vm.Host);
            if (version > 0 && version < vm.HardwareVersion) throw new SimFault("A virtual machine's hardware version cannot be lowered.");
            if (version > 0 && host != null && version > host.MaxHardwareVersion)
                throw new SimFault("The host '" + host.Name + "' does not support virtual hardware " + info.vmVersion + ".");
            if (version > vm.HardwareVersion && hot) throw new SimFault(StateFault(vm));
            if (!string.IsNullOrEmpty(info.strFirmware))
            {
                if (info.strFirmware != "bios" && info.strFirmware != "efi") throw new SimFault("A specified parameter was not correct: firmware");
                if (hot && info.strFirmware != vm.Firmware) throw new SimFault(StateFault(vm));
            }
            var grow = new List<KeyValuePair<Disk, long>>();
            foreach (var record in info.diskList ?? new List<SDiskLib>())
            {
                var d = SimClient.NeedDisk(vm, record);
                if (record.llMaxSizeInBytes == 0 || record.llMaxSizeInBytes == d.Capacity) continue;
                if (record.llMaxSizeInBytes < d.Capacity) throw new SimFault("A disk cannot be shrunk: " + d.Label + ".");
                if (vm.Snaps.Count > 0) throw new SimFault("A disk of a virtual machine with snapshots cannot be extended: " + d.Label + ".");
                grow.Add(new KeyValuePair<Disk, long>(d, record.llMaxSizeInBytes));
            }
            foreach (var g in grow.Where(g => !g.Key.Thin))
                NeedSpace(FindDatastore(DatastoreOf(g.Key.Dir)), g.Value - g.Key.Capacity);

            if (info.numOfCPU > 0) vm.NumCpu = (int)info.numOfCPU;
            if (info.memorySizeInMB > 0) vm.MemoryMB = (int)info.memorySizeInMB;
            if (version > 0) vm.HardwareVersion = version;
            if (info.videoRamSizeInKb > 0) vm.VideoRamKB = (int)info.videoRamSizeInKb;
            if (!string.IsNullOrEmpty(info.strGuestOSName)) vm.GuestName = info.strGuestOSName;
            if (!string.IsNullOrEmpty(info.strFirmware)) vm.Firmware = info.strFirmware;
            if (!string.IsNullOrEmpty(info.notes)) vm.Annotation = info.notes;
            foreach (var g in grow) g.Key.Capacity = g.Value;
            RefreshVmFiles();
        }
    }
}
#endif
