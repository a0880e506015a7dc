// Prints each argument it was given, as the C runtime parsed its command
// line, one a line between brackets (LF only); exits with their number.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    for (int i = 1; i < argc; ++i)
        std::printf("[%s]\n", argv[i]);
    return argc - 1;
}
