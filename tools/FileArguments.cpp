#include "FileArguments.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CliSupport.h"

namespace visdk {

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Copies to the end; EINTR is retried, as a signal may arrive while a pipe blocks.
bool Copy(int from, int to, const char* what)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            std::fprintf(stderr, "visdk: cannot read %s: %s\n", what, strerror(errno));
            return false;
        }
        if (n == 0)
            return true;
        for (ssize_t done = 0; done < n;) {
            ssize_t written = write(to, buffer + done, static_cast<size_t>(n - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0) {
                std::fprintf(stderr, "visdk: cannot write %s: %s\n", what, strerror(errno));
                return false;
            }
            done += written;
        }
    }
}

} // namespace

void CheckOutputPath(const std::string& path, const std::string& what, bool replaced)
{
    if (path.empty())
        throw UsageError(what + " needs a file name");
    struct stat info;
    bool exists = stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        throw UsageError(what + " '" + path + "' cannot be written: " + strerror(errno));
    if (exists && S_ISDIR(info.st_mode))
        throw UsageError(what + " '" + path + "' is a folder");
    if (exists && access(path.c_str(), W_OK) != 0)
        throw UsageError(what + " '" + path + "' cannot be written: " + strerror(errno));
    if (exists && !replaced)
        return;
    std::string folder = FolderOf(path);
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw UsageError(what + " '" + path + "' cannot be written: there is no folder '" + folder + "'");
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        throw UsageError(what + " '" + path + "' cannot be written: folder '" + folder + "': " + strerror(errno));
}

void CheckInputFile(const std::string& path, const std::string& what)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        throw UsageError(what + " '" + path + "' cannot be read: " + strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw UsageError(what + " '" + path + "' is a folder");
    if (access(path.c_str(), R_OK) != 0)
        throw UsageError(what + " '" + path + "' cannot be read: " + strerror(errno));
}

TemporaryFile::TemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/visdk-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw UsageError("cannot make a temporary file in '" + FolderOf(pattern) + "': " + strerror(errno));
    close(fd);
    m_path = pattern;
}

TemporaryFile::~TemporaryFile() { unlink(m_path.c_str()); }

bool TemporaryFile::FromStdin()
{
    int fd = open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "visdk: cannot write '%s': %s\n", m_path.c_str(), strerror(errno));
        return false;
    }
    bool copied = Copy(STDIN_FILENO, fd, "standard input");
    return close(fd) == 0 && copied;
}

bool TemporaryFile::ToStdout()
{
    int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "visdk: cannot read '%s': %s\n", m_path.c_str(), strerror(errno));
        return false;
    }
    std::fflush(stdout);
    bool copied = Copy(fd, STDOUT_FILENO, "standard output");
    close(fd);
    return copied;
}

} // namespace visdk
