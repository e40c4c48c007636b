// Rows of the tag, field, configuration, storage-policy, IO-filter, task, relocation, OVF, clone and customisation operations.
#include "RowMakers.h"

#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;

namespace visdktest {

namespace {

const std::string VmRecord = "SVMInfoLib SVMInfoLib";
const std::string VmRecordRef = "ref Object SVMInfoLib";

const UINT64 kMask = 0x8000000100000001ULL;

// A list answer gives 1 (true), none gives 0 without a message of its own.
template <typename Call>
Row ListRow(const char* managed, const char* signature, const char* itemClass, std::vector<std::string> slots, Call call)
{
    std::string item = itemClass;
    return Row{managed, signature, Kind::Object, std::move(slots),
               [item](const char* m) {
                   probe::Return(m, NewList(item.c_str()));
                   return std::string("1");
               },
               "0", "", [call](CVISDKCppBridge& b) { return Num(call(b)); }};
}

#define SIG(text) "int VISDKCppBridge::CVISDKCppBridge::" text
#define BSIG(text) "bool VISDKCppBridge::CVISDKCppBridge::" text

} // namespace

std::vector<Row> ManagementRows()
{
    std::vector<Row> rows;

    // Tags, custom fields and configuration values
    rows.push_back(IntRow("GetCustomField", SIG("GetCustomField(const string&, const string&, std::string, std::string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), OSx}, [](CVISDKCppBridge& b) {
                              std::string value = "kept";
                              Watch watch(value);
                              return b.GetCustomField("s1", "s2", "s3", value);
                          }));
    rows.push_back(IntRow("SetCustomField", SIG("SetCustomField(const string&, const string&, const string&, const string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")},
                          [](CVISDKCppBridge& b) { return b.SetCustomField("s1", "s2", "s3", "s4"); }));
    rows.push_back(IntRow("AddCustomField", SIG("AddCustomField(const string&)"), {Sx("s1")},
                          [](CVISDKCppBridge& b) { return b.AddCustomField("s1"); }));
    rows.push_back(IntRow("SetLastBackupCustomField", SIG("SetLastBackupCustomField(const string&, const string&)"), {Sx("s1"), Sx("s2")},
                          [](CVISDKCppBridge& b) { return b.SetLastBackupCustomField("s1", "s2"); }));
    rows.push_back(IntRow("SetBackupStatusCustomField",
                          SIG("SetBackupStatusCustomField(const string&, const string&, const string&, const string&, const string&, long "
                              "long unsigned int, long long unsigned int)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Vu(0x8000000000000005ULL), Vu(7)},
                          [](CVISDKCppBridge& b) { return b.SetBackupStatusCustomField("s1", "s2", "s3", "s4", "s5", 0x8000000000000005ULL, 7); }));
    rows.push_back(ListRow("GetVMInfoListForTag",
                           SIG("GetVMInfoListForTag(const string&, const string&, UINT64, int, std::vector<VMInfoStructs::SVMInfo>&)"),
                           "SVMInfoLib", {Sx("s1"), Sx("s2"), Vu(kMask), Vi(-3)}, [](CVISDKCppBridge& b) {
                               std::vector<SVMInfo> vms(2);
                               Watch watch(vms);
                               return b.GetVMInfoListForTag("s1", "s2", kMask, -3, vms);
                           }));
    rows.push_back(ListRow("GetVMInfoListForCategory",
                           SIG("GetVMInfoListForCategory(const string&, const string&, UINT64, int, std::vector<VMInfoStructs::SVMInfo>&)"),
                           "SVMInfoLib", {Sx("s1"), Sx("s2"), Vu(kMask), Vi(4)}, [](CVISDKCppBridge& b) {
                               std::vector<SVMInfo> vms(2);
                               Watch watch(vms);
                               return b.GetVMInfoListForCategory("s1", "s2", kMask, 4, vms);
                           }));
    rows.push_back(ListRow("GetTagsForVM", SIG("GetTagsForVM(const string&, std::vector<VMInfoStructs::SInventoryInfo>&)"), "SInventoryInfoLib",
                           {Sx("s1")}, [](CVISDKCppBridge& b) {
                               std::vector<SInventoryInfo> tags(2);
                               Watch watch(tags);
                               return b.GetTagsForVM("s1", tags);
                           }));
    rows.push_back(Row{"AttachTagsToVM", SIG("AttachTagsToVM(const string&, std::vector<VMInfoStructs::SInventoryInfo>&)"), Kind::Object,
                       {Sx("s1"), LIx},
                       [](const char* m) {
                           probe::Return(m, NewRecord("SInventoryInfoLib"));
                           return std::string("1");
                       },
                       "0", "", [](CVISDKCppBridge& b) {
                           std::vector<SInventoryInfo> tags(1);
                           return Num(b.AttachTagsToVM("s1", tags));
                       }});
    rows.push_back(BoolRow("SetConfigValues",
                           BSIG("SetConfigValues(const string&, const string&, std::vector<VMInfoStructs::SVMOptionValue>&)"),
                           {Sx("s1"), Sx("s2"), LIx}, [](CVISDKCppBridge& b) {
                               std::vector<SVMOptionValue> values(2);
                               return b.SetConfigValues("s1", "s2", values);
                           }));
    rows.push_back(BoolRow("GetConfigValues",
                           BSIG("GetConfigValues(const string&, const string&, std::vector<VMInfoStructs::SVMOptionValue>&)"),
                           {Sx("s1"), Sx("s2"), LOx}, [](CVISDKCppBridge& b) {
                               std::vector<SVMOptionValue> values(2);
                               Watch watch(values);
                               return b.GetConfigValues("s1", "s2", values);
                           }));
    rows.push_back(IntRow("GetHostConfigValue", SIG("GetHostConfigValue(const string&, const string&, std::string&)"),
                          {Sx("s1"), Sx("s2"), OSx}, [](CVISDKCppBridge& b) {
                              std::string value = "kept";
                              Watch watch(value);
                              return b.GetHostConfigValue("s1", "s2", value);
                          }));
    rows.push_back(IntRow("SetHostConfigValue", SIG("SetHostConfigValue(const string&, const string&, const string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3")}, [](CVISDKCppBridge& b) { return b.SetHostConfigValue("s1", "s2", "s3"); }));

    // Storage policies and IO filters
    rows.push_back(BoolRow("GetVMStoragePolicies",
                           BSIG("GetVMStoragePolicies(const string&, const string&, std::string&, std::string&, "
                                "std::vector<VMInfoStructs::SDisk>&)"),
                           {Sx("s1"), Sx("s2"), OSx, OSx, LRx}, [](CVISDKCppBridge& b) {
                               std::string name = "kept", id = "kept";
                               std::vector<SDisk> disks(1);
                               Watch watch(name, id, disks);
                               return b.GetVMStoragePolicies("s1", "s2", name, id, disks);
                           }));
    rows.push_back(BoolRow("AttachVMStoragePolicyToVMAndDisks",
                           BSIG("AttachVMStoragePolicyToVMAndDisks(const string&, const string&, const string&, const string&, const "
                                "std::vector<VMInfoStructs::SDisk>&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), LIx}, [](CVISDKCppBridge& b) {
                               return b.AttachVMStoragePolicyToVMAndDisks("s1", "s2", "s3", "s4", std::vector<SDisk>(2));
                           }));
    typedef bool (CVISDKCppBridge::*Bool4)(const string&, const string&, const string&, const string&);
    const std::pair<const char*, Bool4> four[] = {{"AttachVMStoragePolicyToVM", &CVISDKCppBridge::AttachVMStoragePolicyToVM},
                                                  {"DetachVMStoragePolicyFromVM", &CVISDKCppBridge::DetachVMStoragePolicyFromVM}};
    const char* fourSignatures[] = {BSIG("AttachVMStoragePolicyToVM(const string&, const string&, const string&, const string&)"),
                                    BSIG("DetachVMStoragePolicyFromVM(const string&, const string&, const string&, const string&)")};
    for (int i = 0; i < 2; ++i) {
        Bool4 op = four[i].second;
        rows.push_back(BoolRow(four[i].first, fourSignatures[i], {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")},
                               [op](CVISDKCppBridge& b) { return (b.*op)("s1", "s2", "s3", "s4"); }));
    }
    rows.push_back(BoolRow("InstallIOFilter",
                           BSIG("InstallIOFilter(const string&, const string&, const string&, const string&, const string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5")},
                           [](CVISDKCppBridge& b) { return b.InstallIOFilter("s1", "s2", "s3", "s4", "s5"); }));
    rows.push_back(BoolRow("UninstallIOFilter", BSIG("UninstallIOFilter(const string&, const string&, const string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3")}, [](CVISDKCppBridge& b) { return b.UninstallIOFilter("s1", "s2", "s3"); }));
    rows.push_back(BoolRow("GetIOFilterStatus", BSIG("GetIOFilterStatus(const string&, const string&, const string&, SIOFilterStatus&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), "Object SIOFilterResultLib"}, [](CVISDKCppBridge& b) {
                               SIOFilterStatus status;
                               status.strId = "kept";
                               Watch watch(status);
                               return b.GetIOFilterStatus("s1", "s2", "s3", status);
                           }));
    rows.push_back(ListRow("GetIOFilterAttachedVMList",
                           BSIG("GetIOFilterAttachedVMList(const string&, const string&, std::vector<VMInfoStructs::SVMInfo>&)"), "SVMInfoLib",
                           {Sx("s1"), Sx("s2")}, [](CVISDKCppBridge& b) {
                               std::vector<SVMInfo> vms(2);
                               Watch watch(vms);
                               return b.GetIOFilterAttachedVMList("s1", "s2", vms);
                           }));

    // Tasks, relocation and reconfiguration
    rows.push_back(BoolRow("WaitForTask", BSIG("WaitForTask(const string&, int, bool&, bool&)"), {Sx("s1"), Vi(30), Rb(false), Rb(true)},
                           [](CVISDKCppBridge& b) {
                               bool done = false, failed = true;
                               Watch watch(done, failed);
                               return b.WaitForTask("s1", 30, done, failed);
                           }));
    rows.push_back(BoolRow("CheckTaskProgress", BSIG("CheckTaskProgress(const string&, bool&, bool&, int&)"),
                           {Sx("s1"), Rb(true), Rb(false), Ri(17)}, [](CVISDKCppBridge& b) {
                               bool done = true, failed = false;
                               int progress = 17;
                               Watch watch(done, failed, progress);
                               return b.CheckTaskProgress("s1", done, failed, progress);
                           }));
    rows.push_back(BoolRow("CheckNewVMTaskProgress", BSIG("CheckNewVMTaskProgress(const string&, bool&, bool&, int&, std::string&)"),
                           {Sx("s1"), Rb(false), Rb(false), Ri(-1), OSx}, [](CVISDKCppBridge& b) {
                               bool done = false, failed = false;
                               int progress = -1;
                               std::string vm = "kept";
                               Watch watch(done, failed, progress, vm);
                               return b.CheckNewVMTaskProgress("s1", done, failed, progress, vm);
                           }));
    rows.push_back(BoolRow("CancelTask", BSIG("CancelTask(const string&)"), {Sx("s1")}, [](CVISDKCppBridge& b) { return b.CancelTask("s1"); }));
    rows.push_back(BoolRow("CheckForRunningTaskOnVM",
                           BSIG("CheckForRunningTasksOnVM(const string&, const string&, std::string&, std::string&)"),
                           {Sx("s1"), Sx("s2"), OSx, OSx}, [](CVISDKCppBridge& b) {
                               std::string task = "kept", description = "kept";
                               Watch watch(task, description);
                               return b.CheckForRunningTasksOnVM("s1", "s2", task, description);
                           }));
    rows.push_back(BoolRow("RelocateVM",
                           BSIG("RelocateVM(const string&, const string&, const string&, const string&, const string&, bool, const "
                                "std::vector<VMInfoStructs::SDisk>&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Vb(true), LIx},
                           [](CVISDKCppBridge& b) { return b.RelocateVM("s1", "s2", "s3", "s4", "s5", true, std::vector<SDisk>(1)); }));
    rows.push_back(BoolRow("RelocateVM_Task",
                           BSIG("RelocateVM_Task(const string&, const string&, const string&, const string&, const string&, bool, const "
                                "std::vector<VMInfoStructs::SDisk>&, std::string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Vb(false), LIx, OSx}, [](CVISDKCppBridge& b) {
                               std::string task = "kept";
                               Watch watch(task);
                               return b.RelocateVM_Task("s1", "s2", "s3", "s4", "s5", false, std::vector<SDisk>(), task);
                           }));
    rows.push_back(BoolRow("IsRelocateTaskInProgress", BSIG("IsRelocateTaskInProgress(const string&, const string&, std::string&)"),
                           {Sx("s1"), Sx("s2"), OSx}, [](CVISDKCppBridge& b) {
                               std::string task = "kept";
                               Watch watch(task);
                               return b.IsRelocateTaskInProgress("s1", "s2", task);
                           }));
    rows.push_back(BoolRow("CheckRelocatePrivilegeOnHost", BSIG("CheckRelocatePrivilegeOnHost(const string&)"), {Sx("s1")},
                           [](CVISDKCppBridge& b) { return b.CheckRelocatePrivilegeOnHost("s1"); }));
    rows.push_back(IntRow("ReconfigVM", SIG("ReconfigureVM(VMInfoStructs::SVMInfo&)"), {VmRecord}, [](CVISDKCppBridge& b) {
        SVMInfo info;
        info.strName = "vm";
        return b.ReconfigureVM(info);
    }));
    rows.push_back(BoolRow("ReconfigureVMNetworks",
                           BSIG("ReconfigureVMNetworks(const string&, const string&, const std::vector<VMInfoStructs::SVMNetworkCard>&, bool)"),
                           {Sx("s1"), Sx("s2"), LIx, Vb(true)},
                           [](CVISDKCppBridge& b) { return b.ReconfigureVMNetworks("s1", "s2", std::vector<SVMNetworkCard>(1), true); }));
    rows.push_back(BoolRow("ReconfigureVMBootOptions",
                           BSIG("ReconfigureVMBootOptions(const string&, const string&, const std::vector<std::__cxx11::basic_string<char> "
                                ">&, bool, bool, bool)"),
                           {Sx("s1"), Sx("s2"), LIx, Vb(true), Vb(false), Vb(true)}, [](CVISDKCppBridge& b) {
                               return b.ReconfigureVMBootOptions("s1", "s2", {"disk", "cdrom"}, true, false, true);
                           }));

    // OVF import, cloning and customization
    rows.push_back(BoolRow("StartOVFImport",
                           BSIG("StartOVFImport(const string&, VMInfoStructs::SVMInfo&, std::string&, "
                                "std::vector<VMInfoStructs::SVMOptionValue>&, const std::vector<VMInfoStructs::SVMOptionValue>&)"),
                           {Sx("s1"), VmRecordRef, OSx, LOx, LIx}, [](CVISDKCppBridge& b) {
                               SVMInfo info;
                               info.strName = "kept";
                               std::string lease = "kept";
                               std::vector<SVMOptionValue> uploads(2);
                               Watch watch(info, lease, uploads);
                               return b.StartOVFImport("s1", info, lease, uploads, std::vector<SVMOptionValue>(1));
                           }));
    rows.push_back(BoolRow("FinishOVFImport", BSIG("FinishOVFImport(const string&, VMInfoStructs::SVMInfo&)"), {Sx("s1"), VmRecordRef},
                           [](CVISDKCppBridge& b) {
                               SVMInfo info;
                               info.strName = "kept";
                               Watch watch(info);
                               return b.FinishOVFImport("s1", info);
                           }));
    rows.push_back(BoolRow("UpdateOVFImportProgress", BSIG("UpdateOVFImportProgress(const string&, int)"), {Sx("s1"), Vi(55)},
                           [](CVISDKCppBridge& b) { return b.UpdateOVFImportProgress("s1", 55); }));
    rows.push_back(IntRow("CloneAndReConfigVM_Task",
                          SIG("CloneAndReConfigVM_Task(VMInfoStructs::SVMInfo&, const string&, const string&, std::string&)"),
                          {VmRecord, Sx("s2"), Sx("s3"), OSx}, [](CVISDKCppBridge& b) {
                              SVMInfo info;
                              std::string task = "kept";
                              Watch watch(task);
                              return b.CloneAndReConfigVM_Task(info, "s2", "s3", task);
                          }));
    rows.push_back(IntRow("CustomizeVM", SIG("CustomizeVM(VMInfoStructs::SVMInfo&, const string&)"), {VmRecord, Sx("s2")},
                          [](CVISDKCppBridge& b) {
                              SVMInfo info;
                              return b.CustomizeVM(info, "s2");
                          }));
    return rows;
}

} // namespace visdktest
