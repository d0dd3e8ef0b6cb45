#include "CaptureFile.h"

#include "CommandFile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <string>
#include <vector>

namespace {

std::filesystem::path pathOf(const QString& fileName)
{
    return std::filesystem::u8path(fileName.toStdString());
}

// The whole file, at most maxBytes of it; false when it cannot be opened,
// a read fails, or it holds more.
bool readWhole(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes)
{
    std::ifstream in;
    if (!CommandFile::openForReading(path, in))
        return false;
    // Read in pieces: the size the system reports is 0 for some files that
    // hold data, and a device may never end.
    constexpr std::size_t piece = 64 * 1024;
    while (in && bytes.size() <= maxBytes) {
        const std::size_t before = bytes.size();
        bytes.resize(before + piece);
        in.read(bytes.data() + before, static_cast<std::streamsize>(piece));
        bytes.resize(before + static_cast<std::size_t>(in.gcount()));
    }
    // A failed read(2) (EIO from a pulled stick) leaves the stream bad.
    return !in.bad() && bytes.size() <= maxBytes;
}

} // namespace

CaptureFile::ReadResult CaptureFile::read(const QString& fileName, QStringList* lines)
{
    std::string bytes;
    if (fileName.isEmpty() || !readWhole(pathOf(fileName), maxFileBytes, bytes))
        return ReadResult::CannotOpen;
    std::istringstream in(bytes);
    const std::vector<std::string> texts = CommandFile::textsOf(in, maxLineChars);
    for (const std::string& text : texts)
        lines->append(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return ReadResult::Read;
}

CaptureFile::WriteResult CaptureFile::write(const QString& fileName, const QStringList& lines)
{
    if (fileName.isEmpty())
        return WriteResult::CannotOpen;
    std::ofstream out(pathOf(fileName), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out.is_open())
        return WriteResult::CannotOpen;
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        bytes.push_back(line.toLatin1().toStdString());
    bool written = CommandFile::writeTo(out, bytes);
    out.close();
    written = written && !out.fail();
    return written ? WriteResult::Written : WriteResult::WriteFailed;
}
