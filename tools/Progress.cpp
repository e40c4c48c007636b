#include "Progress.h"

#include <unistd.h>

#include <utility>

#include "CliSupport.h"

namespace visdk {

namespace {

const int kBarWidth = 30;

} // namespace

Progress::Progress(std::string label, long long total) : Progress(std::move(label), total, stderr, isatty(STDERR_FILENO) != 0) {}

Progress::Progress(std::string label, long long total, std::FILE* out, bool terminal)
    : m_label(std::move(label)), m_total(total), m_out(out), m_terminal(terminal)
{
}

Progress::~Progress()
{
    if (!m_drawn.empty()) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
    }
}

std::string Progress::Line(long long done) const
{
    if (done < 0)
        done = 0;
    if (m_total > 0 && done > m_total)
        done = m_total;
    double fraction = m_total > 0 ? static_cast<double>(done) / static_cast<double>(m_total) : 1.0;
    int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100));
    std::string amounts = m_bytes ? HumanBytes(static_cast<unsigned long long>(done)) + " of " +
                                        HumanBytes(static_cast<unsigned long long>(m_total))
                                  : std::to_string(done) + " of " + std::to_string(m_total);
    return m_label + " [" + bar + "] " + percent + " " + amounts;
}

void Progress::Update(long long done)
{
    if (!m_terminal)
        return;
    std::string line = Line(done);
    if (line == m_drawn)
        return;
    std::fprintf(m_out, "\r\033[K%s", line.c_str());
    std::fflush(m_out);
    m_drawn = std::move(line);
}

} // namespace visdk
