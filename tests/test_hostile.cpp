// Hostile input through the string, list, record and date paths: each gives a defined result, never a crash.
#include <gtest/gtest.h>

#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "RecordBuilder.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using HostileTest = ProbeTest;

const std::string kCutMessage = "Record tree deeper than 128 levels: subtree cut at [";
const int kLimit = 128;

int StringLength(MonoObject* text) { return text ? mono_string_length(reinterpret_cast<MonoString*>(text)) : -1; }

// One path a native string takes into the managed side, and the managed string it arrived as.
struct Inbound {
    const char* path;
    std::function<MonoObject*(const std::string&)> send;
};

std::vector<Inbound> InboundPaths()
{
    return {
        {"input slot",
         [](const std::string& text) {
             probe::ReturnInt("RenameVM", 1);
             Bridge().RenameVM(text, "", "");
             return probe::Arg("RenameVM", 0);
         }},
        {"record field",
         [](const std::string& text) {
             probe::ReturnBool("ChangeGuestFileAttributes", true);
             SGuestFile file;
             file.name = text;
             Bridge().ChangeGuestFileAttributes("", "", "", "", "", file);
             return Managed(probe::Arg("ChangeGuestFileAttributes", 5)).object("name");
         }},
        {"list item",
         [](const std::string& text) {
             MonoObject* list = nullptr;
             CVISDKHelper::ConvertStringInfoList(list, std::vector<std::string>{text});
             return ListCount(list) == 1 ? ListItem(list, 0).get() : nullptr;
         }},
    };
}

// One path a managed string takes back into native text.
struct Outbound {
    const char* path;
    std::function<std::string(MonoObject*)> receive;
};

std::vector<Outbound> OutboundPaths()
{
    return {
        {"string result",
         [](MonoObject* text) {
             probe::Return("GetSessionKey", text);
             return Bridge().GetSessionKey();
         }},
        {"output slot",
         [](MonoObject* text) {
             probe::ReturnInt("CreateBackupSnapshot", 1);
             probe::Out("CreateBackupSnapshot", 4, text);
             std::string out = "stale";
             return Bridge().CreateBackupSnapshot("", "", false, false, out) == 1 ? out : "call failed";
         }},
        {"string list",
         [](MonoObject* text) {
             MonoObject* list = NewList("SStringInfoLib");
             ListAdd(list, text);
             std::vector<std::string> out;
             CVISDKHelper::ConvertStringInfoList(out, list);
             return out.size() == 1 ? out[0] : "lost";
         }},
    };
}

TEST_F(HostileTest, InvalidUtf8IsReplacedAndSaidSo)
{
    const std::string invalid = "vm\xFF\xC3(\xE2\x82-\xF0\x9F\x98";
    for (const Inbound& path : InboundPaths()) {
        log.Clear();
        MonoObject* arrived = path.send(invalid);
        ASSERT_NE(arrived, nullptr) << path.path;
        // Every byte that starts no valid sequence becomes one U+FFFD; the valid ones stay.
        EXPECT_EQ(Text(arrived), "String:vm\xEF\xBF\xBD\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD-\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
            << path.path;
        EXPECT_EQ(log.Count("Text is not valid UTF-8; invalid bytes replaced"), 1) << path.path;
    }
}

// A name cut at a NUL byte would act on another object ("vm-app01\0-old-copy" is not "vm-app01"): the call never goes out.
TEST_F(HostileTest, EmbeddedNulRefusesTheCallNamingTheSlot)
{
    const std::string withNul("vm-app01\0-old-copy", 18);
    struct Case {
        const char* method;
        std::function<bool()> call;
        std::string error;
    };
    SVMInfo created;
    created.strName = withNul;
    SGuestFile file;
    file.name = withNul;
    const Case cases[] = {
        {"DeleteVM", [&] { return Bridge().DeleteVM(withNul, "") != 0; },
         "Parameter #1 of method [DeleteVM] holds a text with a NUL byte; the call is refused"},
        {"CreateVirtualMachine", [&] { return Bridge().CreateVirtualMachine(created) != 0; },
         "Parameter #1 of method [CreateVirtualMachine] holds a text with a NUL byte in [strName]; the call is refused"},
        {"ChangeGuestFileAttributes", [&] { return Bridge().ChangeGuestFileAttributes("", "", "", "", "", file); },
         "Parameter #6 of method [ChangeGuestFileAttributes] holds a text with a NUL byte in [name]; the call is refused"},
        {"ReconfigureVMBootOptions",
         [&] { return Bridge().ReconfigureVMBootOptions("vm-web01", "", {"disk", withNul}, false, false, false); },
         "Parameter #3 of method [ReconfigureVMBootOptions] holds a text with a NUL byte in [SStringInfoLib]; the call is refused"},
    };
    for (const Case& c : cases) {
        log.Clear();
        probe::ReturnInt(c.method, 1);
        probe::ReturnBool(c.method, true);
        EXPECT_FALSE(c.call()) << c.method;
        EXPECT_EQ(probe::CallCount(c.method), 0) << c.method;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{c.error, std::string("Could not prepare the arguments of method [") + c.method + "]"}))
            << c.method;
    }
    log.Clear();
    probe::ReturnInt("RenameVM", 1);
    EXPECT_EQ(Bridge().RenameVM("plain", "", ""), 1);
    EXPECT_TRUE(log.Entries().empty()) << log.Dump();
}

TEST_F(HostileTest, UnpairedSurrogatesBecomeReplacementCharactersAndAreSaidSo)
{
    // "a", a lone high surrogate, "b", a lone low surrogate, then a proper pair (U+1F4BE).
    const mono_unichar2 units[] = {'a', 0xD800, 'b', 0xDC00, 0xD83D, 0xDCBE};
    for (const Outbound& path : OutboundPaths()) {
        log.Clear();
        MonoObject* text = reinterpret_cast<MonoObject*>(mono_string_new_utf16(g_domain, units, 6));
        EXPECT_EQ(path.receive(text), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x92\xBE") << path.path;
        EXPECT_EQ(log.Count("Managed text holds an unpaired surrogate; replaced by U+FFFD"), 1) << path.path << log.Dump();
    }
}

TEST_F(HostileTest, EmbeddedNulsFromTheManagedSideAreKept)
{
    const mono_unichar2 units[] = {'v', 'm', 0, '-', 'o', 'l', 'd'};
    for (const Outbound& path : OutboundPaths()) {
        log.Clear();
        MonoObject* text = reinterpret_cast<MonoObject*>(mono_string_new_utf16(g_domain, units, 7));
        EXPECT_EQ(path.receive(text), std::string("vm\0-old", 7)) << path.path;
        EXPECT_TRUE(log.Errors().empty()) << path.path << log.Dump();
    }
    // And inside a record field.
    probe::Return("GetVMInfoForVMByMoref", Managed("SVMInfoLib").Object("strName", ManagedString(std::string("web\0one", 7))).Str("strUuid", "u").get());
    SVMInfo info;
    EXPECT_TRUE(Bridge().GetVMInfoForVMByMoref("vm-1", 0, 0, info));
    EXPECT_EQ(info.strName, std::string("web\0one", 7));
}

TEST_F(HostileTest, HundredMegabyteStringsCrossWhole)
{
    const size_t size = 100u << 20;
    std::string big(size, 'x');
    big[size / 2] = 'y';
    for (const Inbound& path : InboundPaths()) {
        MonoObject* arrived = path.send(big);
        EXPECT_EQ(StringLength(arrived), static_cast<int>(size)) << path.path;
    }
    MonoObject* managed = ManagedString(big);
    big.clear();
    big.shrink_to_fit();
    for (const Outbound& path : OutboundPaths()) {
        std::string back = path.receive(managed);
        ASSERT_EQ(back.size(), size) << path.path;
        EXPECT_EQ(back[size / 2], 'y') << path.path;
        EXPECT_EQ(back.find_first_not_of('x'), size / 2) << path.path;
    }
}

TEST_F(HostileTest, AMillionItemListsCrossBothWays)
{
    const int count = 1000000;
    std::vector<std::string> names(count);
    for (int i = 0; i < count; ++i)
        names[i] = std::to_string(i);
    MonoObject* managed = nullptr;
    CVISDKHelper::ConvertStringInfoList(managed, names);
    ASSERT_NE(managed, nullptr);
    ASSERT_EQ(ListCount(managed), count);

    probe::ReturnBool("VerifyAccountForBackup", true);
    probe::Out("VerifyAccountForBackup", 0, managed);
    std::vector<std::string> missing{"stale"};
    EXPECT_TRUE(Bridge().VerifyAccountForBackup(missing));
    ASSERT_EQ(missing.size(), static_cast<size_t>(count));
    EXPECT_EQ(missing.back(), std::to_string(count - 1));

    MonoObject* files = NewList("SGuestFileLib");
    Managed file("SGuestFileLib");
    for (int i = 0; i < count; ++i) {
        file.Long("size", i);
        ListAdd(files, file.get());
    }
    probe::ReturnBool("BrowseGuest", true);
    probe::Out("BrowseGuest", 5, files);
    std::vector<SGuestFile> read;
    EXPECT_TRUE(Bridge().BrowseGuest("", "", "", "", "", read));
    ASSERT_EQ(read.size(), static_cast<size_t>(count));
    EXPECT_EQ(read.back().size, count - 1);
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

// The four trees the records can form: each level's record holds its children in a list of its own class.
struct Tree {
    const char* itemClass;
    const char* nameField;
    const char* childField;
    // Reads a managed top list; returns the depth reached by following the first child, and the deepest name.
    std::function<std::pair<int, std::string>(MonoObject*)> read;
};

template <typename Record, typename Convert, typename Name, typename Children>
std::function<std::pair<int, std::string>(MonoObject*)> Reader(Convert convert, Name name, Children children)
{
    return [=](MonoObject* list) {
        std::vector<Record> top;
        convert(top, list);
        int depth = 0;
        std::string last;
        for (const std::vector<Record>* level = &top; !level->empty(); level = &children((*level)[0])) {
            ++depth;
            last = name((*level)[0]);
        }
        return std::make_pair(depth, last);
    };
}

std::vector<Tree> Trees()
{
    return {
        {"SInventoryInfoLib", "strName", "children",
         Reader<SInventoryInfo>([](auto& out, MonoObject* list) { CVISDKHelper::ConvertInventoryInfoList(out, list); },
                                [](const SInventoryInfo& r) { return r.strName; },
                                [](const SInventoryInfo& r) -> const std::vector<SInventoryInfo>& { return r.children; })},
        {"SSnapshotLib", "strName", "childSnapshots",
         Reader<SSnapshot>([](auto& out, MonoObject* list) { CVISDKHelper::ConvertSnapshotList(out, list); },
                           [](const SSnapshot& r) { return r.strName; },
                           [](const SSnapshot& r) -> const std::vector<SSnapshot>& { return r.childSnapshots; })},
        {"SResourcePoolInfoLib", "strResourcePoolName", "childPoolList",
         Reader<SResourcePoolInfo>([](auto& out, MonoObject* list) { CVISDKHelper::ConvertResourcePoolInfoList(out, list); },
                                   [](const SResourcePoolInfo& r) { return r.strResourcePoolName; },
                                   [](const SResourcePoolInfo& r) -> const std::vector<SResourcePoolInfo>& { return r.childPoolList; })},
        {"SVAppInfoLib", "strVAppName", "childVAppList",
         Reader<SVAppInfo>([](auto& out, MonoObject* list) { CVISDKHelper::ConvertVAppInfoList(out, list); },
                           [](const SVAppInfo& r) { return r.strVAppName; },
                           [](const SVAppInfo& r) -> const std::vector<SVAppInfo>& { return r.childVAppList; })},
    };
}

// A managed chain `depth` levels deep, one record per level named after its level, as its top list.
MonoObject* Chain(const Tree& tree, int depth)
{
    MonoObject* below = nullptr;
    for (int level = depth; level >= 1; --level) {
        Managed record(tree.itemClass);
        record.Str(tree.nameField, std::to_string(level));
        if (below)
            record.Object(tree.childField, below);
        below = ListOfRecords(tree.itemClass, {record});
    }
    return below;
}

TEST_F(HostileTest, DeepManagedTreesAreCutBelowTheLimitKeepingEverythingAbove)
{
    for (const Tree& tree : Trees()) {
        log.Clear();
        auto [depth, last] = tree.read(Chain(tree, kLimit));
        EXPECT_EQ(depth, kLimit) << tree.itemClass;
        EXPECT_EQ(last, std::to_string(kLimit)) << tree.itemClass;
        EXPECT_TRUE(log.Errors().empty()) << tree.itemClass << "\n" << log.Dump();

        log.Clear();
        std::tie(depth, last) = tree.read(Chain(tree, 5000));
        EXPECT_EQ(depth, kLimit) << tree.itemClass;
        EXPECT_EQ(last, std::to_string(kLimit)) << tree.itemClass;
        EXPECT_EQ(log.Errors(), std::vector<std::string>{kCutMessage + tree.itemClass + "ListEnumerator]"}) << tree.itemClass;
    }
}

TEST_F(HostileTest, ACyclicManagedTreeIsCutWhereItLoops)
{
    MonoObject* list = NewList("SInventoryInfoLib");
    ListAdd(list, Managed("SInventoryInfoLib").Str("strName", "loop").Object("children", list).get());
    for (const Tree& tree : {Trees()[0]}) {
        auto [depth, last] = tree.read(list);
        EXPECT_EQ(depth, 1) << "the node is kept, the loop below it is not followed";
        EXPECT_EQ(last, "loop");
    }
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Record tree loops back on itself: subtree cut at [SInventoryInfoLibListEnumerator]"});
}

// Each level's list holds the next level's list twice: few objects, 2^40 paths. The budget of native bytes ends the walk.
TEST_F(HostileTest, ASharedSubtreeExplosionEndsAtTheRecordBudget)
{
    const long long budget = 20000 * static_cast<long long>(sizeof(SInventoryInfo));
    VISDKHelper::SetNestedRecordBytes(budget);
    MonoObject* below = nullptr;
    for (int level = 40; level >= 1; --level) {
        MonoObject* list = NewList("SInventoryInfoLib");
        for (int copy = 0; copy < 2; ++copy) {
            Managed node("SInventoryInfoLib");
            node.Str("strName", std::to_string(level));
            if (below)
                node.Object("children", below);
            ListAdd(list, node.get());
        }
        below = list;
    }
    std::vector<SInventoryInfo> out;
    CVISDKHelper::ConvertInventoryInfoList(out, below);
    VISDKHelper::SetNestedRecordBytes(0);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Record tree holds more than " + std::to_string(budget) +
                                                     " bytes of nested records: rest cut at [SInventoryInfoLibListEnumerator]"});
}

TEST_F(HostileTest, DeepNativeInventoryIsCutOnTheWayOut)
{
    SInventoryInfo root;
    SInventoryInfo* at = &root;
    for (int level = 1; level <= 1000; ++level) {
        at->strName = std::to_string(level);
        at->children.resize(1);
        at = &at->children[0];
    }
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertInventoryInfoList(list, std::vector<SInventoryInfo>{root});
    EXPECT_EQ(log.Errors(), std::vector<std::string>{kCutMessage + "SInventoryInfoLib]"});
    auto [depth, last] = Trees()[0].read(list);
    EXPECT_EQ(depth, kLimit);
    EXPECT_EQ(last, std::to_string(kLimit));
}

TEST_F(HostileTest, TimesAtTheLimitsOfTimeT)
{
    const time_t lowest = std::numeric_limits<time_t>::min(), highest = std::numeric_limits<time_t>::max();
    for (time_t seconds : {lowest, highest}) {
        log.Clear();
        SGuestFile file;
        file.modifiedTime = seconds;
        probe::ReturnBool("ChangeGuestFileAttributes", true);
        EXPECT_TRUE(Bridge().ChangeGuestFileAttributes("", "", "", "", "", file));
        EXPECT_EQ(log.Errors(), std::vector<std::string>{"Time " + std::to_string(seconds) + " is outside the range of DateTime"});
        // Refused times travel as the zero-tick date, which reads back as the managed default does.
        MonoObject* sent = probe::Arg("ChangeGuestFileAttributes", 5);
        EXPECT_EQ(Managed(sent).date("modifiedTime"), 1782538810570);
    }

    const long long maxTicks = 3155378975999999999LL;
    for (long long ticks : {0LL, maxTicks}) {
        probe::ReturnBool("GetSnapshotInfo", true);
        probe::Out("GetSnapshotInfo", 4, ManagedDate(ticks));
        std::string name, description;
        time_t created = 7;
        bool flag = false;
        EXPECT_TRUE(Bridge().GetSnapshotInfo("", "", "", name, created, description, flag));
        EXPECT_EQ(created, ticks ? 253402300799 : 1782538810570) << ticks;
    }
}

} // namespace
