#include "FieldIo.h"
#include "ListFramework.h"

namespace VISDKHelper {

namespace {

template <typename Io, typename Record>
void ChangeExtentFields(Io& io, Record& r)
{
    io.Field(r.llLength, "llLength");
    io.Field(r.llStart, "llStart");
}

template <typename Io, typename Record>
void ChangeInfoFields(Io& io, Record& r)
{
    io.Field(r.llStartOffset, "llStartOffset");
    io.Field(r.llLength, "llLength");
    io.Field(r.changedAreaList, "changedAreaList");
}

template <typename Io, typename Record>
void BlockMapExtentFields(Io& io, Record& r)
{
    io.Field(r.length, "length");
    io.Field(r.logicalStart, "logicalStart");
    io.Field(r.physicalStart, "physicalStart");
}

template <typename Io, typename Record>
void BlockMapFields(Io& io, Record& r)
{
    io.Field(r.element, "element");
    io.Field(r.MapAreaList, "MapAreaList");
}

template <typename Io, typename Record>
void TotalBlockFields(Io& io, Record& r)
{
    io.Field(r.totalsize, "totalsize");
    io.Field(r.TotalMapAreaList, "TotalMapAreaList");
}

// Disk metadata arrives as option values: their key and value fill the record.
template <typename Io, typename Record>
void MetadataFields(Io& io, Record& r)
{
    io.Field(r.key, "key");
    io.Field(r.value, "value");
}

} // namespace

void CVISDKHelper::ConvertObject(SDiskChangeExtent& out, MonoObject*& object)
{
    ReadRecord(out, object, ChangeExtentFields<FieldReader, SDiskChangeExtent>);
}

void CVISDKHelper::ConvertObject(SDiskChangeInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, ChangeInfoFields<FieldReader, SDiskChangeInfo>);
}

void CVISDKHelper::ConvertObject(SDiskBlockMapExtentInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, BlockMapExtentFields<FieldReader, SDiskBlockMapExtentInfo>);
}

void CVISDKHelper::ConvertObject(SDiskBlockMapInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, BlockMapFields<FieldReader, SDiskBlockMapInfo>);
}

void CVISDKHelper::ConvertObject(SDiskTotalBlockInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, TotalBlockFields<FieldReader, SDiskTotalBlockInfo>);
}

void CVISDKHelper::ConvertObject(SDiskMetadataInfo& out, MonoObject*& object)
{
    ReadRecord(out, object, MetadataFields<FieldReader, SDiskMetadataInfo>);
}

void CVISDKHelper::ConvertDiskChangeExtentList(std::vector<SDiskChangeExtent>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDiskChangeExtentLibListEnumerator");
}

void CVISDKHelper::ConvertDiskBlockMapInfoLibList(std::vector<SDiskBlockMapInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDiskBlockMapInfoLibListEnumerator");
}

void CVISDKHelper::ConvertDiskBlockMapExtentInfoLibList(std::vector<SDiskBlockMapExtentInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SDiskBlockMapExtentLibListEnumerator");
}

void CVISDKHelper::ConvertSVMOptionValueLibList(std::vector<SDiskMetadataInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SVMOptionValueLibListEnumerator");
}

} // namespace VISDKHelper
