using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    // A file or folder on a datastore. Data null means a file of Size zero bytes whose bytes are never asked for (disk
    // extents, swap files), so large sizes cost nothing.
    sealed class DsFile
    {
        public bool Dir;
        public long Size;
        public DateTime Modified;
        public Content Data;
        public Vm Owner;   // the VM whose layout put it here, refreshed while that VM is registered
    }

    sealed class Datastore
    {
        public string Name, Type = "VMFS", Uuid, Moref, Url, RemoteHost, RemotePath;
        public long Capacity;
        public bool Accessible = true, ReadOnly;
        public readonly List<string> Hosts = new List<string>();
        // Paths relative to the datastore root, '/'-separated, without leading or trailing '/'.
        public readonly SortedDictionary<string, DsFile> Files = new SortedDictionary<string, DsFile>(StringComparer.Ordinal);

        public long Used { get { return Files.Values.Where(f => !f.Dir).Sum(f => f.Size); } }
        public long Free { get { return Math.Max(0, Capacity - Used); } }
        public bool Nas { get { return Type == "NFS" || Type == "NFS41"; } }

        public bool MountedOn(string host)
        {
            return string.IsNullOrEmpty(host) || Hosts.Any(h => string.Equals(h, host, StringComparison.OrdinalIgnoreCase));
        }

        public DsFile Find(string path)
        {
            DsFile f;
            return Files.TryGetValue(path, out f) ? f : null;
        }

        public void MakeDirs(string path, DateTime t)
        {
            if (string.IsNullOrEmpty(path) || Files.ContainsKey(path)) return;
            MakeDirs(Sim.DsParent(path), t);
            Files[path] = new DsFile { Dir = true, Modified = t };
        }

        public DsFile Put(string path, long size, Content data, DateTime t, Vm owner = null)
        {
            MakeDirs(Sim.DsParent(path), t);
            return Files[path] = new DsFile { Size = data != null ? data.Length : size, Data = data, Modified = t, Owner = owner };
        }

        // The entry and everything beneath it.
        public List<string> Tree(string path)
        {
            var prefix = path + "/";
            return Files.Keys.Where(k => k == path || path.Length == 0 || k.StartsWith(prefix, StringComparison.Ordinal)).ToList();
        }
    }

    static partial class Sim
    {
        public const long MaxFileBytes = 256 * MiB;

        public static Datastore FindDatastore(string name)
        {
            return Datastores.FirstOrDefault(d => string.Equals(d.Name, name, StringComparison.OrdinalIgnoreCase) || d.Moref == name);
        }

        public static Datastore GetDatastore(string name)
        {
            var ds = FindDatastore(name ?? "");
            if (ds == null) throw new SimFault(Shared.DatastoreNotFound(name));
            if (!ds.Accessible) throw new SimFault("The datastore '" + ds.Name + "' is not accessible.");
            return ds;
        }

        public static string DsParent(string path)
        {
            int i = path.LastIndexOf('/');
            return i <= 0 ? "" : path.Substring(0, i);
        }

        public static string CleanPath(string path, out string datastore)
        {
            string invalid;
            var rel = Shared.DatastorePath(path, out datastore, out invalid);
            if (rel == null) throw new SimFault(invalid);
            return rel;
        }

        // Resolves a datastore name and a path on it; a "[ds] path" path names its own datastore.
        public static Datastore Locate(string datastore, string path, out string rel)
        {
            string named;
            rel = CleanPath(path, out named);
            return GetDatastore(string.IsNullOrEmpty(named) ? datastore : named);
        }

        public static string DsPath(string datastore, string rel) { return Shared.DsPath(datastore, rel); }

        public static void NeedSpace(Datastore ds, long bytes)
        {
            if (bytes > ds.Free)
                throw new SimFault("Insufficient disk space on datastore '" + ds.Name + "': " + (bytes + MiB - 1) / MiB + " MB needed, " + ds.Free / MiB + " MB free.");
        }

        static Datastore BuildDatastore(XmlElement e, int index)
        {
            var ds = new Datastore
            {
                Name = A(e, "name"), Type = A(e, "type", "VMFS").ToUpperInvariant(), Capacity = L(e, "capacityGB", 500) * GiB,
                Moref = A(e, "moref", "datastore-" + (11 + index)), RemoteHost = A(e, "remoteHost"), RemotePath = A(e, "remotePath"),
                Accessible = A(e, "accessible", "true") != "false"
            };
            ds.Uuid = A(e, "uuid") ?? MakeDsUuid(ds.Name);
            ds.Url = ds.Nas ? "ds:///vmfs/volumes/" + ds.Uuid.Substring(0, 8) + "-" + ds.Uuid.Substring(9, 8) + "/" : "ds:///vmfs/volumes/" + ds.Uuid + "/";
            var mounts = A(e, "hosts");
            ds.Hosts.AddRange(mounts != null ? mounts.Split(new[] { ',' }, StringSplitOptions.RemoveEmptyEntries).Select(x => x.Trim()) : Hosts.Select(h => h.Name));
            var t = Now.AddDays(-60);
            foreach (var f in All(e, "folder")) ds.MakeDirs(CleanPath(A(f, "path"), out _), t);
            foreach (var f in All(e, "file"))
            {
                var data = f.HasAttribute("content") ? Content.Of(Encoding.UTF8.GetBytes(A(f, "content"))) : null;
                ds.Put(CleanPath(A(f, "path"), out _), L(f, "sizeMB", 0) * MiB, data, t.AddDays(L(f, "ageDays", 0) * -1 + 30));
            }
            return ds;
        }

        static string MakeDsUuid(string name)
        {
            var h = Hex(Hash("datastore:" + name), 16, "");
            return h.Substring(0, 8) + "-" + h.Substring(8, 8) + "-" + h.Substring(16, 4) + "-" + h.Substring(20, 12);
        }

        public static Datastore AddNas(string name, string remoteHost, string remotePath, bool readOnly, string host)
        {
            var ds = new Datastore
            {
                Name = name, Type = "NFS", Capacity = 2048 * GiB, RemoteHost = remoteHost, RemotePath = remotePath, ReadOnly = readOnly,
                Moref = "datastore-" + (11 + Datastores.Count + (++DatastoreSeq) * 100)
            };
            ds.Uuid = MakeDsUuid(name + ":" + remoteHost + ":" + remotePath);
            ds.Url = "ds:///vmfs/volumes/" + ds.Uuid.Substring(0, 8) + "-" + ds.Uuid.Substring(9, 8) + "/";
            if (!string.IsNullOrEmpty(host)) ds.Hosts.Add(host);
            else ds.Hosts.AddRange(Hosts.Select(h => h.Name));
            Datastores.Add(ds);
            return ds;
        }

        public static int DatastoreSeq;

        // Lists entries under a folder: names relative to the datastore, folders ending in '/'.
        public static List<string> ListFiles(Datastore ds, string folder, string pattern, bool recursive)
        {
            RefreshVmFiles();
            if (folder.Length > 0)
            {
                var f = ds.Find(folder);
                if (f == null || !f.Dir) throw new SimFault("File [" + ds.Name + "] " + folder + " was not found");
            }
            var prefix = folder.Length == 0 ? "" : folder + "/";
            var result = new List<string>();
            foreach (var kv in ds.Files)
            {
                if (!kv.Key.StartsWith(prefix, StringComparison.Ordinal) || kv.Key == folder) continue;
                var rest = kv.Key.Substring(prefix.Length);
                if (!recursive && rest.Contains('/')) continue;
                var leaf = rest.Substring(rest.LastIndexOf('/') + 1);
                if (!string.IsNullOrEmpty(pattern) && !Matches(leaf, pattern)) continue;
                result.Add(kv.Key + (kv.Value.Dir ? "/" : ""));
            }
            return result;
        }

        // Shell-style '*' and '?' wildcards, case-insensitive like the datastore browser.
        public static bool Matches(string name, string pattern) { return Shared.Matches(name, pattern); }

        public static string Iso(DateTime t) { return Shared.Iso(t); }
    }
}
