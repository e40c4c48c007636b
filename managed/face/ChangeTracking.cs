#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object SetChangeTrackingEnabled(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetChangeTrackingEnabled(vm, host));
        }

        public object SetChangeTrackingDisabled(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetChangeTrackingDisabled(vm, host));
        }

        public string GetChangeIdForDisk(string vm, string host, string snapshotId, string disk)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, disk);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetChangeIdForDisk(vm, host, snapshotId, disk));
        }

        // "*" gives the allocated areas; a change id gives the areas written since it. The answer covers one window from startOffset.
        public object QueryChangedDiskAreas(string vm, string host, string snapshotId, string disk, long startOffset, string changeId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, disk, startOffset, changeId);
            if (c != null) return c.Result<object>();
            return Obj(() => client.QueryChangedDiskAreas(vm, host, snapshotId, disk, startOffset, changeId));
        }

        // #5 true maps only the top file of the chain; false maps every file that holds data of the disk.
        public object GetDiskBlockInfoList(string vm, string host, string snapshotId, string disk, bool topFileOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata)
        {
            metadata = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, disk, topFileOnly, info, null);
            if (c != null) { c.Out(5, ref info); c.Out(6, ref metadata); return c.Result<int>(); }
            var total = info;
            List<SVMOptionValueLib> meta = null;
            var r = Int(() => client.GetDiskBlockInfoList(vm, host, snapshotId, disk, topFileOnly, ref total, out meta));
            info = total;
            metadata = meta;
            return r;
        }

        // #3 disk, #4 index of an allocated area; one "offset,length" text per 1 MiB page it touches.
        public object GetPageInfoForExtent(string vm, string host, string disk, int extent)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, disk, extent);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetPageInfoForExtent(vm, host, disk, extent));
        }
    }
}
#endif
