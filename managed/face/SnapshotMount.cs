#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // Each datastore of the context (by UUID, else by name) has its storage snapshot mounted on the ESX server as
        // "snap-<id>-<name>"; the VMs on it (those of the entry's VM list, or all) are exposed with their disks.
        public object MountSnap(SnapRestoreCtxLib context)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), context);
            if (c != null) return c.Result<int>();
            return Int(() => client.MountSnap(context));
        }

        // #2 the mounted volume to remove; empty removes every volume mounted from the context's datastores on its ESX server.
        public object UnMountSnap(SnapRestoreCtxLib context, string volume)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), context, volume);
            if (c != null) return c.Result<int>();
            return Int(() => client.UnMountSnap(context, volume));
        }
    }
}
#endif
