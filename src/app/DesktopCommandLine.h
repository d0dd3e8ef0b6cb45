#pragma once

#include <optional>
#include <ostream>
#include <string>

// The options qx410 answers itself, before the window system is touched, so
// that `qx410 --help` and `qx410 --version` work without a display (and
// help2man can make the manual page from them). Standard library only.
namespace DesktopCommandLine {

std::string help();
std::string version();

// When the arguments ask for the help or the version, writes it to `out`
// and returns the exit status; otherwise nothing, and the program starts.
// Arguments after "--" are not looked at.
std::optional<int> answer(int argc, const char* const* argv, std::ostream& out);

} // namespace DesktopCommandLine
