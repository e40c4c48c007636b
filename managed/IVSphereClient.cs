using System;
using System.Collections.Generic;

namespace VISDKWrapper
{
    // A failed operation: its message becomes the text of GetLastErrorString.
    public class ClientFault : Exception
    {
        public ClientFault(string message) : base(message) { }
    }
#if !NOCLASS && !EMPTY

    // What CVIWrapper asks of a vSphere client: one method per operation, with typed results. A failure is thrown as a
    // ClientFault; the face keeps its message. Every operation but ReleaseConnection runs inside Call.
    interface IVSphereClient
    {
        // Runs one operation. The simulator holds its lock around it and saves its state after; a client of a real
        // server just runs it. notice: what a call that did not fail still reports (null for nothing).
        T Call<T>(Func<T> body, out string notice);

        // Sessions and the connected server (face/Connection.cs)
        int Connect(string server, string user, string password);
        int Disconnect();
        int CheckConnection();
        void ReleaseConnection();
        bool VerifyAccountForBackup(out List<string> missing);
        bool VerifyAccountForRestore(out List<string> missing);
        bool VerifyAccountForSnap(out List<string> missing);
        bool IsVCenterConnection();
        string GetCertificateThumbprint();
        string GetSessionKey();
        string GetSessionCookie();
        int GetConnectionVersion();
        int GetConnectionApiVersion();

        // VM power, naming and devices (face/VmPower.cs)
        int PowerOnVM(string vm, string host);
        int SuspendVM(string vm, string host);
        int PowerOffVM(string vm, string host);
        int ShutdownVM(string vm, string host);
        int ReloadVM(string vm, string host);
        int MountVMTools(string vm, string host);
        int MarkAsTemplate(string vm, string host);
        int RenameVM(string vm, string host, string newName);
        int Reconfig_UUID(string vm, string host, string biosUuid, string instanceUuid);
        int AnnotateVM(string vm, string host, string annotation);
        bool ClearVMAlarms(string vm, string host);
        bool ResetNetworkConnections(string vm, string host);
        bool AddVirtualNetwork(string vm, string network);
        bool RemoveVirtualNetwork(string vm, string network);
        bool VerifyVMXVersionForHost(string vm, string host);
        int SetVMManagedByZantrel(string vm, string host);
        int UnSetVMManagedByExtension(string vm, string host);

        // VM creation, registration and disks (face/VmLifecycle.cs)
        int CreateVM(string name, string host, string datastore, string guestId, string network, out string uuid);
        int DeleteVM(string vm, string host);
        int DeleteVMDiskFiles(string vm, string host);
        int RegisterVM(string vmxPath, string name, string host, string pool, string folder, ref string vm);
        int RegisterVMWithNewUUID(string vmxPath, string name, string host, out string uuid);
        int ReRegisterVM(string vmxPath, ref string vm);
        int UnRegisterVM(string vm, string host);
        bool RegisterFirstClassDisk(string host, string datastore, string path, string name, string datacenter);
        int AddDiskToVM(string vm, string host, string datastore, long capacity, bool thin, bool eagerZero, bool independent, bool nonPersistent, bool newController);
        int RemoveDiskFromVM(string vm, string host, string disk, bool deleteFiles);
        int RemoveISOFromVM(string vm, string host, string iso, bool removeDrive);
        int ChangeDiskUUID(string vm, string disk, string uuid);
        string AddRDMToVM(string vm, string host, string device, string mode, int bus, int unit, int sizeMB, string datastore);
        bool CheckVMConsolidateStatus(string vm, string host);
        bool ConsolidateVMDisks(string vm, string host, ref bool needed);

        // VM records and lookups (face/VmLookups.cs)
        SVMInfoLib GetVMInfoForVM(string vm, string host, string datacenter, ulong mask, int flags);
        SVMInfoLib GetVMInfoForVMSnapshot(string vm, string host, ulong mask, int flags, ref string snapshot);
        SVMInfoLib GetVMInfoForVMByVMX(string vmxPath, ulong mask, int flags);
        SVMInfoLib GetVMInfoForVMByMoref(string moref, ulong mask, int flags);
        List<SVMInfoLib> BrowseInventoryByMoref(string moref, int kind, ulong mask, int flags);
        List<SVMInfoLib> BrowseInventoryByName(string name, int kind, ulong mask, int flags);
        int CreateVirtualMachine(SVMInfoLib info, out string uuid);
        bool GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file);

        // Snapshots (face/Snapshots.cs)
        int CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId);
        int CreateSnapshotWithName(string vm, string host, string name, string description, bool quiesce, bool memory, out string snapshotId);
        int CreateReplicationSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId);
        int RemoveSnapshot(string vm, string host, string snapshotId);
        int RemoveSnapshot_Task(string vm, string host, string snapshotId, out string taskId);
        int RemoveSnapshots(string vm, string host);
        int RemoveOldSnapshots(string vm, string host, int days);
        int CountBackupSnapshots(string vm, string host, ref int count);
        int CountReplicationSnapshots(string vm, string host, ref int count);
        int RevertToCurrentSnapshot(string vm, string host);
        bool RevertToSnapshot(string vm, string host, string snapshotId);
        bool GetSnapshotInfo(string vm, string host, string snapshotId, out string name, ref DateTime created, out string description, ref bool quiesced);
        bool GetSnapshotSize(string vm, string host, string snapshotId, ref long size);
        string GetSnapshotFileNameUsingSnapMoref(string vm, string host, string snapshotId);
        bool SetVMSnapshotLocation(string vm, string host, string datastore, string folder, bool reset);
        bool CheckCreateSnapshotMethodDisabled(string vm, string host, out string reason);

        // Changed block tracking and disk maps (face/ChangeTracking.cs)
        int SetChangeTrackingEnabled(string vm, string host);
        int SetChangeTrackingDisabled(string vm, string host);
        string GetChangeIdForDisk(string vm, string host, string snapshotId, string disk);
        SDiskChangeInfoLib QueryChangedDiskAreas(string vm, string host, string snapshotId, string disk, long startOffset, string changeId);
        int GetDiskBlockInfoList(string vm, string host, string snapshotId, string disk, bool topFileOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata);
        List<string> GetPageInfoForExtent(string vm, string host, string disk, int extent);

        // Guest operations (face/Guest.cs)
        bool BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files);
        bool BrowseGuestFolders(string vm, string host, string user, string password, string path, out List<SGuestFileLib> folders);
        bool CreateGuestFolder(string vm, string host, string user, string password, string path);
        bool CopyFileFromGuest(string vm, string host, string user, string password, string guestPath, string localPath);
        bool CopyFileToGuest(string vm, string host, string user, string password, string localPath, string guestPath, bool overwrite);
        bool ExecuteScriptInGuest(string vm, string host, string user, string password, string script, string interpreter, string workingDirectory, int timeoutSeconds, string outputPath, ref int exitCode);
        bool ExecuteProcessInGuest(string vm, string host, string user, string password, string program, string arguments, string workingDirectory, int timeoutSeconds, ref int result);
        bool IsProcessRunningInGuest(string vm, string host, string user, string password, string program, long pid, ref bool running);
        bool GetGuestTempFolder(string vm, string host, string user, string password, out string folder);
        bool DeleteDirectoryInGuest(string vm, string host, string user, string password, string path);
        bool ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes);
        bool ComputeGuestSize(string vm, string host, ref long size);

        // Datastores and their files (face/DatastoreFiles.cs)
        int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host);
        int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host, string destinationDatacenter);
        int DeleteDatastoreFile(string datacenter, string datastore, string path, string host);
        List<string> GetFilesOnDSForHost(string host, string datastore, string folder, string pattern, bool recursive);
        string GetDownloadDatastoreFileUrl(string datacenter, string datastore, string path, string host);
        int DownloadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host);
        int DownloadDatastoreFileFromHost(string datacenter, string datastore, string path, string localPath, string host);
        int UploadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host);
        int UploadDatastoreFileToHost(string datacenter, string datastore, string path, string localPath, string host);
        int CreateDataStoreFolder(string datastore, string path);
        int CheckDatastoreFile(string datacenter, string datastore, string path, string host, bool folder);
        int CheckDatastoreSpace(string datastore, string host, int requiredMB);
        int CreateNASDatastore(string host, string name, string remoteHost, string remotePath, bool readOnly);
        int RemoveDatastore(string host, string datastore);
        bool IsDatastoreConnected(string host, string datastore);
        bool CheckDownloadFromHostPrivilege(string host);

        // Hosts, server time and log bundles (face/HostServer.cs)
        int GetHostVMKernelIPList(string host, out string addresses);
        string GetDatacenterNameFromHostName(string host);
        long GetCurrentServerTime();
        string GetCurrentTimeOnServer();
        string GetCurrentTimeOnHost(string host);
        bool DownloadHostLogBundle(string host, string localPath);
        bool DownloadServerLogBundle(string localPath);
        bool GetMgmtVersion(out object version);

        // Inventory lists, lookups and browsing (face/InventoryOps.cs)
        List<SHostInfoLib> GetHostInfoList(ulong mask, int flags);
        List<SDataCenterInfoLib> GetDCInfoList(ulong mask, int flags);
        List<SDatastoreInfoLib> GetDSInfoList(ulong mask, int flags);
        List<SDatastoreInfoLib> GetDSInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags);
        List<SGuestOSInfoLib> GetSupportedGuestOSInfoListForHostOrCluster(string hostOrCluster);
        List<SResourcePoolInfoLib> GetRpInfoList(ulong mask, int flags);
        List<SResourcePoolInfoLib> GetRPInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags);
        List<SClusterInfoLib> GetClusterInfoList(ulong mask, int flags);
        List<SVAppInfoLib> GetVAppInfoList(ulong mask, int flags);
        List<SInventoryInfoLib> GetInventoryInfoList(ulong mask, int flags);
        List<SInventoryInfoLib> GetVMInventoryInfoListForHostOrCluster(string hostOrCluster, ulong mask, int flags);
        List<SDatastoreInfoLib> GetCompatibleDatastoresForStoragePolicy(string policy, List<string> datastores);
        int SelectDatastoreFromResourcePool(string pool, out string datastore, out string datastoreMoref);
        int RefreshHostInfoList(ulong mask, int flags);
        int RefreshVMInfoList(ulong mask, int flags);
        int RefreshDSInfoList(ulong mask, int flags);
        int RefreshDCInfoList(ulong mask, int flags);
        int RefreshResourcePoolList(ulong mask, int flags);
        int RefreshClusterInfoList(ulong mask, int flags);
        int RefreshVAppInfoList(ulong mask, int flags);
        int RefreshInventoryInfoList(ulong mask, int flags);
        SDatastoreInfoLib GetDSInfoForDS(string datastore, string uuid, string hostOrCluster, ulong mask, int flags);
        SHostInfoLib GetHostInfoForHost(string host, ulong mask, int flags);
        SClusterInfoLib GetClusterInfoForCluster(string cluster, ulong mask, int flags);
        SResourcePoolInfoLib GetRPInfoForRP(string pool, string hostOrCluster, ulong mask, int flags);
        SInventoryInfoLib GetInventoryObjectByMoref(string moref, int kind, ulong mask, int flags);
        List<SInventoryInfoLib> BrowseInventory(string path, SInventoryInfoLib node, ulong mask, int flags);
        List<SSCSILUNInfoLib> GetDeviceList(string host, string adapter);
        bool DoesVMExist(string name, string uuid, string host, string datacenter, out string moref);
        int CheckHostForVMName(string host, string name);
        bool GetLUNInformationForRDM(string host, string lun, ref SDatastoreInfoLib info);
        int RefreshHostAdapter(string host, SHostStorageAdapterInfoLib adapter, List<SDatastoreInfoLib> datastores);
        bool GetHostListForDatastore(string datastore, out List<string> hosts);

        // Storage snapshot mounts (face/SnapshotMount.cs)
        int MountSnap(SnapRestoreCtxLib context);
        int UnMountSnap(SnapRestoreCtxLib context, string volume);

        // Custom fields, tags and settings (face/TagOps.cs)
        int GetCustomField(string vm, string host, string field, out string value);
        int SetCustomField(string vm, string host, string field, string value);
        int AddCustomField(string field);
        int SetLastBackupCustomField(string vm, string value);
        int SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second);
        List<SVMInfoLib> GetVMInfoListForTag(string tag, string category, ulong mask, int flags);
        List<SVMInfoLib> GetVMInfoListForCategory(string category, string tag, ulong mask, int flags);
        List<SInventoryInfoLib> GetTagsForVM(string vm);
        bool AttachTagsToVM(string vm, List<SInventoryInfoLib> tags);
        bool SetConfigValues(string vm, string host, List<SVMOptionValueLib> values);
        bool GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values);
        int GetHostConfigValue(string host, string key, out string value);
        int SetHostConfigValue(string host, string key, string value);

        // Storage policies and IO filters (face/PolicyOps.cs)
        bool GetVMStoragePolicies(string vm, string host, out string policyName, out string policyId, ref List<SDiskLib> disks);
        bool AttachVMStoragePolicyToVMAndDisks(string vm, string host, string policyName, string policyId, List<SDiskLib> disks);
        bool AttachVMStoragePolicyToVM(string vm, string host, string policyName, string policyId);
        bool DetachVMStoragePolicyFromVM(string vm, string host, string policyName, string policyId);
        bool InstallIOFilter(string cluster, string filter, string version, string vibUrl, string datacenter);
        bool UninstallIOFilter(string cluster, string filter, string version);
        bool GetIOFilterStatus(string cluster, string filter, string version, object result);
        List<SVMInfoLib> GetIOFilterAttachedVMList(string cluster, string filter);

        // Tasks, relocation and reconfiguration (face/TaskOps.cs)
        bool WaitForTask(string task, int timeoutSeconds, ref bool done, ref bool failed);
        bool CheckTaskProgress(string task, ref bool done, ref bool failed, ref int progress);
        bool CheckNewVMTaskProgress(string task, ref bool done, ref bool failed, ref int progress, out string vm);
        bool CancelTask(string task);
        bool CheckForRunningTaskOnVM(string vm, string host, out string task, out string description);
        bool IsRelocateTaskInProgress(string vm, string host, out string task);
        bool CheckRelocatePrivilegeOnHost(string host);
        bool RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks);
        bool RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task);
        int ReconfigVM(SVMInfoLib info);
        bool ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace);
        bool ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot);

        // Imports, clones and customization (face/OvfOps.cs)
        bool StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options);
        bool UpdateOVFImportProgress(string lease, int percent);
        bool FinishOVFImport(string lease, ref object info);
        int CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task);
        int CustomizeVM(SVMInfoLib info, string customization);
    }
#endif
}
