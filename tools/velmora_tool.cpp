// velmora-tool: the editor's curve and file rules for game code and scripts.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/curve_command.h"

namespace {

const char* const kUsage =
    "Usage: velmora-tool curve [FILE]\n"
    "\n"
    "  curve   Reads control points, one \"x y\" pair of integers per line (blank\n"
    "          lines are ignored), from FILE or standard input, and prints the\n"
    "          samples of the curve the editor draws through them, one \"x y\"\n"
    "          per line. Fewer than two points print nothing.\n"
    "\n"
    "Exit codes: 0 success, 1 a file cannot be opened, 2 bad usage or input.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    if (argc < 2 || std::strcmp(argv[1], "curve") != 0 || argc > 3) {
        std::cerr << kUsage;
        return 2;
    }
    if (argc == 3 && std::strcmp(argv[2], "-") != 0) {
        std::ifstream file(argv[2]);
        if (!file) {
            std::cerr << "velmora-tool curve: cannot open \"" << argv[2] << "\": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
        return velmora::tool::RunCurve(file, std::cout, std::cerr);
    }
    return velmora::tool::RunCurve(std::cin, std::cout, std::cerr);
}
