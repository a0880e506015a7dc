#include "tools/cli/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "tools/cli/cli_io.h"

namespace velmora::tool {

int UsageError(const std::string& verb, const std::string& message) {
    const std::string prefix = verb.empty() ? "velmora-tool" : "velmora-tool " + verb;
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", prefix.c_str(), message.c_str(),
                 prefix.c_str());
    return 2;
}

std::optional<std::vector<std::string>> ParseOptions(const std::string& verb, int argc, char** argv,
                                                     const char* shortOptions,
                                                     const option* longOptions,
                                                     const OptionHandler& handler) {
    // A leading ':' makes getopt report a missing argument as ':', and
    // opterr = 0 leaves every message to us.
    const bool inOrder = shortOptions[0] == '+';
    const std::string shorts =
        (inOrder ? "+:" : ":") + std::string(shortOptions + (inOrder ? 1 : 0));
    opterr = 0;
    optind = 0;  // glibc: start a fresh scan
    for (;;) {
        const int c = getopt_long(argc, argv, shorts.c_str(), longOptions, nullptr);
        if (c == -1)
            break;
        // An unknown short option is named by its letter (it may sit in a
        // cluster such as -xv); anything else by the argument as typed.
        const std::string given = c == '?' && optopt != 0
                                      ? std::string("-") + static_cast<char>(optopt)
                                      : std::string(argv[optind - 1]);
        if (c == '?') {
            UsageError(verb, "unknown option '" + Printable(given) + "'");
            return std::nullopt;
        }
        if (c == ':') {
            UsageError(verb, "option '" + Printable(given) + "' needs a value");
            return std::nullopt;
        }
        if (!handler(c, optarg))
            return std::nullopt;
    }
    return std::vector<std::string>(argv + optind, argv + argc);
}

std::optional<int> ParseNumberOption(const std::string& verb, const char* name, const char* text,
                                     int low, int high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < low || value > high) {
        UsageError(verb, std::string("option '") + name + "' wants a number from " +
                             std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                             Printable(text) + "'");
        return std::nullopt;
    }
    return static_cast<int>(value);
}

bool ParsePathOption(const std::string& verb, const char* name, const char* text,
                     std::string& path) {
    if (*text == '\0') {
        UsageError(verb, std::string("option '") + name + "' wants a name, not an empty one");
        return false;
    }
    path = text;
    return true;
}

}  // namespace velmora::tool
