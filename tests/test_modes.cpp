// The passing modes that no vSphere operation of this build uses yet, through the one frame every operation uses.
#include <gtest/gtest.h>

#include <functional>

#include "BridgeFrame.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VISDKCppBridge::frame;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

class ModesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bridge();
        ASSERT_TRUE(wrapper.Init());
        probe::Reset();
        log.Clear();
    }
    CVIWrapperPtr wrapper;
    LogCapture log;
};

TEST_F(ModesTest, InOutStringGoesBothWaysUnderTheCondition)
{
    std::string text = "snapshot-7";
    EXPECT_EQ((Forward<Int, IfNonZero, IOS>(wrapper, "int F(std::string&)", "EchoInOutString", text)), 1);
    EXPECT_EQ(text, "snapshot-7 (echoed)");
    probe::ReturnInt("EchoInOutString", 0);
    probe::Out("EchoInOutString", 0, ManagedString("changed"));
    EXPECT_EQ((Forward<Int, IfNonZero, IOS>(wrapper, "int F(std::string&)", "EchoInOutString", text)), 0);
    EXPECT_EQ(text, "snapshot-7 (echoed)");
    EXPECT_EQ(probe::ArgText("EchoInOutString", 0), "String:snapshot-7 (echoed)");
}

TEST_F(ModesTest, RecordByReferenceIsRefilledFromWhatTheVariableHolds)
{
    SVMOptionValue option{"ctkEnabled", "true"};
    EXPECT_EQ((Forward<Int, Always, RR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordByRef", option)), 1);
    EXPECT_EQ(option.key, "ctkEnabled");
    EXPECT_EQ(option.value, "true (echoed)");
    EXPECT_EQ(probe::ArgKind("EchoRecordByRef", 0), "ref Object");
}

TEST_F(ModesTest, RecordObjectIsMutatedInPlace)
{
    SVMOptionValue option{"before", "kept"};
    EXPECT_EQ((Forward<Int, Always, RP<SVMOptionValue>>(wrapper, "int F()", "EchoRecordInPlace", option)), 1);
    EXPECT_EQ(option.key, "filled in place");
    EXPECT_EQ(option.value, "") << "the object starts unfilled";
}

TEST_F(ModesTest, RecordOutFollowsTheConditionAndANullAnswer)
{
    SVMOptionValue option{"old", "value"};
    EXPECT_EQ((Forward<Int, IfNonZero, OR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordOut", option)), 1);
    EXPECT_EQ(option.key, "made");
    EXPECT_EQ(option.value, "here");

    option = SVMOptionValue{"old", "value"};
    probe::ReturnInt("EchoRecordOut", 1);
    EXPECT_EQ((Forward<Int, IfNonZero, OR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordOut", option)), 1);
    EXPECT_EQ(option.key, "old") << "a null answer leaves the record alone";

    probe::ReturnInt("EchoRecordOut", 0);
    probe::Out("EchoRecordOut", 0, NewRecord("SVMOptionValueLib"));
    EXPECT_EQ((Forward<Int, IfNonZero, OR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordOut", option)), 0);
    EXPECT_EQ(option.key, "old");
}

TEST_F(ModesTest, ListsInAndInOut)
{
    std::vector<SVMOptionValue> options{{"a", "1"}, {"b", "2"}, {"c", "3"}};
    EXPECT_EQ((Forward<Int, Always, LI<SVMOptionValue>>(wrapper, "int F()", "EchoListIn", options)), 3);
    EXPECT_EQ(options.size(), 3u);
    EXPECT_EQ((Forward<Int, IfNonZero, LR<SVMOptionValue>>(wrapper, "int F()", "EchoListInOut", options)), 4);
    ASSERT_EQ(options.size(), 4u);
    EXPECT_EQ(options[0].key, "c");
    EXPECT_EQ(options[2].key, "a");
    EXPECT_EQ(options[3].key, "added");

    std::vector<SVMOptionValue> none;
    EXPECT_EQ((Forward<Int, Always, LI<SVMOptionValue>>(wrapper, "int F()", "EchoListIn", none)), 0) << "an empty list, never null";
}

TEST_F(ModesTest, ExceptionLeavesEveryOutputAlone)
{
    std::vector<SVMOptionValue> options{{"a", "1"}};
    SVMOptionValue option{"old", "value"};
    std::string text = "kept";
    probe::Throw("EchoListInOut", "System.InvalidOperationException");
    probe::Out("EchoListInOut", 0, NewList("SVMOptionValueLib"));
    EXPECT_EQ((Forward<Int, Always, LR<SVMOptionValue>>(wrapper, "int G(std::vector<x>&)", "EchoListInOut", options)), 0);
    EXPECT_EQ(options.size(), 1u);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].tag, "int G(std::vector<x>&)");
}

// A wrapper of another build may take other parameters than the slots passed: the call is not made.
TEST_F(ModesTest, SlotsThatDoNotFitTheParametersAreRefused)
{
    std::string text = "x";
    int number = 1;
    SVMOptionValue option;
    time_t when = 0;
    struct Case {
        const char* method;
        std::function<int()> call;
        std::string error;
    };
    const Case cases[] = {
        {"PowerOnVM", [&] { return Forward<Int, Always, S>(wrapper, "f", "PowerOnVM", text); }, "Method [PowerOnVM] takes 2 parameters, not 1"},
        {"PowerOnVM", [&] { return Forward<Int, Always, S, S, S>(wrapper, "f", "PowerOnVM", text, text, text); },
         "Method [PowerOnVM] takes 2 parameters, not 3"},
        {"PowerOnVM", [&] { return Forward<Int, Always, S, V<int>>(wrapper, "f", "PowerOnVM", text, number); },
         "Parameter #2 of method [PowerOnVM] does not take the value passed"},
        {"EchoListIn", [&] { return Forward<Int, Always, S>(wrapper, "f", "EchoListIn", text); },
         "Parameter #1 of method [EchoListIn] does not take the value passed"},
        {"EchoListIn", [&] { return Forward<Int, Always, LI<std::string>>(wrapper, "f", "EchoListIn", std::vector<std::string>{"a"}); },
         "Parameter #1 of method [EchoListIn] does not take the value passed"},
        {"EchoInOutString", [&] { return Forward<Int, Always, R<int>>(wrapper, "f", "EchoInOutString", number); },
         "Parameter #1 of method [EchoInOutString] does not take the value passed"},
        {"EchoInOutString", [&] { return Forward<Int, Always, S>(wrapper, "f", "EchoInOutString", text); },
         "Parameter #1 of method [EchoInOutString] does not take the value passed"},
        {"EchoRecordByRef", [&] { return Forward<Int, Always, RO<SVMOptionValue>>(wrapper, "f", "EchoRecordByRef", option); },
         "Parameter #1 of method [EchoRecordByRef] does not take the value passed"},
        {"GetSnapshotInfo",
         [&] {
             return Forward<Int, Always, S, S, S, OS, DT, OS, R<int>>(wrapper, "f", "GetSnapshotInfo", text, text, text, text, when, text,
                                                                         number);
         },
         "Parameter #7 of method [GetSnapshotInfo] does not take the value passed"},
        {"ChangeGuestFileAttributes",
         [&] { return Forward<Int, Always, S, S, S, S, S, RV<SVMOptionValue>>(wrapper, "f", "ChangeGuestFileAttributes", text, text, text, text, text, option); },
         "Parameter #6 of method [ChangeGuestFileAttributes] does not take the value passed"},
    };
    // The verdict is remembered after the first pass; the refusal is still logged every time.
    for (int pass = 1; pass <= 2; ++pass)
        for (const Case& c : cases) {
            probe::Reset();
            log.Clear();
            EXPECT_EQ(c.call(), 0) << c.error;
            EXPECT_EQ(probe::CallCount(c.method), 0) << c.error;
            EXPECT_EQ(log.Errors(), (std::vector<std::string>{c.error, "Result is invalid (int)"})) << "pass " << pass;
        }
}

TEST_F(ModesTest, NativeExceptionsDoNotLeaveTheFrame)
{
    int result = Guarded(wrapper, "int VISDKCppBridge::CVISDKCppBridge::F(const std::string&)", -1, [](bool) -> int {
        throw std::bad_alloc();
    });
    EXPECT_EQ(result, -1);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].tag, "int VISDKCppBridge::CVISDKCppBridge::F(const string&)");
    EXPECT_EQ(log.Entries()[0].text, "Native exception caught in bridge - std::bad_alloc");
}

TEST_F(ModesTest, ExceptionsOfNoStandardTypeDoNotLeaveTheFrameEither)
{
    const std::string failure = "";
    std::string result = Guarded(wrapper, "std::string VISDKCppBridge::CVISDKCppBridge::F()", failure, [](bool) -> std::string {
        throw "a text";
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Native exception caught in bridge - an exception of no standard type"});
}

TEST(Signatures, CompilerSpellingBecomesTheLoggedText)
{
    EXPECT_EQ(SignatureText("int VISDKCppBridge::CVISDKCppBridge::Connect(const std::string&, const std::string&, const std::string&)"),
              "int VISDKCppBridge::CVISDKCppBridge::Connect(const string&, const string&, const string&)");
    EXPECT_EQ(SignatureText("int VISDKCppBridge::CVISDKCppBridge::SetVMFocus(std::string&, std::string&, long long unsigned int)"),
              "int VISDKCppBridge::CVISDKCppBridge::SetVMFocus(std::string&, std::string&, long long unsigned int)");
    // The handlers' form never overruns its buffer.
    char small[20];
    EXPECT_STREQ(SignatureText("int F(const std::string&, const std::string&)", small, sizeof small), "int F(const string&");
}

} // namespace
