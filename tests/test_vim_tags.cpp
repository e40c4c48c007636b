// Tags and categories against the endpoint's tagging REST API, checked against what the tagging service answers over
// a REST session of the test's own (curl); a vCenter's REST answers (an expired session, its error shapes) against a
// loopback responder.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "Endpoint.h"
#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using Json = nlohmann::json;
using VMInfoStructs::SInventoryInfo;
using VMInfoStructs::SVMInfo;

namespace {

const std::string kTagging = "/com/vmware/cis/tagging";

class VimTags : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
        session = Rest("POST", "/com/vmware/cis/session", Json(), "-u '" + Endpoint::Get().user + ":" + Endpoint::Get().password + "'").get<std::string>();
        for (const char* category : {"visdk-backup", "visdk-env"})
            ids[category] = Rest("POST", kTagging + "/category",
                                 {{"create_spec", {{"name", category}, {"cardinality", "MULTIPLE"}, {"associable_types", {"VirtualMachine"}}}}}).get<std::string>();
        for (const char* tag : {"visdk-backup/gold", "visdk-backup/silver", "visdk-env/gold"}) {
            std::string name = tag;
            ids[name] = Rest("POST", kTagging + "/tag", {{"create_spec", {{"name", name.substr(name.find('/') + 1)}, {"category_id", ids[name.substr(0, name.find('/'))]}}}}).get<std::string>();
        }
        for (const char* name : {"DC0_C0_RP0_VM0", "DC0_C0_RP0_VM1", "DC0_H0_VM0", "DC0_H0_VM1"})
            ids[name] = server.Moref("VirtualMachine", name);
    }
    // Deleting a category deletes its tags and their associations.
    void TearDown() override
    {
        for (const char* category : {"visdk-backup", "visdk-env"})
            Rest("DELETE", kTagging + "/category/id:" + ids[category]);
    }
    // The tagging service's "value" for one request in the test's own REST session.
    Json Rest(const std::string& method, const std::string& path, const Json& body = Json(), const std::string& login = "")
    {
        const std::string& url = Endpoint::Get().url;
        std::string out = Curl("-X " + method + " -H 'Content-Type: application/json' " + login + " -H 'vmware-api-session-id: " + session + "' '" +
                                   url.substr(0, url.rfind("/sdk")) + "/rest" + path + "'",
                               body.is_null() ? "" : body.dump());
        Json answer = Json::parse(out, nullptr, false);
        return answer.is_object() ? answer.value("value", Json()) : Json();
    }
    Json Vm(const std::string& name) { return {{"object_id", {{"type", "VirtualMachine"}, {"id", ids[name]}}}}; }
    std::set<std::string> Attached(const std::string& name)
    {
        Json attached = Rest("POST", kTagging + "/tag-association?~action=list-attached-tags", Vm(name));
        return attached.is_array() ? attached.get<std::set<std::string>>() : std::set<std::string>();
    }
    static SInventoryInfo Named(const std::string& name, const std::string& category)
    {
        SInventoryInfo tag;
        tag.strName = name;
        tag.children.resize(1);
        tag.children[0].strName = category;
        return tag;
    }
    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    std::string session;
    std::map<std::string, std::string> ids;  // category, "category/tag" and VM names to their ids
};

TEST_F(VimTags, AttachedTagsAreTheTaggingServices)
{
    const std::string vm = "DC0_C0_RP0_VM0";
    SInventoryInfo byId;
    byId.strGUID = ids["visdk-backup/silver"];
    // By name in a category named by name (the other category's "gold" stays off), by id, and in a category named by id.
    std::vector<SInventoryInfo> tags = {Named("gold", "visdk-backup"), byId};
    ASSERT_EQ(bridge->AttachTagsToVM(vm, tags), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Attached(vm), (std::set<std::string>{ids["visdk-backup/gold"], ids["visdk-backup/silver"]}));
    tags = {Named("gold", ids["visdk-env"]), byId};
    ASSERT_EQ(bridge->AttachTagsToVM(ids[vm], tags), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Attached(vm).size(), 3u);

    std::vector<SInventoryInfo> read;
    ASSERT_EQ(bridge->GetTagsForVM(vm, read), 1) << bridge->GetLastErrorString();
    std::set<std::string> seen;
    for (const SInventoryInfo& t : read)
        seen.insert(t.children.at(0).strName + "/" + t.strName + "|" + t.strGUID + "|" + t.children[0].strGUID);
    for (const char* tag : {"visdk-backup/gold", "visdk-backup/silver", "visdk-env/gold"}) {
        std::string name = tag;
        EXPECT_EQ(seen.count(name + "|" + ids[name] + "|" + ids[name.substr(0, name.find('/'))]), 1u) << name;
    }

    // All or none: one unknown tag attaches nothing.
    for (const auto& unknown : {Named("bronze", "visdk-backup"), Named("gold", "visdk-nothing")}) {
        tags = {Named("silver", "visdk-backup"), unknown};
        EXPECT_EQ(bridge->AttachTagsToVM("DC0_H0_VM1", tags), 0);
        EXPECT_EQ(bridge->GetLastErrorString(), "The tag '" + unknown.strName + "' was not found.");
    }
    EXPECT_TRUE(Attached("DC0_H0_VM1").empty());
    ASSERT_EQ(bridge->GetTagsForVM("DC0_H0_VM1", read), 1) << bridge->GetLastErrorString();
    EXPECT_TRUE(read.empty());

    // A new SOAP session makes a new REST session too.
    ASSERT_EQ(bridge->Disconnect(), 1);
    ASSERT_EQ(bridge->Connect(Endpoint::Get().url, Endpoint::Get().user, Endpoint::Get().password), 1);
    ASSERT_EQ(bridge->GetTagsForVM(vm, read), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(read.size(), 3u);
}

TEST_F(VimTags, VmsAreListedByTagAndByCategory)
{
    for (const auto& [tag, vm] : std::multimap<std::string, std::string>{{"visdk-backup/gold", "DC0_C0_RP0_VM0"},
                                                                        {"visdk-backup/gold", "DC0_C0_RP0_VM1"},
                                                                        {"visdk-backup/silver", "DC0_H0_VM0"},
                                                                        {"visdk-env/gold", "DC0_H0_VM1"}})
        Rest("POST", kTagging + "/tag-association/id:" + ids[tag] + "?~action=attach", Vm(vm));
    const struct {
        std::function<int(std::vector<SVMInfo>&)> call;
        std::set<std::string> expected;
    } cases[] = {
        {[&](auto& out) { return bridge->GetVMInfoListForTag("gold", "visdk-backup", 0, 0, out); }, {"DC0_C0_RP0_VM0", "DC0_C0_RP0_VM1"}},
        {[&](auto& out) { return bridge->GetVMInfoListForTag("gold", ids["visdk-env"], 0, 0, out); }, {"DC0_H0_VM1"}},
        {[&](auto& out) { return bridge->GetVMInfoListForTag(ids["visdk-backup/silver"], "", 0, 0, out); }, {"DC0_H0_VM0"}},
        {[&](auto& out) { return bridge->GetVMInfoListForCategory("visdk-backup", "", 0, 0, out); }, {"DC0_C0_RP0_VM0", "DC0_C0_RP0_VM1", "DC0_H0_VM0"}},
        {[&](auto& out) { return bridge->GetVMInfoListForCategory(ids["visdk-backup"], "silver", 0, 0, out); }, {"DC0_H0_VM0"}},
        {[&](auto& out) { return bridge->GetVMInfoListForCategory("visdk-env", "silver", 0, 0, out); }, {}},
    };
    for (const auto& c : cases) {
        std::vector<SVMInfo> out(1);
        ASSERT_EQ(c.call(out), 1) << bridge->GetLastErrorString();
        std::set<std::string> names;
        for (const SVMInfo& v : out) {
            names.insert(v.strName);
            EXPECT_EQ(v.strMoRef, ids[v.strName]);
        }
        EXPECT_EQ(names, c.expected);
    }
    // The records are the VM record code's: the mask's host part is the server's.
    std::vector<SVMInfo> out;
    ASSERT_EQ(bridge->GetVMInfoListForTag("silver", "visdk-backup", VM_PROP_VM_HOST_INFO, 0, out), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(out.at(0).hostName, server.Property("HostSystem", server.Property("VirtualMachine", ids["DC0_H0_VM0"], "runtime.host"), "name"));
    EXPECT_EQ(bridge->GetVMInfoListForTag("bronze", "visdk-backup", 0, 0, out), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The tag 'bronze' was not found.");
    EXPECT_EQ(bridge->GetVMInfoListForCategory("visdk-nothing", "", 0, 0, out), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The tag category 'visdk-nothing' was not found.");
    EXPECT_EQ(out.size(), 1u);
}

// A vCenter's REST answers: an expired session is made again once with the Connect's credentials; failures carry the
// service's messages.
TEST(VimTagAnswers, AnExpiredSessionIsRenewedAndFailuresCarryTheServicesMessage)
{
    const std::string tag = "urn:vmomi:InventoryServiceTag:1111-2222:GLOBAL";
    int sessions = 0;
    Responder responder([&](const Responder::Request& request) {
        Responder::Reply reply;
        if (Responder::AnswerSession(request, reply))
            return reply;
        reply.contentType = "application/json";
        const std::string& path = request.path;
        if (request.soapMethod == "RetrievePropertiesEx")
            reply.contentType = "text/xml", reply.body = Responder::Response("RetrievePropertiesEx", "<returnval><objects><obj type=\"VirtualMachine\">vm-7"
                                                                                                      "</obj></objects></returnval>");
        else if (path == "/rest/com/vmware/cis/session")
            reply.body = "{\"value\":\"rest-" + std::to_string(++sessions) + "\"}";
        else if (request.head.find("vmware-api-session-id: rest-2") == std::string::npos)
            reply.status = 401, reply.body = "{\"type\":\"com.vmware.vapi.std.errors.unauthenticated\",\"value\":{\"messages\":[]}}";
        else if (path.find("/rest/com/vmware/cis/tagging/tag/id:") == 0)
            reply.body = "{\"value\":{\"id\":\"" + tag + "\",\"name\":\"gold\",\"category_id\":\"urn:c\",\"used_by\":[]}}";
        else if (path.find("attach-multiple-tags-to-object") != std::string::npos)
            reply.body = "{\"value\":{\"success\":false,\"error_messages\":[{\"args\":[],\"default_message\":\"Cannot attach.\",\"id\":\"e\"}]}}";
        else
            reply.status = 403, reply.body = "{\"type\":\"com.vmware.vapi.std.errors.unauthorized\",\"value\":{\"messages\":[{\"args\":[],"
                                             "\"default_message\":\"Permission to perform this operation was denied.\",\"id\":\"x\"}]}}";
        return reply;
    });
    auto bridge = ServerBridge(responder.Url(), "tester@vsphere.local", "pa:ss");
    SInventoryInfo byId;
    byId.strGUID = tag;
    std::vector<SInventoryInfo> tags = {byId};
    EXPECT_EQ(bridge->AttachTagsToVM("vm-7", tags), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The tags were not attached to 'vm-7': Cannot attach.");
    EXPECT_EQ(sessions, 2) << "a new session after the first was refused";
    std::string login, attach;
    for (const Responder::Request& request : responder.Requests()) {
        if (request.path == "/rest/com/vmware/cis/session")
            login = request.head;
        if (request.path.find("attach-multiple-tags-to-object") != std::string::npos)
            attach = request.body;
    }
    EXPECT_NE(login.find("Authorization: Basic " /* tester@vsphere.local:pa:ss */ "dGVzdGVyQHZzcGhlcmUubG9jYWw6cGE6c3M="), std::string::npos) << login;
    EXPECT_EQ(Json::parse(attach, nullptr, false), (Json{{"object_id", {{"type", "VirtualMachine"}, {"id", "vm-7"}}}, {"tag_ids", {tag}}}));
    std::vector<SVMInfo> list(1);
    EXPECT_EQ(bridge->GetVMInfoListForCategory("Backup", "", 0, 0, list), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Permission to perform this operation was denied.");
}

} // namespace
