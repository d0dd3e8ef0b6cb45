#include "PortBindingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Devices = PortBindingsFile::Devices;

struct ParseCase
{
    const char* name;
    const char* text;
    Devices devices;
    std::vector<int> badLines;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class PortBindingsParse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(PortBindingsParse, ReadsGoodLinesAndReportsBadOnes)
{
    const PortBindingsFile::Contents contents = PortBindingsFile::parse(GetParam().text);
    EXPECT_EQ(contents.devices, GetParam().devices);
    EXPECT_EQ(contents.badLines, GetParam().badLines);
}

const char* const byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

INSTANTIATE_TEST_SUITE_P(
    Lines, PortBindingsParse,
    testing::Values(
        ParseCase{"empty", "", {}, {}},
        ParseCase{"one", "COM1 /dev/ttyUSB0\n", {"/dev/ttyUSB0", "", "", ""}, {}},
        ParseCase{"all four, CR LF, no final break",
                  "COM4 /dev/d\r\nCOM3 /dev/c\r\nCOM2 /dev/b\r\nCOM1 /dev/a",
                  {"/dev/a", "/dev/b", "/dev/c", "/dev/d"}, {}},
        ParseCase{"tabs, blanks, comment", "# chosen in Setup Communications\n\n\tCOM2\t  /dev/ttyACM0  \n",
                  {"", "/dev/ttyACM0", "", ""}, {}},
        ParseCase{"by-id name", "COM3 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n",
                  {"", "", byId, ""}, {}},
        ParseCase{"bad name, lower case, COM5, no device", "com1 /dev/a\nCOM5 /dev/b\nCOM2\nCOM3 /dev/c\n",
                  {"", "", "/dev/c", ""}, {1, 2, 3}},
        ParseCase{"second line for the same port", "COM1 /dev/a\nCOM1 /dev/b\n", {"/dev/a", "", "", ""}, {2}},
        ParseCase{"name glued to device", "COM1/dev/a\n", {}, {1}}));

TEST(PortBindingsFormat, OneLinePerBoundPortInOrder)
{
    EXPECT_EQ(PortBindingsFile::format({"", "/dev/b", "", " /dev/d "}), "COM2 /dev/b\nCOM4 /dev/d\n");
    EXPECT_EQ(PortBindingsFile::format({}), "");
    // What is written reads back the same.
    const Devices devices{byId, "", "/dev/ttyUSB1", ""};
    EXPECT_EQ(PortBindingsFile::parse(PortBindingsFile::format(devices)).devices, devices);
}

TEST(PortBindingsWrite, ReplacesTheFileAndReadsBack)
{
    TempFolder folder;
    const std::string path = (folder.path() / PortBindingsFile::fileName).string();
    EXPECT_FALSE(PortBindingsFile::read(path).has_value());

    ASSERT_TRUE(PortBindingsFile::write(path, {"/dev/a", "", "", ""}));
    ASSERT_TRUE(PortBindingsFile::write(path, {"", byId, "", ""}));
    const std::optional<PortBindingsFile::Contents> back = PortBindingsFile::read(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->devices, (Devices{"", byId, "", ""}));
    // Nothing left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A file that is there but cannot be the bindings file is ignored with a
// reason, without being opened when it is no regular file (a FIFO would block).
TEST(PortBindingsRead, SaysWhyAFileThatIsThereCannotBeRead)
{
    TempFolder folder;
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::filesystem::path large = folder.path() / "large";
    std::ofstream(large) << std::string(PortBindingsFile::maxReadBytes + 1, '#');
    const std::filesystem::path locked = folder.path() / "locked";
    std::ofstream(locked) << "COM1 /dev/a\n";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const bool root = ::geteuid() == 0; // reads whatever the mode says

    const struct {
        std::filesystem::path path;
        std::string reason; // empty: missing, nothing to say
    } table[] = {
        {folder.path() / "missing", ""},
        {folder.path(), "not a regular file"},
        {fifo, "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {large, "larger than 65536 bytes"},
        {locked, root ? "" : "Permission denied"},
    };
    for (const auto& row : table) {
        std::string reason;
        const std::optional<PortBindingsFile::Contents> contents = PortBindingsFile::read(row.path.string(), &reason);
        if (row.path == locked && root)
            continue;
        EXPECT_FALSE(contents.has_value()) << row.path;
        EXPECT_EQ(reason, row.reason) << row.path;
    }
}

TEST(PortBindingsWrite, RefusesWhatWouldNotReadBackAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = (folder.path() / PortBindingsFile::fileName).string();
    ASSERT_TRUE(PortBindingsFile::write(path, {"/dev/a", "", "", ""}));
    EXPECT_FALSE(PortBindingsFile::write(path, {"/dev/a\nCOM2 /dev/b", "", "", ""}));
    EXPECT_EQ(PortBindingsFile::read(path)->devices, (Devices{"/dev/a", "", "", ""}));
}

} // namespace
