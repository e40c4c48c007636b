#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #1 name, #2 host, #3 datastore, #4 guest OS id, #5 network; #6 receives the new VM's BIOS UUID.
        public object CreateVM(string name, string host, string datastore, string guestId, string network, out string uuid)
        {
            uuid = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), name, host, datastore, guestId, network, null);
            if (c != null) { c.Out(5, ref uuid); return c.Result<int>(); }
            string made = null;
            var r = Int(() => client.CreateVM(name, host, datastore, guestId, network, out made));
            uuid = made;
            return r;
        }

        public object DeleteVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.DeleteVM(vm, host));
        }

        // Deletes the files of every disk and takes the disks off the VM.
        public object DeleteVMDiskFiles(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.DeleteVMDiskFiles(vm, host));
        }

        // #1 the configuration file's datastore path, #2 a new name or empty, #3 host, #4 resource pool, #5 folder;
        // #6 receives the VM's moref.
        public object RegisterVM(string vmxPath, string name, string host, string pool, string folder, ref string vm)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vmxPath, name, host, pool, folder, vm);
            if (c != null) { c.Out(5, ref vm); return c.Result<int>(); }
            string moref = vm;
            var r = Int(() => client.RegisterVM(vmxPath, name, host, pool, folder, ref moref));
            vm = moref;
            return r;
        }

        public object RegisterVMWithNewUUID(string vmxPath, string name, string host, out string uuid)
        {
            uuid = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vmxPath, name, host, null);
            if (c != null) { c.Out(3, ref uuid); return c.Result<int>(); }
            string made = null;
            var r = Int(() => client.RegisterVMWithNewUUID(vmxPath, name, host, out made));
            uuid = made;
            return r;
        }

        // #2 names a registered VM to take out first (its own file when #1 is empty), and receives the moref it comes back with.
        public object ReRegisterVM(string vmxPath, ref string vm)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vmxPath, vm);
            if (c != null) { c.Out(1, ref vm); return c.Result<int>(); }
            string moref = vm;
            var r = Int(() => client.ReRegisterVM(vmxPath, ref moref));
            vm = moref;
            return r;
        }

        public object UnRegisterVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.UnRegisterVM(vm, host));
        }

        // #1 host, #2 datastore, #3 the disk's path on it, #4 the name it is known by, #5 datacenter.
        public object RegisterFirstClassDisk(string host, string datastore, string path, string name, string datacenter)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datastore, path, name, datacenter);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.RegisterFirstClassDisk(host, datastore, path, name, datacenter));
        }

        // #3 datastore (empty: the VM's own), #4 capacity in bytes, then thin, eager-zeroed, independent, non-persistent,
        // and whether the disk goes on a controller of its own.
        public object AddDiskToVM(string vm, string host, string datastore, long capacity, bool thin, bool eagerZero, bool independent, bool nonPersistent, bool newController)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, datastore, capacity, thin, eagerZero, independent, nonPersistent, newController);
            if (c != null) return c.Result<int>();
            return Int(() => client.AddDiskToVM(vm, host, datastore, capacity, thin, eagerZero, independent, nonPersistent, newController));
        }

        // #3 the disk by key, label or file; #4 deletes its files too.
        public object RemoveDiskFromVM(string vm, string host, string disk, bool deleteFiles)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, disk, deleteFiles);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveDiskFromVM(vm, host, disk, deleteFiles));
        }

        // #3 the image's datastore path or file name, empty for all; #4 removes the drive as well.
        public object RemoveISOFromVM(string vm, string host, string iso, bool removeDrive)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, iso, removeDrive);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveISOFromVM(vm, host, iso, removeDrive));
        }

        // #1 VM, #2 the disk by key, label or file, #3 the new UUID.
        public object ChangeDiskUUID(string vm, string disk, string uuid)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, disk, uuid);
            if (c != null) return c.Result<int>();
            return Int(() => client.ChangeDiskUUID(vm, disk, uuid));
        }

        // #3 LUN device (naa., eui. or t10. name), #4 "physicalMode" or "virtualMode", #5 bus and #6 unit (-1: first free),
        // #7 LUN size in MB, #8 datastore of the mapping file; answers the mapping file's datastore path.
        public string AddRDMToVM(string vm, string host, string device, string mode, int bus, int unit, int sizeMB, string datastore)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, device, mode, bus, unit, sizeMB, datastore);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.AddRDMToVM(vm, host, device, mode, bus, unit, sizeMB, datastore));
        }

        public object CheckVMConsolidateStatus(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CheckVMConsolidateStatus(vm, host));
        }

        // #3 tells whether there was anything to consolidate.
        public object ConsolidateVMDisks(string vm, string host, ref bool needed)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, needed);
            if (c != null) { c.Out(2, ref needed); return c.Result<bool>(); }
            bool was = needed;
            var r = Bool(() => client.ConsolidateVMDisks(vm, host, ref was));
            needed = was;
            return r;
        }
    }
}
#endif
