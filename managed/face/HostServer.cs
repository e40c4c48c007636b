#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // The host's VMkernel addresses, comma separated in adapter order.
        public object GetHostVMKernelIPList(string host, out string addresses)
        {
            addresses = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, null);
            if (c != null) { c.Out(1, ref addresses); return c.Result<int>(); }
            string text = null;
            var r = Int(() => client.GetHostVMKernelIPList(host, out text));
            addresses = text;
            return r;
        }

        public string GetDatacenterNameFromHostName(string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetDatacenterNameFromHostName(host));
        }

        // Seconds since 1970 on the server's clock.
        public object GetCurrentServerTime()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<long>();
            return Long(() => client.GetCurrentServerTime());
        }

        public string GetCurrentTimeOnServer()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetCurrentTimeOnServer());
        }

        public string GetCurrentTimeOnHost(string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetCurrentTimeOnHost(host));
        }

        // #2 the local file to write, or an existing directory to write a file of the bundle's own name into.
        public object DownloadHostLogBundle(string host, string localPath)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, localPath);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.DownloadHostLogBundle(host, localPath));
        }

        public object DownloadServerLogBundle(string localPath)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), localPath);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.DownloadServerLogBundle(localPath));
        }

        public object GetMgmtVersion(out object version)
        {
            version = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), (object)null);
            if (c != null) { c.Out(0, ref version); return c.Result<bool>(); }
            object found = null;
            var r = Bool(() => client.GetMgmtVersion(out found));
            version = found;
            return r;
        }
    }
}
#endif
