// Helpers of the application window tests: fixture files, an answering message
// seam and the program's executable.
#pragma once

#include "gui/app/CInstanceChannel.h"
#include "gui/support/MessageSeam.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <future>

namespace dualvex::test {

// Records every message box and answers it with the given button.
class SeamRecorder {
  public:
    explicit SeamRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        MessageSeam::SetHandler([this, answer](QWidget*, QMessageBox::Icon icon, const QString& caption,
                                               const QString& text, QMessageBox::StandardButtons) {
            icons << icon;
            captions << caption;
            texts << text;
            return answer;
        });
    }
    ~SeamRecorder() { MessageSeam::SetHandler({}); }
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    QList<QMessageBox::Icon> icons;
    QStringList captions;
    QStringList texts;
};

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
    return path;
}

// Two images of `size` bytes that differ where `markup` has an 'x' ('.' equal).
inline QByteArray Pattern(const QString& markup, bool second)
{
    QByteArray bytes(markup.size(), '\0');
    for (int i = 0; i < markup.size(); ++i)
        bytes[i] = static_cast<char>((i * 7) & 0xFF) ^ (second && markup[i] == QLatin1Char('x') ? 0x5A : 0);
    return bytes;
}

// A later launch's hand-over, sent from another thread: the waiting side in this
// thread must run its event loop to confirm it.
inline bool NotifyFromAnotherThread()
{
    std::future<bool> sent =
        std::async(std::launch::async, [] { return CInstanceChannel::NotifyWaitingInstance(); });
    while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return sent.get();
}

} // namespace dualvex::test
