#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;

namespace VISDKWrapper
{
    // Datastore operations. Paths on a datastore may be given as "[datastore] folder/file", which names its own datastore.
    sealed partial class SimClient
    {
        Datastore Store(string datastore, string host, string privilege)
        {
            Need(privilege, "vim.Datastore:" + datastore);
            var ds = Sim.GetDatastore(datastore);
            if (!string.IsNullOrEmpty(host) && !ds.MountedOn(host))
                throw new SimFault("The datastore '" + ds.Name + "' is not accessible from host '" + host + "'.");
            return ds;
        }

        Datastore Place(string datastore, string path, string host, string privilege, out string rel)
        {
            string named;
            rel = Sim.CleanPath(path, out named);
            var ds = Store(string.IsNullOrEmpty(named) ? datastore : named, host, privilege);
            Sim.RefreshVmFiles();
            return ds;
        }

        static DsFile Existing(Datastore ds, string rel)
        {
            var f = rel.Length == 0 ? null : ds.Find(rel);
            if (f == null) throw new SimFault(Shared.FileNotFound(Sim.DsPath(ds.Name, rel)));
            return f;
        }

        static void Writable(Datastore ds)
        {
            if (ds.ReadOnly) throw new SimFault("The datastore '" + ds.Name + "' is read-only.");
        }

        int Copy(string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host)
        {
            string from, to;
            var src = Place(sourceDatastore, sourcePath, host, "Datastore.FileManagement", out from);
            var dst = Place(destinationDatastore, destinationPath, host, "Datastore.FileManagement", out to);
            Writable(dst);
            Existing(src, from);
            if (to.Length == 0 || dst.Find(to) != null)
                throw new SimFault(Shared.FileExists(Sim.DsPath(dst.Name, to)));
            if (src == dst && (to + "/").StartsWith(from + "/", StringComparison.Ordinal))
                throw new SimFault("A specified parameter was not correct: destinationName");
            var entries = src.Tree(from).Select(k => new KeyValuePair<string, DsFile>(k, src.Files[k])).ToList();
            Sim.NeedSpace(dst, entries.Where(e => !e.Value.Dir).Sum(e => e.Value.Size));
            foreach (var e in entries)
            {
                var target = to + e.Key.Substring(from.Length);
                if (e.Value.Dir) dst.MakeDirs(target, Sim.Now);
                else dst.Put(target, e.Value.Size, e.Value.Data, Sim.Now);
            }
            return 1;
        }

        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host)
        {
            return Copy(sourceDatastore, sourcePath, destinationDatastore, destinationPath, host);
        }

        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host, string destinationDatacenter)
        {
            return Copy(sourceDatastore, sourcePath, destinationDatastore, destinationPath, host);
        }

        public int DeleteDatastoreFile(string datacenter, string datastore, string path, string host)
        {
            string rel;
            var ds = Place(datastore, path, host, "Datastore.FileManagement", out rel);
            Writable(ds);
            Existing(ds, rel);
            var keys = ds.Tree(rel);
            var busy = keys.Select(k => ds.Files[k].Owner).FirstOrDefault(o => o != null && Sim.Vms.Contains(o) && o.Power != "poweredOff");
            if (busy != null) throw new SimFault("Cannot delete file " + Sim.DsPath(ds.Name, rel) + ": it is locked by the running virtual machine '" + busy.Name + "'.");
            foreach (var k in keys) ds.Files.Remove(k);
            return 1;
        }

        public List<string> GetFilesOnDSForHost(string host, string datastore, string folder, string pattern, bool recursive)
        {
            string rel;
            var ds = Place(datastore, folder, host, "Datastore.Browse", out rel);
            return Sim.ListFiles(ds, rel, pattern, recursive);
        }

        public string GetDownloadDatastoreFileUrl(string datacenter, string datastore, string path, string host)
        {
            string rel;
            var ds = Place(datastore, path, host, "Datastore.Browse", out rel);
            if (Existing(ds, rel).Dir) throw new SimFault(Shared.IsFolder(Sim.DsPath(ds.Name, rel)));
            var server = string.IsNullOrEmpty(host) ? Auth().Server.Name : host;
            return "https://" + server + "/folder/" + string.Join("/", rel.Split('/').Select(Uri.EscapeDataString))
                + "?dcPath=" + Uri.EscapeDataString(string.IsNullOrEmpty(datacenter) ? "Datacenter" : datacenter) + "&dsName=" + Uri.EscapeDataString(ds.Name);
        }

        static SimFault LocalFault(string what, string local, Exception e)
        {
            return new SimFault("Could not " + what + " the local file '" + local + "': " + e.Message);
        }

        int Download(string datastore, string path, string local, string host, bool direct)
        {
            if (direct) DirectHost(host);
            string rel;
            var ds = Place(datastore, path, host, "Datastore.FileManagement", out rel);
            var f = Existing(ds, rel);
            if (f.Dir) throw new SimFault(Shared.IsFolder(Sim.DsPath(ds.Name, rel)));
            if (f.Data == null && f.Size > Sim.MaxFileBytes) throw new SimFault("File " + Sim.DsPath(ds.Name, rel) + " is too large to download (" + f.Size + " bytes).");
            if (string.IsNullOrEmpty(local)) throw new SimFault("A specified parameter was not correct: localPath");
            try { Sim.ExportContent(f.Data, f.Size, local); }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException || e is ArgumentException || e is NotSupportedException) { throw LocalFault("write", local, e); }
            return 1;
        }

        int Upload(string datastore, string path, string local, string host, bool direct)
        {
            if (direct) DirectHost(host);
            string rel;
            var ds = Place(datastore, path, host, "Datastore.FileManagement", out rel);
            Writable(ds);
            if (rel.Length == 0) throw new SimFault("A specified parameter was not correct: path");
            var old = ds.Find(rel);
            if (old != null && old.Dir) throw new SimFault(Shared.IsFolder(Sim.DsPath(ds.Name, rel)));
            if (old != null && old.Owner != null && Sim.Vms.Contains(old.Owner) && old.Owner.Power != "poweredOff")
                throw new SimFault("Cannot write file " + Sim.DsPath(ds.Name, rel) + ": it is locked by the running virtual machine '" + old.Owner.Name + "'.");
            Content data;
            try
            {
                var info = new FileInfo(local ?? "");
                if (!info.Exists) throw new SimFault(Shared.LocalFileNotFound(local));
                if (info.Length > Sim.MaxFileBytes) throw new SimFault("The local file '" + local + "' is too large to upload (" + info.Length + " bytes).");
                Sim.NeedSpace(ds, info.Length - (old == null ? 0 : old.Size));
                data = Sim.ImportContent(local);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException || e is ArgumentException || e is NotSupportedException) { throw LocalFault("read", local, e); }
            ds.Put(rel, 0, data, Sim.Now);
            return 1;
        }

        void DirectHost(string host)
        {
            if (string.IsNullOrEmpty(host) || !Sim.Hosts.Any(h => string.Equals(h.Name, host, StringComparison.OrdinalIgnoreCase)))
                throw new SimFault(Shared.HostNotFound(host));
        }

        public int DownloadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            return Download(datastore, path, localPath, host, false);
        }

        public int DownloadDatastoreFileFromHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            return Download(datastore, path, localPath, host, true);
        }

        public int UploadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            return Upload(datastore, path, localPath, host, false);
        }

        public int UploadDatastoreFileToHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            return Upload(datastore, path, localPath, host, true);
        }

        public int CreateDataStoreFolder(string datastore, string path)
        {
            string rel;
            var ds = Place(datastore, path, null, "Datastore.FileManagement", out rel);
            Writable(ds);
            if (rel.Length == 0) throw new SimFault("A specified parameter was not correct: path");
            if (ds.Find(rel) != null) throw new SimFault(Shared.FileExists(Sim.DsPath(ds.Name, rel)));
            ds.MakeDirs(rel, Sim.Now);
            return 1;
        }

        public int CheckDatastoreFile(string datacenter, string datastore, string path, string host, bool folder)
        {
            string rel;
            var ds = Place(datastore, path, host, "Datastore.Browse", out rel);
            var f = Existing(ds, rel);
            if (f.Dir != folder) throw new SimFault(Sim.DsPath(ds.Name, rel) + (f.Dir ? " is a folder" : " is not a folder"));
            return 1;
        }

        public int CheckDatastoreSpace(string datastore, string host, int requiredMB)
        {
            if (requiredMB < 0) throw new SimFault("A specified parameter was not correct: requiredMB");
            var ds = Store(datastore, host, "System.Read");
            Sim.RefreshVmFiles();
            Sim.NeedSpace(ds, requiredMB * Sim.MiB);
            return 1;
        }

        public int CreateNASDatastore(string host, string name, string remoteHost, string remotePath, bool readOnly)
        {
            Need("Host.Config.Storage", "vim.HostSystem:" + host);
            if (!string.IsNullOrEmpty(host)) DirectHost(host);
            if (string.IsNullOrWhiteSpace(name) || name.Length > 42 || name.IndexOfAny(new[] { '/', '[', ']' }) >= 0)
                throw new SimFault("A specified parameter was not correct: localPath");
            if (string.IsNullOrWhiteSpace(remoteHost)) throw new SimFault("A specified parameter was not correct: remoteHost");
            if (string.IsNullOrEmpty(remotePath) || !remotePath.StartsWith("/")) throw new SimFault("A specified parameter was not correct: remotePath");
            var same = Sim.FindDatastore(name);
            if (same != null)
            {
                if (!same.Nas || same.RemoteHost != remoteHost || same.RemotePath != remotePath || string.IsNullOrEmpty(host))
                    throw new SimFault("The name '" + name + "' already exists.");
                if (same.MountedOn(host)) throw new SimFault("The datastore '" + name + "' is already mounted on '" + host + "'.");
                same.Hosts.Add(host);
                return 1;
            }
            Sim.AddNas(name, remoteHost, remotePath, readOnly, host);
            return 1;
        }

        public int RemoveDatastore(string host, string datastore)
        {
            Need("Host.Config.Storage", "vim.HostSystem:" + host);
            var ds = Sim.FindDatastore(datastore ?? "");
            if (ds == null) throw new SimFault(Shared.DatastoreNotFound(datastore));
            if (!string.IsNullOrEmpty(host) && !ds.MountedOn(host)) throw new SimFault("The datastore '" + ds.Name + "' is not mounted on '" + host + "'.");
            var users = Sim.Vms.Where(v => v.Datastore == ds.Name || v.Disks.Any(d => d.Dir.StartsWith("[" + ds.Name + "]")))
                .Where(v => string.IsNullOrEmpty(host) || string.Equals(v.Host, host, StringComparison.OrdinalIgnoreCase)).ToList();
            if (users.Count > 0) throw new SimFault("The resource '" + ds.Name + "' is in use by '" + users[0].Name + "'.");
            if (!string.IsNullOrEmpty(host) && ds.Hosts.Count > 1) ds.Hosts.RemoveAll(h => string.Equals(h, host, StringComparison.OrdinalIgnoreCase));
            else Sim.Datastores.Remove(ds);
            return 1;
        }

        public bool IsDatastoreConnected(string host, string datastore)
        {
            Auth();
            var ds = Sim.FindDatastore(datastore ?? "");
            if (ds == null) throw new SimFault(Shared.DatastoreNotFound(datastore));
            return ds.Accessible && ds.MountedOn(host);
        }

        public bool CheckDownloadFromHostPrivilege(string host)
        {
            var s = Auth();
            if (!string.IsNullOrEmpty(host)) DirectHost(host);
            return s.Account.Has("Datastore.FileManagement");
        }
    }
}
#endif
