// Per-call cost of CheckConnection and Connect through the bridge against a direct runtime invoke.
#include <string>

#include "BenchSupport.h"
#include "TestSupport.h"

using namespace visdkbench;

namespace {

int IntOf(MonoObject* result, MonoObject* exception)
{
    return result && !exception ? *static_cast<int*>(mono_object_unbox(result)) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "call cost: CheckConnection() and Connect(server, user, password), answered by the simulator", true);
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    const std::string server = "vcenter.sim.local", user = "administrator@vsphere.local", password = "VMware1!";
    visdktest::probe::Reset();

    MonoObject* wrapper = NewWrapper();
    MonoClass* wrapperClass = mono_object_get_class(wrapper);
    MonoMethod* checkMethod = Method(wrapperClass, "CheckConnection", 0);
    MonoMethod* connectMethod = Method(wrapperClass, "Connect", 3);

    auto floorCheck = [&] {
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(checkMethod, wrapper, nullptr, &exception);
        return IntOf(result, exception);
    };
    auto floorConnect = [&] {
        void* args[] = {Str(server), Str(user), Str(password)};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(connectMethod, wrapper, args, &exception);
        return IntOf(result, exception);
    };

    Check(bridge.Connect(server, user, password) == 1, "bridge Connect to the simulator");
    Check(floorConnect() == 1, "direct Connect to the simulator");
    Check(bridge.CheckConnection() == 1, "bridge CheckConnection");
    Check(floorCheck() == 1, "direct CheckConnection");

    // The probe keeps a record of every call; clearing it between batches keeps that record short.
    auto refresh = [] { visdktest::probe::Reset(); };

    Figures check = Compare([&] { g_sink += bridge.CheckConnection(); }, [&] { g_sink += floorCheck(); }, refresh);
    PrintCall("check_connection", check);

    Figures connect =
        Compare([&] { g_sink += bridge.Connect(server, user, password); }, [&] { g_sink += floorConnect(); }, refresh);
    PrintCall("connect", connect);

    Check(bridge.CheckConnection() == 1 && floorCheck() == 1, "sessions still valid after the runs");
    return 0;
}
