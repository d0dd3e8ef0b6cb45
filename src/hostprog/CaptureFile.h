#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>

// Command files as the capture editor reads and writes them, on the
// command-file format's own reader and writer (CommandFile): each line is
// kept as text, never parsed. Bytes are taken one for one as Latin-1
// characters, so a file comes back byte for byte when it is written again.
class CaptureFile
{
public:
    enum class ReadResult { Read, CannotOpen };
    enum class WriteResult { Written, CannotOpen, WriteFailed };

    // An editor line keeps at most this many characters: room for any line
    // the editor writes (a Status line has at most 122), while a file that
    // is not a command file cannot fill the list with a giant line.
    static constexpr std::size_t maxLineChars = 4096;
    // A larger file is not loaded at all.
    static constexpr std::size_t maxFileBytes = std::size_t{16} << 20;

    // Appends the file's lines to *lines, each without its line end (CR LF,
    // or a bare LF) and cut to maxLineChars. A bare LF gives an empty entry;
    // a last line without an LF is an entry too. On CannotOpen (no name, no
    // such file, a folder, a read error part way, or more than maxFileBytes)
    // *lines is left as it was: nothing is half-loaded.
    static ReadResult read(const QString& fileName, QStringList* lines);

    // Creates or empties the file and writes every line followed by CR LF.
    // WriteFailed: the file was opened, but not every byte reached it.
    static WriteResult write(const QString& fileName, const QStringList& lines);
};
