#include "RowMakers.h"

#include <deque>

#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;

namespace visdktest {

namespace {

// A VM record that a lookup accepts: both key fields filled.
MonoObject* KeyedVm()
{
    MonoObject* vm = NewRecord("SVMInfoLib");
    MonoClass* klass = mono_object_get_class(vm);
    SetStringFieldValue(klass, vm, "strName", "vm-1");
    SetStringFieldValue(klass, vm, "strUuid", "4200");
    return vm;
}

// A record already holding something, so that a change to it shows.
VMInfoStructs::SVMInfo Kept()
{
    VMInfoStructs::SVMInfo vm;
    vm.strName = "kept";
    vm.strUuid = "4200-kept";
    return vm;
}

// Rows of this family name their signature without the result type and class, which are added here.
template <typename Call>
Row IntOp(const char* managed, const std::string& signature, std::vector<std::string> slots, Call call)
{
    return IntRow(managed, Keep("int VISDKCppBridge::CVISDKCppBridge::" + signature), std::move(slots), call);
}

template <typename Call>
Row BoolOp(const char* managed, const std::string& signature, std::vector<std::string> slots, Call call)
{
    return BoolRow(managed, Keep("bool VISDKCppBridge::CVISDKCppBridge::" + signature), std::move(slots), call);
}

const char* kFiles = "std::vector<std::__cxx11::basic_string<char> >&";

std::vector<Row> MakeRows()
{
    std::vector<Row> rows;
    const std::string s2 = "const string&, const string&";
    const std::string s3 = s2 + ", const string&";
    const std::string s4 = s3 + ", const string&";
    const std::string s5 = s4 + ", const string&";
    const std::string s6 = s5 + ", const string&";

    // VM create, register, delete and disks
    rows.push_back(IntOp("CreateVM", "CreateVM(" + s5 + ", std::string&)", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), OSx},
                          [](CVISDKCppBridge& b) {
                              std::string uuid = "kept";
                              Watch watch(uuid);
                              return b.CreateVM("s1", "s2", "s3", "s4", "s5", uuid);
                          }));
    rows.push_back(IntOp("CreateVirtualMachine", "CreateVirtualMachine(VMInfoStructs::SVMInfo&)", {"SVMInfoLib SVMInfoLib", OSx},
                          [](CVISDKCppBridge& b) {
                              VMInfoStructs::SVMInfo info;
                              info.strName = "made";
                              info.strUuid = "kept";
                              Watch watch(info);
                              return b.CreateVirtualMachine(info);
                          }));
    using Pair = int (CVISDKCppBridge::*)(const string&, const string&);
    const std::pair<const char*, Pair> pairs[] = {{"DeleteVM", &CVISDKCppBridge::DeleteVM},
                                                  {"DeleteVMDiskFiles", &CVISDKCppBridge::DeleteVMDiskFiles},
                                                  {"UnRegisterVM", &CVISDKCppBridge::UnregisterVM},
                                                  {"CreateDataStoreFolder", &CVISDKCppBridge::CreateDatastoreFolder},
                                                  {"RemoveDatastore", &CVISDKCppBridge::RemoveDatastore}};
    const char* pairNames[] = {"DeleteVM", "DeleteVMDiskFiles", "UnregisterVM", "CreateDatastoreFolder", "RemoveDatastore"};
    for (size_t i = 0; i < 5; ++i) {
        Pair op = pairs[i].second;
        rows.push_back(IntOp(pairs[i].first, std::string(pairNames[i]) + "(" + s2 + ")", {Sx("s1"), Sx("s2")},
                              [op](CVISDKCppBridge& b) { return (b.*op)("s1", "s2"); }));
    }
    rows.push_back(IntOp("RegisterVM", "RegisterVM(" + s5 + ", std::string&)",
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), IOSx("s6")}, [](CVISDKCppBridge& b) {
                              std::string vm = "s6";
                              Watch watch(vm);
                              return b.RegisterVM("s1", "s2", "s3", "s4", "s5", vm);
                          }));
    rows.push_back(IntOp("RegisterVMWithNewUUID", "RegisterVMWithNewUUID(" + s3 + ", std::string&)", {Sx("s1"), Sx("s2"), Sx("s3"), OSx},
                          [](CVISDKCppBridge& b) {
                              std::string uuid = "kept";
                              Watch watch(uuid);
                              return b.RegisterVMWithNewUUID("s1", "s2", "s3", uuid);
                          }));
    rows.push_back(IntOp("ReRegisterVM", "ReregisterVM(const string&, std::string&)", {Sx("s1"), IOSx("s2")}, [](CVISDKCppBridge& b) {
        std::string vm = "s2";
        Watch watch(vm);
        return b.ReregisterVM("s1", vm);
    }));
    rows.push_back(BoolOp("RegisterFirstClassDisk", "RegisterFirstClassDisk(" + s5 + ")", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5")},
                           [](CVISDKCppBridge& b) { return b.RegisterFirstClassDisk("s1", "s2", "s3", "s4", "s5"); }));
    rows.push_back(IntOp("AddDiskToVM", "AddDiskToVM(" + s3 + ", long long int, bool, bool, bool, bool, bool)",
                          {Sx("s1"), Sx("s2"), Sx("s3"), Vl(5LL << 32), Vb(true), Vb(false), Vb(true), Vb(false), Vb(true)},
                          [](CVISDKCppBridge& b) { return b.AddDiskToVM("s1", "s2", "s3", 5LL << 32, true, false, true, false, true); }));
    rows.push_back(IntOp("RemoveDiskFromVM", "RemoveDiskFromVM(" + s3 + ", bool)", {Sx("s1"), Sx("s2"), Sx("s3"), Vb(true)},
                          [](CVISDKCppBridge& b) { return b.RemoveDiskFromVM("s1", "s2", "s3", true); }));
    rows.push_back(IntOp("RemoveISOFromVM", "RemoveISOFromVM(" + s3 + ", bool)", {Sx("s1"), Sx("s2"), Sx("s3"), Vb(false)},
                          [](CVISDKCppBridge& b) { return b.RemoveISOFromVM("s1", "s2", "s3", false); }));
    rows.push_back(IntOp("ChangeDiskUUID", "ChangeDiskUUID(" + s3 + ")", {Sx("s1"), Sx("s2"), Sx("s3")},
                          [](CVISDKCppBridge& b) { return b.ChangeDiskUUID("s1", "s2", "s3"); }));
    rows.push_back(Row{"AddRDMToVM", "std::string VISDKCppBridge::CVISDKCppBridge::AddRDMToVM(const string&, const string&, const "
                                     "string&, const string&, int, int, int, const string&)",
                       Kind::String, {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vi(1), Vi(-2), Vi(3), Sx("s8")},
                       [](const char* m) {
                           probe::ReturnString(m, "[ds] vm/vm_rdm1.vmdk");
                           return std::string("[ds] vm/vm_rdm1.vmdk");
                       },
                       "", "Result is invalid (string)",
                       [](CVISDKCppBridge& b) { return b.AddRDMToVM("s1", "s2", "s3", "s4", 1, -2, 3, "s8"); }});
    rows.push_back(BoolOp("CheckVMConsolidateStatus", "CheckVMConsolidateStatus(" + s2 + ")", {Sx("s1"), Sx("s2")},
                           [](CVISDKCppBridge& b) { return b.CheckVMConsolidateStatus("s1", "s2"); }));
    rows.push_back(BoolOp("ConsolidateVMDisks", "ConsolidateVMDisks(" + s2 + ", bool&)", {Sx("s1"), Sx("s2"), Rb(true)},
                           [](CVISDKCppBridge& b) {
                               bool needed = true;
                               Watch watch(needed);
                               return b.ConsolidateVMDisks("s1", "s2", needed);
                           }));
    // The two-argument form runs entirely as the three-argument one, under its signature.
    rows.push_back(BoolOp("ConsolidateVMDisks", "ConsolidateVMDisks(" + s2 + ", bool&)", {Sx("s1"), Sx("s2"), Rb(false)},
                           [](CVISDKCppBridge& b) { return b.ConsolidateVMDisks("s1", "s2"); }));

    // Lookups and browsing
    auto found = [](const char* m) {
        probe::Return(m, KeyedVm());
        return std::string("1");
    };
    const unsigned long long mask = 0x8000000000000011ULL;
    const std::string info = "VMInfoStructs::SVMInfo&)";
    rows.push_back(Row{"GetVMInfoForVM", Keep("int VISDKCppBridge::CVISDKCppBridge::GetVMInfoForVM(" + s3 + ", UINT64, int, " + info),
                       Kind::Object, {Sx("s1"), Sx("s2"), Sx("s3"), Vu(mask), Vi(7)}, found, "0", "", [mask](CVISDKCppBridge& b) {
                           VMInfoStructs::SVMInfo vm = Kept();
                           Watch watch(vm);
                           return Num(b.GetVMInfoForVM("s1", "s2", "s3", mask, 7, vm));
                       }});
    rows.push_back(Row{"GetVMInfoForVMSnapshot",
                       Keep("int VISDKCppBridge::CVISDKCppBridge::GetVMInfoForVMSnapshot(" + s2 + ", UINT64, int, std::string&, " + info),
                       Kind::Object, {Sx("s1"), Sx("s2"), Vu(mask), Vi(7), IOSx("s5")}, found, "0", "", [mask](CVISDKCppBridge& b) {
                           VMInfoStructs::SVMInfo vm = Kept();
                           std::string snapshot = "s5";
                           Watch watch(vm, snapshot);
                           return Num(b.GetVMInfoForVMSnapshot("s1", "s2", mask, 7, snapshot, vm));
                       }});
    rows.push_back(Row{"GetVMInfoForVMByVMX", Keep("int VISDKCppBridge::CVISDKCppBridge::GetVMInfoForVMByVMX(const string&, UINT64, int, " + info),
                       Kind::Object, {Sx("s1"), Vu(mask), Vi(7)}, found, "0", "", [mask](CVISDKCppBridge& b) {
                           VMInfoStructs::SVMInfo vm = Kept();
                           Watch watch(vm);
                           return Num(b.GetVMInfoForVMByVMX("s1", mask, 7, vm));
                       }});
    rows.push_back(Row{"GetVMInfoForVMByMoref",
                       Keep("bool VISDKCppBridge::CVISDKCppBridge::GetVMInfoForVMByMoref(const string&, UINT64, int, " + info), Kind::Object,
                       {Sx("s1"), Vu(mask), Vi(7)}, found, "0", "", [mask](CVISDKCppBridge& b) {
                           VMInfoStructs::SVMInfo vm = Kept();
                           Watch watch(vm);
                           return Num(b.GetVMInfoForVMByMoref("s1", mask, 7, vm));
                       }});
    auto browsed = [](const char* m) {
        probe::Return(m, NewList("SVMInfoLib"));
        return std::string("1");
    };
    using Browse = int (CVISDKCppBridge::*)(const string&, int, UINT64, int, std::vector<VMInfoStructs::SVMInfo>&);
    const std::pair<const char*, Browse> browses[] = {{"BrowseInventoryByMoref", &CVISDKCppBridge::BrowseInventoryByMoref},
                                                      {"BrowseInventoryByName", &CVISDKCppBridge::BrowseInventoryByName}};
    for (const auto& entry : browses) {
        Browse op = entry.second;
        rows.push_back(Row{entry.first,
                           Keep(std::string("int VISDKCppBridge::CVISDKCppBridge::") + entry.first +
                                "(const string&, int, UINT64, int, std::vector<VMInfoStructs::SVMInfo>&)"),
                           Kind::Object, {Sx("s1"), Vi(2), Vu(mask), Vi(7)}, browsed, "0", "", [op, mask](CVISDKCppBridge& b) {
                               std::vector<VMInfoStructs::SVMInfo> vms{Kept()};
                               Watch watch(vms);
                               return Num((b.*op)("s1", 2, mask, 7, vms));
                           }});
    }

    // Datastore files and transfers
    rows.push_back(IntOp("CopyDatastoreFile", "CopyDatastoreFile(" + s6 + ")", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6")},
                          [](CVISDKCppBridge& b) { return b.CopyDatastoreFile("s1", "s2", "s3", "s4", "s5", "s6"); }));
    rows.push_back(IntOp("CopyDatastoreFile", "CopyDatastoreFile(" + s6 + ", const string&)",
                          {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5"), Sx("s6"), Sx("s7")},
                          [](CVISDKCppBridge& b) { return b.CopyDatastoreFile("s1", "s2", "s3", "s4", "s5", "s6", "s7"); }));
    rows.push_back(IntOp("DeleteDatastoreFile", "DeleteDatastoreFile(" + s4 + ")", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")},
                          [](CVISDKCppBridge& b) { return b.DeleteDatastoreFile("s1", "s2", "s3", "s4"); }));
    const std::string filesSignature =
        "int VISDKCppBridge::CVISDKCppBridge::GetFilesOnDSForHost(" + s4 + ", bool, " + kFiles + ")";
    auto listed = [](const char* m) {
        probe::Return(m, NewStringList({"a.vmx"}));
        return std::string("1");
    };
    rows.push_back(Row{"GetFilesOnDSForHost", Keep(filesSignature), Kind::Object,
                       {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true)}, listed, "0", "", [](CVISDKCppBridge& b) {
                           std::vector<std::string> files{"kept"};
                           Watch watch(files);
                           return Num(b.GetFilesOnDSForHost("s1", "s2", "s3", "s4", true, files));
                       }});
    // The short form hands an empty third string to the full one.
    rows.push_back(Row{"GetFilesOnDSForHost", Keep(filesSignature), Kind::Object,
                       {Sx("s1"), Sx("s2"), Sx(""), Sx("s3"), Vb(false)}, listed, "0", "", [](CVISDKCppBridge& b) {
                           std::vector<std::string> files{"kept"};
                           Watch watch(files);
                           return Num(b.GetFilesOnDSForHost("s1", "s2", "s3", false, files));
                       }});
    rows.push_back(Row{"GetDownloadDatastoreFileUrl",
                       "std::string VISDKCppBridge::CVISDKCppBridge::GetDownloadDatastoreFileUrl(const string&, const string&, const "
                       "string&, const string&)",
                       Kind::String, {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4")},
                       [](const char* m) {
                           probe::ReturnString(m, "https://h/folder/f");
                           return std::string("https://h/folder/f");
                       },
                       "", "Result is invalid (string)",
                       [](CVISDKCppBridge& b) { return b.GetDownloadDatastoreFileUrl("s1", "s2", "s3", "s4"); }});
    using Transfer = int (CVISDKCppBridge::*)(const string&, const string&, const string&, const string&, const string&);
    const std::pair<const char*, Transfer> transfers[] = {
        {"DownloadDatastoreFile", &CVISDKCppBridge::DownloadDatastoreFile},
        {"DownloadDatastoreFileFromHost", &CVISDKCppBridge::DownloadDatastoreFileFromHost},
        {"UploadDatastoreFile", &CVISDKCppBridge::UploadDatastoreFile},
        {"UploadDatastoreFileToHost", &CVISDKCppBridge::UploadDatastoreFileToHost}};
    for (const auto& t : transfers) {
        Transfer op = t.second;
        rows.push_back(IntOp(t.first, std::string(t.first) + "(" + s5 + ")", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Sx("s5")},
                              [op](CVISDKCppBridge& b) { return (b.*op)("s1", "s2", "s3", "s4", "s5"); }));
    }
    rows.push_back(IntOp("CheckDatastoreFile", "CheckDatastoreFile(" + s4 + ", bool)", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true)},
                          [](CVISDKCppBridge& b) { return b.CheckDatastoreFile("s1", "s2", "s3", "s4", true); }));
    rows.push_back(IntOp("CheckDatastoreSpace", "CheckdatastoreSpace(" + s2 + ", int)", {Sx("s1"), Sx("s2"), Vi(2048)},
                          [](CVISDKCppBridge& b) { return b.CheckdatastoreSpace("s1", "s2", 2048); }));
    rows.push_back(BoolOp("GetDetailsForFileOnHost", "GetDetailsForFileOnHost(" + s4 + ", bool, bool, VMInfoStructs::SVMFile&)",
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true), Vb(false), "ref SVMFileLib SVMFileLib"},
                           [](CVISDKCppBridge& b) {
                               VMInfoStructs::SVMFile file;
                               file.strName = "kept";
                               Watch watch(file);
                               return b.GetDetailsForFileOnHost("s1", "s2", "s3", "s4", true, false, file);
                           }));
    rows.push_back(IntOp("CreateNASDatastore", "CreateNASDatastore(" + s4 + ", bool)", {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), Vb(true)},
                          [](CVISDKCppBridge& b) { return b.CreateNASDatastore("s1", "s2", "s3", "s4", true); }));
    rows.push_back(BoolOp("IsDatastoreConnected", "IsDatastoreConnected(" + s2 + ")", {Sx("s1"), Sx("s2")},
                           [](CVISDKCppBridge& b) { return b.IsDatastoreConnected("s1", "s2"); }));
    rows.push_back(BoolOp("CheckDownloadFromHostPrivilege", "CheckDownloadFromHostPrivilege(const string&)", {Sx("s1")},
                           [](CVISDKCppBridge& b) { return b.CheckDownloadFromHostPrivilege("s1"); }));
    return rows;
}

} // namespace

const std::vector<Row>& VmRows()
{
    static const std::vector<Row> rows = MakeRows();
    return rows;
}

} // namespace visdktest
