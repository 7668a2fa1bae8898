// SPDX-License-Identifier: MIT
// What strtof gives for each line of standard input: the value, exactly (as
// %a, or "nan", whose sign the program never shows), and how many bytes it
// took. The web build replaces its C library's strtof (musl's) with one of
// its own (console_web.cpp); tests/strtof/reads.out holds what musl's gave,
// which it must match. The cases: every form the reader knows, the edges of
// float's range and of its subnormals, and floats' midpoints with the next
// decimals either side, where a value rounded twice goes wrong. (glibc 2.36
// reads 0x1.000001p-150 as 0, not as the smallest subnormal.)
#include "../console.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

int main()
{
    console_start();
    char line[8192];
    std::size_t size = 0;
    for (int c = console_getc(); c != EOF; c = console_getc()) {
        if (c != '\n') {
            if (size + 1 < sizeof line) {
                line[size++] = static_cast<char>(c);
            }
            continue;
        }
        line[size] = '\0';
        size = 0;
        char *end = nullptr;
        const float x = std::strtof(line, &end);
        char out[64];
        const int n = std::isnan(x) ? std::snprintf(out, sizeof out, "nan %td\n", end - line)
                                    : std::snprintf(out, sizeof out, "%a %td\n",
                                                    static_cast<double>(x), end - line);
        if (n < 0 || !console_put(stdout, out, static_cast<std::size_t>(n))) {
            return 1;
        }
    }
    return 0;
}
