#include "gui/support/ComboHelpers.h"

#include "core/support/ComboHistory.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <string>
#include <vector>

namespace dualvex {

namespace {

std::vector<std::string> Items(const QComboBox* combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
    return items;
}

// Selected item: one whose text the edit field shows, as a drop-down choice leaves it.
int SelectedIndex(const QComboBox* combo)
{
    return combo->currentIndex() >= 0 && combo->itemText(combo->currentIndex()) == combo->currentText()
               ? combo->currentIndex()
               : -1;
}

class FileDropFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!drag->mimeData()->hasUrls()) return false;
            drag->acceptProposedAction();
            return true;
        }
        if (event->type() != QEvent::Drop) return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (urls.isEmpty()) return false;
        auto* combo = qobject_cast<QComboBox*>(parent());
        combo->setCurrentIndex(-1);
        combo->setEditText(urls.first().toLocalFile());
        drop->acceptProposedAction();
        return true;
    }
};

} // namespace

int LoadComboHistory(QComboBox* combo, const char* valueName, const char* keyPath)
{
    const QString edit = combo->currentText();
    combo->clear();
    int added = 0;
    for (const std::string& entry : LoadHistory(valueName, keyPath)) {
        combo->addItem(QString::fromStdString(entry));
        ++added;
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(edit);
    return added;
}

int SaveComboHistory(QComboBox* combo, const char* valueName, const char* keyPath)
{
    const std::vector<std::string> items = Items(combo);
    const int selected = SelectedIndex(combo);
    const std::string current = CurrentHistoryText(combo->currentText().toStdString(), items, selected);
    const std::vector<std::string> history = BuildHistory(current, items);
    if (history.empty()) return 0;
    if (selected < 0) {
        // The current text now leads the drop-down.
        combo->clear();
        for (const std::string& entry : history) combo->addItem(QString::fromStdString(entry));
        combo->setCurrentIndex(-1);
        combo->setEditText(QString::fromStdString(current));
    }
    return static_cast<int>(SaveHistory(history, valueName, keyPath));
}

void ExchangeComboText(bool save, QComboBox* combo, QString& text)
{
    if (save) {
        text = combo->currentText();
        return;
    }
    if (combo->currentText() != text) combo->setEditText(text);
}

void AcceptFileDrops(QComboBox* combo)
{
    combo->setAcceptDrops(true);
    auto* filter = new FileDropFilter(combo);
    combo->installEventFilter(filter);
    if (combo->lineEdit()) {
        combo->lineEdit()->setAcceptDrops(true);
        combo->lineEdit()->installEventFilter(filter);
    }
}

} // namespace dualvex
