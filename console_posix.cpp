// SPDX-License-Identifier: MIT
// The console on Linux and other POSIX systems: a terminal here takes and
// gives UTF-8 as bytes, so the standard streams serve.
#include "console.h"

#include <poll.h>
#include <unistd.h>

// The last byte read: a line feed where nothing has been read yet, as no
// line has been begun.
static int last = '\n';

void console_start()
{
    // A byte at a time, so that what follows C's word is left unread, in a
    // pipe as in a file, for whatever reads it next.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
}

int console_getc()
{
    last = std::getchar();
    return last;
}

bool console_read_failed() { return std::ferror(stdin) != 0; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    return std::fwrite(text, 1, size, stream) == size;
}

// Only the browser's page draws the equation.
void console_solved(float /*a*/, float /*b*/, float /*c*/, float /*delta*/, float /*x1*/,
                    float /*x2*/)
{
}

void console_finish()
{
    if (isatty(STDIN_FILENO) == 0) {
        return;
    }
    // A terminal gives a line only once it is whole, so the rest of it is
    // there to read; poll keeps a line ended by Ctrl-D, with no line feed,
    // from waiting for more. One read takes at most the rest of one line,
    // up to its line feed or to the Ctrl-D that sent it: short of a full
    // buffer, the line is done, and a line typed ahead stays.
    pollfd in{STDIN_FILENO, POLLIN, 0};
    char rest[256];
    while (last != '\n' && last != EOF && poll(&in, 1, 0) == 1 && (in.revents & POLLIN) != 0) {
        const ssize_t got = read(STDIN_FILENO, rest, sizeof rest);
        if (got <= 0) {
            return;
        }
        last = static_cast<std::size_t>(got) < sizeof rest
                   ? '\n'
                   : static_cast<unsigned char>(rest[got - 1]);
    }
}
