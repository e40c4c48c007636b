#ifndef VISDK_HELPER_H
#define VISDK_HELPER_H

#include <string>
#include <vector>

#include "MonoTypes.h"
#include "VISDKExport.h"
#include "VMInfoStructs.h"

namespace VISDKHelper {

using namespace VMInfoStructs;

// Conversions between native records and the wrapper assembly's managed records and lists.
class VISDK_API CVISDKHelper {
public:
    static MonoObject* CreateList(const char* listName);

    // `tag` is unused and always null.
    template <typename T>
    static void ConvertList(std::vector<T>& out, MonoObject* list, MonoObject* tag, const char* enumeratorClass);
    template <typename T>
    static void ConvertList_NativeToManaged(MonoObject* list, const std::vector<T>& in, MonoObject* tag, const char* itemClass);
    static void ConvertStringList_NativeToManaged(MonoObject*& list, const std::vector<std::string>& in);

    static void ConvertObject(std::string& out, MonoObject*& value);
    static void ConvertObject(SVMOwnerInfo& out, MonoObject*& object);
    static void ConvertObject(SVMOptionValue& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SVMOptionValue& in);
    static void ConvertObject(SGuestFile& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SGuestFile& in);
    static void ConvertObject(SGuestOSInfo& out, MonoObject*& object);
    static void ConvertObject(SDiskChangeExtent& out, MonoObject*& object);
    static void ConvertObject(SDiskChangeInfo& out, MonoObject*& object);
    static void ConvertObject(SDiskBlockMapExtentInfo& out, MonoObject*& object);
    static void ConvertObject(SDiskBlockMapInfo& out, MonoObject*& object);
    static void ConvertObject(SDiskTotalBlockInfo& out, MonoObject*& object);
    static void ConvertObject(SDiskMetadataInfo& out, MonoObject*& object);

    static void ConvertStringInfoList(std::vector<std::string>& out, MonoObject* list);
    static void ConvertStringInfoList(MonoObject*& list, const std::vector<std::string>& in);
    static void ConvertVMOwnerInfoList(std::vector<SVMOwnerInfo>& out, MonoObject* list);
    static void ConvertVMOptionValueList(std::vector<SVMOptionValue>& out, MonoObject* list);
    static void ConvertVMOptionValueList(MonoObject*& list, const std::vector<SVMOptionValue>& in);
    static void ConvertGuestFileList(std::vector<SGuestFile>& out, MonoObject* list);
    static void ConvertGuestOSInfoList(std::vector<SGuestOSInfo>& out, MonoObject* list);
    static void ConvertDiskChangeExtentList(std::vector<SDiskChangeExtent>& out, MonoObject* list);
    static void ConvertDiskBlockMapInfoLibList(std::vector<SDiskBlockMapInfo>& out, MonoObject* list);
    static void ConvertDiskBlockMapExtentInfoLibList(std::vector<SDiskBlockMapExtentInfo>& out, MonoObject* list);
    static void ConvertSVMOptionValueLibList(std::vector<SDiskMetadataInfo>& out, MonoObject* list);

    static int _GetZTDiskTypeFromVendorType(int flat, int split, int rawDeviceMap, int rdmCompatMode);
    static int _GetZTDatastoreType(int vendorType);
    static int _GetZTDatastoreTypeValue(DatastoreType_t type);
};

} // namespace VISDKHelper

#endif
