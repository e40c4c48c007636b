// A managed List<string> of 100,000 items into std::vector<std::string>: the bridge's conversion against a direct enumerator walk.
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "FloorHandles.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace visdkbench;

namespace {

const int kItems = 100000;

MonoObject* BuildList()
{
    MonoObject* list = Pin(visdktest::NewList("SStringInfoLib"));
    MonoMethod* add = Method(mono_object_get_class(list), "Add", 1);
    for (int i = 0; i < kItems; ++i) {
        std::string text = std::to_string(static_cast<long long>(i) * 1048576) + ",1048576";
        void* args[] = {Str(text)};
        Invoke(add, list, args);
    }
    return list;
}

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "list conversion: List<string> of 100,000 items to std::vector<std::string>", false);
    MonoObject* list = BuildList();

    Enumerator strings("SStringInfoLibListEnumerator");
    auto floorConvert = [&](std::vector<std::string>& out) {
        out.clear();
        strings.Walk(list, [&](MonoObject* item) { out.push_back(Utf8(item)); });
    };

    std::vector<std::string> viaBridge, direct;
    VISDKHelper::CVISDKHelper::ConvertStringInfoList(viaBridge, list);
    floorConvert(direct);
    Check(viaBridge.size() == static_cast<size_t>(kItems) && viaBridge == direct, "both sides read the same 100,000 strings");
    Check(direct[kItems - 1] == std::to_string(static_cast<long long>(kItems - 1) * 1048576) + ",1048576", "last item");

    auto refresh = [] {};
    Figures figures = Compare(
        [&] {
            VISDKHelper::CVISDKHelper::ConvertStringInfoList(viaBridge, list);
            g_sink += static_cast<long long>(viaBridge.size());
        },
        [&] {
            floorConvert(direct);
            g_sink += static_cast<long long>(direct.size());
        },
        refresh);
    PrintRate("string_list_100k", figures, kItems, "item");
    std::printf("# string_list_100k floor: SStringInfoLibListEnumerator with GetEnumerator/MoveNext/Current looked up once, "
                "mono_string_to_utf8 per item\n");
    return 0;
}
