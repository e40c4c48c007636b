#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::MountSnap(const SnapRestoreCtx& context)
{
    return Forward<Int, Always, RV<SnapRestoreCtx>>(*m_wrapper, __PRETTY_FUNCTION__, "MountSnap", context);
}

int CVISDKCppBridge::UnMountSnap(const SnapRestoreCtx& context, const string& volume)
{
    return Forward<Int, Always, RV<SnapRestoreCtx>, S>(*m_wrapper, __PRETTY_FUNCTION__, "UnMountSnap", context, volume);
}

} // namespace VISDKCppBridge
