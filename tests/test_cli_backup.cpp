// `visdk backup` on real servers, one process per run: the test endpoint, which has no QueryChangedDiskAreas, and a
// loopback vCenter of our own answering every call a backup makes, so that runs show exactly the areas it served.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <regex>

#include <nlohmann/json.hpp>

#include "CliProcess.h"
#include "Endpoint.h"
#include "FakeVcenter.h"

using namespace visdktest;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace {

const long long GiB = 1LL << 30, MiB = 1LL << 20;

class CliBackup : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(mkdtemp(dir.data()), nullptr); }
    void TearDown() override { fs::remove_all(dir); }
    CliResult Backup(const std::string& server, const std::string& user, const EnvList& env)
    {
        return RunCli({"--json", "--server", server, "--user", user, "backup", vm, "--state", dir + "/ids"}, env, dir);
    }
    std::string dir = "/tmp/visdk-cli-backup-XXXXXX", vm = "DC0_H0_VM1";
};

TEST_F(CliBackup, OnTheEndpointTheRunReachesTheChangedAreasAndFailsWithTheServersFault)
{
    const Endpoint& e = Endpoint::Get();
    RawSoap server;
    const std::string moref = server.Moref("VirtualMachine", vm), devices = server.Property("VirtualMachine", moref, "config.hardware.device");
    std::smatch key;
    ASSERT_TRUE(std::regex_search(devices, key, std::regex("\"VirtualDisk\"><key>(\\d+)</key>")));
    CliResult run = Backup(e.url, e.user, {"VISDK_PASSWORD=" + e.password, "VISDK_TRUST_THUMBPRINT=" + e.thumbprint});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string disk = "visdk: " + vm + ": disk " + key[1].str() + ": no change id in snapshot snapshot-",
                      areas = "visdk: " + vm + ": changed areas of disk " + key[1].str() + ": VirtualMachine:" + moref + " does not implement: QueryChangedDiskAreas";
    EXPECT_NE(run.err.find(disk), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(areas), std::string::npos) << run.err;
    EXPECT_EQ(server.Property("VirtualMachine", moref, "snapshot"), "") << "the backup snapshot is gone";
    EXPECT_EQ(server.Property("VirtualMachine", moref, "config.changeTrackingEnabled"), "true");
    server.Call("ReconfigVM_Task", "VirtualMachine", moref, "<spec><changeTrackingEnabled>false</changeTrackingEnabled></spec>");
}

// The VM tracks one 16 GiB disk (2000); each backup snapshot carries the change id ".../N" of its number. Answers cover
// 8 GiB windows: "*" serves `full`, the first snapshot's id serves `changed`, any other id is refused.
TEST_F(CliBackup, AgainstAServerThatAnswersEveryCallRunsReportExactlyTheAreasServed)
{
    auto id = [](int n) { return "52 1f 0a 3c 5d 6e 7f 80-11 22 33 44 55 66 77 88/" + std::to_string(n); };
    auto disk = [](const std::string& changeId) { return FakeVcenter::OneDisk("<fileName>[ds] vm/vm.vmdk</fileName>", changeId); };
    const FakeVcenter::Areas full{{0, MiB}, {5 * GiB, 65536}, {8 * GiB + 4096, 4096}, {16 * GiB - MiB, MiB}}, changed{{4096, 4096}, {12 * GiB, 65536}};
    int snapshots = 0;
    FakeVcenter server([&](FakeVcenter& self, const Responder::Request& request, Responder::Reply& reply) {
        const std::string& m = request.soapMethod;
        if (m == "CreateSnapshot_Task") {
            std::string snapshot = "snapshot-" + std::to_string(++snapshots);
            self.Put("VirtualMachineSnapshot", snapshot, "config.hardware.device", disk(id(snapshots)));
            self.Put("VirtualMachine", "vm-7", "snapshot", FakeVcenter::OneSnapshot(snapshot, XmlText(request.body, "name")));
            reply.body = self.Task(m, "<result xsi:type=\"ManagedObjectReference\" type=\"VirtualMachineSnapshot\">" + snapshot + "</result>");
        } else if (m == "QueryChangedDiskAreas" && (XmlText(request.body, "changeId") == "*" || XmlText(request.body, "changeId") == id(1))) {
            long long start = std::stoll(XmlText(request.body, "startOffset"));
            reply.body = FakeVcenter::ChangeInfo(start, start + 8 * GiB, XmlText(request.body, "changeId") == "*" ? full : changed);
        } else if (m == "QueryChangedDiskAreas") {
            reply.status = 500, reply.body = Responder::Fault("InvalidArgument", "", "<invalidProperty>changeId</invalidProperty>");
        } else {
            if (m == "RemoveSnapshot_Task")
                self.Put("VirtualMachine", "vm-7", "snapshot", "");
            return false;
        }
        return true;
    });
    server.Put("VirtualMachine", "vm-7", "name", FakeVcenter::Val("xsd:string", vm));
    server.Put("VirtualMachine", "vm-7", "config.uuid", FakeVcenter::Val("xsd:string", "42a1b2c3-0000-1111-2222-333344445555"));
    server.Put("VirtualMachine", "vm-7", "config.changeTrackingEnabled", FakeVcenter::Val("xsd:boolean", "true"));
    server.Put("VirtualMachine", "vm-7", "config.hardware.device", disk("now"));
    auto extents = [](const FakeVcenter::Areas& areas) {
        Json list = Json::array();
        for (const auto& [at, length] : areas)
            list.push_back(Json{{"offset", at}, {"length", length}});
        return list;
    };
    // The third run's previous id is refused: it reads every allocated area again and says why.
    const std::tuple<const char*, FakeVcenter::Areas, int> runs[] = {{"full", full, 1}, {"incremental", changed, 2}, {"full", full, 3}};
    for (const auto& [mode, areas, snapshot] : runs) {
        CliResult run = Backup(server.Url(), "tester", {"VISDK_PASSWORD=pw"});
        Json read = JsonOutput(run)["passes"][0]["disks"][0];
        EXPECT_EQ(read["disk"], "2000");
        EXPECT_EQ(read["mode"], mode);
        EXPECT_EQ(read["extents"], extents(areas));
        EXPECT_EQ(read["changeId"], id(snapshot));
        EXPECT_EQ(ReadWholeFile(dir + "/ids"), vm + " 2000 " + id(snapshot) + "\n");
        EXPECT_EQ(run.err.find("previous change id refused (A specified parameter was not correct: changeId); reading all allocated areas instead") !=
                      std::string::npos,
                  snapshot == 3)
            << run.err;
    }
    std::vector<std::string> asked;
    for (const Responder::Request& request : server.Calls("QueryChangedDiskAreas"))
        asked.push_back(XmlText(request.body, "snapshot") + " " + XmlText(request.body, "startOffset") + " " + XmlText(request.body, "changeId"));
    EXPECT_EQ(asked, (std::vector<std::string>{"snapshot-1 0 *", "snapshot-1 8589934592 *", "snapshot-2 0 " + id(1), "snapshot-2 8589934592 " + id(1),
                                               "snapshot-3 0 " + id(2), "snapshot-3 0 *", "snapshot-3 8589934592 *"}));
    EXPECT_EQ(server.Calls("RemoveSnapshot_Task").size(), 3u);
}

} // namespace
