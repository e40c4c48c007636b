// Snapshots through the web-services client against the test endpoint, checked against the VM's snapshot tree and
// file layout as the server holds them.
#include <gtest/gtest.h>

#include <regex>
#include <time.h>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

class VimSnapshots : public EndpointVmTest {
protected:
    VimSnapshots() : EndpointVmTest("DC0_C0_RP0_VM1") {}
    void TearDown() override
    {
        server.Call("RemoveAllSnapshots_Task", "VirtualMachine", moref);
        EndpointVmTest::TearDown();
    }
    // The server's tree from that snapshot on: its own fields come first ("" once it is gone).
    std::string Node(const std::string& id)
    {
        std::string tree = Get("snapshot");
        size_t at = tree.find(">" + id + "</snapshot>");
        return at == std::string::npos ? "" : tree.substr(at);
    }
    std::string Create(const std::string& name, const std::string& description, bool quiesce = false)
    {
        std::string id;
        EXPECT_EQ(bridge->CreateSnapshotWithName(vm, "", name, description, quiesce, false, id), 1) << bridge->GetLastErrorString();
        return id;
    }
};

TEST_F(VimSnapshots, KindsAreToldByNameAndDescriptionAndOnlyOursGetOld)
{
    std::string backup, replication;
    ASSERT_EQ(bridge->CreateBackupSnapshot(vm, "", false, false, backup), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(bridge->CreateReplicationSnapshot(moref, "", false, false, replication), 1) << bridge->GetLastErrorString();
    // Our name pattern with another description is a user's snapshot.
    std::string lookalike = Create("backup-20200101-000000", "my own");
    EXPECT_TRUE(std::regex_match(XmlText(Node(backup), "name"), std::regex("backup-\\d{8}-\\d{6}"))) << Node(backup);
    EXPECT_EQ(XmlText(Node(backup), "description"), "Backup snapshot");
    EXPECT_TRUE(std::regex_match(XmlText(Node(replication), "name"), std::regex("replication-\\d{8}-\\d{6}")));
    EXPECT_EQ(XmlText(Node(replication), "description"), "Replication snapshot");

    int backups = -1, replications = -1;
    EXPECT_EQ(bridge->CountBackupSnapshots(vm, "", backups), 1);
    EXPECT_EQ(bridge->CountReplicationSnapshots(vm, "", replications), 1);
    EXPECT_EQ(backups, 1);
    EXPECT_EQ(replications, 1);

    EXPECT_EQ(bridge->RemoveOldSnapshots(vm, "", 1), 1) << "nothing is a day old: " << bridge->GetLastErrorString();
    EXPECT_NE(Node(backup), "");
    EXPECT_EQ(bridge->RemoveOldSnapshots(vm, "", 0), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Node(backup), "");
    EXPECT_EQ(Node(replication), "");
    EXPECT_NE(Node(lookalike), "");
    EXPECT_EQ(bridge->RemoveOldSnapshots(vm, "", -1), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: days");

    std::string untouched = "untouched";
    EXPECT_EQ(bridge->CreateSnapshotWithName(vm, "", "", "", false, false, untouched), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: name");
    EXPECT_EQ(untouched, "untouched");
}

TEST_F(VimSnapshots, InfoIsTheTreesByIdNameOrAsTheCurrentOne)
{
    std::string first = Create("first", "one", true);
    std::string second = Create("second", "two <&> \xC3\xA9");
    for (const std::string& id : {first, std::string("first"), std::string("")}) {
        std::string node = Node(id == "" ? second : first);
        std::string name, description;
        time_t created = 0;
        bool quiesced = id == "";
        ASSERT_TRUE(bridge->GetSnapshotInfo(vm, "", id, name, created, description, quiesced)) << id << ": " << bridge->GetLastErrorString();
        struct tm parts = {};
        ASSERT_NE(strptime(XmlText(node, "createTime").c_str(), "%Y-%m-%dT%H:%M:%S", &parts), nullptr);
        EXPECT_EQ(created, timegm(&parts)) << id;
        EXPECT_EQ(name, XmlText(node, "name")) << id;
        EXPECT_EQ(quiesced, id != "") << id;
        EXPECT_EQ(description, id == "" ? "two <&> \xC3\xA9" : "one") << id;
    }
    std::string again = Create("first", "");
    std::string name, description;
    time_t created = 0;
    bool quiesced = false;
    EXPECT_FALSE(bridge->GetSnapshotInfo(vm, "", "first", name, created, description, quiesced));
    EXPECT_EQ(bridge->GetLastErrorString(), "The virtual machine '" + vm + "' has several snapshots named 'first' (" + first + ", " + again + "); name one by its id");
    EXPECT_TRUE(bridge->GetSnapshotInfo(vm, "", again, name, created, description, quiesced)) << bridge->GetLastErrorString();
}

TEST_F(VimSnapshots, RevertAndRemoveChangeTheServersTree)
{
    std::string first = Create("first", ""), second = Create("second", ""), third = Create("third", "");
    EXPECT_TRUE(bridge->RevertToSnapshot(vm, "", first)) << bridge->GetLastErrorString();
    EXPECT_EQ(XmlText(Get("snapshot"), "currentSnapshot"), first);
    EXPECT_EQ(bridge->RevertToCurrentSnapshot(vm, ""), 1) << bridge->GetLastErrorString();

    // A removed snapshot's children move up to its parent.
    EXPECT_EQ(bridge->RemoveSnapshot(vm, "", second), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Node(second), "");
    EXPECT_NE(Node(first).find(">" + third + "</snapshot>"), std::string::npos) << Get("snapshot");
    EXPECT_EQ(bridge->RemoveSnapshot(vm, "", second), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The object 'vim.vm.Snapshot:" + second + "' has already been deleted or has not been completely created");

    std::string task;
    ASSERT_EQ(bridge->RemoveSnapshot_Task(vm, "", third, task), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(XmlText(server.Property("Task", task, "info"), "entity"), third) << "the server's own task";
    bool done = false, failed = true;
    EXPECT_TRUE(bridge->WaitForTask(task, 10, done, failed)) << bridge->GetLastErrorString();
    EXPECT_TRUE(done && !failed);
    EXPECT_EQ(Node(third), "");

    EXPECT_EQ(bridge->RemoveSnapshots(vm, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("snapshot"), "");
    EXPECT_EQ(bridge->RevertToCurrentSnapshot(vm, ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The virtual machine '" + vm + "' has no current snapshot.");
    EXPECT_FALSE(bridge->RevertToSnapshot(vm, "", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: snapshot");
}

TEST_F(VimSnapshots, SizeFileAndDisabledMethodsComeFromTheServersLayout)
{
    std::string id = Create("layout", "");
    std::string layout = Get("layoutEx");
    std::smatch keys, data;
    ASSERT_TRUE(std::regex_search(layout, keys, std::regex(">" + id + "</key><dataKey>(\\d+)</dataKey><memoryKey>-1</memoryKey>"))) << layout;
    ASSERT_TRUE(std::regex_search(layout, data, std::regex("<key>" + keys[1].str() + "</key><name>[^<]*</name><type>snapshotData</type><size>(\\d+)</size>")));
    // The endpoint makes no delta disks and no memory image: the state file is all the snapshot holds.
    unsigned long long size = 12345;
    EXPECT_TRUE(bridge->GetSnapshotSize(vm, "", id, size)) << bridge->GetLastErrorString();
    EXPECT_EQ(size, std::stoull(data[1].str()));

    std::string file;
    EXPECT_EQ(bridge->GetSnapshotFileNameUsingSnapMoref(vm, "", "", file), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(file, XmlText(Get("config.hardware.device"), "fileName"));

    // The endpoint cannot disable a method: its list is empty, and so is the answer.
    EXPECT_EQ(XmlTexts(Get("disabledMethod"), "string").size(), 0u);
    std::string reason = "kept";
    EXPECT_FALSE(bridge->CheckCreateSnapshotMethodDisabled(vm, "", reason));
    EXPECT_EQ(bridge->GetLastErrorString(), "");
    EXPECT_EQ(reason, "kept");
}

TEST_F(VimSnapshots, LocationIsTheServersSnapshotDirectoryWhilePoweredOff)
{
    std::string home = Get("config.files.snapshotDirectory");
    EXPECT_FALSE(bridge->SetVMSnapshotLocation(vm, "", "LocalDS_0", "snaps", false));
    EXPECT_EQ(bridge->GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered on).");

    server.Call("PowerOffVM_Task", "VirtualMachine", moref);
    EXPECT_TRUE(bridge->SetVMSnapshotLocation(vm, "", "LocalDS_0", "/snaps/", false)) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("config.files.snapshotDirectory"), "[LocalDS_0] snaps");
    EXPECT_NE(Get("config.extraConfig").find("<key>snapshot.redoNotWithParent</key><value XMLSchema-instance:type=\"xsd:string\">TRUE</value>"),
              std::string::npos);
    EXPECT_FALSE(bridge->SetVMSnapshotLocation(vm, "", "no-such-datastore", "snaps", false));
    EXPECT_EQ(bridge->GetLastErrorString(), "The datastore 'no-such-datastore' was not found.");
    EXPECT_TRUE(bridge->SetVMSnapshotLocation(vm, "", "", "", true)) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("config.files.snapshotDirectory"), home);
}

} // namespace
