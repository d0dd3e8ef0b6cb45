#include "SettingsFile.h"
#include "SettingsValuesTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <clocale>
#include <cstring>
#include <functional>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

// --- Lines written and read back --------------------------------------------------------------

class SettingsLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SettingsLine, IsWrittenExactly)
{
    EXPECT_EQ(SettingsFile::format(GetParam().values), GetParam().line);
}

TEST_P(SettingsLine, ReadsBackTheValues)
{
    EXPECT_EQ(SettingsFile::parse(GetParam().line), GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsLine, ::testing::ValuesIn(lineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The step size token must be what printf "%g" gives (in the C locale the tests run in), for
// any finite float.
std::string stepTokenOf(float step)
{
    SettingsValues values;
    values.stepSize = step;
    const std::string line = SettingsFile::format(values);
    const std::string head = "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 ";
    const std::string tail = " 9600,N,8,1";
    EXPECT_EQ(line.compare(0, head.size(), head), 0) << line;
    EXPECT_GE(line.size(), head.size() + tail.size()) << line;
    EXPECT_EQ(line.compare(line.size() - tail.size(), tail.size(), tail), 0) << line;
    return line.substr(head.size(), line.size() - head.size() - tail.size());
}

std::string printfG(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

TEST(SettingsStepSize, IsWrittenLikePrintfG)
{
    const float fixed[] = { 250.0f, 250.5f, 1234567.0f, 999999.5f, 9999995.0f, 0.0001f, 0.00001f, 0.000099999f,
                            1e-38f, 3.4e38f, 1.17549435e-38f, 1e-45f, 123456.5f, -0.0f, 0.0f, -1.0f };
    for (const float value : fixed)
        EXPECT_EQ(stepTokenOf(value), printfG(value)) << "value " << value;

    std::mt19937 generator(20240607);
    std::uniform_int_distribution<std::uint32_t> bits;
    int checked = 0;
    while (checked < 20000) {
        const std::uint32_t pattern = bits(generator);
        float value = 0.0f;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value))
            continue;
        ASSERT_EQ(stepTokenOf(value), printfG(value)) << "bits 0x" << std::hex << pattern;
        ++checked;
    }
}

TEST(SettingsStepSize, KeepsOnlySixSignificantDigits)
{
    SettingsValues values;
    values.stepSize = 1234567.0f;
    const std::string line = SettingsFile::format(values);
    EXPECT_EQ(line, "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 1.23457e+06 9600,N,8,1");
    const auto reread = SettingsFile::parse(line);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->stepSize, 1234570.0f);
}

// Restores the process locale when it goes out of scope.
class CommaLocale
{
public:
    CommaLocale()
    {
        m_saved = std::setlocale(LC_ALL, nullptr);
        for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "German_Germany.1252" }) {
            if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
                m_active = true;
                return;
            }
        }
        std::setlocale(LC_ALL, m_saved.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return m_active; }

private:
    std::string m_saved;
    bool m_active = false;
};

// A GUI toolkit sets the process locale from the environment; the file must not change with it.
TEST(SettingsStepSize, DoesNotDependOnTheProcessLocale)
{
    CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const LineCase sample = lineCases()[1];
    EXPECT_EQ(SettingsFile::format(sample.values), sample.line);
    EXPECT_EQ(SettingsFile::parse(sample.line), sample.values);
}

// --- Files that do not count ------------------------------------------------------------------

struct InvalidCase
{
    const char* name;
    std::string content;
};

void PrintTo(const InvalidCase& c, std::ostream* os) { *os << c.name; }

class InvalidSettingsText : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidSettingsText, GivesNothing)
{
    EXPECT_FALSE(SettingsFile::parse(GetParam().content).has_value());
}

const std::string afterPort = " 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 9600,N,8,1";

INSTANTIATE_TEST_SUITE_P(Table, InvalidSettingsText, ::testing::Values(
    InvalidCase{"Empty", ""},
    InvalidCase{"OnlyWhiteSpace", " \t\r\n\v\f "},
    InvalidCase{"LowerCasePort", "com1" + afterPort},
    InvalidCase{"MixedCasePort", "Com1" + afterPort},
    InvalidCase{"PortCom10", "COM10" + afterPort},
    InvalidCase{"PortCom5", "COM5" + afterPort},
    InvalidCase{"PortCom0", "COM0" + afterPort},
    InvalidCase{"PortWithoutNumber", "COM" + afterPort},
    InvalidCase{"OtherPortName", "LPT1" + afterPort},
    InvalidCase{"PortLongerThanSeven", "COM1COM1" + afterPort},
    InvalidCase{"VeryLongPortToken", std::string(100000, 'C')},
    InvalidCase{"PortFollowedByNul", "COM1\0"s + afterPort},
    InvalidCase{"NulBeforePort", "\0COM1"s + afterPort},
    InvalidCase{"FramingOfSixteenCharacters", "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 19200,N,8,1,abcd"},
    InvalidCase{"VeryLongFraming", "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 " + std::string(5000, '9')}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Files read in part ----------------------------------------------------------------------

struct PartialCase
{
    const char* name;
    std::string content;
    std::function<void(SettingsValues&)> expect; // changes from the defaults
};

void PrintTo(const PartialCase& c, std::ostream* os) { *os << c.name; }

class PartialSettingsText : public ::testing::TestWithParam<PartialCase> {};

TEST_P(PartialSettingsText, ReadsUpToTheFirstUnreadableField)
{
    SettingsValues expected;
    GetParam().expect(expected);
    EXPECT_EQ(SettingsFile::parse(GetParam().content), expected);
}

const std::string fifteen = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15";

void allPositions(SettingsValues& v)
{
    v.positions = { { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 }, { 10, 11, 12 }, { 13, 14, 15 } } };
}

void allButFraming(SettingsValues& v)
{
    allPositions(v);
    v.velocity = 500;
    v.resolution = 1021;
    v.stepSize = 0.5f;
}

INSTANTIATE_TEST_SUITE_P(Table, PartialSettingsText, ::testing::Values(
    PartialCase{"BadNumberInTheMiddle", "COM2 1 2 abc 4 5 6 7 8 9 10 11 12 13 14 15 500 1021 0.5 2400,N,8,1",
        [](SettingsValues& v) { v.portName = "COM2"; v.positions[0] = {1, 2, 0}; }},
    PartialCase{"VelocityWithTrailingLetters", "COM1" + fifteen + " 12abc 1021 0.5 2400,N,8,1",
        [](SettingsValues& v) { allPositions(v); v.velocity = 12; }},
    PartialCase{"PortOnly", "COM3", [](SettingsValues& v) { v.portName = "COM3"; }},
    PartialCase{"FramingMissing", "COM1" + fifteen + " 500 1021 0.5", allButFraming},
    PartialCase{"FramingMissingAfterNewline", "COM1" + fifteen + " 500 1021 0.5\r\n", allButFraming},
    PartialCase{"WordsAfterFramingIgnored", "COM4" + fifteen + " 500 1021 0.5 2400,N,8,1 extra 99\n",
        [](SettingsValues& v) { allButFraming(v); v.portName = "COM4"; v.framing = "2400,N,8,1"; }},
    PartialCase{"PositionAboveInt32", "COM1 1 2 3 2147483648 5 6 7 8 9 10 11 12 13 14 15 500 1021 0.5 2400,N,8,1",
        [](SettingsValues& v) { v.positions[0] = {1, 2, 3}; }},
    PartialCase{"PositionBelowInt32", "COM1 -2147483649 2 3 4 5 6 7 8 9 10 11 12 13 14 15 500 1021 0.5 2400,N,8,1",
        [](SettingsValues&) {}},
    PartialCase{"PositionWithManyDigits", "COM1 1" + std::string(400, '0') + fifteen, [](SettingsValues&) {}},
    PartialCase{"PositionWithManyLeadingZeros", "COM1 " + std::string(400, '0') + "7 -0 +0012",
        [](SettingsValues& v) { v.positions[0] = {7, 0, 12}; }},
    PartialCase{"SignWithoutDigits", "COM1 1 + 5 4 5 6 7 8 9 10 11 12 13 14 15 500 1021 0.5 2400,N,8,1",
        [](SettingsValues& v) { v.positions[0][0] = 1; }},
    PartialCase{"DoubleSign", "COM1 1 --5 4 5 6 7 8 9 10 11 12 13 14 15 500 1021 0.5 2400,N,8,1",
        [](SettingsValues& v) { v.positions[0][0] = 1; }},
    PartialCase{"FractionInPosition", "COM1 1.5 2 3",
        [](SettingsValues& v) { v.positions[0][0] = 1; }},
    PartialCase{"ResolutionAboveInt", "COM1" + fifteen + " 500 2147483648 0.5 2400,N,8,1",
        [](SettingsValues& v) { allPositions(v); v.velocity = 500; }},
    PartialCase{"OtherResolutionKeptAsRead", "COM1" + fifteen + " 500 -7 0.5 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.resolution = -7; v.framing = "2400,N,8,1"; }},
    PartialCase{"StepExponentWithoutDigits", "COM1" + fifteen + " 500 1021 1e 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.stepSize = 250.0f; }},
    PartialCase{"StepInfinity", "COM1" + fifteen + " 500 1021 inf 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.stepSize = 250.0f; }},
    PartialCase{"StepNan", "COM1" + fifteen + " 500 1021 nan 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.stepSize = 250.0f; }},
    PartialCase{"StepPointOnly", "COM1" + fifteen + " 500 1021 . 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.stepSize = 250.0f; }},
    // As with stream extraction, the framing token starts right where the step size number ends.
    PartialCase{"StepWithTrailingLetters", "COM1" + fifteen + " 500 1021 0.5x 2400,N,8,1",
        [](SettingsValues& v) { allButFraming(v); v.framing = "x"; }},
    PartialCase{"NulEndsANumber", "COM1 12\0 34 56"s, [](SettingsValues& v) { v.positions[0][0] = 12; }},
    PartialCase{"HighBytesEndANumber", "COM1 12\xff\xfe 34 56", [](SettingsValues& v) { v.positions[0][0] = 12; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Hand-edited values beyond what the program can use are held within range, and the rest of the
// file is kept: a velocity above 32767 would set the resolution bit of the velocity command, and a
// step size beyond 32 bits would be cast to an integer for the step-size box.
struct ClampCase
{
    const char* velocity;
    const char* stepSize;
    std::uint16_t heldVelocity;
    float heldStepSize;
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.velocity << ' ' << c.stepSize; }

class OutOfRangeSettings : public ::testing::TestWithParam<ClampCase> {};

TEST_P(OutOfRangeSettings, AreHeldWithinRangeAndTheRestIsKept)
{
    const auto values = SettingsFile::parse("COM2" + fifteen + " " + GetParam().velocity + " 1021 "
                                            + GetParam().stepSize + " 19200,N,8,1");
    ASSERT_TRUE(values);
    SettingsValues expected;
    allPositions(expected);
    expected.portName = "COM2";
    expected.velocity = GetParam().heldVelocity;
    expected.resolution = 1021;
    expected.stepSize = GetParam().heldStepSize;
    expected.framing = "19200,N,8,1";
    EXPECT_EQ(*values, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, OutOfRangeSettings, ::testing::Values(
    ClampCase{"32767", "1e30", 32767, SettingsFile::maxStepSize},
    ClampCase{"32768", "-1e30", 32767, SettingsFile::minStepSize},
    ClampCase{"65536", "1e400", 32767, SettingsFile::maxStepSize},
    ClampCase{"99999999999999999999999", "-1e400", 32767, SettingsFile::minStepSize},
    ClampCase{"-1", "1e-50", 0, 0.0f},
    ClampCase{"-4294967295", "2147483648", 0, SettingsFile::maxStepSize},
    ClampCase{"0", "-2147483648", 0, -2147483648.0f}));

// The forms a step size may take.
struct StepCase
{
    const char* name;
    const char* token;
    float value;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.token; }

class StepSizeToken : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepSizeToken, IsReadWithTheFramingAfterIt)
{
    const auto values = SettingsFile::parse("COM1" + fifteen + " 500 1021 " + GetParam().token + " 2400,N,8,1");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->stepSize, GetParam().value);
    EXPECT_EQ(values->framing, "2400,N,8,1");
}

INSTANTIATE_TEST_SUITE_P(Table, StepSizeToken, ::testing::Values(
    StepCase{"Integer", "250", 250.0f},
    StepCase{"Fraction", "250.5", 250.5f},
    StepCase{"LeadingPoint", ".5", 0.5f},
    StepCase{"TrailingPoint", "5.", 5.0f},
    StepCase{"PlusSign", "+3", 3.0f},
    StepCase{"NegativeWithExponent", "-2.5e-1", -0.25f},
    StepCase{"UpperCaseExponent", "2E2", 200.0f},
    StepCase{"SignedExponent", "1.5e+2", 150.0f},
    StepCase{"LeadingZeros", "007.25", 7.25f},
    StepCase{"WrittenForm", "1.23457e+06", 1234570.0f},
    StepCase{"LargestWholeFloatBelow2To31", "2147483520", 2147483520.0f}),
    [](const auto& info) { return std::string(info.param.name); });

// --- White space between tokens ----------------------------------------------------------------

struct SpacingCase
{
    const char* name;
    std::string separator;
    std::string before;
    std::string after;
};

void PrintTo(const SpacingCase& c, std::ostream* os) { *os << c.name; }

class SettingsSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(SettingsSpacing, AnyWhiteSpaceSeparatesTokens)
{
    const LineCase sample = lineCases()[1];
    std::string content = GetParam().before;
    for (const char c : sample.line)
        content += c == ' ' ? GetParam().separator : std::string(1, c);
    content += GetParam().after;
    EXPECT_EQ(SettingsFile::parse(content), sample.values);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsSpacing, ::testing::Values(
    SpacingCase{"SingleSpaces", " ", "", ""},
    SpacingCase{"SeveralSpaces", "   ", "", ""},
    SpacingCase{"Tabs", "\t", "", ""},
    SpacingCase{"Newlines", "\n", "", "\n"},
    SpacingCase{"CarriageReturnNewlines", "\r\n", "", "\r\n"},
    SpacingCase{"Mixed", " \t\r\n\v\f ", "\n\n  \t", " \n\n"},
    SpacingCase{"LeadingBlankLines", " ", "\r\n\r\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Garbage ------------------------------------------------------------------------------------

// Whatever the bytes, reading neither crashes nor overruns (the sanitizers watch), and anything it
// accepts has a valid port name and a framing string within its limit.
void expectSaneResult(const std::string& content)
{
    const auto values = SettingsFile::parse(content);
    if (!values)
        return;
    EXPECT_TRUE(values->portName == "COM1" || values->portName == "COM2" || values->portName == "COM3"
                || values->portName == "COM4");
    EXPECT_FALSE(values->framing.empty());
    EXPECT_LE(values->framing.size(), 15u);
}

TEST(SettingsGarbage, RandomBytesAreHandled)
{
    std::mt19937 generator(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 300);
    for (int i = 0; i < 3000; ++i) {
        std::string content(static_cast<std::size_t>(length(generator)), '\0');
        for (char& c : content)
            c = static_cast<char>(byte(generator));
        expectSaneResult(content);
        expectSaneResult("COM1 " + content);
    }
}

TEST(SettingsGarbage, NumberLikeBytesAfterAValidPortAreHandled)
{
    // Bytes the number readers look at, to drive them through their edge cases.
    const std::string alphabet = "0123456789+-.eE \t\n"s + '\0' + "\xff" + "x";
    std::mt19937 generator(777);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 200);
    for (int i = 0; i < 5000; ++i) {
        std::string content = "COM2 ";
        for (int n = length(generator); n > 0; --n)
            content += alphabet[pick(generator)];
        const auto values = SettingsFile::parse(content);
        ASSERT_TRUE(values) << content;
        EXPECT_EQ(values->portName, "COM2");
        EXPECT_TRUE(std::isfinite(values->stepSize));
        EXPECT_LE(values->framing.size(), 15u);
    }
}

TEST(SettingsGarbage, EveryPrefixOfALineIsReadSafely)
{
    const std::string line = lineCases()[2].line;
    for (std::size_t n = 0; n <= line.size(); ++n) {
        const std::string prefix = line.substr(0, n);
        EXPECT_EQ(SettingsFile::parse(prefix).has_value(), n >= 4) << prefix;
    }
}

// --- Baud rate from the framing string --------------------------------------------------------

struct BaudCase
{
    const char* framing;
    const char* baud;
};

void PrintTo(const BaudCase& c, std::ostream* os) { *os << '"' << c.framing << "\" -> " << c.baud; }

class BaudText : public ::testing::TestWithParam<BaudCase> {};

TEST_P(BaudText, IsTheSupportedRateBeforeTheFirstCommaOr9600)
{
    EXPECT_EQ(SettingsFile::baudTextOf(GetParam().framing), GetParam().baud);
}

INSTANTIATE_TEST_SUITE_P(Table, BaudText, ::testing::Values(
    BaudCase{"9600,N,8,1", "9600"},
    BaudCase{"2400,E,7,1", "2400"},
    BaudCase{"4800,O,8,2", "4800"},
    BaudCase{"19200,N,8,1", "19200"},
    BaudCase{"19200", "19200"},
    BaudCase{"4800,", "4800"},
    BaudCase{"38400,N,8,1", "9600"},
    BaudCase{"1200,N,8,1", "9600"},
    BaudCase{"192000,N,8,1", "9600"},
    BaudCase{"1920,N,8,1", "9600"},
    BaudCase{" 2400,N,8,1", "9600"},
    BaudCase{"2400 ,N,8,1", "9600"},
    BaudCase{"N,2400,8,1", "9600"},
    BaudCase{",2400", "9600"},
    BaudCase{"", "9600"}));

} // namespace
