#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    static partial class Sim
    {
        // Checks a clone and returns the work that makes it: a powered-off VM with its own copies of the source's disks as they are now.
        public static Func<Vm> CloneOf(Vm src, SVMInfoLib info, string host)
        {
            var name = info.strName;
            if (!Shared.IsValidVmName(name)) throw new SimFault("A specified parameter was not correct: name");
            if (Vms.Any(x => x.Name == name)) throw new SimFault("The name '" + name + "' already exists.");
            var h = string.IsNullOrEmpty(host) ? FindHost(src.Host) : GetHost(host);
            if (h == null) throw new SimFault("The host '" + src.Host + "' was not found.");
            var ds = GetDatastore(string.IsNullOrEmpty(info.strDataStoreName) ? src.Datastore : info.strDataStoreName);
            if (ds.ReadOnly) throw new SimFault("The datastore '" + ds.Name + "' is read-only.");
            if (!ds.MountedOn(h.Name)) throw new SimFault("The datastore '" + ds.Name + "' is not accessible from host '" + h.Name + "'.");
            if (h.MaxHardwareVersion < src.HardwareVersion) throw new SimFault("The host '" + h.Name + "' does not support virtual hardware vmx-" + src.HardwareVersion.ToString("D2") + ".");
            RefreshVmFiles();
            if (ds.Find(name) != null) throw new SimFault("Cannot complete the operation because the file or folder " + DsPath(ds.Name, name) + " already exists");
            if (info.numOfCPU > 768 || (info.memorySizeInMB > 0 && info.memorySizeInMB < 4)) throw new SimFault("A specified parameter was not correct: numCPUs or memoryMB");
            NeedSpace(ds, src.Disks.Sum(d => d.Thin ? Merge(d.In(src.Running).Select(w => new Area(w.Offset, w.Length))).Sum(a => a.Length) : d.Capacity));
            return () =>
            {
                if (Vms.Any(x => x.Name == name)) throw new SimFault("The name '" + name + "' already exists.");
                var vm = new Vm
                {
                    Name = name, Moref = NextMoref(), Uuid = NewUuid(0x42), InstanceUuid = NewUuid(0x50), Host = h.Name, Datastore = ds.Name,
                    Power = "poweredOff", Tools = src.Tools == "notInstalled" ? "notInstalled" : "notRunning", GuestId = src.GuestId, GuestName = src.GuestName,
                    HardwareVersion = src.HardwareVersion, MemoryMB = info.memorySizeInMB > 0 ? (int)info.memorySizeInMB : src.MemoryMB,
                    Annotation = src.Annotation
                };
                vm.Home = vm.HomeDir;
                vm.FileStem = name;
                vm.NumCpu = info.numOfCPU > 0 ? (int)info.numOfCPU : src.NumCpu;
                vm.Firmware = src.Firmware;
                vm.VideoRamKB = src.VideoRamKB;
                vm.Networks.AddRange(src.Networks);
                vm.PolicyId = src.PolicyId;
                foreach (var kv in src.ExtraConfig) vm.ExtraConfig[kv.Key] = kv.Value;
                vm.NewSegment();
                for (int i = 0; i < src.Disks.Count; i++)
                {
                    var d = src.Disks[i];
                    var copy = new Disk
                    {
                        Key = d.Key, Label = d.Label, Dir = vm.Home, Stem = i == 0 ? name : name + "_" + i, Capacity = d.Capacity, Thin = d.Thin,
                        Adapter = d.Adapter, EagerZero = d.EagerZero, Independent = d.Independent, NonPersistent = d.NonPersistent,
                        Bus = d.Bus, Unit = d.Unit, Placed = true, PolicyId = d.PolicyId
                    };
                    copy.Uuid = DiskUuid(vm, copy);
                    foreach (var w in d.In(src.Running).OrderBy(x => x.Stamp))
                        copy.Writes.Add(new Write { Offset = w.Offset, Length = w.Length, Stamp = ++Stamp, Seg = 0 });
                    vm.Disks.Add(copy);
                }
                PlaceDisks(vm);
                ResetTracking(vm);
                Vms.Add(vm);
                PlaceByHost(vm);
                RefreshVmFiles();
                return vm;
            };
        }
    }
}
#endif
