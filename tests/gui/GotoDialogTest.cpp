// "Cursor setzen" typed into as a user does.
#include "DialogTestSupport.h"

#include "gui/tools/GotoDialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace dualvex {
namespace {

using test::Control;
using test::ShowActive;
using test::TypeInto;

TEST(GotoDialogTest, TypedExpressionsBecomeAddressesAndHistory)
{
    const struct {
        const char* text;
        bool accepted;
        std::uint32_t address;
    } cases[] = {{"0x100+20", true, 0x114}, {"4096", true, 4096}, {"0x20zz", true, 0x20}, {"zz", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TextList history({"0x1"});
        GotoDialog dialog(QStringLiteral("0x0"), history);
        ShowActive(dialog);
        auto* value = Control<QComboBox>(dialog, 1042);
        EXPECT_EQ(value->count(), 1);
        TypeInto(value, QString::fromLatin1(c.text), false);
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.Address(), c.address);
            EXPECT_EQ(history.At(0), c.text);
        } else {
            EXPECT_EQ(history, TextList({"0x1"}));
            EXPECT_EQ(test::Base(value->lineEdit()), ErrorFieldColor());
        }
    }
}

// A whole address with an offset is readable in the field without scrolling.
TEST(GotoDialogTest, TheFieldShowsAFullAddressWithAnOffset)
{
    TextList history;
    GotoDialog dialog(QStringLiteral("0x0001F000+0x100"), history);
    ShowActive(dialog);
    const QLineEdit* field = Control<QComboBox>(dialog, 1042)->lineEdit();
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(field->text()) + 4);
}

} // namespace
} // namespace dualvex
