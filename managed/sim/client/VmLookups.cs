#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        public SVMInfoLib GetVMInfoForVM(string vm, string host, string datacenter, ulong mask, int flags)
        {
            return Sim.VmRecord(GetVm(vm), mask);
        }

        public SVMInfoLib GetVMInfoForVMSnapshot(string vm, string host, ulong mask, int flags, ref string snapshot)
        {
            var v = GetVm(vm);
            var s = FindSnap(v, snapshot);
            snapshot = s.Id;
            return Sim.VmRecord(v, mask, s);
        }

        public SVMInfoLib GetVMInfoForVMByVMX(string vmxPath, ulong mask, int flags)
        {
            Auth();
            string ds;
            var rel = Sim.CleanPath(vmxPath, out ds);
            var full = Sim.DsPath(ds ?? "", rel);
            var v = Sim.Vms.FirstOrDefault(x => string.Equals(x.ConfigFile, full, StringComparison.OrdinalIgnoreCase));
            if (v == null) Sim.Unregistered.TryGetValue(full, out v);
            if (v == null) throw new SimFault("File " + full + " was not found");
            var r = Sim.VmRecord(v, mask);
            if (!Sim.Vms.Contains(v)) r.strMoRef = "";
            return r;
        }

        public SVMInfoLib GetVMInfoForVMByMoref(string moref, ulong mask, int flags)
        {
            Auth();
            var v = Sim.Vms.FirstOrDefault(x => x.Moref == moref);
            if (v == null) throw new SimFault(Sim.VmNotFound(moref ?? ""));
            return Sim.VmRecord(v, mask);
        }

        // #2: 0 VMs and templates, 1 VMs only, 2 templates only.
        static IEnumerable<Vm> OfKind(IEnumerable<Vm> vms, int kind)
        {
            return vms.Where(v => kind == 0 || (kind == 1 && !v.Template) || (kind == 2 && v.Template));
        }

        public List<SVMInfoLib> BrowseInventoryByMoref(string moref, int kind, ulong mask, int flags)
        {
            Auth();
            Sim.SyncPlacements();
            var found = string.IsNullOrEmpty(moref) ? Sim.Vms : Sim.VmsUnder(moref);
            if (found == null) throw new SimFault("The object '" + moref + "' has already been deleted or has not been completely created");
            return OfKind(found, kind).Select(v => Sim.VmRecord(v, mask)).ToList();
        }

        public List<SVMInfoLib> BrowseInventoryByName(string name, int kind, ulong mask, int flags)
        {
            Auth();
            IEnumerable<Vm> found;
            var ds = string.IsNullOrEmpty(name) ? null : Sim.FindDatastore(name);
            if (ds != null) found = Sim.Vms.Where(v => v.Datastore == ds.Name);
            else if (Sim.Hosts.Any(h => h.Name == name)) found = Sim.Vms.Where(v => v.Host == name);
            else found = Sim.Vms.Where(v => string.IsNullOrEmpty(name) || Sim.Matches(v.Name, name));
            return OfKind(found, kind).Select(v => Sim.VmRecord(v, mask)).ToList();
        }

        public int CreateVirtualMachine(SVMInfoLib info, out string uuid)
        {
            uuid = null;
            Need("VirtualMachine.Inventory.Create", "vim.Folder:group-v4");
            CheckNewName(info.strName);
            var ds = Sim.GetDatastore(string.IsNullOrEmpty(info.strDataStoreName) ? Sim.Datastores.Select(d => d.Name).FirstOrDefault() : info.strDataStoreName);
            var h = HostFor(info.hostName, ds);
            Sim.RefreshVmFiles();
            if (ds.Find(info.strName) != null) throw new SimFault("Cannot complete the operation because the file or folder " + Sim.DsPath(ds.Name, info.strName) + " already exists");
            if (info.memorySizeInMB < 4 && info.memorySizeInMB != -1 && info.memorySizeInMB != 0) throw new SimFault("A specified parameter was not correct: memoryMB");
            if (info.numOfCPU < 0 || info.numOfCPU > 768) throw new SimFault("A specified parameter was not correct: numCPUs");
            int version = 0;
            if (!string.IsNullOrEmpty(info.vmVersion) && (!info.vmVersion.StartsWith("vmx-") || !int.TryParse(info.vmVersion.Substring(4), out version)))
                throw new SimFault("A specified parameter was not correct: version");
            if (version > h.MaxHardwareVersion) throw new SimFault("The host '" + h.Name + "' does not support virtual hardware " + info.vmVersion + ".");
            var vm = new Vm
            {
                Name = info.strName, Moref = Sim.NextMoref(), Uuid = Sim.NewUuid(0x42), InstanceUuid = Sim.NewUuid(0x50), Host = h.Name, Datastore = ds.Name,
                Power = "poweredOff", Tools = "notInstalled", GuestId = string.IsNullOrEmpty(info.strGuestOSName) ? "otherGuest64" : info.strGuestOSName,
                GuestName = string.IsNullOrEmpty(info.strGuestOSName) ? "Other (64-bit)" : info.strGuestOSName,
                HardwareVersion = version > 0 ? version : h.MaxHardwareVersion, MemoryMB = info.memorySizeInMB > 0 ? (int)info.memorySizeInMB : 1024,
                Annotation = ""
            };
            vm.Home = vm.HomeDir;
            vm.FileStem = vm.Name;
            vm.NumCpu = info.numOfCPU > 0 ? (int)info.numOfCPU : 1;
            if (!string.IsNullOrEmpty(info.strFirmware)) vm.Firmware = info.strFirmware;
            if (!string.IsNullOrEmpty(info.isoPath)) vm.Isos.Add(info.isoPath);
            foreach (var n in info.networkCards ?? new List<SVMNetworkCardLib>())
            {
                var net = string.IsNullOrEmpty(n.networkName) ? "VM Network" : n.networkName;
                if (!Sim.Networks.Contains(net)) throw new SimFault("The network '" + net + "' was not found.");
                vm.Networks.Add(net);
            }
            vm.NewSegment();
            var need = new Dictionary<Datastore, long>();
            foreach (var d in info.diskList ?? new List<SDiskLib>())
            {
                if (d.llMaxSizeInBytes < Sim.MiB) throw new SimFault("A specified parameter was not correct: capacity");
                var store = Sim.GetDatastore(string.IsNullOrEmpty(d.strDataStoreName) ? ds.Name : d.strDataStoreName);
                var disk = NewDisk(vm, store, "_");
                disk.Capacity = d.llMaxSizeInBytes; disk.Thin = d.nThinProvisioned != 0; disk.EagerZero = d.nEagerZero != 0 && !disk.Thin;
                disk.Independent = d.nIndependentMode != 0;
                if (!string.IsNullOrEmpty(d.strUUID)) disk.Uuid = d.strUUID;
                vm.Disks.Add(disk);
                Sim.PlaceDisk(vm, disk, 0);
                need[store] = (need.ContainsKey(store) ? need[store] : 0) + (disk.Thin ? 0 : disk.Capacity);
            }
            Sim.ResetTracking(vm);
            need[ds] = (need.ContainsKey(ds) ? need[ds] : 0) + Sim.VmLayout(vm).Where(f => f.Datastore == ds.Name && f.Type != "diskExtent").Sum(f => f.Size);
            foreach (var kv in need) Sim.NeedSpace(kv.Key, kv.Value);
            Sim.Vms.Add(vm);
            Sim.RefreshVmFiles();
            uuid = vm.Uuid;
            return 1;
        }

        public bool GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file)
        {
            string rel;
            var ds = Place(datastore, path, host, "Datastore.Browse", out rel);
            var f = Existing(ds, rel);
            file = new SVMFileLib { strName = Sim.DsPath(ds.Name, rel), eFileType = f.Dir ? 9 : Sim.FileTypeOf(rel) };
            if (fileSize) file.lSize = f.Size;
            if (modification) file.modifiedTime = f.Modified;
            return true;
        }
    }
}
#endif
