#ifndef VISDK_VMINFOSTRUCTS_H
#define VISDK_VMINFOSTRUCTS_H

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "VISDKExport.h"

typedef unsigned long long UINT64;

// Declared for the inert operations' signatures only; nothing reads them.
enum EAlarmCondition { eAlarmConditionNone = 0, eAlarmConditionCpu, eAlarmConditionMemory, eAlarmConditionDisk, eAlarmConditionNetwork };

struct VISDK_API StubVMCtx {
    std::string strVMName;
    std::string strHost;
    int nAux01 = 0;
};

namespace VMInfoStructs {

enum EPerformanceMetricType { ePerfMetricCpu = 0, ePerfMetricMemory, ePerfMetricDisk, ePerfMetricNetwork };

struct VISDK_API SVMOwnerInfo {
    std::string name;
    bool group = false;
    bool fullAccess = false;
    bool readAccess = false;
};

struct VISDK_API SVMOptionValue {
    std::string key;
    std::string value;
};

struct VISDK_API SGuestFile {
    std::string name;
    int64_t size = 0;
    int32_t type = 0;
    time_t modifiedTime = 0;
    time_t accessTime = 0;
    time_t createTime = 0;
    int32_t unixUserId = 0;
    int32_t unixGroupId = 0;
    int32_t unixMode = 0;

    SGuestFile() = default;
    SGuestFile(const SGuestFile& other) : SGuestFile() { _Copy(other); }
    SGuestFile& operator=(const SGuestFile& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SGuestFile& other);
};

struct VISDK_API SGuestOSInfo {
    int32_t nAux01 = 0;
    std::string strAux01 = "Any";
    std::string strAux02 = "Any";
    std::string strAux03 = "Any";
    std::string fullName = "Any";
    std::string guestID;
    std::string strAux04 = "Any";

    SGuestOSInfo() = default;
    SGuestOSInfo(const SGuestOSInfo& other) : SGuestOSInfo() { _Copy(other); }
    SGuestOSInfo& operator=(const SGuestOSInfo& other)
    {
        _Copy(other);
        return *this;
    }
    void _Copy(const SGuestOSInfo& other);
};

struct VISDK_API SDiskChangeExtent {
    int64_t llAux01 = 0;
    int64_t llStart = 0;
    int64_t llLength = 0;
};

struct VISDK_API SDiskChangeInfo {
    int64_t llStartOffset = 0;
    int64_t llLength = 0;
    int64_t llAux01 = 0;
    std::vector<SDiskChangeExtent> changedAreaList;
};

struct VISDK_API SDiskBlockMapExtentInfo {
    int64_t length = 0;
    int64_t logicalStart = 0;
    int64_t physicalStart = 0;
};

struct VISDK_API SDiskBlockMapInfo {
    std::string element;
    std::vector<SDiskBlockMapExtentInfo> MapAreaList;
};

struct VISDK_API SDiskTotalBlockInfo {
    int64_t totalsize = 0;
    std::vector<SDiskBlockMapInfo> TotalMapAreaList;
};

struct VISDK_API SDiskMetadataInfo {
    std::string key;
    std::string value;
};

} // namespace VMInfoStructs

#endif
