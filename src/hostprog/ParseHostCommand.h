#pragma once

#include "HostCommand.h"

#include <cstddef>
#include <string_view>

// Classifies one command-file line as read (its CR LF still in it) and
// converts its fields.
//
// The keyword is the text before the first comma, or the whole line, line end
// included, when there is no comma; it is compared case-sensitively on its
// first characters with "Move" (4), "High" (4), "Low" (3) and "Pause" (5), in
// that order, and anything else is Other. The fields follow the first comma,
// separated by commas, the last one running to the end of the line; each
// converts by the text-to-number rule, and a missing one gives 0. Move takes
// x, y, z from fields 1 to 3, High and Low take v from field 1; further fields
// are ignored.
//
// A Move, speed or Pause line is refused (HostCommand::refusal) when it holds a
// CR with more text after it (CR-only line ends), when it fills the line limit
// and a number it uses (or the field it needs) runs into the end, where the
// line may have been cut, when a number it uses is longer than
// CommandLimits::fieldChars (its sign and digits; the blanks before it do not
// count), or when a Move's microsteps would not fit in 32 bits; the first of
// these that applies is the reason.
//
// Only the first CommandLimits::lineChars characters of the line (up to its
// first LF) are read and only the first keywordChars of the keyword. Any bytes
// at all may be given.
HostCommand ParseHostCommand(std::string_view line);
// The same with a keyword buffer of another size (the download reader's holds
// 20 characters).
HostCommand ParseHostCommand(std::string_view line, std::size_t keywordChars);
