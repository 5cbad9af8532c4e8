// The arguments of a stand-in program's Windows command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace outside {

// What follows the program's name: the name is the first word, or the text
// in double quotes when the line starts with one; leading blanks of the rest
// are dropped.
std::string_view ArgumentsOf(std::string_view commandLine);

// The words of the arguments, split at blanks (no quoting: the setup program
// passes names without blanks).
std::vector<std::string> WordsOf(std::string_view arguments);

// A plain file or folder name: not empty, no folder separator, drive colon
// or wildcard, and not "." or "..", so that joining it to a folder stays in
// that folder.
bool IsPlainName(std::string_view name);

}  // namespace outside
