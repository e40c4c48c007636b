// Changed block tracking through the web-services client. The endpoint switches tracking but keeps no change ids and
// has no QueryChangedDiskAreas: there the requests go out and its faults come back. Answers are read from a loopback
// vCenter of our own shaped as the API defines DiskChangeInfo.
#include <gtest/gtest.h>

#include <regex>

#include "Endpoint.h"
#include "FakeVcenter.h"

using namespace visdktest;
using Areas = FakeVcenter::Areas;

namespace {

const long long GiB = 1LL << 30, MiB = 1LL << 20;

class VimCbt : public EndpointVmTest {
protected:
    VimCbt() : EndpointVmTest("DC0_H0_VM1") {}
    void TearDown() override
    {
        server.Call("RemoveAllSnapshots_Task", "VirtualMachine", moref);
        server.Call("ReconfigVM_Task", "VirtualMachine", moref, "<spec><changeTrackingEnabled>false</changeTrackingEnabled></spec>");
        EndpointVmTest::TearDown();
    }
};

TEST_F(VimCbt, TrackingIsSwitchedOnTheServerAndQueriesBringBackItsFaults)
{
    std::smatch disk;
    const std::string devices = Get("config.hardware.device");
    ASSERT_TRUE(std::regex_search(devices, disk, std::regex("\"VirtualDisk\"><key>(\\d+)</key><deviceInfo[^>]*><label>([^<]*)</label>[\\s\\S]*?"
                                                            "<fileName>([^<]*)</fileName>[\\s\\S]*?<capacityInKB>(\\d+)<")));
    const std::string key = disk[1], label = disk[2], file = disk[3], wrong = "A specified parameter was not correct: ";
    VMInfoStructs::SDiskChangeInfo info;
    EXPECT_EQ(bridge->QueryChangedDiskAreas(vm, "", "", key, 0, "*", info), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Changed block tracking is not enabled for virtual machine '" + vm + "'.");
    for (bool on : {true, true, false, true}) {
        EXPECT_EQ(on ? bridge->SetChangeTrackingEnabled(vm, "") : bridge->SetChangeTrackingDisabled(moref, ""), 1) << bridge->GetLastErrorString();
        EXPECT_EQ(Get("config.changeTrackingEnabled"), on ? "true" : "false");
    }
    std::string snapshot, id = "stale";
    ASSERT_EQ(bridge->CreateBackupSnapshot(vm, "", false, false, snapshot), 1) << bridge->GetLastErrorString();
    bridge->GetChangeIdForDisk(vm, "", snapshot, label, id);
    EXPECT_EQ(id, "") << "the endpoint's backings carry no changeId";
    EXPECT_EQ(bridge->GetLastErrorString(), "The snapshot '" + snapshot + "' has no change ID for disk " + key + ": change tracking was not active when it was taken.");

    const std::string unimplemented = "VirtualMachine:" + moref + " does not implement: QueryChangedDiskAreas";
    const std::tuple<std::string, std::string, long long, std::string, std::string> cases[] = {
        {snapshot, key, 0, "*", unimplemented},
        {snapshot, label, 4096, "52 1f 0a 3c 5d 6e 7f 80-11 22 33 44 55 66 77 88/4", unimplemented},
        {"", file, 0, "*", unimplemented},
        {snapshot, "no-such-disk", 0, "*", wrong + "deviceKey (no-such-disk)"},
        {snapshot, key, std::stoll(disk[4]) * 1024, "*", wrong + "startOffset"},
        {snapshot, key, 0, "", wrong + "changeId"},
    };
    for (const auto& [at, name, offset, since, error] : cases) {
        info.llStartOffset = 77;
        EXPECT_EQ(bridge->QueryChangedDiskAreas(vm, "", at, name, offset, since, info), 0) << name;
        EXPECT_EQ(bridge->GetLastErrorString(), error) << name << " at " << offset;
        EXPECT_EQ(info.llStartOffset, 77) << "the caller's record stays as it was";
    }
    std::vector<std::string> pages;
    EXPECT_FALSE(bridge->GetPageInfoForExtent(vm, "", key, 0, pages));
    EXPECT_EQ(bridge->GetLastErrorString(), unimplemented) << "the allocated areas are the server's to tell";

    VMInfoStructs::SDiskTotalBlockInfo blocks;
    std::vector<VMInfoStructs::SDiskMetadataInfo> metadata;
    SnapRestoreCtx context;
    const std::pair<const char*, std::function<int()>> unsupported[] = {
        {"GetDiskBlockInfoList", [&] { return bridge->GetDiskBlockInfo(vm, "", snapshot, key, true, blocks, metadata); }},
        {"MountSnap", [&] { return bridge->MountSnap(context); }},
        {"UnMountSnap", [&] { return bridge->UnMountSnap(context, "snap-1-LocalDS_0"); }},
    };
    for (const auto& [name, call] : unsupported) {
        EXPECT_EQ(call(), 0) << name;
        EXPECT_EQ(bridge->GetLastErrorString(), std::string("Not supported by a real endpoint: ") + name);
    }
}

Areas AreasOf(const VMInfoStructs::SDiskChangeInfo& info)
{
    Areas areas;
    for (const auto& area : info.changedAreaList)
        areas.emplace_back(area.llStart, area.llLength);
    return areas;
}

// cbt-vm (vm-7) tracks one 16 GiB disk, now a delta over its base file, with snapshot-3 ("backup-1") on the base file.
// Answers cover 5 GiB from the offset asked; the change id ".../1" is refused as a server refuses an outdated one.
TEST(VimCbtAnswers, ChangeIdsAndChangedAreasAreTheServersAnswersOneByOne)
{
    const std::string now = "52 1f 0a 3c 5d 6e 7f 80-11 22 33 44 55 66 77 88/7", taken = "52 1f 0a 3c 5d 6e 7f 80-11 22 33 44 55 66 77 88/5";
    const std::string base = "[ds] cbt-vm/cbt-vm.vmdk";
    const Areas served{{4096, 8192}, {5 * GiB - 4096, 8192}, {5 * GiB + 8192, 4 * GiB + 4096}, {16 * GiB - 65536, 65536}};
    FakeVcenter server([&](FakeVcenter&, const Responder::Request& request, Responder::Reply& reply) {
        if (request.soapMethod != "QueryChangedDiskAreas")
            return false;
        long long start = std::stoll(XmlText(request.body, "startOffset"));
        if (XmlText(request.body, "changeId").find("/1") == std::string::npos)
            reply.body = FakeVcenter::ChangeInfo(start, std::min(start + 5 * GiB, 16 * GiB), served);
        else
            reply.status = 500, reply.body = Responder::Fault("FileFault", "Error caused by file " + base, "<file>" + base + "</file>");
        return true;
    });
    server.Put("VirtualMachine", "vm-7", "name", FakeVcenter::Val("xsd:string", "cbt-vm"));
    server.Put("VirtualMachine", "vm-7", "config.changeTrackingEnabled", FakeVcenter::Val("xsd:boolean", "true"));
    server.Put("VirtualMachine", "vm-7", "config.hardware.device",
               FakeVcenter::OneDisk("<fileName>[ds] cbt-vm/cbt-vm-000001.vmdk</fileName><parent><fileName>" + base + "</fileName></parent>", now));
    server.Put("VirtualMachine", "vm-7", "snapshot", FakeVcenter::OneSnapshot("snapshot-3", "backup-1"));
    server.Put("VirtualMachineSnapshot", "snapshot-3", "config.hardware.device", FakeVcenter::OneDisk("<fileName>" + base + "</fileName>", taken));
    auto bridge = server.Connected();

    const std::tuple<std::string, std::string, std::string> ids[] = {
        {"snapshot-3", "2000", taken}, {"backup-1", "Hard disk 1", taken}, {"", base, now}, {"", "2001", ""},
    };
    for (const auto& [snapshot, disk, expected] : ids) {
        std::string id = "stale";
        bridge->GetChangeIdForDisk("cbt-vm", "", snapshot, disk, id);
        EXPECT_EQ(id, expected) << snapshot << " " << disk << ": " << bridge->GetLastErrorString();
    }

    // A walk of the disk: one answer per call, the next call where it ended; areas cut at an answer's end stay cut.
    Areas walked;
    std::vector<long long> answers;
    for (long long offset = 0; offset < 16 * GiB;) {
        VMInfoStructs::SDiskChangeInfo info;
        ASSERT_EQ(bridge->QueryChangedDiskAreas("vm-7", "", "snapshot-3", "2000", offset, "*", info), 1) << bridge->GetLastErrorString();
        answers.insert(answers.end(), {info.llStartOffset, info.llLength, static_cast<long long>(info.changedAreaList.size())});
        for (const auto& area : AreasOf(info))
            walked.push_back(area);
        offset = info.llStartOffset + info.llLength;
    }
    EXPECT_EQ(answers, (std::vector<long long>{0, 5 * GiB, 2, 5 * GiB, 5 * GiB, 2, 10 * GiB, 5 * GiB, 0, 15 * GiB, GiB, 1}));
    EXPECT_EQ(walked, (Areas{{4096, 8192}, {5 * GiB - 4096, 4096}, {5 * GiB, 4096}, {5 * GiB + 8192, 4 * GiB + 4096}, {16 * GiB - 65536, 65536}}));
    EXPECT_NE(server.Calls("QueryChangedDiskAreas")[1].body.find("<snapshot type=\"VirtualMachineSnapshot\">snapshot-3</snapshot><deviceKey>2000</deviceKey>"
                                                                  "<startOffset>5368709120</startOffset><changeId>*</changeId>"),
              std::string::npos);
    VMInfoStructs::SDiskChangeInfo info;
    ASSERT_EQ(bridge->QueryChangedDiskAreas("vm-7", "", "", base, 15 * GiB, taken, info), 1);
    EXPECT_EQ(AreasOf(info), (Areas{{16 * GiB - 65536, 65536}}));
    EXPECT_NE(server.Calls("QueryChangedDiskAreas").back().body.find("</_this><deviceKey>2000</deviceKey>"), std::string::npos) << "no snapshot: now";
    EXPECT_EQ(bridge->QueryChangedDiskAreas("vm-7", "", "snapshot-3", "2000", 0, "52 00/1", info), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Error caused by file " + base);

    // Pages of the n-th allocated area, walked only as far as that area reaches (the second crosses an answer's end).
    const std::tuple<int, std::vector<std::string>, size_t> extents[] = {
        {0, {"4096,8192"}, 1}, {1, {"5368705024,4096", "5368709120,4096"}, 2}, {9, {}, 4},
    };
    for (const auto& [extent, expected, queries] : extents) {
        size_t before = server.Calls("QueryChangedDiskAreas").size();
        std::vector<std::string> pages;
        EXPECT_EQ(bridge->GetPageInfoForExtent("vm-7", "", "2000", extent, pages), !expected.empty()) << bridge->GetLastErrorString();
        EXPECT_EQ(pages, expected);
        EXPECT_EQ(server.Calls("QueryChangedDiskAreas").size() - before, queries) << extent;
        EXPECT_EQ(XmlText(server.Calls("QueryChangedDiskAreas").back().body, "changeId"), "*");
    }
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: extent");
}

} // namespace
