// SPDX-License-Identifier: MIT
// The standard streams of the browser build: see console_web.h. In a page,
// the page's script answers through the functions it gives the module
// (raizesRead, raizesWrite, raizesCoefficients); without them, as under
// node, the real descriptors are read and written. Emscripten's own streams
// would not do: under node its standard input fails on a pipe or a file, and
// its standard output adds a line feed that the program never wrote.
#include "console_web.h"

#include <cerrno>
#include <emscripten.h>

// Reads at most SIZE bytes of standard input into BYTES, waiting for them
// (-sASYNCIFY lets the program wait for the page): how many, 0 at the end of
// the input, -1 where the read failed. Node reads a byte at a time, so that
// what follows C's word is left in a pipe for whatever reads it next.
EM_ASYNC_JS(int, web_read, (unsigned char *bytes, int size), {
    if (Module.raizesRead) {
        const got = await Module.raizesRead(size);
        HEAPU8.set(got, bytes);
        return got.length;
    }
    try {
        return require("fs").readSync(0, HEAPU8, bytes, 1, null);
    } catch (e) {
        return -1;
    }
});

// Writes SIZE bytes of TEXT to descriptor FD, 1 or 2; false where they did
// not all get there.
EM_JS(bool, web_write, (int fd, const char *text, int size), {
    const bytes = HEAPU8.slice(text, text + size);
    if (Module.raizesWrite) {
        Module.raizesWrite(fd, bytes);
        return true;
    }
    try {
        for (let done = 0; done < size;) {
            done += require("fs").writeSync(fd, bytes, done, size - done);
        }
        return true;
    } catch (e) {
        return false;
    }
});

EM_JS(void, web_coefficients, (double a, double b, double c), {
    if (Module.raizesCoefficients) {
        Module.raizesCoefficients(a, b, c);
    }
});

// What the last read gave, and how much of it is taken.
static unsigned char line[4 * 1024];
static int line_size;
static int line_taken;
static bool ended;
static bool failed;

void console_start() {}

int console_getc()
{
    if (line_taken == line_size && !ended) {
        line_taken = 0;
        line_size = web_read(line, static_cast<int>(sizeof line));
        if (line_size <= 0) {
            failed = line_size < 0;
            ended = true;
            line_size = 0;
            if (failed) {
                errno = EIO;
            }
        }
    }
    return line_taken < line_size ? line[line_taken++] : EOF;
}

bool console_read_failed() { return failed; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    if (web_write(stream == stderr ? 2 : 1, text, static_cast<int>(size))) {
        return true;
    }
    errno = EIO;
    return false;
}

void console_coefficients(float a, float b, float c)
{
    web_coefficients(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c));
}
