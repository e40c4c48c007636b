#ifndef VISDK_BENCH_FLOOR_HANDLES_H
#define VISDK_BENCH_FLOOR_HANDLES_H

// The floors' side of the record benchmarks: class, field and enumerator handles looked up once, and plain reads.
#include <cstdint>
#include <utility>

#include <mono/metadata/object.h>

#include "BenchSupport.h"
#include "VMInfoStructs.h"

namespace visdkbench {

template <typename T>
T Read(MonoObject* object, MonoClassField* field)
{
    T value{};
    mono_field_get_value(object, field, &value);
    return value;
}

// An enumerator class with its three methods, looked up once.
struct Enumerator {
    MonoMethod* getEnumerator;
    MonoMethod* moveNext;
    MonoMethod* current;

    explicit Enumerator(const char* className)
    {
        MonoClass* klass = Class(className);
        getEnumerator = Method(klass, "GetEnumerator", 1);
        moveNext = Method(klass, "MoveNext", 0);
        current = Method(klass, "Current", 0);
    }

    template <typename Item>
    bool Walk(MonoObject* list, Item&& item) const
    {
        if (!list)
            return false;
        void* args[] = {list};
        MonoObject* exception = nullptr;
        MonoObject* enumerator = mono_runtime_invoke(getEnumerator, nullptr, args, &exception);
        if (!enumerator || exception)
            return false;
        for (;;) {
            MonoObject* more = mono_runtime_invoke(moveNext, enumerator, nullptr, &exception);
            if (!more || exception || !*static_cast<unsigned char*>(mono_object_unbox(more)))
                return true;
            MonoObject* element = mono_runtime_invoke(current, enumerator, nullptr, &exception);
            if (exception)
                return true;
            item(element);
        }
    }
};

struct ChangeClasses {
    MonoClass* info = Class("SDiskChangeInfoLib");
    MonoClass* extent = Class("SDiskChangeExtentLib");
    MonoClassField* startOffset = Field(info, "llStartOffset");
    MonoClassField* infoLength = Field(info, "llLength");
    MonoClassField* areas = Field(info, "changedAreaList");
    MonoClassField* start = Field(extent, "llStart");
    MonoClassField* length = Field(extent, "llLength");
    Enumerator extents{"SDiskChangeExtentLibListEnumerator"};

    void ReadInto(VMInfoStructs::SDiskChangeInfo& out, MonoObject* object) const
    {
        out.llStartOffset = Read<int64_t>(object, startOffset);
        out.llLength = Read<int64_t>(object, infoLength);
        out.changedAreaList.clear();
        extents.Walk(Read<MonoObject*>(object, areas), [&](MonoObject* item) {
            VMInfoStructs::SDiskChangeExtent extent;
            extent.llLength = Read<int64_t>(item, length);
            extent.llStart = Read<int64_t>(item, start);
            out.changedAreaList.push_back(extent);
        });
    }
};

struct BlockClasses {
    MonoClass* total = Class("SDiskTotalBlockInfoLib");
    MonoClass* map = Class("SDiskBlockMapInfoLib");
    MonoClass* extent = Class("SDiskBlockMapExtentInfoLib");
    MonoClassField* totalsize = Field(total, "totalsize");
    MonoClassField* elements = Field(total, "TotalMapAreaList");
    MonoClassField* element = Field(map, "element");
    MonoClassField* areas = Field(map, "MapAreaList");
    MonoClassField* length = Field(extent, "length");
    MonoClassField* logicalStart = Field(extent, "logicalStart");
    MonoClassField* physicalStart = Field(extent, "physicalStart");
    Enumerator maps{"SDiskBlockMapInfoLibListEnumerator"};
    Enumerator extents{"SDiskBlockMapExtentLibListEnumerator"};

    void ReadInto(VMInfoStructs::SDiskTotalBlockInfo& out, MonoObject* object) const
    {
        out.totalsize = Read<int64_t>(object, totalsize);
        out.TotalMapAreaList.clear();
        maps.Walk(Read<MonoObject*>(object, elements), [&](MonoObject* item) {
            VMInfoStructs::SDiskBlockMapInfo map;
            map.element = Utf8(Read<MonoObject*>(item, element));
            extents.Walk(Read<MonoObject*>(item, areas), [&](MonoObject* area) {
                VMInfoStructs::SDiskBlockMapExtentInfo extent;
                extent.length = Read<int64_t>(area, length);
                extent.logicalStart = Read<int64_t>(area, logicalStart);
                extent.physicalStart = Read<int64_t>(area, physicalStart);
                map.MapAreaList.push_back(extent);
            });
            out.TotalMapAreaList.push_back(std::move(map));
        });
    }
};

} // namespace visdkbench

#endif
