#ifndef VISDK_TEST_LOCAL_FILES_H
#define VISDK_TEST_LOCAL_FILES_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace visdktest {

// Bytes of a fixed pseudo-random sequence: every offset differs from its neighbours, so a shifted or truncated copy
// never compares equal.
inline std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    unsigned state = 12345;
    for (char& c : data)
        c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    return data;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& data)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A directory of its own under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        char name[] = "/tmp/visdk-test-XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("mkdtemp failed");
        m_path = name;
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    size_t Count() const { return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_path), {})); }

private:
    std::filesystem::path m_path;
};

} // namespace visdktest

#endif
