#include "gui/tools/CppCopyDialog.h"

#include "core/hexview/CppArray.h"
#include "core/support/CSettingsKey.h"
#include "gui/support/DialogControls.h"

#include <QLineEdit>

#include <algorithm>

namespace dualvex {

namespace {

constexpr const char* kSettingsKey = "CppCopyDlg";

NumberInputParams Params(std::span<const std::uint8_t> selection)
{
    const CppCopySettings settings = LoadCppCopySettings();
    NumberInputParams params;
    params.title = "Kopiere im C++ Format";
    params.label = "Spaltenbreite";
    const auto lineSize = static_cast<std::uint32_t>(settings.lineSize);
    for (std::size_t i = 0; i < 4; ++i) params.value[i] = static_cast<std::uint8_t>(lineSize >> (8 * i));
    params.byteCount = settings.valueSize;
    params.hexDisplay = settings.hexLineSize;
    params.formatVariant = true;
    params.format = settings.format;
    params.preview = CppArrayPreview();
    const std::size_t count = std::min<std::size_t>(selection.size(), kCppCopyMaxBytes);
    params.previewBytes.assign(selection.begin(), selection.begin() + static_cast<std::ptrdiff_t>(count));
    return params;
}

} // namespace

CppCopySettings LoadCppCopySettings()
{
    CppCopySettings settings;
    std::int32_t lineSize = settings.lineSize;
    std::int32_t valueSize = settings.valueSize;
    std::int32_t format = settings.format;
    std::uint32_t hex = 0;
    CSettingsKey key;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead) && key.OpenSub(kSettingsKey)) {
        key.ReadInt(lineSize, "LineSize");
        key.ReadInt(valueSize, "ValueSize");
        key.ReadInt(format, "Format");
        key.ReadInt(hex, "BigEndian");
    }
    settings.lineSize = CppLineSize(lineSize);
    settings.valueSize = CppValueSize(valueSize);
    settings.format = format & static_cast<std::int32_t>(kCppFormatMask);
    settings.hexLineSize = hex != 0;
    return settings;
}

void SaveCppCopySettings(const CppCopySettings& settings)
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate) ||
        !key.OpenSub(kSettingsKey))
        return;
    key.WriteInt(static_cast<std::uint32_t>(settings.lineSize), "LineSize");
    key.WriteInt(static_cast<std::uint32_t>(settings.valueSize), "ValueSize");
    key.WriteInt(static_cast<std::uint32_t>(settings.format), "Format");
    key.WriteInt(settings.hexLineSize ? 1u : 0u, "BigEndian");
}

CppCopyDialog::CppCopyDialog(std::span<const std::uint8_t> selection, QWidget* parent, AnsiClock* clock)
    : NumberInputDialog(Params(selection), parent, clock), m_selection(selection)
{
}

void CppCopyDialog::accept()
{
    NumberInputDialog::accept();
    const NumberInputModel& model = Model();
    CppCopySettings settings;
    settings.lineSize = CppLineSize(model.Value()[0]);
    settings.valueSize = model.ByteCount();
    settings.format = model.Format();
    const QString field = findChild<QLineEdit*>(ControlName(1055))->text().trimmed();
    settings.hexLineSize = field.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive);
    SaveCppCopySettings(settings);
    const std::uint32_t format =
        static_cast<std::uint32_t>(settings.format) | (model.BigEndian() ? kCppBigEndian : 0u);
    m_text = QString::fromStdString(CppArrayText(m_selection, settings.valueSize, format, settings.lineSize));
}

int CopyEscapedSelection(std::span<const std::uint8_t> selection)
{
    return CopyToClipboard(QString::fromLatin1(EscapedSelectionText(selection)));
}

} // namespace dualvex
