// SPDX-License-Identifier: MIT
// raizes: solves A·x² + B·x + C = 0 and prints both real roots.
#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <limits>

#ifdef _WIN32
#include "console_windows.h"
#else
// A terminal here takes and gives UTF-8 as bytes: the standard streams serve.
static void console_start() {}
static int console_getc() { return std::getchar(); }
static bool console_read_failed() { return std::ferror(stdin) != 0; }
static bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    return std::fwrite(text, 1, size, stream) == size;
}
#endif

// A zero A, an overflowing discriminant and a negative one are all carried
// through the arithmetic, so the program leans on IEEE 754 semantics:
// division by zero gives an infinity or NaN, and a double too large for a
// float rounds to an infinity.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "raizes needs IEEE 754 float and double");
// Every float and double result must be rounded where it is formed. x87
// arithmetic keeps them at 80 bits instead and changes the printed digits; on
// 32-bit x86, build with -msse2 -mfpmath=sse.
static_assert(FLT_EVAL_METHOD == 0,
              "raizes needs float and double arithmetic without excess precision");

// The longest word read; a longer one is refused, not cut.
constexpr int word_max = 4095;

// White space as the C locale has it, whatever the environment says.
static bool blank(int ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

// Formats one text and writes it whole, in one piece, as a console needs it;
// standard output is flushed at once. False where it did not all get there,
// with errno saying why, or 0. It is printf's own kind of variadic function,
// so that the compiler checks each format against its arguments.
// NOLINTNEXTLINE(cert-dcl50-cpp)
[[gnu::format(printf, 2, 3)]] static bool say(std::FILE *stream, const char *format, ...)
{
    char text[512];
    std::va_list args;
    va_start(args, format);
    // Every text of the program fits; a longer one would be cut, not overrun.
    const int size = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    errno = 0;
    const auto length = std::min(static_cast<std::size_t>(std::max(size, 0)), sizeof text - 1);
    const bool whole = console_put(stream, text, length);
    return whole && std::fflush(stream) == 0 && std::ferror(stream) == 0;
}

// Characters that the quote escapes although they are well-formed, because
// they are invisible, look like a blank or change the text around them, from
// Unicode 15.0: the general categories Cc, Cf, Cs, Co, Zl, Zp and Zs (but
// U+0020) of UnicodeData.txt, and Default_Ignorable_Code_Point of
// DerivedCoreProperties.txt. The rows not hidden anywhere are the combining
// diacritical marks, escaped only first in the quote, where they would join
// its opening ".
static const struct Hidden {
    char32_t first;
    char32_t last;
    bool anywhere;
} hidden[] = {
    {0x0000, 0x001F, true},   {0x007F, 0x00A0, true},     {0x00AD, 0x00AD, true},
    {0x0300, 0x034E, false},  {0x034F, 0x034F, true},     {0x0350, 0x036F, false},
    {0x0600, 0x0605, true},   {0x061C, 0x061C, true},     {0x06DD, 0x06DD, true},
    {0x070F, 0x070F, true},   {0x0890, 0x0891, true},     {0x08E2, 0x08E2, true},
    {0x115F, 0x1160, true},   {0x1680, 0x1680, true},     {0x17B4, 0x17B5, true},
    {0x180B, 0x180F, true},   {0x1AB0, 0x1AFF, false},    {0x1DC0, 0x1DFF, false},
    {0x2000, 0x200F, true},   {0x2028, 0x202F, true},     {0x205F, 0x206F, true},
    {0x20D0, 0x20FF, false},  {0x3000, 0x3000, true},     {0x3164, 0x3164, true},
    {0xD800, 0xF8FF, true},   {0xFE00, 0xFE0F, true},     {0xFE20, 0xFE2F, false},
    {0xFEFF, 0xFEFF, true},   {0xFFA0, 0xFFA0, true},     {0xFFF0, 0xFFFB, true},
    {0x110BD, 0x110BD, true}, {0x110CD, 0x110CD, true},   {0x13430, 0x1343F, true},
    {0x1BCA0, 0x1BCA3, true}, {0x1D173, 0x1D17A, true},   {0xE0000, 0xE0FFF, true},
    {0xF0000, 0xFFFFD, true}, {0x100000, 0x10FFFD, true},
};

// Whether the character CP is shown as itself in the quote, FIRST there or not.
static bool visible(char32_t cp, bool first)
{
    const auto *after = std::upper_bound(std::begin(hidden), std::end(hidden), cp,
                                         [](char32_t c, const Hidden &h) { return c < h.first; });
    if (after == std::begin(hidden)) {
        return true;
    }
    const Hidden &h = *(after - 1);
    return cp > h.last || (!h.anywhere && !first);
}

// The length of the well-formed UTF-8 character at P, with its code point in
// CP; 0 where the bytes there are not one. The table of well-formed UTF-8
// from the Unicode Standard: the length that a lead byte announces, and the
// range of the byte after it, which rules out overlong forms, surrogates and
// anything above U+10FFFF. The NUL after the word ends a sequence that the
// word cuts short.
static int decode(const char *p, char32_t &cp)
{
    const auto u = static_cast<unsigned char>(*p);
    const int size = u < 0x80                 ? 1
                     : u >= 0xC2 && u <= 0xDF ? 2
                     : u >= 0xE0 && u <= 0xEF ? 3
                     : u >= 0xF0 && u <= 0xF4 ? 4
                                              : 0;
    const unsigned lo = u == 0xE0 ? 0xA0 : u == 0xF0 ? 0x90 : 0x80;
    const unsigned hi = u == 0xED ? 0x9F : u == 0xF4 ? 0x8F : 0xBF;
    cp = size == 1 ? u : u & (0x7FU >> size);
    for (int k = 1; k < size; ++k) {
        const auto v = static_cast<unsigned char>(p[k]);
        if (v < (k == 1 ? lo : 0x80U) || v > (k == 1 ? hi : 0xBFU)) {
            return 0;
        }
        cp = cp << 6U | (v & 0x3FU);
    }
    return size;
}

// Quotes at most 40 characters of TEXT..END into OUT, with "…" where more
// follow. A character is shown as itself only where it is well-formed UTF-8
// and visible; " and \ are escaped with a backslash, and every other byte is
// written \xHH, so that the quote shows what was typed and hides nothing.
static void quote(char (&out)[256], const char *text, const char *end)
{
    std::size_t used = 0;
    const char *p = text;
    for (int characters = 0; p < end && characters < 40; ++characters) {
        char32_t cp = 0;
        const int size = decode(p, cp);
        int wrote = 0;
        if (*p == '"' || *p == '\\') {
            wrote = std::snprintf(out + used, sizeof out - used, "\\%c", *p);
            ++p;
        } else if (size > 0 && visible(cp, p == text)) {
            wrote = std::snprintf(out + used, sizeof out - used, "%.*s", size, p);
            p += size;
        } else {
            wrote = std::snprintf(out + used, sizeof out - used, "\\x%02X",
                                  static_cast<unsigned>(static_cast<unsigned char>(*p)));
            ++p;
        }
        used += static_cast<std::size_t>(wrote);
    }
    std::snprintf(out + used, sizeof out - used, "%s", p < end ? "…" : "");
}

// Ends the run where coefficient NAME cannot be taken from TEXT..END: one
// line that says WHY and quotes the text, with a hint where a decimal comma
// is the likely cause.
static int refuse(char name, const char *why, const char *text, const char *end, bool comma)
{
    char quoted[256];
    quote(quoted, text, end);
    say(stderr, "Erro: o valor de %c %s: \"%s\"%s\n", name, why, quoted,
        comma ? " (use ponto como separador decimal, como em 2.5)" : "");
    return 1;
}

// Why a read or a write failed, as ": " and a reason, in Portuguese:
// strerror would answer in the C locale's English, and the locale is never
// set. These are the errors that read(2) and write(2) report; any other is
// given by number, and no errno at all gives no reason.
static void reason(char (&out)[80], int e)
{
    static const struct {
        int e;
        const char *text;
    } reasons[] = {
        {EAGAIN, "a operação teria de esperar (descritor não bloqueante)"},
        {EBADF, "descritor de arquivo inválido"},
        {EDESTADDRREQ, "o socket não tem endereço de destino"},
#ifdef EDQUOT // not in Windows' C library
        {EDQUOT, "a cota de disco acabou"},
#endif
        {EFAULT, "endereço de memória inválido"},
        {EFBIG, "o arquivo passaria do tamanho máximo"},
        {EINTR, "interrompido por um sinal"},
        {EINVAL, "o descritor não pode ser usado para isso"},
        {EIO, "erro de entrada e saída"},
        {EISDIR, "é um diretório"},
        {ENOSPC, "não há espaço no dispositivo"},
        {EPERM, "operação não permitida"},
        {EPIPE, "a outra ponta do pipe foi fechada"},
    };
    const auto *known = std::find_if(std::begin(reasons), std::end(reasons),
                                     [e](const auto &r) { return r.e == e; });
    if (e == 0) {
        out[0] = '\0';
    } else if (known != std::end(reasons)) {
        std::snprintf(out, sizeof out, ": %s", known->text);
    } else {
        std::snprintf(out, sizeof out, ": erro do sistema número %d", e);
    }
}

// Ends the run where standard input could not be read for coefficient NAME.
static int unreadable(char name, int e)
{
    char why[80];
    reason(why, e);
    say(stderr, "Erro: falha ao ler o valor de %c%s\n", name, why);
    return 1;
}

// Ends the run where the input ended before coefficient NAME.
static int ended(char name)
{
    say(stderr, "Erro: a entrada terminou antes do valor de %c\n", name);
    return 1;
}

// Ends the run where standard output could not be written.
static int unwritable(int e)
{
    char why[80];
    reason(why, e);
    say(stderr, "Erro: falha ao escrever a saída%s\n", why);
    return 1;
}

// Reads the next word of the input, a run of non-blank bytes (NUL among
// them) after any blanks, into WORD, and returns its size; word_max + 1
// where it is longer, and -1 where the input could not be read (errno says
// why), since the error may have cut the word short.
static int read_word(char (&word)[word_max + 1])
{
    int ch = console_getc();
    while (blank(ch)) {
        ch = console_getc();
    }
    int size = 0;
    for (; ch != EOF && !blank(ch) && size < word_max; ch = console_getc()) {
        word[size++] = static_cast<char>(ch);
    }
    word[size] = '\0';
    return console_read_failed() ? -1 : ch != EOF && !blank(ch) ? word_max + 1 : size;
}

// A root as the result line shows it. IEEE 754 leaves the sign of a NaN
// result open, compilers order the operands of + and * as they like, some
// processors drop a NaN's sign when it is widened, and C libraries spell NaN
// in their own ways: a NaN is written as the text of the NaN that an invalid
// operation gives on x86-64 with glibc, the same bytes from every build.
static void digits(char (&out)[48], float x)
{
    if (std::isnan(x)) {
        std::snprintf(out, sizeof out, "-nan");
    } else {
        std::snprintf(out, sizeof out, "%.2f", static_cast<double>(x));
    }
}

int main()
{
    console_start();
    float a = 0.0F;
    float b = 0.0F;
    float c = 0.0F;
    float *const coef[] = {&a, &b, &c};
    const char name[] = "ABC";
    // A number is read from the start of what is left of the current word;
    // what follows it there is left for the next coefficient, as a "%f" read
    // of the stream would leave it, but C must use up the rest of its word.
    char word[word_max + 1];
    const char *rest = word;
    const char *end = word;
    for (int i = 0; i < 3; ++i) {
        if (!say(stdout, "Digite o Valor de %c \n", name[i])) {
            return unwritable(errno);
        }
        if (rest == end) {
            const int size = read_word(word);
            if (size < 0) {
                return unreadable(name[i], errno);
            }
            if (size == 0) {
                return ended(name[i]);
            }
            if (size > word_max) {
                return refuse(name[i], "tem mais de 4095 bytes", word, word + word_max, false);
            }
            rest = word;
            end = word + size;
        }
        // An out-of-range number becomes an infinity or a zero, as "%f" has it.
        int used = 0;
        // NOLINTNEXTLINE(cert-err34-c)
        if (std::sscanf(rest, "%f%n", coef[i], &used) != 1 || (i == 2 && rest + used != end)) {
            return refuse(name[i], "não é um número", rest, end, rest[used] == ',');
        }
        rest += used;
    }

    // Each rounding point is written out: 4·A·C in float, B² and the
    // difference in double, delta stored as float; the roots in double,
    // each stored as float.
    const double bb = static_cast<double>(b) * static_cast<double>(b);
    const float ac4 = 4.0F * a * c;
    const float delta = static_cast<float>(bb - static_cast<double>(ac4));
    const double s = std::sqrt(static_cast<double>(delta));
    const double a2 = 2.0 * static_cast<double>(a);
    const float x1 = static_cast<float>((static_cast<double>(-b) + s) / a2);
    const float x2 = static_cast<float>((static_cast<double>(-b) - s) / a2);

    char x1_text[48];
    char x2_text[48];
    digits(x1_text, x1);
    digits(x2_text, x2);
    // The result only counts once it has reached its destination.
    if (!say(stdout, "As raízes da equação são: %s e %s", x1_text, x2_text)) {
        return unwritable(errno);
    }
    return 0;
}
