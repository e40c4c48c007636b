// The bridge's own cost: one call per passing-mode family and the record lists, against a managed client whose
// methods do no work (about 200 of them) and a floor that calls the same methods with every handle looked up once.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/class.h>

#include "BenchSupport.h"
#include "FloorHandles.h"
#include "BridgeFrame.h"
#include "TestSupport.h"

using namespace visdkbench;
using namespace VMInfoStructs;
using VISDKCppBridge::CVIWrapperPtr;
namespace frame = VISDKCppBridge::frame;

namespace {

const long long kTicks1970 = 621355968000000000LL;
const long long kTicksPerSecond = 10000000LL;

const int kChangeExtents = 100000;
const int kBlockElements = 1000;
const int kAreasPerElement = 100;
const int kStrings = 100000;
const int kGuestFiles = 10000;
const int kOptions = 100;

void Prepare(const char* method, int count)
{
    void* args[] = {&count};
    visdktest::CallStatic("BareData", method, args);
}

void PrepareBlockMap(int elements, int areas)
{
    void* args[] = {&elements, &areas};
    visdktest::CallStatic("BareData", "SetBlockMap", args);
}

int IntOf(MonoObject* result, MonoObject* exception) { return result && !exception ? *static_cast<int*>(mono_object_unbox(result)) : 0; }

bool BoolOf(MonoObject* result, MonoObject* exception)
{
    return result && !exception && *static_cast<unsigned char*>(mono_object_unbox(result)) != 0;
}

// DateTime both ways, with the property getter and AddTicks looked up once.
struct Dates {
    MonoClass* klass = mono_class_from_name(mono_get_corlib(), "System", "DateTime");
    MonoMethod* ticks = mono_property_get_get_method(mono_class_get_property_from_name(klass, "Ticks"));
    MonoMethod* addTicks = mono_class_get_method_from_name(klass, "AddTicks", 1);

    time_t Seconds(void* data) const
    {
        MonoObject* exception = nullptr;
        MonoObject* value = mono_runtime_invoke(ticks, data, nullptr, &exception);
        uint64_t raw = value && !exception ? *static_cast<uint64_t*>(mono_object_unbox(value)) : 0;
        return static_cast<time_t>((raw - static_cast<uint64_t>(kTicks1970)) / static_cast<uint64_t>(kTicksPerSecond));
    }

    MonoObject* From(time_t seconds) const
    {
        MonoObject* base = mono_object_new(VISDKCppBridge::g_domain, klass);
        long long add = static_cast<long long>(seconds) * kTicksPerSecond + kTicks1970;
        void* args[] = {&add};
        MonoObject* exception = nullptr;
        return mono_runtime_invoke(addTicks, mono_object_unbox(base), args, &exception);
    }
};

struct GuestFileClass {
    MonoClass* klass = Class("SGuestFileLib");
    MonoClassField* name = Field(klass, "name");
    MonoClassField* size = Field(klass, "size");
    MonoClassField* type = Field(klass, "type");
    MonoClassField* modified = Field(klass, "modifiedTime");
    MonoClassField* accessed = Field(klass, "accessTime");
    MonoClassField* created = Field(klass, "createTime");
    MonoClassField* uid = Field(klass, "unixUserId");
    MonoClassField* gid = Field(klass, "unixGroupId");
    MonoClassField* mode = Field(klass, "unixMode");
    Enumerator list{"SGuestFileLibListEnumerator"};

    void ReadInto(SGuestFile& out, MonoObject* item, const Dates& dates) const
    {
        out.name = Utf8(Read<MonoObject*>(item, name));
        out.size = Read<int64_t>(item, size);
        out.type = Read<int32_t>(item, type);
        out.modifiedTime = dates.Seconds(mono_object_unbox(mono_field_get_value_object(VISDKCppBridge::g_domain, modified, item)));
        out.accessTime = dates.Seconds(mono_object_unbox(mono_field_get_value_object(VISDKCppBridge::g_domain, accessed, item)));
        out.createTime = dates.Seconds(mono_object_unbox(mono_field_get_value_object(VISDKCppBridge::g_domain, created, item)));
        out.unixUserId = Read<int32_t>(item, uid);
        out.unixGroupId = Read<int32_t>(item, gid);
        out.unixMode = Read<int32_t>(item, mode);
    }
};

struct OptionClass {
    MonoClass* klass = Class("SVMOptionValueLib");
    MonoClassField* key = Field(klass, "key");
    MonoClassField* value = Field(klass, "value");
    Enumerator list{"SVMOptionValueLibListEnumerator"};
};

// The floor's side: the same managed instance class, every handle looked up once.
struct Floor {
    MonoObject* wrapper = NewWrapper();
    MonoClass* klass = mono_object_get_class(wrapper);
    MonoMethod* Find(const char* name, int params) const { return Method(klass, name, params); }

    MonoObject* Call(MonoMethod* method, void** args) const
    {
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(method, wrapper, args, &exception);
        return exception ? nullptr : result;
    }
};

void Line(const char* name, const Figures& figures) { PrintCall(name, figures); }

void Rate(const char* name, const Figures& figures, double records)
{
    PrintCall(name, figures);
    std::printf("#   %s: %.0f records per call, bridge %.2f M records/s, floor %.2f M records/s\n", name, records,
                records * 1e3 / figures.bridgeNs, records * 1e3 / figures.floorNs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "bridge against the runtime's own cost: a bare managed client (about 200 methods that do no work)", false);
    std::printf("# floor: mono_runtime_invoke of the same method of the same class, method, class and field handles looked up "
                "once; the same argument slots built and the same outputs read back\n");
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    CVIWrapperPtr wrapper;
    Check(wrapper.Init(), "a second wrapper instance for the frame-level modes");
    Floor floor;
    Dates dates;
    auto none = [] {};
    const std::string vm = "vm-web01", host = "esx01.sim.local", snapshot = "snapshot-11", user = "root", password = "guest";
    const std::string disk = "2000", changeId = "*";

    // Plain calls
    MonoMethod* check = floor.Find("CheckConnection", 0);
    Check(bridge.CheckConnection() == 1, "CheckConnection");
    Line("check_connection", Compare([&] { g_sink += bridge.CheckConnection(); },
                                     [&] { g_sink += IntOf(floor.Call(check, nullptr), nullptr); }, none));

    MonoMethod* powerOn = floor.Find("PowerOnVM", 2);
    auto floorPowerOn = [&] {
        void* args[] = {Str(vm), Str(host)};
        return IntOf(floor.Call(powerOn, args), nullptr);
    };
    Check(bridge.PowerOnVM(vm, host) == 1 && floorPowerOn() == 1, "PowerOnVM");
    Line("power_on_vm (S)", Compare([&] { g_sink += bridge.PowerOnVM(vm, host); }, [&] { g_sink += floorPowerOn(); }, none));

    MonoMethod* logParameters = floor.Find("SetLogParameters", 4);
    auto floorLog = [&] {
        int a = 1, b = 2, c = 3, d = 4;
        void* args[] = {&a, &b, &c, &d};
        return IntOf(floor.Call(logParameters, args), nullptr);
    };
    Line("set_log_parameters (V)",
         Compare([&] { g_sink += bridge.SetLogParameters(1, 2, 3, 4); }, [&] { g_sink += floorLog(); }, none));

    MonoMethod* count = floor.Find("CountBackupSnapshots", 3);
    auto floorCount = [&](int& n) {
        void* args[] = {Str(vm), Str(host), &n};
        return IntOf(floor.Call(count, args), nullptr);
    };
    int counted = 0;
    Check(bridge.CountBackupSnapshots(vm, host, counted) == 1 && counted == 3, "CountBackupSnapshots");
    Line("count_backup_snapshots (R)", Compare([&] { g_sink += bridge.CountBackupSnapshots(vm, host, counted); },
                                               [&] { g_sink += floorCount(counted); }, none));

    MonoMethod* create = floor.Find("CreateBackupSnapshot", 5);
    auto floorCreate = [&](std::string& id) {
        unsigned char quiesce = 1, memory = 0;
        MonoObject* out = nullptr;
        void* args[] = {Str(vm), Str(host), &quiesce, &memory, &out};
        int result = IntOf(floor.Call(create, args), nullptr);
        if (result)
            id = Utf8(out);
        return result;
    };
    std::string id;
    Check(bridge.CreateBackupSnapshot(vm, host, true, false, id) == 1 && id == "snapshot-1", "CreateBackupSnapshot");
    Line("create_backup_snapshot (OS)", Compare([&] { g_sink += bridge.CreateBackupSnapshot(vm, host, true, false, id); },
                                                [&] { g_sink += floorCreate(id); }, none));

    MonoMethod* info = floor.Find("GetSnapshotInfo", 7);
    struct SnapshotOut {
        std::string name, description;
        time_t created = 0;
        bool quiesced = false;
    } a, b;
    auto floorInfo = [&](SnapshotOut& out) {
        MonoObject* name = nullptr;
        MonoObject* description = nullptr;
        MonoObject* date = NewValue(dates.klass);
        void* args[] = {Str(vm), Str(host), Str(snapshot), &name, mono_object_unbox(date), &description, &out.quiesced};
        bool ok = BoolOf(floor.Call(info, args), nullptr);
        if (ok) {
            out.name = Utf8(name);
            out.created = dates.Seconds(mono_object_unbox(date));
            out.description = Utf8(description);
        }
        return ok;
    };
    Check(bridge.GetSnapshotInfo(vm, host, snapshot, a.name, a.created, a.description, a.quiesced) && floorInfo(b) &&
              a.created == b.created && a.created == 1717405200,
          "GetSnapshotInfo");
    Line("get_snapshot_info (DT, OS, R)",
         Compare([&] { g_sink += bridge.GetSnapshotInfo(vm, host, snapshot, a.name, a.created, a.description, a.quiesced); },
                 [&] { g_sink += floorInfo(b); }, none));

    // Records and lists by value
    GuestFileClass files;
    MonoMethod* attributes = floor.Find("ChangeGuestFileAttributes", 6);
    SGuestFile file;
    file.name = "/home/backup/report.txt";
    file.size = 4096;
    file.modifiedTime = file.accessTime = file.createTime = 1717405200;
    file.unixUserId = 1000;
    file.unixGroupId = 100;
    file.unixMode = 0644;
    auto floorAttributes = [&] {
        MonoObject* item = NewValue(files.klass);
        mono_field_set_value(item, files.name, Str(file.name));
        int64_t size = file.size;
        int32_t type = file.type, uid = file.unixUserId, gid = file.unixGroupId, mode = file.unixMode;
        mono_field_set_value(item, files.size, &size);
        mono_field_set_value(item, files.type, &type);
        mono_field_set_value(item, files.modified, mono_object_unbox(dates.From(file.modifiedTime)));
        mono_field_set_value(item, files.accessed, mono_object_unbox(dates.From(file.accessTime)));
        mono_field_set_value(item, files.created, mono_object_unbox(dates.From(file.createTime)));
        mono_field_set_value(item, files.uid, &uid);
        mono_field_set_value(item, files.gid, &gid);
        mono_field_set_value(item, files.mode, &mode);
        void* args[] = {Str(vm), Str(host), Str(user), Str(password), Str(file.name), mono_object_unbox(item)};
        return BoolOf(floor.Call(attributes, args), nullptr);
    };
    Check(bridge.ChangeGuestFileAttributes(vm, host, user, password, file.name, file) && floorAttributes(),
          "ChangeGuestFileAttributes");
    Line("change_guest_file_attributes (RV)",
         Compare([&] { g_sink += bridge.ChangeGuestFileAttributes(vm, host, user, password, file.name, file); },
                 [&] { g_sink += floorAttributes(); }, none));

    OptionClass options;
    SVMOptionValue option{"ctkEnabled", "true"};
    MonoMethod* byRef = floor.Find("EchoRecordByRef", 1);
    auto floorByRef = [&](SVMOptionValue& out) {
        MonoObject* item = NewValue(options.klass);
        mono_field_set_value(item, options.key, Str(out.key));
        mono_field_set_value(item, options.value, Str(out.value));
        void* args[] = {&item};
        int result = IntOf(floor.Call(byRef, args), nullptr);
        out.key = Utf8(Read<MonoObject*>(item, options.key));
        out.value = Utf8(Read<MonoObject*>(item, options.value));
        return result;
    };
    auto bridgeByRef = [&] {
        return frame::Forward<frame::Int, frame::Always, frame::RR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordByRef", option);
    };
    Check(bridgeByRef() == 1 && option.key == "ctkEnabled", "EchoRecordByRef");
    Line("echo_record_by_ref (RR)", Compare([&] { g_sink += bridgeByRef(); }, [&] { g_sink += floorByRef(option); }, none));

    MonoMethod* inPlace = floor.Find("EchoRecordInPlace", 1);
    auto floorInPlace = [&](SVMOptionValue& out) {
        MonoObject* item = NewValue(options.klass);
        void* args[] = {item};
        int result = IntOf(floor.Call(inPlace, args), nullptr);
        out.key = Utf8(Read<MonoObject*>(item, options.key));
        out.value = Utf8(Read<MonoObject*>(item, options.value));
        return result;
    };
    auto bridgeInPlace = [&] {
        return frame::Forward<frame::Int, frame::Always, frame::RP<SVMOptionValue>>(wrapper, "int F()", "EchoRecordInPlace", option);
    };
    Check(bridgeInPlace() == 1, "EchoRecordInPlace");
    Line("echo_record_in_place (RP)", Compare([&] { g_sink += bridgeInPlace(); }, [&] { g_sink += floorInPlace(option); }, none));

    MonoMethod* recordOut = floor.Find("EchoRecordOut", 1);
    auto floorOut = [&](SVMOptionValue& out) {
        MonoObject* item = nullptr;
        void* args[] = {&item};
        int result = IntOf(floor.Call(recordOut, args), nullptr);
        if (result && item) {
            out.key = Utf8(Read<MonoObject*>(item, options.key));
            out.value = Utf8(Read<MonoObject*>(item, options.value));
        }
        return result;
    };
    auto bridgeOut = [&] {
        return frame::Forward<frame::Int, frame::IfNonZero, frame::OR<SVMOptionValue>>(wrapper, "int F()", "EchoRecordOut", option);
    };
    Check(bridgeOut() == 1 && option.key == "ctkEnabled" && option.value == "true", "EchoRecordOut");
    Line("echo_record_out (OR)", Compare([&] { g_sink += bridgeOut(); }, [&] { g_sink += floorOut(option); }, none));

    std::vector<SVMOptionValue> optionItems;
    for (int i = 0; i < kOptions; ++i)
        optionItems.push_back({"ddb.key" + std::to_string(i), "value-" + std::to_string(i)});
    MonoMethod* listIn = floor.Find("EchoListIn", 1);
    MonoMethod* createOptions = Method(Class("CVIWrapperFactory"), "CreateSVMOptionValueLibList", 0);
    MonoMethod* addOption = nullptr;
    auto floorListIn = [&] {
        MonoObject* exception = nullptr;
        MonoObject* list = mono_runtime_invoke(createOptions, nullptr, nullptr, &exception);
        if (!addOption)
            addOption = Method(mono_object_get_class(list), "Add", 1);
        for (const SVMOptionValue& o : optionItems) {
            MonoObject* item = NewValue(options.klass);
            mono_field_set_value(item, options.key, Str(o.key));
            mono_field_set_value(item, options.value, Str(o.value));
            void* add[] = {mono_object_unbox(item)};
            mono_runtime_invoke(addOption, list, add, &exception);
        }
        void* args[] = {list};
        return IntOf(floor.Call(listIn, args), nullptr);
    };
    auto bridgeListIn = [&] {
        return frame::Forward<frame::Int, frame::Always, frame::LI<SVMOptionValue>>(wrapper, "int F()", "EchoListIn", optionItems);
    };
    Check(bridgeListIn() == 1 && floorListIn() == 1, "EchoListIn");
    Rate("echo_list_in_100 (LI)", Compare([&] { g_sink += bridgeListIn(); }, [&] { g_sink += floorListIn(); }, none), kOptions);

    // Record lists
    Prepare("SetStrings", kStrings);
    MonoMethod* verify = floor.Find("VerifyAccountForBackup", 1);
    std::vector<std::string> stringsBridge, stringsFloor;
    Enumerator strings("SStringInfoLibListEnumerator");
    auto floorVerify = [&] {
        MonoObject* list = nullptr;
        void* args[] = {&list};
        bool ok = BoolOf(floor.Call(verify, args), nullptr);
        if (ok) {
            stringsFloor.clear();
            strings.Walk(list, [&](MonoObject* item) { stringsFloor.push_back(Utf8(item)); });
        }
        return ok;
    };
    Check(bridge.VerifyAccountForBackup(stringsBridge) && floorVerify() && stringsBridge == stringsFloor &&
              stringsBridge.size() == static_cast<size_t>(kStrings),
          "VerifyAccountForBackup lists");
    Rate("verify_account_strings_100k (LO string)",
         Compare([&] { g_sink += bridge.VerifyAccountForBackup(stringsBridge); }, [&] { g_sink += floorVerify(); }, none),
         kStrings);

    Prepare("SetFiles", kGuestFiles);
    MonoMethod* browse = floor.Find("BrowseGuest", 6);
    std::vector<SGuestFile> filesBridge, filesFloor;
    auto floorBrowse = [&] {
        MonoObject* list = nullptr;
        void* args[] = {Str(vm), Str(host), Str(user), Str(password), Str("/"), &list};
        bool ok = BoolOf(floor.Call(browse, args), nullptr);
        if (ok) {
            filesFloor.clear();
            files.list.Walk(list, [&](MonoObject* item) {
                SGuestFile f;
                files.ReadInto(f, item, dates);
                filesFloor.push_back(f);
            });
        }
        return ok;
    };
    Check(bridge.BrowseGuest(vm, host, user, password, "/", filesBridge) && floorBrowse() &&
              filesBridge.size() == static_cast<size_t>(kGuestFiles) && filesBridge.back().name == filesFloor.back().name &&
              filesBridge.back().modifiedTime == filesFloor.back().modifiedTime,
          "BrowseGuest lists");
    Rate("browse_guest_10k (LO SGuestFile)",
         Compare([&] { g_sink += bridge.BrowseGuest(vm, host, user, password, "/", filesBridge); },
                 [&] { g_sink += floorBrowse(); }, none),
         kGuestFiles);

    Prepare("SetChanges", kChangeExtents);
    ChangeClasses changes;
    MonoMethod* query = floor.Find("QueryChangedDiskAreas", 6);
    SDiskChangeInfo changesBridge, changesFloor;
    auto floorQuery = [&] {
        long long offset = 0;
        void* args[] = {Str(vm), Str(host), Str(snapshot), Str(disk), &offset, Str(changeId)};
        MonoObject* object = floor.Call(query, args);
        if (!object)
            return 0;
        changes.ReadInto(changesFloor, object);
        return 1;
    };
    Check(bridge.QueryChangedDiskAreas(vm, host, snapshot, disk, 0, changeId, changesBridge) == 1 && floorQuery() == 1 &&
              changesBridge.changedAreaList.size() == static_cast<size_t>(kChangeExtents) &&
              changesBridge.changedAreaList.back().llStart == changesFloor.changedAreaList.back().llStart,
          "QueryChangedDiskAreas lists");
    Rate("query_changed_disk_areas_100k (object)",
         Compare([&] { g_sink += bridge.QueryChangedDiskAreas(vm, host, snapshot, disk, 0, changeId, changesBridge); },
                 [&] { g_sink += floorQuery(); }, none),
         kChangeExtents);

    PrepareBlockMap(kBlockElements, kAreasPerElement);
    Prepare("SetOptions", kOptions);
    BlockClasses blocks;
    MonoMethod* blockInfo = floor.Find("GetDiskBlockInfoList", 7);
    SDiskTotalBlockInfo blocksBridge, blocksFloor;
    std::vector<SDiskMetadataInfo> metadataBridge, metadataFloor;
    auto floorBlocks = [&] {
        MonoObject* total = NewValue(blocks.total);
        MonoObject* metadata = nullptr;
        unsigned char topOnly = 1;
        void* args[] = {Str(vm), Str(host), Str(snapshot), Str(disk), &topOnly, mono_object_unbox(total), &metadata};
        int result = IntOf(floor.Call(blockInfo, args), nullptr);
        metadataFloor.clear();
        options.list.Walk(metadata, [&](MonoObject* item) {
            metadataFloor.push_back({Utf8(Read<MonoObject*>(item, options.key)), Utf8(Read<MonoObject*>(item, options.value))});
        });
        blocks.ReadInto(blocksFloor, total);
        return result;
    };
    Check(bridge.GetDiskBlockInfo(vm, host, snapshot, disk, true, blocksBridge, metadataBridge) == 1 && floorBlocks() == 1 &&
              blocksBridge.TotalMapAreaList.size() == static_cast<size_t>(kBlockElements) &&
              metadataBridge.size() == static_cast<size_t>(kOptions) && metadataBridge.back().value == metadataFloor.back().value,
          "GetDiskBlockInfo lists");
    Rate("get_disk_block_info_1000x100 (RO, LO)",
         Compare([&] { g_sink += bridge.GetDiskBlockInfo(vm, host, snapshot, disk, true, blocksBridge, metadataBridge); },
                 [&] { g_sink += floorBlocks(); }, none),
         kBlockElements + kBlockElements * kAreasPerElement + kOptions);
    return 0;
}
