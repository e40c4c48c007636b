// Custom fields, VM configuration values and host options through the web-services client against the test endpoint,
// read back from what the server holds; typed host options against a loopback responder (the endpoint has only text
// options). The VM work happens on a clone of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "Endpoint.h"
#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using VMInfoStructs::SVMOptionValue;

namespace {

class VimFields : public EndpointVmTest {
protected:
    VimFields() : EndpointVmTest("DC0_C0_RP0_VM0") {}
    void SetUp() override
    {
        EndpointVmTest::SetUp();
        std::string task = XmlText(server.Call("CloneVM_Task", "VirtualMachine", moref,
                                               "<folder type=\"Folder\">" + Get("parent") + "</folder><name>" + clone +
                                                   "</name><spec><location/><powerOn>false</powerOn><template>false</template></spec>"),
                                   "returnval");
        ASSERT_EQ(XmlText(server.Property("Task", task, "info"), "state"), "success");
        cloneMoref = server.Moref("VirtualMachine", clone);
    }
    void TearDown() override
    {
        server.Call("Destroy_Task", "VirtualMachine", cloneMoref);
        // Definitions go with their values on every object.
        for (const auto& [key, name] : Definitions())
            if (name.rfind("visdk-", 0) == 0 || name == "Last Backup" || name == "Backup Status")
                server.Call("RemoveCustomFieldDef", "CustomFieldsManager", "CustomFieldsManager", "<key>" + key + "</key>");
        EndpointVmTest::TearDown();
    }
    // (key, name) of every field definition the server holds.
    std::vector<std::pair<std::string, std::string>> Definitions()
    {
        std::string fields = server.Property("CustomFieldsManager", "CustomFieldsManager", "field");
        std::vector<std::pair<std::string, std::string>> found;
        std::regex definition("<CustomFieldDef>\\s*<key>([^<]*)</key>\\s*<name>([^<]*)</name>");
        for (auto it = std::sregex_iterator(fields.begin(), fields.end(), definition); it != std::sregex_iterator(); ++it)
            found.emplace_back((*it)[1].str(), (*it)[2].str());
        return found;
    }
    std::string KeyOf(const std::string& name)
    {
        for (const auto& [key, defined] : Definitions())
            if (defined == name)
                return key;
        return "";
    }
    // The clone's values of one field in the order the server holds them.
    std::vector<std::string> Values(const std::string& name)
    {
        std::string values = server.Property("VirtualMachine", cloneMoref, "customValue"), key = KeyOf(name);
        std::vector<std::string> found;
        std::regex value("<key>([^<]*)</key>\\s*<value>([^<]*)</value>");
        for (auto it = std::sregex_iterator(values.begin(), values.end(), value); it != std::sregex_iterator(); ++it)
            if ((*it)[1].str() == key)
                found.push_back((*it)[2].str());
        return found;
    }
    // The clone's extraConfig as the server holds it: key=value, in order.
    std::vector<std::string> Extra()
    {
        std::string options = server.Property("VirtualMachine", cloneMoref, "config.extraConfig");
        std::vector<std::string> found;
        std::regex option("<key>([^<]*)</key>\\s*<value[^>]*>([^<]*)</value>");
        for (auto it = std::sregex_iterator(options.begin(), options.end(), option); it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1].str() + "=" + (*it)[2].str());
        return found;
    }
    const std::string clone = "vimfields-clone";
    std::string cloneMoref;
};

TEST_F(VimFields, AFieldIsDefinedOnceAndItsLastValueIsRead)
{
    EXPECT_EQ(bridge->AddCustomField("visdk-owner"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->AddCustomField("visdk-owner"), 1) << "defined already: " << bridge->GetLastErrorString();
    int defined = 0;
    for (const auto& definition : Definitions())
        defined += definition.second == "visdk-owner";
    EXPECT_EQ(defined, 1);
    EXPECT_NE(XmlText(server.Property("CustomFieldsManager", "CustomFieldsManager", "field"), "managedObjectType"), "");

    EXPECT_EQ(bridge->SetCustomField(clone, "", "visdk-owner", "team <a> & b"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Values("visdk-owner"), std::vector<std::string>{"team &lt;a&gt; &amp; b"});
    // The endpoint appends a second value instead of replacing the first: the last one is the field's.
    EXPECT_EQ(bridge->SetCustomField(cloneMoref, "", "visdk-owner", "team c"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Values("visdk-owner").size(), 2u);
    std::string value = "stale";
    EXPECT_EQ(bridge->GetCustomField(clone, "", "visdk-owner", value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "team c");
    VMInfoStructs::SVMInfo info;
    ASSERT_EQ(bridge->GetVMInfoForVM(clone, "", "", VM_PROP_VM_ATTRIBUTES, 0, info), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(info.customAttributes.size(), 1u) << "the record holds the last value too";
    EXPECT_EQ(info.customAttributes[0].key + "=" + info.customAttributes[0].value, "visdk-owner=team c");
    EXPECT_EQ(bridge->GetCustomField(vm, "", "visdk-owner", value), 1) << "a VM without a value";
    EXPECT_EQ(value, "");

    const struct {
        std::function<int()> call;
        std::string error;
    } failures[] = {
        {[&] { return bridge->GetCustomField(clone, "", "visdk-undefined", value); }, "The custom field 'visdk-undefined' is not defined."},
        {[&] { return bridge->SetCustomField(clone, "", "visdk-undefined", "x"); }, "The custom field 'visdk-undefined' is not defined."},
        {[&] { return bridge->SetCustomField("no-such-vm", "", "visdk-owner", "x"); }, "Virtual machine 'no-such-vm' was not found."},
        {[&] { return bridge->AddCustomField(" "); }, "A specified parameter was not correct: name"},
        {[&] { return bridge->SetBackupStatusCustomField(clone, "", "", "job", "detail", 1, 2); }, "A specified parameter was not correct: status"},
    };
    for (const auto& f : failures) {
        value = "kept";
        EXPECT_EQ(f.call(), 0) << f.error;
        EXPECT_EQ(bridge->GetLastErrorString(), f.error);
        EXPECT_EQ(value, "kept");
    }
    EXPECT_EQ(Values("visdk-owner").size(), 2u) << "nothing more was written";
}

TEST_F(VimFields, BackupFieldsAreDefinedOnFirstUse)
{
    ASSERT_EQ(KeyOf("Last Backup"), "");
    EXPECT_EQ(bridge->SetLastBackupCustomField(clone, "2024-06-03T09:00:00Z"), 1) << bridge->GetLastErrorString();
    EXPECT_NE(KeyOf("Last Backup"), "");
    EXPECT_EQ(Values("Last Backup"), std::vector<std::string>{"2024-06-03T09:00:00Z"});
    // Both counters pass whole, above 2^63 too.
    EXPECT_EQ(bridge->SetBackupStatusCustomField(clone, "", "Success", "nightly", "3 disks", 7, 18446744073709551615ull), 1)
        << bridge->GetLastErrorString();
    EXPECT_EQ(Values("Backup Status"), std::vector<std::string>{"Success (job nightly): 3 disks [7/18446744073709551615]"});
    EXPECT_EQ(bridge->SetLastBackupCustomField(clone, "2024-06-04T09:00:00Z"), 1) << "defined already: " << bridge->GetLastErrorString();
    std::string value;
    EXPECT_EQ(bridge->GetCustomField(clone, "", "Last Backup", value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "2024-06-04T09:00:00Z");
}

TEST_F(VimFields, ConfigurationValuesAreTheVmsExtraConfig)
{
    const size_t before = Extra().size();
    std::vector<SVMOptionValue> values = {{"visdk.backup.level", "full"}, {"visdk.backup.note", "<b> & c"}};
    ASSERT_TRUE(bridge->SetConfigValues(clone, "", values)) << bridge->GetLastErrorString();
    auto held = Extra();
    ASSERT_EQ(held.size(), before + 2);
    EXPECT_EQ(held[before], "visdk.backup.level=full");
    EXPECT_EQ(held[before + 1], "visdk.backup.note=&lt;b&gt; &amp; c");

    // Changing one and emptying the other: the endpoint appends both, the client reads the last value and drops the
    // emptied key, as a vCenter holds them.
    values = {{"visdk.backup.level", "incremental"}, {"visdk.backup.note", ""}};
    ASSERT_TRUE(bridge->SetConfigValues(cloneMoref, "", values)) << bridge->GetLastErrorString();
    EXPECT_EQ(Extra().size(), before + 4);
    std::vector<SVMOptionValue> read;
    ASSERT_TRUE(bridge->GetConfigValues(clone, "", read)) << bridge->GetLastErrorString();
    std::vector<std::string> got;
    for (const auto& o : read)
        got.push_back(o.key + "=" + o.value);
    EXPECT_EQ(std::count(got.begin(), got.end(), "visdk.backup.level=incremental"), 1);
    EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const std::string& o) { return o.rfind("visdk.backup.note=", 0) == 0; }), 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "govcsim=TRUE"), 1) << "the server's own values come too";

    // A key that is not "group.name" is refused before anything goes out.
    values = {{"visdk.fine", "1"}, {"no dots", "1"}};
    EXPECT_FALSE(bridge->SetConfigValues(clone, "", values));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: extraConfig");
    EXPECT_EQ(Extra().size(), before + 4);
    read = {{"kept", "kept"}};
    EXPECT_FALSE(bridge->GetConfigValues("no-such-vm", "", read));
    EXPECT_EQ(read.size(), 1u);
}

// A host's advanced options, read raw from its option manager.
class VimHostOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
    }
    std::string Option(const std::string& host, const std::string& key)
    {
        std::string manager = server.Property("HostSystem", server.Moref("HostSystem", host), "configManager.advancedOption");
        std::string answer = server.Call("QueryOptions", "OptionManager", manager, "<name>" + key + "</name>");
        std::smatch match;
        std::regex option("<key>" + std::regex_replace(key, std::regex("\\."), "\\.") + "</key>\\s*<value[^>]*>([^<]*)</value>");
        return std::regex_search(answer, match, option) ? match[1].str() : "(none)";
    }
    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
};

TEST_F(VimHostOptions, OptionsAreReadAndWrittenThroughTheHostsOptionManager)
{
    const std::string key = "Config.HostAgent.log.level";
    std::string value;
    ASSERT_EQ(bridge->GetHostConfigValue("DC0_H0", key, value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, Option("DC0_H0", key));
    EXPECT_EQ(value, "info");

    ASSERT_EQ(bridge->SetHostConfigValue("DC0_H0", key, "verbose"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Option("DC0_H0", key), "verbose");
    // The endpoint's hosts share their default options: the change shows on every host.
    EXPECT_EQ(Option("DC0_C0_H1", key), "verbose");
    ASSERT_EQ(bridge->SetHostConfigValue(server.Moref("HostSystem", "DC0_H0"), key, "info"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Option("DC0_H0", key), "info");

    // A new option named like "Group.Name" is a text; the endpoint keeps it per host (and cannot remove it).
    ASSERT_EQ(bridge->SetHostConfigValue("DC0_C0_H2", "Visdk.Test.Marker", "on"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Option("DC0_C0_H2", "Visdk.Test.Marker"), "on");
    ASSERT_EQ(bridge->GetHostConfigValue("DC0_C0_H2", "Visdk.Test.Marker", value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "on");

    const struct {
        std::function<int()> call;
        std::string error;
    } failures[] = {
        // The endpoint answers a name with every option it starts with: only the exact key counts.
        {[&] { return bridge->GetHostConfigValue("DC0_H0", "Config.HostAgent", value); }, "A specified parameter was not correct: Config.HostAgent"},
        {[&] { return bridge->GetHostConfigValue("DC0_H0", "", value); }, "A specified parameter was not correct: "},
        {[&] { return bridge->GetHostConfigValue("no-such-host", key, value); }, "The host 'no-such-host' was not found."},
        {[&] { return bridge->SetHostConfigValue("DC0_H0", "no dots", "1"); }, "A specified parameter was not correct: no dots"},
    };
    for (const auto& f : failures) {
        value = "kept";
        EXPECT_EQ(f.call(), 0) << f.error;
        EXPECT_EQ(bridge->GetLastErrorString(), f.error);
        EXPECT_EQ(value, "kept");
    }
    EXPECT_EQ(Option("DC0_H0", "no dots"), "(none)");
}

// A real host's options are typed: a changed value keeps its option's type.
TEST(VimHostOptionTypes, AChangedValueKeepsItsOptionsType)
{
    using Request = Responder::Request;
    Responder responder([](const Request& request) {
        Responder::Reply reply;
        if (Responder::AnswerSession(request, reply))
            return reply;
        const std::string& m = request.soapMethod;
        if (m == "CreateContainerView")
            reply.body = Responder::Response(m, "<returnval type=\"ContainerView\">session[1]hosts</returnval>");
        else if (m == "RetrievePropertiesEx")
            reply.body = Responder::Response(
                m, "<returnval><objects><obj type=\"HostSystem\">host-9</obj><propSet><name>name</name><val xsi:type=\"xsd:string\">esx9</val>"
                   "</propSet><propSet><name>configManager.advancedOption</name><val type=\"OptionManager\" xsi:type=\"ManagedObjectReference\">"
                   "EsxHostAdvSettings-9</val></propSet></objects></returnval>");
        else if (m == "QueryOptions" && request.body.find("<name>NFS.MaxVolumes</name>") != std::string::npos)
            reply.body = Responder::Response(m, "<returnval><key>NFS.MaxVolumes</key><value xsi:type=\"xsd:long\">8</value></returnval>");
        else if (m == "QueryOptions" && request.body.find("<name>Misc.Enabled</name>") != std::string::npos)
            reply.body = Responder::Response(m, "<returnval><key>Misc.Enabled</key><value xsi:type=\"xsd:boolean\">false</value></returnval>");
        else if (m == "UpdateOptions")
            reply.body = Responder::Response(m, "");
        else
            reply.status = 500, reply.body = Responder::Fault("InvalidName", "", "<name>x</name>");
        return reply;
    });
    auto bridge = ServerBridge(responder.Url());
    std::string value;
    ASSERT_EQ(bridge->GetHostConfigValue("esx9", "NFS.MaxVolumes", value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "8");
    ASSERT_EQ(bridge->SetHostConfigValue("esx9", "NFS.MaxVolumes", " 32 "), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(bridge->SetHostConfigValue("host-9", "Misc.Enabled", "1"), 1) << bridge->GetLastErrorString();
    std::vector<std::string> updates;
    for (const Request& request : responder.Requests())
        if (request.soapMethod == "UpdateOptions")
            updates.push_back(request.body);
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_NE(updates[0].find("_this type=\"OptionManager\">EsxHostAdvSettings-9<"), std::string::npos) << updates[0];
    EXPECT_NE(updates[0].find("<changedValue xsi:type=\"OptionValue\"><key>NFS.MaxVolumes</key><value xsi:type=\"xsd:long\">32</value>"),
              std::string::npos)
        << updates[0];
    EXPECT_NE(updates[1].find("<value xsi:type=\"xsd:boolean\">true</value>"), std::string::npos) << updates[1];
    // An option the host does not have (InvalidName) is new only when named like one.
    EXPECT_EQ(bridge->GetHostConfigValue("esx9", "Net.Unknown", value), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: Net.Unknown");
}

} // namespace
