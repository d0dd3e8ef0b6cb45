#include "TravelLimitsDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "WidgetProbe.h"

#include <gtest/gtest.h>

namespace {

using WidgetProbe::child;

// The dialog only binds its widgets to the hooks: a field's button fills
// that field, every edit rewrites the check line, and OK closes only when
// applied, else the field named takes the focus.
TEST(TravelLimitsDialog, BindsFieldsButtonsCheckLineAndOkToItsHooks)
{
    QList<int> asked;
    bool applyNow = false;
    TravelLimitsDialog::Hooks hooks;
    hooks.fromCurrent = [&](int field) -> std::optional<QString> {
        asked << field;
        return QStringLiteral("-5000");
    };
    hooks.check = [](const TravelLimitsChoice& c) { return QStringLiteral("check ") + c.fields[4]; };
    hooks.apply = [&](const TravelLimitsChoice&, int* badField) {
        *badField = 3;
        return applyNow;
    };
    TravelLimitsChoice initial;
    initial.fields[1] = QStringLiteral("12.5");
    TravelLimitsDialog dialog(initial, hooks);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Travel Limits"));
    EXPECT_EQ(dialog.choice().fields, initial.fields);
    EXPECT_EQ(child<QLabel>(dialog, "checkLine")->text(), QStringLiteral("check "));

    child<QPushButton>(dialog, "fromCurrent4")->click();
    EXPECT_EQ(asked, QList<int> { 4 });
    EXPECT_EQ(child<QLineEdit>(dialog, "field4")->text(), QStringLiteral("-5000"));
    EXPECT_EQ(child<QLabel>(dialog, "checkLine")->text(), QStringLiteral("check -5000"));

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    child<QPushButton>(dialog, "okButton")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(child<QLineEdit>(dialog, "field3")->hasFocus());
    applyNow = true;
    child<QPushButton>(dialog, "okButton")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
