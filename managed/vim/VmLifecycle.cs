#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // VMs made, registered, unregistered and destroyed: CreateVM_Task in the host's datacenter's VM folder and root pool,
    // Folder.RegisterVM_Task, UnregisterVM, Destroy_Task; first-class disks through the storage object manager.
    sealed partial class VimClient
    {
        const long GiB = 1L << 30, MiB = 1L << 20;

        // Where VMs go, read in one request: datacenters and their VM folders, compute resources and their pools, hosts
        // with their state and networks, datastores with their mounts and space.
        InventoryRead ReadPlaces()
        {
            return ReadInventory(InventoryRead.Places().Add("Datacenter", "datastore")
                .Add("HostSystem", "runtime.connectionState", "runtime.inMaintenanceMode")
                .Add("Datastore", "name", "summary.accessible", "summary.type", "summary.freeSpace", "host")
                .Add("ResourcePool", "name", "parent", "resourcePool"));
        }

        // A datastore by name or id that is accessible, and (given a host) mounted there and writable.
        static ObjectContent UsableDatastore(InventoryRead inv, string id, ObjectContent host)
        {
            var ds = inv.Require("Datastore", id, "datastore");
            if (ds["summary.accessible"].Present && !ds["summary.accessible"].AsBool()) throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible.");
            if (host == null) return ds;
            if (!inv.MountsOf(ds.Obj).Contains(host.Obj))
                throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible from host '" + host.Str("name") + "'.");
            if (inv.MountInfo(ds.Obj, host.Obj).Str("accessMode") == "readOnly") throw new ClientFault("The datastore '" + ds.Str("name") + "' is read-only.");
            return ds;
        }

        // The host named (it must mount the datastore), else the first connected one that mounts it.
        static ObjectContent HostFor(InventoryRead inv, string host, ObjectContent ds)
        {
            if (!string.IsNullOrEmpty(host))
            {
                var h = inv.Host(host);
                UsableDatastore(inv, ds.Obj.Value, h);
                return h;
            }
            var first = inv.MountsOf(ds.Obj).Select(inv.Get).FirstOrDefault(h => h != null && h.Str("runtime.connectionState") == "connected");
            if (first == null) throw new ClientFault("No host can reach the datastore '" + ds.Str("name") + "'.");
            return first;
        }

        // One thin 16 GiB disk, 1 GiB of memory and an adapter on the network, as CreateVirtualMachine makes them.
        public int CreateVM(string name, string host, string datastore, string guestId, string network, out string uuid)
        {
            return CreateVirtualMachine(new SVMInfoLib
            {
                strName = name, hostName = host, strDataStoreName = datastore, strGuestOSName = guestId, memorySizeInMB = 1024,
                diskList = new List<SDiskLib> { new SDiskLib { llMaxSizeInBytes = 16 * GiB, nThinProvisioned = 1 } },
                networkCards = new List<SVMNetworkCardLib> { new SVMNetworkCardLib { networkName = network } }
            }, out uuid);
        }

        public int CreateVirtualMachine(SVMInfoLib info, out string uuid)
        {
            uuid = null;
            Auth();
            CheckNewName(info.strName);
            if (info.memorySizeInMB < 4 && info.memorySizeInMB != -1 && info.memorySizeInMB != 0) throw new ClientFault("A specified parameter was not correct: memoryMB");
            if (info.numOfCPU < 0 || info.numOfCPU > 768) throw new ClientFault("A specified parameter was not correct: numCPUs");
            if (!string.IsNullOrEmpty(info.vmVersion)) HardwareVersionOf(info.vmVersion);
            var inv = ReadPlaces();
            var ds = !string.IsNullOrEmpty(info.strDataStoreName) ? UsableDatastore(inv, info.strDataStoreName, null)
                : inv.Of("Datastore").FirstOrDefault(d => d["summary.accessible"].AsBool() &&
                    (string.IsNullOrEmpty(info.hostName) || inv.MountsOf(d.Obj).Contains(inv.Host(info.hostName).Obj)));
            if (ds == null) throw new ClientFault("No datastore is accessible" + (string.IsNullOrEmpty(info.hostName) ? "." : " from host '" + info.hostName + "'."));
            var host = HostFor(inv, info.hostName, ds);

            var change = new ConfigChange().Set("name", info.strName).Set("version", string.IsNullOrEmpty(info.vmVersion) ? null : info.vmVersion)
                .Set("guestId", string.IsNullOrEmpty(info.strGuestOSName) ? "otherGuest64" : info.strGuestOSName)
                .Set("files", r => r.Begin("files").Add("vmPathName", "[" + ds.Str("name") + "]").End())
                .Set("numCPUs", (info.numOfCPU > 0 ? info.numOfCPU : 1).ToString())
                .Set("memoryMB", (info.memorySizeInMB > 0 ? info.memorySizeInMB : 1024).ToString())
                .Set("firmware", string.IsNullOrEmpty(info.strFirmware) ? null : info.strFirmware);
            var slots = DeviceSlots.ForNewVm(change);
            var thick = new Dictionary<ObjectContent, long>();
            foreach (var d in info.diskList ?? new List<SDiskLib>())
            {
                if (d.llMaxSizeInBytes < MiB) throw new ClientFault("A specified parameter was not correct: capacity");
                var store = string.IsNullOrEmpty(d.strDataStoreName) ? ds : UsableDatastore(inv, d.strDataStoreName, host);
                var kind = DeviceSlots.Kind(d.strControllerType);
                var controller = (info.diskControllerList ?? new List<SDiskControllerLib>())
                    .FirstOrDefault(c => DeviceSlots.Kind(c.strControllerType) == kind && c.nControllerBusNumber == d.nControllerBusNumber);
                var slot = slots.Place(kind, controller.strScsiControllerType, d.nControllerBusNumber, d.nUnitNumber, false);
                bool thin = d.nThinProvisioned != 0;
                long bytes = (d.llMaxSizeInBytes + 1023) / 1024 * 1024;
                AddFlatDisk(change, slot, slots.NewKey(), bytes, store.Str("name"), thin, d.nEagerZero != 0 && !thin, d.nIndependentMode != 0, false, d.strUUID);
                if (!thin) thick[store] = (thick.ContainsKey(store) ? thick[store] : 0) + bytes;
            }
            foreach (var t in thick)
            {
                long free = t.Key["summary.freeSpace"].AsLong();
                if (t.Key["summary.freeSpace"].Present && t.Value > free)
                    throw new ClientFault("Insufficient disk space on datastore '" + t.Key.Str("name") + "': " + (t.Value + MiB - 1) / MiB + " MB needed, " + free / MiB + " MB free.");
            }
            var network = NetworksOf(host.Obj);
            foreach (var card in info.networkCards ?? new List<SVMNetworkCardLib>()) AddAdapter(change, slots.NewKey(), network(card.networkName), card.nicType);
            if (!string.IsNullOrEmpty(info.isoPath))
            {
                var slot = slots.Place("IDE", null, -1, -1, false);
                change.AddDevice("VirtualCdrom", r => r.Add("key", slots.NewKey())
                    .Begin("backing", "VirtualCdromIsoBackingInfo").Add("fileName", info.isoPath).End()
                    .Begin("connectable").Add("startConnected", true).Add("allowGuestControl", true).Add("connected", false).End()
                    .Add("controllerKey", slot.Controller).Add("unitNumber", slot.Unit));
            }

            var dc = inv.DatacenterOf(host.Obj);
            var folder = dc == null ? null : dc["vmFolder"].AsRef();
            var pool = inv.ComputeOf(host.Obj)?["resourcePool"].AsRef();
            if (folder == null || pool == null) throw new ClientFault("The host '" + host.Str("name") + "' is in no datacenter with a VM folder and a resource pool.");
            var made = RunTask(change.WriteTo(new SoapRequest("CreateVM_Task", folder), "config").Ref("pool", pool).Ref("host", host.Obj)).AsRef();
            if (made == null) throw new ClientFault("The server named no virtual machine for '" + info.strName + "'.");
            uuid = Retrieve(made, "config.uuid").Str("config.uuid");
            return 1;
        }

        // "vmx-NN" → NN, or the fault of a malformed version.
        static int HardwareVersionOf(string version)
        {
            int n = HardwareVersion(version);
            if (n <= 0) throw new ClientFault("A specified parameter was not correct: version");
            return n;
        }

        // A focus on the VM (by the name it was given, its name or its id) goes with it.
        void ForgetFocus(string asked, ObjectContent vm)
        {
            var f = focus.Vm;
            if (!string.IsNullOrEmpty(f) && (f == asked || f == vm.Str("name") || f == vm.Obj.Value)) focus.Vm = "";
        }

        public int DeleteVM(string vm, string host)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.powerState");
            RequirePower(props, "poweredOff");
            RunTask(new SoapRequest("Destroy_Task", props.Obj));
            ForgetFocus(vm, props);
            return 1;
        }

        // The disks leave the VM and the server deletes their files (a base disk shared with linked clones stays).
        public int DeleteVMDiskFiles(string vm, string host)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.powerState", DevicesPath);
            RequirePower(props, "poweredOff");
            var change = new ConfigChange();
            foreach (var disk in DisksOf(props)) change.RemoveDevice(disk, "destroy");
            if (!change.Empty) Reconfigure(props.Obj, change);
            return 1;
        }

        public int UnRegisterVM(string vm, string host)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.powerState");
            NotPoweredOn(props);
            Invoke(new SoapRequest("UnregisterVM", props.Obj));
            ForgetFocus(vm, props);
            return 1;
        }

        public int RegisterVM(string vmxPath, string name, string host, string pool, string folder, ref string vm)
        {
            vm = Register(vmxPath, name, host, pool, folder).Value;
            return 1;
        }

        // Registered as it is, then given new BIOS and instance UUIDs.
        public int RegisterVMWithNewUUID(string vmxPath, string name, string host, out string uuid)
        {
            uuid = null;
            var made = Register(vmxPath, name, host, null, null);
            string bios = NewUuid("42"), instance = NewUuid("50");
            Reconfigure(made, new ConfigChange().Set("uuid", bios).Set("instanceUuid", instance));
            uuid = bios;
            return 1;
        }

        static string NewUuid(string prefix) { return prefix + Guid.NewGuid().ToString("D").Substring(2); }

        // `vm` (if given) is unregistered and registered again where it was: from `vmxPath`, or its own file.
        public int ReRegisterVM(string vmxPath, ref string vm)
        {
            if (string.IsNullOrEmpty(vm))
            {
                vm = Register(vmxPath, null, null, null, null).Value;
                return 1;
            }
            var old = Retrieve(Vm(vm), "name", "runtime.powerState", "config.files.vmPathName", "parent", "resourcePool", "runtime.host");
            NotPoweredOn(old);
            string oldPath = old.Str("config.files.vmPathName"), path = string.IsNullOrEmpty(vmxPath) ? oldPath : vmxPath;
            string hostId = Id(old["runtime.host"]), poolId = Id(old["resourcePool"]);
            string folderId = old["parent"].AsRef()?.Type == "Folder" ? old["parent"].Text : null;
            Invoke(new SoapRequest("UnregisterVM", old.Obj));
            try { vm = Register(path, path == oldPath ? old.Str("name") : null, hostId, poolId, folderId).Value; }
            catch (ClientFault)
            {
                // A VM taken out for nothing goes back as it was.
                try { Register(oldPath, old.Str("name"), hostId, poolId, folderId); } catch (ClientFault) { }
                throw;
            }
            ForgetFocus(vm, old);
            return 1;
        }

        static string Id(VimNode reference) { return reference.AsRef()?.Value; }

        MoRef Register(string vmxPath, string name, string host, string pool, string folder)
        {
            Auth();
            var path = (vmxPath ?? "").Trim();
            var dsName = DatastoreOf(path);
            var rel = dsName == "" ? "" : path.Substring(path.IndexOf(']') + 1).Trim();
            if (dsName == "" || !rel.EndsWith(".vmx", StringComparison.OrdinalIgnoreCase)) throw new ClientFault("A specified parameter was not correct: path");
            if (!string.IsNullOrEmpty(name)) CheckNewName(name);
            var inv = ReadPlaces();
            var ds = UsableDatastore(inv, dsName, null);
            var full = "[" + ds.Str("name") + "] " + rel;
            var h = HostFor(inv, host, ds);
            var dc = inv.DatacenterOf(h.Obj);
            if (dc == null) throw new ClientFault("The host '" + h.Str("name") + "' is in no datacenter.");
            if (Invoke(new SoapRequest("FindByDatastorePath", Content("searchIndex")).Ref("datacenter", dc.Obj).Add("path", full)).Ref("returnval") != null)
                throw new ClientFault("The specified key, name, or identifier '" + full + "' already exists.");
            var root = inv.ComputeOf(h.Obj)?["resourcePool"].AsRef();
            var poolRef = string.IsNullOrEmpty(pool) ? root : inv.Pool(pool, inv.PoolTree(root)).Obj;
            var folderRef = string.IsNullOrEmpty(folder) ? dc["vmFolder"].AsRef() : VmFolderOf(inv, dc, folder);
            try
            {
                var made = RunTask(new SoapRequest("RegisterVM_Task", folderRef).Add("path", full).Add("name", string.IsNullOrEmpty(name) ? null : name)
                    .Add("asTemplate", false).Ref("pool", poolRef).Ref("host", h.Obj)).AsRef();
                if (made == null) throw new ClientFault("The server named no virtual machine for " + full + ".");
                return made;
            }
            catch (VimFault f) when (f.FaultType == "NotFound" || f.FaultType == "FileNotFound")
            {
                throw new ClientFault("File " + full + " was not found");
            }
        }

        // A VM folder of the datacenter by id, by path below its VM folder ("Linux/Web") or by name.
        static MoRef VmFolderOf(InventoryRead inv, ObjectContent dc, string id)
        {
            var top = dc["vmFolder"].AsRef();
            var below = new Dictionary<ObjectContent, string>();
            foreach (var f in inv.Of("Folder"))
            {
                var names = new List<string>();
                var o = f;
                for (; o != null && !o.Obj.Equals(top) && names.Count < 64; o = inv.Get(o["parent"].AsRef())) names.Insert(0, o.Str("name"));
                if (o != null && o.Obj.Equals(top)) below[f] = string.Join("/", names);
            }
            var found = below.Keys.FirstOrDefault(f => f.Obj.Value == id) ?? below.Keys.FirstOrDefault(f => below[f] == id.Trim('/'))
                ?? below.Keys.FirstOrDefault(f => f.Str("name") == id);
            if (found == null) throw new ClientFault("The folder '" + id + "' was not found.");
            return found.Obj;
        }

        // An existing .vmdk no registered VM uses becomes a first-class disk: the storage object manager registers it by
        // its /folder URL.
        public bool RegisterFirstClassDisk(string host, string datastore, string path, string name, string datacenter)
        {
            Auth();
            var given = (path ?? "").Trim();
            var dsName = DatastoreOf(given);
            var rel = (dsName == "" ? given : given.Substring(given.IndexOf(']') + 1)).Trim().TrimStart('/');
            if (!rel.EndsWith(".vmdk", StringComparison.OrdinalIgnoreCase) || rel.EndsWith("-flat.vmdk", StringComparison.OrdinalIgnoreCase) || rel.Split('/').Contains(".."))
                throw new ClientFault("A specified parameter was not correct: path");
            if (string.IsNullOrWhiteSpace(name)) throw new ClientFault("A specified parameter was not correct: name");
            var inv = ReadPlaces();
            var ds = UsableDatastore(inv, dsName != "" ? dsName : datastore, string.IsNullOrEmpty(host) ? null : inv.Host(host));
            var dc = !string.IsNullOrEmpty(datacenter) ? inv.Require("Datacenter", datacenter, "datacenter")
                : inv.Of("Datacenter").FirstOrDefault(d => InventoryRead.Refs(d, "datastore").Contains(ds.Obj));
            if (dc == null) throw new ClientFault("The datastore '" + ds.Str("name") + "' is in no datacenter.");
            var full = "[" + ds.Str("name") + "] " + rel;
            var user = RetrieveAll("VirtualMachine", "name", "layout.disk")
                .FirstOrDefault(v => v["layout.disk"].Kids.SelectMany(d => d.All("diskFile")).Any(f => f.Text == full));
            if (user != null) throw new ClientFault("The disk " + full + " is in use by '" + user.Str("name") + "'.");
            var manager = Content("vStorageObjectManager");
            var url = soap.Url.GetLeftPart(UriPartial.Authority) + "/folder/" + string.Join("/", rel.Split('/').Select(Uri.EscapeDataString))
                + "?dcPath=" + Uri.EscapeDataString(inv.PathOf(dc.Obj)) + "&dsName=" + Uri.EscapeDataString(ds.Str("name"));
            Invoke(new SoapRequest(manager.Type == "HostVStorageObjectManager" ? "HostRegisterDisk" : "RegisterDisk", manager).Add("path", url).Add("name", name));
            return true;
        }
    }
}
#endif
