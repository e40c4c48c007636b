#include "RowMakers.h"

#include "TestSupport.h"

using namespace VISDKCppBridge;
using VMInfoStructs::SDiskChangeInfo;
using VMInfoStructs::SDiskMetadataInfo;
using VMInfoStructs::SDiskTotalBlockInfo;
using VMInfoStructs::SGuestFile;

namespace visdktest {

namespace {

// Slot texts: the managed parameter kind, then the value it received.
std::string StrOk(const char* managed)
{
    probe::ReturnString(managed, "answer");
    return "answer";
}
std::string VoidOk(const char*) { return ""; }

Row StrRow(const char* managed, const char* signature, std::function<std::string(CVISDKCppBridge&)> call)
{
    return Row{managed, signature, Kind::String, {}, StrOk, "", "Result is invalid (string)", std::move(call)};
}

Row VoidRow(const char* managed, const char* signature, std::vector<std::string> slots, std::function<void(CVISDKCppBridge&)> call)
{
    return Row{managed, signature, Kind::Void, std::move(slots), VoidOk, "", "",
               [call](CVISDKCppBridge& b) {
                   call(b);
                   return std::string();
               }};
}

#define SIG(text) "int VISDKCppBridge::CVISDKCppBridge::" text
#define BSIG(text) "bool VISDKCppBridge::CVISDKCppBridge::" text

std::vector<Row> MakeRows()
{
    std::vector<Row> rows;
    // Connection
    rows.push_back(IntRow("SetLogParameters", SIG("SetLogParameters(int, int, int, int)"), {Vi(1), Vi(2), Vi(3), Vi(4)},
                          [](CVISDKCppBridge& b) { return b.SetLogParameters(1, 2, 3, 4); }));
    rows.push_back(StrRow("GetLastErrorString", "std::string VISDKCppBridge::CVISDKCppBridge::GetLastErrorString()",
                          [](CVISDKCppBridge& b) { return b.GetLastErrorString(); }));
    rows.push_back(IntRow("Connect", SIG("Connect(const string&, const string&, const string&)"), {Sx("s1"), Sx("s2"), Sx("s3")},
                          [](CVISDKCppBridge& b) { return b.Connect("s1", "s2", "s3"); }));
    rows.push_back(IntRow("Disconnect", SIG("Disconnect()"), {}, [](CVISDKCppBridge& b) { return b.Disconnect(); }));
    rows.push_back(IntRow("CheckConnection", SIG("CheckConnection()"), {}, [](CVISDKCppBridge& b) { return b.CheckConnection(); }));
    rows.push_back(VoidRow("ReleaseConnection", "void VISDKCppBridge::CVISDKCppBridge::ReleaseConnection()", {},
                           [](CVISDKCppBridge& b) { b.ReleaseConnection(); }));
    const char* verify[][2] = {
        {"VerifyAccountForBackup", BSIG("VerifyAccountForBackup(std::vector<std::__cxx11::basic_string<char> >&)")},
        {"VerifyAccountForRestore", BSIG("VerifyAccountForRestore(std::vector<std::__cxx11::basic_string<char> >&)")},
        {"VerifyAccountForSnap", BSIG("VerifyAccountForSnap(std::vector<std::__cxx11::basic_string<char> >&)")}};
    for (auto& v : verify) {
        std::string name = v[0];
        rows.push_back(BoolRow(v[0], v[1], {LOx}, [name](CVISDKCppBridge& b) {
            std::vector<std::string> missing{"stale"};
            Watch watch(missing);
            if (name == "VerifyAccountForBackup")
                return b.VerifyAccountForBackup(missing);
            if (name == "VerifyAccountForRestore")
                return b.VerifyAccountForRestore(missing);
            return b.VerifyAccountForSnap(missing);
        }));
    }
    rows.push_back(BoolRow("IsVCenterConnection", BSIG("IsVCenterConnection()"), {},
                           [](CVISDKCppBridge& b) { return b.IsVCenterConnection(); }));
    rows.push_back(StrRow("GetCertificateThumbprint", "std::string VISDKCppBridge::CVISDKCppBridge::GetCertificateThumbprint()",
                          [](CVISDKCppBridge& b) { return b.GetCertificateThumbprint(); }));
    rows.push_back(StrRow("GetSessionKey", "std::string VISDKCppBridge::CVISDKCppBridge::GetSessionKey()",
                          [](CVISDKCppBridge& b) { return b.GetSessionKey(); }));
    rows.push_back(StrRow("GetSessionCookie", "std::string VISDKCppBridge::CVISDKCppBridge::GetSessionCookie()",
                          [](CVISDKCppBridge& b) { return b.GetSessionCookie(); }));
    rows.push_back(IntRow("GetConnectionVersion", SIG("GetConnectionVersion()"), {},
                          [](CVISDKCppBridge& b) { return b.GetConnectionVersion(); }));
    rows.push_back(IntRow("GetConnectionApiVersion", SIG("GetConnectionApiVersion()"), {},
                          [](CVISDKCppBridge& b) { return b.GetConnectionApiVersion(); }));
    rows.push_back(VoidRow("SetUseInstanceUuid", "void VISDKCppBridge::CVISDKCppBridge::SetUseInstanceUuid(bool)", {Vb(true)},
                           [](CVISDKCppBridge& b) { b.SetUseInstanceUuid(true); }));

    // Power, state and simple operations: two strings unless the row says otherwise
    typedef int (CVISDKCppBridge::*IntOp2)(const string&, const string&);
    typedef bool (CVISDKCppBridge::*BoolOp2)(const string&, const string&);
    struct Int2 {
        const char* managed;
        const char* signature;
        IntOp2 op;
    };
    const Int2 int2[] = {
        {"PowerOnVM", SIG("PowerOnVM(const string&, const string&)"), &CVISDKCppBridge::PowerOnVM},
        {"SuspendVM", SIG("SuspendVM(const string&, const string&)"), &CVISDKCppBridge::SuspendVM},
        {"PowerOffVM", SIG("PowerOffVM(const string&, const string&)"), &CVISDKCppBridge::PowerOffVM},
        {"ShutdownVM", SIG("ShutdownVM(const string&, const string&)"), &CVISDKCppBridge::ShutdownVM},
        {"ReloadVM", SIG("ReloadVM(const string&, const string&)"), &CVISDKCppBridge::ReloadVM},
        {"MountVMTools", SIG("MountVMTools(const string&, const string&)"), &CVISDKCppBridge::MountVMTools},
        {"MarkAsTemplate", SIG("MarkAsTemplate(const string&, const string&)"), &CVISDKCppBridge::MarkAsTemplate},
        {"SetVMManagedByZantrel", SIG("SetVMManagedByZantrel(const string&, const string&)"), &CVISDKCppBridge::SetVMManagedByZantrel},
        {"UnSetVMManagedByExtension", SIG("UnSetVMManagedByExtension(const string&, const string&)"),
         &CVISDKCppBridge::UnSetVMManagedByExtension},
        {"RemoveSnapshots", SIG("RemoveSnapshots(const string&, const string&)"), &CVISDKCppBridge::RemoveSnapshots},
        {"RevertToCurrentSnapshot", SIG("RevertToCurrentSnapshot(const string&, const string&)"),
         &CVISDKCppBridge::RevertToCurrentSnapshot},
        {"SetChangeTrackingEnabled", SIG("SetChangeTrackingEnabled(const string&, const string&)"),
         &CVISDKCppBridge::SetChangeTrackingEnabled},
        {"SetChangeTrackingDisabled", SIG("SetChangeTrackingDisabled(const string&, const string&)"),
         &CVISDKCppBridge::SetChangeTrackingDisabled},
    };
    for (const Int2& r : int2) {
        IntOp2 op = r.op;
        rows.push_back(IntRow(r.managed, r.signature, {Sx("s1"), Sx("s2")}, [op](CVISDKCppBridge& b) { return (b.*op)("s1", "s2"); }));
    }
    struct Bool2 {
        const char* managed;
        const char* signature;
        BoolOp2 op;
    };
    const Bool2 bool2[] = {
        {"ClearVMAlarms", BSIG("ClearVMAlarms(const string&, const string&)"), &CVISDKCppBridge::ClearVMAlarms},
        {"ResetNetworkConnections", BSIG("ResetNetworkConnections(const string&, const string&)"),
         &CVISDKCppBridge::ResetNetworkConnections},
        {"AddVirtualNetwork", BSIG("AddVirtualNetwork(const string&, const string&)"), &CVISDKCppBridge::AddVirtualNetwork},
        {"RemoveVirtualNetwork", BSIG("RemoveVirtualNetwork(const string&, const string&)"), &CVISDKCppBridge::RemoveVirtualNetwork},
        {"VerifyVMXVersionForHost", BSIG("VerifyVMXVersionForHost(const string&, const string&)"),
         &CVISDKCppBridge::VerifyVMXVersionForHost},
    };
    for (const Bool2& r : bool2) {
        BoolOp2 op = r.op;
        rows.push_back(BoolRow(r.managed, r.signature, {Sx("s1"), Sx("s2")}, [op](CVISDKCppBridge& b) { return (b.*op)("s1", "s2"); }));
    }
    rows.push_back(IntRow("RenameVM", SIG("RenameVM(const string&, const string&, const string&)"), {Sx("s1"), Sx("s2"), Sx("s3")},
                          [](CVISDKCppBridge& b) { return b.RenameVM("s1", "s2", "s3"); }));
    rows.push_back(IntRow("Reconfig_UUID", SIG("ReConfigureUUID(const string&, const string&, const string&, const string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")},
                          [](CVISDKCppBridge& b) { return b.ReConfigureUUID("s1", "s2", "s3", "s4"); }));
    rows.push_back(IntRow("AnnotateVM", SIG("AnnotateVM(const string&, const string&, const string&)"), {Sx("s1"), Sx("s2"), Sx("s3")},
                          [](CVISDKCppBridge& b) { return b.AnnotateVM("s1", "s2", "s3"); }));

    // Snapshots
    rows.push_back(IntRow("CreateBackupSnapshot", SIG("CreateBackupSnapshot(const string&, const string&, bool, bool, std::string&)"),
                          {Sx("s1"), Sx("s2"), Vb(true), Vb(false), OSx}, [](CVISDKCppBridge& b) {
                              std::string out = "keep";
                              Watch watch(out);
                              return b.CreateBackupSnapshot("s1", "s2", true, false, out);
                          }));
    rows.push_back(IntRow("CreateSnapshotWithName",
                          SIG("CreateSnapshotWithName(const string&, const string&, const string&, const string&, bool, bool, "
                              "std::string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(false), Vb(true), OSx}, [](CVISDKCppBridge& b) {
                              std::string out = "keep";
                              Watch watch(out);
                              return b.CreateSnapshotWithName("s1", "s2", "s3", "s4", false, true, out);
                          }));
    rows.push_back(IntRow("CreateReplicationSnapshot",
                          SIG("CreateReplicationSnapshot(const string&, const string&, bool, bool, std::string&)"),
                          {Sx("s1"), Sx("s2"), Vb(true), Vb(true), OSx}, [](CVISDKCppBridge& b) {
                              std::string out = "keep";
                              Watch watch(out);
                              return b.CreateReplicationSnapshot("s1", "s2", true, true, out);
                          }));
    rows.push_back(IntRow("RemoveSnapshot", SIG("RemoveSnapshot(const string&, const string&, const string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3")}, [](CVISDKCppBridge& b) { return b.RemoveSnapshot("s1", "s2", "s3"); }));
    rows.push_back(IntRow("RemoveSnapshot_Task", SIG("RemoveSnapshot_Task(const string&, const string&, const string&, std::string&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), OSx}, [](CVISDKCppBridge& b) {
                              std::string task = "keep";
                              Watch watch(task);
                              return b.RemoveSnapshot_Task("s1", "s2", "s3", task);
                          }));
    rows.push_back(IntRow("RemoveOldSnapshots", SIG("RemoveOldSnapshots(const string&, const string&, int)"),
                          {Sx("s1"), Sx("s2"), Vi(30)}, [](CVISDKCppBridge& b) { return b.RemoveOldSnapshots("s1", "s2", 30); }));
    rows.push_back(IntRow("CountBackupSnapshots", SIG("CountBackupSnapshots(const string&, const string&, int&)"),
                          {Sx("s1"), Sx("s2"), Ri(5)}, [](CVISDKCppBridge& b) {
                              int count = 5;
                              Watch watch(count);
                              return b.CountBackupSnapshots("s1", "s2", count);
                          }));
    rows.push_back(IntRow("CountReplicationSnapshots", SIG("CountReplicationSnapshots(const string&, const string&, int&)"),
                          {Sx("s1"), Sx("s2"), Ri(6)}, [](CVISDKCppBridge& b) {
                              int count = 6;
                              Watch watch(count);
                              return b.CountReplicationSnapshots("s1", "s2", count);
                          }));
    rows.push_back(BoolRow("RevertToSnapshot", BSIG("RevertToSnapshot(const string&, const string&, const string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3")}, [](CVISDKCppBridge& b) { return b.RevertToSnapshot("s1", "s2", "s3"); }));
    rows.push_back(BoolRow("GetSnapshotInfo",
                           BSIG("GetSnapshotInfo(const string&, const string&, const string&, std::string&, time_t&, std::string&, "
                                "bool&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), OSx, DTx, OSx, Rb(true)}, [](CVISDKCppBridge& b) {
                               std::string name = "keep", description = "keep";
                               time_t created = 5;
                               bool flag = true;
                               Watch watch(name, created, description, flag);
                               return b.GetSnapshotInfo("s1", "s2", "s3", name, created, description, flag);
                           }));
    rows.push_back(BoolRow("GetSnapshotSize",
                           BSIG("GetSnapshotSize(const string&, const string&, const string&, long long unsigned int&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Rl(11)}, [](CVISDKCppBridge& b) {
                               unsigned long long size = 11;
                               Watch watch(size);
                               return b.GetSnapshotSize("s1", "s2", "s3", size);
                           }));
    rows.push_back(Row{"GetSnapshotFileNameUsingSnapMoref",
                       SIG("GetSnapshotFileNameUsingSnapMoref(const string&, const string&, const string&, std::string&)"), Kind::Object,
                       {Sx("s1"), Sx("s2"), Sx("s3")}, [](const char* m) {
                           probe::ReturnString(m, "[ds1] vm/vm.vmdk");
                           return std::string("1");
                       },
                       "0", "Result is invalid (string)", [](CVISDKCppBridge& b) {
                           std::string file = "keep";
                           Watch watch(file);
                           return Num(b.GetSnapshotFileNameUsingSnapMoref("s1", "s2", "s3", file));
                       }});
    rows.push_back(BoolRow("SetVMSnapshotLocation",
                           BSIG("SetVMSnapshotLocation(const string&, const string&, const string&, const string&, bool)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true)},
                           [](CVISDKCppBridge& b) { return b.SetVMSnapshotLocation("s1", "s2", "s3", "s4", true); }));
    rows.push_back(BoolRow("CheckCreateSnapshotMethodDisabled",
                           BSIG("CheckCreateSnapshotMethodDisabled(const string&, const string&, std::string&)"), {Sx("s1"), Sx("s2"), OSx},
                           [](CVISDKCppBridge& b) {
                               std::string reason = "keep";
                               Watch watch(reason);
                               return b.CheckCreateSnapshotMethodDisabled("s1", "s2", reason);
                           }));

    // Change tracking
    rows.push_back(Row{"GetChangeIdForDisk",
                       SIG("GetChangeIdForDisk(const string&, const string&, const string&, const string&, std::string&)"), Kind::Object,
                       {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")}, [](const char* m) {
                           probe::ReturnString(m, "52 aa/7");
                           return std::string("1");
                       },
                       "0", "Result is invalid (string)", [](CVISDKCppBridge& b) {
                           std::string id = "old";
                           Watch watch(id);
                           return Num(b.GetChangeIdForDisk("s1", "s2", "s3", "s4", id));
                       }});
    rows.push_back(Row{"QueryChangedDiskAreas",
                       SIG("QueryChangedDiskAreas(const string&, const string&, const string&, const string&, long long int, const "
                           "string&, VMInfoStructs::SDiskChangeInfo&)"),
                       Kind::Object, {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vl(1LL << 40), Sx("s6")}, [](const char* m) {
                           probe::Return(m, NewRecord("SDiskChangeInfoLib"));
                           return std::string("1");
                       },
                       "0", "", [](CVISDKCppBridge& b) {
                           SDiskChangeInfo changes;
                           changes.llLength = 5;
                           Watch watch(changes);
                           return Num(b.QueryChangedDiskAreas("s1", "s2", "s3", "s4", 1LL << 40, "s6", changes));
                       }});
    rows.push_back(IntRow("GetDiskBlockInfoList",
                          SIG("GetDiskBlockInfo(const string&, const string&, const string&, const string&, bool, "
                              "VMInfoStructs::SDiskTotalBlockInfo&, std::vector<VMInfoStructs::SDiskMetadataInfo>&)"),
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true), "ref SDiskTotalBlockInfoLib SDiskTotalBlockInfoLib", LOx},
                          [](CVISDKCppBridge& b) {
                              SDiskTotalBlockInfo blocks;
                              blocks.totalsize = 99;
                              std::vector<SDiskMetadataInfo> metadata(3);
                              Watch watch(blocks, metadata);
                              return b.GetDiskBlockInfo("s1", "s2", "s3", "s4", true, blocks, metadata);
                          }));
    rows.push_back(Row{"GetPageInfoForExtent",
                       BSIG("GetPageInfoForExtent(const string&, const string&, const string&, int, "
                            "std::vector<std::__cxx11::basic_string<char> >&)"),
                       Kind::Object, {Sx("s1"), Sx("s2"), Sx("s3"), Vi(9)}, [](const char* m) {
                           probe::Return(m, NewStringList({"p1"}));
                           return std::string("1");
                       },
                       "0", "", [](CVISDKCppBridge& b) {
                           std::vector<std::string> pages{"stale"};
                           Watch watch(pages);
                           return Num(b.GetPageInfoForExtent("s1", "s2", "s3", 9, pages));
                       }});

    // Guest operations
    rows.push_back(BoolRow("BrowseGuest",
                           BSIG("BrowseGuest(const string&, const string&, const string&, const string&, const string&, "
                                "std::vector<VMInfoStructs::SGuestFile>&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), LOx}, [](CVISDKCppBridge& b) {
                               std::vector<SGuestFile> files(2);
                               Watch watch(files);
                               return b.BrowseGuest("s1", "s2", "s3", "s4", "s5", files);
                           }));
    rows.push_back(BoolRow("BrowseGuestFolders",
                           BSIG("BrowseGuestFolders(const string&, const string&, const string&, const string&, const string&, "
                                "std::vector<VMInfoStructs::SGuestFile>&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), LOx}, [](CVISDKCppBridge& b) {
                               std::vector<SGuestFile> files(2);
                               Watch watch(files);
                               return b.BrowseGuestFolders("s1", "s2", "s3", "s4", "s5", files);
                           }));
    rows.push_back(BoolRow("CreateGuestFolder",
                           BSIG("CreateGuestFolder(const string&, const string&, const string&, const string&, const string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5")},
                           [](CVISDKCppBridge& b) { return b.CreateGuestFolder("s1", "s2", "s3", "s4", "s5"); }));
    rows.push_back(BoolRow("CopyFileFromGuest",
                           BSIG("CopyFileFromGuest(const string&, const string&, const string&, const string&, const string&, const "
                                "string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6")},
                           [](CVISDKCppBridge& b) { return b.CopyFileFromGuest("s1", "s2", "s3", "s4", "s5", "s6"); }));
    rows.push_back(BoolRow("CopyFileToGuest",
                           BSIG("CopyFileToGuest(const string&, const string&, const string&, const string&, const string&, const "
                                "string&, bool)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6"), Vb(true)},
                           [](CVISDKCppBridge& b) { return b.CopyFileToGuest("s1", "s2", "s3", "s4", "s5", "s6", true); }));
    rows.push_back(BoolRow("ExecuteScriptInGuest",
                           BSIG("ExecuteScriptInGuest(const string&, const string&, const string&, const string&, const string&, "
                                "const string&, const string&, int, const string&, int&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6"), Sx("s7"), Vi(60), Sx("s9"), Ri(-1)},
                           [](CVISDKCppBridge& b) {
                               int code = -1;
                               Watch watch(code);
                               return b.ExecuteScriptInGuest("s1", "s2", "s3", "s4", "s5", "s6", "s7", 60, "s9", code);
                           }));
    rows.push_back(BoolRow("ExecuteProcessInGuest",
                           BSIG("ExecuteProcessInGuest(const string&, const string&, const string&, const string&, const string&, "
                                "const string&, const string&, int, int&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6"), Sx("s7"), Vi(30), Ri(-2)},
                           [](CVISDKCppBridge& b) {
                               int code = -2;
                               Watch watch(code);
                               return b.ExecuteProcessInGuest("s1", "s2", "s3", "s4", "s5", "s6", "s7", 30, code);
                           }));
    rows.push_back(BoolRow("IsProcessRunningInGuest",
                           BSIG("IsProcessRunningInGuest(const string&, const string&, const string&, const string&, const string&, "
                                "long int, bool&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Vl(4242), Rb(false)}, [](CVISDKCppBridge& b) {
                               bool running = false;
                               Watch watch(running);
                               return b.IsProcessRunningInGuest("s1", "s2", "s3", "s4", "s5", 4242, running);
                           }));
    rows.push_back(BoolRow("GetGuestTempFolder",
                           BSIG("GetGuestTempFolder(const string&, const string&, const string&, const string&, std::string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), OSx}, [](CVISDKCppBridge& b) {
                               std::string folder = "keep";
                               Watch watch(folder);
                               return b.GetGuestTempFolder("s1", "s2", "s3", "s4", folder);
                           }));
    rows.push_back(BoolRow("DeleteDirectoryInGuest",
                           BSIG("DeleteDirectoryInGuest(const string&, const string&, const string&, const string&, std::string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5")}, [](CVISDKCppBridge& b) {
                               std::string path = "s5";
                               return b.DeleteDirectoryInGuest("s1", "s2", "s3", "s4", path);
                           }));
    rows.push_back(BoolRow("ChangeGuestFileAttributes",
                           BSIG("ChangeGuestFileAttributes(const string&, const string&, const string&, const string&, const string&, "
                                "VMInfoStructs::SGuestFile)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), "SGuestFileLib SGuestFileLib"}, [](CVISDKCppBridge& b) {
                               SGuestFile file;
                               return b.ChangeGuestFileAttributes("s1", "s2", "s3", "s4", "s5", file);
                           }));
    rows.push_back(BoolRow("ComputeGuestSize", BSIG("ComputeGuestSize(const string&, const string&, long long unsigned int&)"),
                           {Sx("s1"), Sx("s2"), Rl(12)}, [](CVISDKCppBridge& b) {
                               unsigned long long size = 12;
                               Watch watch(size);
                               return b.ComputeGuestSize("s1", "s2", size);
                           }));
    return rows;
}

} // namespace

namespace {
thread_local std::string t_onEntry, t_afterwards;
}

void NoteOutputs(bool onEntry, const std::string& text) { (onEntry ? t_onEntry : t_afterwards) = text; }

bool CopiesBackWhateverTheAnswer(const Row& row)
{
    std::string managed = row.managed;
    return managed == "GetDiskBlockInfoList" || managed == "GetDetailsForFileOnHost" || managed == "GetIOFilterStatus";
}

std::string CallWatched(const Row& row, CVISDKCppBridge& bridge, bool& changed)
{
    t_onEntry.clear();
    t_afterwards.clear();
    std::string result = row.call(bridge);
    changed = t_onEntry != t_afterwards;
    return result;
}

const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> all = MakeRows();
        for (Row& row : InventoryRows())
            all.push_back(std::move(row));
        all.insert(all.end(), VmRows().begin(), VmRows().end());
        for (Row& row : ManagementRows())
            all.push_back(std::move(row));
        return all;
    }();
    return rows;
}

} // namespace visdktest
