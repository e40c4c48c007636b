#ifndef VISDK_RESULT_FRAMES_H
#define VISDK_RESULT_FRAMES_H

// Operations whose managed result is itself a list or a record: the frame invokes for the raw
// object, and these turn it into the caller's vector or record.

#include <initializer_list>

#include "BridgeFrame.h"

namespace VISDKCppBridge {
namespace frame {

// A list result rebuilds the caller's vector and gives 1; no list gives 0 and leaves the vector alone.
template <typename... Modes, typename T, typename... Natives>
int ForwardList(CVIWrapperPtr& wrapper, const char* prettyFunction, const char* method, std::vector<T>& out, Natives&&... natives)
{
    return Guarded(wrapper, prettyFunction, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, Modes...>(wrapper, up, method, natives...);
        if (!result)
            return 0;
        ListOf<T>::Read(out, result);
        return 1;
    });
}

// A record result fills the caller's record only when every key field is non-empty, tested in order.
template <typename Result, typename... Modes, typename Rec, typename... Natives>
Result ForwardLookup(CVIWrapperPtr& wrapper, const char* prettyFunction, const char* method, std::initializer_list<const char*> keys,
                     Rec& out, Natives&&... natives)
{
    return Guarded(wrapper, prettyFunction, Result(), [&](bool up) {
        MonoObject* result = Invoke<Object, Always, Modes...>(wrapper, up, method, natives...);
        if (!result)
            return Result();
        for (const char* key : keys)
            if (IsStringFieldEmpty(result, key))
                return Result();
        CVISDKHelper::ConvertObject(out, result);
        return Result(1);
    });
}

} // namespace frame
} // namespace VISDKCppBridge

#endif
