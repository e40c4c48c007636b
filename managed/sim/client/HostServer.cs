#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.IO.Compression;
using System.Linq;
using System.Text;

namespace VISDKWrapper
{
    // Facts about the server and its hosts, and their log bundles.
    sealed partial class SimClient
    {
        HostInfo GetHost(string host)
        {
            Auth();
            var h = Sim.FindHost(host);
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            return h;
        }

        public int GetHostVMKernelIPList(string host, out string addresses)
        {
            addresses = null;
            addresses = string.Join(",", GetHost(host).Vnics.Where(n => n.Ip != "").Select(n => n.Ip));
            return 1;
        }

        public string GetDatacenterNameFromHostName(string host)
        {
            return GetHost(host).Dc.Name;
        }

        public long GetCurrentServerTime()
        {
            Auth();
            return Sim.UnixSeconds(Sim.Now);
        }

        public string GetCurrentTimeOnServer()
        {
            Auth();
            return Sim.TimeText(Sim.Now);
        }

        public string GetCurrentTimeOnHost(string host)
        {
            var h = GetHost(host);
            if (h.ConnectionState != 0) throw new SimFault("The host '" + h.Name + "' is not connected.");
            return Sim.TimeText(Sim.Now.AddSeconds(h.ClockSkewSeconds));
        }

        public bool DownloadHostLogBundle(string host, string localPath)
        {
            var h = GetHost(host);
            Need("Global.Diagnostics", "vim.HostSystem:" + h.Moref);
            if (h.ConnectionState != 0) throw new SimFault("The host '" + h.Name + "' is not connected.");
            var root = h.Name + "-vmsupport-" + Sim.Now.ToString("yyyy-MM-dd--HH.mm", CultureInfo.InvariantCulture);
            var t = Sim.Now;
            var files = new List<KeyValuePair<string, string>>
            {
                Entry(root + "/var/log/vmkernel.log", Sim.TimeText(t.AddMinutes(-5)) + " cpu0:2097152)Boot: Loading " + h.Version + " build-" + h.Build + "\n"),
                Entry(root + "/var/log/hostd.log", Sim.TimeText(t.AddMinutes(-1)) + " info hostd[2099001] Host " + h.Name + " connected\n"),
                Entry(root + "/etc/vmware/esx.conf", "/adv/Misc/HostName = \"" + h.Name + "\"\n/system/uuid = \"" + Sim.Hex(Sim.Hash("system:" + h.Name), 16, "") + "\"\n"),
                Entry(root + "/commands/esxcli_storage_core_device_list.txt", string.Join("\n", h.Luns.Select(l => l.CanonicalName)) + "\n"),
                Entry(root + "/commands/esxcli_network_ip_interface_ipv4_get.txt", string.Join("\n", h.Vnics.Select(n => n.Device + " " + n.Ip + " " + n.Mask)) + "\n")
            };
            WriteBundle(localPath, root + ".tgz", files);
            return true;
        }

        public bool DownloadServerLogBundle(string localPath)
        {
            var s = Auth();
            Need("Global.Diagnostics", "vim.Folder:group-d1");
            var root = "vc-" + s.Server.Name + "-" + Sim.Now.ToString("yyyy-MM-dd--HH.mm", CultureInfo.InvariantCulture);
            var files = new List<KeyValuePair<string, string>>
            {
                Entry(root + "/var/log/vmware/vpxd/vpxd.log", Sim.TimeText(Sim.Now) + " info vpxd[12345] [Originator@6876] Log bundle requested by " + s.Account.User + "\n"),
                Entry(root + "/etc/vmware-vpx/vpxd.cfg", "<config><vpxd><serverName>" + s.Server.Name + "</serverName><version>" + s.Server.Version + "</version></vpxd></config>\n"),
                Entry(root + "/inventory.txt", string.Join("\n", Sim.Datacenters.Select(d => d.Name + " " + d.Moref).Concat(Sim.Hosts.Select(h => h.Name + " " + h.Moref))) + "\n")
            };
            WriteBundle(localPath, root + ".tgz", files);
            return true;
        }

        static KeyValuePair<string, string> Entry(string name, string text) { return new KeyValuePair<string, string>(name, text); }

        // A gzip-compressed tar archive of the given text files.
        static void WriteBundle(string localPath, string defaultName, List<KeyValuePair<string, string>> files)
        {
            if (string.IsNullOrEmpty(localPath)) throw new SimFault("A specified parameter was not correct: localPath");
            var target = Directory.Exists(localPath) ? Path.Combine(localPath, defaultName) : localPath;
            try
            {
                using (var file = File.Create(target))
                using (var gz = new GZipStream(file, CompressionMode.Compress))
                {
                    long mtime = Sim.UnixSeconds(Sim.Now);
                    foreach (var f in files)
                    {
                        var data = Encoding.UTF8.GetBytes(f.Value);
                        gz.Write(TarHeader(f.Key, data.Length, mtime), 0, 512);
                        gz.Write(data, 0, data.Length);
                        var pad = (512 - data.Length % 512) % 512;
                        gz.Write(new byte[pad], 0, pad);
                    }
                    gz.Write(new byte[1024], 0, 1024);
                }
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                throw new SimFault("Cannot write the log bundle to '" + target + "': " + e.Message);
            }
        }

        static byte[] TarHeader(string name, long size, long mtime)
        {
            var h = new byte[512];
            Action<int, string> put = (at, text) => { var b = Encoding.ASCII.GetBytes(text); Array.Copy(b, 0, h, at, b.Length); };
            if (name.Length > 100)
            {
                int cut = name.LastIndexOf('/', Math.Min(name.Length - 1, 155));
                put(345, name.Substring(0, cut));
                name = name.Substring(cut + 1);
            }
            put(0, name);
            put(100, "0000644\0");
            put(108, "0000000\0");
            put(116, "0000000\0");
            put(124, Convert.ToString(size, 8).PadLeft(11, '0') + "\0");
            put(136, Convert.ToString(mtime, 8).PadLeft(11, '0') + "\0");
            put(148, "        ");
            h[156] = (byte)'0';
            put(257, "ustar\0");
            put(263, "00");
            int sum = h.Sum(b => (int)b);
            put(148, Convert.ToString(sum, 8).PadLeft(6, '0') + "\0 ");
            return h;
        }

        public bool GetMgmtVersion(out object version)
        {
            version = null;
            var s = Auth();
            var product = s.Server.VCenter ? "VMware vCenter Server" : "VMware ESXi";
            version = new SMgmtVersionLib { strVersion = s.Server.Version, strBuild = Sim.MgmtBuild, strFullVersion = product + " " + s.Server.Version + " build-" + Sim.MgmtBuild };
            return true;
        }
    }
}
#endif
