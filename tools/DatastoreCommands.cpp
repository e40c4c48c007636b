#include <cstdio>

#include <memory>

#include "Commands.h"
#include "FileArguments.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;

bool IsFolder(const std::string& entry) { return !entry.empty() && entry.back() == '/'; }

int ListDatastore(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& datastore = operands[0];
    std::string folder = operands.size() > 1 ? operands[1] : "";
    CVISDKCppBridge& bridge = session.Bridge();
    std::vector<std::string> entries;
    if (!bridge.GetFilesOnDSForHost(args.Value("host"), datastore, folder, args.Value("pattern"), args.Has("recursive"), entries))
        return session.Fail(datastore + ": list " + (folder.empty() ? "the root" : folder));
    Json files = Json::array();
    for (const std::string& entry : entries) {
        VMInfoStructs::SVMFile details;
        bool folderEntry = IsFolder(entry);
        std::string path = folderEntry ? entry.substr(0, entry.size() - 1) : entry;
        // An entry that vanished between the listing and its details is shown without them.
        bool known = bridge.GetDetailsForFileOnHost(args.Value("host"), "", datastore, path, true, true, details);
        if (args.Json()) {
            Json file{{"path", path}, {"folder", folderEntry}};
            if (known && !folderEntry) {
                file["size"] = details.lSize;
                file["modified"] = IsoTime(details.modifiedTime);
            }
            files.push_back(file);
        } else if (folderEntry) {
            std::printf("%-12s %-20s %s\n", "folder", "", entry.c_str());
        } else {
            std::printf("%-12s %-20s %s\n", known ? HumanBytes(static_cast<unsigned long long>(details.lSize)).c_str() : "?",
                        known ? IsoTime(details.modifiedTime).c_str() : "", entry.c_str());
        }
    }
    if (args.Json())
        PrintJson(Json{{"datastore", datastore}, {"folder", folder}, {"files", files}});
    return kExitOk;
}

void CheckUpload(const Arguments& args, const Operands& operands)
{
    if (!IsStdio(operands[0]))
        CheckInputFile(operands[0], "the local file");
    else if (IsStdio(args.Value("password-file")))
        throw UsageError("standard input cannot hold both the password and the file to upload");
}

void CheckDownload(const Arguments& args, const Operands& operands)
{
    if (!IsStdio(operands[2]))
        CheckOutputPath(operands[2], "the local file");
    else if (args.Json())
        throw UsageError("--json and '-' both want standard output: name a local file");
}

// The direct forms go to the host itself when one is named. Standard input is kept in a temporary file first, as the
// client reads a named file.
int Upload(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &local = operands[0], &datastore = operands[1], &path = operands[2];
    std::unique_ptr<TemporaryFile> piped;
    if (IsStdio(local)) {
        piped.reset(new TemporaryFile);
        if (!piped->FromStdin())
            return kExitFailed;
    }
    const std::string& file = piped ? piped->Path() : local;
    std::string host = args.Value("host");
    CVISDKCppBridge& bridge = session.Bridge();
    int done = host.empty() ? bridge.UploadDatastoreFile("", datastore, path, file, "")
                            : bridge.UploadDatastoreFileToHost("", datastore, path, file, host);
    if (!done)
        return session.Fail(local + ": upload to [" + datastore + "] " + path);
    if (args.Json())
        PrintJson(Json{{"local", local}, {"datastore", datastore}, {"path", path}, {"host", host}});
    else
        std::printf("uploaded %s to [%s] %s\n", local.c_str(), datastore.c_str(), path.c_str());
    return kExitOk;
}

// To standard output through a temporary file; the report then goes to standard error.
int Download(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &datastore = operands[0], &path = operands[1], &local = operands[2];
    std::unique_ptr<TemporaryFile> piped;
    if (IsStdio(local))
        piped.reset(new TemporaryFile);
    const std::string& file = piped ? piped->Path() : local;
    std::string host = args.Value("host");
    CVISDKCppBridge& bridge = session.Bridge();
    int done = host.empty() ? bridge.DownloadDatastoreFile("", datastore, path, file, "")
                            : bridge.DownloadDatastoreFileFromHost("", datastore, path, file, host);
    if (!done)
        return session.Fail("[" + datastore + "] " + path + ": download to " + (piped ? "standard output" : local));
    if (piped)
        return piped->ToStdout() ? kExitOk : kExitFailed;
    if (args.Json())
        PrintJson(Json{{"datastore", datastore}, {"path", path}, {"local", local}, {"host", host}});
    else
        std::printf("downloaded [%s] %s to %s\n", datastore.c_str(), path.c_str(), local.c_str());
    return kExitOk;
}

int Remove(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &datastore = operands[0], &path = operands[1];
    if (!session.Bridge().DeleteDatastoreFile("", datastore, path, ""))
        return session.Fail("[" + datastore + "] " + path + ": delete");
    if (args.Json())
        PrintJson(Json{{"datastore", datastore}, {"deleted", path}});
    else
        std::printf("deleted [%s] %s\n", datastore.c_str(), path.c_str());
    return kExitOk;
}

int MakeFolder(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &datastore = operands[0], &path = operands[1];
    if (!session.Bridge().CreateDatastoreFolder(datastore, path))
        return session.Fail("[" + datastore + "] " + path + ": make folder");
    if (args.Json())
        PrintJson(Json{{"datastore", datastore}, {"created", path}});
    else
        std::printf("created [%s] %s\n", datastore.c_str(), path.c_str());
    return kExitOk;
}

} // namespace

std::vector<Command> DatastoreCommands()
{
    return {
        {"datastore ls", "DS [FOLDER] [--pattern P] [--recursive] [--host H]",
         "list files and folders with sizes and times; P takes * and ?", "pattern= recursive host=", 1, 2, ListDatastore},
        {"datastore upload", "LOCAL|- DS PATH [--host H]", "upload a local file (- for standard input), directly to host H when given",
         "host=", 3, 3, Upload, CheckUpload},
        {"datastore download", "DS PATH LOCAL|- [--host H]",
         "download a file (- for standard output), directly from host H when given", "host=", 3, 3, Download, CheckDownload},
        {"datastore rm", "DS PATH", "delete a file, or a folder with everything in it", "", 2, 2, Remove},
        {"datastore mkdir", "DS PATH", "make a folder and any missing parents", "", 2, 2, MakeFolder},
    };
}

} // namespace visdk
