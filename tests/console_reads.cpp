// SPDX-License-Identifier: MIT
// How the Windows console reader turns what ReadConsoleW gives into bytes,
// in the cases that no console under test can be made to give on cue: a
// surrogate pair cut in two by a read, a read that gives nothing, and a line
// longer than one read, whose rest the drop at exit must take. The
// reader is compiled in here whole, with the console's two functions
// replaced by ones that play the reads below.
#include <windows.h> // first, so that the reader's own include adds nothing

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>

// What each ReadConsoleW gives, in order: U+1F600 cut in two between the
// first and the second, then nothing at all, which ends the input.
static const wchar_t *const cut[] = {L"1 -3 \xD83D", L"\xDE00 2\r\n", L""};
// A line of 1030 characters, which fills one read, then a line typed ahead.
static wchar_t full[1025] = L"1 -3 2 ";
static const wchar_t *const long_line[] = {full, L"xxxxxx\r\n", L"ahead\r\n"};
static const wchar_t *const *reads = cut;
static std::size_t reads_size = std::size(cut);
static std::size_t read_count = 0;

static BOOL WINAPI played_mode(HANDLE handle, LPDWORD mode)
{
    *mode = 0;
    return handle == GetStdHandle(STD_INPUT_HANDLE) ? TRUE : FALSE;
}

static BOOL WINAPI played_read(HANDLE /*console*/, LPVOID buffer, DWORD size, LPDWORD got,
                               PCONSOLE_READCONSOLE_CONTROL /*control*/)
{
    if (read_count == reads_size) {
        std::printf("FAIL the console is read again after a read that gave nothing\n");
        std::exit(1);
    }
    const wchar_t *const text = reads[read_count++];
    *got = static_cast<DWORD>(std::wcslen(text));
    if (*got > size) {
        std::printf("FAIL a read of %lu characters has room for %lu\n", *got, size);
        std::exit(1);
    }
    std::wmemcpy(static_cast<wchar_t *>(buffer), text, *got);
    return TRUE;
}

#define GetConsoleMode played_mode
#define ReadConsoleW played_read
#include "../console_windows.cpp" // NOLINT(bugprone-suspicious-include): the console itself

int main()
{
    console_start();
    char got[64];
    std::size_t size = 0;
    for (int ch = console_getc(); ch != EOF && size < sizeof got; ch = console_getc()) {
        got[size++] = static_cast<char>(ch);
    }
    // Once ended, the input stays ended without another read.
    const bool stays_ended = console_getc() == EOF;
    static const char expected[] = "1 -3 \xF0\x9F\x98\x80 2\r\n";
    const bool whole = size == sizeof expected - 1 && std::memcmp(got, expected, size) == 0;
    if (!whole) {
        std::printf("FAIL the reads give \"");
        for (std::size_t k = 0; k < size; ++k) {
            std::printf("\\x%02X", static_cast<unsigned char>(got[k]));
        }
        std::printf("\", not 1 -3 U+1F600 2 CR LF in UTF-8\n");
    }

    // The console as a new run finds it, on a line longer than one read: the
    // drop keeps the rest of that line, in two reads, and leaves the next.
    ended = false;
    line_start = true;
    line_size = line_taken = 0;
    std::wmemset(full + 7, L'x', 1017);
    reads = long_line;
    reads_size = std::size(long_line);
    read_count = 0;
    for (int blanks = 0; blanks < 3;) {
        blanks += console_getc() == ' ' ? 1 : 0;
    }
    char rest[2048];
    const std::size_t kept = console_drop_line(rest, sizeof rest);
    const bool dropped = read_count == 2 && kept == 1023 && std::memchr(rest, 'x', kept) == rest &&
                         rest[kept - 1] == 'x';
    if (!dropped) {
        std::printf("FAIL the drop of a line longer than one read made %lu reads and kept %lu "
                    "bytes, not 2 and 1023\n",
                    static_cast<unsigned long>(read_count), static_cast<unsigned long>(kept));
    }
    const int passed =
        static_cast<int>(whole) + static_cast<int>(stays_ended) + static_cast<int>(dropped);
    std::printf("%d passed, %d failed\n", passed, 3 - passed);
    return whole && stays_ended && dropped ? 0 : 1;
}
