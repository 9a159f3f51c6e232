#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "core/support/CSettingsKey.h"
#include "gui/app/CInstanceChannel.h"
#include "gui/app/COpenFilesDialog.h"
#include "gui/support/ComboHelpers.h"
#include "gui/support/FileDialogSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace dualvex;

namespace {

template <typename T> T* Child(QWidget& parent, int id)
{
    T* child = parent.findChild<T*>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(child, nullptr) << id;
    return child;
}

QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

void ClearHistory()
{
    CSettingsKey key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate));
    key.WriteList(std::vector<std::string>{}, "File1");
    key.WriteList(std::vector<std::string>{}, "File2");
}

} // namespace

TEST(COpenFilesDialog, PresetsReachTheControlsAndOkReturnsThem)
{
    ClearHistory();
    COpenFilesDialog dialog({QStringLiteral("/a/one.bin"), QStringLiteral("/b/two.hex"), true, false, true},
                            false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dateien öffenen"));
    EXPECT_EQ(Child<QComboBox>(dialog, 1052)->currentText(), QStringLiteral("/a/one.bin"));
    EXPECT_TRUE(Child<QCheckBox>(dialog, 1053)->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, 1056)->isChecked());
    Child<QComboBox>(dialog, 1054)->setEditText(QStringLiteral("/c/three.bin"));
    Child<QCheckBox>(dialog, 1055)->setChecked(true);
    Child<QPushButton>(dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().secondPath, QStringLiteral("/c/three.bin"));
    EXPECT_TRUE(dialog.Result().firstIsHex);
}

TEST(COpenFilesDialog, EmptyFieldsGiveEmptyPaths)
{
    ClearHistory();
    COpenFilesDialog dialog({}, false);
    Child<QPushButton>(dialog, 1)->click();
    EXPECT_TRUE(dialog.Result().firstPath.isEmpty());
    EXPECT_TRUE(dialog.Result().secondPath.isEmpty());
}

TEST(COpenFilesDialog, ConfirmedPathLeadsTheHistoryNextTime)
{
    ClearHistory();
    for (const char* path : {"/x/a", "/x/b", "/x/a"}) {
        COpenFilesDialog dialog({QString::fromUtf8(path), QString(), false, false, false}, false);
        Child<QPushButton>(dialog, 1)->click();
    }
    COpenFilesDialog dialog({}, false);
    EXPECT_EQ(Items(Child<QComboBox>(dialog, 1052)),
              (QStringList{QStringLiteral("/x/a"), QStringLiteral("/x/b")}));
    EXPECT_EQ(Child<QComboBox>(dialog, 1052)->currentText(), QString());
}

TEST(COpenFilesDialog, BrowseReplacesThePathAndCancelKeepsIt)
{
    ClearHistory();
    COpenFilesDialog dialog({QStringLiteral("/keep"), QString(), false, false, false}, false);
    QString offered;
    FileDialogSeam::SetHandler([&](QWidget*, const QString& initial) {
        offered = initial;
        return QString();
    });
    Child<QToolButton>(dialog, 1038)->click();
    EXPECT_EQ(offered, QStringLiteral("/keep"));
    EXPECT_EQ(Child<QComboBox>(dialog, 1052)->currentText(), QStringLiteral("/keep"));
    FileDialogSeam::SetHandler([](QWidget*, const QString&) { return QStringLiteral("/chosen/file"); });
    Child<QToolButton>(dialog, 1045)->click();
    EXPECT_EQ(Child<QComboBox>(dialog, 1054)->currentText(), QStringLiteral("/chosen/file"));
    FileDialogSeam::SetHandler({});
}

TEST(COpenFilesDialog, HandOverMessageOutsideHandOverModeDoesNothing)
{
    COpenFilesDialog dialog({}, false);
    dialog.show();
    dialog.OnHandOverMessage();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(COpenFilesDialog, HandOverModeGivesWayAndRemembersItsPosition)
{
    COpenFilesDialog dialog({QStringLiteral("/w/a"), QString(), false, false, false}, true);
    dialog.show();
    dialog.move(123, 77);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    ASSERT_TRUE(test::NotifyFromAnotherThread()); // confirmed only once it gave way
    ASSERT_EQ(rejected.count(), 1);
    CSettingsKey key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead));
    std::int32_t x = -1, y = -1;
    EXPECT_TRUE(key.ReadInt(x, "OpenDialogX"));
    EXPECT_TRUE(key.ReadInt(y, "OpenDialogY"));
    EXPECT_EQ(x, dialog.pos().x());
    EXPECT_EQ(y, dialog.pos().y());
}

TEST(COpenFilesDialog, StoredPositionOutsideTheScreenIsIgnored)
{
    {
        CSettingsKey key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate));
        key.WriteInt(100000u, "OpenDialogX");
        key.WriteInt(5u, "OpenDialogY");
    }
    COpenFilesDialog dialog({}, true);
    EXPECT_NE(dialog.pos().x(), 100000);
}
