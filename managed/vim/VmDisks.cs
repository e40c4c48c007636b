#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Text;
using System.Text.RegularExpressions;

namespace VISDKWrapper
{
    // Disks, raw device mappings and ISO images of a VM: reconfigurations through ConfigChange; a disk's UUID through the
    // virtual disk manager; consolidation as the server's task.
    sealed partial class VimClient
    {
        const int MaxDisks = 60;

        public int AddDiskToVM(string vm, string host, string datastore, long capacity, bool thin, bool eagerZero, bool independent, bool nonPersistent, bool newController)
        {
            var props = Retrieve(Vm(vm), "name", "config.template", "config.files.vmPathName", "runtime.host", DevicesPath);
            NotTemplate(props);
            if (capacity < MiB || capacity % 1024 != 0) throw new ClientFault("A specified parameter was not correct: capacity");
            if (thin && eagerZero) throw new ClientFault("A specified parameter was not correct: eagerlyScrub");
            if (nonPersistent && !independent) throw new ClientFault("A specified parameter was not correct: diskMode");
            if (DisksOf(props).Count >= MaxDisks) throw new ClientFault("The virtual machine '" + props.Str("name") + "' has the maximum number of disks.");
            var store = DatastoreForVm(props, datastore);
            var change = new ConfigChange();
            var slots = new DeviceSlots(props[DevicesPath].Kids, change);
            var slot = slots.Place("SCSI", null, -1, -1, false, newController);
            AddFlatDisk(change, slot, slots.NewKey(), capacity, store, thin, eagerZero, independent, nonPersistent);
            Reconfigure(props.Obj, change);
            return 1;
        }

        // The datastore named (it must be one the VM's host can use), else the VM's own.
        string DatastoreForVm(ObjectContent vm, string datastore)
        {
            if (string.IsNullOrEmpty(datastore)) return DatastoreOf(vm.Str("config.files.vmPathName"));
            var inv = ReadPlaces();
            var host = inv.Get(vm["runtime.host"].AsRef());
            return UsableDatastore(inv, datastore, host).Str("name");
        }

        // Without deleteFiles the disk's files stay on the datastore.
        public int RemoveDiskFromVM(string vm, string host, string disk, bool deleteFiles)
        {
            var props = Retrieve(Vm(vm), "name", DevicesPath, "snapshot.currentSnapshot");
            var found = DiskNamed(props, disk);
            if (deleteFiles && props["snapshot.currentSnapshot"].AsRef() != null)
                throw new ClientFault("The operation is not allowed in the current state: the virtual machine has snapshots.");
            Reconfigure(props.Obj, new ConfigChange().RemoveDevice(found, deleteFiles ? "destroy" : null));
            return 1;
        }

        // The image by datastore path or file name (empty: every image). A drive that stays is emptied and disconnected.
        public int RemoveISOFromVM(string vm, string host, string iso, bool removeDrive)
        {
            var props = Retrieve(Vm(vm), "name", DevicesPath);
            var drives = props[DevicesPath].Kids.Where(d => d.Type == "VirtualCdrom" && d["backing"].Type == "VirtualCdromIsoBackingInfo").ToList();
            if (!string.IsNullOrEmpty(iso))
            {
                drives = drives.Where(d => IsImage(d["backing"].Str("fileName"), iso)).ToList();
                if (drives.Count == 0) throw new ClientFault("The ISO image '" + iso + "' is not connected to '" + props.Str("name") + "'.");
            }
            var change = new ConfigChange();
            foreach (var d in drives)
            {
                if (removeDrive) { change.RemoveDevice(d); continue; }
                change.EditDevice(d, ConfigChange.DeviceOrder, new Dictionary<string, Action<SoapRequest>>
                {
                    { "backing", r => r.Begin("backing", "VirtualCdromRemotePassthroughBackingInfo").Add("deviceName", "").Add("useAutoDetect", false).Add("exclusive", false).End() },
                    { "connectable", r => r.Begin("connectable").Add("startConnected", false).Add("allowGuestControl", true).Add("connected", false).End() }
                });
            }
            if (!change.Empty) Reconfigure(props.Obj, change);
            return 1;
        }

        static bool IsImage(string file, string iso)
        {
            return string.Equals(file, iso, StringComparison.OrdinalIgnoreCase) || file.EndsWith("/" + iso, StringComparison.OrdinalIgnoreCase)
                || file.EndsWith("] " + iso, StringComparison.OrdinalIgnoreCase);
        }

        static readonly Regex DiskUuidForm = new Regex("^[0-9a-fA-F]{8}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{12}$");

        // Powered off; the UUID is written into the disk's descriptor in the virtual disk manager's form
        // ("60 00 c2 9a ... 44-8d ...").
        public int ChangeDiskUUID(string vm, string disk, string uuid)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.powerState", "runtime.host", DevicesPath);
            RequirePower(props, "poweredOff");
            var found = DiskNamed(props, disk);
            if (uuid == null || !DiskUuidForm.IsMatch(uuid)) throw new ClientFault("A specified parameter was not correct: uuid");
            var hex = uuid.Replace("-", "").ToLowerInvariant();
            var formed = hex.Substring(0, 8) + "-" + hex.Substring(8, 4) + "-" + hex.Substring(12, 4) + "-" + hex.Substring(16, 4) + "-" + hex.Substring(20);
            var other = DisksOf(props).FirstOrDefault(d => d != found && string.Equals(d["backing"].Str("uuid"), formed, StringComparison.OrdinalIgnoreCase));
            if (other != null) throw new ClientFault("The disk UUID '" + formed + "' is already in use.");
            var spaced = new StringBuilder();
            for (int i = 0; i < 32; i += 2) spaced.Append(i == 0 ? "" : i == 16 ? "-" : " ").Append(hex, i, 2);
            var dc = ReadInventory(InventoryRead.Places()).DatacenterOf(props["runtime.host"].AsRef());
            Invoke(new SoapRequest("SetVirtualDiskUuid", Content("virtualDiskManager")).Add("name", found["backing"].Str("fileName"))
                .Ref("datacenter", dc == null ? null : dc.Obj).Add("uuid", spaced.ToString()));
            return 1;
        }

        // The LUN (by canonical name, as the VM's host sees it) mapped by a file [ds] vm/vm_rdmN.vmdk; its name is the answer.
        public string AddRDMToVM(string vm, string host, string device, string mode, int bus, int unit, int sizeMB, string datastore)
        {
            var props = Retrieve(Vm(vm), "name", "config.files.vmPathName", "runtime.host", DevicesPath);
            if (string.IsNullOrEmpty(device) || !(device.StartsWith("naa.", StringComparison.Ordinal) || device.StartsWith("eui.", StringComparison.Ordinal) || device.StartsWith("t10.", StringComparison.Ordinal)))
                throw new ClientFault("A specified parameter was not correct: deviceName");
            var compatibility = string.IsNullOrEmpty(mode) ? "virtualMode" : mode;
            if (compatibility != "physicalMode" && compatibility != "virtualMode") throw new ClientFault("A specified parameter was not correct: compatibilityMode");
            if (sizeMB <= 0) throw new ClientFault("A specified parameter was not correct: capacity");
            var vmHost = props["runtime.host"].AsRef();
            if (vmHost == null) throw new ClientFault("The virtual machine '" + props.Str("name") + "' is on no host.");
            var hostProps = Retrieve(vmHost, "name", "config.storageDevice.scsiLun");
            var lun = hostProps["config.storageDevice.scsiLun"].Kids.FirstOrDefault(l => l.Str("canonicalName") == device);
            if (lun == null) throw new ClientFault("The LUN '" + device + "' was not found on host '" + hostProps.Str("name") + "'.");
            if (DisksOf(props).Any(d => d["backing"].Str("deviceName") == lun.Str("deviceName")))
                throw new ClientFault("The LUN '" + device + "' is already mapped by '" + props.Str("name") + "'.");
            var inv = ReadPlaces();
            var store = UsableDatastore(inv, string.IsNullOrEmpty(datastore) ? DatastoreOf(props.Str("config.files.vmPathName")) : datastore, inv.Get(hostProps.Obj));
            var type = store.Str("summary.type");
            if (type == "NFS" || type == "NFS41" || type == "vsan")
                throw new ClientFault("Raw device mappings need a VMFS datastore; '" + store.Str("name") + "' is " + type + ".");
            if ((bus >= 0 || unit >= 0) && (bus < 0 || bus > 3 || unit < 0 || unit > 15 || unit == 7))
                throw new ClientFault("The controller slot " + bus + ":" + unit + " is not free.");
            var change = new ConfigChange();
            var slots = new DeviceSlots(props[DevicesPath].Kids, change);
            var slot = slots.Place("SCSI", null, bus, unit, bus >= 0 || unit >= 0);
            var file = MappingFile(props, store.Str("name"));
            change.AddDevice("VirtualDisk", r =>
            {
                r.Add("key", slots.NewKey()).Begin("backing", "VirtualDiskRawDiskMappingVer1BackingInfo").Add("fileName", file)
                    .Add("lunUuid", lun.Str("uuid")).Add("deviceName", lun.Str("deviceName")).Add("compatibilityMode", compatibility).Add("diskMode", "persistent").End();
                r.Add("controllerKey", slot.Controller).Add("unitNumber", slot.Unit).Add("capacityInKB", sizeMB * 1024L).Add("capacityInBytes", sizeMB * MiB);
            }, "create");
            Reconfigure(props.Obj, change);
            var mapped = DisksOf(Retrieve(props.Obj, DevicesPath)).FirstOrDefault(d => d["backing"].Str("deviceName") == lun.Str("deviceName"));
            return mapped == null ? file : mapped["backing"].Str("fileName");
        }

        // "[ds] dir/name_rdmN.vmdk": the VM's folder on its own datastore (a folder of its name on another), the first N
        // no disk of the VM has.
        static string MappingFile(ObjectContent vm, string datastore)
        {
            var vmx = vm.Str("config.files.vmPathName");
            var stem = vmx.Substring(vmx.LastIndexOf('/') + 1);
            stem = stem.EndsWith(".vmx", StringComparison.OrdinalIgnoreCase) ? stem.Substring(0, stem.Length - 4) : vm.Str("name");
            var dir = DatastoreOf(vmx) == datastore ? DirectoryOf(vmx) : "[" + datastore + "] " + stem;
            var taken = new HashSet<string>(DisksOf(vm).SelectMany(ChainFiles), StringComparer.OrdinalIgnoreCase);
            for (int n = 1; ; n++)
            {
                var file = dir + (dir.EndsWith("]", StringComparison.Ordinal) ? " " : "/") + stem + "_rdm" + n + ".vmdk";
                if (!taken.Contains(file)) return file;
            }
        }

        public bool CheckVMConsolidateStatus(string vm, string host)
        {
            return Retrieve(Vm(vm), "runtime.consolidationNeeded")["runtime.consolidationNeeded"].AsBool();
        }

        // Consolidates whether or not the server said it was needed; `needed` tells which.
        public bool ConsolidateVMDisks(string vm, string host, ref bool needed)
        {
            var props = Retrieve(Vm(vm), "runtime.consolidationNeeded");
            needed = props["runtime.consolidationNeeded"].AsBool();
            RunTask(new SoapRequest("ConsolidateVMDisks_Task", props.Obj));
            return true;
        }
    }
}
#endif
