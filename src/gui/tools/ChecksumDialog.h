// "Checksumme": the nine simple checksums of the bytes it is given, the word rows in
// the byte order of its "Big Endian" box. Large inputs are summed on a worker thread
// whose progress and stop the caller can reach through Job().
#pragma once

#include "core/hexview/Checksums.h"
#include "gui/support/BackgroundJob.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>
#include <span>

class QCheckBox;
class QLineEdit;

namespace dualvex {

class ChecksumDialog : public QDialog {
    Q_OBJECT
  public:
    // input: the selection, or the start of the data (see ChecksumInput); it must
    // outlive the dialog. From backgroundBytes on the sums are made off the UI thread.
    explicit ChecksumDialog(std::span<const std::uint8_t> input, QWidget* parent = nullptr,
                            std::size_t backgroundBytes = kBackgroundWorkBytes);

    [[nodiscard]] BackgroundJob& Job() { return m_job; }
    // Whether the sums are there (false while a worker computes or after a stop).
    [[nodiscard]] bool HasSums() const { return m_sums.has_value(); }
    [[nodiscard]] static std::optional<QPoint> RememberedPosition();

    void done(int result) override;

  private:
    void ShowSums();

    BackgroundJob m_job;
    std::optional<Checksums> m_sums;
    std::array<QLineEdit*, 9> m_fields{};
    QCheckBox* m_bigEndian = nullptr;
};

} // namespace dualvex
