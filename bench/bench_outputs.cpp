// Per-call cost of PowerOnVM (inputs only) and GetSnapshotInfo (outputs) through the bridge against a direct runtime invoke.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/class.h>

#include "BenchSupport.h"
#include "TestSupport.h"

using namespace visdkbench;
namespace probe = visdktest::probe;

namespace {

const long long kTicks1970 = 621355968000000000LL;
const long long kTicksPerSecond = 10000000LL;
const long long kCreated = 1717405200LL;

void PowerOnRules() { probe::ReturnInt("PowerOnVM", 1); }

void SnapshotRules()
{
    probe::Out("GetSnapshotInfo", 3, visdktest::ManagedString("backup-20240603-090000"));
    probe::Out("GetSnapshotInfo", 4, visdktest::ManagedDate(kTicks1970 + kCreated * kTicksPerSecond));
    probe::Out("GetSnapshotInfo", 5, visdktest::ManagedString("created for the nightly backup"));
    probe::Out("GetSnapshotInfo", 6, visdktest::BoxBool(true));
    probe::ReturnBool("GetSnapshotInfo", true);
}

struct SnapshotOut {
    std::string name, description;
    time_t created = 0;
    bool quiesced = false;
};

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "call cost: PowerOnVM(vm, host) and GetSnapshotInfo(vm, host, id, out name, ref created, out description, "
                      "ref quiesced), answered by the probe", true);
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    const std::string vm = "vm-web01", host = "esx01.sim.local", snapshot = "snapshot-11";

    MonoObject* wrapper = NewWrapper();
    MonoClass* wrapperClass = mono_object_get_class(wrapper);
    MonoMethod* powerOnMethod = Method(wrapperClass, "PowerOnVM", 2);
    MonoMethod* snapshotMethod = Method(wrapperClass, "GetSnapshotInfo", 7);
    MonoClass* dateClass = mono_class_from_name(mono_get_corlib(), "System", "DateTime");
    Check(dateClass != nullptr, "System.DateTime");
    MonoMethod* ticksGetter = mono_property_get_get_method(mono_class_get_property_from_name(dateClass, "Ticks"));
    Check(ticksGetter != nullptr, "DateTime.Ticks getter");

    auto floorPowerOn = [&] {
        void* args[] = {Str(vm), Str(host)};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(powerOnMethod, wrapper, args, &exception);
        return result && !exception ? *static_cast<int*>(mono_object_unbox(result)) : 0;
    };

    // Same slots as the bridge passes, and the outputs read back the same way.
    auto floorSnapshot = [&](SnapshotOut& out) {
        MonoObject* name = nullptr;
        MonoObject* description = nullptr;
        MonoObject* date = NewValue(dateClass);
        void* args[] = {Str(vm), Str(host), Str(snapshot), &name, mono_object_unbox(date), &description, &out.quiesced};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(snapshotMethod, wrapper, args, &exception);
        bool ok = result && !exception && *static_cast<unsigned char*>(mono_object_unbox(result)) != 0;
        if (ok) {
            out.name = Utf8(name);
            out.description = Utf8(description);
            MonoObject* ticks = mono_runtime_invoke(ticksGetter, mono_object_unbox(date), nullptr, &exception);
            uint64_t raw = ticks && !exception ? *static_cast<uint64_t*>(mono_object_unbox(ticks)) : 0;
            out.created = static_cast<time_t>((raw - static_cast<uint64_t>(kTicks1970)) / static_cast<uint64_t>(kTicksPerSecond));
        }
        return ok;
    };

    probe::Reset();
    PowerOnRules();
    SnapshotRules();
    Check(bridge.PowerOnVM(vm, host) == 1 && floorPowerOn() == 1, "PowerOnVM answered 1 on both sides");
    SnapshotOut viaBridge, direct;
    Check(bridge.GetSnapshotInfo(vm, host, snapshot, viaBridge.name, viaBridge.created, viaBridge.description, viaBridge.quiesced),
          "bridge GetSnapshotInfo answered true");
    Check(floorSnapshot(direct), "direct GetSnapshotInfo answered true");
    Check(viaBridge.name == direct.name && viaBridge.description == direct.description && viaBridge.created == direct.created &&
              viaBridge.quiesced == direct.quiesced && direct.created == kCreated && direct.quiesced,
          "both sides read the same snapshot outputs");

    auto powerOnRefresh = [] { probe::Reset(); PowerOnRules(); };
    Figures powerOn =
        Compare([&] { g_sink += bridge.PowerOnVM(vm, host); }, [&] { g_sink += floorPowerOn(); }, powerOnRefresh);
    PrintCall("power_on_vm", powerOn);

    auto snapshotRefresh = [] { probe::Reset(); SnapshotRules(); };
    SnapshotOut a, b;
    Figures info = Compare(
        [&] { g_sink += bridge.GetSnapshotInfo(vm, host, snapshot, a.name, a.created, a.description, a.quiesced); },
        [&] { g_sink += floorSnapshot(b); }, snapshotRefresh);
    PrintCall("get_snapshot_info", info);
    std::printf("# get_snapshot_info floor: 3 strings, a DateTime and out slots built per call; outputs read back "
                "(2 strings to UTF-8, Ticks through its cached getter)\n");
    return 0;
}
