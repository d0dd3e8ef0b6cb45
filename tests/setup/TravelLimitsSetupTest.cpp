#include "TravelLimitsSetup.h"
#include "HardwareRig.h"
#include "Printing.h"
#include "TempFiles.h"
#include "TravelLimitsText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Bench : HardwareRig {
    Bench() { layer.setLimitsFolder(dir.path()); }

    QTemporaryDir dir;
    TravelLimitsSetup setup { layer, prompts };

    QString limitsFile() const { return dir.filePath(QString::fromLatin1(TravelLimitsText::fileName)); }
    // The manipulator reported at p (microsteps).
    void standAt(const Position& p)
    {
        placeController(p);
        layer.getPosition();
        mark();
    }
};

TravelLimitsChoice fields(std::initializer_list<const char*> texts)
{
    TravelLimitsChoice c;
    int f = 0;
    for (const char* t : texts)
        c.fields[static_cast<std::size_t>(f++)] = QString::fromUtf8(t);
    return c;
}

// OK with six fields: applied (the limits in force and in the file) or
// refused (the message, the field to correct, nothing changed or written).
struct OkCase {
    const char* name;
    TravelLimitsChoice choice;
    // Applied: the ranges in microsteps, per axis lower then upper.
    std::array<std::optional<std::int64_t>, 6> limits;
    int badField; // -1 when applied
    const char* refusal;
};

void PrintTo(const OkCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr std::optional<std::int64_t> none = std::nullopt;

class TravelLimitsOk : public testing::TestWithParam<OkCase> { };

TEST_P(TravelLimitsOk, AppliesAndSavesOrNamesTheField)
{
    const OkCase& c = GetParam();
    Bench b;
    int badField = 99;
    const bool applied = b.setup.accept(c.choice, &badField);

    if (c.refusal) {
        EXPECT_FALSE(applied);
        EXPECT_EQ(badField, c.badField);
        ASSERT_EQ(b.prompts.shown.size(), 1);
        EXPECT_EQ(b.prompts.shown[0].text, QString::fromUtf8(c.refusal));
        EXPECT_EQ(b.prompts.shown[0].caption, QStringLiteral("Warning"));
        EXPECT_EQ(b.prompts.shown[0].icon, Prompts::Icon::Exclamation);
        EXPECT_FALSE(b.layer.travelLimits().any());
        EXPECT_FALSE(QFile::exists(b.limitsFile()));
        return;
    }
    EXPECT_TRUE(applied);
    EXPECT_EQ(badField, -1);
    EXPECT_TRUE(b.prompts.shown.isEmpty());
    TravelLimits expected;
    for (int axis = 0; axis < 3; ++axis)
        ASSERT_TRUE(expected.setRange(
            axis, { c.limits[static_cast<std::size_t>(2 * axis)], c.limits[static_cast<std::size_t>(2 * axis + 1)] }));
    EXPECT_EQ(b.layer.travelLimits(), expected);
    // Written only when they changed: none set over none in force leaves no file.
    if (expected.any())
        EXPECT_EQ(TempFiles::read(b.limitsFile()), QByteArray::fromStdString(TravelLimitsText::format(expected)));
    else
        EXPECT_FALSE(QFile::exists(b.limitsFile()));
    EXPECT_EQ(b.sent(), QByteArray()) << "the controller does not know the limits";
}

INSTANTIATE_TEST_SUITE_P(Fields, TravelLimitsOk,
    testing::Values(OkCase { "AllEmptyIsNoLimits", fields({ "", " ", "", "", "", "" }), {}, -1, nullptr },
        OkCase { "ZFloorAlone", fields({ "", "", "", "", "-5000", "" }), { none, none, none, none, -125000, none }, -1,
            nullptr },
        OkCase { "FractionsAndBlanks", fields({ " -12.52 ", "0.04", "", "", "", "" }),
            { -313, 1, none, none, none, none }, -1, nullptr },
        OkCase { "LowerEqualsUpper", fields({ "", "", "100", "+100", "", "" }), { none, none, 2500, 2500, none, none },
            -1, nullptr },
        OkCase { "NotANumber", fields({ "", "abc", "", "", "", "" }), {}, 1,
            "The X upper limit must be a number of micrometres, such as -5000 or 12.52, or empty for none." },
        OkCase { "ZFloorWithExponent", fields({ "", "", "", "", "1e3", "" }), {}, 4,
            "The Z floor must be a number of micrometres, such as -5000 or 12.52, or empty for none." },
        OkCase { "LowerAboveUpper", fields({ "", "", "200", "100.52", "", "" }), {}, 2,
            "The Y lower limit (200 µm) lies above the Y upper limit (100.52 µm)." },
        OkCase { "ZFloorAboveUpper", fields({ "", "", "", "", "10", "-10" }), {}, 4,
            "The Z floor (10 µm) lies above the Z upper limit (-10 µm)." }),
    [](const testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

// The check line against where the controller last reported the manipulator
// (X 200 µm, Y 0, Z -6000 µm).
struct CheckCase {
    const char* name;
    TravelLimitsChoice choice;
    const char* line; // nullptr: the field's own refusal
};

void PrintTo(const CheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class TravelLimitsCheckLine : public testing::TestWithParam<CheckCase> { };

TEST_P(TravelLimitsCheckLine, SaysWhereTheManipulatorStands)
{
    const CheckCase& c = GetParam();
    Bench b;
    b.standAt(Position { 200 * 25, 0, -6000 * 25 });
    QString error;
    TravelLimitsSetup::parse(c.choice, &error);
    EXPECT_EQ(b.setup.positionCheck(c.choice), c.line ? QString::fromUtf8(c.line) : error);
    EXPECT_EQ(b.sent(), QByteArray()) << "the line is worked out from the last report";
}

INSTANTIATE_TEST_SUITE_P(Lines, TravelLimitsCheckLine,
    testing::Values(CheckCase { "NoLimits", fields({}), "No travel limits are set: every target is allowed." },
        CheckCase { "Within", fields({ "", "200", "", "", "-6000", "" }), "The manipulator stands within the limits." },
        CheckCase { "BelowTheZFloor", fields({ "", "", "", "", "-5000", "" }),
            "The manipulator stands outside the limits: Z = -6000 µm lies below the Z floor of -5000 µm." },
        CheckCase { "AboveXUpper", fields({ "", "199.96", "", "", "", "" }),
            "The manipulator stands outside the limits: X = 200 µm lies above the X upper limit of 199.96 µm." },
        CheckCase { "FieldInError", fields({ "x" }), nullptr }),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(TravelLimitsSetup, OpensWithTheLimitsInForce)
{
    Bench b;
    TravelLimits limits;
    limits.setRange(0, { -313, std::nullopt });
    limits.setRange(2, { std::nullopt, 125000 });
    b.layer.setTravelLimits(limits);
    std::optional<TravelLimitsChoice> asked;
    b.setup.run([&](const TravelLimitsChoice& initial, const TravelLimitsSetup::Apply&) {
        asked = initial;
        return false;
    });
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->fields, fields({ "-12.52", "", "", "", "", "5000" }).fields);
}

TEST(TravelLimitsSetup, NothingOpensDuringAMove)
{
    Bench b;
    b.state.busy = true;
    bool asked = false;
    EXPECT_FALSE(b.setup.run([&](const TravelLimitsChoice&, const TravelLimitsSetup::Apply&) { return asked = true; }));
    EXPECT_FALSE(asked);
}

TEST(TravelLimitsSetup, SetFromCurrentPositionAsksTheControllerButNeverDuringAMove)
{
    Bench b;
    b.placeController(Position { 5001, -25, -125000 });
    EXPECT_EQ(b.setup.fromCurrentPosition(TravelLimitsChoice::field(0, false)), QStringLiteral("200.04"));
    EXPECT_EQ(b.sent(), Commands::positionQuery());
    EXPECT_EQ(b.setup.fromCurrentPosition(TravelLimitsChoice::field(2, true)), QStringLiteral("-5000"));

    b.mark();
    b.state.busy = true;
    EXPECT_EQ(b.setup.fromCurrentPosition(TravelLimitsChoice::field(1, true)), std::nullopt);
    EXPECT_EQ(b.sent(), QByteArray());
}

TEST(TravelLimitsSetup, AFileThatCannotBeWrittenKeepsTheLimitsInForce)
{
    Bench b;
    TravelLimits before;
    before.setRange(1, { 0, 2500 });
    b.layer.setTravelLimits(before);
    b.layer.setLimitsFolder(b.dir.filePath(QStringLiteral("no-such-folder")));
    EXPECT_FALSE(b.setup.accept(fields({ "", "", "", "", "-5000", "" })));
    ASSERT_EQ(b.prompts.shown.size(), 1);
    EXPECT_TRUE(b.prompts.shown[0].text.startsWith(b.dir.filePath(QStringLiteral("no-such-folder/Qx410.limits"))));
    EXPECT_TRUE(b.prompts.shown[0].text.endsWith(QStringLiteral("\nThe travel limits in force stay as they were.")));
    EXPECT_EQ(b.layer.travelLimits(), before);
}

} // namespace
