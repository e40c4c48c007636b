#include "FieldIo.h"
#include "ListFramework.h"

namespace VISDKHelper {

namespace {

template <typename Io, typename Record>
void OwnerFields(Io& io, Record& r)
{
    io.Field(r.name, "name");
    io.Field(r.group, "group");
    io.Field(r.fullAccess, "fullAccess");
    io.Field(r.readAccess, "readAccess");
}

template <typename Io, typename Record>
void OptionValueFields(Io& io, Record& r)
{
    io.Field(r.key, "key");
    io.Field(r.value, "value");
}

// Times cross as DateTime on the managed side and seconds since 1970 UTC here.
template <typename Io, typename Record>
void GuestFileFields(Io& io, Record& r)
{
    io.Field(r.name, "name");
    io.Field(r.size, "size");
    io.Field(r.type, "type");
    io.Date(r.modifiedTime, "modifiedTime");
    io.Date(r.accessTime, "accessTime");
    io.Date(r.createTime, "createTime");
    io.Field(r.unixUserId, "unixUserId");
    io.Field(r.unixGroupId, "unixGroupId");
    io.Field(r.unixMode, "unixMode");
}

// Only these two are managed; the other members keep their defaults.
template <typename Io, typename Record>
void GuestOSFields(Io& io, Record& r)
{
    io.Field(r.fullName, "fullName");
    io.Field(r.guestID, "guestID");
}

} // namespace

void CVISDKHelper::ConvertObject(SVMOwnerInfo& out, MonoObject*& object) { ReadRecord(out, object, OwnerFields<FieldReader, SVMOwnerInfo>); }

void CVISDKHelper::ConvertObject(SVMOptionValue& out, MonoObject*& object)
{
    ReadRecord(out, object, OptionValueFields<FieldReader, SVMOptionValue>);
}

void CVISDKHelper::ConvertObject(MonoObject*& object, const SVMOptionValue& in)
{
    WriteRecord(object, in, OptionValueFields<FieldWriter, const SVMOptionValue>);
}

void CVISDKHelper::ConvertObject(SGuestFile& out, MonoObject*& object) { ReadRecord(out, object, GuestFileFields<FieldReader, SGuestFile>); }

void CVISDKHelper::ConvertObject(MonoObject*& object, const SGuestFile& in)
{
    WriteRecord(object, in, GuestFileFields<FieldWriter, const SGuestFile>);
}

void CVISDKHelper::ConvertObject(SGuestOSInfo& out, MonoObject*& object) { ReadRecord(out, object, GuestOSFields<FieldReader, SGuestOSInfo>); }

void CVISDKHelper::ConvertVMOwnerInfoList(std::vector<SVMOwnerInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SVMOwnerInfoLibListEnumerator");
}

void CVISDKHelper::ConvertVMOptionValueList(std::vector<SVMOptionValue>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SVMOptionValueLibListEnumerator");
}

void CVISDKHelper::ConvertVMOptionValueList(MonoObject*& list, const std::vector<SVMOptionValue>& in)
{
    list = CreateList("SVMOptionValueLib");
    ConvertList_NativeToManaged(list, in, nullptr, "SVMOptionValueLib");
}

void CVISDKHelper::ConvertGuestFileList(std::vector<SGuestFile>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SGuestFileLibListEnumerator");
}

void CVISDKHelper::ConvertGuestOSInfoList(std::vector<SGuestOSInfo>& out, MonoObject* list)
{
    ConvertList(out, list, nullptr, "SGuestOSInfoLibListEnumerator");
}

} // namespace VISDKHelper

namespace VISDKHelper {

template void CVISDKHelper::ConvertList_NativeToManaged<SVMOptionValue>(MonoObject*, const std::vector<SVMOptionValue>&,
                                                                         MonoObject*, const char*);

} // namespace VISDKHelper
