// Rows of the inventory, lookup, host and snapshot-mount operations.
#include "RowMakers.h"

#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;

namespace visdktest {

namespace {

const UINT64 kMask = 0x8000000100000001ULL;

// A list query: a list back gives 1, anything else 0 without a message of its own.
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

// A lookup answered with a record whose key fields are set.
template <typename Call>
Row LookupRow(const char* managed, const char* signature, const char* recordClass,
              std::initializer_list<std::pair<const char*, const char*>> keys, std::vector<std::string> slots, Call call)
{
    std::string klass = recordClass;
    std::vector<std::pair<const char*, const char*>> fields(keys);
    return Row{managed, signature, Kind::Object, std::move(slots),
               [klass, fields](const char* m) {
                   MonoObject* record = NewRecord(klass.c_str());
                   for (const auto& field : fields)
                       SetStringFieldValue(mono_object_get_class(record), record, field.first, field.second);
                   probe::Return(m, record);
                   return std::string("1");
               },
               "0", "", [call](CVISDKCppBridge& b) { return Num(call(b)); }};
}

template <typename Call>
Row StrRow(const char* managed, const char* signature, std::vector<std::string> slots, Call call)
{
    return Row{managed, signature, Kind::String, std::move(slots),
               [](const char* m) {
                   probe::ReturnString(m, "2024-06-03T09:00:00.000Z");
                   return std::string("2024-06-03T09:00:00.000Z");
               },
               "", "Result is invalid (string)", call};
}

#define SIG(text) "int VISDKCppBridge::CVISDKCppBridge::" text
#define BSIG(text) "bool VISDKCppBridge::CVISDKCppBridge::" text

typedef int (CVISDKCppBridge::*Refresh)(UINT64, int);

} // namespace

std::vector<Row> InventoryRows()
{
    std::vector<Row> rows;
    const std::vector<std::string> maskSlots{Vu(kMask), Vi(-3)};
    const std::vector<std::string> nameMaskSlots{Sx("h1"), Vu(kMask), Vi(-3)};

    rows.push_back(ListRow("GetHostInfoList", SIG("GetHostInfoList(std::vector<VMInfoStructs::SHostInfo>&, UINT64, int)"), "SHostInfoLib",
                           maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SHostInfo> v(2);
                               Watch watch(v);
                               return b.GetHostInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetDCInfoList", SIG("GetDCInfoList(std::vector<VMInfoStructs::SDataCenterInfo>&, UINT64, int)"),
                           "SDataCenterInfoLib", maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SDataCenterInfo> v(2);
                               Watch watch(v);
                               return b.GetDCInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetDSInfoList", SIG("GetDSInfoList(std::vector<VMInfoStructs::SDatastoreInfo>&, UINT64, int)"),
                           "SDatastoreInfoLib", maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SDatastoreInfo> v(2);
                               Watch watch(v);
                               return b.GetDSInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetDSInfoListForHostOrCluster",
                           SIG("GetDSInfoListForHostOrCluster(const string&, std::vector<VMInfoStructs::SDatastoreInfo>&, UINT64, int)"),
                           "SDatastoreInfoLib", nameMaskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SDatastoreInfo> v(2);
                               Watch watch(v);
                               return b.GetDSInfoListForHostOrCluster("h1", v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetSupportedGuestOSInfoListForHostOrCluster",
                           SIG("GetSupportedGuestOSInfoListForHostOrCluster(const string&, std::vector<VMInfoStructs::SGuestOSInfo>&)"),
                           "SGuestOSInfoLib", {Sx("h1")}, [](CVISDKCppBridge& b) {
                               std::vector<SGuestOSInfo> v(2);
                               Watch watch(v);
                               return b.GetSupportedGuestOSInfoListForHostOrCluster("h1", v);
                           }));
    rows.push_back(ListRow("GetRpInfoList", SIG("GetResourcePoolList(std::vector<VMInfoStructs::SResourcePoolInfo>&, UINT64, int)"),
                           "SResourcePoolInfoLib", maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SResourcePoolInfo> v(2);
                               Watch watch(v);
                               return b.GetResourcePoolList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetRPInfoListForHostOrCluster",
                           SIG("GetResourcePoolListForHostOrCluster(const string&, std::vector<VMInfoStructs::SResourcePoolInfo>&, UINT64, "
                               "int)"),
                           "SResourcePoolInfoLib", nameMaskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SResourcePoolInfo> v(2);
                               Watch watch(v);
                               return b.GetResourcePoolListForHostOrCluster("h1", v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetClusterInfoList", SIG("GetClusterInfoList(std::vector<VMInfoStructs::SClusterInfo>&, UINT64, int)"),
                           "SClusterInfoLib", maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SClusterInfo> v(2);
                               Watch watch(v);
                               return b.GetClusterInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetVAppInfoList", SIG("GetVAppInfoList(std::vector<VMInfoStructs::SVAppInfo>&, UINT64, int)"), "SVAppInfoLib",
                           maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SVAppInfo> v(2);
                               Watch watch(v);
                               return b.GetVAppInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetInventoryInfoList", SIG("GetInventoryInfoList(std::vector<VMInfoStructs::SInventoryInfo>&, UINT64, int)"),
                           "SInventoryInfoLib", maskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SInventoryInfo> v(2);
                               Watch watch(v);
                               return b.GetInventoryInfoList(v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetVMInventoryInfoListForHostOrCluster",
                           SIG("GetVMInventoryInfoListForHostOrCluster(const string&, std::vector<VMInfoStructs::SInventoryInfo>&, UINT64, "
                               "int)"),
                           "SInventoryInfoLib", nameMaskSlots, [](CVISDKCppBridge& b) {
                               std::vector<SInventoryInfo> v(2);
                               Watch watch(v);
                               return b.GetVMInventoryInfoListForHostOrCluster("h1", v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetCompatibleDatastoresForStoragePolicy",
                           SIG("GetCompatibleDatastoresForStoragePolicy(const string&, std::vector<std::__cxx11::basic_string<char> >&, "
                               "std::vector<VMInfoStructs::SDatastoreInfo>&)"),
                           "SDatastoreInfoLib", {Sx("gold"), "List`1 List`1"}, [](CVISDKCppBridge& b) {
                               std::vector<std::string> names{"ds1", "ds2"};
                               std::vector<SDatastoreInfo> v(2);
                               Watch watch(v);
                               return b.GetCompatibleDatastoresForStoragePolicy("gold", names, v);
                           }));
    rows.push_back(IntRow("SelectDatastoreFromResourcePool", SIG("SelectDatastoreFromResourcePool(const string&, std::string&, std::string&)"),
                          {Sx("rp"), OSx, OSx}, [](CVISDKCppBridge& b) {
                              std::string ds, moref;
                              return b.SelectDatastoreFromResourcePool("rp", ds, moref);
                          }));
    struct RefreshOp {
        const char* managed;
        const char* signature;
        Refresh op;
    };
    const RefreshOp refresh[] = {
        {"RefreshHostInfoList", SIG("RefreshHostInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshHostInfoList},
        {"RefreshVMInfoList", SIG("RefreshVMInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshVMInfoList},
        {"RefreshDSInfoList", SIG("RefreshDSInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshDSInfoList},
        {"RefreshDCInfoList", SIG("RefreshDCInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshDCInfoList},
        {"RefreshResourcePoolList", SIG("RefreshResourcePoolList(UINT64, int)"), &CVISDKCppBridge::RefreshResourcePoolList},
        {"RefreshClusterInfoList", SIG("RefreshClusterInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshClusterInfoList},
        {"RefreshVAppInfoList", SIG("RefreshVAppInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshVAppInfoList},
        {"RefreshInventoryInfoList", SIG("RefreshInventoryInfoList(UINT64, int)"), &CVISDKCppBridge::RefreshInventoryInfoList}};
    for (const RefreshOp& r : refresh) {
        Refresh op = r.op;
        rows.push_back(IntRow(r.managed, r.signature, maskSlots, [op](CVISDKCppBridge& b) { return (b.*op)(kMask, -3); }));
    }

    // Lookups and browsing
    rows.push_back(LookupRow("GetDSInfoForDS",
                             SIG("GetDSInfoForDS(const string&, const string&, const string&, UINT64, int, VMInfoStructs::SDatastoreInfo&)"),
                             "SDatastoreInfoLib", {{"strDataStoreName", "ds1"}, {"strDataStoreUUID", "u-1"}},
                             {Sx("s1"), Sx("s2"), Sx("s3"), Vu(kMask), Vi(-3)}, [](CVISDKCppBridge& b) {
                                 SDatastoreInfo info;
                                 info.strDataStoreName = "kept";
                                 Watch watch(info);
                                 return b.GetDSInfoForDS("s1", "s2", "s3", kMask, -3, info);
                             }));
    rows.push_back(LookupRow("GetHostInfoForHost", SIG("GetHostInfoForHost(const string&, UINT64, int, VMInfoStructs::SHostInfo&)"),
                             "SHostInfoLib", {{"strHostName", "h1"}}, nameMaskSlots, [](CVISDKCppBridge& b) {
                                 SHostInfo info;
                                 info.strHostName = "kept";
                                 Watch watch(info);
                                 return b.GetHostInfoForHost("h1", kMask, -3, info);
                             }));
    rows.push_back(LookupRow("GetClusterInfoForCluster",
                             SIG("GetClusterInfoForCluster(const string&, UINT64, int, VMInfoStructs::SClusterInfo&)"), "SClusterInfoLib",
                             {{"strClusterName", "c1"}}, nameMaskSlots, [](CVISDKCppBridge& b) {
                                 SClusterInfo info;
                                 info.strClusterName = "kept";
                                 Watch watch(info);
                                 return b.GetClusterInfoForCluster("h1", kMask, -3, info);
                             }));
    rows.push_back(LookupRow("GetRPInfoForRP",
                             SIG("GetRPInfoForRP(const string&, const string&, UINT64, int, VMInfoStructs::SResourcePoolInfo&)"),
                             "SResourcePoolInfoLib", {{"strResourcePoolName", "rp"}}, {Sx("s1"), Sx("s2"), Vu(kMask), Vi(-3)},
                             [](CVISDKCppBridge& b) {
                                 SResourcePoolInfo info;
                                 info.strResourcePoolName = "kept";
                                 Watch watch(info);
                                 return b.GetRPInfoForRP("s1", "s2", kMask, -3, info);
                             }));
    rows.push_back(LookupRow("GetInventoryObjectByMoref",
                             SIG("GetInventoryObjectByMoref(const string&, int, UINT64, int, VMInfoStructs::SInventoryInfo&)"),
                             "SInventoryInfoLib", {{"strName", "n"}}, {Sx("m1"), Vi(7), Vu(kMask), Vi(-3)}, [](CVISDKCppBridge& b) {
                                 SInventoryInfo info;
                                 info.strName = "kept";
                                 Watch watch(info);
                                 return b.GetInventoryObjectByMoref("m1", 7, kMask, -3, info);
                             }));
    rows.push_back(ListRow("BrowseInventory",
                           SIG("BrowseInventory(const string&, const VMInfoStructs::SInventoryInfo&, "
                               "std::vector<VMInfoStructs::SInventoryInfo>&, UINT64, int)"),
                           "SInventoryInfoLib", {Sx("p"), "SInventoryInfoLib SInventoryInfoLib", Vu(kMask), Vi(-3)},
                           [](CVISDKCppBridge& b) {
                               SInventoryInfo node;
                               std::vector<SInventoryInfo> v(2);
                               Watch watch(v);
                               return b.BrowseInventory("p", node, v, kMask, -3);
                           }));
    rows.push_back(ListRow("GetDeviceList",
                           SIG("GetDeviceList(const string&, const string&, std::vector<VMInfoStructs::SSCSILunInfo>&)"), "SSCSILUNInfoLib",
                           {Sx("s1"), Sx("s2")}, [](CVISDKCppBridge& b) {
                               std::vector<SSCSILunInfo> v(2);
                               Watch watch(v);
                               return b.GetDeviceList("s1", "s2", v);
                           }));
    rows.push_back(BoolRow("DoesVMExist", BSIG("DoesVMExist(const string&, const string&, const string&, const string&, std::string&)"),
                           {Sx("s1"), Sx("s2"), Sx("s3"), Sx("s4"), OSx}, [](CVISDKCppBridge& b) {
                               std::string moref = "kept";
                               Watch watch(moref);
                               return b.DoesVMExist("s1", "s2", "s3", "s4", moref);
                           }));
    rows.push_back(IntRow("CheckHostForVMName", SIG("CheckHostForVMName(const string&, const string&)"), {Sx("s1"), Sx("s2")},
                          [](CVISDKCppBridge& b) { return b.CheckHostForVMName("s1", "s2"); }));
    rows.push_back(BoolRow("GetLUNInformationForRDM",
                           BSIG("GetLUNInformationForRDM(const string&, const string&, VMInfoStructs::SDatastoreInfo&)"),
                           {Sx("s1"), Sx("s2"), "ref SDatastoreInfoLib SDatastoreInfoLib"}, [](CVISDKCppBridge& b) {
                               SDatastoreInfo info;
                               info.strDataStoreName = "kept";
                               Watch watch(info);
                               return b.GetLUNInformationForRDM("s1", "s2", info);
                           }));
    rows.push_back(IntRow("RefreshHostAdapter",
                          SIG("RefreshHostAdapter(const string&, const VMInfoStructs::SHostStorageAdapterInfo&, const "
                              "std::vector<VMInfoStructs::SDatastoreInfo>&)"),
                          {Sx("s1"), "SHostStorageAdapterInfoLib SHostStorageAdapterInfoLib", "List`1 List`1"}, [](CVISDKCppBridge& b) {
                              SHostStorageAdapterInfo adapter;
                              std::vector<SDatastoreInfo> datastores(1);
                              return b.RefreshHostAdapter("s1", adapter, datastores);
                          }));
    rows.push_back(BoolRow("GetHostListForDatastore",
                           BSIG("GetHostListForDatastore(const string&, std::vector<std::__cxx11::basic_string<char> >&)"),
                           {Sx("s1"), "out List`1 null"}, [](CVISDKCppBridge& b) {
                               std::vector<std::string> hosts{"kept"};
                               Watch watch(hosts);
                               return b.GetHostListForDatastore("s1", hosts);
                           }));

    // Host, server and management
    rows.push_back(IntRow("GetHostVMKernelIPList", SIG("GetHostKernelIPList(const string&, std::string&)"), {Sx("h1"), OSx},
                          [](CVISDKCppBridge& b) {
                              std::string ips = "kept";
                              Watch watch(ips);
                              return b.GetHostKernelIPList("h1", ips);
                          }));
    rows.push_back(Row{"GetDatacenterNameFromHostName", SIG("GetDatacenterNameFromHostName(const string&, std::string&)"), Kind::Object,
                       {Sx("h1")},
                       [](const char* m) {
                           probe::ReturnString(m, "DC-1");
                           return std::string("1");
                       },
                       "0", "Result is invalid (string)", [](CVISDKCppBridge& b) {
                           std::string dc = "kept";
                           Watch watch(dc);
                           return Num(b.GetDatacenterNameFromHostName("h1", dc));
                       }});
    rows.push_back(Row{"GetCurrentServerTime", "long long int VISDKCppBridge::CVISDKCppBridge::GetCurrentServerTime()", Kind::Int, {},
                       [](const char* m) {
                           probe::ReturnLong(m, 0x1234567890LL);
                           return Num(0x1234567890LL);
                       },
                       "0", "Result is invalid (int)", [](CVISDKCppBridge& b) { return Num(b.GetCurrentServerTime()); }});
    rows.push_back(StrRow("GetCurrentTimeOnServer", "std::string VISDKCppBridge::CVISDKCppBridge::GetCurrentTimeOnServer()", {},
                          [](CVISDKCppBridge& b) { return b.GetCurrentTimeOnServer(); }));
    rows.push_back(StrRow("GetCurrentTimeOnHost", "std::string VISDKCppBridge::CVISDKCppBridge::GetCurrentTimeOnHost(const string&)",
                          {Sx("h1")}, [](CVISDKCppBridge& b) { return b.GetCurrentTimeOnHost("h1"); }));
    rows.push_back(BoolRow("DownloadHostLogBundle", BSIG("DownloadHostLogBundle(const string&, const string&)"), {Sx("h1"), Sx("/tmp/b")},
                           [](CVISDKCppBridge& b) { return b.DownloadHostLogBundle("h1", "/tmp/b"); }));
    rows.push_back(BoolRow("DownloadServerLogBundle", BSIG("DownloadServerLogBundle(const string&)"), {Sx("/tmp/b")},
                           [](CVISDKCppBridge& b) { return b.DownloadServerLogBundle("/tmp/b"); }));
    rows.push_back(BoolRow("GetMgmtVersion", BSIG("GetMgmtVersionInfo(VMInfoStructs::SMgmtVersion&)"), {"out Object null"},
                           [](CVISDKCppBridge& b) {
                               SMgmtVersion version;
                               version.strVersion = "kept";
                               Watch watch(version);
                               return b.GetMgmtVersionInfo(version);
                           }));

    // Snapshot mounting
    rows.push_back(IntRow("MountSnap", SIG("MountSnap(const SnapRestoreCtx&)"), {"SnapRestoreCtxLib SnapRestoreCtxLib"},
                          [](CVISDKCppBridge& b) { return b.MountSnap(SnapRestoreCtx()); }));
    rows.push_back(IntRow("UnMountSnap", SIG("UnMountSnap(const SnapRestoreCtx&, const string&)"),
                          {"SnapRestoreCtxLib SnapRestoreCtxLib", Sx("vol")},
                          [](CVISDKCppBridge& b) { return b.UnMountSnap(SnapRestoreCtx(), "vol"); }));
    return rows;
}

} // namespace visdktest
