// SPDX-License-Identifier: MIT
// The console on Linux and other POSIX systems: a terminal here takes and
// gives UTF-8 as bytes, so the standard streams serve.
#include "console.h"

#include <algorithm>
#include <sys/ioctl.h>
#include <unistd.h>

// Whether standard input is a terminal, and how many of its bytes were
// already waiting before the first read.
static bool terminal;
static int queued;
// A terminal's line as one read gave it, and how much of it is taken.
static char line[4096];
static ssize_t line_size;
static ssize_t line_taken;
static bool failed;
// The last byte read: a line feed where nothing has been read yet, as no
// line has been begun.
static int last = '\n';

void console_start()
{
    // A byte at a time, so that what follows C's word is left unread, in a
    // pipe as in a file, for whatever reads it next.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    terminal = isatty(STDIN_FILENO) != 0;
    if (terminal && ioctl(STDIN_FILENO, FIONREAD, &queued) != 0) {
        queued = 0;
    }
}

// At a terminal, one read gives at most one line, up to its line feed or
// the Ctrl-D that sent it, so the line's end is known. Lines pasted while
// the shell's editor had the terminal raw are the exception: they wait as
// one, each ended by a carriage return, and can only be among the bytes
// already waiting at the start, which are read a byte at a time so that the
// shell's own lines among them stay unread.
int console_getc()
{
    if (!terminal || queued > 0) {
        queued = queued > 0 ? queued - 1 : 0;
        last = std::getchar();
        return last;
    }
    if (line_taken == line_size && last != EOF) {
        line_taken = 0;
        line_size = read(STDIN_FILENO, line, sizeof line);
        failed = line_size < 0;
        line_size = std::max<ssize_t>(line_size, 0);
    }
    last = line_taken < line_size ? static_cast<unsigned char>(line[line_taken++]) : EOF;
    return last;
}

bool console_read_failed() { return failed || std::ferror(stdin) != 0; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    return std::fwrite(text, 1, size, stream) == size;
}

// Only the browser's page draws the equation.
void console_solved(float /*a*/, float /*b*/, float /*c*/, float /*delta*/, float /*x1*/,
                    float /*x2*/)
{
}

std::size_t console_drop_line(char *kept, std::size_t size)
{
    std::size_t got = 0;
    const auto keep = [&got, kept, size](char ch) {
        if (got < size && ch != '\n' && ch != '\r') {
            kept[got++] = ch;
        }
    };
    // The rest of a line read whole. A line read a byte at a time ends at a
    // line feed or a carriage return; the bytes that waited before the first
    // read are all there is of it, so none is waited for.
    while (line_taken < line_size) {
        keep(line[line_taken++]);
    }
    while (terminal && queued > 0 && last != '\n' && last != '\r' && last != EOF) {
        char ch = 0;
        if (read(STDIN_FILENO, &ch, 1) != 1) {
            break;
        }
        --queued;
        last = static_cast<unsigned char>(ch);
        keep(ch);
    }
    last = '\n';
    return got;
}
