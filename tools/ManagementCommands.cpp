#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "Commands.h"
#include "FileArguments.h"
#include "JsonOutput.h"
#include "Progress.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;
using VMInfoStructs::SDisk;
using VMInfoStructs::SInventoryInfo;
using VMInfoStructs::SVMInfo;
using VMInfoStructs::SVMOptionValue;

Json VmList(const std::vector<SVMInfo>& vms)
{
    Json list = Json::array();
    for (const SVMInfo& vm : vms)
        list.push_back(Json{{"name", vm.strName}, {"moref", vm.strMoRef}, {"uuid", vm.strUuid}});
    return list;
}

void CheckListTags(const Arguments& args, const Operands& operands)
{
    bool byVm = !operands.empty(), byTag = args.Has("tag");
    if (byVm == byTag && !(!byVm && args.Has("category")))
        throw UsageError("tag ls needs a VM, --tag T or --category C");
}

int ListTags(Session& session, const Arguments& args, const Operands& operands)
{
    CVISDKCppBridge& bridge = session.Bridge();
    bool byVm = !operands.empty(), byTag = args.Has("tag");
    if (byVm) {
        std::vector<SInventoryInfo> tags;
        if (!bridge.GetTagsForVM(operands[0], tags))
            return session.Fail(operands[0] + ": tags");
        Json list = Json::array();
        for (const SInventoryInfo& tag : tags) {
            std::string category = tag.children.empty() ? "" : tag.children[0].strName;
            list.push_back(Json{{"tag", tag.strName}, {"category", category}, {"id", tag.strGUID}});
            if (!args.Json())
                std::printf("%s/%s\n", category.c_str(), tag.strName.c_str());
        }
        if (args.Json())
            PrintJson(Json{{"vm", operands[0]}, {"tags", list}});
        return kExitOk;
    }
    std::vector<SVMInfo> vms;
    const std::string category = args.Value("category");
    bool found = byTag ? bridge.GetVMInfoListForTag(args.Value("tag"), category, MIN_VM_PROPS, 0, vms)
                       : bridge.GetVMInfoListForCategory(category, "", MIN_VM_PROPS, 0, vms);
    if (!found)
        return session.Fail(byTag ? "tag " + args.Value("tag") : "category " + category);
    if (args.Json()) {
        PrintJson(Json{{"tag", byTag ? Json(args.Value("tag")) : Json(nullptr)}, {"category", category}, {"vms", VmList(vms)}});
        return kExitOk;
    }
    for (const SVMInfo& vm : vms)
        std::printf("%s\n", vm.strName.c_str());
    return kExitOk;
}

int AttachTags(Session& session, const Arguments& args, const Operands& operands)
{
    std::vector<SInventoryInfo> tags;
    for (size_t i = 1; i < operands.size(); ++i) {
        SInventoryInfo tag;
        tag.strName = operands[i];
        if (args.Has("category")) {
            tag.children.resize(1);
            tag.children[0].strName = args.Value("category");
        }
        tags.push_back(tag);
    }
    if (!session.Bridge().AttachTagsToVM(operands[0], tags))
        return session.Fail(operands[0] + ": attach tags");
    if (args.Json()) {
        Json names = Json::array();
        for (size_t i = 1; i < operands.size(); ++i)
            names.push_back(operands[i]);
        PrintJson(Json{{"vm", operands[0]}, {"attached", names}});
    } else {
        std::printf("%s: %zu tag%s attached\n", operands[0].c_str(), tags.size(), tags.size() == 1 ? "" : "s");
    }
    return kExitOk;
}

int GetField(Session& session, const Arguments& args, const Operands& operands)
{
    std::string value;
    if (!session.Bridge().GetCustomField(operands[0], "", operands[1], value))
        return session.Fail(operands[0] + ": field " + operands[1]);
    if (args.Json())
        PrintJson(Json{{"vm", operands[0]}, {"field", operands[1]}, {"value", value}});
    else
        std::printf("%s\n", value.c_str());
    return kExitOk;
}

int SetField(Session& session, const Arguments& args, const Operands& operands)
{
    CVISDKCppBridge& bridge = session.Bridge();
    if (args.Has("define") && !bridge.AddCustomField(operands[1]))
        return session.Fail("define field " + operands[1]);
    if (!bridge.SetCustomField(operands[0], "", operands[1], operands[2]))
        return session.Fail(operands[0] + ": set field " + operands[1]);
    if (args.Json())
        PrintJson(Json{{"vm", operands[0]}, {"field", operands[1]}, {"value", operands[2]}});
    else
        std::printf("%s: %s set\n", operands[0].c_str(), operands[1].c_str());
    return kExitOk;
}

// Polls the task to its end with a bar on the terminal; the new VM's reference, if it makes one, comes back in `made`.
bool FollowTask(Session& session, const std::string& label, const std::string& task, std::string& made)
{
    Progress progress(label, 100);
    progress.CountItems();
    bool done = false, failed = false;
    int percent = 0;
    while (!done) {
        if (!session.Bridge().CheckNewVMTaskProgress(task, done, failed, percent, made))
            return false;
        progress.Update(percent);
    }
    return !failed;
}

// "KEY=DATASTORE", KEY a disk key or label.
SDisk DiskPlacement(const std::string& text)
{
    size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
        throw UsageError("--disk takes KEY=DATASTORE, not '" + text + "'");
    SDisk disk;
    std::string key = text.substr(0, equals);
    if (key.find_first_not_of("0123456789") == std::string::npos)
        disk.nDeviceKey = static_cast<int>(ParseNumber(key, "--disk key", 0, 1000000));
    else
        disk.strLabel = key;
    disk.strDataStoreName = text.substr(equals + 1);
    return disk;
}

std::vector<SDisk> DiskPlacements(const Arguments& args)
{
    std::vector<SDisk> disks;
    for (const std::string& placement : args.Values("disk"))
        disks.push_back(DiskPlacement(placement));
    if (!args.Has("host") && !args.Has("datastore") && !args.Has("pool") && disks.empty())
        throw UsageError("vm relocate needs --host, --datastore, --pool or --disk");
    return disks;
}

void CheckRelocate(const Arguments& args, const Operands&) { DiskPlacements(args); }

int RelocateVm(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    std::vector<SDisk> disks = DiskPlacements(args);
    std::string task, made;
    if (!session.Bridge().RelocateVM_Task(vm, "", args.Value("host"), args.Value("datastore"), args.Value("pool"), args.Has("keep-disks"),
                                          disks, task))
        return session.Fail(vm + ": relocate");
    if (!FollowTask(session, vm + " relocate", task, made))
        return session.Fail(vm + ": relocate (" + task + ")");
    SVMInfo info;
    if (!session.Bridge().GetVMInfoForVM(vm, "", "", VM_PROP_ALL, 0, info))
        return session.Fail(vm + ": info");
    if (args.Json()) {
        Json disksJson = Json::array();
        for (const SDisk& disk : info.diskList)
            disksJson.push_back(Json{{"key", disk.nDeviceKey}, {"file", disk.strFileName}, {"datastore", disk.strDataStoreName}});
        PrintJson(Json{{"vm", vm}, {"task", task}, {"host", info.hostName}, {"datastore", info.strDataStoreName}, {"disks", disksJson}});
    } else {
        std::printf("%s: on %s, datastore %s\n", vm.c_str(), info.hostName.c_str(), info.strDataStoreName.c_str());
        for (const SDisk& disk : info.diskList)
            std::printf("  %d %s\n", disk.nDeviceKey, disk.strFileName.c_str());
    }
    return kExitOk;
}

// --cpus and --memory-mb into the record; true when either was given.
bool Sizes(const Arguments& args, SVMInfo& info)
{
    if (args.Has("cpus"))
        info.numOfCPU = ParseNumber(args.Value("cpus"), "--cpus", 1, 768);
    if (args.Has("memory-mb"))
        info.memorySizeInMB = ParseNumber(args.Value("memory-mb"), "--memory-mb", 4, 24 * 1024 * 1024);
    return args.Has("cpus") || args.Has("memory-mb");
}

void CheckClone(const Arguments& args, const Operands& operands)
{
    SVMInfo wanted;
    Sizes(args, wanted);
    if (operands[1].find_first_not_of(" \t") == std::string::npos)
        throw UsageError("vm clone needs a name for the clone, not '" + operands[1] + "'");
}

int CloneVm(Session& session, const Arguments& args, const Operands& operands)
{
    SVMInfo wanted;
    wanted.strName = operands[1];
    wanted.strDataStoreName = args.Value("datastore");
    Sizes(args, wanted);
    std::string task, made;
    if (!session.Bridge().CloneAndReConfigVM_Task(wanted, operands[0], args.Value("host"), task))
        return session.Fail(operands[0] + ": clone");
    if (!FollowTask(session, operands[1] + " clone", task, made))
        return session.Fail(operands[0] + ": clone (" + task + ")");
    if (args.Json())
        PrintJson(Json{{"source", operands[0]}, {"name", operands[1]}, {"moref", made}, {"task", task}});
    else
        std::printf("%s\n", made.c_str());
    return kExitOk;
}

// The record's changes; `any` tells whether there are any beside networks.
SVMInfo Reconfiguration(const Arguments& args, const std::string& vm, bool& any)
{
    SVMInfo info;
    info.strName = vm;
    any = Sizes(args, info);
    if (args.Has("firmware") || args.Has("version")) {
        info.strFirmware = args.Value("firmware");
        info.vmVersion = args.Value("version");
        any = true;
    }
    if (args.Has("firmware") && info.strFirmware != "bios" && info.strFirmware != "efi")
        throw UsageError("--firmware must be bios or efi, not '" + info.strFirmware + "'");
    if (args.Has("version") && !std::regex_match(info.vmVersion, std::regex("vmx-[0-9]{2}")))
        throw UsageError("--version must be vmx-NN (vmx-19, say), not '" + info.vmVersion + "'");
    for (const std::string& network : args.Values("network"))
        if (network.empty())
            throw UsageError("--network needs a network name");
    if (!any && !args.Has("network"))
        throw UsageError("vm reconfigure needs --cpus, --memory-mb, --firmware, --version or --network");
    return info;
}

void CheckReconfigure(const Arguments& args, const Operands& operands)
{
    bool any = false;
    Reconfiguration(args, operands[0], any);
}

int ReconfigureVm(Session& session, const Arguments& args, const Operands& operands)
{
    bool any = false;
    SVMInfo info = Reconfiguration(args, operands[0], any);
    std::vector<std::string> networks = args.Values("network");
    if (any && !session.Bridge().ReconfigureVM(info))
        return session.Fail(operands[0] + ": reconfigure");
    if (!networks.empty()) {
        std::vector<VMInfoStructs::SVMNetworkCard> cards(networks.size());
        for (size_t i = 0; i < networks.size(); ++i)
            cards[i].networkName = networks[i];
        if (!session.Bridge().ReconfigureVMNetworks(operands[0], "", cards, true))
            return session.Fail(operands[0] + ": reconfigure networks");
    }
    SVMInfo now;
    if (!session.Bridge().GetVMInfoForVM(operands[0], "", "", VM_PROP_ALL, 0, now))
        return session.Fail(operands[0] + ": info");
    Json cards = Json::array();
    for (const auto& card : now.networkCards)
        cards.push_back(card.networkName);
    if (args.Json())
        PrintJson(Json{{"vm", operands[0]}, {"cpus", now.numOfCPU}, {"memoryMB", now.memorySizeInMB}, {"firmware", now.strFirmware},
                       {"version", now.vmVersion}, {"networks", cards}});
    else
        std::printf("%s: %lld CPU, %lld MB, %s, %s, networks %s\n", operands[0].c_str(), static_cast<long long>(now.numOfCPU),
                    static_cast<long long>(now.memorySizeInMB), now.strFirmware.c_str(), now.vmVersion.c_str(), cards.dump().c_str());
    return kExitOk;
}

// "[DS] PATH" split into its two parts.
bool SplitDatastorePath(const std::string& full, std::string& datastore, std::string& path)
{
    size_t close = full.find("] ");
    if (full.empty() || full[0] != '[' || close == std::string::npos)
        return false;
    datastore = full.substr(1, close - 1);
    path = full.substr(close + 2);
    return true;
}

// A descriptor names its files relative to itself; anything reaching elsewhere is not uploaded.
bool BesideDescriptor(const std::string& href)
{
    if (href.empty() || href[0] == '/' || href.find("://") != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= href.size()) {
        size_t end = href.find('/', start);
        if (href.compare(start, (end == std::string::npos ? href.size() : end) - start, "..") == 0)
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::string XmlUnescaped(std::string text)
{
    static const std::pair<const char*, const char*> kEntities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& entity : kEntities)
        for (size_t at = text.find(entity.first); at != std::string::npos; at = text.find(entity.first, at + 1))
            text.replace(at, std::strlen(entity.first), entity.second);
    return text;
}

// The files a descriptor's References section names, as written in their href attributes.
std::vector<std::string> DescriptorFiles(const std::string& descriptor)
{
    static const std::regex kFile("<(?:[A-Za-z_][\\w.-]*:)?File\\b([^>]*)>"),
        kHref("(?:^|\\s)(?:[A-Za-z_][\\w.-]*:)?href\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')");
    std::vector<std::string> files;
    for (std::sregex_iterator file(descriptor.begin(), descriptor.end(), kFile), end; file != end; ++file) {
        std::string attributes = (*file)[1].str();
        std::smatch href;
        if (std::regex_search(attributes, href, kHref))
            files.push_back(XmlUnescaped(href[1].matched ? href[1].str() : href[2].str()));
    }
    return files;
}

std::string FolderOf(const std::string& file) { return file.find('/') == std::string::npos ? "" : file.substr(0, file.rfind('/') + 1); }

// Every disk file must be there before anything is created: a disk left empty is no import.
void CheckImport(const Arguments& args, const Operands& operands)
{
    const std::string& file = operands[0];
    CheckInputFile(file, "the OVF descriptor");
    for (const std::string& mapping : args.Values("network"))
        if (mapping.find('=') == std::string::npos || mapping.front() == '=')
            throw UsageError("--network takes OVFNET=NETWORK, not '" + mapping + "'");
    std::string provisioning = args.Value("provisioning");
    if (args.Has("provisioning") && provisioning != "thin" && provisioning != "thick" && provisioning != "eagerZeroedThick")
        throw UsageError("--provisioning must be thin, thick or eagerZeroedThick, not '" + provisioning + "'");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream descriptor;
    descriptor << in.rdbuf();
    for (const std::string& href : DescriptorFiles(descriptor.str())) {
        if (!BesideDescriptor(href))
            throw UsageError(file + ": the disk file '" + href + "' is not beside the descriptor");
        CheckInputFile(FolderOf(file) + href, file + ": the disk file");
    }
}

// Starts the import, uploads each disk file found beside the descriptor (or leaves that to the finish, for a real
// server), and finishes it.
int ImportOvf(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& file = operands[0];
    SVMInfo info;
    info.strName = args.Value("name");
    info.strDataStoreName = args.Value("datastore");
    info.hostName = args.Value("host");
    std::vector<SVMOptionValue> options, uploads;
    for (const std::string& mapping : args.Values("network")) {
        size_t equals = mapping.find('=');
        SVMOptionValue option;
        option.key = "network:" + mapping.substr(0, equals);
        option.value = mapping.substr(equals + 1);
        options.push_back(option);
    }
    if (args.Has("provisioning")) {
        SVMOptionValue option;
        option.key = "diskProvisioning";
        option.value = args.Value("provisioning");
        options.push_back(option);
    }
    CVISDKCppBridge& bridge = session.Bridge();
    std::string lease;
    if (!bridge.StartOVFImport(file, info, lease, uploads, options))
        return session.Fail(file + ": import");
    std::string folder = FolderOf(file);
    Json uploaded = Json::array();
    for (size_t i = 0; i < uploads.size(); ++i) {
        // A real server's import lease: FinishOVFImport streams the file to that URL itself.
        if (uploads[i].value.find("://") != std::string::npos) {
            uploaded.push_back(Json{{"file", uploads[i].key}, {"to", uploads[i].value}});
            continue;
        }
        std::string local = folder + uploads[i].key, datastore, path;
        // Checked before the import began; what changed since, or a target the client cannot name, ends it here.
        if (!BesideDescriptor(uploads[i].key) || !std::ifstream(local) || !SplitDatastorePath(uploads[i].value, datastore, path)) {
            std::fprintf(stderr, "visdk: %s: the disk file %s cannot be uploaded to '%s'; the import is not finished\n", file.c_str(),
                         local.c_str(), uploads[i].value.c_str());
            return kExitFailed;
        }
        if (!bridge.UploadDatastoreFile("", datastore, path, local, info.hostName))
            return session.Fail(local + ": upload");
        uploaded.push_back(Json{{"file", uploads[i].key}, {"to", uploads[i].value}});
        bridge.UpdateOVFImportProgress(lease, static_cast<int>((i + 1) * 100 / uploads.size()));
    }
    if (!bridge.FinishOVFImport(lease, info))
        return session.Fail(file + ": finish import");
    if (args.Json())
        PrintJson(Json{{"file", file}, {"name", info.strName}, {"moref", info.strMoRef}, {"uuid", info.strUuid}, {"uploaded", uploaded}});
    else
        std::printf("%s (%s)\n", info.strName.c_str(), info.strMoRef.c_str());
    return kExitOk;
}

} // namespace

std::vector<Command> ManagementCommands()
{
    return {
        {"tag ls", "[VM] [--tag T] [--category C]", "list a VM's tags, or the VMs with a tag or in a category", "tag= category=", 0, 1,
         ListTags, CheckListTags},
        {"tag attach", "VM TAG... [--category C]", "attach tags, by name or id, to a VM", "category=", 2, 64, AttachTags},
        {"field get", "VM FIELD", "print a custom field's value on a VM", "", 2, 2, GetField},
        {"field set", "VM FIELD VALUE [--define]", "set a custom field on a VM, defining the field first with --define", "define", 3, 3,
         SetField},
        {"vm relocate", "VM [--host H] [--datastore DS] [--pool P] [--keep-disks] [--disk KEY=DS]...",
         "move a VM to another host, datastore or pool, or single disks to other datastores", "host= datastore= pool= keep-disks disk=", 1,
         1, RelocateVm, CheckRelocate},
        {"vm clone", "SOURCE NAME [--host H] [--datastore DS] [--cpus N] [--memory-mb MB]",
         "clone a VM with its own disks; prints the new VM's reference", "host= datastore= cpus= memory-mb=", 2, 2, CloneVm, CheckClone},
        {"vm reconfigure", "VM [--cpus N] [--memory-mb MB] [--firmware bios|efi] [--version vmx-NN] [--network NET]...",
         "change a VM's CPUs, memory, firmware, hardware version or networks", "cpus= memory-mb= firmware= version= network=", 1, 1,
         ReconfigureVm, CheckReconfigure},
        {"ovf import", "FILE [--name N] [--host H] [--datastore DS] [--network OVFNET=NET]... [--provisioning thin|thick|eagerZeroedThick]",
         "import the VM an OVF descriptor describes, uploading the disk files beside it (each must be there)",
         "name= host= datastore= network= provisioning=", 1, 1, ImportOvf, CheckImport},
    };
}

} // namespace visdk
