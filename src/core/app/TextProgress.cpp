#include "core/app/TextProgress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

namespace dualvex {

TextProgress::TextProgress(std::ostream& err, bool enabled, Clock clock)
    : m_err(err), m_enabled(enabled), m_clock(std::move(clock))
{
}

double TextProgress::SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void TextProgress::Begin(std::string label, std::uint64_t total)
{
    if (!m_enabled) return;
    m_label = std::move(label);
    m_total = total;
    m_begin = m_shown = m_clock();
}

void TextProgress::Update(std::uint64_t done)
{
    if (!m_enabled || m_total == 0) return;
    const double now = m_clock();
    // The first line appears only after an interval, so short runs stay silent.
    if (now - m_shown < kInterval) return;
    m_shown = now;
    const double percent = 100.0 * static_cast<double>(done) / static_cast<double>(m_total);
    const double rate = static_cast<double>(done) / (now - m_begin) / 1e6;
    char line[160];
    const int n = std::snprintf(line, sizeof line, "%s: %3.0f %% %6.0f MB/s", m_label.c_str(), percent, rate);
    std::string text(line, static_cast<std::size_t>(n > 0 ? n : 0));
    const std::size_t width = text.size();
    if (width < m_width) text.append(m_width - width, ' ');
    m_err << '\r' << text << std::flush;
    m_width = std::max(m_width, width);
}

void TextProgress::Clear()
{
    if (m_width == 0) return;
    m_err << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
    m_width = 0;
}

} // namespace dualvex
