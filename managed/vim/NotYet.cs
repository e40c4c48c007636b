#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;

namespace VISDKWrapper
{
    // Operations the web-services client does not map yet: each fails, never silently, with its name.
    sealed partial class VimClient
    {
        static ClientFault NotYet(string operation) { return new ClientFault("Not supported on a real endpoint yet: " + operation); }

        // An operation with no counterpart in the vSphere API: a lasting answer, not a gap to fill.
        static ClientFault NotSupported(string operation) { return new ClientFault("Not supported by a real endpoint: " + operation); }

        public bool GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file) { throw NotYet("GetDetailsForFileOnHost"); }
        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host) { throw NotYet("CopyDatastoreFile"); }
        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host, string destinationDatacenter) { throw NotYet("CopyDatastoreFile"); }
        public int DeleteDatastoreFile(string datacenter, string datastore, string path, string host) { throw NotYet("DeleteDatastoreFile"); }
        public List<string> GetFilesOnDSForHost(string host, string datastore, string folder, string pattern, bool recursive) { throw NotYet("GetFilesOnDSForHost"); }
        public string GetDownloadDatastoreFileUrl(string datacenter, string datastore, string path, string host) { throw NotYet("GetDownloadDatastoreFileUrl"); }
        public int DownloadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host) { throw NotYet("DownloadDatastoreFile"); }
        public int DownloadDatastoreFileFromHost(string datacenter, string datastore, string path, string localPath, string host) { throw NotYet("DownloadDatastoreFileFromHost"); }
        public int UploadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host) { throw NotYet("UploadDatastoreFile"); }
        public int UploadDatastoreFileToHost(string datacenter, string datastore, string path, string localPath, string host) { throw NotYet("UploadDatastoreFileToHost"); }
        public int CreateDataStoreFolder(string datastore, string path) { throw NotYet("CreateDataStoreFolder"); }
        public int CheckDatastoreFile(string datacenter, string datastore, string path, string host, bool folder) { throw NotYet("CheckDatastoreFile"); }
        public int CreateNASDatastore(string host, string name, string remoteHost, string remotePath, bool readOnly) { throw NotYet("CreateNASDatastore"); }
        public int RemoveDatastore(string host, string datastore) { throw NotYet("RemoveDatastore"); }
        public bool CheckDownloadFromHostPrivilege(string host) { throw NotYet("CheckDownloadFromHostPrivilege"); }
        public bool DownloadHostLogBundle(string host, string localPath) { throw NotYet("DownloadHostLogBundle"); }
        public bool DownloadServerLogBundle(string localPath) { throw NotYet("DownloadServerLogBundle"); }
        public bool GetMgmtVersion(out object version) { throw NotYet("GetMgmtVersion"); }
        public List<SSCSILUNInfoLib> GetDeviceList(string host, string adapter) { throw NotYet("GetDeviceList"); }
        public bool GetLUNInformationForRDM(string host, string lun, ref SDatastoreInfoLib info) { throw NotYet("GetLUNInformationForRDM"); }
        public int RefreshHostAdapter(string host, SHostStorageAdapterInfoLib adapter, List<SDatastoreInfoLib> datastores) { throw NotYet("RefreshHostAdapter"); }
    }
}
#endif
