#include "CaptureFile.h"

#include "CommandFile.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path pathOf(const QString& fileName)
{
    return std::filesystem::u8path(fileName.toStdString());
}

} // namespace

CaptureFile::ReadResult CaptureFile::read(const QString& fileName, QStringList* lines)
{
    std::vector<std::string> texts;
    if (fileName.isEmpty() || !CommandFile::readTexts(pathOf(fileName), texts))
        return ReadResult::CannotOpen;
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
