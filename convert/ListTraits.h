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

} // namespace VISDKHelper

#endif
