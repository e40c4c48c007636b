#ifndef VISDK_TEST_ROWS_H
#define VISDK_TEST_ROWS_H

#include <ctime>
#include <functional>
#include <string>
#include <tuple>
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

// The rows whose outputs are converted back whatever the managed answer was (and so reset when none came).
bool CopiesBackWhateverTheAnswer(const Row& row);

// Calls the row; `changed` tells whether any of its outputs holds something else afterwards than on entry.
std::string CallWatched(const Row& row, VISDKCppBridge::CVISDKCppBridge& bridge, bool& changed);

// What a row's outputs hold, as text, so that a change of any of them shows.
inline std::string Describe(const std::string& text) { return "\"" + text + "\""; }
inline std::string Describe(long long value) { return std::to_string(value); }
inline std::string Describe(int value) { return std::to_string(value); }
inline std::string Describe(unsigned long long value) { return std::to_string(value); }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
inline std::string Describe(long value) { return std::to_string(value); }
inline std::string Describe(const VMInfoStructs::SDiskChangeInfo& r)
{
    return "changes " + std::to_string(r.llLength) + "/" + std::to_string(r.changedAreaList.size());
}
inline std::string Describe(const VMInfoStructs::SDiskTotalBlockInfo& r)
{
    return "blocks " + std::to_string(r.totalsize) + "/" + std::to_string(r.TotalMapAreaList.size());
}
inline std::string Describe(const VMInfoStructs::SGuestFile& r) { return Describe(r.name); }
inline std::string Describe(const VMInfoStructs::SDiskMetadataInfo&) { return "metadata"; }
inline std::string Describe(const VMInfoStructs::SVMInfo& r)
{
    return "vm " + r.strName + "/" + r.strUuid + "/" + std::to_string(r.diskList.size());
}
inline std::string Describe(const VMInfoStructs::SVMFile& r)
{
    return "file " + r.strName + "/" + std::to_string(r.lSize) + "/" + std::to_string(r.eFileType);
}
inline std::string Describe(const VMInfoStructs::SDatastoreInfo& r) { return "datastore " + r.strDataStoreName; }
inline std::string Describe(const VMInfoStructs::SHostInfo& r) { return "host " + r.strHostName; }
inline std::string Describe(const VMInfoStructs::SClusterInfo& r) { return "cluster " + r.strClusterName; }
inline std::string Describe(const VMInfoStructs::SResourcePoolInfo& r) { return "pool " + r.strResourcePoolName; }
inline std::string Describe(const VMInfoStructs::SInventoryInfo& r) { return "node " + r.strName; }
inline std::string Describe(const VMInfoStructs::SMgmtVersion& r) { return "version " + r.strVersion; }
inline std::string Describe(const SIOFilterStatus& r) { return "filter " + r.strId + "/" + std::to_string(r.hostStatusList.size()); }
// Other records show only that they are there: lists of them are watched by their length.
template <typename T>
std::string Describe(const T&)
{
    return "record";
}
template <typename T>
std::string Describe(const std::vector<T>& items)
{
    return "[" + std::to_string(items.size()) + (items.empty() ? "" : " " + Describe(items.front())) + "]";
}

void NoteOutputs(bool onEntry, const std::string& text);

// Notes what a row's outputs hold when the row's call starts and when it has ended.
template <typename... Outputs>
class Watch {
public:
    explicit Watch(Outputs&... outputs) : m_outputs(outputs...) { Note(true); }
    ~Watch() { Note(false); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    void Note(bool onEntry)
    {
        std::apply([&](auto&... output) { NoteOutputs(onEntry, ((Describe(output) + " ") + ...)); }, m_outputs);
    }
    std::tuple<Outputs&...> m_outputs;
};

} // namespace visdktest

#endif
