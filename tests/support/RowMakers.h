#ifndef VISDK_TEST_ROW_MAKERS_H
#define VISDK_TEST_ROW_MAKERS_H

// What the row files share: the texts of slots as the probe reports them, and rows of the plain result kinds.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "Rows.h"
#include "TestSupport.h"

namespace visdktest {

// Slot texts: the managed parameter kind, then the value it received.
inline std::string Sx(const char* text) { return std::string("String String:") + text; }
inline std::string Vi(int value) { return "Int32 Int32:" + std::to_string(value); }
inline std::string Vb(bool value) { return std::string("Boolean Boolean:") + (value ? "True" : "False"); }
inline std::string Vl(long long value) { return "Int64 Int64:" + std::to_string(value); }
inline std::string Vu(unsigned long long value) { return "UInt64 UInt64:" + std::to_string(value); }
inline std::string Ri(int value) { return "ref Int32 Int32:" + std::to_string(value); }
inline std::string Rb(bool value) { return std::string("ref Boolean Boolean:") + (value ? "True" : "False"); }
inline std::string Rl(long long value) { return "ref Int64 Int64:" + std::to_string(value); }
inline std::string IOSx(const char* text) { return std::string("ref String String:") + text; }
const std::string OSx = "out String null";
const std::string DTx = "ref DateTime DateTime:0";
const std::string LOx = "out List`1 null";
const std::string LIx = "List`1 List`1";
const std::string LRx = "ref List`1 List`1";

inline std::string Num(long long value) { return std::to_string(value); }

// Rows hold their signature as a C string; texts built at run time are kept here as long as the rows live.
inline const char* Keep(const std::string& text)
{
    static std::deque<std::string> texts;
    texts.push_back(text);
    return texts.back().c_str();
}

template <typename Call>
Row IntRow(const char* managed, const char* signature, std::vector<std::string> slots, Call call)
{
    return Row{managed, signature, Kind::Int, std::move(slots),
               [](const char* m) {
                   probe::ReturnInt(m, 42);
                   return std::string("42");
               },
               "0", "Result is invalid (int)", [call](VISDKCppBridge::CVISDKCppBridge& b) { return Num(call(b)); }};
}

template <typename Call>
Row BoolRow(const char* managed, const char* signature, std::vector<std::string> slots, Call call)
{
    return Row{managed, signature, Kind::Bool, std::move(slots),
               [](const char* m) {
                   probe::ReturnBool(m, true);
                   return std::string("1");
               },
               "0", "Result is invalid (bool)", [call](VISDKCppBridge::CVISDKCppBridge& b) { return Num(call(b)); }};
}

} // namespace visdktest

#endif
