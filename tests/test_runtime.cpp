// Start-up, invocation and strings, with the stand-in client beside the library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include <mono/metadata/appdomain.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

// The host's own choice, made before the library starts the runtime.
const int kHostSuspendSetting = setenv("MONO_THREADS_SUSPEND", "coop", 1);

LogCapture* StartLog()
{
    static LogCapture* log = new LogCapture;
    return log;
}

TEST(Start, TwoThreadsRaceOneRuntimeTwoInstances)
{
    ASSERT_EQ(kHostSuspendSetting, 0);
    StartLog();
    CVISDKCppBridge first, second;
    int results[2] = {-1, -1};
    std::thread a([&] {
        std::string x = "vcenter.sim.local", y;
        results[0] = first.SetVMFocus(x, y, 0);
    });
    std::thread b([&] {
        std::string x = "vcenter.sim.local", y;
        results[1] = second.SetVMFocus(x, y, 0);
    });
    a.join();
    b.join();
    EXPECT_EQ(results[0], 1);
    EXPECT_EQ(results[1], 1);
    EXPECT_EQ(StartLog()->Count("Waiting for mono initialization"), 1);
    EXPECT_EQ(StartLog()->Count("Done waiting for mono initialization"), 1);
    // Each object has its own managed instance: a session on one is not a session on the other.
    EXPECT_EQ(first.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    EXPECT_EQ(first.CheckConnection(), 1);
    EXPECT_EQ(second.CheckConnection(), 0);
}

TEST(Start, SuspendPolicyIsPreemptive) { EXPECT_STREQ(getenv("MONO_THREADS_SUSPEND"), "preemptive"); }

TEST(Start, RuntimeVersionIsRead)
{
    Bridge();
    EXPECT_EQ(g_monoMajorVersion, 6);
    EXPECT_EQ(g_monoMinorVersion, 8);
    EXPECT_EQ(g_monoVersionString.rfind("6.8.", 0), 0u) << g_monoVersionString;
    EXPECT_NE(g_domain, nullptr);
    EXPECT_NE(g_image, nullptr);
    EXPECT_EQ(StartLog()->CountContaining("mono initialization complete - 6.8."), 1);
}

class InvokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bridge();
        probe::Reset();
        std::string x = "vcenter.sim.local", y;
        ASSERT_TRUE(wrapper.Init());
        log.Clear();
    }
    CVIWrapperPtr wrapper;
    LogCapture log;
};

TEST_F(InvokeTest, MissingMethodLogsTwiceAndReturnsTheCallersFailureValue)
{
    EXPECT_EQ(wrapper.Invoke(-5, "NoSuchMethod", nullptr), -5);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Could not find method [NoSuchMethod]", "Result is invalid (int)"}));
    log.Clear();
    EXPECT_EQ(wrapper.Invoke(77LL, "NoSuchMethod", nullptr), 77LL);
    EXPECT_TRUE(wrapper.Invoke(true, "NoSuchMethod", nullptr));
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Could not find method [NoSuchMethod]", "Result is invalid (int)",
                                                      "Could not find method [NoSuchMethod]", "Result is invalid (bool)"}));
}

TEST_F(InvokeTest, ObjectWithoutInstanceFailsCleanly)
{
    CVIWrapperPtr never;
    EXPECT_EQ(never.Invoke(0, "CheckConnection", nullptr), 0);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"object has been destroyed", "Result is invalid (int)"}));
    CVISDKCppBridge unfocused;
    log.Clear();
    EXPECT_EQ(unfocused.CheckConnection(), 0);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"object has been destroyed", "Result is invalid (int)"}));
}

TEST_F(InvokeTest, BoolByteOfTwoReadsTrue)
{
    probe::ReturnByte("IsVCenterConnection", 2);
    EXPECT_TRUE(wrapper.Invoke(false, "IsVCenterConnection", nullptr));
    probe::ReturnByte("IsVCenterConnection", 0);
    EXPECT_FALSE(wrapper.Invoke(true, "IsVCenterConnection", nullptr));
}

TEST_F(InvokeTest, StringOverloadInOutRules)
{
    std::string inout = "before";
    probe::ReturnNull("GetSessionKey");
    EXPECT_EQ(wrapper.Invoke(inout, "GetSessionKey", nullptr), "before");
    EXPECT_EQ(inout, "before");
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Result is invalid (string)"});
    probe::ReturnString("GetSessionKey", "52-key");
    EXPECT_EQ(wrapper.Invoke(inout, "GetSessionKey", nullptr), "52-key");
    EXPECT_EQ(inout, "52-key");
}

TEST_F(InvokeTest, ResultOfTheWrongKindIsInvalidNotMisread)
{
    probe::ReturnRaw("CheckConnection", ManagedString("not a number"));
    EXPECT_EQ(wrapper.Invoke(-1, "CheckConnection", nullptr), -1);
    probe::ReturnRaw("IsVCenterConnection", BoxInt(5));
    std::string inout = "kept";
    EXPECT_EQ(wrapper.Invoke(inout, "IsVCenterConnection", nullptr), "kept");
    probe::ReturnRaw("GetConnectionVersion", BoxBool(true));
    EXPECT_EQ(wrapper.Invoke(-1LL, "GetConnectionVersion", nullptr), -1LL) << "a one-byte value is no 64-bit result";
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Result is invalid (int)", "Result is invalid (string)", "Result is invalid (int)"}));
}

TEST_F(InvokeTest, CoreCallInTwoSteps)
{
    EXPECT_EQ(wrapper.InvokeMethod(nullptr, nullptr), nullptr);
    EXPECT_EQ(wrapper.FindMethod("NoSuchMethod"), nullptr);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Could not find method [NoSuchMethod]"});
    probe::ReturnInt("CheckConnection", 7);
    MonoMethod* method = wrapper.FindMethod("CheckConnection");
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(Text(wrapper.InvokeMethod(method, nullptr)), "Int32:7");
}

TEST_F(InvokeTest, ManagedExceptionLeavesAsANativeExceptionWithItsClassNameWithoutResultMessages)
{
    probe::Throw("CheckConnection", "System.TimeoutException");
    bool caught = false;
    try {
        wrapper.Invoke(0, "CheckConnection", nullptr);
    } catch (const std::exception& exception) {
        caught = true;
        EXPECT_STREQ(exception.what(), "TimeoutException");
        ASSERT_NE(dynamic_cast<const ManagedException*>(&exception), nullptr);
    }
    EXPECT_TRUE(caught);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(InvokeTest, LogExceptionUsesItsOwnLoggerAndTheShortClassName)
{
    probe::Throw("CheckConnection", "System.IO.FileNotFoundException");
    try {
        wrapper.Invoke("CheckConnection", nullptr);
    } catch (const ManagedException& exception) {
        LogException("int F()", exception);
    }
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].tag, "int F()");
    EXPECT_EQ(log.Entries()[0].text, "Exception caught in bridge - FileNotFoundException\n");
}

MonoObject* Boxed(MonoClass* klass, const void* value) { return mono_value_box(g_domain, klass, const_cast<void*>(value)); }

// A result is read by its managed type, never by its size: a 64-bit 0x100000001 is no int 1 (success), an int 256
// no false. A narrower integer widens, since it keeps its value.
TEST_F(InvokeTest, ResultsAreReadByTheirManagedTypeWideningOnlyWhereTheValueIsKept)
{
    const long long big = 0x100000001LL;
    const int twoFiftySix = 256, seven = 7, minusThree = -3;
    const unsigned int large = 0xFFFFFFF0u;
    const short minusTwo = -2;
    const unsigned char one = 1;
    const double sevenPointFive = 7.5;
    struct Case {
        const char* name;
        MonoObject* value;
        long long asInt;   // -1: invalid for int
        long long asLong;  // -1: invalid for long long
        int asBool;        // -1: invalid for bool
    };
    const Case cases[] = {
        {"Int32 7", Boxed(mono_get_int32_class(), &seven), 7, 7, -1},
        {"Int32 -3", Boxed(mono_get_int32_class(), &minusThree), -3, -3, -1},
        {"Int32 256", Boxed(mono_get_int32_class(), &twoFiftySix), 256, 256, -1},
        {"Int64 0x100000001", Boxed(mono_get_int64_class(), &big), -1, big, -1},
        {"UInt32 0xFFFFFFF0", Boxed(mono_get_uint32_class(), &large), -1, large, -1},
        {"Int16 -2", Boxed(mono_get_int16_class(), &minusTwo), -2, -2, -1},
        {"Byte 1", Boxed(mono_get_byte_class(), &one), 1, 1, -1},
        {"Boolean true", BoxBool(true), -1, -1, 1},
        {"Double", Boxed(mono_get_double_class(), &sevenPointFive), -1, -1, -1},
    };
    for (const Case& c : cases) {
        probe::ReturnRaw("CheckConnection", c.value);
        probe::ReturnRaw("GetCurrentServerTime", c.value);
        probe::ReturnRaw("IsVCenterConnection", c.value);
        log.Clear();
        EXPECT_EQ(wrapper.Invoke(-99, "CheckConnection", nullptr), c.asInt == -1 ? -99 : c.asInt) << c.name;
        EXPECT_EQ(log.Count("Result is invalid (int)"), c.asInt == -1 ? 1 : 0) << c.name;
        log.Clear();
        EXPECT_EQ(wrapper.Invoke(-99LL, "GetCurrentServerTime", nullptr), c.asLong == -1 ? -99 : c.asLong) << c.name;
        EXPECT_EQ(log.Count("Result is invalid (int)"), c.asLong == -1 ? 1 : 0) << c.name;
        log.Clear();
        for (bool failure : {false, true}) {
            EXPECT_EQ(wrapper.Invoke(failure, "IsVCenterConnection", nullptr), c.asBool == -1 ? failure : c.asBool == 1) << c.name;
            EXPECT_EQ(log.Count("Result is invalid (bool)"), c.asBool == -1 ? 1 : 0) << c.name;
            log.Clear();
        }
    }
    // Through an operation: a 64-bit "success" of another build is a failure here.
    probe::ReturnRaw("PowerOnVM", Boxed(mono_get_int64_class(), &big));
    CVISDKCppBridge& bridge = Bridge();
    EXPECT_EQ(bridge.PowerOnVM("vm-web01", ""), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Result is invalid (int)"});
}

TEST(Strings, Utf8RoundTripsAndEmbeddedNulStopsTheText)
{
    Bridge();
    const std::string samples[] = {"", "plain", "h\xC3\xA9llo", "\xE2\x82\xAC 5", "\xF0\x9F\x92\xBE backup", "\xE6\x97\xA5\xE6\x9C\xAC"};
    for (const std::string& text : samples)
        EXPECT_EQ(gc2std(std2gc(text)), text);
    EXPECT_EQ(gc2std(std2gc(std::string("ab\0cd", 5))), "ab");
    EXPECT_EQ(gc2std(nullptr), "");
}

TEST(Strings, InvalidUtf8IsReplacedNotLost)
{
    Bridge();
    const std::pair<std::string, std::string> cases[] = {
        {"ab\xFF" "cd", "ab\xEF\xBF\xBD" "cd"},
        {"\xC3", "\xEF\xBF\xBD"},                             // truncated sequence
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},             // overlong
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // encoded surrogate
        {"ok \xE2\x82\xAC \x80", "ok \xE2\x82\xAC \xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        MonoString* managed = std2gc(c.first);
        ASSERT_NE(managed, nullptr);
        EXPECT_EQ(gc2std(managed), c.second);
    }
    probe::Reset();
    probe::ReturnInt("PowerOnVM", 1);
    EXPECT_EQ(Bridge().PowerOnVM("vm\xFF", "host"), 1);
    EXPECT_EQ(probe::ArgText("PowerOnVM", 0), "String:vm\xEF\xBF\xBD");
}

} // namespace
