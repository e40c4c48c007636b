#if !NOCLASS && !EMPTY
using System;
using System.Linq;
using System.Text;
using System.Text.RegularExpressions;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        const int MaxDisks = 60;

        static void CheckNewName(string name, Vm except = null)
        {
            if (!Shared.IsValidVmName(name)) throw new SimFault("A specified parameter was not correct: name");
            if (Sim.Vms.Any(x => x != except && x.Name == name)) throw new SimFault("The name '" + name + "' already exists.");
        }

        static HostInfo HostFor(string host, Datastore ds)
        {
            var h = string.IsNullOrEmpty(host) ? Sim.Hosts.FirstOrDefault(x => ds.MountedOn(x.Name))
                : Sim.Hosts.FirstOrDefault(x => string.Equals(x.Name, host, StringComparison.OrdinalIgnoreCase));
            if (h == null) throw new SimFault(string.IsNullOrEmpty(host) ? "No host can reach the datastore '" + ds.Name + "'." : "The host '" + host + "' was not found.");
            if (!ds.MountedOn(h.Name)) throw new SimFault("The datastore '" + ds.Name + "' is not accessible from host '" + h.Name + "'.");
            return h;
        }

        public int CreateVM(string name, string host, string datastore, string guestId, string network, out string uuid)
        {
            uuid = null;
            Need("VirtualMachine.Inventory.Create", "vim.Folder:group-v4");
            CheckNewName(name);
            var ds = Sim.GetDatastore(string.IsNullOrEmpty(datastore) ? Sim.Datastores.Select(d => d.Name).FirstOrDefault() : datastore);
            var h = HostFor(host, ds);
            var net = string.IsNullOrEmpty(network) ? "VM Network" : network;
            if (!Sim.Networks.Contains(net)) throw new SimFault("The network '" + net + "' was not found.");
            Sim.RefreshVmFiles();
            if (ds.Find(name) != null) throw new SimFault("Cannot complete the operation because the file or folder " + Sim.DsPath(ds.Name, name) + " already exists");
            var vm = new Vm
            {
                Name = name, Moref = Sim.NextMoref(), Uuid = Sim.NewUuid(0x42), InstanceUuid = Sim.NewUuid(0x50), Host = h.Name, Datastore = ds.Name,
                Power = "poweredOff", Tools = "notInstalled", GuestId = string.IsNullOrEmpty(guestId) ? "otherGuest64" : guestId,
                GuestName = string.IsNullOrEmpty(guestId) ? "Other (64-bit)" : guestId, HardwareVersion = h.MaxHardwareVersion, MemoryMB = 1024
            };
            vm.Home = vm.HomeDir;
            vm.FileStem = name;
            vm.Networks.Add(net);
            vm.NewSegment();
            vm.Disks.Add(new Disk { Key = 2000, Label = "Hard disk 1", Dir = vm.Home, Stem = name, Capacity = 16 * Sim.GiB, Thin = true });
            Sim.PlaceDisks(vm);
            Sim.ResetTracking(vm);
            Sim.NeedSpace(ds, Sim.VmUsedBytes(vm));
            Sim.Vms.Add(vm);
            Sim.RefreshVmFiles();
            uuid = vm.Uuid;
            return 1;
        }

        public int DeleteVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Inventory.Delete");
            RequireOff(v);
            Sim.RefreshVmFiles();
            Sim.Vms.Remove(v);
            Sim.DropVmFiles(v);
            if (focus.Vm == v.Name) focus.Vm = "";
            return 1;
        }

        public int DeleteVMDiskFiles(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Config.RemoveDisk");
            RequireOff(v);
            foreach (var d in v.Disks) DropDiskFiles(v, d, true);
            v.Disks.Clear();
            Sim.RefreshVmFiles();
            return 1;
        }

        // Forgets or deletes a disk's files; forgotten ones stay on the datastore as plain files.
        static void DropDiskFiles(Vm v, Disk d, bool delete)
        {
            foreach (var f in Sim.DiskFiles(v, d))
            {
                var ds = Sim.FindDatastore(f.Datastore);
                var stored = ds == null ? null : ds.Find(f.Path);
                if (stored == null || stored.Owner != v) continue;
                if (delete) ds.Files.Remove(f.Path);
                else stored.Owner = null;
            }
        }

        Vm Register(string vmxPath, string name, string host, string folder, string pool, bool newUuid)
        {
            Need("VirtualMachine.Inventory.Register", "vim.Folder:group-v4");
            string rel;
            var ds = Sim.Locate("", vmxPath, out rel);
            if (!rel.EndsWith(".vmx", StringComparison.OrdinalIgnoreCase)) throw new SimFault("A specified parameter was not correct: path");
            var full = Sim.DsPath(ds.Name, rel);
            Sim.RefreshVmFiles();
            var file = ds.Find(rel);
            if (file == null || file.Dir) throw new SimFault("File " + full + " was not found");
            if (Sim.Vms.Any(x => string.Equals(x.ConfigFile, full, StringComparison.OrdinalIgnoreCase)))
                throw new SimFault("The specified key, name, or identifier '" + full + "' already exists.");
            Vm vm;
            if (!Sim.Unregistered.TryGetValue(full, out vm))
                vm = Sim.VmFromVmx(file.Data == null ? "" : Encoding.UTF8.GetString(file.Data.Bytes()), ds, rel);
            var newName = string.IsNullOrEmpty(name) ? vm.Name : name;
            CheckNewName(newName);
            var h = HostFor(string.IsNullOrEmpty(host) ? vm.Host : host, ds);
            Sim.Unregistered.Remove(full);
            vm.Name = newName;
            vm.Host = h.Name;
            if (!string.IsNullOrEmpty(folder)) vm.Folder = folder;
            if (!string.IsNullOrEmpty(pool)) vm.ResourcePool = pool;
            vm.Moref = Sim.NextMoref();
            if (newUuid)
            {
                vm.Uuid = Sim.NewUuid(0x42);
                vm.InstanceUuid = Sim.NewUuid(0x50);
            }
            // Files left on the datastore by the VM belong to it again.
            foreach (var f in Sim.VmLayout(vm))
            {
                var store = Sim.FindDatastore(f.Datastore);
                var stored = store == null ? null : store.Find(f.Path);
                if (stored != null && stored.Owner == null) stored.Owner = vm;
            }
            Sim.Vms.Add(vm);
            Sim.RefreshVmFiles();
            return vm;
        }

        public int RegisterVM(string vmxPath, string name, string host, string pool, string folder, ref string vm)
        {
            vm = Register(vmxPath, name, host, folder, pool, false).Moref;
            return 1;
        }

        public int RegisterVMWithNewUUID(string vmxPath, string name, string host, out string uuid)
        {
            uuid = null;
            uuid = Register(vmxPath, name, host, null, null, true).Uuid;
            return 1;
        }

        public int ReRegisterVM(string vmxPath, ref string vm)
        {
            var path = vmxPath;
            Vm old = null;
            if (!string.IsNullOrEmpty(vm))
            {
                old = GetVm(vm, "VirtualMachine.Inventory.Unregister");
                if (old.On) throw new SimFault(Sim.StateFault(old));
                if (string.IsNullOrEmpty(path)) path = old.ConfigFile;
                Unregister(old);
            }
            try { vm = Register(path, null, null, null, null, false).Moref; }
            catch (SimFault)
            {
                // A VM taken out for nothing goes back as it was.
                if (old != null && Sim.Unregistered.Remove(old.ConfigFile)) Sim.Vms.Add(old);
                throw;
            }
            return 1;
        }

        void Unregister(Vm v)
        {
            Sim.RefreshVmFiles();
            Sim.Vms.Remove(v);
            Sim.Unregistered[v.ConfigFile] = v;
            if (focus.Vm == v.Name) focus.Vm = "";
        }

        public int UnRegisterVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Inventory.Unregister");
            if (v.On) throw new SimFault(Sim.StateFault(v));
            Unregister(v);
            return 1;
        }

        public bool RegisterFirstClassDisk(string host, string datastore, string path, string name, string datacenter)
        {
            Need("Datastore.FileManagement", "vim.Datastore:" + datastore);
            string rel;
            var ds = Sim.Locate(datastore, path, out rel);
            if (!string.IsNullOrEmpty(host)) HostFor(host, ds);
            if (!rel.EndsWith(".vmdk", StringComparison.OrdinalIgnoreCase) || rel.EndsWith("-flat.vmdk", StringComparison.OrdinalIgnoreCase))
                throw new SimFault("A specified parameter was not correct: path");
            Sim.RefreshVmFiles();
            var f = ds.Find(rel);
            if (f == null || f.Dir) throw new SimFault("File " + Sim.DsPath(ds.Name, rel) + " was not found");
            if (f.Owner != null && Sim.Vms.Contains(f.Owner)) throw new SimFault("The disk " + Sim.DsPath(ds.Name, rel) + " is in use by '" + f.Owner.Name + "'.");
            if (string.IsNullOrWhiteSpace(name) || Sim.FirstClassDisks.Any(x => x.Name == name)) throw new SimFault("A specified parameter was not correct: name");
            if (Sim.FirstClassDisks.Any(x => x.Datastore == ds.Name && x.Path == rel))
                throw new SimFault("The disk " + Sim.DsPath(ds.Name, rel) + " is already registered.");
            Sim.FirstClassDisks.Add(new FirstClassDisk { Name = name, Datastore = ds.Name, Path = rel, Id = Guid.NewGuid().ToString() });
            return true;
        }

        // The first free file name: the VM's own for a first plain disk, else with the suffix and a number. Files left on
        // the datastore by removed disks count as taken, so a new disk never overwrites them.
        static Disk NewDisk(Vm v, Datastore ds, string suffix)
        {
            if (v.Disks.Count >= MaxDisks) throw new SimFault("The virtual machine '" + v.Name + "' has the maximum number of disks.");
            int key = v.Disks.Count == 0 ? 2000 : v.Disks.Max(d => d.Key) + 1;
            var dir = ds.Name == v.Datastore ? v.HomeDir : Sim.DsPath(ds.Name, v.FileStem ?? v.Name);
            string ignored, folder = Sim.CleanPath(dir, out ignored), baseName = v.FileStem ?? v.Name;
            Func<string, bool> taken = stem => v.Disks.Any(d => d.Dir == dir && d.Stem == stem) || ds.Find(folder + "/" + stem + ".vmdk") != null;
            var name = suffix == "_" && !taken(baseName) ? baseName : null;
            for (int n = 1; name == null; n++)
                if (!taken(baseName + suffix + n)) name = baseName + suffix + n;
            return new Disk { Key = key, Label = "Hard disk " + (v.Disks.Count + 1), Dir = dir, Stem = name };
        }

        public int AddDiskToVM(string vm, string host, string datastore, long capacity, bool thin, bool eagerZero, bool independent, bool nonPersistent, bool newController)
        {
            var v = GetVm(vm, "VirtualMachine.Config.AddNewDisk");
            NotTemplate(v);
            if (capacity < Sim.MiB || capacity % 1024 != 0) throw new SimFault("A specified parameter was not correct: capacity");
            if (thin && eagerZero) throw new SimFault("A specified parameter was not correct: eagerlyScrub");
            if (nonPersistent && !independent) throw new SimFault("A specified parameter was not correct: diskMode");
            var ds = Sim.GetDatastore(string.IsNullOrEmpty(datastore) ? v.Datastore : datastore);
            if (ds.ReadOnly) throw new SimFault("The datastore '" + ds.Name + "' is read-only.");
            Sim.RefreshVmFiles();
            var d = NewDisk(v, ds, "_");
            d.Capacity = capacity; d.Thin = thin; d.EagerZero = eagerZero; d.Independent = independent; d.NonPersistent = nonPersistent;
            Sim.NeedSpace(ds, thin ? 0 : capacity);
            Sim.PlaceDisk(v, d, newController ? (v.Disks.Count == 0 ? 0 : v.Disks.Max(x => x.Bus) + 1) : 0);
            if (v.Cbt) d.Epoch = Sim.NewEpoch(v, d);
            v.Disks.Add(d);
            Sim.RefreshVmFiles();
            return 1;
        }

        public int RemoveDiskFromVM(string vm, string host, string disk, bool deleteFiles)
        {
            var v = GetVm(vm, "VirtualMachine.Config.RemoveDisk");
            var d = Sim.FindDisk(v, disk);
            if (deleteFiles && v.Snaps.Count > 0) throw new SimFault("The operation is not allowed in the current state: the virtual machine has snapshots.");
            Sim.RefreshVmFiles();
            DropDiskFiles(v, d, deleteFiles);
            v.Disks.Remove(d);
            Sim.RefreshVmFiles();
            return 1;
        }

        public int RemoveISOFromVM(string vm, string host, string iso, bool removeDrive)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.SetCDMedia");
            if (string.IsNullOrEmpty(iso)) { v.Isos.Clear(); return 1; }
            var found = v.Isos.FirstOrDefault(x => string.Equals(x, iso, StringComparison.OrdinalIgnoreCase) || x.EndsWith("/" + iso, StringComparison.OrdinalIgnoreCase));
            if (found == null) throw new SimFault("The ISO image '" + iso + "' is not connected to '" + v.Name + "'.");
            v.Isos.Remove(found);
            return 1;
        }

        static readonly Regex DiskUuidForm = new Regex("^[0-9a-fA-F]{8}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{12}$");

        public int ChangeDiskUUID(string vm, string disk, string uuid)
        {
            var v = GetVm(vm, "VirtualMachine.Config.DiskModify");
            RequireOff(v);
            var d = Sim.FindDisk(v, disk);
            if (uuid == null || !DiskUuidForm.IsMatch(uuid)) throw new SimFault("A specified parameter was not correct: uuid");
            var h = uuid.Replace("-", "");
            var formed = h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20);
            foreach (var other in Sim.Vms.SelectMany(x => x.Disks))
                if (other != d && string.Equals(other.Uuid, formed, StringComparison.OrdinalIgnoreCase))
                    throw new SimFault("The disk UUID '" + formed + "' is already in use.");
            d.Uuid = formed;
            Sim.RefreshVmFiles();
            return 1;
        }

        public string AddRDMToVM(string vm, string host, string device, string mode, int bus, int unit, int sizeMB, string datastore)
        {
            var v = GetVm(vm, "VirtualMachine.Config.RawDevice");
            if (string.IsNullOrEmpty(device) || !(device.StartsWith("naa.") || device.StartsWith("eui.") || device.StartsWith("t10.")))
                throw new SimFault("A specified parameter was not correct: deviceName");
            var m = string.IsNullOrEmpty(mode) ? "virtualMode" : mode;
            if (m != "physicalMode" && m != "virtualMode") throw new SimFault("A specified parameter was not correct: compatibilityMode");
            if (sizeMB <= 0) throw new SimFault("A specified parameter was not correct: capacity");
            var user = Sim.Vms.FirstOrDefault(x => x.Disks.Any(k => k.RdmDevice == device));
            if (user != null) throw new SimFault("The LUN '" + device + "' is already mapped by '" + user.Name + "'.");
            var ds = Sim.GetDatastore(string.IsNullOrEmpty(datastore) ? v.Datastore : datastore);
            if (ds.Nas) throw new SimFault("Raw device mappings need a VMFS datastore; '" + ds.Name + "' is " + ds.Type + ".");
            var d = NewDisk(v, ds, "_rdm");
            d.RdmDevice = device; d.RdmMode = m; d.Capacity = (long)sizeMB * Sim.MiB; d.Adapter = "lsilogic";
            if (bus >= 0 || unit >= 0)
            {
                if (bus < 0 || bus > 3 || unit < 0 || unit > 15 || unit == 7 || v.Disks.Any(x => x.Bus == bus && x.Unit == unit))
                    throw new SimFault("The controller slot " + bus + ":" + unit + " is not free.");
                d.Bus = bus; d.Unit = unit; d.Placed = true;
                d.Uuid = Sim.DiskUuid(v, d);
            }
            else Sim.PlaceDisk(v, d, 0);
            Sim.RefreshVmFiles();
            v.Disks.Add(d);
            Sim.RefreshVmFiles();
            return d.FileOf(v, 0);
        }

        public bool CheckVMConsolidateStatus(string vm, string host)
        {
            return GetVm(vm).NeedsConsolidation;
        }

        public bool ConsolidateVMDisks(string vm, string host, ref bool needed)
        {
            var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
            needed = v.NeedsConsolidation;
            v.NeedsConsolidation = false;
            return true;
        }
    }
}
#endif
