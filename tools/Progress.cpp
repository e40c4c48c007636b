#include "Progress.h"

#include <unistd.h>

#include <algorithm>
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
    if (m_percent >= 0) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
    }
}

int Progress::Percent(long long done) const
{
    if (m_total <= 0 || done >= m_total)
        return 100;
    return done <= 0 ? 0 : static_cast<int>(static_cast<double>(done) * 100 / static_cast<double>(m_total));
}

std::string Progress::Line(long long done) const
{
    done = std::max(0LL, m_total > 0 ? std::min(done, m_total) : done);
    int percent = Percent(done);
    int filled = percent * kBarWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    std::string amounts = m_bytes ? HumanBytes(static_cast<unsigned long long>(done)) + " of " +
                                        HumanBytes(static_cast<unsigned long long>(m_total))
                                  : std::to_string(done) + " of " + std::to_string(m_total);
    return m_label + " [" + bar + "] " + number + " " + amounts;
}

void Progress::Update(long long done)
{
    if (!m_terminal)
        return;
    int percent = Percent(done);
    if (percent == m_percent)
        return;
    std::fprintf(m_out, "\r\033[K%s", Line(done).c_str());
    std::fflush(m_out);
    m_percent = percent;
}

} // namespace visdk
