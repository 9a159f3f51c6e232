// Progress of a long text-mode run, for a person watching a terminal: percent
// and MB/s on stderr, at most four times a second, rewritten in place and
// wiped at the end. Silent when stderr is not a terminal and for short runs.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace dualvex {

class TextProgress {
  public:
    using Clock = std::function<double()>; // seconds since any fixed moment

    TextProgress(std::ostream& err, bool enabled, Clock clock = SteadySeconds);
    ~TextProgress() { Clear(); }
    TextProgress(const TextProgress&) = delete;
    TextProgress& operator=(const TextProgress&) = delete;

    // Starts a stage of total bytes.
    void Begin(std::string label, std::uint64_t total);
    // done bytes of the stage are through.
    void Update(std::uint64_t done);
    // Wipes the line, before other text goes to stderr and at the end.
    void Clear();

    static double SteadySeconds();

  private:
    static constexpr double kInterval = 0.25;

    std::ostream& m_err;
    bool m_enabled;
    Clock m_clock;
    std::string m_label;
    std::uint64_t m_total = 0;
    double m_begin = 0;
    double m_shown = 0;
    std::size_t m_width = 0; // of the line on screen, 0 when none
};

} // namespace dualvex
