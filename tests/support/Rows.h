#ifndef VISDK_TEST_ROWS_H
#define VISDK_TEST_ROWS_H

#include <functional>
#include <string>
#include <vector>

#include "VISDKCppBridge.h"

namespace visdktest {

enum class Kind { Int, Bool, String, Void, Object };

// One bridge operation as the tests see it: what the managed side must receive, and what comes back.
struct Row {
    const char* managed;
    const char* signature;
    Kind kind;
    std::vector<std::string> slots; // "Kind=value on entry", as the probe reports them
    // Makes the probe answer with a success value; returns the operation's expected result text.
    std::function<std::string(const char* managed)> succeed;
    std::string failure;     // the result text on a null result, a missing method or an exception
    std::string nullMessage; // logged on a null result ("" for none)
    std::function<std::string(VISDKCppBridge::CVISDKCppBridge&)> call;
};

const std::vector<Row>& Rows();
// The VM lifecycle, lookup and datastore operations.
const std::vector<Row>& VmRows();

// The infrastructure operations' rows, part of Rows().
std::vector<Row> InventoryRows();

// The tag, field, policy, filter, task, relocation, OVF and clone operations' rows, part of Rows().
std::vector<Row> ManagementRows();

} // namespace visdktest

#endif
