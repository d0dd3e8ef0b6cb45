// The fuzz check of the command-file reading, replayed under the test build's
// sanitizers: the seed corpus, mutations of it, and generated files.

#include "CommandFileFuzz.h"
#include "HostprogPrinting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

std::string check(const std::string& bytes)
{
    return CommandFileFuzz::check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::vector<std::string> seeds()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(QX410_COMMANDFILE_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// Pieces of command files, binary bytes and numbers at the limits.
const std::vector<std::string> kPieces = {
    "Move",  "High",  "Low",    "Pause", "Status", "move", "Lowest", ",",  ", ", ",  ", " ",  "\t",   "\r\n",
    "\n",    "\r",    "-",      "+",     ".",      "0",    "7",      "12", "-350", "1000", "40000", "2147483647",
    "-2147483648",     "99999999999999", "00000000000012", std::string("\0", 1), "\xFF", "\x80", "\xB5",
    std::string(11, ' '), std::string(118, 'x'), std::string(130, ','),
};

std::string generated(std::mt19937& random)
{
    std::string bytes;
    const int pieces = std::uniform_int_distribution<int>(0, 40)(random);
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    for (int i = 0; i < pieces; ++i)
        bytes += kPieces[pick(random)];
    return bytes;
}

std::string mutated(std::string bytes, std::mt19937& random)
{
    const int edits = std::uniform_int_distribution<int>(1, 8)(random);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = bytes.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
        switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0:
            if (!bytes.empty())
                bytes[at] = static_cast<char>(byte(random));
            break;
        case 1:
            bytes.insert(at, 1, static_cast<char>(byte(random)));
            break;
        case 2:
            bytes.erase(at, std::uniform_int_distribution<std::size_t>(1, 20)(random));
            break;
        default:
            bytes.insert(at, kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(random)]);
            break;
        }
    }
    return bytes;
}

TEST(CommandFileFuzz, SeedCorpusHolds)
{
    const std::vector<std::string> files = seeds();
    ASSERT_GE(files.size(), 5u);
    for (const std::string& file : files)
        EXPECT_EQ(check(file), "") << visible(file);
}

TEST(CommandFileFuzz, MutatedSeedsHold)
{
    std::mt19937 random(410);
    const std::vector<std::string> files = seeds();
    for (int i = 0; i < 1500; ++i) {
        const std::string bytes = mutated(files[static_cast<std::size_t>(i) % files.size()], random);
        ASSERT_EQ(check(bytes), "") << visible(bytes);
    }
}

TEST(CommandFileFuzz, GeneratedFilesHold)
{
    std::mt19937 random(4100);
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = generated(random);
        ASSERT_EQ(check(bytes), "") << visible(bytes);
    }
}

TEST(CommandFileFuzz, RandomBytesHold)
{
    std::mt19937 random(41);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 500; ++i) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 600)(random), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        ASSERT_EQ(check(bytes), "") << visible(bytes);
    }
}

TEST(CommandFileFuzz, HugeInputsHold)
{
    EXPECT_EQ(check(std::string(1 << 17, '\0')), "");
    EXPECT_EQ(check(std::string(1 << 17, '\n')), "");
    EXPECT_EQ(check("Move," + std::string(1 << 17, '9')), "");
    EXPECT_EQ(check(std::string(1 << 17, ',')), "");
}

} // namespace
