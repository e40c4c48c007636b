// Nested record results through the bridge (QueryChangedDiskAreas, GetDiskBlockInfo) against direct reads with cached handles.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "FloorHandles.h"
#include "TestSupport.h"

using namespace visdkbench;
using namespace VMInfoStructs;
namespace probe = visdktest::probe;

namespace {

const int kChangeExtents = 100000;
const int kBlockElements = 1000;
const int kAreasPerElement = 100;
const int64_t kMiB = 1048576;

void SetLong(MonoObject* object, MonoClassField* field, int64_t value) { mono_field_set_value(object, field, &value); }

MonoMethod* AddMethod(MonoObject* list) { return Method(mono_object_get_class(list), "Add", 1); }

void Add(MonoMethod* add, MonoObject* list, MonoObject* boxed)
{
    void* args[] = {mono_object_unbox(boxed)};
    Invoke(add, list, args);
}

MonoObject* BuildChangeInfo(const ChangeClasses& c)
{
    MonoObject* areas = visdktest::NewList("SDiskChangeExtentLib");
    MonoMethod* add = AddMethod(areas);
    for (int i = 0; i < kChangeExtents; ++i) {
        MonoObject* extent = NewValue(c.extent);
        SetLong(extent, c.start, i * 2 * kMiB);
        SetLong(extent, c.length, 64 * 1024 + i % 7 * 4096);
        Add(add, areas, extent);
    }
    MonoObject* info = Pin(NewValue(c.info));
    SetLong(info, c.startOffset, 0);
    SetLong(info, c.infoLength, kChangeExtents * 2 * kMiB);
    mono_field_set_value(info, c.areas, areas);
    return info;
}

MonoObject* BuildBlockInfo(const BlockClasses& c)
{
    MonoObject* elements = visdktest::NewList("SDiskBlockMapInfoLib");
    MonoMethod* addElement = AddMethod(elements);
    MonoMethod* addArea = nullptr;
    int64_t logical = 0;
    for (int e = 0; e < kBlockElements; ++e) {
        MonoObject* areas = visdktest::NewList("SDiskBlockMapExtentInfoLib");
        if (!addArea)
            addArea = AddMethod(areas);
        int64_t physical = 4096;
        for (int a = 0; a < kAreasPerElement; ++a) {
            MonoObject* extent = NewValue(c.extent);
            int64_t length = kMiB + a % 5 * 65536;
            SetLong(extent, c.length, length);
            SetLong(extent, c.logicalStart, logical);
            SetLong(extent, c.physicalStart, physical);
            Add(addArea, areas, extent);
            logical += length + kMiB;
            physical += length;
        }
        MonoObject* map = NewValue(c.map);
        char name[64];
        std::snprintf(name, sizeof name, "[datastore1] vm-web01/vm-web01-%06d-sesparse.vmdk", e + 1);
        mono_field_set_value(map, c.element, Str(name));
        mono_field_set_value(map, c.areas, areas);
        Add(addElement, elements, map);
    }
    MonoObject* total = Pin(NewValue(c.total));
    SetLong(total, c.totalsize, logical);
    mono_field_set_value(total, c.elements, elements);
    return total;
}

bool SameChanges(const SDiskChangeInfo& a, const SDiskChangeInfo& b)
{
    if (a.llStartOffset != b.llStartOffset || a.llLength != b.llLength || a.changedAreaList.size() != b.changedAreaList.size())
        return false;
    for (size_t i = 0; i < a.changedAreaList.size(); ++i)
        if (a.changedAreaList[i].llStart != b.changedAreaList[i].llStart ||
            a.changedAreaList[i].llLength != b.changedAreaList[i].llLength)
            return false;
    return true;
}

bool SameBlocks(const SDiskTotalBlockInfo& a, const SDiskTotalBlockInfo& b)
{
    if (a.totalsize != b.totalsize || a.TotalMapAreaList.size() != b.TotalMapAreaList.size())
        return false;
    for (size_t i = 0; i < a.TotalMapAreaList.size(); ++i) {
        const SDiskBlockMapInfo& x = a.TotalMapAreaList[i];
        const SDiskBlockMapInfo& y = b.TotalMapAreaList[i];
        if (x.element != y.element || x.MapAreaList.size() != y.MapAreaList.size())
            return false;
        for (size_t j = 0; j < x.MapAreaList.size(); ++j)
            if (x.MapAreaList[j].length != y.MapAreaList[j].length ||
                x.MapAreaList[j].logicalStart != y.MapAreaList[j].logicalStart ||
                x.MapAreaList[j].physicalStart != y.MapAreaList[j].physicalStart)
                return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "record results: QueryChangedDiskAreas (1 info, 100,000 extents) and GetDiskBlockInfo (1,000 elements x 100 "
                      "areas), answered by the probe with objects built once", true);
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    const std::string vm = "vm-web01", host = "esx01.sim.local", snapshot = "snapshot-11", disk = "2000", changeId = "*";
    const long long startOffset = 0;

    MonoObject* wrapper = NewWrapper();
    MonoClass* wrapperClass = mono_object_get_class(wrapper);
    MonoMethod* queryMethod = Method(wrapperClass, "QueryChangedDiskAreas", 6);
    MonoMethod* blockMethod = Method(wrapperClass, "GetDiskBlockInfoList", 7);

    Clock::time_point built = Clock::now();
    ChangeClasses changeClasses;
    BlockClasses blockClasses;
    MonoObject* changeInfo = BuildChangeInfo(changeClasses);
    MonoObject* blockInfo = BuildBlockInfo(blockClasses);
    std::printf("# managed objects built in %.2f s\n", Seconds(built));

    auto floorQuery = [&](SDiskChangeInfo& out) {
        const ChangeClasses& c = changeClasses;
        long long offset = startOffset;
        void* args[] = {Str(vm), Str(host), Str(snapshot), Str(disk), &offset, Str(changeId)};
        MonoObject* exception = nullptr;
        MonoObject* info = mono_runtime_invoke(queryMethod, wrapper, args, &exception);
        if (!info || exception)
            return 0;
        c.ReadInto(out, info);
        return 1;
    };

    auto floorBlocks = [&](SDiskTotalBlockInfo& out, std::vector<SDiskMetadataInfo>& metadata) {
        const BlockClasses& c = blockClasses;
        MonoObject* total = NewValue(c.total);
        MonoObject* metadataList = nullptr;
        unsigned char topOnly = 1;
        void* args[] = {Str(vm), Str(host), Str(snapshot), Str(disk), &topOnly, mono_object_unbox(total), &metadataList};
        MonoObject* exception = nullptr;
        MonoObject* result = mono_runtime_invoke(blockMethod, wrapper, args, &exception);
        if (!result || exception)
            return 0;
        c.ReadInto(out, total);
        metadata.clear();
        if (metadataList)
            Fail("the probe was not asked for metadata");
        return *static_cast<int*>(mono_object_unbox(result));
    };

    auto rules = [&] {
        probe::Reset();
        probe::Return("QueryChangedDiskAreas", changeInfo);
        probe::Out("GetDiskBlockInfoList", 5, blockInfo);
        probe::ReturnInt("GetDiskBlockInfoList", 1);
    };
    rules();

    SDiskChangeInfo changesBridge, changesDirect;
    Check(bridge.QueryChangedDiskAreas(vm, host, snapshot, disk, startOffset, changeId, changesBridge) == 1,
          "bridge QueryChangedDiskAreas answered 1");
    Check(floorQuery(changesDirect) == 1, "direct QueryChangedDiskAreas answered");
    Check(changesBridge.changedAreaList.size() == static_cast<size_t>(kChangeExtents) && SameChanges(changesBridge, changesDirect),
          "both sides read the same 100,000 changed areas");

    SDiskTotalBlockInfo blocksBridge, blocksDirect;
    std::vector<SDiskMetadataInfo> metadataBridge, metadataDirect;
    Check(bridge.GetDiskBlockInfo(vm, host, snapshot, disk, true, blocksBridge, metadataBridge) == 1,
          "bridge GetDiskBlockInfo answered 1");
    Check(floorBlocks(blocksDirect, metadataDirect) == 1, "direct GetDiskBlockInfoList answered 1");
    Check(blocksBridge.TotalMapAreaList.size() == static_cast<size_t>(kBlockElements) && SameBlocks(blocksBridge, blocksDirect) &&
              metadataBridge.empty(),
          "both sides read the same 1,000 x 100 block map");

    Figures query = Compare(
        [&] { g_sink += bridge.QueryChangedDiskAreas(vm, host, snapshot, disk, startOffset, changeId, changesBridge); },
        [&] { g_sink += floorQuery(changesDirect); }, rules);
    PrintRate("query_changed_disk_areas_100k", query, kChangeExtents, "record");

    Figures blocks = Compare([&] { g_sink += bridge.GetDiskBlockInfo(vm, host, snapshot, disk, true, blocksBridge, metadataBridge); },
                             [&] { g_sink += floorBlocks(blocksDirect, metadataDirect); }, rules);
    PrintRate("get_disk_block_info_1000x100", blocks, kBlockElements + kBlockElements * kAreasPerElement, "record");

    std::printf("# records: query_changed_disk_areas_100k = 100,000 extents per call; get_disk_block_info_1000x100 = 1,000 "
                "elements + 100,000 areas per call\n"
                "# floor: the same managed call (method looked up once, same argument slots), then class, field and enumerator "
                "handles looked up once, mono_field_get_value per field\n");
    return 0;
}
