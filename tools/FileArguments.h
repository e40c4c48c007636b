#ifndef VISDK_TOOLS_FILE_ARGUMENTS_H
#define VISDK_TOOLS_FILE_ARGUMENTS_H

#include <string>

namespace visdk {

// "-" as a file operand: standard output where a command writes, standard input where it reads.
inline bool IsStdio(const std::string& path) { return path == "-"; }

// Throws UsageError unless PATH can be written: not a folder, and in an existing folder one may create files in (always
// checked when `replaced`, as the file is then written beside and renamed over).
void CheckOutputPath(const std::string& path, const std::string& what, bool replaced = false);

// Throws UsageError unless PATH is a readable file.
void CheckInputFile(const std::string& path, const std::string& what);

// A private file in TMPDIR (else /tmp), removed with the object; stands in for standard input or output.
class TemporaryFile {
public:
    TemporaryFile();
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return m_path; }
    // Fills the file from standard input, or sends it to standard output; false with the reason printed.
    bool FromStdin();
    bool ToStdout();

private:
    std::string m_path;
};

} // namespace visdk

#endif
