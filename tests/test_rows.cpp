// Every forwarding operation against the probe: slots as received, results, failures and their messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Rows.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

using RowsTest = ProbeTest;

std::vector<std::string> ReceivedSlots(const char* managed)
{
    std::vector<std::string> slots;
    for (int i = 0; i < probe::ArgCount(managed); ++i)
        slots.push_back(probe::ArgKind(managed, i) + " " + probe::ArgText(managed, i));
    return slots;
}

// The names of the operations the public header declares for CVISDKCppBridge.
std::set<std::string> DeclaredOperations()
{
    std::ifstream file(VISDK_BRIDGE_HEADER);
    std::string text, line;
    while (std::getline(file, line))
        text += line.substr(0, line.find("//")) + "\n";
    size_t begin = text.find("class VISDK_API CVISDKCppBridge");
    size_t end = text.find("private:", begin);
    std::set<std::string> names;
    if (begin == std::string::npos || end == std::string::npos)
        return names;
    std::istringstream declarations(text.substr(begin, end - begin));
    std::string declaration;
    while (std::getline(declarations, declaration, ';')) {
        size_t paren = declaration.find('(');
        if (paren == std::string::npos)
            continue;
        size_t last = declaration.find_last_not_of(" \t\n", paren - 1);
        size_t first = declaration.find_last_of(" \t\n&*", last);
        names.insert(declaration.substr(first + 1, last - first));
    }
    return names;
}

// A new operation without a row would escape every fault the rows drive: the header and the rows must agree.
TEST(Table, EveryDeclaredOperationHasARow)
{
    // The object's own members and the operations declared to answer zero without reaching the managed side.
    const std::set<std::string> notForwarding{"CVISDKCppBridge", "~CVISDKCppBridge", "operator=", "Cleanup", "SetLocale",
                                              "SetVMFocus", "GetVMStubbedSubClientID", "PerformVMOperation", "IsVMIdle", "StubVM",
                                              "GetPerformanceCountersForVM", "GetVMInfoList", "GetCustomizationSpecInfo"};
    std::set<std::string> declared = DeclaredOperations();
    ASSERT_GT(declared.size(), 50u) << "the header could not be read";
    std::set<std::string> inRows;
    for (const Row& row : Rows()) {
        std::string signature = row.signature;
        size_t from = signature.find("::CVISDKCppBridge::") + 19;
        inRows.insert(signature.substr(from, signature.find('(', from) - from));
    }
    std::vector<std::string> withoutRow, withoutDeclaration;
    for (const std::string& name : declared)
        if (!inRows.count(name) && !notForwarding.count(name))
            withoutRow.push_back(name);
    for (const std::string& name : inRows)
        if (!declared.count(name))
            withoutDeclaration.push_back(name);
    EXPECT_EQ(withoutRow, std::vector<std::string>{}) << "declared operations without a row in tests/support";
    EXPECT_EQ(withoutDeclaration, std::vector<std::string>{}) << "rows for operations the header does not declare";
}

TEST_F(RowsTest, ResultPassesThroughAndSlotsArriveInOrder)
{
    for (const Row& row : Rows()) {
        probe::Reset();
        log.Clear();
        std::string expected = row.succeed(row.managed);
        EXPECT_EQ(row.call(Bridge()), expected) << row.managed;
        EXPECT_EQ(probe::CallCount(row.managed), 1) << row.managed;
        EXPECT_EQ(ReceivedSlots(row.managed), row.slots) << row.managed;
        EXPECT_TRUE(log.Errors().empty()) << row.managed << "\n" << log.Dump();
    }
}

TEST_F(RowsTest, NullResultGivesFailureValueAndMessage)
{
    for (const Row& row : Rows()) {
        probe::Reset();
        log.Clear();
        probe::ReturnNull(row.managed);
        bool changed = false;
        EXPECT_EQ(CallWatched(row, Bridge(), changed), row.failure) << row.managed;
        EXPECT_EQ(changed, CopiesBackWhateverTheAnswer(row)) << row.managed << ": outputs";
        std::vector<std::string> expected;
        if (!row.nullMessage.empty())
            expected.push_back(row.nullMessage);
        EXPECT_EQ(log.Errors(), expected) << row.managed;
    }
}

TEST_F(RowsTest, ManagedExceptionIsLoggedOnceWithTheSignature)
{
    for (const Row& row : Rows()) {
        probe::Reset();
        log.Clear();
        probe::Throw(row.managed, "System.InvalidOperationException");
        bool changed = false;
        EXPECT_EQ(CallWatched(row, Bridge(), changed), row.failure) << row.managed;
        EXPECT_FALSE(changed) << row.managed << ": outputs";
        std::vector<LogEntry> entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u) << row.managed << "\n" << log.Dump();
        EXPECT_EQ(entries[0].text, "Exception caught in bridge - InvalidOperationException\n");
        EXPECT_EQ(entries[0].tag, row.signature);
    }
}

TEST_F(RowsTest, ExceptionClassNameIsTheShortName)
{
    probe::Throw("GetSessionKey", "VISDKWrapper.VimFaultException");
    EXPECT_EQ(Bridge().GetSessionKey(), "");
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].text, "Exception caught in bridge - VimFaultException\n");
    EXPECT_EQ(log.Entries()[0].tag, "std::string VISDKCppBridge::CVISDKCppBridge::GetSessionKey()");
}

TEST_F(RowsTest, EmptyStringsArriveAsEmptyManagedStrings)
{
    probe::ReturnInt("PowerOnVM", 1);
    Bridge().PowerOnVM("", "");
    EXPECT_EQ(probe::ArgText("PowerOnVM", 0), "String:");
    EXPECT_EQ(probe::ArgText("PowerOnVM", 1), "String:");
}

TEST_F(RowsTest, SetVMFocusPassesBothStringsAndTheWideValue)
{
    probe::ReturnInt("SetVMFocus", 3);
    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string first = "f", second = "g";
    EXPECT_EQ(bridge.SetVMFocus(first, second, 0x123456789ULL), 3);
    EXPECT_EQ(probe::ArgText("SetVMFocus", 0), "String:f");
    EXPECT_EQ(probe::ArgText("SetVMFocus", 1), "String:g");
    EXPECT_EQ(probe::ArgText("SetVMFocus", 2), "Int64:" + std::to_string(0x123456789LL));

    probe::Throw("SetVMFocus", "System.ArgumentException");
    log.Clear();
    EXPECT_EQ(bridge.SetVMFocus(first, second, 1), 0);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].tag,
              "int VISDKCppBridge::CVISDKCppBridge::SetVMFocus(std::string&, std::string&, long long unsigned int)");
}

TEST_F(RowsTest, LocaleChangesNothingTheManagedSideSees)
{
    VISDKCppBridge::CVISDKCppBridge bridge(1041);
    std::string first = "f", second = "g";
    bridge.SetLocale(1033);
    EXPECT_EQ(bridge.SetVMFocus(first, second, 0), 1);
    probe::ReturnInt("RenameVM", 5);
    EXPECT_EQ(bridge.RenameVM("a", "b", "c"), 5);
    EXPECT_EQ(probe::ArgCount("RenameVM"), 3);
    EXPECT_EQ(probe::ArgText("RenameVM", 2), "String:c");
    EXPECT_EQ(probe::Calls(), "SetVMFocus,RenameVM");
}

TEST_F(RowsTest, InertOperationsNeverReachTheManagedSide)
{
    std::string output = "kept";
    std::map<EAlarmCondition, std::pair<int, int> > conditions{{eAlarmConditionCpu, {1, 2}}};
    std::vector<long long> counters{7};
    EXPECT_EQ(Bridge().GetVMStubbedSubClientID("a", "b"), 0);
    EXPECT_EQ(Bridge().PerformVMOperation(1, 2, "x", output), 0);
    EXPECT_EQ(Bridge().IsVMIdle("a", "b", conditions), 0);
    EXPECT_FALSE(Bridge().StubVM(StubVMCtx()));
    EXPECT_EQ(Bridge().GetPerformanceCountersForVM("a", "b", VMInfoStructs::ePerfMetricCpu, 5, counters), 0);
    EXPECT_EQ(output, "kept");
    EXPECT_EQ(conditions.size(), 1u);
    EXPECT_EQ(counters, std::vector<long long>{7});
    EXPECT_EQ(probe::Calls(), "");
    EXPECT_TRUE(log.Entries().empty());
}

// A long-running host must not grow the probe: counts and last arguments per method, and only the recent names.
TEST_F(RowsTest, ProbeRecordStaysBoundedOverAMillionCalls)
{
    const int kWarmUp = 1000, kCalls = 1000000;
    probe::ReturnInt("RenameVM", 1);
    probe::ReturnInt("CheckConnection", 1);
    auto call = [](int i) {
        if (i % 2)
            Bridge().CheckConnection();
        else
            Bridge().RenameVM("vm", "", "name-" + std::to_string(i % 10));
    };
    for (int i = 0; i < kWarmUp; ++i)
        call(i);
    int settled = probe::RecordedEntries();
    ASSERT_GT(settled, 0);
    for (int i = kWarmUp; i < kCalls; ++i)
        call(i);

    EXPECT_EQ(probe::RecordedEntries(), settled);
    EXPECT_EQ(probe::CallCount("RenameVM") + probe::CallCount("CheckConnection"), kCalls);
    EXPECT_EQ(probe::ArgText("RenameVM", 2), "String:name-8");
    std::string recent = probe::Calls();
    EXPECT_EQ(std::count(recent.begin(), recent.end(), ',') + 1, 64) << recent;
    const std::string last = ",RenameVM,CheckConnection";
    EXPECT_EQ(recent.compare(recent.size() - last.size(), last.size(), last), 0) << recent;
}

} // namespace
