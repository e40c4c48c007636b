#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::CreateVM(const string& name, const string& host, const string& datastore, const string& guestId,
                              const string& network, std::string& uuid)
{
    return Forward<Int, IfNonZero, S, S, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "CreateVM", name, host, datastore, guestId,
                                                        network, uuid);
}

// Only the new UUID comes back into the record; everything else the caller gave stays as it was.
int CVISDKCppBridge::CreateVirtualMachine(VMInfoStructs::SVMInfo& info)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        std::string uuid;
        int result = Invoke<Int, IfNonZero, RV<VMInfoStructs::SVMInfo>, OS>(*m_wrapper, up, "CreateVirtualMachine", info, uuid);
        if (result != 0)
            info.strUuid = uuid;
        return result;
    });
}

int CVISDKCppBridge::DeleteVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DeleteVM", vm, host);
}

int CVISDKCppBridge::DeleteVMDiskFiles(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DeleteVMDiskFiles", vm, host);
}

int CVISDKCppBridge::RegisterVM(const string& vmxPath, const string& name, const string& host, const string& pool,
                                const string& folder, std::string& vm)
{
    return Forward<Int, IfNonZero, S, S, S, S, S, IOS>(*m_wrapper, __PRETTY_FUNCTION__, "RegisterVM", vmxPath, name, host, pool,
                                                         folder, vm);
}

int CVISDKCppBridge::RegisterVMWithNewUUID(const string& vmxPath, const string& name, const string& host, std::string& uuid)
{
    return Forward<Int, IfNonZero, S, S, S, OS>(*m_wrapper, __PRETTY_FUNCTION__, "RegisterVMWithNewUUID", vmxPath, name, host,
                                                  uuid);
}

int CVISDKCppBridge::ReregisterVM(const string& vmxPath, std::string& vm)
{
    return Forward<Int, IfNonZero, S, IOS>(*m_wrapper, __PRETTY_FUNCTION__, "ReRegisterVM", vmxPath, vm);
}

int CVISDKCppBridge::UnregisterVM(const string& vm, const string& host)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "UnRegisterVM", vm, host);
}

bool CVISDKCppBridge::RegisterFirstClassDisk(const string& host, const string& datastore, const string& path, const string& name,
                                             const string& datacenter)
{
    return Forward<Bool, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RegisterFirstClassDisk", host, datastore, path,
                                                  name, datacenter);
}

int CVISDKCppBridge::AddDiskToVM(const string& vm, const string& host, const string& datastore, long long int capacity, bool thin,
                                 bool eagerZero, bool independent, bool nonPersistent, bool newController)
{
    return Forward<Int, Always, S, S, S, V<long long>, V<bool>, V<bool>, V<bool>, V<bool>, V<bool>>(
        *m_wrapper, __PRETTY_FUNCTION__, "AddDiskToVM", vm, host, datastore, capacity, thin, eagerZero, independent, nonPersistent,
        newController);
}

int CVISDKCppBridge::RemoveDiskFromVM(const string& vm, const string& host, const string& disk, bool deleteFiles)
{
    return Forward<Int, Always, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveDiskFromVM", vm, host, disk, deleteFiles);
}

int CVISDKCppBridge::RemoveISOFromVM(const string& vm, const string& host, const string& iso, bool removeDrive)
{
    return Forward<Int, Always, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveISOFromVM", vm, host, iso, removeDrive);
}

int CVISDKCppBridge::ChangeDiskUUID(const string& vm, const string& disk, const string& uuid)
{
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "ChangeDiskUUID", vm, disk, uuid);
}

std::string CVISDKCppBridge::AddRDMToVM(const string& vm, const string& host, const string& device, const string& mode, int bus,
                                        int unit, int sizeMB, const string& datastore)
{
    return Forward<Str, Always, S, S, S, S, V<int>, V<int>, V<int>, S>(*m_wrapper, __PRETTY_FUNCTION__, "AddRDMToVM", vm, host,
                                                                         device, mode, bus, unit, sizeMB, datastore);
}

bool CVISDKCppBridge::CheckVMConsolidateStatus(const string& vm, const string& host)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CheckVMConsolidateStatus", vm, host);
}

bool CVISDKCppBridge::ConsolidateVMDisks(const string& vm, const string& host, bool& needed)
{
    return Forward<Bool, Always, S, S, R<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "ConsolidateVMDisks", vm, host, needed);
}

bool CVISDKCppBridge::ConsolidateVMDisks(const string& vm, const string& host)
{
    bool needed = false;
    return ConsolidateVMDisks(vm, host, needed);
}

} // namespace VISDKCppBridge
