// SPDX-License-Identifier: MIT
// The console on Windows. A console is written and read as UTF-16
// (WriteConsoleW, ReadConsoleW), whatever its code page, so that UTF-8 text
// reaches it, and the program, whole; pipes and files get the bytes as they
// are, exactly as elsewhere. No code page is changed, so none needs putting
// back however the run ends (Ctrl-C, a closed window).
#include "console.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The standard handles that are consoles, by descriptor; null where not.
static HANDLE consoles[3];

// What ReadConsoleW gave, as UTF-8, and how much of it is taken.
static char line[4 * 1024];
static int line_size;
static int line_taken;
static bool ended;
static bool failed;
// Whether the last read of the console ended its line.
static bool line_start = true;

void console_start()
{
    // Text mode would write each \n as \r\n, and end piped input at a 0x1A byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A byte at a time, so that what follows C's word is left in a pipe for
    // whatever reads it next.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    const DWORD handles[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int fd = 0; fd < 3; ++fd) {
        HANDLE handle = GetStdHandle(handles[fd]);
        DWORD mode = 0;
        consoles[fd] = GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
    }
}

// Reads what was typed into line. A line that begins with Ctrl-Z ends the
// input there, as ReadFile has it, and so does a read that gives nothing. A
// surrogate pair that the read cuts in two waits for its second half, which
// is dropped where the input ends first.
static void refill()
{
    static wchar_t wide[1024];
    static DWORD kept = 0;
    DWORD got = 0;
    if (ReadConsoleW(consoles[0], wide + kept, 1024 - kept, &got, nullptr) == 0) {
        failed = ended = true;
        errno = EIO;
        return;
    }
    if (got == 0 || (line_start && wide[0] == 0x1A)) {
        ended = true;
        return;
    }
    got += kept;
    kept = wide[got - 1] >= 0xD800 && wide[got - 1] <= 0xDBFF ? 1 : 0;
    line_start = wide[got - 1] == L'\n';
    const auto whole = static_cast<int>(got - kept);
    line_size = whole == 0 ? 0
                           : WideCharToMultiByte(CP_UTF8, 0, wide, whole, line,
                                                 static_cast<int>(sizeof line), nullptr, nullptr);
    line_taken = 0;
    if (kept != 0) {
        wide[0] = wide[got - 1];
    }
}

int console_getc()
{
    if (consoles[0] == nullptr) {
        return std::getchar();
    }
    while (line_taken == line_size && !ended) {
        refill();
    }
    return line_taken < line_size ? static_cast<unsigned char>(line[line_taken++]) : EOF;
}

bool console_read_failed() { return failed || std::ferror(stdin) != 0; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    HANDLE console = consoles[stream == stderr ? 2 : 1];
    if (console == nullptr) {
        return std::fwrite(text, 1, size, stream) == size;
    }
    static wchar_t wide[1024];
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), wide, 1024);
    DWORD written = 0;
    if (length > 0 &&
        WriteConsoleW(console, wide, static_cast<DWORD>(length), &written, nullptr) != 0 &&
        written == static_cast<DWORD>(length)) {
        return true;
    }
    errno = EIO;
    return false;
}

// Only the browser's page draws the equation.
void console_solved(float /*a*/, float /*b*/, float /*c*/, float /*delta*/, float /*x1*/,
                    float /*x2*/)
{
}

// The rest of a line that fits one read would go with the process, as cmd
// expects, but is read here to be kept; a longer line has its rest still in
// the console, where cmd would run it.
std::size_t console_drop_line(char *kept, std::size_t size)
{
    std::size_t got = 0;
    while (consoles[0] != nullptr && !ended) {
        for (; line_taken < line_size; ++line_taken) {
            const char ch = line[line_taken];
            if (got < size && ch != '\r' && ch != '\n') {
                kept[got++] = ch;
            }
        }
        if (line_start) {
            break;
        }
        refill();
    }
    return got;
}
