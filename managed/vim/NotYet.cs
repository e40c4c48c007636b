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

        public int CreateVM(string name, string host, string datastore, string guestId, string network, out string uuid) { throw NotYet("CreateVM"); }
        public int DeleteVM(string vm, string host) { throw NotYet("DeleteVM"); }
        public int DeleteVMDiskFiles(string vm, string host) { throw NotYet("DeleteVMDiskFiles"); }
        public int RegisterVM(string vmxPath, string name, string host, string pool, string folder, ref string vm) { throw NotYet("RegisterVM"); }
        public int RegisterVMWithNewUUID(string vmxPath, string name, string host, out string uuid) { throw NotYet("RegisterVMWithNewUUID"); }
        public int ReRegisterVM(string vmxPath, ref string vm) { throw NotYet("ReRegisterVM"); }
        public int UnRegisterVM(string vm, string host) { throw NotYet("UnRegisterVM"); }
        public bool RegisterFirstClassDisk(string host, string datastore, string path, string name, string datacenter) { throw NotYet("RegisterFirstClassDisk"); }
        public int AddDiskToVM(string vm, string host, string datastore, long capacity, bool thin, bool eagerZero, bool independent, bool nonPersistent, bool newController) { throw NotYet("AddDiskToVM"); }
        public int RemoveDiskFromVM(string vm, string host, string disk, bool deleteFiles) { throw NotYet("RemoveDiskFromVM"); }
        public int RemoveISOFromVM(string vm, string host, string iso, bool removeDrive) { throw NotYet("RemoveISOFromVM"); }
        public int ChangeDiskUUID(string vm, string disk, string uuid) { throw NotYet("ChangeDiskUUID"); }
        public string AddRDMToVM(string vm, string host, string device, string mode, int bus, int unit, int sizeMB, string datastore) { throw NotYet("AddRDMToVM"); }
        public bool CheckVMConsolidateStatus(string vm, string host) { throw NotYet("CheckVMConsolidateStatus"); }
        public bool ConsolidateVMDisks(string vm, string host, ref bool needed) { throw NotYet("ConsolidateVMDisks"); }
        public int CreateVirtualMachine(SVMInfoLib info, out string uuid) { throw NotYet("CreateVirtualMachine"); }
        public int SetChangeTrackingEnabled(string vm, string host) { throw NotYet("SetChangeTrackingEnabled"); }
        public int SetChangeTrackingDisabled(string vm, string host) { throw NotYet("SetChangeTrackingDisabled"); }
        public string GetChangeIdForDisk(string vm, string host, string snapshotId, string disk) { throw NotYet("GetChangeIdForDisk"); }
        public SDiskChangeInfoLib QueryChangedDiskAreas(string vm, string host, string snapshotId, string disk, long startOffset, string changeId) { throw NotYet("QueryChangedDiskAreas"); }
        public int GetDiskBlockInfoList(string vm, string host, string snapshotId, string disk, bool topFileOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata) { throw NotYet("GetDiskBlockInfoList"); }
        public List<string> GetPageInfoForExtent(string vm, string host, string disk, int extent) { throw NotYet("GetPageInfoForExtent"); }
        public bool BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files) { throw NotYet("BrowseGuest"); }
        public bool BrowseGuestFolders(string vm, string host, string user, string password, string path, out List<SGuestFileLib> folders) { throw NotYet("BrowseGuestFolders"); }
        public bool CreateGuestFolder(string vm, string host, string user, string password, string path) { throw NotYet("CreateGuestFolder"); }
        public bool CopyFileFromGuest(string vm, string host, string user, string password, string guestPath, string localPath) { throw NotYet("CopyFileFromGuest"); }
        public bool CopyFileToGuest(string vm, string host, string user, string password, string localPath, string guestPath, bool overwrite) { throw NotYet("CopyFileToGuest"); }
        public bool ExecuteScriptInGuest(string vm, string host, string user, string password, string script, string interpreter, string workingDirectory, int timeoutSeconds, string outputPath, ref int exitCode) { throw NotYet("ExecuteScriptInGuest"); }
        public bool ExecuteProcessInGuest(string vm, string host, string user, string password, string program, string arguments, string workingDirectory, int timeoutSeconds, ref int result) { throw NotYet("ExecuteProcessInGuest"); }
        public bool IsProcessRunningInGuest(string vm, string host, string user, string password, string program, long pid, ref bool running) { throw NotYet("IsProcessRunningInGuest"); }
        public bool GetGuestTempFolder(string vm, string host, string user, string password, out string folder) { throw NotYet("GetGuestTempFolder"); }
        public bool DeleteDirectoryInGuest(string vm, string host, string user, string password, string path) { throw NotYet("DeleteDirectoryInGuest"); }
        public bool ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes) { throw NotYet("ChangeGuestFileAttributes"); }
        public bool ComputeGuestSize(string vm, string host, ref long size) { throw NotYet("ComputeGuestSize"); }
        public List<SDatastoreInfoLib> GetCompatibleDatastoresForStoragePolicy(string policy, List<string> datastores) { throw NotYet("GetCompatibleDatastoresForStoragePolicy"); }
        public int MountSnap(SnapRestoreCtxLib context) { throw NotYet("MountSnap"); }
        public int UnMountSnap(SnapRestoreCtxLib context, string volume) { throw NotYet("UnMountSnap"); }
        public int GetCustomField(string vm, string host, string field, out string value) { throw NotYet("GetCustomField"); }
        public int SetCustomField(string vm, string host, string field, string value) { throw NotYet("SetCustomField"); }
        public int AddCustomField(string field) { throw NotYet("AddCustomField"); }
        public int SetLastBackupCustomField(string vm, string value) { throw NotYet("SetLastBackupCustomField"); }
        public int SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second) { throw NotYet("SetBackupStatusCustomField"); }
        public List<SVMInfoLib> GetVMInfoListForTag(string tag, string category, ulong mask, int flags) { throw NotYet("GetVMInfoListForTag"); }
        public List<SVMInfoLib> GetVMInfoListForCategory(string category, string tag, ulong mask, int flags) { throw NotYet("GetVMInfoListForCategory"); }
        public List<SInventoryInfoLib> GetTagsForVM(string vm) { throw NotYet("GetTagsForVM"); }
        public bool AttachTagsToVM(string vm, List<SInventoryInfoLib> tags) { throw NotYet("AttachTagsToVM"); }
        public bool SetConfigValues(string vm, string host, List<SVMOptionValueLib> values) { throw NotYet("SetConfigValues"); }
        public bool GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values) { throw NotYet("GetConfigValues"); }
        public int GetHostConfigValue(string host, string key, out string value) { throw NotYet("GetHostConfigValue"); }
        public int SetHostConfigValue(string host, string key, string value) { throw NotYet("SetHostConfigValue"); }
        public bool GetVMStoragePolicies(string vm, string host, out string policyName, out string policyId, ref List<SDiskLib> disks) { throw NotYet("GetVMStoragePolicies"); }
        public bool AttachVMStoragePolicyToVMAndDisks(string vm, string host, string policyName, string policyId, List<SDiskLib> disks) { throw NotYet("AttachVMStoragePolicyToVMAndDisks"); }
        public bool AttachVMStoragePolicyToVM(string vm, string host, string policyName, string policyId) { throw NotYet("AttachVMStoragePolicyToVM"); }
        public bool DetachVMStoragePolicyFromVM(string vm, string host, string policyName, string policyId) { throw NotYet("DetachVMStoragePolicyFromVM"); }
        public bool InstallIOFilter(string cluster, string filter, string version, string vibUrl, string datacenter) { throw NotYet("InstallIOFilter"); }
        public bool UninstallIOFilter(string cluster, string filter, string version) { throw NotYet("UninstallIOFilter"); }
        public bool GetIOFilterStatus(string cluster, string filter, string version, object result) { throw NotYet("GetIOFilterStatus"); }
        public List<SVMInfoLib> GetIOFilterAttachedVMList(string cluster, string filter) { throw NotYet("GetIOFilterAttachedVMList"); }
        public bool CheckRelocatePrivilegeOnHost(string host) { throw NotYet("CheckRelocatePrivilegeOnHost"); }
        public bool RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks) { throw NotYet("RelocateVM"); }
        public bool RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task) { throw NotYet("RelocateVM_Task"); }
        public int ReconfigVM(SVMInfoLib info) { throw NotYet("ReconfigVM"); }
        public bool ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace) { throw NotYet("ReconfigureVMNetworks"); }
        public bool ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot) { throw NotYet("ReconfigureVMBootOptions"); }
        public bool StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options) { throw NotYet("StartOVFImport"); }
        public bool UpdateOVFImportProgress(string lease, int percent) { throw NotYet("UpdateOVFImportProgress"); }
        public bool FinishOVFImport(string lease, ref object info) { throw NotYet("FinishOVFImport"); }
        public int CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task) { throw NotYet("CloneAndReConfigVM_Task"); }
        public int CustomizeVM(SVMInfoLib info, string customization) { throw NotYet("CustomizeVM"); }
    }
}
#endif
