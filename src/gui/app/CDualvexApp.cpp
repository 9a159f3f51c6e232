#include "gui/app/CDualvexApp.h"

#include "core/app/FileAccess.h"
#include "core/app/HandOver.h"
#include "core/support/CSettingsKey.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CInstanceChannel.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/COpenFilesDialog.h"
#include "gui/app/ProgramIcon.h"
#include "gui/support/CommandIds.h"
#include "gui/support/MessageSeam.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTimer>

#include <iostream>
#include <utility>

namespace dualvex {

namespace {

constexpr const char* kMessagesKey = "Messages";
constexpr const char* kPathValue = "Path";

std::string ReadAnnouncedPath()
{
    CSettingsKey key;
    std::string path;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead) &&
        key.OpenSub(kMessagesKey, true))
        key.ReadText(path, kPathValue);
    return path;
}

void WriteAnnouncedPath(const std::string& path)
{
    CSettingsKey key;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate) && key.OpenSub(kMessagesKey))
        key.WriteText(path, kPathValue);
}

} // namespace

CDualvexApp::CDualvexApp(CommandLine commandLine) : m_commandLine(std::move(commandLine)) {}

CDualvexApp::~CDualvexApp()
{
    if (m_frame) SaveGeometry();
}

bool CDualvexApp::Start()
{
    // Every window and dialog, also the hand-over dialog that comes before the frame.
    QApplication::setWindowIcon(ProgramIcon());
    if (m_commandLine.handOverMode && !RunHandOver()) return false;
    m_frame = std::make_unique<CMainFrame>();
    m_view = new CDualvexView(m_frame.get());
    m_frame->setCentralWidget(m_view);
    m_frame->SetCommandTarget(m_view);
    RestoreGeometry();

    const CommandLine& cl = m_commandLine;
    m_view->SetJumpToFirst(cl.jumpToFirst);
    m_view->SetShowTitles(cl.showTitles);
    m_view->SetIntelHexFlags(cl.firstIsHex, cl.secondIsHex, cl.autoIntelHex);
    if (cl.split != SplitOrientation::NotGiven)
        m_view->SetHorizontalSplit(cl.split == SplitOrientation::Horizontal);
    if (!cl.title1.empty()) m_view->SetTitle(0, QString::fromStdString(cl.title1));
    if (!cl.title2.empty()) m_view->SetTitle(1, QString::fromStdString(cl.title2));
    CheckAndLoad();
    m_frame->setWindowTitle(QStringLiteral("Dualvex"));
    if (cl.noArguments && cl.screenshot.empty()) {
        // Only the open-files dialog is on screen; the open command shows the window.
        QTimer::singleShot(0, m_frame.get(), [this] { m_frame->RunCommand(cmd::Open); });
    } else {
        m_frame->show();
    }
    return true;
}

// Two launches deliver one file each: a later one hands its file to the waiting one.
bool CDualvexApp::RunHandOver()
{
    CommandLine& cl = m_commandLine;
    if (CInstanceChannel::NotifyWaitingInstance()) {
        if (cl.files.size() < 2) AddHandedOverFiles(cl.files, ReadAnnouncedPath(), cl.handOverFile);
        return true;
    }
    WriteAnnouncedPath(cl.handOverFile);
    COpenFilesDialog::Fields fields;
    fields.firstPath = QString::fromStdString(cl.handOverFile);
    COpenFilesDialog dialog(fields, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    cl.files =
        FilesFromDialog(dialog.Result().firstPath.toStdString(), dialog.Result().secondPath.toStdString());
    return true;
}

void CDualvexApp::CheckAndLoad()
{
    const std::vector<std::string>& files = m_commandLine.files;
    if (files.size() < 2) return;
    bool bothExist = true;
    for (const std::string& path : files) {
        if (GetFileKind(path) == FileKind::Regular) continue;
        bothExist = false;
        MessageSeam::Ask(m_frame.get(), QMessageBox::Critical, QStringLiteral("Fehler"),
                         QStringLiteral("Die Datei %1 existiert nicht zum Vergleichen !")
                             .arg(QString::fromStdString(path)));
    }
    if (!bothExist) return;
    const QString first = QString::fromStdString(files[0]);
    const QString second = QString::fromStdString(files[1]);
    const LoadFailure result = m_view->Load(first, second);
    if (!m_view->IsLoading()) m_view->ReportLoadFailure(result, first, second, false);
}

void CDualvexApp::RestoreGeometry()
{
    const CommandLine& cl = m_commandLine;
    if (cl.width > 0 && cl.height > 0) {
        m_frame->resize(cl.width, cl.height);
        return;
    }
    // The first window fits the screen it opens on, whatever the scale factor.
    QSize size(1100, 700);
    if (const QScreen* screen = m_frame->screen()) size = size.boundedTo(screen->availableGeometry().size());
    m_frame->resize(size.expandedTo(m_frame->minimumSize()));
    CSettingsKey key;
    std::vector<std::string> stored;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead) ||
        !key.OpenSub("Settings", true))
        return;
    std::unique_ptr<char[]> buffer;
    if (!key.ReadAlloc(buffer, "WindowPlacement", CSettingsKey::kBytes) || key.DataSize() == 0) return;
    m_frame->restoreGeometry(QByteArray(buffer.get(), static_cast<qsizetype>(key.DataSize())));
}

void CDualvexApp::SaveGeometry() const
{
    if (!m_commandLine.screenshot.empty()) return;
    const QByteArray geometry = m_frame->saveGeometry();
    CSettingsKey key;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate) && key.OpenSub("Settings"))
        key.Write(geometry.constData(), static_cast<std::uint32_t>(geometry.size()), "WindowPlacement",
                  CSettingsKey::kBytes);
}

int CDualvexApp::Exec()
{
    if (m_commandLine.screenshot.empty()) return QApplication::exec();
    if (m_view->IsLoading()) {
        QEventLoop wait;
        QObject::connect(m_view, &CDualvexView::LoadFinished, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return TakeScreenshot();
}

int CDualvexApp::TakeScreenshot()
{
    // Let the jump to the first difference and the layout settle before rendering.
    QApplication::processEvents();
    QApplication::processEvents();
    const QPixmap picture = m_frame->grab();
    // Saved through our own file, so a failure can say why (the pixmap only says no).
    QFile file(QString::fromStdString(m_commandLine.screenshot));
    const bool saved = file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.flush();
    if (saved) return 0;
    const QString reason = file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("PNG-Kodierung fehlgeschlagen");
    std::cerr << "Das Bild " << m_commandLine.screenshot
              << " konnte nicht gespeichert werden: " << reason.toStdString() << '\n';
    return 2;
}

} // namespace dualvex
