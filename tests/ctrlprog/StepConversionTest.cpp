// Command files to program steps and uploaded steps back to lines.

#include "ProgramFileReader.h"
#include "UploadLines.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kLow1000 = 1000;

ProgramFileReader::Result readText(const std::string& text, std::uint16_t startWord = kLow1000,
                                   const TravelLimits& limits = TravelLimits())
{
    std::istringstream in(text);
    return ProgramFileReader::read(in, startWord, limits);
}

struct ReaderCase
{
    const char* name;
    std::string text;
    std::vector<StepValues> steps;
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

class ReaderTable : public testing::TestWithParam<ReaderCase>
{
};

TEST_P(ReaderTable, GivesTheSteps)
{
    const ProgramFileReader::Result r = readText(GetParam().text);
    ASSERT_EQ(r.outcome, ProgramFileReader::Outcome::Loaded);
    EXPECT_EQ(r.steps, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReaderTable,
    testing::Values(
        ReaderCase{"moveAndPause", "Move,10,-20,3\r\nPause\r\n", {{1000, 250, -500, 75}, {0, 0, 0, 0}}},
        ReaderCase{"fractionDroppedFirst", "Move, 1.9, 2, 3\r\n", {{1000, 25, 50, 75}}},
        ReaderCase{"missingFields", "Move,5\r\n", {{1000, 125, 0, 0}}},
        ReaderCase{"velocityCarried", "High, 1000\r\nMove,0,0,0\r\nMove,1,0,0\r\nLow, 500\r\nMove,2,0,0\r\n",
                   {{33768, 0, 0, 0}, {33768, 25, 0, 0}, {500, 50, 0, 0}}},
        ReaderCase{"lowerCaseSkippedLowestIsLow", "move,1,2,3\r\nLowest,7\r\nMove,1,1,1\r\n", {{7, 25, 25, 25}}},
        ReaderCase{"pauseWithBlanks", "Pause   \r\nStatus, 1,2\r\n\r\n", {{0, 0, 0, 0}}},
        ReaderCase{"moveAtVelocityZero", "Low, 0\r\nMove,0,0,0\r\n", {{0, 0, 0, 0}}},
        ReaderCase{"lastLineWithoutLf", "Move,1,2,3", {{1000, 25, 50, 75}}},
        // The keyword buffer holds 20 characters: a 19-character keyword
        // starting with Move is still a move.
        ReaderCase{"longKeyword", "Movement-of-the-arm,4\r\n", {{1000, 100, 0, 0}}}));

TEST(ProgramFileReader, StartWordComesFromTheSettings)
{
    EXPECT_EQ(readText("Move,1,1,1\r\n", 0x8000 | 250).steps.front().velocity, 0x8000 | 250);
}

struct RefusalCase
{
    const char* name;
    std::string text;
    ProgramFileReader::Outcome outcome;
    std::size_t line;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class RefusalTable : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(RefusalTable, LoadsNothing)
{
    const ProgramFileReader::Result r = readText(GetParam().text);
    EXPECT_EQ(r.outcome, GetParam().outcome);
    EXPECT_TRUE(r.steps.empty());
    EXPECT_EQ(r.line, GetParam().line);
}

std::string pauses(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += "Pause\r\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusalTable,
    testing::Values(RefusalCase{"noStep", "High, 5\r\nStatus, 1\r\n", ProgramFileReader::Outcome::NoSteps, 0},
                    RefusalCase{"empty", "", ProgramFileReader::Outcome::NoSteps, 0},
                    // 85899345 um is the last that fits as microsteps.
                    RefusalCase{"moveTooFar", "Move,85899345,0,0\r\nMove,0,-85899346,0\r\n",
                                ProgramFileReader::Outcome::Refused, 2},
                    RefusalCase{"numberTooLong", "Pause\r\nHigh, 000000001000\r\nMove,1,2,3\r\n",
                                ProgramFileReader::Outcome::Refused, 2},
                    RefusalCase{"tooManySteps", pauses(32768), ProgramFileReader::Outcome::TooManySteps, 0}));

TEST(ProgramFileReader, TakesTheMostStepsTheCountCanAnnounce)
{
    EXPECT_EQ(readText(pauses(32767)).steps.size(), 32767u);
}

TEST(ProgramFileReader, UnreadableFileCannotLoad)
{
    EXPECT_EQ(ProgramFileReader::load("/nonexistent/file.dat", kLow1000, TravelLimits()).outcome,
              ProgramFileReader::Outcome::CannotLoad);
    EXPECT_EQ(ProgramFileReader::load("/", kLow1000, TravelLimits()).outcome, ProgramFileReader::Outcome::CannotLoad);
    EXPECT_EQ(ProgramFileReader::load("/dev/zero", kLow1000, TravelLimits()).outcome, ProgramFileReader::Outcome::CannotLoad);
}

TEST(ProgramFileReader, AMoveOutsideTheTravelLimitsRefusesTheFile)
{
    TravelLimits limits;
    limits.setRange(2, {-5000 * 25, std::nullopt});
    // A pause step is no target; the floor itself is allowed.
    const ProgramFileReader::Result inside = readText("Pause\r\nMove,0,0,-5000\r\n", kLow1000, limits);
    EXPECT_EQ(inside.outcome, ProgramFileReader::Outcome::Loaded);
    const ProgramFileReader::Result r = readText("Move,0,0,-5000\r\nPause\r\nMove,0,0,-6000\r\n", kLow1000, limits);
    EXPECT_EQ(r.outcome, ProgramFileReader::Outcome::OutsideLimits);
    EXPECT_EQ(r.line, 3u);
    EXPECT_TRUE(r.steps.empty());
    EXPECT_EQ(TravelLimits::lineReason(r.breach), "moves to Z = -6000 µm, below the Z floor of -5000 µm");
}

struct LinesCase
{
    const char* name;
    std::vector<StepValues> steps;
    std::vector<std::string> lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

class UploadTable : public testing::TestWithParam<LinesCase>
{
};

TEST_P(UploadTable, WritesTheLines)
{
    EXPECT_EQ(UploadLines::of(GetParam().steps), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, UploadTable,
    testing::Values(
        LinesCase{"threeSteps",
                  {{1000, 250, -500, 75}, {1000, 0, 0, 0}, {0, 0, 0, 0}},
                  {"Low,  1000", "Move, 10, -20, 3", "Move, 0, 0, 0", "Pause  "}},
        LinesCase{"highResolution", {{-31768, 0, 0, 0}}, {"High,  1000", "Move, 0, 0, 0"}},
        LinesCase{"oneSpeedLineAroundAPause",
                  {{7, 25, 0, 0}, {0, 0, 0, 0}, {7, 50, 0, 0}},
                  {"Low,  7", "Move, 1, 0, 0", "Pause  ", "Move, 2, 0, 0"}},
        LinesCase{"truncatedTowardZero", {{5, -37, 37, 24}}, {"Low,  5", "Move, -1, 1, 0"}},
        // The word 0xFFFF arrives as -1; its speed line is still written.
        LinesCase{"fieldMinusOne", {{-1, 25, 0, 0}}, {"High,  32767", "Move, 1, 0, 0"}},
        LinesCase{"none", {}, {}}));

// Any command file, downloaded, uploaded and downloaded again, stores the
// same steps (coordinates on the micrometre grid, as a download makes them).
TEST(ProgramRoundTrip, DownloadUploadDownloadStoresTheSameSteps)
{
    std::mt19937 random(4101);
    const char* keywords[] = {"Move", "High", "Low", "Pause", "Status", "move"};
    for (int file = 0; file < 300; ++file) {
        std::string text;
        const int lines = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < lines; ++i) {
            const std::string keyword = keywords[random() % 6];
            auto number = [&random](int range) { return std::to_string(static_cast<int>(random() % (2 * range + 1)) - range); };
            if (keyword == "High" || keyword == "Low")
                text += keyword + ", " + std::to_string(random() % 32768) + "\r\n";
            else
                text += keyword + ", " + number(12700) + ", " + number(12700) + "," + number(85899345) + "\r\n";
        }
        const std::uint16_t start = static_cast<std::uint16_t>(random());
        const ProgramFileReader::Result first = readText(text, start);
        if (first.outcome != ProgramFileReader::Outcome::Loaded)
            continue;
        // What the controller sends back: the word sign-extended.
        std::vector<StepValues> uploaded = first.steps;
        for (StepValues& s : uploaded)
            s.velocity = static_cast<std::int16_t>(static_cast<std::uint16_t>(s.velocity));
        std::string again;
        for (const std::string& line : UploadLines::of(uploaded))
            again += line + "\r\n";
        const ProgramFileReader::Result second = readText(again, static_cast<std::uint16_t>(random()));
        ASSERT_EQ(second.outcome, ProgramFileReader::Outcome::Loaded) << text;
        // A move at word 0 comes back as a pause: the controller cannot tell them apart.
        std::vector<StepValues> expected = first.steps;
        for (StepValues& s : expected) {
            if (s.velocity == 0)
                s = StepValues{};
        }
        ASSERT_EQ(second.steps, expected) << text;
    }
}

} // namespace
