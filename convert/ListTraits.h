#ifndef VISDK_LIST_TRAITS_H
#define VISDK_LIST_TRAITS_H

#include <string>
#include <vector>

#include "VISDKHelper.h"

namespace VISDKHelper {

// The list wrappers of each element type, so generic code (nested lists, bridge slots) can reach them.
template <typename T>
struct ListOf;

template <>
struct ListOf<std::string> {
    static void Read(std::vector<std::string>& out, MonoObject* list) { CVISDKHelper::ConvertStringInfoList(out, list); }
    static void Write(MonoObject*& list, const std::vector<std::string>& in) { CVISDKHelper::ConvertStringInfoList(list, in); }
};

template <>
struct ListOf<SVMOwnerInfo> {
    static void Read(std::vector<SVMOwnerInfo>& out, MonoObject* list) { CVISDKHelper::ConvertVMOwnerInfoList(out, list); }
};

template <>
struct ListOf<SVMOptionValue> {
    static void Read(std::vector<SVMOptionValue>& out, MonoObject* list) { CVISDKHelper::ConvertVMOptionValueList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SVMOptionValue>& in) { CVISDKHelper::ConvertVMOptionValueList(list, in); }
};

template <>
struct ListOf<SGuestFile> {
    static void Read(std::vector<SGuestFile>& out, MonoObject* list) { CVISDKHelper::ConvertGuestFileList(out, list); }
};

template <>
struct ListOf<SGuestOSInfo> {
    static void Read(std::vector<SGuestOSInfo>& out, MonoObject* list) { CVISDKHelper::ConvertGuestOSInfoList(out, list); }
};

template <>
struct ListOf<SDiskChangeExtent> {
    static void Read(std::vector<SDiskChangeExtent>& out, MonoObject* list) { CVISDKHelper::ConvertDiskChangeExtentList(out, list); }
};

template <>
struct ListOf<SDiskBlockMapInfo> {
    static void Read(std::vector<SDiskBlockMapInfo>& out, MonoObject* list) { CVISDKHelper::ConvertDiskBlockMapInfoLibList(out, list); }
};

template <>
struct ListOf<SDiskBlockMapExtentInfo> {
    static void Read(std::vector<SDiskBlockMapExtentInfo>& out, MonoObject* list)
    {
        CVISDKHelper::ConvertDiskBlockMapExtentInfoLibList(out, list);
    }
};

template <>
struct ListOf<SDiskMetadataInfo> {
    static void Read(std::vector<SDiskMetadataInfo>& out, MonoObject* list) { CVISDKHelper::ConvertSVMOptionValueLibList(out, list); }
};

template <>
struct ListOf<SVMInfo> {
    static void Read(std::vector<SVMInfo>& out, MonoObject* list) { CVISDKHelper::ConvertVMInfoList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SVMInfo>& in) { CVISDKHelper::ConvertVMInfoList(list, in); }
};

template <>
struct ListOf<SDisk> {
    static void Read(std::vector<SDisk>& out, MonoObject* list) { CVISDKHelper::ConvertDiskList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SDisk>& in) { CVISDKHelper::ConvertDiskList(list, in); }
};

template <>
struct ListOf<SVMDiskController> {
    static void Read(std::vector<SVMDiskController>& out, MonoObject* list) { CVISDKHelper::ConvertDiskControllerList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SVMDiskController>& in) { CVISDKHelper::ConvertDiskControllerList(list, in); }
};

template <>
struct ListOf<SVMNetworkCard> {
    static void Read(std::vector<SVMNetworkCard>& out, MonoObject* list) { CVISDKHelper::ConvertVMNetworkCardList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SVMNetworkCard>& in) { CVISDKHelper::ConvertVMNetworkCardList(list, in); }
};

template <>
struct ListOf<SSnapshot> {
    static void Read(std::vector<SSnapshot>& out, MonoObject* list) { CVISDKHelper::ConvertSnapshotList(out, list); }
};

template <>
struct ListOf<SVMFile> {
    static void Read(std::vector<SVMFile>& out, MonoObject* list) { CVISDKHelper::ConvertVMFileList(out, list); }
};

template <>
struct ListOf<SInventoryInfo> {
    static void Read(std::vector<SInventoryInfo>& out, MonoObject* list) { CVISDKHelper::ConvertInventoryInfoList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SInventoryInfo>& in) { CVISDKHelper::ConvertInventoryInfoList(list, in); }
};

template <>
struct ListOf<SHostInfo> {
    static void Read(std::vector<SHostInfo>& out, MonoObject* list) { CVISDKHelper::ConvertHostInfoList(out, list); }
};

template <>
struct ListOf<SDatastoreInfo> {
    static void Read(std::vector<SDatastoreInfo>& out, MonoObject* list) { CVISDKHelper::ConvertDatastoreInfoList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SDatastoreInfo>& in) { CVISDKHelper::ConvertDatastoreInfoList(list, in); }
};

template <>
struct ListOf<SDataCenterInfo> {
    static void Read(std::vector<SDataCenterInfo>& out, MonoObject* list) { CVISDKHelper::ConvertDataCenterInfoList(out, list); }
};

template <>
struct ListOf<SClusterInfo> {
    static void Read(std::vector<SClusterInfo>& out, MonoObject* list) { CVISDKHelper::ConvertClusterInfoList(out, list); }
};

template <>
struct ListOf<SResourcePoolInfo> {
    static void Read(std::vector<SResourcePoolInfo>& out, MonoObject* list) { CVISDKHelper::ConvertResourcePoolInfoList(out, list); }
};

template <>
struct ListOf<SVAppInfo> {
    static void Read(std::vector<SVAppInfo>& out, MonoObject* list) { CVISDKHelper::ConvertVAppInfoList(out, list); }
};

template <>
struct ListOf<SNetworkInfo> {
    static void Read(std::vector<SNetworkInfo>& out, MonoObject* list) { CVISDKHelper::ConvertNWInfoList(out, list); }
};

template <>
struct ListOf<SHostStorageAdapterInfo> {
    static void Read(std::vector<SHostStorageAdapterInfo>& out, MonoObject* list) { CVISDKHelper::ConvertHostStorageAdapterInfoList(out, list); }
};

template <>
struct ListOf<SHostNetworkAdapterInfo> {
    static void Read(std::vector<SHostNetworkAdapterInfo>& out, MonoObject* list) { CVISDKHelper::ConvertHostNetworkAdapterInfoList(out, list); }
};

template <>
struct ListOf<SSCSILunInfo> {
    static void Read(std::vector<SSCSILunInfo>& out, MonoObject* list) { CVISDKHelper::ConvertSCSILunInfoList(out, list); }
    static void Write(MonoObject*& list, const std::vector<SSCSILunInfo>& in) { CVISDKHelper::ConvertSCSILunInfoList(list, in); }
};

template <>
struct ListOf<SIOFilterHostStatus> {
    static void Read(std::vector<SIOFilterHostStatus>& out, MonoObject* list) { CVISDKHelper::ConvertIOFilterHostResultList(out, list); }
};

// The managed class of each record that crosses as a single object.
template <typename T>
struct ManagedClassOf;

template <>
struct ManagedClassOf<SGuestFile> {
    static constexpr const char* name = "SGuestFileLib";
};

template <>
struct ManagedClassOf<SVMOptionValue> {
    static constexpr const char* name = "SVMOptionValueLib";
};

template <>
struct ManagedClassOf<SDiskTotalBlockInfo> {
    static constexpr const char* name = "SDiskTotalBlockInfoLib";
};

template <>
struct ManagedClassOf<SVMInfo> {
    static constexpr const char* name = "SVMInfoLib";
};

template <>
struct ManagedClassOf<SVMFile> {
    static constexpr const char* name = "SVMFileLib";
};

template <>
struct ManagedClassOf<SDisk> {
    static constexpr const char* name = "SDiskLib";
};

template <>
struct ManagedClassOf<SVMNetworkCard> {
    static constexpr const char* name = "SVMNetworkCardLib";
};

template <>
struct ManagedClassOf<SInventoryInfo> {
    static constexpr const char* name = "SInventoryInfoLib";
};

template <>
struct ManagedClassOf<SHostInfo> {
    static constexpr const char* name = "SHostInfoLib";
};

template <>
struct ManagedClassOf<SDatastoreInfo> {
    static constexpr const char* name = "SDatastoreInfoLib";
};

template <>
struct ManagedClassOf<SClusterInfo> {
    static constexpr const char* name = "SClusterInfoLib";
};

template <>
struct ManagedClassOf<SResourcePoolInfo> {
    static constexpr const char* name = "SResourcePoolInfoLib";
};

template <>
struct ManagedClassOf<SHostStorageAdapterInfo> {
    static constexpr const char* name = "SHostStorageAdapterInfoLib";
};

template <>
struct ManagedClassOf<SSCSILunInfo> {
    static constexpr const char* name = "SSCSILUNInfoLib";
};

template <>
struct ManagedClassOf<SIOFilterStatus> {
    static constexpr const char* name = "SIOFilterResultLib";
};

template <>
struct ManagedClassOf<SMgmtVersion> {
    static constexpr const char* name = "SMgmtVersionLib";
};

template <>
struct ManagedClassOf<SnapRestoreCtx> {
    static constexpr const char* name = "SnapRestoreCtxLib";
};

} // namespace VISDKHelper

#endif
