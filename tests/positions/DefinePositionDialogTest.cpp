#include "DefinePositionDialog.h"
#include "SimFrame.h"
#include "StoredPositions.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using F = DefinePosition::Field;
using S = StoredSlots;

QPushButton* button(const QDialog& dialog, const QString& caption)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    ADD_FAILURE() << "no push button reads " << caption.toStdString();
    return nullptr;
}

const QGroupBox* enclosingGroup(const QWidget* w)
{
    for (const QObject* o = w->parent(); o; o = o->parent())
        if (auto* box = qobject_cast<const QGroupBox*>(o))
            return box;
    return nullptr;
}

QStringList fieldTexts(const DefinePositionDialog& dialog)
{
    return {dialog.field(F::X)->text(), dialog.field(F::Y)->text(), dialog.field(F::Z)->text()};
}

// A dialog on the simulated controller, shown offscreen.
struct Shown
{
    explicit Shown(const Position& initial, const QString& title = QStringLiteral("Define Position 1"))
        : definition(title, initial, frame.ops, frame.prompts)
        , dialog(definition)
    {
        dialog.show();
        exposed = QTest::qWaitForWindowExposed(&dialog);
    }

    void type(F field, const QString& text)
    {
        QLineEdit* edit = dialog.field(field);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    SimFrame frame;
    DefinePosition definition;
    DefinePositionDialog dialog;
    bool exposed = false;
};

class DefinePositionDialogTitle : public testing::TestWithParam<int>
{
};

TEST_P(DefinePositionDialogTitle, ComesFromTheStoredPosition)
{
    SimFrame f;
    DefinePosition d(StoredPositions::dialogTitle(GetParam()), Position{}, f.ops, f.prompts);
    DefinePositionDialog dialog(d);
    EXPECT_EQ(dialog.windowTitle(), StoredPositions::dialogTitle(GetParam()));
    EXPECT_TRUE(dialog.isModal());
}

INSTANTIATE_TEST_SUITE_P(EachStored, DefinePositionDialogTitle,
                         testing::Values(S::Home, S::Position1, S::Position2, S::Position3, S::Previous));

TEST(DefinePositionDialogLook, PositionGroupGetCurrentGroupAndButtons)
{
    SimFrame f;
    DefinePosition d(QStringLiteral("Previous Position"), Position{}, f.ops, f.prompts);
    DefinePositionDialog dialog(d);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Previous Position"));

    const auto* group = dialog.findChild<QGroupBox*>(QStringLiteral("positionGroup"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Position"));
    const QStringList names{"X", "Y", "Z"};
    for (int f = 0; f < 3; ++f) {
        const QString lower = names[f].toLower();
        const auto* label = dialog.findChild<QLabel*>(lower + "Label");
        const auto* unit = dialog.findChild<QLabel*>(lower + "Unit");
        QLineEdit* edit = dialog.field(static_cast<F>(f));
        ASSERT_NE(label, nullptr) << f;
        ASSERT_NE(unit, nullptr) << f;
        ASSERT_NE(edit, nullptr) << f;
        EXPECT_EQ(edit, dialog.findChild<QLineEdit*>(lower + "Edit"));
        EXPECT_EQ(label->text(), names[f]);
        EXPECT_EQ(unit->text(), QStringLiteral("um"));
        EXPECT_EQ(label->buddy(), edit);
        EXPECT_EQ(enclosingGroup(label), group);
        EXPECT_EQ(enclosingGroup(edit), group);
        EXPECT_EQ(enclosingGroup(unit), group);
        EXPECT_FALSE(edit->isReadOnly());
    }
    EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(), 3);

    QStringList pushCaptions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        pushCaptions << b->text();
    pushCaptions.sort();
    EXPECT_EQ(pushCaptions, QStringList({"Cancel", "Get Current Position", "OK"}));
    const QGroupBox* getCurrentGroup = enclosingGroup(button(dialog, "Get Current Position"));
    ASSERT_NE(getCurrentGroup, nullptr);
    EXPECT_NE(getCurrentGroup, group);
    EXPECT_EQ(getCurrentGroup->title(), QString()) << "an untitled group box";
    EXPECT_EQ(enclosingGroup(button(dialog, "OK")), nullptr);
    EXPECT_EQ(enclosingGroup(button(dialog, "Cancel")), nullptr);
    EXPECT_TRUE(button(dialog, "OK")->isDefault());
}

TEST(DefinePositionDialogLook, ShowsTheValuesItWasOpenedWith)
{
    for (const Position& p : {Position{-12700, 0, 345}, Position{20000, -99999, 7}, Position{0, 0, 0}}) {
        SimFrame f;
        DefinePosition d(QStringLiteral("Define Position 2"), p, f.ops, f.prompts);
        DefinePositionDialog dialog(d);
        EXPECT_EQ(fieldTexts(dialog),
                  QStringList({QString::number(p.x), QString::number(p.y), QString::number(p.z)}));
        EXPECT_EQ(dialog.focusWidget(), dialog.field(F::X));
    }
}

TEST(DefinePositionDialogGetCurrent, FillsTheFieldsFromTheController)
{
    Shown s(Position{1, 2, 3});
    ASSERT_TRUE(s.exposed);
    s.frame.placeController(Position{25000, -13, 12});
    s.type(F::X, "555");
    QTest::mouseClick(button(s.dialog, "Get Current Position"), Qt::LeftButton);
    EXPECT_EQ(fieldTexts(s.dialog), QStringList({"1000", "-1", "0"}));
    EXPECT_EQ(s.frame.port.written, hex("630D"));
    EXPECT_TRUE(s.dialog.isVisible());

    s.frame.placeController(Position{-337500, 0, 0}); // -13500 µm: shown as it is
    QTest::mouseClick(button(s.dialog, "Get Current Position"), Qt::LeftButton);
    EXPECT_EQ(fieldTexts(s.dialog), QStringList({"-13500", "0", "0"}));
    EXPECT_TRUE(s.frame.prompts.shown.isEmpty());
}

TEST(DefinePositionDialogGetCurrent, NoReplyLeavesTheFieldsAsTyped)
{
    qx410sim::Faults silent;
    silent.silent = true;
    Shown s(Position{1, 2, 3});
    s.frame.controller = qx410sim::SimController(silent);
    s.frame.prompts.answers = {Prompts::Answer::Yes};
    s.type(F::Y, "77");
    QTest::mouseClick(button(s.dialog, "Get Current Position"), Qt::LeftButton);
    EXPECT_EQ(s.frame.prompts.shown.size(), 1);
    EXPECT_EQ(fieldTexts(s.dialog), QStringList({"1", "77", "3"}));
    EXPECT_TRUE(s.dialog.isVisible());
}

struct Refusal
{
    F field;
    const char* text;
    const char* firstLine;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << "field " << r.field << " \"" << r.text << '"';
}

class DefinePositionDialogRefusal : public testing::TestWithParam<Refusal>
{
};

TEST_P(DefinePositionDialogRefusal, KeepsTheDialogOpenWithTheFocusOnTheField)
{
    const Refusal r = GetParam();
    Shown s(Position{1, 2, 3});
    ASSERT_TRUE(s.exposed);
    s.type(F::X, "10");
    s.type(F::Y, "20");
    s.type(F::Z, "30");
    s.type(r.field, r.text);
    s.dialog.field(F::X)->setFocus(); // somewhere else than the field at fault
    QTest::mouseClick(button(s.dialog, "OK"), Qt::LeftButton);

    EXPECT_TRUE(s.dialog.isVisible());
    EXPECT_EQ(s.dialog.result(), 0);
    ASSERT_EQ(s.frame.prompts.shown.size(), 1);
    const ScriptedPrompts::Shown& m = s.frame.prompts.shown[0];
    EXPECT_EQ(m.text, QString::fromUtf8(r.firstLine) + "\nPlease enter an integer between -12700 and 12700.");
    EXPECT_EQ(m.caption, QStringLiteral("Warning"));
    EXPECT_EQ(m.icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(m.buttons, Prompts::Buttons::Ok);
    QLineEdit* edit = s.dialog.field(r.field);
    EXPECT_EQ(s.dialog.focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), edit->text());
    EXPECT_EQ(edit->text(), QString::fromUtf8(r.text)) << "the operator's text stays to be corrected";
    EXPECT_FALSE(s.definition.result().accepted);
    EXPECT_EQ(s.definition.result().microns, (Position{1, 2, 3}));

    // Corrected, Enter presses OK.
    s.type(r.field, "-12700");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(s.dialog.isVisible());
    EXPECT_EQ(s.dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(s.definition.result().accepted);
    Position expected{10, 20, 30};
    (r.field == F::X ? expected.x : r.field == F::Y ? expected.y : expected.z) = -12700;
    EXPECT_EQ(s.definition.result().microns, expected);
    EXPECT_EQ(s.frame.prompts.shown.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Fields, DefinePositionDialogRefusal,
                         testing::Values(Refusal{F::X, "12701", "X is outside the allowed range."},
                                         Refusal{F::Y, "-12701", "Y is outside the allowed range."},
                                         Refusal{F::Z, "12701", "Z is outside the allowed range."},
                                         Refusal{F::X, "1.5", "X is not a whole number."},
                                         Refusal{F::Y, "", "Y is not a whole number."},
                                         Refusal{F::Z, "ten", "Z is not a whole number."}));

TEST(DefinePositionDialogClose, OkTakesTheBoundsCancelEscapeAndCloseBoxKeepTheHeldValues)
{
    {
        Shown s(Position{1, 2, 3});
        ASSERT_TRUE(s.exposed);
        s.type(F::X, "12700");
        s.type(F::Y, "-12700");
        s.type(F::Z, " +0 ");
        QTest::mouseClick(button(s.dialog, "OK"), Qt::LeftButton);
        EXPECT_EQ(s.dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(s.dialog.isVisible());
        EXPECT_EQ(s.definition.result().microns, (Position{12700, -12700, 0}));
        EXPECT_TRUE(s.frame.prompts.shown.isEmpty());
    }
    const std::function<void(DefinePositionDialog&)> closers[] = {
        [](DefinePositionDialog& d) { QTest::mouseClick(button(d, "Cancel"), Qt::LeftButton); },
        [](DefinePositionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](DefinePositionDialog& d) { d.close(); },
    };
    for (const auto& close : closers) {
        Shown s(Position{1, 2, 3});
        ASSERT_TRUE(s.exposed);
        QSignalSpy rejected(&s.dialog, &QDialog::rejected);
        s.type(F::X, "4");
        s.type(F::Y, "99999"); // never read
        close(s.dialog);
        EXPECT_EQ(rejected.count(), 1);
        EXPECT_FALSE(s.dialog.isVisible());
        EXPECT_FALSE(s.definition.result().accepted);
        EXPECT_EQ(s.definition.result().microns, (Position{1, 2, 3}));
        EXPECT_TRUE(s.frame.prompts.shown.isEmpty());
    }
}

TEST(DefinePositionDialogClose, CancelAfterGetCurrentPositionKeepsTheFetchedPosition)
{
    Shown s(Position{1, 2, 3});
    ASSERT_TRUE(s.exposed);
    s.frame.placeController(Position{2500, 5000, -7500});
    QTest::mouseClick(button(s.dialog, "Get Current Position"), Qt::LeftButton);
    s.type(F::Z, "8"); // typed after the fetch: not kept
    QTest::mouseClick(button(s.dialog, "Cancel"), Qt::LeftButton);
    EXPECT_EQ(s.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(s.definition.result().microns, (Position{100, 200, -300}));
    EXPECT_FALSE(s.definition.result().accepted);
}

// askWithDialog runs the real modal loop; a zero timer plays the operator. A
// second timer, which ends with the object, closes any dialog left up, so
// that a fault fails the test instead of hanging it.
struct OperatorPlay
{
    explicit OperatorPlay(std::function<void(DefinePositionDialog&)> operatorDoes)
    {
        QTimer::singleShot(0, &safety, [this, operatorDoes] {
            auto* dialog = qobject_cast<DefinePositionDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            played = true;
            operatorDoes(*dialog);
        });
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        safety.start(5000);
    }

    QTimer safety;
    bool played = false;
};

TEST(DefinePositionDialogAsk, DefineThroughTheModalDialogStoresItsResult)
{
    SimFrame f;
    f.placeController(Position{-2500, 0, 250});
    f.start();
    f.state.stored[S::Position2] = Position{11, 22, 33};
    StoredPositions positions(f.state, f.ops, f.prompts);
    const StoredPositions::Ask ask = [](DefinePosition& d) { return DefinePositionDialog::askWithDialog(nullptr, d); };

    QStringList shown;
    QString title;
    auto first = std::make_unique<OperatorPlay>([&](DefinePositionDialog& d) {
        title = d.windowTitle();
        shown = fieldTexts(d);
        d.field(F::X)->setText("-345");
        QTest::mouseClick(button(d, "OK"), Qt::LeftButton);
    });
    std::optional<DefinePositionResult> result = positions.define(S::Position2, ask);
    EXPECT_TRUE(first->played) << "the dialog was not shown modally";
    first.reset();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->accepted);
    EXPECT_EQ(title, QStringLiteral("Define Position 2"));
    EXPECT_EQ(shown, QStringList({"11", "22", "33"}));
    EXPECT_EQ(f.state.stored[S::Position2], (Position{-345, 22, 33}));

    OperatorPlay second([](DefinePositionDialog& d) {
        QTest::mouseClick(button(d, "Get Current Position"), Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    result = positions.define(S::Previous, ask);
    EXPECT_TRUE(second.played);
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->accepted);
    EXPECT_EQ(f.state.stored[S::Previous], (Position{-100, 0, 10}));
    EXPECT_EQ(f.port.written, hex("630D"));
}

} // namespace
