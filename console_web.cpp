// SPDX-License-Identifier: MIT
// The console of the browser build, in one of two builds: for the web page,
// what the student types and what the page shows, through the functions
// that the page's script gives the module (raizesRead, raizesWrite,
// raizesSolved); for node (RAIZES_NODE), which runs the tests, the real
// descriptors. Emscripten's own streams would not do: under node its
// standard input fails on a pipe or a file, and its standard output adds a
// line feed that the program never wrote. The page's build carries nothing
// of node's: a page can neither fail a read nor a write, nor have a terminal.
#include "console.h"

#include <cerrno>
#include <emscripten.h>

#ifdef RAIZES_NODE
// The errors that node names for a failed read or write, as this build's
// errno: node's own numbers are the host's, not this C library's. The
// JavaScript below gives the position of the name in node_error_names,
// made from the same list as node_errno; an error named otherwise counts
// as EIO, the first.
#define NODE_ERRORS(X)                                                                             \
    X(EIO) X(EAGAIN) X(EBADF) X(EFBIG) X(EINTR) X(EINVAL) X(EISDIR) X(ENOSPC) X(EPERM) X(EPIPE)
#define NODE_ERROR_NAME(e) #e " "
#define NODE_ERROR_NUMBER(e) e,
static const char node_error_names[] = NODE_ERRORS(NODE_ERROR_NAME);
static const int node_errno[] = {NODE_ERRORS(NODE_ERROR_NUMBER)};

// Reads at most SIZE bytes of standard input into BYTES: how many, 0 at the
// end of the input, or -1 - the error's position in NAMES where the read
// failed. Node reads a byte at a time, so that what follows C's word is left
// in a pipe for whatever reads it next.
EM_ASYNC_JS(int, web_read, (unsigned char *bytes, int size, const char *names), {
    try {
        return require("fs").readSync(0, HEAPU8, bytes, 1, null);
    } catch (e) {
        return -1 - Math.max(0, UTF8ToString(names).split(" ").indexOf(e.code));
    }
});

// Writes SIZE bytes of TEXT to descriptor FD, 1 or 2: 0 where they all got
// there, else 1 + the error's position in NAMES.
EM_JS(int, web_write, (int fd, const char *text, int size, const char *names), {
    const bytes = HEAPU8.slice(text, text + size);
    try {
        for (let done = 0; done < size;) {
            done += require("fs").writeSync(fd, bytes, done, size - done);
        }
        return 0;
    } catch (e) {
        return 1 + Math.max(0, UTF8ToString(names).split(" ").indexOf(e.code));
    }
});

// Node has no graph to draw.
static void web_solved(double, double, double, double, double, double) {}

// Whether standard input is a terminal.
EM_JS(bool, web_terminal, (), {
    try {
        return require("tty").isatty(0);
    } catch (e) {
        return false;
    }
});
#else
static const char node_error_names[] = "";
static const int node_errno[] = {EIO};

// Reads at most SIZE bytes of what the student typed into BYTES, waiting for
// them (-sASYNCIFY lets the program wait for the page): how many, or 0 at
// the end of the input.
EM_ASYNC_JS(int, web_read, (unsigned char *bytes, int size, const char *), {
    const got = await Module.raizesRead(size);
    HEAPU8.set(got, bytes);
    return got.length;
});

// Gives the page SIZE bytes of TEXT for descriptor FD, 1 or 2.
EM_JS(int, web_write, (int fd, const char *text, int size, const char *), {
    Module.raizesWrite(fd, HEAPU8.slice(text, text + size));
    return 0;
});

// The six values, each a float widened exactly, for the page's graph.
EM_JS(void, web_solved, (double a, double b, double c, double delta, double x1, double x2),
      { Module.raizesSolved(a, b, c, delta, x1, x2); });

static bool web_terminal() { return false; }
#endif

// What the last read gave, and how much of it is taken.
static unsigned char line[4 * 1024];
static int line_size;
static int line_taken;
static bool ended;
static bool failed;
// The last byte read: a line feed where nothing has been read yet.
static int last = '\n';

// Nothing to set up: the page, or node, is ready before main runs.
void console_start() {}

int console_getc()
{
    if (line_taken == line_size && !ended) {
        line_taken = 0;
        line_size = web_read(line, static_cast<int>(sizeof line), node_error_names);
        if (line_size <= 0) {
            failed = line_size < 0;
            ended = true;
            if (failed) {
                errno = node_errno[-1 - line_size];
            }
            line_size = 0;
        }
    }
    last = line_taken < line_size ? line[line_taken++] : EOF;
    return last;
}

bool console_read_failed() { return failed; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    const int error =
        web_write(stream == stderr ? 2 : 1, text, static_cast<int>(size), node_error_names);
    if (error == 0) {
        return true;
    }
    errno = node_errno[error - 1];
    return false;
}

void console_solved(float a, float b, float c, float delta, float x1, float x2)
{
    web_solved(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
               static_cast<double>(delta), static_cast<double>(x1), static_cast<double>(x2));
}

// Under node, a terminal's line is read to its end, as on Linux. A terminal
// gives a line only once it is whole, so this waits for more only after
// Ctrl-D in mid-line. The page ends each run's input itself.
void console_finish()
{
    if (!web_terminal()) {
        return;
    }
    while (last != '\n' && last != EOF) {
        console_getc();
    }
}
