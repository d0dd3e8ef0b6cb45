// The number dialogs of the controller-program dialogs: OK takes only a whole
// number within the range; anything else gets the range message and the
// dialog stays open.

#include "NumberEntryDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

namespace {

struct EntryCase
{
    const char* name;
    const char* text;
    std::optional<int> accepted;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class NumberEntryTable : public testing::TestWithParam<EntryCase>
{
};

TEST_P(NumberEntryTable, OkTakesOnlyANumberInRange)
{
    NumberEntryDialog dialog(QStringLiteral("Program Destination"), QStringLiteral("Enter Program Number (1..10)"), 1,
                             1, 10);
    QStringList refusals;
    dialog.setRefusal([&](const QString& caption, const QString& text) { refusals << caption + "|" + text; });
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("number"))->setText(QString::fromLatin1(GetParam().text));
    dialog.accept();
    if (GetParam().accepted) {
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.value(), GetParam().accepted);
        EXPECT_TRUE(refusals.isEmpty());
    } else {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(refusals, QStringList{QStringLiteral("Program Destination|Please enter an integer between 1 and 10.")});
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, NumberEntryTable,
                         testing::Values(EntryCase{"first", "1", 1}, EntryCase{"last", "10", 10},
                                         EntryCase{"blanksAround", " 7 ", 7}, EntryCase{"zero", "0", std::nullopt},
                                         EntryCase{"eleven", "11", std::nullopt},
                                         EntryCase{"fraction", "2.5", std::nullopt},
                                         EntryCase{"letters", "ab", std::nullopt},
                                         EntryCase{"empty", "", std::nullopt}));

TEST(NumberEntryDialog, OpensShowingTheInitialNumberUnderItsLabel)
{
    NumberEntryDialog dialog(QStringLiteral("Select Controller Program"),
                             QStringLiteral("Enter Previously Saved Program Number (1..10)"), 1, 1, 10);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Controller Program"));
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("number"))->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), QStringLiteral("Enter Previously Saved Program Number (1..10)"));
}

} // namespace
