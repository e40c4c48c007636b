#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        static SVMInfoLib RecordOf(object info)
        {
            if (!(info is SVMInfoLib)) throw new SimFault("A specified parameter was not correct: vmInfo");
            return (SVMInfoLib)info;
        }

        // #1 the descriptor's local path; #2 a record whose "strName", "strDataStoreName" and "hostName" (each optional)
        // place the VM, receiving the VM made; #3 the lease; #4 per disk file of the descriptor its datastore path to upload to;
        // #5 "network:<descriptor network>" = a network, "diskProvisioning" = thin, thick or eagerZeroedThick.
        public object StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options)
        {
            lease = null; uploads = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), source, info, null, null, options);
            if (c != null) { c.Out(1, ref info); c.Out(2, ref lease); c.Out(3, ref uploads); return c.Result<bool>(); }
            object made = info;
            string id = null;
            List<SVMOptionValueLib> files = null;
            var r = Bool(() =>
            {
                Need("VApp.Import", "vim.Folder:group-v4");
                var given = RecordOf(made);
                var ovf = Sim.ReadOvf(source);
                var networks = new Dictionary<string, string>();
                string provisioning = "thin";
#if !FAULTS
                foreach (var o in options ?? new List<SVMOptionValueLib>())
                {
                    if (o.key != null && o.key.StartsWith("network:")) networks[o.key.Substring(8)] = o.value;
                    else if (o.key == "diskProvisioning" && new[] { "thin", "thick", "eagerZeroedThick" }.Contains(o.value)) provisioning = o.value;
                    else throw new SimFault("A specified parameter was not correct: " + o.key);
                }
#endif
                var record = new SVMInfoLib
                {
                    strName = string.IsNullOrEmpty(given.strName) ? ovf.Name : given.strName, strDataStoreName = given.strDataStoreName,
                    hostName = given.hostName, strGuestOSName = ovf.OsType, numOfCPU = ovf.Cpus, memorySizeInMB = ovf.MemoryMB, vmVersion = ovf.Version,
                    networkCards = ovf.Networks.Select(n => new SVMNetworkCardLib { networkName = networks.ContainsKey(n) ? networks[n] : n }).ToList(),
                    diskList = ovf.Disks.Select(d => new SDiskLib { llMaxSizeInBytes = d.Capacity, nThinProvisioned = provisioning == "thin" ? 1 : 0, nEagerZero = provisioning == "eagerZeroedThick" ? 1 : 0 }).ToList()
                };
                string uuid;
                if ((int)CreateVirtualMachine(record, out uuid) == 0) throw new SimFault(lastError);
                var vm = Sim.FindVm(uuid);
                if (!string.IsNullOrEmpty(ovf.Annotation)) vm.Annotation = ovf.Annotation;
                Sim.PlaceByHost(vm);
                var l = new ImportLease { Id = "lease-" + (++Sim.LeaseSeq), Vm = vm.Moref };
                Sim.Imports.Add(l);
#if !FAULTS
                files = ovf.Disks.Select((d, i) => new SVMOptionValueLib { key = d.Href, value = vm.Disks[i].FileOf(vm, 0) }).ToList();
#endif
                Sim.RefreshVmFiles();
                made = Sim.VmRecord(vm, ulong.MaxValue);
                id = l.Id;
                return true;
            });
            info = made; lease = id; uploads = files;
            return r;
        }

        // #2 percent done, never going back.
        public object UpdateOVFImportProgress(string lease, int percent)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), lease, percent);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                Auth();
                var l = Sim.FindLease(lease);
                if (percent < l.Progress || percent > 100) throw new SimFault("A specified parameter was not correct: percent");
                l.Progress = percent;
                return true;
            });
        }

        public object FinishOVFImport(string lease, ref object info)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), lease, info);
            if (c != null) { c.Out(1, ref info); return c.Result<bool>(); }
            object made = info;
            var r = Bool(() =>
            {
                Auth();
                var l = Sim.FindLease(lease);
                var vm = Sim.Vms.FirstOrDefault(v => v.Moref == l.Vm);
                if (vm == null) throw new SimFault(Sim.VmNotFound(l.Vm));
                l.State = "done";
                l.Progress = 100;
                made = Sim.VmRecord(vm, ulong.MaxValue);
                return true;
            });
            info = made;
            return r;
        }

        // #1 the new VM: "strName" (required), "strDataStoreName", "numOfCPU", "memorySizeInMB" (each optional, 0 or less: the source's);
        // #2 the source VM, #3 the target host (empty: the source's); #4 receives the task, which makes the VM when it ends.
        public object CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, source, host, null);
            if (c != null) { c.Out(3, ref task); return c.Result<int>(); }
            string id = null;
            var r = Int(() =>
            {
                var src = GetVm(source, "VirtualMachine.Provisioning.Clone");
                NotBusy(src);
                Need("VirtualMachine.Inventory.CreateFromExisting", "vim.Folder:group-v4");
                Sim.CloneOf(src, info, host);
                var wanted = info;
                id = Sim.StartTask("clone", src, "Clone virtual machine", 5, () => Sim.CloneOf(src, wanted, host)().Moref).Id;
                return 1;
            });
            task = id;
            return r;
        }

        // The record carries only "strName", "strUuid" and "numEthernetCards": the customization's adapter settings must match the VM's adapters.
        public object CustomizeVM(SVMInfoLib info, string customization)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, customization);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(string.IsNullOrEmpty(info.strUuid) ? info.strName : info.strUuid, "VirtualMachine.Provisioning.Customize");
                if (!Sim.Customizations.Contains(customization ?? "")) throw new SimFault("The customization '" + customization + "' was not found.");
                RequireOff(v);
                if (info.numEthernetCards != v.Networks.Count)
                    throw new SimFault("The number of network adapter settings in the customization (" + info.numEthernetCards
                        + ") does not match the number of network adapters present in the virtual machine (" + v.Networks.Count + ").");
                v.ExtraConfig["tools.deployPkg.customization"] = customization;
                return 1;
            });
        }
    }

    static partial class Sim
    {
        // Checks a clone and returns the work that makes it: a powered-off VM with its own copies of the source's disks as they are now.
        public static Func<Vm> CloneOf(Vm src, SVMInfoLib info, string host)
        {
            var name = info.strName;
            if (string.IsNullOrWhiteSpace(name) || name.Length > 80 || name.IndexOfAny(new[] { '/', '\\', '[', ']' }) >= 0 || name.Any(char.IsControl))
                throw new SimFault("A specified parameter was not correct: name");
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
