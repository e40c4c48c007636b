#ifndef VISDK_CPPBRIDGE_H
#define VISDK_CPPBRIDGE_H

#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "VISDKExport.h"
#include "VMInfoStructs.h"

namespace VISDKCppBridge {

class CVIWrapperPtr;

// Parameter spellings follow the texts that operations log with a caught managed exception.
using std::string;

class VISDK_API CVISDKCppBridge {
public:
    CVISDKCppBridge();
    explicit CVISDKCppBridge(int locale);
    ~CVISDKCppBridge();
    CVISDKCppBridge(const CVISDKCppBridge&) = delete;
    CVISDKCppBridge& operator=(const CVISDKCppBridge&) = delete;

    void Cleanup();
    void SetLocale(int locale);

    // Connection
    int SetVMFocus(std::string& first, std::string& second, unsigned long long value);
    int SetLogParameters(int first, int second, int third, int fourth);
    std::string GetLastErrorString();
    int Connect(const string& first, const string& second, const string& third);
    int Disconnect();
    int CheckConnection();
    void ReleaseConnection();
    bool VerifyAccountForBackup(std::vector<std::string>& missing);
    bool VerifyAccountForRestore(std::vector<std::string>& missing);
    bool VerifyAccountForSnap(std::vector<std::string>& missing);
    bool IsVCenterConnection();
    std::string GetCertificateThumbprint();
    std::string GetSessionKey();
    std::string GetSessionCookie();
    int GetConnectionVersion();
    int GetConnectionApiVersion();
    void SetUseInstanceUuid(bool use);

    // VM power, state and simple operations
    int PowerOnVM(const string& vm, const string& host);
    int SuspendVM(const string& vm, const string& host);
    int PowerOffVM(const string& vm, const string& host);
    int ShutdownVM(const string& vm, const string& host);
    int ReloadVM(const string& vm, const string& host);
    int MountVMTools(const string& vm, const string& host);
    int MarkAsTemplate(const string& vm, const string& host);
    int RenameVM(const string& vm, const string& host, const string& newName);
    int ReConfigureUUID(const string& vm, const string& host, const string& third, const string& fourth);
    int AnnotateVM(const string& vm, const string& host, const string& annotation);
    bool ClearVMAlarms(const string& vm, const string& host);
    bool ResetNetworkConnections(const string& vm, const string& host);
    bool AddVirtualNetwork(const string& first, const string& second);
    bool RemoveVirtualNetwork(const string& first, const string& second);
    bool VerifyVMXVersionForHost(const string& vm, const string& host);
    int SetVMManagedByZantrel(const string& vm, const string& host);
    int UnSetVMManagedByExtension(const string& vm, const string& host);

    // Declared without behaviour: they answer zero and touch nothing.
    int GetVMStubbedSubClientID(const string& first, const string& second);
    int PerformVMOperation(int operation, long value, const string& input, std::string& output);
    int IsVMIdle(const string& vm, const string& host, std::map<EAlarmCondition, std::pair<int, int> >& conditions);
    bool StubVM(const StubVMCtx& context);
    int GetPerformanceCountersForVM(const string& vm, const string& host, VMInfoStructs::EPerformanceMetricType metric,
                                    int interval, std::vector<long long>& counters);

    // Snapshots
    int CreateBackupSnapshot(const string& vm, const string& host, bool first, bool second, std::string& snapshot);
    int CreateSnapshotWithName(const string& vm, const string& host, const string& name, const string& description,
                               bool first, bool second, std::string& snapshot);
    int CreateReplicationSnapshot(const string& vm, const string& host, bool first, bool second, std::string& snapshot);
    int RemoveSnapshot(const string& vm, const string& host, const string& snapshot);
    int RemoveSnapshot_Task(const string& vm, const string& host, const string& snapshot, std::string& task);
    int RemoveSnapshots(const string& vm, const string& host);
    int RemoveOldSnapshots(const string& vm, const string& host, int days);
    int CountBackupSnapshots(const string& vm, const string& host, int& count);
    int CountReplicationSnapshots(const string& vm, const string& host, int& count);
    int RevertToCurrentSnapshot(const string& vm, const string& host);
    bool RevertToSnapshot(const string& vm, const string& host, const string& snapshot);
    bool GetSnapshotInfo(const string& vm, const string& host, const string& snapshot, std::string& name, time_t& created,
                         std::string& description, bool& flag);
    bool GetSnapshotSize(const string& vm, const string& host, const string& snapshot, long long unsigned int& size);
    int GetSnapshotFileNameUsingSnapMoref(const string& vm, const string& host, const string& snapshot, std::string& file);
    bool SetVMSnapshotLocation(const string& vm, const string& host, const string& datastore, const string& path, bool flag);
    bool CheckCreateSnapshotMethodDisabled(const string& vm, const string& host, std::string& reason);

    // Change tracking and disk block maps
    int SetChangeTrackingEnabled(const string& vm, const string& host);
    int SetChangeTrackingDisabled(const string& vm, const string& host);
    int GetChangeIdForDisk(const string& vm, const string& host, const string& snapshot, const string& disk,
                           std::string& changeId);
    int QueryChangedDiskAreas(const string& vm, const string& host, const string& snapshot, const string& disk,
                              long long int startOffset, const string& changeId, VMInfoStructs::SDiskChangeInfo& changes);
    int GetDiskBlockInfo(const string& vm, const string& host, const string& snapshot, const string& disk, bool flag,
                         VMInfoStructs::SDiskTotalBlockInfo& blocks, std::vector<VMInfoStructs::SDiskMetadataInfo>& metadata);
    bool GetPageInfoForExtent(const string& vm, const string& host, const string& extent, int page,
                              std::vector<std::__cxx11::basic_string<char> >& pages);

    // Guest operations
    bool BrowseGuest(const string& vm, const string& host, const string& user, const string& password, const string& path,
                     std::vector<VMInfoStructs::SGuestFile>& files);
    bool BrowseGuestFolders(const string& vm, const string& host, const string& user, const string& password,
                            const string& path, std::vector<VMInfoStructs::SGuestFile>& folders);
    bool CreateGuestFolder(const string& vm, const string& host, const string& user, const string& password,
                           const string& path);
    bool CopyFileFromGuest(const string& vm, const string& host, const string& user, const string& password,
                           const string& guestPath, const string& localPath);
    bool CopyFileToGuest(const string& vm, const string& host, const string& user, const string& password,
                         const string& localPath, const string& guestPath, bool overwrite);
    bool ExecuteScriptInGuest(const string& vm, const string& host, const string& user, const string& password,
                              const string& script, const string& arguments, const string& workingDirectory, int timeout,
                              const string& interpreter, int& exitCode);
    bool ExecuteProcessInGuest(const string& vm, const string& host, const string& user, const string& password,
                               const string& program, const string& arguments, const string& workingDirectory, int timeout,
                               int& exitCode);
    bool IsProcessRunningInGuest(const string& vm, const string& host, const string& user, const string& password,
                                 const string& process, long int pid, bool& running);
    bool GetGuestTempFolder(const string& vm, const string& host, const string& user, const string& password,
                            std::string& folder);
    bool DeleteDirectoryInGuest(const string& vm, const string& host, const string& user, const string& password,
                                std::string& path);
    bool ChangeGuestFileAttributes(const string& vm, const string& host, const string& user, const string& password,
                                   const string& path, VMInfoStructs::SGuestFile attributes);
    bool ComputeGuestSize(const string& vm, const string& host, long long unsigned int& size);

    // VM create, register, delete and disks
    int CreateVM(const string& name, const string& host, const string& datastore, const string& guestId, const string& network,
                 std::string& uuid);
    int CreateVirtualMachine(VMInfoStructs::SVMInfo& info);
    int DeleteVM(const string& vm, const string& host);
    int DeleteVMDiskFiles(const string& vm, const string& host);
    int RegisterVM(const string& vmxPath, const string& name, const string& host, const string& pool, const string& folder,
                   std::string& vm);
    int RegisterVMWithNewUUID(const string& vmxPath, const string& name, const string& host, std::string& uuid);
    int ReregisterVM(const string& vmxPath, std::string& vm);
    int UnregisterVM(const string& vm, const string& host);
    bool RegisterFirstClassDisk(const string& host, const string& datastore, const string& path, const string& name,
                                const string& datacenter);
    int AddDiskToVM(const string& vm, const string& host, const string& datastore, long long int capacity, bool thin,
                    bool eagerZero, bool independent, bool nonPersistent, bool newController);
    int RemoveDiskFromVM(const string& vm, const string& host, const string& disk, bool deleteFiles);
    int RemoveISOFromVM(const string& vm, const string& host, const string& iso, bool removeDrive);
    int ChangeDiskUUID(const string& vm, const string& disk, const string& uuid);
    std::string AddRDMToVM(const string& vm, const string& host, const string& device, const string& mode, int bus, int unit,
                           int sizeMB, const string& datastore);
    bool CheckVMConsolidateStatus(const string& vm, const string& host);
    bool ConsolidateVMDisks(const string& vm, const string& host, bool& needed);
    bool ConsolidateVMDisks(const string& vm, const string& host);

    // Object lookups and inventory browsing
    int GetVMInfoForVM(const string& vm, const string& host, const string& datacenter, UINT64 mask, int flags,
                       VMInfoStructs::SVMInfo& info);
    int GetVMInfoForVMSnapshot(const string& vm, const string& host, UINT64 mask, int flags, std::string& snapshot,
                               VMInfoStructs::SVMInfo& info);
    int GetVMInfoForVMByVMX(const string& vmxPath, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info);
    bool GetVMInfoForVMByMoref(const string& moref, UINT64 mask, int flags, VMInfoStructs::SVMInfo& info);
    int BrowseInventoryByMoref(const string& moref, int kind, UINT64 mask, int flags, std::vector<VMInfoStructs::SVMInfo>& vms);
    int BrowseInventoryByName(const string& name, int kind, UINT64 mask, int flags, std::vector<VMInfoStructs::SVMInfo>& vms);

    // Datastore files and transfers
    int CopyDatastoreFile(const string& datacenter, const string& sourceDatastore, const string& sourcePath,
                          const string& destinationDatastore, const string& destinationPath, const string& host);
    int CopyDatastoreFile(const string& datacenter, const string& sourceDatastore, const string& sourcePath,
                          const string& destinationDatastore, const string& destinationPath, const string& host,
                          const string& destinationDatacenter);
    int DeleteDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& host);
    int GetFilesOnDSForHost(const string& host, const string& datastore, const string& folder, const string& pattern,
                            bool recursive, std::vector<std::__cxx11::basic_string<char> >& files);
    int GetFilesOnDSForHost(const string& host, const string& datastore, const string& pattern, bool recursive,
                            std::vector<std::__cxx11::basic_string<char> >& files);
    std::string GetDownloadDatastoreFileUrl(const string& datacenter, const string& datastore, const string& path,
                                            const string& host);
    int DownloadDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& localPath,
                              const string& host);
    int DownloadDatastoreFileFromHost(const string& datacenter, const string& datastore, const string& path,
                                      const string& localPath, const string& host);
    int UploadDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& localPath,
                            const string& host);
    int UploadDatastoreFileToHost(const string& datacenter, const string& datastore, const string& path,
                                  const string& localPath, const string& host);
    int CreateDatastoreFolder(const string& datastore, const string& path);
    int CheckDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& host,
                           bool folder);
    int CheckdatastoreSpace(const string& datastore, const string& host, int requiredMB);
    bool GetDetailsForFileOnHost(const string& host, const string& datacenter, const string& datastore, const string& path,
                                 bool fileSize, bool modification, VMInfoStructs::SVMFile& file);
    int CreateNASDatastore(const string& host, const string& name, const string& remoteHost, const string& remotePath,
                           bool readOnly);
    int RemoveDatastore(const string& host, const string& datastore);
    bool IsDatastoreConnected(const string& host, const string& datastore);
    bool CheckDownloadFromHostPrivilege(const string& host);

    // Inventory lists and refresh queries
    int GetHostInfoList(std::vector<VMInfoStructs::SHostInfo>& hosts, UINT64 mask, int flags);
    int GetDCInfoList(std::vector<VMInfoStructs::SDataCenterInfo>& datacenters, UINT64 mask, int flags);
    int GetDSInfoList(std::vector<VMInfoStructs::SDatastoreInfo>& datastores, UINT64 mask, int flags);
    int GetDSInfoListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SDatastoreInfo>& datastores, UINT64 mask,
                                      int flags);
    int GetSupportedGuestOSInfoListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SGuestOSInfo>& guests);
    int GetResourcePoolList(std::vector<VMInfoStructs::SResourcePoolInfo>& pools, UINT64 mask, int flags);
    int GetResourcePoolListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SResourcePoolInfo>& pools,
                                            UINT64 mask, int flags);
    int GetClusterInfoList(std::vector<VMInfoStructs::SClusterInfo>& clusters, UINT64 mask, int flags);
    int GetVAppInfoList(std::vector<VMInfoStructs::SVAppInfo>& vapps, UINT64 mask, int flags);
    int GetInventoryInfoList(std::vector<VMInfoStructs::SInventoryInfo>& inventory, UINT64 mask, int flags);
    int GetVMInventoryInfoListForHostOrCluster(const string& hostOrCluster, std::vector<VMInfoStructs::SInventoryInfo>& vms,
                                               UINT64 mask, int flags);
    int GetVMInfoList(std::vector<VMInfoStructs::SVMInfo>& vms, UINT64 mask, int flags);
    int GetCustomizationSpecInfo(std::vector<VMInfoStructs::SCustomSpecInfo>& customizations);
    int GetCompatibleDatastoresForStoragePolicy(const string& policy, std::vector<std::__cxx11::basic_string<char> >& names,
                                                std::vector<VMInfoStructs::SDatastoreInfo>& datastores);
    int SelectDatastoreFromResourcePool(const string& pool, std::string& datastore, std::string& datastoreMoref);
    int RefreshHostInfoList(UINT64 mask, int flags);
    int RefreshVMInfoList(UINT64 mask, int flags);
    int RefreshDSInfoList(UINT64 mask, int flags);
    int RefreshDCInfoList(UINT64 mask, int flags);
    int RefreshResourcePoolList(UINT64 mask, int flags);
    int RefreshClusterInfoList(UINT64 mask, int flags);
    int RefreshVAppInfoList(UINT64 mask, int flags);
    int RefreshInventoryInfoList(UINT64 mask, int flags);

    // Infrastructure lookups and inventory browsing
    int GetDSInfoForDS(const string& datastore, const string& uuid, const string& hostOrCluster, UINT64 mask, int flags,
                       VMInfoStructs::SDatastoreInfo& info);
    int GetHostInfoForHost(const string& host, UINT64 mask, int flags, VMInfoStructs::SHostInfo& info);
    int GetClusterInfoForCluster(const string& cluster, UINT64 mask, int flags, VMInfoStructs::SClusterInfo& info);
    int GetRPInfoForRP(const string& pool, const string& hostOrCluster, UINT64 mask, int flags, VMInfoStructs::SResourcePoolInfo& info);
    int GetInventoryObjectByMoref(const string& moref, int kind, UINT64 mask, int flags, VMInfoStructs::SInventoryInfo& info);
    int BrowseInventory(const string& path, const VMInfoStructs::SInventoryInfo& node, std::vector<VMInfoStructs::SInventoryInfo>& children,
                        UINT64 mask, int flags);
    int GetDeviceList(const string& host, const string& adapter, std::vector<VMInfoStructs::SSCSILunInfo>& luns);
    bool DoesVMExist(const string& name, const string& uuid, const string& host, const string& datacenter, std::string& moref);
    int CheckHostForVMName(const string& host, const string& name);
    bool GetLUNInformationForRDM(const string& host, const string& lun, VMInfoStructs::SDatastoreInfo& info);
    int RefreshHostAdapter(const string& host, const VMInfoStructs::SHostStorageAdapterInfo& adapter,
                           const std::vector<VMInfoStructs::SDatastoreInfo>& datastores);
    bool GetHostListForDatastore(const string& datastore, std::vector<std::__cxx11::basic_string<char> >& hosts);

    // Host, server and management operations
    int GetHostKernelIPList(const string& host, std::string& addresses);
    int GetDatacenterNameFromHostName(const string& host, std::string& datacenter);
    long long int GetCurrentServerTime();
    std::string GetCurrentTimeOnServer();
    std::string GetCurrentTimeOnHost(const string& host);
    bool DownloadHostLogBundle(const string& host, const string& localPath);
    bool DownloadServerLogBundle(const string& localPath);
    bool GetMgmtVersionInfo(VMInfoStructs::SMgmtVersion& version);

    // Snapshot mounting
    int MountSnap(const SnapRestoreCtx& context);
    int UnMountSnap(const SnapRestoreCtx& context, const string& volume);

    // Tags, custom fields and configuration values
    int GetCustomField(const string& vm, const string& host, std::string field, std::string& value);
    int SetCustomField(const string& vm, const string& host, const string& field, const string& value);
    int AddCustomField(const string& field);
    int SetLastBackupCustomField(const string& vm, const string& value);
    int SetBackupStatusCustomField(const string& vm, const string& host, const string& status, const string& job,
                                   const string& detail, long long unsigned int first, long long unsigned int second);
    int GetVMInfoListForTag(const string& tag, const string& category, UINT64 mask, int flags,
                            std::vector<VMInfoStructs::SVMInfo>& vms);
    int GetVMInfoListForCategory(const string& category, const string& third, UINT64 mask, int flags,
                                 std::vector<VMInfoStructs::SVMInfo>& vms);
    int GetTagsForVM(const string& vm, std::vector<VMInfoStructs::SInventoryInfo>& tags);
    int AttachTagsToVM(const string& vm, std::vector<VMInfoStructs::SInventoryInfo>& tags);
    bool SetConfigValues(const string& vm, const string& host, std::vector<VMInfoStructs::SVMOptionValue>& values);
    bool GetConfigValues(const string& vm, const string& host, std::vector<VMInfoStructs::SVMOptionValue>& values);
    int GetHostConfigValue(const string& host, const string& key, std::string& value);
    int SetHostConfigValue(const string& host, const string& key, const string& value);

    // Storage policies and IO filters
    bool GetVMStoragePolicies(const string& vm, const string& host, std::string& policyName, std::string& policyId,
                              std::vector<VMInfoStructs::SDisk>& disks);
    bool AttachVMStoragePolicyToVMAndDisks(const string& vm, const string& host, const string& policyName, const string& policyId,
                                           const std::vector<VMInfoStructs::SDisk>& disks);
    bool AttachVMStoragePolicyToVM(const string& vm, const string& host, const string& policyName, const string& policyId);
    bool DetachVMStoragePolicyFromVM(const string& vm, const string& host, const string& policyName, const string& policyId);
    bool InstallIOFilter(const string& cluster, const string& filter, const string& version, const string& vibUrl,
                         const string& fifth);
    bool UninstallIOFilter(const string& cluster, const string& filter, const string& third);
    bool GetIOFilterStatus(const string& cluster, const string& filter, const string& third, SIOFilterStatus& status);
    bool GetIOFilterAttachedVMList(const string& cluster, const string& filter, std::vector<VMInfoStructs::SVMInfo>& vms);

    // Tasks, relocation and reconfiguration
    bool WaitForTask(const string& task, int timeout, bool& done, bool& failed);
    bool CheckTaskProgress(const string& task, bool& done, bool& failed, int& progress);
    bool CheckNewVMTaskProgress(const string& task, bool& done, bool& failed, int& progress, std::string& vm);
    bool CancelTask(const string& task);
    bool CheckForRunningTasksOnVM(const string& vm, const string& host, std::string& task, std::string& description);
    bool RelocateVM(const string& vm, const string& host, const string& targetHost, const string& datastore, const string& pool,
                    bool flag, const std::vector<VMInfoStructs::SDisk>& disks);
    bool RelocateVM_Task(const string& vm, const string& host, const string& targetHost, const string& datastore,
                         const string& pool, bool flag, const std::vector<VMInfoStructs::SDisk>& disks, std::string& task);
    bool IsRelocateTaskInProgress(const string& vm, const string& host, std::string& task);
    bool CheckRelocatePrivilegeOnHost(const string& host);
    int ReconfigureVM(VMInfoStructs::SVMInfo& info);
    bool ReconfigureVMNetworks(const string& vm, const string& host, const std::vector<VMInfoStructs::SVMNetworkCard>& cards,
                               bool flag);
    bool ReconfigureVMBootOptions(const string& vm, const string& host, const std::vector<std::__cxx11::basic_string<char> >& order,
                                  bool first, bool second, bool third);

    // OVF import, cloning and customization
    bool StartOVFImport(const string& source, VMInfoStructs::SVMInfo& info, std::string& lease,
                        std::vector<VMInfoStructs::SVMOptionValue>& uploads, const std::vector<VMInfoStructs::SVMOptionValue>& options);
    bool FinishOVFImport(const string& lease, VMInfoStructs::SVMInfo& info);
    bool UpdateOVFImportProgress(const string& lease, int percent);
    int CloneAndReConfigVM_Task(VMInfoStructs::SVMInfo& info, const string& source, const string& host, std::string& task);
    int CustomizeVM(VMInfoStructs::SVMInfo& info, const string& customization);

private:
    CVIWrapperPtr* m_wrapper;
    int m_locale;
};

} // namespace VISDKCppBridge

#endif
