#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

namespace VISDKCppBridge {

using namespace frame;

int CVISDKCppBridge::CopyDatastoreFile(const string& datacenter, const string& sourceDatastore, const string& sourcePath,
                                       const string& destinationDatastore, const string& destinationPath, const string& host)
{
    return Forward<Int, Always, S, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CopyDatastoreFile", datacenter, sourceDatastore,
                                                    sourcePath, destinationDatastore, destinationPath, host);
}

int CVISDKCppBridge::CopyDatastoreFile(const string& datacenter, const string& sourceDatastore, const string& sourcePath,
                                       const string& destinationDatastore, const string& destinationPath, const string& host,
                                       const string& destinationDatacenter)
{
    return Forward<Int, Always, S, S, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CopyDatastoreFile", datacenter,
                                                       sourceDatastore, sourcePath, destinationDatastore, destinationPath, host,
                                                       destinationDatacenter);
}

int CVISDKCppBridge::DeleteDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& host)
{
    return Forward<Int, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DeleteDatastoreFile", datacenter, datastore, path,
                                              host);
}

int CVISDKCppBridge::GetFilesOnDSForHost(const string& host, const string& datastore, const string& folder, const string& pattern,
                                         bool recursive, std::vector<std::__cxx11::basic_string<char> >& files)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool up) {
        MonoObject* result = Invoke<Object, Always, S, S, S, S, V<bool>>(*m_wrapper, up, "GetFilesOnDSForHost", host, datastore,
                                                                          folder, pattern, recursive);
        if (!result)
            return 0;
        CVISDKHelper::ConvertStringInfoList(files, result);
        return 1;
    });
}

int CVISDKCppBridge::GetFilesOnDSForHost(const string& host, const string& datastore, const string& pattern, bool recursive,
                                         std::vector<std::__cxx11::basic_string<char> >& files)
{
    return GetFilesOnDSForHost(host, datastore, std::string(), pattern, recursive, files);
}

std::string CVISDKCppBridge::GetDownloadDatastoreFileUrl(const string& datacenter, const string& datastore, const string& path,
                                                         const string& host)
{
    return Forward<Str, Always, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "GetDownloadDatastoreFileUrl", datacenter, datastore,
                                              path, host);
}

int CVISDKCppBridge::DownloadDatastoreFile(const string& datacenter, const string& datastore, const string& path,
                                           const string& localPath, const string& host)
{
    return Forward<Int, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DownloadDatastoreFile", datacenter, datastore, path,
                                                 localPath, host);
}

int CVISDKCppBridge::DownloadDatastoreFileFromHost(const string& datacenter, const string& datastore, const string& path,
                                                   const string& localPath, const string& host)
{
    return Forward<Int, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "DownloadDatastoreFileFromHost", datacenter,
                                                 datastore, path, localPath, host);
}

int CVISDKCppBridge::UploadDatastoreFile(const string& datacenter, const string& datastore, const string& path,
                                         const string& localPath, const string& host)
{
    return Forward<Int, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "UploadDatastoreFile", datacenter, datastore, path,
                                                 localPath, host);
}

int CVISDKCppBridge::UploadDatastoreFileToHost(const string& datacenter, const string& datastore, const string& path,
                                               const string& localPath, const string& host)
{
    return Forward<Int, Always, S, S, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "UploadDatastoreFileToHost", datacenter, datastore,
                                                 path, localPath, host);
}

int CVISDKCppBridge::CreateDatastoreFolder(const string& datastore, const string& path)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "CreateDataStoreFolder", datastore, path);
}

int CVISDKCppBridge::CheckDatastoreFile(const string& datacenter, const string& datastore, const string& path, const string& host,
                                        bool folder)
{
    return Forward<Int, Always, S, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "CheckDatastoreFile", datacenter, datastore,
                                                       path, host, folder);
}

int CVISDKCppBridge::CheckdatastoreSpace(const string& datastore, const string& host, int requiredMB)
{
    return Forward<Int, Always, S, S, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "CheckDatastoreSpace", datastore, host, requiredMB);
}

bool CVISDKCppBridge::GetDetailsForFileOnHost(const string& host, const string& datacenter, const string& datastore,
                                              const string& path, bool fileSize, bool modification, VMInfoStructs::SVMFile& file)
{
    return Forward<Bool, Always, S, S, S, S, V<bool>, V<bool>, RO<VMInfoStructs::SVMFile>>(
        *m_wrapper, __PRETTY_FUNCTION__, "GetDetailsForFileOnHost", host, datacenter, datastore, path, fileSize, modification, file);
}

int CVISDKCppBridge::CreateNASDatastore(const string& host, const string& name, const string& remoteHost, const string& remotePath,
                                        bool readOnly)
{
    return Forward<Int, Always, S, S, S, S, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "CreateNASDatastore", host, name, remoteHost,
                                                       remotePath, readOnly);
}

int CVISDKCppBridge::RemoveDatastore(const string& host, const string& datastore)
{
    return Forward<Int, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "RemoveDatastore", host, datastore);
}

bool CVISDKCppBridge::IsDatastoreConnected(const string& host, const string& datastore)
{
    return Forward<Bool, Always, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "IsDatastoreConnected", host, datastore);
}

bool CVISDKCppBridge::CheckDownloadFromHostPrivilege(const string& host)
{
    return Forward<Bool, Always, S>(*m_wrapper, __PRETTY_FUNCTION__, "CheckDownloadFromHostPrivilege", host);
}

} // namespace VISDKCppBridge
