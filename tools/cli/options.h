#pragma once

#include <getopt.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::tool {

// Called for each option found, with getopt_long's value and its argument
// (null when it takes none). Returns false after printing why the value is
// bad.
using OptionHandler = std::function<bool(int option, const char* argument)>;

// Parses a verb's arguments (argv[0] is the verb) with getopt_long: options
// may come before or after the operands, "--" ends them. Unknown options
// and missing arguments are named in a message on standard error. Returns
// the operands, or nothing on a usage error.
std::optional<std::vector<std::string>> ParseOptions(const std::string& verb, int argc, char** argv,
                                                     const char* shortOptions,
                                                     const option* longOptions,
                                                     const OptionHandler& handler);

// Reads a whole decimal number in [low, high] for option `name`; prints a
// usage message naming the option and returns nothing otherwise.
std::optional<int> ParseNumberOption(const std::string& verb, const char* name, const char* text,
                                     int low, int high);

// Takes a file or folder name for option `name`; an empty one is a usage
// error (printed, false), never standard input or the current folder.
bool ParsePathOption(const std::string& verb, const char* name, const char* text,
                     std::string& path);

// Prints "velmora-tool VERB: MESSAGE" and a hint at --help to standard
// error; returns the usage exit code, 2.
int UsageError(const std::string& verb, const std::string& message);

}  // namespace velmora::tool
