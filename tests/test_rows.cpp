// Every forwarding operation against the probe: slots as received, results, failures and their messages.
#include <gtest/gtest.h>

#include <algorithm>
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
        EXPECT_EQ(row.call(Bridge()), row.failure) << row.managed;
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
        EXPECT_EQ(row.call(Bridge()), row.failure) << row.managed;
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
