#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // Facts about the server and its hosts: clocks, VMkernel addresses, the datacenter of a host, what a host can run.
    sealed partial class VimClient
    {
        public int GetHostVMKernelIPList(string host, out string addresses)
        {
            addresses = null;
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name"));
            var h = inv.Host(host).Obj;
            inv.Detail(new[] { h }, "HostSystem", "config.network.vnic");
            addresses = string.Join(",", inv[h]["config.network.vnic"].Kids.Select(n => n.At("spec.ip.ipAddress").Text).Where(ip => ip != ""));
            return 1;
        }

        public string GetDatacenterNameFromHostName(string host)
        {
            var inv = ReadInventory(InventoryRead.Places());
            var dc = inv.DatacenterOf(inv.Host(host).Obj);
            if (dc == null) throw new ClientFault("The host '" + host + "' is in no datacenter.");
            return dc.Str("name");
        }

        public long GetCurrentServerTime()
        {
            return (long)(ServerTime() - new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc)).TotalSeconds;
        }

        public string GetCurrentTimeOnServer() { return TimeText(ServerTime()); }

        // The host's own clock through its date and time system. A host that offers none answers for itself when it is
        // the server we are connected to.
        public string GetCurrentTimeOnHost(string host)
        {
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name"));
            var h = inv.Host(host);
            inv.Detail(new[] { h.Obj }, "HostSystem", "runtime.connectionState", "configManager.dateTimeSystem");
            if (h.Str("runtime.connectionState") != "connected") throw new ClientFault("The host '" + h.Str("name") + "' is not connected.");
            var clock = h["configManager.dateTimeSystem"].AsRef();
            try
            {
                if (clock == null) throw new VimFault("NotSupported", "no date and time system");
                var time = Invoke(new SoapRequest("QueryDateTime", clock))["returnval"].AsTime();
                if (time == null) throw new ClientFault("The host '" + h.Str("name") + "' answered no time.");
                return TimeText(time.Value);
            }
            catch (VimFault f) when (!IsVCenter && f.FaultType != "NotAuthenticated")
            {
                return TimeText(ServerTime());
            }
            catch (VimFault f) when (f.FaultType != "NotAuthenticated")
            {
                throw new ClientFault("The host '" + h.Str("name") + "' does not tell its time: " + f.Message);
            }
        }

        DateTime ServerTime()
        {
            Auth();
            var time = Invoke(new SoapRequest("CurrentTime", new MoRef("ServiceInstance", "ServiceInstance")))["returnval"].AsTime();
            if (time == null) throw new ClientFault("The server answered no time.");
            return time.Value;
        }

        static string TimeText(DateTime t)
        {
            return t.ToUniversalTime().ToString("yyyy-MM-dd'T'HH:mm:ss.fff'Z'", CultureInfo.InvariantCulture);
        }

        // The guest systems of the newest hardware version that every host of the host or cluster runs, from the
        // environment browser of its compute resource.
        public List<SGuestOSInfoLib> GetSupportedGuestOSInfoListForHostOrCluster(string hostOrCluster)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("ComputeResource", "environmentBrowser"));
            var hosts = inv.HostsOf(hostOrCluster);
            var compute = inv.Find("HostSystem", hostOrCluster) != null ? inv.ComputeOf(hosts[0]) : inv.Find("ComputeResource", hostOrCluster);
            var browser = compute == null ? null : compute["environmentBrowser"].AsRef();
            if (browser == null) throw new ClientFault("The host or cluster '" + hostOrCluster + "' offers no environment browser.");
            var key = Invoke(new SoapRequest("QueryConfigOptionDescriptor", browser)).All("returnval")
                .Where(d => d["createSupported"].Text != "false")
                .Where(d => !d["host"].Present || hosts.All(h => d.All("host").Any(x => h.Equals(x.AsRef()))))
                .Select(d => d.Str("key")).OrderByDescending(HardwareVersion).FirstOrDefault();
            if (key == null) throw new ClientFault("No hardware version runs on every host of '" + hostOrCluster + "'.");
            var single = hosts.Count == 1 ? hosts[0] : null;
            var guests = Invoke(new SoapRequest("QueryConfigOption", browser).Add("key", key).Ref("host", single))["returnval"].All("guestOSDescriptor").ToList();
            // Some servers describe guests only when asked through the newer query.
            if (guests.Count == 0)
                guests = Invoke(new SoapRequest("QueryConfigOptionEx", browser).Begin("spec").Add("key", key).Ref("host", single).End())["returnval"].All("guestOSDescriptor").ToList();
            return guests.Select(g => new SGuestOSInfoLib { guestID = g.Str("id"), fullName = g.Str("fullName") != "" ? g.Str("fullName") : g.Str("id") }).ToList();
        }

        // "vmx-19" is 19; other keys sort first.
        static int HardwareVersion(string key)
        {
            int n;
            return key != null && key.StartsWith("vmx-", StringComparison.Ordinal) && int.TryParse(key.Substring(4), NumberStyles.Integer, CultureInfo.InvariantCulture, out n) ? n : -1;
        }
    }
}
#endif
