// Custom fields, VM configuration values and host options against the test endpoint, read back from what the server
// holds (the VM work on a clone of the test's own); typed host options against a loopback responder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <regex>

#include "Endpoint.h"
#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using VMInfoStructs::SVMOptionValue;

namespace {

// "<key>K</key> <SECOND>V</SECOND>" pairs in order, as "K=V".
std::vector<std::string> Pairs(const std::string& xml, const std::string& second)
{
    std::vector<std::string> found;
    std::regex pair("<key>([^<]*)</key>\\s*<" + second + "[^>]*>([^<]*)</" + second + ">");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pair); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str() + "=" + (*it)[2].str());
    return found;
}

class VimFields : public EndpointVmTest {
protected:
    VimFields() : EndpointVmTest("DC0_C0_RP0_VM0") {}
    void SetUp() override
    {
        EndpointVmTest::SetUp();
        server.Call("CloneVM_Task", "VirtualMachine", moref,
                    "<folder type=\"Folder\">" + Get("parent") + "</folder><name>" + clone + "</name><spec><location/></spec>");
        cloneMoref = server.Moref("VirtualMachine", clone);
        ASSERT_NE(cloneMoref, "");
    }
    void TearDown() override
    {
        server.Call("Destroy_Task", "VirtualMachine", cloneMoref);
        // The fields this test defines go, and their values with them.
        for (const std::string& definition : Definitions())
            if (std::set<std::string>{"visdk-owner", "Last Backup", "Backup Status"}.count(definition.substr(definition.find('=') + 1)))
                server.Call("RemoveCustomFieldDef", "CustomFieldsManager", "CustomFieldsManager", "<key>" + definition.substr(0, definition.find('=')) + "</key>");
        EndpointVmTest::TearDown();
    }
    std::vector<std::string> Definitions() { return Pairs(server.Property("CustomFieldsManager", "CustomFieldsManager", "field"), "name"); }
    // The clone's values of a field, in the order the server holds them.
    std::vector<std::string> Values(const std::string& name)
    {
        std::vector<std::string> values;
        for (const std::string& definition : Definitions())
            if (definition.substr(definition.find('=') + 1) == name)
                for (const std::string& value : Pairs(server.Property("VirtualMachine", cloneMoref, "customValue"), "value"))
                    if (value.substr(0, value.find('=')) == definition.substr(0, definition.find('=')))
                        values.push_back(value.substr(value.find('=') + 1));
        return values;
    }
    const std::string clone = "vimfields-clone";
    std::string cloneMoref;
};

TEST_F(VimFields, FieldsAreDefinedOnceAndTheirLastValueIsRead)
{
    EXPECT_EQ(bridge->AddCustomField("visdk-owner"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->AddCustomField("visdk-owner"), 1) << "defined already: " << bridge->GetLastErrorString();
    auto definitions = Definitions();
    EXPECT_EQ(std::count_if(definitions.begin(), definitions.end(), [](const std::string& d) { return d.find("=visdk-owner") != std::string::npos; }), 1);
    EXPECT_EQ(bridge->SetCustomField(clone, "", "visdk-owner", "team <a>"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Values("visdk-owner"), std::vector<std::string>{"team &lt;a&gt;"});
    // The endpoint appends the second value instead of replacing the first: the last one is the field's.
    EXPECT_EQ(bridge->SetCustomField(cloneMoref, "", "visdk-owner", "team c"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Values("visdk-owner").size(), 2u);
    std::string value;
    EXPECT_EQ(bridge->GetCustomField(clone, "", "visdk-owner", value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "team c");
    VMInfoStructs::SVMInfo info;
    ASSERT_EQ(bridge->GetVMInfoForVM(clone, "", "", VM_PROP_VM_ATTRIBUTES, 0, info), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(info.customAttributes.size(), 1u) << "the record holds the last value too";
    EXPECT_EQ(info.customAttributes[0].value, "team c");
    EXPECT_EQ(bridge->GetCustomField(vm, "", "visdk-owner", value), 1);
    EXPECT_EQ(value, "") << "a VM without a value";

    // The backup fields are defined on first use; both counters pass whole, above 2^63 too.
    EXPECT_EQ(bridge->SetLastBackupCustomField(clone, "2024-06-03T09:00:00Z"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->SetBackupStatusCustomField(clone, "", "Success", "nightly", "3 disks", 7, 18446744073709551615ull), 1);
    EXPECT_EQ(bridge->SetLastBackupCustomField(clone, "2024-06-04T09:00:00Z"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Values("Last Backup"), (std::vector<std::string>{"2024-06-03T09:00:00Z", "2024-06-04T09:00:00Z"}));
    EXPECT_EQ(Values("Backup Status"), std::vector<std::string>{"Success (job nightly): 3 disks [7/18446744073709551615]"});

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

TEST_F(VimFields, ConfigurationValuesAreTheVmsExtraConfig)
{
    auto extra = [&] { return Pairs(server.Property("VirtualMachine", cloneMoref, "config.extraConfig"), "value"); };
    const size_t before = extra().size();
    std::vector<SVMOptionValue> values = {{"visdk.level", "full"}, {"visdk.note", "<b> & c"}};
    ASSERT_TRUE(bridge->SetConfigValues(clone, "", values)) << bridge->GetLastErrorString();
    // Changing one and emptying the other: the endpoint appends both; the client reads the last value and drops the
    // emptied key, as a vCenter holds them.
    values = {{"visdk.level", "incremental"}, {"visdk.note", ""}};
    ASSERT_TRUE(bridge->SetConfigValues(cloneMoref, "", values)) << bridge->GetLastErrorString();
    auto held = extra();
    EXPECT_EQ(std::vector<std::string>(held.begin() + before, held.end()),
              (std::vector<std::string>{"visdk.level=full", "visdk.note=&lt;b&gt; &amp; c", "visdk.level=incremental", "visdk.note="}));
    std::vector<SVMOptionValue> read;
    ASSERT_TRUE(bridge->GetConfigValues(clone, "", read)) << bridge->GetLastErrorString();
    std::vector<std::string> got;
    for (const auto& o : read)
        got.push_back(o.key + "=" + o.value);
    EXPECT_EQ(got, (std::vector<std::string>{"govcsim=TRUE", "visdk.level=incremental"}));

    // A key that is not "group.name" is refused before anything goes out.
    values = {{"visdk.fine", "1"}, {"no dots", "1"}};
    EXPECT_FALSE(bridge->SetConfigValues(clone, "", values));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: extraConfig");
    EXPECT_EQ(extra().size(), before + 4);
}

TEST(VimHostOptions, OptionsAreReadAndWrittenThroughTheHostsOptionManager)
{
    TrustEndpoint();
    auto bridge = EndpointBridge();
    RawSoap server;
    auto option = [&](const std::string& host, const std::string& key) {
        std::string manager = server.Property("HostSystem", server.Moref("HostSystem", host), "configManager.advancedOption");
        for (const std::string& o : Pairs(server.Call("QueryOptions", "OptionManager", manager, "<name>" + key + "</name>"), "value"))
            if (o.substr(0, o.find('=')) == key)
                return o.substr(o.find('=') + 1);
        return std::string("(none)");
    };
    const std::string key = "Config.HostAgent.log.level";
    std::string value;
    ASSERT_EQ(bridge->GetHostConfigValue("DC0_H0", key, value), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(value, "info");
    ASSERT_EQ(bridge->SetHostConfigValue("DC0_H0", key, "verbose"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(option("DC0_H0", key), "verbose");
    EXPECT_EQ(option("DC0_C0_H1", key), "verbose") << "the endpoint's hosts share their default options";
    ASSERT_EQ(bridge->SetHostConfigValue(server.Moref("HostSystem", "DC0_H0"), key, "info"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(option("DC0_H0", key), "info");
    // A new option named like "Group.Name" is a text; the endpoint cannot remove it again.
    ASSERT_EQ(bridge->SetHostConfigValue("DC0_C0_H2", "Visdk.Test.Marker", "on"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(option("DC0_C0_H2", "Visdk.Test.Marker"), "on");

    const struct {
        std::function<int()> call;
        std::string error;
    } failures[] = {
        // The endpoint answers a name with every option it starts with: only the exact key counts.
        {[&] { return bridge->GetHostConfigValue("DC0_H0", "Config.HostAgent", value); }, "A specified parameter was not correct: Config.HostAgent"},
        {[&] { return bridge->GetHostConfigValue("no-such-host", key, value); }, "The host 'no-such-host' was not found."},
        {[&] { return bridge->SetHostConfigValue("DC0_H0", "no dots", "1"); }, "A specified parameter was not correct: no dots"},
    };
    for (const auto& f : failures) {
        value = "kept";
        EXPECT_EQ(f.call(), 0) << f.error;
        EXPECT_EQ(bridge->GetLastErrorString(), f.error);
        EXPECT_EQ(value, "kept");
    }
}

// A real host's options are typed: a changed value keeps its option's type.
TEST(VimHostOptions, AChangedValueKeepsItsOptionsType)
{
    Responder responder([](const Responder::Request& request) {
        Responder::Reply reply;
        const std::string& m = request.soapMethod;
        if (Responder::AnswerSession(request, reply))
            return reply;
        if (m == "CreateContainerView")
            reply.body = Responder::Response(m, "<returnval type=\"ContainerView\">session[1]hosts</returnval>");
        else if (m == "RetrievePropertiesEx")
            reply.body = Responder::Response(
                m, "<returnval><objects><obj type=\"HostSystem\">host-9</obj><propSet><name>name</name><val xsi:type=\"xsd:string\">esx9</val>"
                   "</propSet><propSet><name>configManager.advancedOption</name><val type=\"OptionManager\" xsi:type=\"ManagedObjectReference\">"
                   "EsxHostAdvSettings-9</val></propSet></objects></returnval>");
        else if (m == "QueryOptions" && request.body.find("<name>Net.Unknown</name>") == std::string::npos)
            reply.body = Responder::Response(m, "<returnval><key>NFS.MaxVolumes</key><value xsi:type=\"xsd:long\">8</value></returnval>"
                                                "<returnval><key>Misc.Enabled</key><value xsi:type=\"xsd:boolean\">false</value></returnval>");
        else if (m == "UpdateOptions")
            reply.body = Responder::Response(m, "");
        else
            reply.status = 500, reply.body = Responder::Fault("InvalidName", "", "<name>x</name>");
        return reply;
    });
    auto bridge = ServerBridge(responder.Url());
    ASSERT_EQ(bridge->SetHostConfigValue("esx9", "NFS.MaxVolumes", " 32 "), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(bridge->SetHostConfigValue("host-9", "Misc.Enabled", "1"), 1) << bridge->GetLastErrorString();
    std::string updates;
    for (const Responder::Request& request : responder.Requests())
        if (request.soapMethod == "UpdateOptions")
            updates += request.body;
    EXPECT_NE(updates.find("_this type=\"OptionManager\">EsxHostAdvSettings-9</_this><changedValue xsi:type=\"OptionValue\"><key>NFS.MaxVolumes"
                           "</key><value xsi:type=\"xsd:long\">32</value>"),
              std::string::npos)
        << updates;
    EXPECT_NE(updates.find("<key>Misc.Enabled</key><value xsi:type=\"xsd:boolean\">true</value>"), std::string::npos) << updates;
    std::string value;
    EXPECT_EQ(bridge->GetHostConfigValue("esx9", "Net.Unknown", value), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: Net.Unknown");
}

} // namespace
