// Host and server operations through the web-services client: what the endpoint holds (its version, a host's LUNs, a
// NAS datastore) is checked against the server; what it lacks (log bundles, adapter rescans, datastore removal) by the
// request in its trace and the fault it answers, and by canned answers of a loopback responder shaped as the API defines.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "CannedVCenter.h"
#include "Endpoint.h"
#include "LocalFiles.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VMInfoStructs;
namespace fs = std::filesystem;

namespace {

class VimHostOps : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
        host = server.Moref("HostSystem", "DC0_H0");
        ASSERT_NE(host, "");
        std::ifstream trace(Endpoint::Get().trace, std::ios::ate);
        mark = trace ? static_cast<size_t>(trace.tellg()) : 0;
    }
    // The requests that went out since the test began, from the endpoint's trace.
    std::string Sent()
    {
        std::ifstream in(Endpoint::Get().trace, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(mark));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Error() { return bridge->GetLastErrorString(); }

    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    std::string host;
    size_t mark = 0;
};

TEST_F(VimHostOps, TheVersionIsTheServersOwn)
{
    std::string about = server.Call("RetrieveServiceContent", "ServiceInstance", "ServiceInstance");
    SMgmtVersion version;
    ASSERT_TRUE(bridge->GetMgmtVersionInfo(version)) << Error();
    EXPECT_EQ(version.strVersion, XmlText(about, "version"));
    EXPECT_EQ(version.strBuild, XmlText(about, "build"));
    EXPECT_EQ(version.strFullVersion, XmlText(about, "fullName"));
}

TEST_F(VimHostOps, LunsAreTheHostsDisksWithTheAdapterOfTheirPath)
{
    std::string luns = server.Property("HostSystem", host, "config.storageDevice.scsiLun");
    std::vector<SSCSILunInfo> all;
    ASSERT_EQ(bridge->GetDeviceList("DC0_H0", "", all), 1) << Error();
    ASSERT_EQ(all.size(), 1u) << "the disk, not the CD-ROM: " << luns;
    EXPECT_EQ(all[0].strCanonicalName, "mpx.vmhba0:C0:T0:L0");
    EXPECT_NE(luns.find("<uuid>" + all[0].strUUID + "</uuid>"), std::string::npos);
    EXPECT_EQ(all[0].TargetAdapter.strAdapterType, "ParallelScsi");
    std::vector<SSCSILunInfo> through;
    EXPECT_EQ(bridge->GetDeviceList(host, "vmhba0", through), 1);
    EXPECT_EQ(through.size(), 1u);
    EXPECT_EQ(bridge->GetDeviceList(host, "vmhba1", through), 1);
    EXPECT_TRUE(through.empty()) << "vmhba1 reaches only the CD-ROM";

    SDatastoreInfo rdm;
    ASSERT_TRUE(bridge->GetLUNInformationForRDM("DC0_H0", all[0].strUUID, rdm)) << Error();
    EXPECT_EQ(rdm.strDataStoreName, "mpx.vmhba0:C0:T0:L0");
    EXPECT_EQ(rdm.strDataStoreType, "RDM");
    EXPECT_EQ(rdm.strDatastorePath, "/vmfs/devices/disks/mpx.vmhba0:C0:T0:L0");
    EXPECT_EQ(rdm.i64TotalSize, std::stoll(XmlText(luns, "block")) * std::stoll(XmlText(luns, "blockSize")));
    ASSERT_EQ(rdm.extentsInfoList.size(), 1u);
    EXPECT_FALSE(bridge->GetLUNInformationForRDM("DC0_H0", "mpx.vmhba1:C0:T0:L0", rdm)) << "a CD-ROM maps nothing";
    EXPECT_EQ(bridge->GetDeviceList("nohost", "", all), 0);
    EXPECT_EQ(Error(), "The host 'nohost' was not found.");
}

// The endpoint implements neither RescanHba, RemoveDatastore nor the diagnostic manager: the request goes out, the
// server's fault comes back.
TEST_F(VimHostOps, WhatTheEndpointLacksIsAskedForAndItsFaultReported)
{
    SHostStorageAdapterInfo adapter;
    adapter.strAdapterType = "ParallelScsi";
    EXPECT_EQ(bridge->RefreshHostAdapter("DC0_H0", adapter, {}), 0);
    EXPECT_NE(Sent().find("<RescanHba xmlns=\"urn:vim25\"><_this type=\"HostStorageSystem\">"), std::string::npos);
    EXPECT_NE(Sent().find("<hbaDevice>vmhba0</hbaDevice>"), std::string::npos);
    EXPECT_NE(Error().find("does not implement: RescanHba"), std::string::npos) << Error();
    adapter.strIscsiName = "iqn.1998-01.com.vmware:none";
    EXPECT_EQ(bridge->RefreshHostAdapter("DC0_H0", adapter, {}), 0);
    EXPECT_EQ(Error(), "The storage adapter was not found on host 'DC0_H0'.");

    TempDir dir;
    EXPECT_FALSE(bridge->DownloadHostLogBundle("DC0_H0", dir.Path()));
    EXPECT_NE(Sent().find("<includeDefault>false</includeDefault><host type=\"HostSystem\">" + host + "</host>"), std::string::npos);
    EXPECT_NE(Error().find("does not implement: GenerateLogBundles_Task"), std::string::npos) << Error();
    EXPECT_FALSE(bridge->DownloadServerLogBundle(dir.Path()));
    EXPECT_NE(Sent().find("<includeDefault>true</includeDefault></GenerateLogBundles_Task>"), std::string::npos);
    EXPECT_EQ(dir.Count(), 0u);
    EXPECT_FALSE(bridge->DownloadHostLogBundle("nohost", "/tmp"));
    EXPECT_EQ(Error(), "The host 'nohost' was not found.");
    EXPECT_FALSE(bridge->DownloadServerLogBundle(""));
    EXPECT_EQ(Error(), "A specified parameter was not correct: localPath");
}

// The endpoint serves a NAS datastore from a local directory named as the mount: one is made in its working directory.
TEST_F(VimHostOps, ANasDatastoreIsMountedThroughTheHostsDatastoreSystem)
{
    std::ifstream env(getenv("VISDK_TEST_ENDPOINT"));
    std::string line, pid;
    while (std::getline(env, line))
        if (line.rfind("VISDK_ENDPOINT_PID=", 0) == 0)
            pid = line.substr(19);
    fs::path served = fs::read_symlink("/proc/" + pid + "/cwd") / "visdk-nas";
    fs::create_directories(served);
    ASSERT_EQ(bridge->CreateNASDatastore("DC0_H0", "visdk-nas", "127.0.0.1", "/exports/backup", true), 1) << Error();
    std::string moref = server.Moref("Datastore", "visdk-nas");
    EXPECT_NE(moref, "");
    EXPECT_EQ(XmlText(server.Property("Datastore", moref, "info"), "remotePath"), "/exports/backup");
    EXPECT_EQ(server.Property("Datastore", moref, "summary.type"), "NFS");
    EXPECT_NE(Sent().find("<accessMode>readOnly</accessMode>"), std::string::npos);

    EXPECT_EQ(bridge->RemoveDatastore("DC0_C0_H0", "visdk-nas"), 0);
    EXPECT_EQ(Error(), "The datastore 'visdk-nas' is not mounted on 'DC0_C0_H0'.");
    EXPECT_EQ(bridge->RemoveDatastore("DC0_H0", "visdk-nas"), 0);
    EXPECT_NE(Sent().find("<datastore type=\"Datastore\">" + moref + "</datastore></RemoveDatastore>"), std::string::npos);
    EXPECT_NE(Error().find("does not implement: RemoveDatastore"), std::string::npos) << Error();
    server.Call("Destroy_Task", "Datastore", moref);
    fs::remove_all(served);
    EXPECT_EQ(server.Moref("Datastore", "visdk-nas"), "");

    const struct {
        std::string host, name, remoteHost, remotePath, error;
    } refused[] = {
        {"DC0_H0", "a/b", "nas", "/x", "A specified parameter was not correct: localPath"},
        {"DC0_H0", "n", "", "/x", "A specified parameter was not correct: remoteHost"},
        {"DC0_H0", "n", "nas", "x", "A specified parameter was not correct: remotePath"},
        {"nohost", "n", "nas", "/x", "The host 'nohost' was not found."},
        {"", "n", "nas", "/x", "A specified parameter was not correct: host"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(bridge->CreateNASDatastore(r.host, r.name, r.remoteHost, r.remotePath, false), 0) << r.error;
        EXPECT_EQ(Error(), r.error);
    }
}

// A host with an iSCSI adapter reaching a VMFS datastore's LUN and a Fibre Channel adapter reaching a free one.
std::vector<std::string> StorageHost()
{
    const std::string lun = "<ScsiLun xsi:type=\"HostScsiDisk\"><key>key-%K</key><uuid>%K-uuid</uuid><canonicalName>naa.%K</canonicalName>"
                            "<vendor>LAB </vendor><lunType>disk</lunType><capacity><block>2048</block><blockSize>512</blockSize></capacity></ScsiLun>";
    auto disk = [&](const std::string& k) { return std::regex_replace(lun, std::regex("%K"), k); };
    return {CannedVCenter::Object(
        "HostSystem", "host-1", "esx1",
        {{"configManager.storageSystem", CannedVCenter::Ref("HostStorageSystem", "storage-1")},
         {"config.storageDevice.hostBusAdapter",
          "<val xsi:type=\"ArrayOfHostHostBusAdapter\"><HostHostBusAdapter xsi:type=\"HostInternetScsiHba\"><key>hba-i</key><device>vmhba64</device>"
          "<iScsiName>iqn.1998-01.com.vmware:esx1</iScsiName></HostHostBusAdapter><HostHostBusAdapter xsi:type=\"HostFibreChannelHba\"><key>hba-f"
          "</key><device>vmhba2</device><portWorldWideName>2305843009213693953</portWorldWideName></HostHostBusAdapter></val>"},
         {"config.storageDevice.scsiLun", "<val xsi:type=\"ArrayOfScsiLun\">" + disk("1") + disk("2") + "</val>"},
         {"config.storageDevice.multipathInfo",
          "<val xsi:type=\"HostMultipathInfo\"><lun><lun>key-1</lun><path><adapter>hba-i</adapter></path></lun><lun><lun>key-2</lun><path>"
          "<adapter>hba-f</adapter></path></lun></val>"},
         {"config.fileSystemVolume.mountInfo",
          "<val xsi:type=\"ArrayOfHostFileSystemMountInfo\"><HostFileSystemMountInfo><volume xsi:type=\"HostVmfsVolume\"><name>vmfs-1</name>"
          "<extent><diskName>naa.1</diskName><partition>1</partition></extent></volume></HostFileSystemMountInfo></val>"}})};
}

TEST(VimHostOpsCanned, LunsAdaptersAndVolumesAreReadAsTheApiShapesThem)
{
    CannedVCenter server(StorageHost(), [](const Responder::Request& r, Responder::Reply& reply) {
        if (r.soapMethod != "RescanHba" && r.soapMethod != "RefreshStorageSystem")
            return false;
        reply.body = Responder::Response(r.soapMethod, "");
        return true;
    });
    auto bridge = server.Connect();
    std::vector<SSCSILunInfo> luns;
    ASSERT_EQ(bridge->GetDeviceList("esx1", "iqn.1998-01.com.vmware:esx1", luns), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(luns.size(), 1u);
    EXPECT_EQ(luns[0].strCanonicalName, "naa.1");
    EXPECT_EQ(luns[0].strVendor, "LAB");
    EXPECT_EQ(luns[0].TargetAdapter.strAdapterType, "InternetScsi");
    ASSERT_EQ(bridge->GetDeviceList("host-1", "20:00:00:00:00:00:00:01", luns), 1);
    ASSERT_EQ(luns.size(), 1u);
    EXPECT_EQ(luns[0].strCanonicalName, "naa.2");
    EXPECT_EQ(luns[0].TargetAdapter.strportWorldWideName, "20:00:00:00:00:00:00:01");

    SDatastoreInfo rdm;
    EXPECT_FALSE(bridge->GetLUNInformationForRDM("esx1", "naa.1", rdm));
    EXPECT_EQ(bridge->GetLastErrorString(), "The LUN 'naa.1' backs datastore 'vmfs-1' and cannot be mapped raw.");
    ASSERT_TRUE(bridge->GetLUNInformationForRDM("esx1", "2-UUID", rdm)) << bridge->GetLastErrorString();
    EXPECT_EQ(rdm.i64TotalSize, 2048 * 512);

    SHostStorageAdapterInfo iscsi;
    iscsi.strIscsiName = "iqn.1998-01.com.vmware:esx1";
    SDatastoreInfo vmfs;
    vmfs.strDataStoreName = "vmfs-1";
    EXPECT_EQ(bridge->RefreshHostAdapter("esx1", iscsi, {vmfs}), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(server.Bodies("RescanHba").size(), 1u);
    EXPECT_NE(server.Bodies("RescanHba")[0].find("<_this type=\"HostStorageSystem\">storage-1</_this><hbaDevice>vmhba64</hbaDevice>"), std::string::npos);
    EXPECT_EQ(server.Bodies("RefreshStorageSystem").size(), 1u);
    SHostStorageAdapterInfo fc;
    fc.strAdapterType = "FibreChannel";
    EXPECT_EQ(bridge->RefreshHostAdapter("esx1", fc, {vmfs}), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The datastore 'vmfs-1' is not reachable through adapter vmhba2.");
}

TEST(VimHostOpsCanned, ABundleIsFetchedFromWhereTheTaskSays)
{
    CannedVCenter server({CannedVCenter::Object("HostSystem", "host-1", "esx1", {{"runtime.connectionState", "<val>connected</val>"}})},
                         [](const Responder::Request& r, Responder::Reply& reply) {
                             if (r.path.rfind("/downloads/", 0) != 0)
                                 return false;
                             reply.contentType = "application/x-gzip", reply.body = "bundle " + r.path;
                             return true;
                         });
    server.taskResult = "<result xsi:type=\"ArrayOfDiagnosticManagerBundleInfo\"><DiagnosticManagerBundleInfo><system type=\"HostSystem\">host-1"
                        "</system><url>https://*/downloads/esx1-vmsupport.tgz</url></DiagnosticManagerBundleInfo><DiagnosticManagerBundleInfo>"
                        "<url>https://*:443/downloads/vc-support.tgz</url></DiagnosticManagerBundleInfo></result>";
    auto bridge = server.Connect();
    TempDir dir;
    ASSERT_TRUE(bridge->DownloadHostLogBundle("esx1", dir.Path())) << bridge->GetLastErrorString();
    EXPECT_EQ(ReadFile(dir / "esx1-vmsupport.tgz"), "bundle /downloads/esx1-vmsupport.tgz") << "a directory gets the server's name";
    ASSERT_TRUE(bridge->DownloadServerLogBundle((dir / "mine.tgz").string())) << bridge->GetLastErrorString();
    EXPECT_EQ(ReadFile(dir / "mine.tgz"), "bundle /downloads/vc-support.tgz");
    std::vector<std::string> asked = server.Bodies("GenerateLogBundles_Task");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[0].find("<includeDefault>false</includeDefault><host type=\"HostSystem\">host-1</host>"), std::string::npos) << asked[0];
    EXPECT_NE(asked[1].find("<includeDefault>true</includeDefault></GenerateLogBundles_Task>"), std::string::npos) << asked[1];
}

} // namespace
