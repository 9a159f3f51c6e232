#include "core/app/Report.h"

#include <algorithm>
#include <deque>
#include <string>
#include <system_error>
#include <thread>

#include "core/app/BuildInfo.h"
#include "core/app/CommandLineHelp.h"
#include "core/app/CompareSource.h"
#include "core/app/FileAccess.h"
#include "core/app/ImageLoad.h"
#include "core/app/IntelHex.h"
#include "core/app/ReportWriter.h"
#include "core/app/StreamCompare.h"
#include "core/app/TextProgress.h"

namespace dualvex {
namespace {

constexpr int kExitEqual = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

// Ranges kept from the counting pass, so that a report with few ranges reads
// the files once; 16 MiB. Beyond it, the parts from the first one not kept on
// are compared a second time while the report is written.
constexpr std::size_t kStoredRanges = std::size_t{1} << 20;
constexpr std::uint64_t kNoResume = ~std::uint64_t{0};

struct Range {
    std::uint64_t start;
    std::uint64_t end;
};

void PrintHelpLine(TextSink& out, const char* option, const char* meaning, std::size_t column)
{
    std::string text = option;
    text.resize(std::max<std::size_t>(text.size() + 2, column), ' ');
    out.Write("  " + text + meaning + '\n');
}

std::string ChangedMessage(const std::string& path)
{
    return "Die Datei " + path + " wurde während des Vergleichs verändert !";
}

std::string FailureMessage(const StreamFailure& failure, const CommandLine& cl)
{
    if (failure.noMemory) return "Nicht genug Speicher für den Vergleich !";
    const std::string& path = cl.files[static_cast<std::size_t>(failure.side - 1)];
    if (failure.status == ReadStatus::Changed) return ChangedMessage(path);
    return "Die Datei " + path +
           " konnte nicht gelesen werden: " + std::generic_category().message(failure.error) + " !";
}

// Both paths are checked before anything is opened, so two missing files give
// two messages, as at start-up.
bool CheckPaths(const CommandLine& cl, std::ostream& err)
{
    bool ok = true;
    for (const std::string& path : cl.files) {
        if (GetFileKind(path) == FileKind::Regular) continue;
        err << LoadErrorMessage(LoadStatus::NotComparable, path) << '\n';
        ok = false;
    }
    return ok;
}

class Comparison {
  public:
    Comparison(const CommandLine& cl, TextSink& out, std::ostream& err, bool errIsTerminal)
        : m_cl(cl), m_out(out), m_err(err), m_progress(err, errIsTerminal)
    {
    }

    int Run()
    {
        if (!Open()) return kExitTrouble;
        const StreamCompare compare(m_a, m_b, Threads(), !m_cl.summary);
        m_storing = !m_cl.summary && m_cl.limit > 0;
        if (!CountPass(compare)) return kExitTrouble;
        ReportWriter writer(m_out, m_cl.format, std::max(m_a.Length(), m_b.Length()), m_cl.limit);
        writer.Header({m_cl.files[0], m_a.Length(), m_cl.files[1], m_b.Length(), m_ranges, m_differing});
        if (!m_cl.summary && !WriteRanges(compare, writer))
            return m_out.Failed() ? OutputFailed() : kExitTrouble;
        if (!m_out.Flush()) return OutputFailed();
        return m_ranges == 0 ? kExitEqual : kExitDifferent;
    }

  private:
    unsigned Threads() const
    {
        if (m_cl.threads != 0) return m_cl.threads;
        return std::max(1u, std::thread::hardware_concurrency());
    }

    bool Open()
    {
        if (!CheckPaths(m_cl, m_err)) return false;
        // As at start-up, a listed extension is decoded without a question; the
        // question, should it come up, is never put to a person here.
        LoadFlags flags;
        flags.hexAutoOnce = m_cl.autoIntelHex != 0; // "not given" (-1) switches it on too
        flags.firstIsHex = m_cl.firstIsHex;
        flags.secondIsHex = m_cl.secondIsHex;
        const IntelHexQuestion ask = [this](const std::string& path) {
            m_err << "Die Datei " << path << " wird ohne Nachfrage als Binärdatei gelesen.\n";
            return false;
        };
        return OpenSide(m_cl.files[0], flags.firstIsHex, flags, ask, m_a) &&
               OpenSide(m_cl.files[1], flags.secondIsHex, flags, ask, m_b);
    }

    bool OpenSide(const std::string& path, bool& ownFlag, const LoadFlags& flags, const IntelHexQuestion& ask,
                  CompareSource& source)
    {
        LoadStatus status = LoadStatus::Ok;
        if (WantsIntelHex(path, ownFlag, flags, ask)) {
            MemoryImage image;
            IntelHexDefects defects;
            status = ReadIntelHex(path, image, &defects);
            if (status == LoadStatus::Ok) source.Take(std::move(image));
            // Bad lines were used as far as they go: a warning, not a failure.
            if (const std::string warning = IntelHexWarning(path, defects); !warning.empty())
                m_err << warning << '\n';
        } else {
            status = source.Open(path);
        }
        if (status != LoadStatus::Ok) m_err << LoadErrorMessage(status, path) << '\n';
        return status == LoadStatus::Ok;
    }

    // Counts ranges and differing bytes over both lengths, keeping the first
    // ranges for the report while they fit.
    bool CountPass(const StreamCompare& compare)
    {
        m_progress.Begin("Vergleich", compare.CommonLength());
        bool lastSet = false;
        const StreamFailure failure = compare.Run(0, [&](const PortionResult& part) {
            m_ranges += part.ranges - (lastSet && part.firstSet ? 1 : 0);
            m_differing += part.differing;
            lastSet = part.lastSet;
            if (m_storing) Store(part);
            m_progress.Update(part.base + part.length);
            return true;
        });
        m_progress.Clear();
        if (failure.Failed()) return Fail(FailureMessage(failure, m_cl));
        const std::uint64_t n = std::max(m_a.Length(), m_b.Length());
        const std::uint64_t m = compare.CommonLength();
        if (m < n) {
            m_ranges += lastSet ? 0 : 1;
            m_differing += n - m;
        }
        return CheckUnchanged();
    }

    void Store(const PortionResult& part)
    {
        if (part.differing == 0) return;
        if (m_stored.size() + part.ranges > kStoredRanges) {
            m_storing = false;
            m_resume = part.base;
            return;
        }
        StreamCompare::ForEachRange(part, [this](std::uint64_t start, std::uint64_t end) {
            if (!m_stored.empty() && m_stored.back().end == start)
                m_stored.back().end = end;
            else
                m_stored.push_back({start, end});
        });
        // Once more ranges are kept than may be written, the last written one is complete.
        if (m_stored.size() > m_cl.limit) m_storing = false;
    }

    bool WriteRanges(const StreamCompare& compare, ReportWriter& writer)
    {
        for (const Range& r : m_stored) writer.Add(r.start, r.end);
        m_stored.clear();
        if (m_resume != kNoResume && !writer.LimitReached() && !SecondPass(compare, writer)) return false;
        const std::uint64_t m = compare.CommonLength();
        writer.Add(m, std::max(m_a.Length(), m_b.Length()));
        writer.Finish();
        if (m_out.Failed()) return false;
        // The second pass must find what the first counted; else a file changed
        // within the resolution of its time stamps.
        if (writer.Lines() != std::min(m_ranges, m_cl.limit))
            return Fail("Die Datei " + m_cl.files[0] + " oder " + m_cl.files[1] +
                        " wurde während des Vergleichs verändert !");
        return true;
    }

    bool SecondPass(const StreamCompare& compare, ReportWriter& writer)
    {
        m_progress.Begin("Ausgabe", compare.CommonLength() - m_resume);
        const StreamFailure failure = compare.Run(m_resume, [&](const PortionResult& part) {
            StreamCompare::ForEachRange(part,
                                        [&writer](std::uint64_t s, std::uint64_t e) { writer.Add(s, e); });
            m_progress.Update(part.base + part.length - m_resume);
            return !writer.LimitReached() && !m_out.Failed();
        });
        m_progress.Clear();
        if (failure.Failed()) return Fail(FailureMessage(failure, m_cl));
        return CheckUnchanged();
    }

    bool CheckUnchanged()
    {
        if (!m_a.Unchanged()) return Fail(ChangedMessage(m_cl.files[0]));
        if (!m_b.Unchanged()) return Fail(ChangedMessage(m_cl.files[1]));
        return true;
    }

    bool Fail(const std::string& message)
    {
        m_err << message << '\n';
        return false;
    }

    // A reader that went away (a pipe into "head") ends the run quietly.
    int OutputFailed()
    {
        if (!m_out.ReaderGone()) m_err << m_out.ErrorMessage() << '\n';
        return kExitTrouble;
    }

    const CommandLine& m_cl;
    TextSink& m_out;
    std::ostream& m_err;
    TextProgress m_progress;
    CompareSource m_a;
    CompareSource m_b;
    std::uint64_t m_ranges = 0;
    std::uint64_t m_differing = 0;
    bool m_storing = false;
    std::deque<Range> m_stored; // merged ranges of the parts before m_resume
    std::uint64_t m_resume = kNoResume;
};

} // namespace

bool WantsTextMode(const CommandLine& cl)
{
    return cl.help || cl.version || cl.report || cl.summary;
}

void PrintVersion(std::ostream& out)
{
    out << "dualvex " << ProgramVersion() << " (Commit " << BuildCommit() << ")\n";
}

void PrintVersion(TextSink& out)
{
    out.Write("dualvex " + std::string(ProgramVersion()) + " (Commit " + std::string(BuildCommit()) + ")\n");
}

void PrintHelp(TextSink& out)
{
    out.Write(std::string(CommandLineHelpTitle()) + '\n');
    for (const HelpEntry& entry : CommandLineHelp()) PrintHelpLine(out, entry.switchText, entry.meaning, 14);
    out.Write("\n");
    for (const HelpEntry& entry : LongOptionHelp()) PrintHelpLine(out, entry.switchText, entry.meaning, 22);
}

void PrintUsageErrors(const CommandLine& cl, std::ostream& err)
{
    for (const std::string& e : cl.errors) err << e << '\n';
    err << UsageLine() << '\n';
}

int RunTextMode(const CommandLine& cl, TextSink& out, std::ostream& err, bool errIsTerminal)
{
    if (cl.help || cl.version) {
        if (cl.help)
            PrintHelp(out);
        else
            PrintVersion(out);
        if (out.Flush()) return kExitEqual;
        if (!out.ReaderGone()) err << out.ErrorMessage() << '\n';
        return kExitTrouble;
    }
    if (!cl.errors.empty() || cl.files.size() < 2) {
        PrintUsageErrors(cl, err);
        return kExitTrouble;
    }
    Comparison comparison(cl, out, err, errIsTerminal);
    return comparison.Run();
}

} // namespace dualvex
