// Start-up of the windowed program: the instance hand-over, the document, frame and
// view, the checks and load of the two files, and the first display.
#pragma once

#include "core/app/CommandLine.h"
#include "gui/app/CDualvexDoc.h"

#include <QObject>

#include <memory>

namespace dualvex {

class CDualvexView;
class CMainFrame;

class CDualvexApp : public QObject {
    Q_OBJECT
  public:
    explicit CDualvexApp(CommandLine commandLine);
    ~CDualvexApp() override;
    CDualvexApp(const CDualvexApp&) = delete;
    CDualvexApp& operator=(const CDualvexApp&) = delete;

    // Runs start-up; false when the program is to end without a main window (the
    // hand-over dialog was cancelled, or the hand-over failed); ExitCode() then tells
    // with which code.
    bool Start();
    int ExitCode() const { return m_exitCode; }
    // Runs the event loop and returns the exit code; with --screenshot the window is
    // rendered to the file once the comparison is shown and the program ends.
    int Exec();

    CMainFrame* Frame() const { return m_frame.get(); }
    CDualvexView* View() const { return m_view; }

  private:
    bool Headless() const;
    void AnswerMessagesOnStderr();
    bool RunHandOver();
    bool FailStart(const QString& message);
    void CheckAndLoad();
    void RestoreGeometry();
    void SaveGeometry() const;
    int TakeScreenshot();

    CommandLine m_commandLine;
    CDualvexDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CDualvexView* m_view = nullptr;
    int m_exitCode = 0; // 2 once something failed
};

} // namespace dualvex
