// The web-services client's inventory connected straight to an ESX host (the endpoint's ESX model): the host's own
// inventory and clocks, checked against what the host holds.
#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VMInfoStructs;

namespace {

// Unix seconds of an xsd:dateTime text; -1 when it is none.
long long Seconds(const std::string& text)
{
    std::tm t{};
    return strptime(text.c_str(), "%Y-%m-%dT%H:%M:%S", &t) ? static_cast<long long>(timegm(&t)) : -1;
}

TEST(VimHostInventory, TheHostHoldsItsOwnInventoryAndClock)
{
    TrustEndpoint();
    auto bridge = EndpointBridge();
    RawSoap server;
    auto hosts = server.All("HostSystem");
    ASSERT_EQ(hosts.size(), 1u);
    const auto [hostRef, host] = hosts[0];
    std::vector<std::string> vms;
    for (const auto& [moref, name] : server.All("VirtualMachine"))
        vms.push_back(name);
    std::sort(vms.begin(), vms.end());
    ASSERT_EQ(vms.size(), static_cast<size_t>(Endpoint::Get().vms));
    EXPECT_FALSE(bridge->IsVCenterConnection());

    std::vector<SHostInfo> records;
    ASSERT_EQ(bridge->GetHostInfoList(records, VM_PROP_ALL, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(records.size(), 1u);
    const std::string datacenter = server.All("Datacenter").at(0).second;
    EXPECT_EQ(records[0].strHostName + " " + records[0].strMoRef + " " + records[0].strHostDatacenter, host + " " + hostRef + " " + datacenter);
    EXPECT_FALSE(records[0].bClustered);
    EXPECT_EQ(records[0].strResourcePool, server.Property("ComputeResource", server.Property("HostSystem", hostRef, "parent"), "resourcePool"));
    EXPECT_EQ(Sorted(records[0].vmInfoList, &SVMInfo::strName), vms);
    std::string name;
    EXPECT_EQ(bridge->GetDatacenterNameFromHostName(host, name), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(name, datacenter);

    std::vector<SInventoryInfo> tree;
    ASSERT_EQ(bridge->GetInventoryInfoList(tree, 0, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(tree.size(), 1u);
    auto folder = std::find_if(tree[0].children.begin(), tree[0].children.end(), [](const SInventoryInfo& f) { return f.strName == "host"; });
    ASSERT_NE(folder, tree[0].children.end());
    ASSERT_EQ(folder->children.size(), 1u);
    EXPECT_EQ(folder->children[0].type, 4) << "the host stands for its compute resource";
    EXPECT_EQ(Sorted(folder->children[0].children, &SInventoryInfo::strName), vms);
    std::vector<SClusterInfo> clusters{SClusterInfo{}};
    EXPECT_EQ(bridge->GetClusterInfoList(clusters, 0, 0), 1) << bridge->GetLastErrorString();
    EXPECT_TRUE(clusters.empty());
    std::vector<SGuestOSInfo> guests;
    EXPECT_EQ(bridge->GetSupportedGuestOSInfoListForHostOrCluster(host, guests), 1) << bridge->GetLastErrorString();
    EXPECT_FALSE(guests.empty());

    // The host has no date and time system of its own here, so it answers for itself as the server.
    auto hostNow = [&] { return Seconds(XmlText(server.Call("CurrentTime", "ServiceInstance", "ServiceInstance"), "returnval")); };
    long long before = hostNow();
    long long serverTime = bridge->GetCurrentServerTime();
    long long onHost = Seconds(bridge->GetCurrentTimeOnHost(host));
    long long after = hostNow();
    EXPECT_TRUE(before <= serverTime && serverTime <= after) << before << " " << serverTime << " " << after;
    EXPECT_TRUE(before <= onHost && onHost <= after) << before << " " << onHost << " " << after << ": " << bridge->GetLastErrorString();
}

} // namespace
