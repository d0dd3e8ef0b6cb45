#pragma once

#include <QString>
#include <QStringList>

// Command files as the capture editor reads and writes them, on the
// command-file format's own reader and writer (CommandFile): each line is
// kept as text, never parsed. Bytes are taken one for one as Latin-1
// characters, so a file comes back byte for byte when it is written again.
class CaptureFile
{
public:
    enum class ReadResult { Read, CannotOpen };
    enum class WriteResult { Written, CannotOpen, WriteFailed };

    // Appends the file's lines to *lines, each without its line end (CR LF,
    // or a bare LF), whole however long. A bare LF gives an empty entry; a
    // last line without an LF is an entry too. On CannotOpen (no name, no
    // such file, a folder) *lines is left as it was.
    static ReadResult read(const QString& fileName, QStringList* lines);

    // Creates or empties the file and writes every line followed by CR LF.
    // WriteFailed: the file was opened, but not every byte reached it.
    static WriteResult write(const QString& fileName, const QStringList& lines);
};
