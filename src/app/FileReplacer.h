#pragma once

#include <filesystem>
#include <string>

// Replaces the whole content of a small file (the settings file) as safely as
// the system lets this process do it. Standard library and the system's file
// calls only.
//
// Whether the file may be written is the system's decision (its permission
// checks, a read-only mount), asked for the file and for its folder:
// - the folder lets a temporary file be created: the content goes to a new
//   file beside the old one, flushed to disk and renamed over it, but only
//   when the file itself may be written (a read-only file stays as it is);
//   the old content stays whole until the new one is complete;
// - the folder does not, but the file may be written: the file is written in
//   place;
// - neither: nothing is written and the call fails.
// A symbolic link is kept and the file it points to replaced.
//
// Temporary files are named "<file name>.tmp-XXXXXX". A writer holds a lock
// on its own until it has been renamed; one left behind by a process that was
// killed while writing holds none and is removed by the next write.
class FileReplacer
{
public:
    static constexpr const char* temporaryInfix = ".tmp-";
    static constexpr std::size_t temporarySuffixLength = 6;

    // False, leaving the old file untouched and no temporary file behind,
    // when no way of writing works.
    static bool replace(const std::string& path, const std::string& content);

    // Removes the temporary files of target that no writer holds any more.
    static void removeStaleTemporaries(const std::filesystem::path& target);

    // Whether a folder entry is named like a temporary file of target.
    static bool isTemporaryOf(const std::string& entryName, const std::string& targetName);
};
