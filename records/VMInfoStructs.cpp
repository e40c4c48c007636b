#include "VMInfoStructs.h"

namespace VMInfoStructs {

void SGuestFile::_Copy(const SGuestFile& other)
{
    if (this == &other)
        return;
    name = other.name;
    size = other.size;
    type = other.type;
    modifiedTime = other.modifiedTime;
    accessTime = other.accessTime;
    createTime = other.createTime;
    unixUserId = other.unixUserId;
    unixGroupId = other.unixGroupId;
    unixMode = other.unixMode;
}

void SGuestOSInfo::_Copy(const SGuestOSInfo& other)
{
    if (this == &other)
        return;
    nAux01 = other.nAux01;
    strAux01 = other.strAux01;
    strAux02 = other.strAux02;
    strAux03 = other.strAux03;
    fullName = other.fullName;
    guestID = other.guestID;
    strAux04 = other.strAux04;
}

} // namespace VMInfoStructs
