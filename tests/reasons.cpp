// SPDX-License-Identifier: MIT
// What no run of the program can show: the reason given for each errno
// (most of them no test can make the C library report, and none reports no
// errno at all), each known one its own Portuguese and any other its number;
// and how say writes a text and reports what went wrong: 0 for a text that
// left in one write, the failure of a write or of the formatting, and a text
// too long for its buffer written cut to the byte. The program is compiled
// in here whole, its main renamed.
#define main raizes_main
#include "../main.cpp" // NOLINT(bugprone-suspicious-include): the program itself
#undef main

#include <cstring>

static int passed = 0;
static int failed = 0;

static void check(bool ok, const char *what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s\n", what);
    }
}

#ifdef __GLIBC__
// A stream whose writes are counted, and fail (leaving errno as it is) while
// refuse is set.
static int writes = 0;
static bool refuse_writes = false;
static char last[512];
static ssize_t counted(void * /*cookie*/, const char *data, std::size_t size)
{
    ++writes;
    if (refuse_writes) {
        return -1;
    }
    std::snprintf(last, sizeof last, "%.*s", static_cast<int>(size), data);
    return static_cast<ssize_t>(size);
}
#endif

int main()
{
    // Every errno up to a bound the C libraries stay under: each one the
    // table knows has Portuguese of its own, not strerror's English and no
    // other errno's; any other is given by number; no errno gives nothing.
    static char known[256][80];
    std::size_t count = 0;
    for (int e = -1; e < 4096; ++e) {
        char text[80];
        reason(text, e);
        char number[80];
        std::snprintf(number, sizeof number, ": erro do sistema número %d", e);
        char english[160];
        std::snprintf(english, sizeof english, ": %s", e > 0 ? std::strerror(e) : "");
        char what[320];
        std::snprintf(what, sizeof what, "errno %d gives \"%s\"", e, text);
        if (e <= 0) {
            check(text[0] == '\0', what);
        } else if (std::strcmp(text, number) != 0) {
            bool distinct = std::strncmp(text, ": ", 2) == 0 && text[2] != '\0' &&
                            std::strcmp(text, english) != 0 && count < std::size(known);
            for (std::size_t k = 0; distinct && k < count; ++k) {
                distinct = std::strcmp(known[k], text) != 0;
            }
            check(distinct, what);
            std::snprintf(known[count % std::size(known)], sizeof known[0], "%s", text);
            ++count;
        }
    }
    check(count > 0, "no errno has a reason of its own");
    // A text longer than the longest the program writes is written cut, to
    // the last byte that fits and no further, and counts as not written.
    std::FILE *file = std::tmpfile();
    char long_text[2 * line_max];
    std::memset(long_text, 'x', sizeof long_text - 1);
    long_text[sizeof long_text - 1] = '\0';
    check(say(file, "%s", long_text) == EOVERFLOW, "a text cut short is not taken as written");
    std::rewind(file);
    char back[2 * line_max];
    const std::size_t got = std::fread(back, 1, sizeof back, file);
    check(got == line_max - 1 && std::memchr(back, 'x', got) == back &&
              std::memchr(back, '\0', got) == nullptr,
          "a text cut short leaves exactly the bytes that fit");
    std::fclose(file);

#ifdef __GLIBC__
    std::FILE *stream = fopencookie(nullptr, "w", {nullptr, counted, nullptr, nullptr});
    std::setvbuf(stream, nullptr, _IONBF, 0);
    check(say(stream, "Erro: %s %c\n", "o valor de", 'A') == 0 && writes == 1 &&
              std::strcmp(last, "Erro: o valor de A\n") == 0,
          "a text leaves in one write");
    refuse_writes = true;
    errno = ERANGE;
    check(say(stream, "Digite\n") == -1, "a failed write with no errno is a failure of no reason");
    refuse_writes = false;
    // The C locale has no multibyte form for U+00E9: the text cannot be made.
    const int before = writes;
    const int unmade = say(stream, "%ls", L"\u00E9");
    check(unmade != 0 && writes == before,
          "a text that cannot be formatted is a failure, not written");
    std::fclose(stream);
#endif
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
