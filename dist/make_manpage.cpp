// Writes the manual page into the file given; the build runs it to make dualvex.1,
// so the page lists exactly the switches the program's help lists.
#include "core/app/ManPage.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.1\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    dualvex::WriteManPage(out);
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
