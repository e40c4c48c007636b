#include <cstdio>
#include <functional>

#include "Commands.h"
#include "JsonOutput.h"
#include "SnapshotTree.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;
using PowerOp = int (CVISDKCppBridge::*)(const std::string&, const std::string&);

struct PowerStep {
    const char* what;
    PowerOp op;
};

struct PowerAction {
    const char* name;
    const char* done;
    // The power state the action ends in (SVMInfo::poweredState), or -1 when it always acts.
    int ends;
    const char* already;
    PowerStep steps[2];
};

const PowerAction kPowerActions[] = {
    {"on", "powered on", 1, "already powered on", {{"power on", &CVISDKCppBridge::PowerOnVM}, {nullptr, nullptr}}},
    {"off", "powered off", 0, "already powered off", {{"power off", &CVISDKCppBridge::PowerOffVM}, {nullptr, nullptr}}},
    {"suspend", "suspended", 2, "already suspended", {{"suspend", &CVISDKCppBridge::SuspendVM}, {nullptr, nullptr}}},
    {"shutdown", "shut down", 0, "already powered off", {{"shut down", &CVISDKCppBridge::ShutdownVM}, {nullptr, nullptr}}},
    {"reset", "reset (powered off and on)", -1, "",
     {{"power off", &CVISDKCppBridge::PowerOffVM}, {"power on", &CVISDKCppBridge::PowerOnVM}}},
};

const PowerAction& FindPowerAction(const std::string& name)
{
    for (const PowerAction& action : kPowerActions)
        if (name == action.name)
            return action;
    throw UsageError("power action must be on, off, suspend, shutdown or reset, not '" + name + "'");
}

void CheckPower(const Arguments&, const Operands& operands) { FindPowerAction(operands[1]); }

int PowerVm(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    const PowerAction& action = FindPowerAction(operands[1]);
    VMInfoStructs::SVMInfo info;
    if (action.ends >= 0 && !session.Bridge().GetVMInfoForVM(vm, "", "", MIN_VM_PROPS, 0, info))
        return session.Fail(vm + ": " + action.steps[0].what);
    bool change = action.ends < 0 || info.poweredState != action.ends;
    for (const PowerStep& step : action.steps)
        if (change && step.op && !(session.Bridge().*step.op)(vm, ""))
            return session.Fail(vm + ": " + step.what);
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"action", action.name}, {"done", change ? action.done : action.already}, {"changed", change}});
    else
        std::printf("%s: %s%s\n", vm.c_str(), change ? action.done : action.already, change ? "" : "; nothing to do");
    return kExitOk;
}

const char* PowerText(int state) { return state == 1 ? "on" : state == 2 ? "suspended" : "off"; }

const char* ProvisionText(int type) { return type == 2 ? "thin" : type == 3 ? "thick, eager-zeroed" : "thick"; }

Json DiskJson(const VMInfoStructs::SDisk& disk)
{
    return Json{{"key", disk.nDeviceKey},          {"label", disk.strLabel},
                {"file", disk.strFileName},        {"uuid", disk.strUUID},
                {"capacity", disk.llMaxSizeInBytes}, {"used", disk.llCurrSizeInBytes},
                {"controller", disk.strControllerType}, {"bus", disk.nControllerBusNumber},
                {"unit", disk.nUnitNumber},        {"provisioning", ProvisionText(disk.nProvisionType)},
                {"independent", disk.bIndependentMode}, {"datastore", disk.strDataStoreName},
                {"lun", disk.strLUNUUID}};
}

void PrintSnapshots(const std::vector<VMInfoStructs::SSnapshot>& snapshots, int depth)
{
    for (const VMInfoStructs::SSnapshot& snapshot : snapshots) {
        std::printf("  %*s%s (%s, %s)\n", depth * 2, "", snapshot.strName.c_str(), snapshot.strMoRef.c_str(),
                    IsoTime(snapshot.creationTime).c_str());
        PrintSnapshots(snapshot.childSnapshots, depth + 1);
    }
}

Json InfoJson(const VMInfoStructs::SVMInfo& vm)
{
    Json disks = Json::array(), cards = Json::array(), snapshots = Json::array(), files = Json::array(), owners = Json::array(),
         controllers = Json::array();
    for (const VMInfoStructs::SDisk& disk : vm.diskList)
        disks.push_back(DiskJson(disk));
    for (const VMInfoStructs::SVMDiskController& controller : vm.diskControllerList)
        controllers.push_back(Json{{"type", controller.strControllerType},
                                   {"bus", controller.nControllerBusNumber},
                                   {"model", controller.strScsiControllerType}});
    for (const VMInfoStructs::SVMNetworkCard& card : vm.networkCards)
        cards.push_back(Json{{"label", card.label},
                             {"network", card.networkName},
                             {"mac", card.macAddress},
                             {"type", card.nicType},
                             {"connected", card.isConnected}});
    for (const VMInfoStructs::SSnapshot& snapshot : vm.snapshotList)
        snapshots.push_back(SnapshotJson(snapshot));
    for (const VMInfoStructs::SVMFile& file : vm.fileLayout.fileList)
        files.push_back(Json{{"name", file.strName}, {"size", file.lSize}, {"type", file.eFileType}});
    for (const VMInfoStructs::SVMOwnerInfo& owner : vm.owners)
        owners.push_back(owner.name);
    return Json{{"name", vm.strName},
                {"moref", vm.strMoRef},
                {"uuid", vm.strUuid},
                {"instanceUuid", vm.strInstanceUuid},
                {"guest", vm.strGuestOSName},
                {"power", PowerText(vm.poweredState)},
                {"template", vm.templateVM},
                {"host", vm.hostName},
                {"hostVersion", vm.hostFullVersion},
                {"datacenter", vm.strDataCenterName},
                {"cluster", vm.clusterName},
                {"resourcePool", vm.strResourcePoolPath},
                {"inventoryPath", vm.strInventoryPath},
                {"datastore", vm.strDataStoreName},
                {"configFile", vm.strConfigFile},
                {"cpus", vm.numOfCPU},
                {"memoryMB", vm.memorySizeInMB},
                {"hardware", vm.vmVersion},
                {"firmware", vm.strFirmware},
                {"tools", vm.strToolsStatus},
                {"ipAddress", vm.ipAddress},
                {"changeTracking", vm.changeTrackingEnabled},
                {"owners", owners},
                {"annotation", vm.notes},
                {"controllers", controllers},
                {"disks", disks},
                {"networkCards", cards},
                {"snapshots", snapshots},
                {"files", files},
                {"used", vm.usedSize}};
}

int ShowVm(Session& session, const Arguments& args, const Operands& operands)
{
    VMInfoStructs::SVMInfo vm;
    if (!session.Bridge().GetVMInfoForVM(operands[0], "", "", VM_PROP_ALL, 0, vm))
        return session.Fail(operands[0] + ": look up");
    if (args.Json()) {
        PrintJson(InfoJson(vm));
        return kExitOk;
    }
    std::string owners;
    for (const VMInfoStructs::SVMOwnerInfo& owner : vm.owners)
        owners += (owners.empty() ? "" : ", ") + owner.name;
    std::printf("name: %s\nmoref: %s\nuuid: %s\ninstance uuid: %s\nguest: %s\npower: %s%s\n", vm.strName.c_str(), vm.strMoRef.c_str(),
                vm.strUuid.c_str(), vm.strInstanceUuid.c_str(), vm.strGuestOSName.c_str(), PowerText(vm.poweredState),
                vm.templateVM ? " (template)" : "");
    std::printf("host: %s (%s)%s%s\ndatastore: %s\nconfiguration: %s\n", vm.hostName.c_str(), vm.hostFullVersion.c_str(),
                vm.clusterName.empty() ? "" : ", cluster ", vm.clusterName.c_str(), vm.strDataStoreName.c_str(), vm.strConfigFile.c_str());
    std::printf("inventory: %s\nresource pool: %s\n", vm.strInventoryPath.c_str(), vm.strResourcePoolPath.c_str());
    std::printf("CPUs: %lld\nmemory: %s\nhardware: %s, firmware %s\ntools: %s\n", static_cast<long long>(vm.numOfCPU),
                HumanBytes(static_cast<unsigned long long>(vm.memorySizeInMB) << 20).c_str(), vm.vmVersion.c_str(),
                vm.strFirmware.c_str(), vm.strToolsStatus.c_str());
    if (!vm.ipAddress.empty())
        std::printf("IP address: %s\n", vm.ipAddress.c_str());
    std::printf("changed block tracking: %s\n", vm.changeTrackingEnabled ? "on" : "off");
    if (!owners.empty())
        std::printf("owner: %s\n", owners.c_str());
    if (!vm.notes.empty())
        std::printf("annotation: %s\n", vm.notes.c_str());
    std::printf("disks: %zu\n", vm.diskList.size());
    for (const VMInfoStructs::SDisk& disk : vm.diskList)
        std::printf("  %s (key %d, %s %d:%d): %s, %s, %s%s%s\n", disk.strLabel.c_str(), disk.nDeviceKey, disk.strControllerType.c_str(),
                    disk.nControllerBusNumber, disk.nUnitNumber, disk.strFileName.c_str(),
                    HumanBytes(static_cast<unsigned long long>(disk.llMaxSizeInBytes)).c_str(), ProvisionText(disk.nProvisionType),
                    disk.strLUNUUID.empty() ? "" : ", raw device ", disk.strLUNUUID.c_str());
    std::printf("network cards: %zu\n", vm.networkCards.size());
    for (const VMInfoStructs::SVMNetworkCard& card : vm.networkCards)
        std::printf("  %s: %s, %s, %s%s\n", card.label.c_str(), card.networkName.c_str(), card.macAddress.c_str(), card.nicType.c_str(),
                    card.isConnected ? ", connected" : "");
    std::printf("snapshots:%s\n", vm.snapshotList.empty() ? " none" : "");
    PrintSnapshots(vm.snapshotList, 0);
    std::printf("files: %zu, %s\n", vm.fileLayout.fileList.size(), HumanBytes(static_cast<unsigned long long>(vm.usedSize)).c_str());
    for (const VMInfoStructs::SVMFile& file : vm.fileLayout.fileList)
        std::printf("  %s (%s)\n", file.strName.c_str(), HumanBytes(static_cast<unsigned long long>(file.lSize)).c_str());
    return kExitOk;
}

void CheckCreate(const Arguments& args, const Operands& operands)
{
    if (operands[0].find_first_not_of(" \t") == std::string::npos)
        throw UsageError("vm create needs a VM name, not '" + operands[0] + "'");
    for (const char* option : {"host", "datastore", "guest", "network"})
        if (args.Has(option) && args.Value(option).empty())
            throw UsageError(std::string("--") + option + " needs a value");
}

// The moref is read back by the new VM's UUID, which no other VM shares as it may share the name.
int CreateVm(Session& session, const Arguments& args, const Operands& operands)
{
    std::string uuid;
    if (!session.Bridge().CreateVM(operands[0], args.Value("host"), args.Value("datastore"), args.Value("guest"), args.Value("network"),
                                   uuid))
        return session.Fail(operands[0] + ": create");
    VMInfoStructs::SVMInfo info;
    if (!session.Bridge().GetVMInfoForVM(uuid, "", "", MIN_VM_PROPS, 0, info) &&
        !session.Bridge().GetVMInfoForVM(operands[0], "", "", MIN_VM_PROPS, 0, info))
        return session.Fail(operands[0] + ": created with UUID " + uuid + ", but its moref cannot be read");
    if (args.Json())
        PrintJson(Json{{"vm", operands[0]}, {"uuid", uuid}, {"moref", info.strMoRef}});
    else
        std::printf("%s %s\n", uuid.c_str(), info.strMoRef.c_str());
    return kExitOk;
}

int RegisterVm(Session& session, const Arguments& args, const Operands& operands)
{
    std::string moref;
    if (!session.Bridge().RegisterVM(operands[0], args.Value("name"), args.Value("host"), args.Value("pool"), args.Value("folder"),
                                     moref))
        return session.Fail(operands[0] + ": register");
    if (args.Json())
        PrintJson(Json{{"configFile", operands[0]}, {"moref", moref}});
    else
        std::printf("%s\n", moref.c_str());
    return kExitOk;
}

// Unregister and delete share their shape: one VM, one status.
int Simple(Session& session, const Arguments& args, const std::string& vm, const char* what, const char* done,
           const std::function<int(const std::string&)>& run)
{
    if (!run(vm))
        return session.Fail(vm + ": " + what);
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"done", done}});
    else
        std::printf("%s: %s\n", vm.c_str(), done);
    return kExitOk;
}

int UnregisterVm(Session& session, const Arguments& args, const Operands& operands)
{
    return Simple(session, args, operands[0], "unregister", "unregistered; its files stay on the datastore",
                  [&](const std::string& vm) { return session.Bridge().UnregisterVM(vm, ""); });
}

int DeleteVm(Session& session, const Arguments& args, const Operands& operands)
{
    return Simple(session, args, operands[0], "delete", "deleted with its files",
                  [&](const std::string& vm) { return session.Bridge().DeleteVM(vm, ""); });
}

} // namespace

std::vector<Command> VmCommands()
{
    return {
        {"vm power", "VM on|off|suspend|shutdown|reset",
         "change the power state; reset powers off, then on; a VM already in the state is left as it is", "", 2, 2, PowerVm,
         CheckPower},
        {"vm info", "VM", "show the VM's record: identity, placement, hardware, disks, network cards, snapshots and files", "", 1, 1,
         ShowVm},
        {"vm create", "NAME [--host H] [--datastore DS] [--guest ID] [--network NET]",
         "create a VM with one thin 16 GiB disk; prints its BIOS UUID and its moref", "host= datastore= guest= network=", 1, 1,
         CreateVm, CheckCreate},
        {"vm register", "'[DS] PATH.vmx' [--name N] [--host H] [--pool P] [--folder F]",
         "register a VM from its configuration file; prints its moref", "name= host= pool= folder=", 1, 1, RegisterVm},
        {"vm unregister", "VM", "take a powered-off VM out of the inventory, leaving its files", "", 1, 1, UnregisterVm},
        {"vm delete", "VM", "delete a powered-off VM and its files", "", 1, 1, DeleteVm},
    };
}

} // namespace visdk
