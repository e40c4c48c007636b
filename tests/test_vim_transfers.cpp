// Datastore transfers against servers of canned answers: what a real server may do and the test endpoint cannot show
// (a transfer broken off or stalled, a host reached with a ticket). This process's configuration waits 2 s for a
// server (support/HostileServers.config).
#include <gtest/gtest.h>

#include <filesystem>

#include "CannedVCenter.h"
#include "LocalFiles.h"
#include "TestSupport.h"

using namespace visdktest;
namespace fs = std::filesystem;

namespace {

// A vCenter of canned answers with one datastore (ds1 in "Lab DC", mounted on h1) whose search finds vm/big.vmdk; its
// /folder access answers as the test says.
class FileServer : public CannedVCenter {
public:
    explicit FileServer(std::function<void(const Responder::Request&, Responder::Reply&)> folder, bool vcenter = true)
        : CannedVCenter(
              {Object("Datacenter", "dc-1", "Lab DC"), Object("Folder", "group-s1", "datastore", {{"parent", Ref("Datacenter", "dc-1")}}),
               Object("HostSystem", "host-1", "h1",
                      {{"datastore", "<val xsi:type=\"ArrayOfManagedObjectReference\"><ManagedObjectReference type=\"Datastore\">ds-1</ManagedObjectReference></val>"}}),
               Object("Datastore", "ds-1", "ds1",
                      {{"parent", Ref("Folder", "group-s1")}, {"summary.accessible", "<val xsi:type=\"xsd:boolean\">true</val>"},
                       {"browser", Ref("HostDatastoreBrowser", "browser-1")}})},
              [this, folder](const Responder::Request& request, Responder::Reply& reply) {
                  if (request.path.rfind("/folder/", 0) == 0)
                      folder(request, reply);
                  else if (request.soapMethod == "AcquireGenericServiceTicket")
                      // The host's address as the ticket names it: this same server.
                      reply.body = Responder::Response("AcquireGenericServiceTicket",
                                                       "<returnval><id>ticket-1</id><hostName>" + Authority() + "</hostName></returnval>");
                  else
                      return false;
                  return true;
              },
              vcenter)
    {
        taskResult = "<result xsi:type=\"HostDatastoreBrowserSearchResults\"><folderPath>[ds1] vm</folderPath><file xsi:type=\"VmDiskFileInfo\">"
                     "<path>big.vmdk</path></file></result>";
    }
};

// Each leaves no file, not even a partial one; a stalled one ends once less than a KiB has moved for the read timeout.
TEST(VimDatastoreTransfers, ADownloadTheServerBreaksOffLeavesNoFile)
{
    const struct {
        const char* name;
        std::function<void(Responder::Reply&)> answer;
        std::string error;
    } cases[] = {
        {"cut short", [](Responder::Reply& r) { r.contentType = "application/octet-stream", r.body = Pattern(1 << 20), r.contentLength = 4 << 20; },
         "/folder/vm/big.vmdk"},
        {"stalled", [](Responder::Reply& r) { r.body = Pattern(1 << 20), r.pauseMs = 6000, r.streamBytes = 1 << 20; },
         "The server 127.0.0.1:"},
        {"a trickle", [](Responder::Reply& r) { r.body = Pattern(1 << 20), r.streamBytes = 1 << 20, r.streamUnit = "x", r.trickleMs = 200; },
         "The server 127.0.0.1:"},
        {"an error page", [](Responder::Reply& r) { r.status = 503, r.contentType = "text/html", r.body = "<html>busy</html>"; },
         "The server answered 503 (Service Unavailable) to GET /folder/vm/big.vmdk"},
        {"a closed connection", [](Responder::Reply& r) { r.closeInstead = true; }, "127.0.0.1:"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        std::string asked;
        FileServer server([&](const Responder::Request& request, Responder::Reply& reply) {
            asked = request.method + " " + request.path;
            c.answer(reply);
        });
        auto bridge = server.Connect();
        EXPECT_EQ(bridge->DownloadDatastoreFile("", "ds1", "vm/big.vmdk", (dir / "big.vmdk").string(), ""), 0) << c.name;
        EXPECT_NE(bridge->GetLastErrorString().find(c.error), std::string::npos) << c.name << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(asked, "GET /folder/vm/big.vmdk?dcPath=Lab%20DC&dsName=ds1") << c.name;
        EXPECT_EQ(dir.Count(), 0u) << c.name << ": no partial file";
    }
}

// Through a vCenter the host gets the ticket's cookie and never the session's; a host connected to directly is the server.
TEST(VimDatastoreTransfers, AHostSeesTheTicketAndNeverTheSession)
{
    const struct {
        bool vcenter;
        std::string path, cookie, absent;
        size_t tickets;
    } cases[] = {
        {true, "/folder/vm/big.vmdk?dsName=ds1", "Cookie: vmware_cgi_ticket=ticket-1", "vmware_soap_session", 2},
        {false, "/folder/vm/big.vmdk?dcPath=Lab%20DC&dsName=ds1", "Cookie: vmware_soap_session=", "vmware_cgi_ticket", 0},
    };
    for (const auto& c : cases) {
        std::vector<Responder::Request> asked;
        FileServer server(
            [&](const Responder::Request& request, Responder::Reply& reply) {
                asked.push_back(request);
                reply.contentType = "application/octet-stream", reply.body = "bytes of the host";
            },
            c.vcenter);
        auto bridge = server.Connect();
        TempDir dir;
        ASSERT_EQ(bridge->DownloadDatastoreFileFromHost("", "ds1", "vm/big.vmdk", (dir / "got").string(), "h1"), 1) << bridge->GetLastErrorString();
        EXPECT_EQ(ReadFile(dir / "got"), "bytes of the host");
        WriteFile(dir / "up", "bytes for the host");
        ASSERT_EQ(bridge->UploadDatastoreFileToHost("", "ds1", "vm/new.bin", (dir / "up").string(), "h1"), 1) << bridge->GetLastErrorString();
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(asked[0].method + " " + asked[0].path, "GET " + c.path);
        EXPECT_EQ(asked[1].method + " " + asked[1].body, "PUT bytes for the host");
        for (const Responder::Request& r : asked) {
            EXPECT_NE(r.head.find(c.cookie), std::string::npos) << r.head;
            EXPECT_EQ(r.head.find(c.absent), std::string::npos) << r.head;
        }
        std::vector<std::string> tickets = server.Bodies("AcquireGenericServiceTicket");
        ASSERT_EQ(tickets.size(), c.tickets);
        if (c.vcenter) {
            EXPECT_NE(tickets[0].find("<spec xsi:type=\"SessionManagerHttpServiceRequestSpec\"><method>httpGet</method>"
                                      "<url>http://h1/folder/vm/big.vmdk?dsName=ds1</url></spec>"),
                      std::string::npos)
                << tickets[0];
            EXPECT_NE(tickets[1].find("<method>httpPut</method><url>http://h1/folder/vm/new.bin?dsName=ds1</url>"), std::string::npos) << tickets[1];
        }
    }
}

TEST(VimDatastoreTransfers, AnUploadOfAMissingFileSendsNothing)
{
    FileServer server([](const Responder::Request&, Responder::Reply&) {});
    auto bridge = server.Connect();
    size_t before = server.responder.Requests().size();
    for (const std::string& missing : {std::string("/tmp/visdk-no-such-file"), std::string("")}) {
        EXPECT_EQ(bridge->UploadDatastoreFile("", "ds1", "vm/x.vmdk", missing, ""), 0);
        EXPECT_EQ(bridge->UploadDatastoreFileToHost("", "ds1", "vm/x.vmdk", missing, "h1"), 0);
        EXPECT_EQ(bridge->GetLastErrorString(), "The local file '" + missing + "' was not found.");
    }
    EXPECT_EQ(server.responder.Requests().size(), before);
}

} // namespace
