#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Reading and writing whole command files. Files are raw bytes: no line-end
// translation on any system.
class CommandFile
{
public:
    // What every reader shows when a file cannot be opened for reading.
    static constexpr const char* cannotLoadText = "Can not load file, please check what is wrong!";

    // Opens the file as raw bytes, for reading line by line. False when it
    // cannot be opened or is not a regular file (a directory, a device, a
    // FIFO), without touching it then.
    static bool openForReading(const std::filesystem::path& path, std::ifstream& in);

    // For the executing readers: every line as read, its line end still in
    // it, cut to CommandLimits::lineChars characters before the line end (see
    // LineReader); ready for ParseHostCommand. False, with lines empty, when
    // the file cannot be opened for reading (a directory cannot) or a read
    // fails part way (the stream is then left bad).
    static bool readLines(const std::filesystem::path& path, std::vector<std::string>& lines);
    static std::vector<std::string> linesOf(std::istream& in);

    // For the capture editor: every line's text without its line end (CR LF,
    // or a bare LF), whole however long, so a list the editor wrote reads back
    // entry for entry. A bare LF gives an empty entry. False, with texts
    // empty, when the file cannot be opened or read.
    static bool readTexts(const std::filesystem::path& path, std::vector<std::string>& texts);
    // The same on a stream; a line longer than maxChars keeps its first
    // maxChars characters (the rest of it up to its LF is skipped).
    static std::vector<std::string> textsOf(std::istream& in, std::size_t maxChars = SIZE_MAX);

    // Creates or truncates the file and writes the lines in order, each
    // followed by CR LF. False when the file cannot be opened or a write
    // fails (the file may then hold part of the lines).
    static bool write(const std::filesystem::path& path, const std::vector<std::string>& lines);
    static bool writeTo(std::ostream& out, const std::vector<std::string>& lines);
};
