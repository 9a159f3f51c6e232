// Writes the difference report: the header (names, lengths, counts) and one
// line per differing range, as plain text or as one JSON object per line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/CommandLine.h"
#include "core/app/TextSink.h"

namespace dualvex {

struct ReportHeader {
    std::string name1;
    std::uint64_t length1 = 0;
    std::string name2;
    std::uint64_t length2 = 0;
    std::uint64_t ranges = 0;
    std::uint64_t differing = 0;
};

// A name for a text line: control characters and the backslash as C escapes,
// so a name cannot split a line or pass for another.
std::string EscapeName(std::string_view name);
// A name as a JSON string with its quotes; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view name);

class ReportWriter {
  public:
    // Offsets get 16 hex digits when the longer file has positions beyond
    // 32 bits, on every line of the report, so columns stay aligned.
    ReportWriter(TextSink& sink, ReportFormat format, std::uint64_t longerLength, std::uint64_t limit);
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    void Header(const ReportHeader& header);
    // Ranges in position order; one that begins where the previous one ended
    // continues it (a range crossing the border of two compared parts).
    void Add(std::uint64_t start, std::uint64_t end);
    // Writes the range still open.
    void Finish();

    bool LimitReached() const { return m_lines >= m_limit; }
    std::uint64_t Lines() const { return m_lines; }

  private:
    void WriteLine(std::uint64_t start, std::uint64_t end);

    TextSink& m_sink;
    ReportFormat m_format;
    int m_hexDigits;
    std::uint64_t m_limit;
    std::uint64_t m_lines = 0;
    std::uint64_t m_start = 0; // the open range [m_start, m_end), none when equal
    std::uint64_t m_end = 0;
};

} // namespace dualvex
