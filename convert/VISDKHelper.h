#ifndef VISDK_HELPER_H
#define VISDK_HELPER_H

#include <string>
#include <vector>

#include "MonoTypes.h"
#include "VISDKExport.h"
#include "VMInfoStructs.h"

namespace VISDKHelper {

using namespace VMInfoStructs;

// Native bytes of the records read from nested lists under one outermost list (default 1 GiB; 0 or less restores it).
// A managed tree that shares its lists (a list holding the same sublist twice, level after level) is finite but would
// take more memory and time than any host has; real inventories stay far below the budget.
VISDK_API long long NestedRecordBytes();
VISDK_API void SetNestedRecordBytes(long long bytes);

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
    static void ConvertObject(SVMInfo& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SVMInfo& in);
    static void ConvertObject(SDisk& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SDisk& in);
    static void ConvertObject(SVMDiskController& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SVMDiskController& in);
    static void ConvertObject(SVMNetworkCard& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SVMNetworkCard& in);
    static void ConvertObject(SSnapshot& out, MonoObject*& object);
    static void ConvertObject(SVMFile& out, MonoObject*& object);
    static void ConvertObject(SFilelayout& out, MonoObject*& object);
    static void ConvertObject(SInventoryInfo& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SInventoryInfo& in);
    static void ConvertObject(SHostInfo& out, MonoObject*& object);
    static void ConvertObject(SDatastoreInfo& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SDatastoreInfo& in);
    static void ConvertObject(SDataCenterInfo& out, MonoObject*& object);
    static void ConvertObject(SClusterInfo& out, MonoObject*& object);
    static void ConvertObject(SResourcePoolInfo& out, MonoObject*& object);
    static void ConvertObject(SVAppInfo& out, MonoObject*& object);
    static void ConvertObject(SNetworkInfo& out, MonoObject*& object);
    static void ConvertObject(SHostNetworkAdapterInfo& out, MonoObject*& object);
    static void ConvertObject(SHostStorageAdapterInfo& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SHostStorageAdapterInfo& in);
    static void ConvertObject(SSCSILunInfo& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SSCSILunInfo& in);
    static void ConvertObject(SIOFilterStatus& out, MonoObject*& object);
    static void ConvertObject(SIOFilterHostStatus& out, MonoObject*& object);
    static void ConvertObject(SMgmtVersion& out, MonoObject*& object);
    static void ConvertObject(MonoObject*& object, const SnapRestoreCtx& in);

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
    static void ConvertHostInfoList(std::vector<SHostInfo>& out, MonoObject* list);
    static void ConvertVMInfoList(std::vector<SVMInfo>& out, MonoObject* list);
    static void ConvertVMInfoList(MonoObject*& list, const std::vector<SVMInfo>& in);
    static void ConvertDiskControllerList(std::vector<SVMDiskController>& out, MonoObject* list);
    static void ConvertDiskControllerList(MonoObject*& list, const std::vector<SVMDiskController>& in);
    static void ConvertDiskList(std::vector<SDisk>& out, MonoObject* list);
    static void ConvertDiskList(MonoObject*& list, const std::vector<SDisk>& in);
    static void ConvertVMFileList(std::vector<SVMFile>& out, MonoObject* list);
    static void ConvertVMNetworkCardList(std::vector<SVMNetworkCard>& out, MonoObject* list);
    static void ConvertVMNetworkCardList(MonoObject*& list, const std::vector<SVMNetworkCard>& in);
    static void ConvertSnapshotList(std::vector<SSnapshot>& out, MonoObject* list);
    static void ConvertDatastoreInfoList(std::vector<SDatastoreInfo>& out, MonoObject* list);
    static void ConvertDatastoreInfoList(MonoObject*& list, const std::vector<SDatastoreInfo>& in);
    static void ConvertInventoryInfoList(std::vector<SInventoryInfo>& out, MonoObject* list);
    static void ConvertInventoryInfoList(MonoObject*& list, const std::vector<SInventoryInfo>& in);
    static void ConvertDataCenterInfoList(std::vector<SDataCenterInfo>& out, MonoObject* list);
    static void ConvertClusterInfoList(std::vector<SClusterInfo>& out, MonoObject* list);
    static void ConvertResourcePoolInfoList(std::vector<SResourcePoolInfo>& out, MonoObject* list);
    static void ConvertVAppInfoList(std::vector<SVAppInfo>& out, MonoObject* list);
    static void ConvertNWInfoList(std::vector<SNetworkInfo>& out, MonoObject* list);
    static void ConvertHostStorageAdapterInfoList(std::vector<SHostStorageAdapterInfo>& out, MonoObject* list);
    static void ConvertHostNetworkAdapterInfoList(std::vector<SHostNetworkAdapterInfo>& out, MonoObject* list);
    static void ConvertSCSILunInfoList(std::vector<SSCSILunInfo>& out, MonoObject* list);
    static void ConvertSCSILunInfoList(MonoObject*& list, const std::vector<SSCSILunInfo>& in);
    static void ConvertIOFilterHostResultList(std::vector<SIOFilterHostStatus>& out, MonoObject* list);

    static int _GetZTDiskTypeFromVendorType(int flat, int split, int rawDeviceMap, int rdmCompatMode);
    static int _GetZTDatastoreType(int vendorType);
    static int _GetZTDatastoreTypeValue(DatastoreType_t type);
};

} // namespace VISDKHelper

#endif
