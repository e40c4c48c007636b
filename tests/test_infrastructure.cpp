// Inventory, lookup, host and snapshot-mount operations against the probe: what they accept and copy back.
#include <gtest/gtest.h>

#include <functional>

#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace visdktest;
using namespace VISDKCppBridge;
using namespace VMInfoStructs;

namespace {

using InfrastructureTest = ProbeTest;

MonoObject* Filled(const char* className, std::initializer_list<std::pair<const char*, const char*>> strings)
{
    MonoObject* record = NewRecord(className);
    for (const auto& field : strings)
        SetStringFieldValue(mono_object_get_class(record), record, field.first, field.second);
    return record;
}

std::string FieldText(MonoObject* record, const char* field)
{
    return GetStringFieldValue(mono_object_get_class(record), record, field);
}

// A lookup, the managed class it answers with, its key fields in test order, and a marker read from the filled record.
struct LookupCase {
    const char* managed;
    const char* recordClass;
    std::vector<const char*> keys;
    std::function<std::string(std::string& marker)> call;   // returns the result; marker is the record's first key member
};

const std::vector<LookupCase>& Lookups()
{
    static const std::vector<LookupCase> cases = {
        {"GetDSInfoForDS", "SDatastoreInfoLib", {"strDataStoreName", "strDataStoreUUID"},
         [](std::string& marker) {
             SDatastoreInfo info;
             info.strDataStoreName = marker;
             int r = Bridge().GetDSInfoForDS("a", "b", "c", VM_PROP_ALL, 0, info);
             marker = info.strDataStoreName;
             return std::to_string(r);
         }},
        {"GetHostInfoForHost", "SHostInfoLib", {"strHostName"},
         [](std::string& marker) {
             SHostInfo info;
             info.strHostName = marker;
             int r = Bridge().GetHostInfoForHost("a", VM_PROP_ALL, 0, info);
             marker = info.strHostName;
             return std::to_string(r);
         }},
        {"GetClusterInfoForCluster", "SClusterInfoLib", {"strClusterName"},
         [](std::string& marker) {
             SClusterInfo info;
             info.strClusterName = marker;
             int r = Bridge().GetClusterInfoForCluster("a", VM_PROP_ALL, 0, info);
             marker = info.strClusterName;
             return std::to_string(r);
         }},
        {"GetRPInfoForRP", "SResourcePoolInfoLib", {"strResourcePoolName"},
         [](std::string& marker) {
             SResourcePoolInfo info;
             info.strResourcePoolName = marker;
             int r = Bridge().GetRPInfoForRP("a", "b", VM_PROP_ALL, 0, info);
             marker = info.strResourcePoolName;
             return std::to_string(r);
         }},
        {"GetInventoryObjectByMoref", "SInventoryInfoLib", {"strName"},
         [](std::string& marker) {
             SInventoryInfo info;
             info.strName = marker;
             int r = Bridge().GetInventoryObjectByMoref("a", 0, VM_PROP_ALL, 0, info);
             marker = info.strName;
             return std::to_string(r);
         }},
    };
    return cases;
}

TEST_F(InfrastructureTest, LookupsAcceptOnlyRecordsWithEveryKeyField)
{
    for (const LookupCase& c : Lookups()) {
        // Each key left empty in turn: the caller's record stays as it was.
        for (size_t empty = 0; empty < c.keys.size(); ++empty) {
            probe::Reset();
            MonoObject* record = NewRecord(c.recordClass);
            for (size_t k = 0; k < c.keys.size(); ++k)
                if (k != empty)
                    SetStringFieldValue(mono_object_get_class(record), record, c.keys[k], "set");
            probe::Return(c.managed, record);
            std::string marker = "before";
            EXPECT_EQ(c.call(marker), "0") << c.managed << " without " << c.keys[empty];
            EXPECT_EQ(marker, "before") << c.managed;
        }
        probe::Reset();
        MonoObject* record = NewRecord(c.recordClass);
        for (const char* key : c.keys)
            SetStringFieldValue(mono_object_get_class(record), record, key, "found");
        probe::Return(c.managed, record);
        std::string marker = "before";
        EXPECT_EQ(c.call(marker), "1") << c.managed;
        EXPECT_EQ(marker, "found") << c.managed;
        EXPECT_TRUE(log.Errors().empty()) << log.Dump();
    }
}

TEST_F(InfrastructureTest, ListQueriesReplaceTheVectorOnlyWhenAListComesBack)
{
    std::vector<SHostInfo> hosts(2);
    hosts[0].strHostName = "old";
    probe::ReturnNull("GetHostInfoList");
    EXPECT_EQ(Bridge().GetHostInfoList(hosts, VM_PROP_ALL, 0), 0);
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].strHostName, "old");

    MonoObject* list = NewList("SHostInfoLib");
    ListAdd(list, Filled("SHostInfoLib", {{"strHostName", "esx-b"}}));
    ListAdd(list, Filled("SHostInfoLib", {{"strHostName", "esx-a"}}));
    probe::Return("GetHostInfoList", list);
    EXPECT_EQ(Bridge().GetHostInfoList(hosts, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].strHostName, "esx-b");
    EXPECT_EQ(hosts[1].strHostName, "esx-a");
    EXPECT_EQ(hosts[0].numVMAndTemplates, 0) << "read from the managed record, not the default";

    probe::Return("GetHostInfoList", NewList("SHostInfoLib"));
    EXPECT_EQ(Bridge().GetHostInfoList(hosts, VM_PROP_ALL, 0), 1);
    EXPECT_TRUE(hosts.empty());
}

TEST_F(InfrastructureTest, MasksTravelUnchanged)
{
    std::vector<SDatastoreInfo> datastores;
    probe::Return("GetDSInfoList", NewList("SDatastoreInfoLib"));
    Bridge().GetDSInfoList(datastores, MIN_VM_PROPS, 0);
    EXPECT_EQ(probe::ArgText("GetDSInfoList", 0), "UInt64:0");
    Bridge().GetDSInfoList(datastores, VM_PROP_ALL, 0x7fffffff);
    EXPECT_EQ(probe::ArgText("GetDSInfoList", 0), "UInt64:18446744073709551615");
    EXPECT_EQ(probe::ArgText("GetDSInfoList", 1), "Int32:2147483647");
}

TEST_F(InfrastructureTest, InertQueriesTouchNothing)
{
    std::vector<SVMInfo> vms(1);
    vms[0].strName = "kept";
    std::vector<SCustomSpecInfo> customizations(2);
    EXPECT_EQ(Bridge().GetVMInfoList(vms, VM_PROP_ALL, 1), 0);
    EXPECT_EQ(Bridge().GetCustomizationSpecInfo(customizations), 0);
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].strName, "kept");
    EXPECT_EQ(customizations.size(), 2u);
    EXPECT_EQ(probe::Calls(), "");
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(InfrastructureTest, SelectedDatastoreIsCopiedOnlyOnSuccess)
{
    std::string datastore = "keep", moref = "keep";
    probe::Out("SelectDatastoreFromResourcePool", 1, ManagedString("ds9"));
    probe::Out("SelectDatastoreFromResourcePool", 2, ManagedString("datastore-9"));
    probe::ReturnInt("SelectDatastoreFromResourcePool", 0);
    EXPECT_EQ(Bridge().SelectDatastoreFromResourcePool("rp", datastore, moref), 0);
    EXPECT_EQ(datastore, "keep");
    EXPECT_EQ(moref, "keep");

    probe::ReturnInt("SelectDatastoreFromResourcePool", 3);
    EXPECT_EQ(Bridge().SelectDatastoreFromResourcePool("rp", datastore, moref), 3);
    EXPECT_EQ(datastore, "ds9");
    EXPECT_EQ(moref, "datastore-9");

    probe::Reset();
    probe::Out("SelectDatastoreFromResourcePool", 1, ManagedString("ds9"));
    probe::ReturnInt("SelectDatastoreFromResourcePool", 1);
    EXPECT_EQ(Bridge().SelectDatastoreFromResourcePool("rp", datastore, moref), 1);
    EXPECT_EQ(moref, "") << "a null output becomes empty";
}

// Outputs that follow a true (or non-zero) answer and are left alone otherwise.
TEST_F(InfrastructureTest, OutputsFollowTheAnswer)
{
    std::string moref = "keep";
    probe::Out("DoesVMExist", 4, ManagedString("vm-7"));
    probe::ReturnBool("DoesVMExist", false);
    EXPECT_FALSE(Bridge().DoesVMExist("a", "", "", "", moref));
    EXPECT_EQ(moref, "keep");
    probe::ReturnBool("DoesVMExist", true);
    EXPECT_TRUE(Bridge().DoesVMExist("a", "", "", "", moref));
    EXPECT_EQ(moref, "vm-7");

    std::vector<std::string> hosts{"old"};
    probe::Out("GetHostListForDatastore", 1, NewStringList({"h1", "h2"}));
    probe::ReturnBool("GetHostListForDatastore", false);
    EXPECT_FALSE(Bridge().GetHostListForDatastore("ds", hosts));
    EXPECT_EQ(hosts, std::vector<std::string>{"old"});
    probe::ReturnBool("GetHostListForDatastore", true);
    EXPECT_TRUE(Bridge().GetHostListForDatastore("ds", hosts));
    EXPECT_EQ(hosts, (std::vector<std::string>{"h1", "h2"}));

    std::string ips = "keep";
    probe::Out("GetHostVMKernelIPList", 1, ManagedString("10.0.0.1"));
    probe::ReturnInt("GetHostVMKernelIPList", 0);
    EXPECT_EQ(Bridge().GetHostKernelIPList("h", ips), 0);
    EXPECT_EQ(ips, "keep");
    probe::Reset();
    probe::ReturnInt("GetHostVMKernelIPList", 1);
    EXPECT_EQ(Bridge().GetHostKernelIPList("h", ips), 1);
    EXPECT_EQ(ips, "");

    SMgmtVersion version;
    version.strVersion = "keep";
    probe::Out("GetMgmtVersion", 0, Filled("SMgmtVersionLib", {{"strVersion", "8.0.2"}, {"strFullVersion", "VMware vCenter Server 8.0.2"}}));
    probe::ReturnBool("GetMgmtVersion", false);
    EXPECT_FALSE(Bridge().GetMgmtVersionInfo(version));
    EXPECT_EQ(version.strVersion, "keep");
    probe::ReturnBool("GetMgmtVersion", true);
    EXPECT_TRUE(Bridge().GetMgmtVersionInfo(version));
    EXPECT_EQ(version.strVersion, "8.0.2");
    EXPECT_EQ(version.strBuild, "");
    EXPECT_EQ(version.strFullVersion, "VMware vCenter Server 8.0.2");
}

TEST_F(InfrastructureTest, RdmLunRecordIsReadBackOnlyOnTrue)
{
    SDatastoreInfo info;
    info.strDataStoreName = "keep";
    probe::Out("GetLUNInformationForRDM", 2, Filled("SDatastoreInfoLib", {{"strDataStoreName", "naa.6001"}}));
    probe::ReturnBool("GetLUNInformationForRDM", false);
    EXPECT_FALSE(Bridge().GetLUNInformationForRDM("h", "naa.6001", info));
    EXPECT_EQ(info.strDataStoreName, "keep");
    probe::ReturnBool("GetLUNInformationForRDM", true);
    EXPECT_TRUE(Bridge().GetLUNInformationForRDM("h", "naa.6001", info));
    EXPECT_EQ(info.strDataStoreName, "naa.6001");
}

TEST_F(InfrastructureTest, DatacenterNameCountsOnlyWhenOneCameBack)
{
    std::string name;
    probe::ReturnNull("GetDatacenterNameFromHostName");
    EXPECT_EQ(Bridge().GetDatacenterNameFromHostName("h", name), 0);
    name = "stale";
    EXPECT_EQ(Bridge().GetDatacenterNameFromHostName("h", name), 0) << "a stale name is no answer";
    EXPECT_EQ(name, "stale");
    probe::ReturnString("GetDatacenterNameFromHostName", "");
    EXPECT_EQ(Bridge().GetDatacenterNameFromHostName("h", name), 0);
    EXPECT_EQ(name, "");
    probe::ReturnString("GetDatacenterNameFromHostName", "DC-1");
    EXPECT_EQ(Bridge().GetDatacenterNameFromHostName("h", name), 1);
    EXPECT_EQ(name, "DC-1");
    probe::Throw("GetDatacenterNameFromHostName", "System.InvalidOperationException");
    EXPECT_EQ(Bridge().GetDatacenterNameFromHostName("h", name), 0);
    EXPECT_EQ(name, "DC-1");
}

TEST_F(InfrastructureTest, ServerTimeKeepsAllSixtyFourBits)
{
    probe::ReturnLong("GetCurrentServerTime", (1LL << 40) + 5);
    EXPECT_EQ(Bridge().GetCurrentServerTime(), (1LL << 40) + 5);
    probe::ReturnLong("GetCurrentServerTime", -2);
    EXPECT_EQ(Bridge().GetCurrentServerTime(), -2);
}

TEST_F(InfrastructureTest, RecordsAndListsArriveFilled)
{
    SInventoryInfo node;
    node.strName = "vm";
    node.strGUID = "group-v3";
    node.type = 1;
    node.children.resize(1);
    node.children[0].strName = "child";
    std::vector<SInventoryInfo> children;
    probe::Return("BrowseInventory", NewList("SInventoryInfoLib"));
    EXPECT_EQ(Bridge().BrowseInventory("DC/vm", node, children, 0, 0), 1);
    MonoObject* sent = probe::Arg("BrowseInventory", 1);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(FieldText(sent, "strGUID"), "group-v3");
    EXPECT_EQ(GetIntFieldValue(mono_object_get_class(sent), sent, "type"), 1);

    SHostStorageAdapterInfo adapter;
    adapter.strIscsiName = "iqn.1998-01.com.vmware:esx01";
    std::vector<SDatastoreInfo> datastores(2);
    datastores[1].strDataStoreName = "ds2";
    probe::ReturnInt("RefreshHostAdapter", 1);
    EXPECT_EQ(Bridge().RefreshHostAdapter("h", adapter, datastores), 1);
    EXPECT_EQ(FieldText(probe::Arg("RefreshHostAdapter", 1), "strIscsiName"), "iqn.1998-01.com.vmware:esx01");
    std::vector<SDatastoreInfo> echoed;
    VISDKHelper::CVISDKHelper::ConvertDatastoreInfoList(echoed, probe::Arg("RefreshHostAdapter", 2));
    ASSERT_EQ(echoed.size(), 2u);
    EXPECT_EQ(echoed[1].strDataStoreName, "ds2");

    // A context without datastores still sends a list, never a null reference.
    SnapRestoreCtx context;
    context.strEsxServerName = "esx01";
    context.bResignatureVol = true;
    probe::ReturnInt("MountSnap", 1);
    EXPECT_EQ(Bridge().MountSnap(context), 1);
    MonoObject* ctx = probe::Arg("MountSnap", 0);
    EXPECT_EQ(FieldText(ctx, "strEsxServerName"), "esx01");
    MonoObject* list = GetFieldValue(mono_object_get_class(ctx), ctx, "datastores");
    ASSERT_NE(list, nullptr);
    std::vector<SDatastoreInfo> none(1);
    VISDKHelper::CVISDKHelper::ConvertDatastoreInfoList(none, list);
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(GetBoolFieldValue(mono_object_get_class(ctx), ctx, "bResignatureVol"));
}

} // namespace
