#include "TravelLimitsStartup.h"

#include "SimFrame.h"
#include "TempFiles.h"
#include "TravelLimitsText.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What start-up finds beside the settings file, and what is in force after it.
struct StartCase {
    const char* name;
    const char* file; // nullptr: no file; "/": a folder in its place
    bool zFloorInForce;
    bool warned;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.name;
}

class TravelLimitsAtStart : public testing::TestWithParam<StartCase> { };

TEST_P(TravelLimitsAtStart, PutsTheFileInForceOrSaysOnceWhyNot)
{
    const StartCase& c = GetParam();
    SimFrame f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(TravelLimitsText::fileName));
    if (c.file && QByteArray(c.file) == "/")
        QDir(dir.path()).mkdir(QString::fromLatin1(TravelLimitsText::fileName));
    else if (c.file)
        TempFiles::write(dir, TravelLimitsText::fileName, QByteArray(c.file));

    TravelLimitsStartup::load(dir.path(), f.ops, f.prompts);

    EXPECT_EQ(
        f.ops.travelLimits().range(2).lower, c.zFloorInForce ? std::optional<std::int64_t>(-125000) : std::nullopt);
    EXPECT_EQ(f.ops.travelLimits().any(), c.zFloorInForce);
    if (!c.warned) {
        EXPECT_TRUE(f.prompts.shown.isEmpty());
        return;
    }
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_TRUE(f.prompts.shown[0].text.startsWith(path + QStringLiteral(" cannot be read (")));
    EXPECT_TRUE(f.prompts.shown[0].text.endsWith(QStringLiteral("). No travel limits are in force.")));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(Files, TravelLimitsAtStart,
    testing::Values(StartCase { "NoFile", nullptr, false, false },
        StartCase { "ZFloor", "X off off\nY off off\nZ -5000 off\n", true, false },
        StartCase { "LineInError", "Z -5000 off\nQ 1 2\n", false, true },
        StartCase { "FolderInItsPlace", "/", false, true }),
    [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
