// Managed objects, fields and dates.
#include <gtest/gtest.h>

#include <climits>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/assembly.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

const long long kTicks1970 = 621355968000000000LL;

using ValuesTest = ProbeTest;

TEST_F(ValuesTest, FieldReadersGiveDefaultsForMissingFields)
{
    MonoObject* file = NewRecord("SGuestFileLib");
    MonoClass* klass = mono_object_get_class(file);
    EXPECT_EQ(GetIntFieldValue(klass, file, "nope"), 0);
    EXPECT_EQ(GetLongFieldValue(klass, file, "nope"), 0);
    EXPECT_FALSE(GetBoolFieldValue(klass, file, "nope"));
    EXPECT_EQ(GetFieldValue(klass, file, "nope"), nullptr);
    EXPECT_EQ(GetStringFieldValue(klass, file, "nope"), "");
    EXPECT_EQ(log.Count("Could not find field [nope]"), 5);
    log.Clear();
    EXPECT_EQ(GetStructFieldValue(klass, file, "nope"), nullptr);
    EXPECT_EQ(GetDateTimeFieldValue(klass, file, "nope"), 0);
    EXPECT_TRUE(log.Entries().empty()) << "struct and date readers are silent about missing fields";
    SetFieldValue(klass, file, "nope", nullptr);
    EXPECT_EQ(log.Count("Could not find field [nope]"), 1);
}

TEST_F(ValuesTest, NullStringFieldIsEmptyWithoutMessage)
{
    MonoObject* file = NewRecord("SGuestFileLib");
    EXPECT_EQ(GetStringFieldValue(mono_object_get_class(file), file, "name"), "");
    EXPECT_TRUE(IsStringFieldEmpty(file, "name"));
    EXPECT_TRUE(log.Entries().empty());
    SetStringFieldValue(mono_object_get_class(file), file, "name", "x");
    EXPECT_FALSE(IsStringFieldEmpty(file, "name"));
    SetStringFieldValue(mono_object_get_class(file), file, "name", "");
    EXPECT_TRUE(IsStringFieldEmpty(file, "name"));
    EXPECT_TRUE(IsStringFieldEmpty(file, "missing"));
    EXPECT_TRUE(IsStringFieldEmpty(nullptr, "name"));
}

TEST_F(ValuesTest, ReadersAndWritersRefuseFieldsOfAnotherType)
{
    MonoObject* file = NewRecord("SGuestFileLib");
    MonoClass* klass = mono_object_get_class(file);
    SetIntFieldValue(klass, file, "name", 5);
    SetStringFieldValue(klass, file, "size", "big");
    EXPECT_EQ(GetLongFieldValue(klass, file, "modifiedTime"), 0);
    EXPECT_EQ(GetStringFieldValue(klass, file, "unixMode"), "");
    EXPECT_EQ(log.Count("Field [name] is not of the expected type"), 1);
    EXPECT_EQ(log.Count("Field [size] is not of the expected type"), 1);
    EXPECT_EQ(log.Count("Field [modifiedTime] is not of the expected type"), 1);
    EXPECT_EQ(log.Count("Field [unixMode] is not of the expected type"), 1);
    EXPECT_EQ(GetIntFieldValue(klass, file, "unixMode"), 0);
    EXPECT_EQ(GetLongFieldValue(klass, file, "size"), 0);
}

TEST_F(ValuesTest, TypedFieldsRoundTrip)
{
    MonoObject* file = NewRecord("SGuestFileLib");
    MonoClass* klass = mono_object_get_class(file);
    SetIntFieldValue(klass, file, "unixUserId", -7);
    SetLongFieldValue(klass, file, "size", 1LL << 50);
    SetDateTimeFieldValue(klass, file, "createTime", 86400);
    EXPECT_EQ(GetIntFieldValue(klass, file, "unixUserId"), -7);
    EXPECT_EQ(GetLongFieldValue(klass, file, "size"), 1LL << 50);
    EXPECT_EQ(GetDateTimeFieldValue(klass, file, "createTime"), 86400);
    MonoObject* boxed = GetStructFieldValue(klass, file, "createTime");
    ASSERT_NE(boxed, nullptr);
    EXPECT_EQ(Ticks(boxed), kTicks1970 + 86400LL * 10000000LL);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ValuesTest, NewManagedObjectRunsTheConstructorOnlyWhenAsked)
{
    MonoObject* raw = NewManagedObject("CVIWrapper", false);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(GetFieldValue(mono_object_get_class(raw), raw, "logParameters"), nullptr);
    MonoObject* built = NewManagedObject("CVIWrapper", true);
    ASSERT_NE(built, nullptr);
    EXPECT_NE(GetFieldValue(mono_object_get_class(built), built, "logParameters"), nullptr);
    EXPECT_EQ(NewManagedObject("NoSuchClass", true), nullptr);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Could not find class [NoSuchClass]"});
}

TEST_F(ValuesTest, DatesToSeconds)
{
    struct Case {
        long long ticks;
        long long seconds;
    };
    const Case cases[] = {
        {0, 1782538810570LL},                       // 0001-01-01, kept as callers rely on it
        {kTicks1970, 0},                            // 1970-01-01T00:00:00
        {kTicks1970 + 19000000LL, 1},               // 1970-01-01T00:00:01.9
        {kTicks1970 + 1700000000LL * 10000000LL, 1700000000LL},
        {3155378975999999999LL, 253402300799LL},    // 9999-12-31T23:59:59.9999999
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateTimeToTimeT(ManagedDate(c.ticks)), c.seconds) << c.ticks;
    EXPECT_EQ(DateTimeToTimeT(nullptr), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Could not get datetime class"});
    log.Clear();
    EXPECT_EQ(DateTimeToTimeT(ManagedString("not a date")), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Could not get datetime Ticks property"});
}

TEST_F(ValuesTest, SecondsToDatesAndBack)
{
    MonoObject* epoch = TimeTToDateTime(0);
    ASSERT_NE(epoch, nullptr);
    EXPECT_EQ(Ticks(epoch), kTicks1970);
    for (long long seconds = 0; seconds < 253402300800LL; seconds = seconds * 3 + 7) {
        MonoObject* date = TimeTToDateTime(seconds);
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(DateTimeToTimeT(date), seconds);
    }
    EXPECT_EQ(DateTimeToTimeT(TimeTToDateTime(253402300799LL)), 253402300799LL);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ValuesTest, SecondsOutsideDateTimeGiveTheZeroTickDate)
{
    for (long long seconds : {253402300800LL, LLONG_MAX, -62135596801LL, LLONG_MIN}) {
        log.Clear();
        MonoObject* date = TimeTToDateTime(static_cast<time_t>(seconds));
        ASSERT_NE(date, nullptr) << seconds;
        EXPECT_EQ(Ticks(date), 0) << seconds;
        EXPECT_EQ(log.Errors().size(), 1u) << seconds;
    }
    // Dates before 1970 that DateTime can hold are fine.
    EXPECT_EQ(Ticks(TimeTToDateTime(-62135596800LL)), 0);
}

TEST_F(ValuesTest, NewManagedDateTimeIsTheZeroTickDate)
{
    MonoObject* date = NewManagedDateTime();
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(Ticks(date), 0);
}

TEST_F(ValuesTest, ClassWalkSkipsTheModuleRowAndEnds)
{
    uint32_t cursor = 0;
    int count = 0;
    bool sawWrapper = false;
    while (MonoClass* klass = mono_image_get_classes(g_image, reinterpret_cast<void**>(&cursor))) {
        ++count;
        EXPECT_STRNE(mono_class_get_name(klass), "<Module>");
        sawWrapper = sawWrapper || std::string(mono_class_get_name(klass)) == "CVIWrapper";
    }
    EXPECT_TRUE(sawWrapper);
    EXPECT_EQ(count, mono_image_get_table_rows(g_image, 2) - 1);
    EXPECT_EQ(cursor, 0u);
    EXPECT_EQ(mono_image_get_classes(g_image, nullptr), nullptr);
}

TEST_F(ValuesTest, ClassWalkOfAnImageWithOnlyTheModuleRow)
{
    MonoAssembly* assembly = mono_domain_assembly_open(g_domain, VISDK_EMPTY_ASSEMBLY);
    ASSERT_NE(assembly, nullptr);
    uint32_t cursor = 0;
    EXPECT_EQ(mono_image_get_classes(mono_assembly_get_image(assembly), reinterpret_cast<void**>(&cursor)), nullptr);
    EXPECT_EQ(cursor, 0u);
}

TEST_F(ValuesTest, Dumps)
{
    DumpClasses();
    EXPECT_EQ(log.Count("Class: CVIWrapper\n"), 1);
    log.Clear();
    MonoObject* file = NewRecord("SGuestFileLib");
    DumpClassFields(mono_object_get_class(file));
    EXPECT_EQ(log.Count("Field: unixMode\n"), 1);
    MonoClass* wrapper = mono_class_from_name(g_image, "VISDKWrapper", "CVIWrapper");
    DumpClassMethods(wrapper);
    EXPECT_EQ(log.Count("Method: PowerOnVM\n"), 1);
    log.Clear();
    DumpMethod(mono_class_get_method_from_name(wrapper, "PowerOnVM", -1));
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].text.rfind("Method: VISDKWrapper.CVIWrapper:PowerOnVM (string,string)   2 params   ", 0), 0u)
        << log.Entries()[0].text;
}

} // namespace
