#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;
using VMInfoStructs::SVMInfo;
using VMInfoStructs::SVMOptionValue;

namespace {

// Customisation needs only the VM's identity and its card count: every other field of the record goes as zero or null.
struct IdentityRecord : Watched {
    MonoObject* object;
    void* data = nullptr;
    IdentityRecord(const SVMInfo& info, bool up) : object(NewRecordObject<SVMInfo>(up))
    {
        if (object) {
            MonoClass* klass = ClassOf(object);
            SetStringFieldValue(klass, object, "strName", info.strName);
            SetStringFieldValue(klass, object, "strUuid", info.strUuid);
            SetIntFieldValue(klass, object, "numEthernetCards", info.numEthernetCards);
            data = const_cast<void*>(UnboxedValue(object, 0));
        }
        Built();
    }
    void* slot() { return data; }
    bool ready() const { return data != nullptr; }
    bool accepts(const Param& p) const { return !p.byRef && p.IsValueOf(object); }
    MonoClass* shape() const { return ClassOf(object); }
    void commit() {}
};

} // namespace

bool CVISDKCppBridge::StartOVFImport(const string& source, VMInfoStructs::SVMInfo& info, std::string& lease,
                                     std::vector<VMInfoStructs::SVMOptionValue>& uploads,
                                     const std::vector<VMInfoStructs::SVMOptionValue>& options)
{
    return Forward<Bool, IfTrue, S, RR<SVMInfo>, OS, LO<SVMOptionValue>, LI<SVMOptionValue>>(
        *m_wrapper, __PRETTY_FUNCTION__, "StartOVFImport", source, info, lease, uploads, options);
}

bool CVISDKCppBridge::FinishOVFImport(const string& lease, VMInfoStructs::SVMInfo& info)
{
    return Forward<Bool, IfTrue, S, RR<SVMInfo>>(*m_wrapper, __PRETTY_FUNCTION__, "FinishOVFImport", lease, info);
}

bool CVISDKCppBridge::UpdateOVFImportProgress(const string& lease, int percent)
{
    return Forward<Bool, Always, S, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "UpdateOVFImportProgress", lease, percent);
}

int CVISDKCppBridge::CloneAndReConfigVM_Task(VMInfoStructs::SVMInfo& info, const string& source, const string& host, std::string& task)
{
    return Forward<Int, IfNonZero, RV<SVMInfo>, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CloneAndReConfigVM_Task", info, source, host,
                                                            task);
}

int CVISDKCppBridge::CustomizeVM(VMInfoStructs::SVMInfo& info, const string& customization)
{
    return Forward<Int, Always, IdentityRecord, S>(*m_wrapper, __PRETTY_FUNCTION__, "CustomizeVM", info, customization);
}

} // namespace VISDKCppBridge
