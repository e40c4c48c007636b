#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #1 datacenter, #2 and #3 the source, #4 and #5 the destination, #6 host.
        public object CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, sourceDatastore, sourcePath, destinationDatastore, destinationPath, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.CopyDatastoreFile(datacenter, sourceDatastore, sourcePath, destinationDatastore, destinationPath, host));
        }

        // As above, #7 the destination's datacenter.
        public object CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host, string destinationDatacenter)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, sourceDatastore, sourcePath, destinationDatastore, destinationPath, host, destinationDatacenter);
            if (c != null) return c.Result<int>();
            return Int(() => client.CopyDatastoreFile(datacenter, sourceDatastore, sourcePath, destinationDatastore, destinationPath, host, destinationDatacenter));
        }

        public object DeleteDatastoreFile(string datacenter, string datastore, string path, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.DeleteDatastoreFile(datacenter, datastore, path, host));
        }

        // #1 host, #2 datastore, #3 folder (empty: the root), #4 wildcard pattern (empty: all), #5 descend into folders.
        // Answers paths relative to the datastore, folders ending in '/'.
        public object GetFilesOnDSForHost(string host, string datastore, string folder, string pattern, bool recursive)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datastore, folder, pattern, recursive);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetFilesOnDSForHost(host, datastore, folder, pattern, recursive));
        }

        public string GetDownloadDatastoreFileUrl(string datacenter, string datastore, string path, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, host);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetDownloadDatastoreFileUrl(datacenter, datastore, path, host));
        }

        // Transfers: #1 datacenter, #2 datastore, #3 path on it, #4 local path, #5 host (required by the direct forms).
        public object DownloadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, localPath, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.DownloadDatastoreFile(datacenter, datastore, path, localPath, host));
        }

        public object DownloadDatastoreFileFromHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, localPath, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.DownloadDatastoreFileFromHost(datacenter, datastore, path, localPath, host));
        }

        public object UploadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, localPath, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.UploadDatastoreFile(datacenter, datastore, path, localPath, host));
        }

        public object UploadDatastoreFileToHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, localPath, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.UploadDatastoreFileToHost(datacenter, datastore, path, localPath, host));
        }

        public object CreateDataStoreFolder(string datastore, string path)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datastore, path);
            if (c != null) return c.Result<int>();
            return Int(() => client.CreateDataStoreFolder(datastore, path));
        }

        // 1 when the path exists and is a folder (#5 true) or a file (#5 false).
        public object CheckDatastoreFile(string datacenter, string datastore, string path, string host, bool folder)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datacenter, datastore, path, host, folder);
            if (c != null) return c.Result<int>();
            return Int(() => client.CheckDatastoreFile(datacenter, datastore, path, host, folder));
        }

        // 1 when the datastore has at least #3 MB free.
        public object CheckDatastoreSpace(string datastore, string host, int requiredMB)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), datastore, host, requiredMB);
            if (c != null) return c.Result<int>();
            return Int(() => client.CheckDatastoreSpace(datastore, host, requiredMB));
        }

        // #1 host (empty: every host), #2 name, #3 NFS server, #4 exported path, #5 mount read-only.
        public object CreateNASDatastore(string host, string name, string remoteHost, string remotePath, bool readOnly)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, name, remoteHost, remotePath, readOnly);
            if (c != null) return c.Result<int>();
            return Int(() => client.CreateNASDatastore(host, name, remoteHost, remotePath, readOnly));
        }

        // Unmounts from #1 alone when others still mount it, else removes the datastore; refused while VMs use it.
        public object RemoveDatastore(string host, string datastore)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datastore);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveDatastore(host, datastore));
        }

        public object IsDatastoreConnected(string host, string datastore)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datastore);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.IsDatastoreConnected(host, datastore));
        }

        public object CheckDownloadFromHostPrivilege(string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CheckDownloadFromHostPrivilege(host));
        }
    }
}
#endif
