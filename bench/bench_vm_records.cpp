// VM records through the bridge (GetVMInfoForVM of a large VM, BrowseInventoryByName of 10,000 VMs) against direct reads.
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/class.h>

#include "BenchSupport.h"
#include "FloorHandles.h"
#include "TestSupport.h"

using namespace visdkbench;
using namespace VMInfoStructs;
namespace probe = visdktest::probe;

namespace {

const int kDisks = 16;
const int kCards = 4;
const int kSnapshots = 20;
const int kBrowsed = 10000;

// Every instance field of one record class, with what reading it takes, looked up once.
class RecordReader {
public:
    explicit RecordReader(MonoClass* klass)
    {
        void* iterator = nullptr;
        while (MonoClassField* field = mono_class_get_fields(klass, &iterator)) {
            if (mono_field_get_flags(field) & 0x10) // static
                continue;
            MonoType* type = mono_field_get_type(field);
            Slot slot{field, mono_type_get_type(type), nullptr, nullptr};
            std::string name = mono_field_get_name(field);
            if (slot.code == MONO_TYPE_GENERICINST)
                slot.list = EnumeratorFor(name);
            m_slots.push_back(slot);
        }
    }

    // Reads every field of a boxed record; nested records and list items are read the same way.
    long long Read(MonoObject* object, long long& records)
    {
        ++records;
        long long sum = 0;
        for (Slot& slot : m_slots) {
            switch (slot.code) {
            case MONO_TYPE_STRING: {
                MonoObject* text = nullptr;
                mono_field_get_value(object, slot.field, &text);
                sum += static_cast<long long>(Utf8(text).size());
                break;
            }
            case MONO_TYPE_I4:
            case MONO_TYPE_BOOLEAN:
            case MONO_TYPE_I8: {
                int64_t value = 0;
                mono_field_get_value(object, slot.field, &value);
                sum += value;
                break;
            }
            case MONO_TYPE_VALUETYPE: {
                MonoClass* klass = mono_class_from_mono_type(mono_field_get_type(slot.field));
                if (std::string(mono_class_get_name(klass)) == "DateTime") {
                    int64_t ticks = 0;
                    mono_field_get_value(object, slot.field, &ticks);
                    sum += ((ticks & 0x3FFFFFFFFFFFFFFFLL) - 621355968000000000LL) / 10000000;
                } else {
                    if (!slot.nested)
                        slot.nested = Of(klass);
                    sum += slot.nested->Read(mono_field_get_value_object(VISDKCppBridge::g_domain, slot.field, object), records);
                }
                break;
            }
            case MONO_TYPE_GENERICINST: {
                MonoObject* list = nullptr;
                mono_field_get_value(object, slot.field, &list);
                if (slot.list)
                    slot.list->Walk(list, [&](MonoObject* item) { sum += ReadItem(item, records); });
                break;
            }
            default:
                break;
            }
        }
        return sum;
    }

    static RecordReader* Of(MonoClass* klass)
    {
        static std::map<MonoClass*, std::unique_ptr<RecordReader>> readers;
        std::unique_ptr<RecordReader>& reader = readers[klass];
        if (!reader)
            reader.reset(new RecordReader(klass));
        return reader.get();
    }

    static long long ReadItem(MonoObject* item, long long& records)
    {
        MonoClass* klass = mono_object_get_class(item);
        if (klass == mono_get_string_class())
            return static_cast<long long>(Utf8(item).size());
        return Of(klass)->Read(item, records);
    }

private:
    struct Slot {
        MonoClassField* field;
        int code;
        const Enumerator* list;
        RecordReader* nested;
    };

    static const Enumerator* EnumeratorFor(const std::string& field)
    {
        static const std::map<std::string, const char*> names = {
            {"snapshotList", "SSnapshotLibListEnumerator"},      {"childSnapshots", "SSnapshotLibListEnumerator"},
            {"diskList", "SDiskLibListEnumerator"},              {"diskControllerList", "SDiskControllerLibListEnumerator"},
            {"networkCards", "SVMNetworkCardLibListEnumerator"}, {"fileList", "SVMFileLibListEnumerator"},
            {"owners", "SVMOwnerInfoLibListEnumerator"},         {"customAttributes", "SVMOptionValueLibListEnumerator"},
            {"optionValues", "SVMOptionValueLibListEnumerator"}, {"vmPaths", "SStringInfoLibListEnumerator"}};
        static std::map<std::string, std::unique_ptr<Enumerator>> made;
        auto name = names.find(field);
        if (name == names.end())
            return nullptr;
        std::unique_ptr<Enumerator>& enumerator = made[name->second];
        if (!enumerator)
            enumerator.reset(new Enumerator(name->second));
        return enumerator.get();
    }

    std::vector<Slot> m_slots;
};

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "VM records: GetVMInfoForVM (16 disks, 4 cards, 20 snapshots, files) and BrowseInventoryByName (10,000 VMs), "
                      "answered by the probe with objects the simulator built once",
          true);
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    Check(bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!") == 1, "connected to the simulator");

    // The large VM, made through the bridge against the simulator.
    std::string uuid;
    Check(bridge.CreateVM("bench-vm", "esx01.sim.local", "datastore1", "ubuntu64Guest", "VM Network", uuid) == 1, "bench VM created");
    for (int disk = 1; disk < kDisks; ++disk)
        Check(bridge.AddDiskToVM("bench-vm", "", "", 1LL << 30, true, false, false, false, false) == 1, "disk added");
    const char* networks[] = {"Backup Network", "DMZ", "VM Network"};
    for (int card = 1; card < kCards; ++card)
        Check(bridge.AddVirtualNetwork("bench-vm", networks[card - 1]), "network card added");
    std::string snapshot;
    for (int i = 0; i < kSnapshots; ++i)
        Check(bridge.CreateSnapshotWithName("bench-vm", "", "snap-" + std::to_string(i), "bench", false, false, snapshot) == 1,
              "snapshot taken");

    MonoObject* wrapper = NewWrapper();
    MonoClass* wrapperClass = mono_object_get_class(wrapper);
    MonoMethod* connect = Method(wrapperClass, "Connect", 3);
    void* login[] = {Str("vcenter.sim.local"), Str("administrator@vsphere.local"), Str("VMware1!")};
    Invoke(connect, wrapper, login);
    MonoMethod* infoMethod = Method(wrapperClass, "GetVMInfoForVM", 5);
    MonoMethod* browseMethod = Method(wrapperClass, "BrowseInventoryByName", 4);

    unsigned long long all = VM_PROP_ALL, browseMask = VM_PROP_VM_HOST_INFO | VM_PROP_VM_CFG_FILE;
    int zero = 0, kind = 0;
    void* infoArgs[] = {Str("bench-vm"), Str(""), Str(""), &all, &zero};
    MonoObject* vmRecord = Pin(Invoke(infoMethod, wrapper, infoArgs));

    // 10,000 records: the simulator's VMs, copied under distinct names.
    void* browseArgs[] = {Str(""), &kind, &browseMask, &zero};
    MonoObject* few = Invoke(browseMethod, wrapper, browseArgs);
    MonoClass* vmClass = Class("SVMInfoLib");
    MonoClassField* nameField = Field(vmClass, "strName");
    std::vector<MonoObject*> models;
    Enumerator vms("SVMInfoLibListEnumerator");
    // Pinned: the copies below allocate, and a vector is no root the collector sees.
    vms.Walk(few, [&](MonoObject* item) { models.push_back(Pin(item)); });
    Check(!models.empty(), "the simulator browsed its VMs");
    MonoObject* many = Pin(visdktest::NewList("SVMInfoLib"));
    MonoMethod* add = Method(mono_object_get_class(many), "Add", 1);
    for (int i = 0; i < kBrowsed; ++i) {
        MonoObject* copy = mono_value_box(VISDKCppBridge::g_domain, vmClass, mono_object_unbox(models[i % models.size()]));
        mono_field_set_value(copy, nameField, Str("vm-" + std::to_string(i)));
        void* args[] = {mono_object_unbox(copy)};
        Invoke(add, many, args);
    }

    auto rules = [&] {
        probe::Reset();
        probe::Return("GetVMInfoForVM", vmRecord);
        probe::Return("BrowseInventoryByName", many);
    };
    rules();

    long long vmRecords = 0, browsedRecords = 0;
    auto floorInfo = [&](long long& records) {
        void* args[] = {Str("bench-vm"), Str(""), Str(""), &all, &zero};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(infoMethod, wrapper, args, &exception);
        return result && !exception ? RecordReader::ReadItem(result, records) : 0;
    };
    auto floorBrowse = [&](long long& records) {
        void* args[] = {Str("*"), &kind, &browseMask, &zero};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(browseMethod, wrapper, args, &exception);
        long long sum = 0;
        if (result && !exception)
            vms.Walk(result, [&](MonoObject* item) { sum += RecordReader::ReadItem(item, records); });
        return sum;
    };

    SVMInfo info;
    Check(bridge.GetVMInfoForVM("bench-vm", "", "", VM_PROP_ALL, 0, info) == 1, "bridge GetVMInfoForVM answered 1");
    Check(info.diskList.size() == kDisks && info.networkCards.size() == kCards, "the record holds 16 disks and 4 cards");
    floorInfo(vmRecords);
    std::vector<SVMInfo> browsed;
    Check(bridge.BrowseInventoryByName("*", 0, browseMask, 0, browsed) == 1 && browsed.size() == kBrowsed, "bridge browsed 10,000 VMs");
    floorBrowse(browsedRecords);
    Check(browsedRecords >= kBrowsed, "the floor read 10,000 VMs");

    long long scratch = 0;
    Figures one = Compare([&] { g_sink += bridge.GetVMInfoForVM("bench-vm", "", "", VM_PROP_ALL, 0, info); },
                          [&] { g_sink += floorInfo(scratch); }, rules);
    PrintRate("get_vm_info_16_disks_20_snapshots", one, static_cast<double>(vmRecords), "record");
    Figures list = Compare([&] { g_sink += bridge.BrowseInventoryByName("*", 0, browseMask, 0, browsed); },
                           [&] { g_sink += floorBrowse(scratch); }, rules);
    PrintRate("browse_inventory_by_name_10000", list, static_cast<double>(browsedRecords), "record");

    std::printf("# records: get_vm_info_16_disks_20_snapshots = %lld managed records per call (the VM, its disks, controllers, cards, "
                "snapshots, layout and files); browse_inventory_by_name_10000 = %lld per call\n"
                "# floor: the same managed call (method looked up once), then every field of every record read with class, field "
                "and enumerator handles looked up once; texts converted to std::string\n",
                vmRecords, browsedRecords);
    return 0;
}
