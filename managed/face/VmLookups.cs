#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #3 is not needed to find the VM here; #5 travels with the mask.
        public object GetVMInfoForVM(string vm, string host, string datacenter, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, datacenter, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInfoForVM(vm, host, datacenter, mask, flags));
        }

        // #5 names the snapshot (empty: the current one) and receives its moref; the record shows the disks as of it.
        public object GetVMInfoForVMSnapshot(string vm, string host, ulong mask, int flags, ref string snapshot)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, mask, flags, snapshot);
            if (c != null) { c.Out(4, ref snapshot); return c.Result<object>(); }
            string id = snapshot;
            var r = Obj(() => client.GetVMInfoForVMSnapshot(vm, host, mask, flags, ref id));
            snapshot = id;
            return r;
        }

        // Also finds a VM that is no longer registered, by the file it was registered from.
        public object GetVMInfoForVMByVMX(string vmxPath, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vmxPath, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInfoForVMByVMX(vmxPath, mask, flags));
        }

        public object GetVMInfoForVMByMoref(string moref, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), moref, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInfoForVMByMoref(moref, mask, flags));
        }

        // #1 a container by moref (datacenter, cluster or host, pool or vApp, folder, datastore; empty for all), or a VM itself.
        public object BrowseInventoryByMoref(string moref, int kind, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), moref, kind, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.BrowseInventoryByMoref(moref, kind, mask, flags));
        }

        // #1 a host or datastore name for what it holds, else a VM name pattern with '*' and '?'.
        public object BrowseInventoryByName(string name, int kind, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), name, kind, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.BrowseInventoryByName(name, kind, mask, flags));
        }

        // Makes a VM from a record: name, guest, datastore, host, CPUs, memory, disks, network cards, firmware, hardware version.
        public object CreateVirtualMachine(SVMInfoLib info, out string uuid)
        {
            uuid = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, null);
            if (c != null) { c.Out(1, ref uuid); return c.Result<int>(); }
            string made = null;
            var r = Int(() => client.CreateVirtualMachine(info, out made));
            uuid = made;
            return r;
        }

        // #5 and #6 ask for the size and the modification time; the record keeps zero for what was not asked.
        public object GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datacenter, datastore, path, fileSize, modification, file);
            if (c != null) { c.Out(6, ref file); return c.Result<bool>(); }
            SVMFileLib found = file;
            var r = Bool(() => client.GetDetailsForFileOnHost(host, datacenter, datastore, path, fileSize, modification, ref found));
            file = found;
            return r;
        }
    }
}
#endif
