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

CDualvexApp::CDualvexApp(CommandLine commandLine) : m_commandLine(std::move(commandLine))
{
    if (Headless()) AnswerMessagesOnStderr();
}

CDualvexApp::~CDualvexApp()
{
    if (m_frame) SaveGeometry();
    if (Headless()) MessageSeam::SetHandler({});
}

bool CDualvexApp::Headless() const
{
    return !m_commandLine.screenshot.empty();
}

// Without a window nobody could answer a box: every message goes to stderr, a
// question is answered No (the Intel-HEX question is answered only by -I, -I1,
// -I2 or the automatic setting, else the file is read raw), and an error makes the
// run fail.
void CDualvexApp::AnswerMessagesOnStderr()
{
    MessageSeam::SetHandler([this](QWidget*, QMessageBox::Icon icon, const QString&, const QString& text,
                                   QMessageBox::StandardButtons buttons) {
        std::string line = text.toStdString();
        if (icon == QMessageBox::Question) line += " Nein (ohne Fenster wird nicht gefragt).";
        std::cerr << "dualvex: " << line << std::endl;
        if (icon == QMessageBox::Critical || icon == QMessageBox::Warning) m_exitCode = 2;
        if (buttons.testFlag(QMessageBox::No)) return QMessageBox::No;
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::Ok;
    });
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
    if (Headless()) connect(m_view, &CDualvexView::ChangedOnDisk, this, [this] { m_exitCode = 2; });
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
    CInstanceChannel channel;
    QString error;
    // Both steps run under the channel's lock: the waiting side announces its file
    // before it listens, the later side reads it before another launch can wait.
    const CInstanceChannel::Role role = channel.Claim(
        [&cl] {
            if (cl.files.size() < 2) AddHandedOverFiles(cl.files, ReadAnnouncedPath(), cl.handOverFile);
        },
        [&cl] { WriteAnnouncedPath(cl.handOverFile); }, error, !Headless());
    if (role == CInstanceChannel::Role::Paired) return true;
    if (role == CInstanceChannel::Role::Failed) return FailStart(error);
    if (role == CInstanceChannel::Role::Alone)
        return FailStart(QStringLiteral("-0: kein anderer Aufruf wartet auf eine Übergabe, und ohne Fenster "
                                        "wird nicht gewartet."));
    COpenFilesDialog::Fields fields;
    fields.firstPath = QString::fromStdString(cl.handOverFile);
    COpenFilesDialog dialog(fields, true, nullptr, &channel);
    if (dialog.exec() != QDialog::Accepted) return false;
    cl.files =
        FilesFromDialog(dialog.Result().firstPath.toStdString(), dialog.Result().secondPath.toStdString());
    return true;
}

bool CDualvexApp::FailStart(const QString& message)
{
    MessageSeam::Ask(nullptr, QMessageBox::Critical, QStringLiteral("Fehler"), message);
    m_exitCode = 2;
    return false;
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
    if (!Headless()) return QApplication::exec();
    if (m_view->IsLoading()) {
        QEventLoop wait;
        QObject::connect(m_view, &CDualvexView::LoadFinished, &wait, &QEventLoop::quit);
        wait.exec();
    }
    // A file that is missing or failed to load has been named on stderr already.
    if (m_exitCode != 0) return m_exitCode;
    return TakeScreenshot();
}

int CDualvexApp::TakeScreenshot()
{
    // Let the jump to the first difference and the layout settle before rendering.
    QApplication::processEvents();
    QApplication::processEvents();
    const QPixmap picture = m_frame->grab();
    QApplication::processEvents(); // a file truncated while it was painted is told now
    if (const std::string warning = m_view->IntelHexWarningText().toStdString(); !warning.empty())
        std::cerr << "dualvex: " << warning << std::endl;
    if (m_exitCode != 0) return m_exitCode;
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
