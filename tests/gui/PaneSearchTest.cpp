// The search commands of a pane on a small fake pane: the dialog and the questions
// are answered in advance, the pane records cursor, selection and marks.
#include "AppTestSupport.h"

#include "gui/tools/FindDialog.h"
#include "gui/tools/PaneSearch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <QTest>

#include <functional>
#include <future>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using test::SeamRecorder;

class FakePane : public SearchPane {
  public:
    explicit FakePane(std::vector<std::uint8_t> data) : m_data(std::move(data)) {}
    explicit FakePane(std::string_view text) : m_data(text.begin(), text.end()) {}

    QWidget* Widget() override { return &m_widget; }
    std::span<const std::uint8_t> Data() const override { return m_data; }
    std::uint64_t BaseAddress() const override { return m_base; }
    HexPos Cursor() const override { return m_cursor; }
    std::optional<SelectionRange> Selection() const override { return m_selection; }
    void SetCursorPos(HexPos index) override
    {
        m_cursor = index;
        m_selection.reset();
    }
    void SelectTo(HexPos index) override { m_selection = SelectionRange{m_cursor, index - 1}; }
    void SetMark(int index, HexPos start, HexPos count) override
    {
        if (index == -2) {
            m_marks.clear();
        } else {
            m_marks[index] = {start, count};
        }
    }
    HexPos LineOf(HexPos index) const override { return index / 16; }
    HexPos FirstVisibleLine() const override { return m_top; }
    int VisibleLines() const override { return 4; }
    bool LastLinePartial() const override { return false; }
    void ScrollToLine(HexPos firstLine) override { m_top = firstLine; }
    void ShowWork(BackgroundJob& job) override
    {
        m_captions << job.Caption();
        if (m_onWork) m_onWork(job);
    }

    std::vector<std::uint8_t> m_data;
    std::uint64_t m_base = 0;
    HexPos m_cursor = 0;
    std::optional<SelectionRange> m_selection;
    std::map<int, std::pair<HexPos, HexPos>> m_marks;
    HexPos m_top = 0;
    QWidget m_widget;
    QStringList m_captions;
    std::function<void(BackgroundJob&)> m_onWork;
};

// Answers the search dialog as a user who typed `text` with `flags` and pressed the
// button that gives `outcome`, and records the text the dialog would have shown.
struct ScriptedDialog {
    ScriptedDialog() = default;
    ScriptedDialog(std::vector<SearchDialogResult> typed, std::vector<int> buttons)
        : answers(std::move(typed)), outcomes(std::move(buttons))
    {
    }

    std::vector<SearchDialogResult> answers;
    std::vector<int> outcomes;
    QStringList shown;
    std::vector<std::uint32_t> flagsSeen;

    PaneSearch::FindRunner Runner()
    {
        return [this](QWidget*, SearchState& state, const QString& initial) {
            shown << initial;
            flagsSeen.push_back(state.flags);
            const std::size_t turn = static_cast<std::size_t>(shown.size() - 1);
            if (turn >= answers.size()) return static_cast<int>(QDialog::Rejected);
            CommitSearchDialog(state, answers[turn]);
            return outcomes[turn];
        };
    }
};

SearchDialogResult Typed(const char* text, std::uint32_t flags = kFindWrap)
{
    SearchDialogResult result;
    result.text = text;
    result.flags = flags;
    result.byteCount = kCountWord;
    return result;
}

struct Searcher {
    explicit Searcher(std::string_view data, std::size_t background = kBackgroundWorkBytes)
        : pane(data), search(pane, state, background)
    {
    }
    FakePane pane;
    SearchState state;
    PaneSearch search;
};

TEST(PaneSearchTest, FindMarksSelectsAndFindNextGoesOn)
{
    SeamRecorder seam;
    Searcher s("..AB....AB....AB");
    ScriptedDialog dialog{{Typed("\"AB\"")}, {QDialog::Accepted}};
    s.search.SetFindRunner(dialog.Runner());
    ASSERT_TRUE(s.search.Find());
    EXPECT_EQ(s.pane.m_cursor, 2);
    ASSERT_TRUE(s.pane.m_selection);
    EXPECT_EQ(s.pane.m_selection->last, 3);
    EXPECT_EQ(s.pane.m_marks, (std::map<int, std::pair<HexPos, HexPos>>{{0, {2, 2}}}));
    ASSERT_TRUE(s.search.FindNext());
    EXPECT_EQ(s.pane.m_cursor, 8);
    ASSERT_TRUE(s.search.FindNext());
    EXPECT_EQ(s.pane.m_cursor, 14);
    EXPECT_TRUE(seam.texts.isEmpty());
}

TEST(PaneSearchTest, FindNextAsksBeforeGoingBackToTheStart)
{
    struct Case {
        const char* name;
        QMessageBox::StandardButton answer;
        bool found;
        HexPos cursor;
        QStringList texts;
    } cases[] = {
        {"yes goes on at the start",
         QMessageBox::Ok,
         true,
         2,
         {QStringLiteral("Ende erreicht. Am Anfang weiter suchen ?")}},
        {"cancel stops silently",
         QMessageBox::Cancel,
         false,
         14,
         {QStringLiteral("Ende erreicht. Am Anfang weiter suchen ?")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeamRecorder seam(c.answer);
        Searcher s("..AB....AB....AB");
        PrepareRangeSearch(s.state, std::span<const std::uint8_t>(s.pane.m_data).subspan(2, 2));
        s.pane.m_cursor = 14;
        EXPECT_EQ(s.search.FindNext(), c.found);
        EXPECT_EQ(s.pane.m_cursor, c.cursor);
        EXPECT_EQ(seam.texts, c.texts);
        EXPECT_EQ(seam.icons.value(0), QMessageBox::Question);
    }
}

// Going back scans up to and including the cursor, so the only match is found again.
TEST(PaneSearchTest, TheOnlyMatchIsFoundAgainAfterTheQuestion)
{
    SeamRecorder seam(QMessageBox::Ok);
    Searcher s("....AB..");
    PrepareRangeSearch(s.state, std::span<const std::uint8_t>(s.pane.m_data).subspan(4, 2));
    s.pane.m_cursor = 4;
    ASSERT_TRUE(s.search.FindNext());
    EXPECT_EQ(s.pane.m_cursor, 4);
}

TEST(PaneSearchTest, NothingFoundIsReportedAndClearsTheMarks)
{
    SeamRecorder seam(QMessageBox::Ok);
    Searcher s("..AB....");
    s.pane.m_marks[3] = {0, 1};
    ScriptedDialog dialog{{Typed("\"XY\"")}, {QDialog::Accepted}};
    s.search.SetFindRunner(dialog.Runner());
    EXPECT_FALSE(s.search.Find());
    EXPECT_EQ(seam.texts, QStringList{QStringLiteral("Bereich wurde nicht gefunden !")});
    EXPECT_EQ(seam.captions, QStringList{QStringLiteral("Dualvex")});
    EXPECT_TRUE(s.pane.m_marks.empty());

    // An unreadable value gives no entry, and a list without entries finds nothing.
    ScriptedDialog empty{{Typed("")}, {QDialog::Accepted}};
    s.search.SetFindRunner(empty.Runner());
    EXPECT_FALSE(s.search.Find());
    EXPECT_EQ(seam.texts.size(), 2);
}

TEST(PaneSearchTest, EmptyDataFindsNothingWithoutAskingToGoOn)
{
    SeamRecorder seam(QMessageBox::Ok);
    Searcher s("");
    s.state.activeList = TextList({"0", "T:1\t:41\t\t\t\t\t(A)"});
    EXPECT_FALSE(s.search.FindNext());
    EXPECT_EQ(seam.texts, QStringList{QStringLiteral("Bereich wurde nicht gefunden !")});
    EXPECT_EQ(seam.icons.value(0), QMessageBox::Information);
}

TEST(PaneSearchTest, CancelledDialogSearchesNothing)
{
    SeamRecorder seam;
    Searcher s("..AB");
    ScriptedDialog dialog;
    s.search.SetFindRunner(dialog.Runner());
    EXPECT_FALSE(s.search.Find());
    EXPECT_FALSE(s.state.HasActiveList());
    EXPECT_EQ(s.pane.m_cursor, 0);
    EXPECT_TRUE(seam.texts.isEmpty());
}

TEST(PaneSearchTest, FindNextWithoutAnActiveListOpensTheDialog)
{
    SeamRecorder seam;
    Searcher s("..AB");
    ScriptedDialog dialog{{Typed("\"AB\"")}, {QDialog::Accepted}};
    s.search.SetFindRunner(dialog.Runner());
    EXPECT_TRUE(s.search.FindNext());
    EXPECT_EQ(dialog.shown.size(), 1);
    EXPECT_EQ(s.pane.m_cursor, 2);
}

// "Weiter&suchen" searches and opens the dialog again; the selection of the match
// then reaches the dialog as the selection flag.
TEST(PaneSearchTest, SearchAgainReopensTheDialogAfterEachSearch)
{
    SeamRecorder seam;
    Searcher s("..AB....AB");
    s.pane.m_selection = SelectionRange{0, 1};
    ScriptedDialog dialog{{Typed("\"AB\""), Typed("\"AB\"")}, {FindDialog::kSearchAgain, QDialog::Accepted}};
    s.search.SetFindRunner(dialog.Runner());
    s.pane.m_cursor = 0;
    EXPECT_TRUE(s.search.Find());
    EXPECT_EQ(s.pane.m_cursor, 8);
    ASSERT_EQ(dialog.shown.size(), 2);
    EXPECT_EQ(dialog.shown[0], QStringLiteral("\"..\""));
    EXPECT_EQ(dialog.shown[1], QString());
    EXPECT_NE(dialog.flagsSeen[0] & kFindHasSelection, 0u);
}

TEST(PaneSearchTest, DialogFlagsChooseTheScan)
{
    struct Case {
        const char* name;
        std::uint32_t flags;
        HexPos cursor;
        std::optional<SelectionRange> selection;
        HexPos expected; // -1: not found
    } cases[] = {
        {"forward from behind the cursor", kFindWrap, 2, std::nullopt, 8},
        {"backward from before the cursor", kFindBackward, 8, std::nullopt, 2},
        {"wrap around to the start", kFindWrap, 14, std::nullopt, 2},
        {"no wrap", 0, 14, std::nullopt, -1},
        {"from the start", kFindFromStart, 14, std::nullopt, 2},
        {"only within the selection", kFindInSelection | kFindWrap, 0, SelectionRange{5, 12}, 8},
        {"within the selection backward", kFindInSelection | kFindBackward, 0, SelectionRange{0, 9}, 8},
        {"a match must start in the selection", kFindInSelection, 0, SelectionRange{3, 7}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeamRecorder seam;
        Searcher s("..AB....AB......");
        s.pane.m_cursor = c.cursor;
        s.pane.m_selection = c.selection;
        ScriptedDialog dialog{{Typed("\"AB\"", c.flags)}, {QDialog::Accepted}};
        s.search.SetFindRunner(dialog.Runner());
        EXPECT_EQ(s.search.Find(), c.expected >= 0);
        if (c.expected >= 0) {
            EXPECT_EQ(s.pane.m_cursor, c.expected);
        }
        EXPECT_EQ(seam.texts.size(), c.expected >= 0 ? 0 : 1);
    }
}

TEST(PaneSearchTest, RangeSearchLooksForTheSelectedBytes)
{
    SeamRecorder seam;
    Searcher s("..AB....AB....AB");
    s.pane.m_cursor = 8;
    s.pane.m_selection = SelectionRange{8, 9};
    ASSERT_TRUE(s.search.RangeSearch());
    EXPECT_EQ(s.pane.m_cursor, 14);
    EXPECT_EQ(s.state.history.At(0), "\"AB\"");
    // Find next repeats it.
    ASSERT_TRUE(s.search.FindNext());
    EXPECT_EQ(s.pane.m_cursor, 2); // wrapped after the question
    EXPECT_EQ(seam.texts.size(), 1);
}

// Only the first 64 selected bytes are looked for: a copy that differs behind them
// still matches.
TEST(PaneSearchTest, RangeSearchTakesTheFirstSixtyFourBytes)
{
    SeamRecorder seam;
    std::string data(100, 'a');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('!' + i % 90);
    data += "--" + data.substr(0, 64) + "#";
    Searcher s(data);
    s.pane.m_selection = SelectionRange{0, 99};
    ASSERT_TRUE(s.search.RangeSearch());
    EXPECT_EQ(s.pane.m_cursor, 102);
    EXPECT_EQ(s.pane.m_marks.at(0).second, 64);
}

TEST(PaneSearchTest, RangeSearchWithoutSelectionIsFind)
{
    SeamRecorder seam;
    Searcher s("..AB");
    ScriptedDialog dialog;
    s.search.SetFindRunner(dialog.Runner());
    EXPECT_FALSE(s.search.RangeSearch());
    EXPECT_EQ(dialog.shown.size(), 1);
}

TEST(PaneSearchTest, GoToMovesTheCursorToTheAddress)
{
    struct Case {
        const char* name;
        std::uint64_t base;
        std::optional<SelectionRange> selection;
        std::optional<std::uint32_t> typed;
        const char* shown;
        HexPos result;
        HexPos cursor;
    } cases[] = {
        {"absolute", 0, std::nullopt, 0x10, "0x3", 0x10, 0x10},
        {"with a base address", 0x8000, std::nullopt, 0x8010, "0x8003", 0x8010, 0x10},
        {"below the base goes to the start", 0x8000, std::nullopt, 0x10, "0x8003", 0x8000, 0},
        {"beyond the end goes to the last byte", 0, std::nullopt, 0x1000, "0x3", 0x3F, 0x3F},
        {"selection offers its bytes", 0, SelectionRange{0x20, 0x21}, 0x20, "0x3130", 0x20, 0x20},
        {"cancel", 0, std::nullopt, std::nullopt, "0x3", -1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string data(64, '.');
        data[0x20] = '0';
        data[0x21] = '1';
        Searcher s(data);
        s.pane.m_base = c.base;
        s.pane.m_cursor = 3;
        s.pane.m_selection = c.selection;
        QString shown;
        s.search.SetGotoRunner([&](QWidget*, const QString& initial, TextList&) {
            shown = initial;
            return c.typed;
        });
        EXPECT_EQ(s.search.GoTo(), c.result);
        EXPECT_EQ(shown, QString::fromLatin1(c.shown));
        EXPECT_EQ(s.pane.m_cursor, c.cursor);
    }
}

std::vector<std::uint8_t> RandomBytes(std::size_t size)
{
    std::mt19937 rng(7);
    std::vector<std::uint8_t> data(size);
    for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(rng() % 4);
    return data;
}

// The same searches on the UI thread and on the worker: cursor, selection and marks
// after every step are the same, over data that spans several of the worker's slices.
TEST(PaneSearchTest, TheWorkerFindsWhatTheUiThreadFinds)
{
    SeamRecorder seam(QMessageBox::Ok);
    const std::vector<std::uint8_t> data = RandomBytes(2 * kWorkChunkBytes + 77);
    FakePane small(data);
    FakePane large(data);
    SearchState smallState;
    SearchState largeState;
    PaneSearch direct(small, smallState);
    PaneSearch worker(large, largeState, 1);
    // Eleven bytes of the data near its end, searched backward with wrap, then forward.
    const std::vector<std::uint8_t> tail(data.end() - 40, data.end() - 29);
    PrepareRangeSearch(smallState, tail);
    PrepareRangeSearch(largeState, tail);
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(direct.FindNext(), worker.FindNext());
        EXPECT_EQ(small.m_cursor, large.m_cursor);
        EXPECT_EQ(small.m_marks, large.m_marks);
    }
    for (PaneSearch* search : {&direct, &worker}) {
        ScriptedDialog dialog{{Typed(":03 03 03 03 03 03 03 03 03", kFindBackward | kFindWrap)},
                              {QDialog::Accepted}};
        search->SetFindRunner(dialog.Runner());
        search->Find();
    }
    EXPECT_EQ(small.m_cursor, large.m_cursor);
    EXPECT_EQ(small.m_marks, large.m_marks);
}

// Escape while the worker searches stops it: no result, no message, the cursor and
// the marks stay; other keys meanwhile reach nobody. The worker is held at its start
// until the keys have gone in, so the stop always comes before the scan.
TEST(PaneSearchTest, EscapeStopsASearchOnTheWorker)
{
    SeamRecorder seam(QMessageBox::Ok);
    FakePane pane(std::vector<std::uint8_t>(3 * kWorkChunkBytes, 0));
    pane.m_cursor = 5;
    pane.m_marks[1] = {5, 2};
    SearchState state;
    PaneSearch search(pane, state, 1);
    std::promise<void> keysSent;
    std::shared_future<void> gate = keysSent.get_future().share();
    search.SetWorkerGate([gate] { gate.wait(); });
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    pane.m_onWork = [&](BackgroundJob& job) {
        EXPECT_TRUE(job.IsRunning());
        QTest::keyClicks(&field, QStringLiteral("ab"));
        QTest::keyClick(&field, Qt::Key_Escape);
        keysSent.set_value();
    };
    PrepareRangeSearch(state, std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_FALSE(search.FindNext());
    EXPECT_EQ(pane.m_captions, QStringList{QStringLiteral("Suche läuft ... (Esc bricht ab)")});
    EXPECT_TRUE(seam.texts.isEmpty()) << "a stopped search asks nothing and reports nothing";
    EXPECT_EQ(pane.m_cursor, 5);
    EXPECT_EQ(pane.m_marks.size(), 1u);
    EXPECT_TRUE(field.text().isEmpty()) << "typing went through while the search ran";

    // Afterwards the input is back.
    QTest::keyClicks(&field, QStringLiteral("ab"));
    EXPECT_EQ(field.text(), QStringLiteral("ab"));
}

} // namespace
} // namespace dualvex
