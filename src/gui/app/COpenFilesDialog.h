// "Dateien öffenen": the user picks the two files to compare and says which of them
// are Intel-HEX. Both path fields remember their recent entries. In hand-over mode
// the dialog waits for a later launch to deliver the other file: it remembers its
// position and gives way when that launch calls.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QGridLayout;

namespace dualvex {

class CInstanceChannel;

class COpenFilesDialog : public QDialog {
    Q_OBJECT
  public:
    struct Fields {
        QString firstPath;
        QString secondPath;
        bool automatic = false;
        bool firstIsHex = false;
        bool secondIsHex = false;
    };

    // In hand-over mode the dialog gives way when channel (listening already, owned by
    // the caller) hears a partner; without one it listens on a channel of its own.
    COpenFilesDialog(const Fields& fields, bool handOverMode, QWidget* parent = nullptr,
                     CInstanceChannel* channel = nullptr);
    ~COpenFilesDialog() override;

    const Fields& Result() const { return m_fields; }
    bool HandOverMode() const { return m_handOverMode; }
    // The hand-over message: store the position and cancel, in hand-over mode only.
    void OnHandOverMessage();

    void accept() override;

  private:
    QComboBox* AddPathRow(QGridLayout* grid, int row, const QString& label, int comboId, int browseId);
    void Browse(QComboBox* combo);
    void ToControls();
    void FromControls();
    void RestorePosition();
    void StorePosition() const;

    Fields m_fields;
    bool m_handOverMode = false;
    QComboBox* m_first = nullptr;
    QComboBox* m_second = nullptr;
    QCheckBox* m_automatic = nullptr;
    QCheckBox* m_firstIsHex = nullptr;
    QCheckBox* m_secondIsHex = nullptr;
    CInstanceChannel* m_channel = nullptr;
};

} // namespace dualvex
