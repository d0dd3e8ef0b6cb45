#include "SettingsFile.h"
#include "SettingsValuesTesting.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <iterator>
#include <limits>
#include <set>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void putFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t modeOf(const fs::path& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

class SettingsFileOnDisk : public ::testing::Test
{
protected:
    TempFolder m_folder;
    fs::path m_file = m_folder.path() / SettingsFile::fileName;
    std::string m_path = m_file.string();
    const std::set<std::string> m_onlySettings { SettingsFile::fileName };

    static SettingsValues other()
    {
        SettingsValues v;
        v.portName = "COM3";
        v.positions[4] = { -5, 6, -7 };
        v.velocity = 42;
        return v;
    }
};

// --- Writing and reading back --------------------------------------------------------------

class SettingsFileRoundTrip : public SettingsFileOnDisk, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SettingsFileRoundTrip, WritesTheLineWithoutTerminatorAndReadsItBack)
{
    ASSERT_TRUE(SettingsFile::write(m_path, GetParam().values));
    EXPECT_EQ(contentOf(m_file), GetParam().line);
    EXPECT_EQ(SettingsFile::read(m_path), GetParam().values);
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsFileRoundTrip, ::testing::ValuesIn(lineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileOnDisk, DefaultsAreWrittenAsTheDefaultLine)
{
    ASSERT_TRUE(SettingsFile::write(m_path, SettingsValues {}));
    EXPECT_EQ(contentOf(m_file), "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 9600,N,8,1");
}

TEST_F(SettingsFileOnDisk, ReplacesALongerFileWhole)
{
    putFile(m_file, defaultLine + "\n" + std::string(10000, 'x') + "\n");
    ASSERT_TRUE(SettingsFile::write(m_path, other()));
    EXPECT_EQ(contentOf(m_file), SettingsFile::format(other()));
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

TEST_F(SettingsFileOnDisk, RepeatedWritesLeaveNoTemporaryFiles)
{
    for (int i = 0; i < 20; ++i) {
        SettingsValues v = other();
        v.velocity = static_cast<std::uint16_t>(i);
        ASSERT_TRUE(SettingsFile::write(m_path, v));
        EXPECT_EQ(SettingsFile::read(m_path), v);
    }
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

TEST_F(SettingsFileOnDisk, ReplacedFileKeepsItsPermissionBits)
{
    putFile(m_file, defaultLine);
    ASSERT_EQ(::chmod(m_file.c_str(), 0640), 0);
    ASSERT_TRUE(SettingsFile::write(m_path, other()));
    EXPECT_EQ(modeOf(m_file), 0640u);
}

TEST_F(SettingsFileOnDisk, SymbolicLinkIsKeptAndItsTargetReplaced)
{
    const fs::path real = m_folder.path() / "real.ini";
    putFile(real, defaultLine);
    fs::create_symlink("real.ini", m_file);
    ASSERT_TRUE(SettingsFile::write(m_path, other()));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(m_file)));
    EXPECT_EQ(contentOf(real), SettingsFile::format(other()));
    EXPECT_EQ(namesIn(m_folder.path()), (std::set<std::string> { SettingsFile::fileName, "real.ini" }));
}

// --- Writing that must fail and change nothing ---------------------------------------------

// Runs body as an ordinary user, so that the system's permission checks apply (root passes them
// all): as root in a child process that becomes "nobody", once the folder and what is in it belong to
// that user; otherwise right here. Nothing when no such user can be taken.
std::optional<bool> asOrdinaryUser(const fs::path& folder, const std::function<bool()>& body)
{
    if (::geteuid() != 0)
        return body();
    const passwd* user = ::getpwnam("nobody");
    if (!user)
        return std::nullopt;
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    if (::lchown(folder.c_str(), uid, gid) != 0)
        return std::nullopt;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (::lchown(entry.path().c_str(), uid, gid) != 0)
            return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(3);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Who may write the file and its folder is the system's decision.
struct PermissionCase
{
    const char* name;
    mode_t fileMode;
    mode_t folderMode;
    bool written;
};

void PrintTo(const PermissionCase& c, std::ostream* os) { *os << c.name; }

class SettingsFilePermissions : public SettingsFileOnDisk, public ::testing::WithParamInterface<PermissionCase> {};

TEST_P(SettingsFilePermissions, DecideBetweenReplacingWritingInPlaceAndRefusing)
{
    putFile(m_file, defaultLine);
    ASSERT_EQ(::chmod(m_file.c_str(), GetParam().fileMode), 0);
    ASSERT_EQ(::chmod(m_folder.path().c_str(), GetParam().folderMode), 0);
    const std::string path = m_path;
    const std::optional<bool> written
        = asOrdinaryUser(m_folder.path(), [&path] { return SettingsFile::write(path, other()); });
    ::chmod(m_folder.path().c_str(), 0700);
    if (!written)
        GTEST_SKIP() << "running as root, and the user nobody cannot be taken to test permissions";
    EXPECT_EQ(*written, GetParam().written);
    EXPECT_EQ(contentOf(m_file), GetParam().written ? SettingsFile::format(other()) : defaultLine);
    EXPECT_EQ(modeOf(m_file), GetParam().fileMode);
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsFilePermissions, ::testing::Values(
    PermissionCase{"WritableFileInAReadOnlyFolderIsWrittenInPlace", 0644, 0555, true},
    PermissionCase{"ReadOnlyFileInAWritableFolderIsNotReplaced", 0444, 0755, false},
    PermissionCase{"ReadOnlyFileInAReadOnlyFolderIsRefused", 0444, 0555, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A write killed part way leaves its temporary file behind; the next write removes it, but not the
// file of a write still at work (it holds a lock), nor files merely named alike.
TEST_F(SettingsFileOnDisk, StaleTemporaryFilesAreRemovedByTheNextWrite)
{
    const std::string stale = std::string(SettingsFile::fileName) + ".tmp-AbC123";
    const std::string held = std::string(SettingsFile::fileName) + ".tmp-Held01";
    const std::string others[] = {std::string(SettingsFile::fileName) + ".tmp-toolong", "notes.ini.tmp-AbC123"};
    for (const std::string& name : {stale, held, others[0], others[1]})
        putFile(m_folder.path() / name, "COM1 0 0");
    const int holder = ::open((m_folder.path() / held).c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_TRUE(SettingsFile::write(m_path, other()));
    ::close(holder);
    EXPECT_EQ(namesIn(m_folder.path()),
              (std::set<std::string> {SettingsFile::fileName, held, others[0], others[1]}));
}

TEST_F(SettingsFileOnDisk, MissingFolderFailsAndCreatesNothing)
{
    const fs::path missing = m_folder.path() / "missing";
    EXPECT_FALSE(SettingsFile::write((missing / SettingsFile::fileName).string(), other()));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

TEST_F(SettingsFileOnDisk, FolderInThePlaceOfTheFileFails)
{
    fs::create_directory(m_file);
    EXPECT_FALSE(SettingsFile::write(m_path, other()));
    EXPECT_TRUE(fs::is_directory(m_file));
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

struct RefusedCase
{
    const char* name;
    void (*change)(SettingsValues&);
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class SettingsFileRefusal : public SettingsFileOnDisk, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SettingsFileRefusal, ValuesThatWouldReadBackDifferentlyAreNotWritten)
{
    putFile(m_file, defaultLine);
    SettingsValues v = other();
    GetParam().change(v);
    EXPECT_FALSE(SettingsFile::write(m_path, v));
    EXPECT_EQ(contentOf(m_file), defaultLine);
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsFileRefusal, ::testing::Values(
    RefusedCase{"EmptyPort", [](SettingsValues& v) { v.portName.clear(); }},
    RefusedCase{"PortWithSpace", [](SettingsValues& v) { v.portName = "COM 1"; }},
    RefusedCase{"PortLongerThanSeven", [](SettingsValues& v) { v.portName = "COM1234"; v.portName += '5'; }},
    RefusedCase{"EmptyFraming", [](SettingsValues& v) { v.framing.clear(); }},
    RefusedCase{"FramingWithSpace", [](SettingsValues& v) { v.framing = "9600, N,8,1"; }},
    RefusedCase{"FramingWithNewline", [](SettingsValues& v) { v.framing = "9600,N,8,1\n"; }},
    RefusedCase{"FramingLongerThanFifteen", [](SettingsValues& v) { v.framing = "19200,N,8,1,abcd"; }},
    RefusedCase{"InfiniteStep", [](SettingsValues& v) { v.stepSize = std::numeric_limits<float>::infinity(); }},
    RefusedCase{"NanStep", [](SettingsValues& v) { v.stepSize = std::numeric_limits<float>::quiet_NaN(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Makes every write beyond a few bytes fail, as on a full disk, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

TEST_F(SettingsFileOnDisk, FullDiskKeepsTheOldFile)
{
    putFile(m_file, defaultLine);
    bool written = true;
    {
        FileSizeLimit limit(10);
        ASSERT_TRUE(limit.active());
        written = SettingsFile::write(m_path, other());
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(contentOf(m_file), defaultLine);
    EXPECT_EQ(namesIn(m_folder.path()), m_onlySettings);
}

TEST_F(SettingsFileOnDisk, FullDiskCreatesNoFile)
{
    bool written = true;
    {
        FileSizeLimit limit(10);
        ASSERT_TRUE(limit.active());
        written = SettingsFile::write(m_path, other());
    }
    EXPECT_FALSE(written);
    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

// --- Reading files ---------------------------------------------------------------------------

TEST_F(SettingsFileOnDisk, MissingFileGivesNothing)
{
    EXPECT_FALSE(SettingsFile::read(m_path).has_value());
}

TEST_F(SettingsFileOnDisk, FolderGivesNothing)
{
    fs::create_directory(m_file);
    EXPECT_FALSE(SettingsFile::read(m_path).has_value());
}

TEST_F(SettingsFileOnDisk, EmptyFileGivesNothing)
{
    putFile(m_file, "");
    EXPECT_FALSE(SettingsFile::read(m_path).has_value());
}

TEST_F(SettingsFileOnDisk, FileWithNulBytesIsRead)
{
    putFile(m_file, std::string("COM2 1 2\0\0\0 3 4", 16));
    SettingsValues expected;
    expected.portName = "COM2";
    expected.positions[0] = { 1, 2, 0 };
    EXPECT_EQ(SettingsFile::read(m_path), expected);
}

// A file padded with blanks is read whole, so values far into it still count; a file beyond
// 64 KiB is no settings file.
TEST_F(SettingsFileOnDisk, WholeFileIsReadUpTo64KiB)
{
    const std::string line = "COM2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 19200,N,8,1";
    putFile(m_file, std::string(20000, ' ') + line);
    const auto values = SettingsFile::read(m_path);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->framing, "19200,N,8,1");
    putFile(m_file, std::string(SettingsFile::maxReadBytes - line.size(), ' ') + line);
    EXPECT_TRUE(SettingsFile::read(m_path).has_value());
    putFile(m_file, std::string(SettingsFile::maxReadBytes + 1 - line.size(), ' ') + line);
    EXPECT_FALSE(SettingsFile::read(m_path).has_value());
}

TEST_F(SettingsFileOnDisk, ReadOnlyFileIsRead)
{
    putFile(m_file, SettingsFile::format(other()));
    ASSERT_EQ(::chmod(m_file.c_str(), 0444), 0);
    EXPECT_EQ(SettingsFile::read(m_path), other());
}

} // namespace
