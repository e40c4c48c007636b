#ifndef VISDK_TOOLS_PROGRESS_H
#define VISDK_TOOLS_PROGRESS_H

#include <cstdio>
#include <string>

namespace visdk {

// A bar on one rewritten line of standard error, drawn only when that is a terminal; silent otherwise.
class Progress {
public:
    Progress(std::string label, long long total);
    Progress(std::string label, long long total, std::FILE* out, bool terminal);
    // Clears the bar so that the next line starts clean.
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Redraws only when the whole percentage moves, so millions of small steps cost at most a hundred lines.
    void Update(long long done);
    // Units of the amounts: bytes (the default) or plain counts.
    void CountItems() { m_bytes = false; }

    // The line for `done`, without the carriage return.
    std::string Line(long long done) const;
    int Percent(long long done) const;

private:
    std::string m_label;
    long long m_total;
    std::FILE* m_out;
    bool m_terminal;
    bool m_bytes = true;
    int m_percent = -1;
};

} // namespace visdk

#endif
