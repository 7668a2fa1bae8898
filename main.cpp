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
#include <string_view>

#include "console.h"
#include "hidden_characters.h"

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

// The C locale's classes of bytes, whatever the environment says.
static char lower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}
static bool digit(char ch) { return ch >= '0' && ch <= '9'; }
static bool hex_digit(char ch) { return digit(ch) || (lower(ch) >= 'a' && lower(ch) <= 'f'); }
static bool nan_char(char ch)
{
    return digit(ch) || (lower(ch) >= 'a' && lower(ch) <= 'z') || ch == '_';
}

// A bound on the texts the program writes, above the longest of them: an
// error line with the longest quote.
constexpr std::size_t line_max = 1024;

// Formats one text and writes it whole, in one piece, as a console needs it;
// the stream is flushed at once. Returns 0 where all of it got there, the
// errno of what went wrong, or -1 where the C library gave no errno. It is
// printf's own kind of variadic function, so that the compiler checks each
// format against its arguments.
// NOLINTNEXTLINE(cert-dcl50-cpp)
[[gnu::format(printf, 2, 3)]] static int say(std::FILE *stream, const char *format, ...)
{
    char text[line_max];
    std::va_list args;
    va_start(args, format);
    errno = 0;
    const int size = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (size < 0) {
        return errno != 0 ? errno : -1;
    }
    // A text that does not fit is written cut, not past the buffer, and
    // counts as not written.
    const auto length = std::min(static_cast<std::size_t>(size), sizeof text - 1);
    errno = 0;
    if (!console_put(stream, text, length) || std::fflush(stream) != 0 ||
        std::ferror(stream) != 0) {
        return errno != 0 ? errno : -1;
    }
    return length == static_cast<std::size_t>(size) ? 0 : EOVERFLOW;
}

// The search in visible() needs the rows in order, none overlapping another.
static constexpr bool sorted_and_apart()
{
    for (std::size_t k = 0; k < std::size(hidden); ++k) {
        if (hidden[k].first > hidden[k].last || (k > 0 && hidden[k - 1].last >= hidden[k].first)) {
            return false;
        }
    }
    return true;
}
static_assert(sorted_and_apart(), "the rows of hidden[] must be sorted and apart");

// Whether the character CP is shown as itself in the quote, whether it OPENS
// the quote or not.
static bool visible(char32_t cp, bool opens)
{
    const auto *after = std::upper_bound(std::begin(hidden), std::end(hidden), cp,
                                         [](char32_t c, const Hidden &h) { return c < h.first; });
    if (after == std::begin(hidden)) {
        return true;
    }
    const Hidden &h = *(after - 1);
    return cp > h.last || (!h.anywhere && !opens);
}

// The length of the well-formed UTF-8 character at P, before END, with its
// code point in CP; 0 where the bytes there are not one. The table of
// well-formed UTF-8 from the Unicode Standard: the length that a lead byte
// announces, and the range of the byte after it, which rules out overlong
// forms, surrogates and anything above U+10FFFF.
static int decode(const char *p, const char *end, char32_t &cp)
{
    const auto u = static_cast<unsigned char>(*p);
    const int size = u < 0x80                 ? 1
                     : u >= 0xC2 && u <= 0xDF ? 2
                     : u >= 0xE0 && u <= 0xEF ? 3
                     : u >= 0xF0 && u <= 0xF4 ? 4
                                              : 0;
    if (end - p < size) {
        return 0;
    }
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

// The most characters a quote shows; what follows is left out, marked "…".
constexpr int quote_characters = 40;
// The longest quote: every character a four-byte one that is written \xHH
// byte by byte, then the "…" and the NUL.
constexpr std::size_t quote_max = static_cast<std::size_t>(quote_characters) * 4 * 4 + sizeof "…";
// The error line's own words, the longest hint among them, take under 200.
static_assert(quote_max + 200 < line_max, "an error line must hold the longest quote");

// Quotes at most 40 characters of TEXT..END into OUT, with "…" where more
// follow. A character is shown as itself only where it is well-formed UTF-8
// and visible; " and \ are escaped with a backslash, and every other byte is
// written \xHH, so that the quote shows what was typed and hides nothing. A
// well-formed character is one of the 40 however it is written; a byte that
// is not part of one counts on its own.
static void quote(char (&out)[quote_max], const char *text, const char *end)
{
    static const char hex[] = "0123456789ABCDEF";
    std::size_t used = 0;
    const char *p = text;
    for (int characters = 0; p < end && characters < quote_characters; ++characters) {
        char32_t cp = 0;
        const int size = decode(p, end, cp);
        if (*p == '"' || *p == '\\') {
            out[used++] = '\\';
            out[used++] = *p++;
        } else if (size > 0 && visible(cp, p == text)) {
            for (int k = 0; k < size; ++k) {
                out[used++] = *p++;
            }
        } else {
            for (int k = 0; k < std::max(size, 1); ++k) {
                const auto u = static_cast<unsigned char>(*p++);
                out[used++] = '\\';
                out[used++] = 'x';
                out[used++] = hex[u >> 4U];
                out[used++] = hex[u & 0xFU];
            }
        }
    }
    std::snprintf(out + used, sizeof out - used, "%s", p < end ? "…" : "");
}

// Where the number at TEXT, before END, ends, by ISO C's rule for a "%f"
// read: the longest run of bytes that is a number or the beginning of one
// must be a whole number. A number is an optional sign, then decimal digits
// with an optional point and an optional e exponent; 0x and hexadecimal
// digits with an optional point and an optional p exponent; inf or infinity;
// nan, or nan( with letters, digits and _ then ), letters in either case.
// Null where the run is empty or only begins a number (1e, 0x, infin, nan(1).
static const char *number_end(const char *text, const char *end)
{
    const char *p = text;
    const auto skip = [&p, end](bool (*kind)(char)) {
        const char *const from = p;
        while (p < end && kind(*p)) {
            ++p;
        }
        return p != from;
    };
    // How many bytes at P spell the beginning of WORD, in either case.
    const auto spelled = [&p, end](const char *word) {
        std::size_t n = 0;
        while (word[n] != '\0' && p + n < end && lower(p[n]) == word[n]) {
            ++n;
        }
        return n;
    };
    // Digits of KIND, at least one, with at most one point among them.
    const auto mantissa = [&](bool (*kind)(char)) {
        bool some = skip(kind);
        if (p < end && *p == '.') {
            ++p;
            some = skip(kind) || some;
        }
        return some;
    };
    // An exponent that begins with MARK, if there is one, needs digits.
    const auto exponent = [&](char mark) {
        if (p == end || lower(*p) != mark) {
            return true;
        }
        ++p;
        if (p < end && (*p == '+' || *p == '-')) {
            ++p;
        }
        return skip(digit);
    };
    if (p < end && (*p == '+' || *p == '-')) {
        ++p;
    }
    if (const std::size_t n = spelled("infinity"); n > 0) {
        return n == 3 || n == 8 ? p + n : nullptr;
    }
    if (const std::size_t n = spelled("nan"); n > 0) {
        p += n;
        if (n < 3 || p == end || *p != '(') {
            return n == 3 ? p : nullptr;
        }
        ++p;
        skip(nan_char);
        return p < end && *p == ')' ? p + 1 : nullptr;
    }
    if (end - p >= 2 && p[0] == '0' && lower(p[1]) == 'x') {
        p += 2;
        return mantissa(hex_digit) && exponent('p') ? p : nullptr;
    }
    return mantissa(digit) && exponent('e') ? p : nullptr;
}

// Whether TEXT..END holds a character of KIND.
static bool holds(const char *text, const char *end, bool (*kind)(char32_t))
{
    for (const char *p = text; p < end;) {
        char32_t cp = 0;
        const int size = decode(p, end, cp);
        if (size > 0 && kind(cp)) {
            return true;
        }
        p += std::max(size, 1);
    }
    return false;
}

// Whether TEXT..END holds a byte that is not part of well-formed UTF-8, or a
// NUL, which UTF-16 puts beside each digit.
static bool not_utf8(const char *text, const char *end)
{
    for (const char *p = text; p < end;) {
        char32_t cp = 0;
        const int size = decode(p, end, cp);
        if (size == 0 || cp == 0) {
            return true;
        }
        p += size;
    }
    return false;
}

// Where a character of KIND stands in TEXT..END right after a byte of BEFORE;
// null where none does.
static const char *after_byte(const char *text, const char *end, bool (*before)(char),
                              bool (*kind)(char32_t))
{
    for (const char *p = text; p < end;) {
        char32_t cp = 0;
        const int size = decode(p, end, cp);
        if (size > 0 && p > text && before(p[-1]) && kind(cp)) {
            return p + size;
        }
        p += std::max(size, 1);
    }
    return nullptr;
}

// The escape, Backspace and Delete that a terminal's arrow and editing keys
// send where nothing edits the line.
static bool key_code(char32_t cp) { return cp == 0x08 || cp == 0x1B || cp == 0x7F; }

// Marks with no width that web pages carry: joiners, direction marks, line
// separators and a byte-order mark inside the text.
static bool invisible_mark(char32_t cp)
{
    return (cp >= 0x200C && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0xFEFF;
}

// Digits and points of other scripts and keyboards: Arabic-Indic and
// Persian, Devanagari, full-width, mathematical, and a keycap emoji's mark.
static bool other_digit(char32_t cp)
{
    return (cp >= 0x0660 && cp <= 0x066C) || (cp >= 0x06F0 && cp <= 0x06F9) ||
           (cp >= 0x0966 && cp <= 0x096F) || cp == 0x20E3 || cp == 0x3002 || cp == 0xFF0C ||
           cp == 0xFF0E || (cp >= 0xFF10 && cp <= 0xFF19) || (cp >= 0x1D7CE && cp <= 0x1D7FF);
}

// Dashes and minus signs other than the keyboard's -, which word processors
// and PDFs put where a - was meant.
static bool pasted_dash(char32_t cp)
{
    return cp == 0x00AD || cp == 0x02D7 || (cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212 ||
           cp == 0x2796 || cp == 0xFE63 || cp == 0xFF0D;
}

// Spaces that web pages and PDFs put between words, which end no word here.
static bool pasted_space(char32_t cp)
{
    return cp == 0x00A0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200B) || cp == 0x202F ||
           cp == 0x205F || cp == 0x2060 || cp == 0x3000;
}

// The signs of a product and the superscripts of a power, as books print them.
static bool times(char32_t cp) { return cp == 0x00D7 || cp == 0x00B7 || cp == 0x22C5; }
static bool superscript(char32_t cp)
{
    return cp == 0x00B2 || cp == 0x00B3 || cp == 0x00B9 || (cp >= 0x2070 && cp <= 0x207B);
}
static bool caret(char32_t cp) { return cp == '^'; }
static bool sign(char ch) { return ch == '+' || ch == '-'; }

// What ends the error line for TEXT..END, the word that is not a number from
// where the refused coefficient's number begins: a hint at the likely
// mistake, or nothing; the first case that fits. The marks that Windows
// editors put before a file's text count only at the start of the input,
// FIRST; LINE_END says whether the word ended its line (or the input).
static const char *hint(const char *text, const char *end, bool first, bool line_end)
{
    const std::string_view word(text, static_cast<std::size_t>(end - text));
    constexpr auto none = std::string_view::npos;
    const auto commas = std::count(word.begin(), word.end(), ',');
    const auto comma = word.find(',');
    // What follows the first comma: a blank, which no word holds, where that
    // comma ends the word or there is none.
    const char after_comma = comma != none && comma + 1 < word.size() ? word[comma + 1] : ' ';
    // The x of a hexadecimal number's 0x is no unknown, nor its e an exponent.
    const std::size_t signed_ = !word.empty() && sign(word.front()) ? 1 : 0;
    const bool hexadecimal =
        word.size() > signed_ + 1 && word[signed_] == '0' && lower(word[signed_ + 1]) == 'x';
    const std::size_t unknown = word.find_first_of("xX^=", hexadecimal ? signed_ + 2 : 0);
    // 1.000,5 and 1,000.5: three digits between a point and a comma.
    const auto group = word.find_first_of(".,");
    const bool grouped = group != none && group + 4 < word.size() && digit(word[group + 1]) &&
                         digit(word[group + 2]) && digit(word[group + 3]) &&
                         word[group + 4] == (word[group] == '.' ? ',' : '.');
    const char *const number = number_end(text, end);
    const std::string_view read(text,
                                number == nullptr ? 0 : static_cast<std::size_t>(number - text));
    const char follows = number != nullptr && number != end ? *number : ' ';
    // 1 000: a special space after a digit, then three digits and no fourth.
    const char *const thousands = after_byte(text, end, digit, pasted_space);
    const bool grouped_by_space = thousands != nullptr && end - thousands >= 3 &&
                                  digit(thousands[0]) && digit(thousands[1]) &&
                                  digit(thousands[2]) &&
                                  (end - thousands == 3 || !digit(thousands[3]));
    // 1/-3/2, 1/ -3/ 2 and the / of 1 / -3 / 2 put slashes between numbers.
    const auto slash = word.find('/');
    const bool slashes = slash != none && (std::count(word.begin(), word.end(), '/') > 1 ||
                                           slash + 1 == word.size() || sign(word[slash + 1]));
    // 2, and 2.5; end the number and the word.
    const bool ending_mark = (follows == ',' || follows == ';') && number + 1 == end;
    if (first && word.starts_with("\xEF\xBB\xBF")) {
        return " (o arquivo começa com um BOM: salve-o como UTF-8 sem BOM)";
    }
    if (first && (word.starts_with("\xFF\xFE") || word.starts_with("\xFE\xFF"))) {
        return " (o texto está em UTF-16: salve-o como UTF-8 sem BOM)";
    }
    if (not_utf8(text, end)) {
        return " (o texto não está em UTF-8: salve o arquivo como UTF-8)";
    }
    if (holds(text, end, key_code)) {
        return " (as setas e as teclas de edição não funcionam aqui: apague com Backspace e "
               "digite de novo)";
    }
    if (holds(text, end, invisible_mark)) {
        return " (há uma marca invisível, copiada de uma página da web: digite o número em vez "
               "de colá-lo)";
    }
    if (holds(text, end, other_digit)) {
        return " (esses algarismos não são os do teclado: digite de 0 a 9, e o ponto)";
    }
    if (holds(text, end, pasted_dash)) {
        return " (esse traço não é o sinal de menos: use a tecla - do teclado)";
    }
    if (grouped_by_space) {
        return " (um número não tem separador de milhar: escreva 1000, e não 1 000)";
    }
    // - 3: a sign alone in its word, or a special space after it.
    if (after_byte(text, end, sign, pasted_space) != nullptr || word == "-" || word == "+") {
        return " (apague o espaço depois do sinal: escreva -3)";
    }
    if (holds(text, end, pasted_space)) {
        return " (esse espaço não separa os números: digite um espaço comum)";
    }
    if (holds(text, end, times) || word.find("10^") != none || word.find("*10") != none) {
        return " (escreva a potência de 10 com e: 1.5e3 para 1.5×10³, 1e-3 para 10^-3)";
    }
    if (after_byte(text, end, digit, superscript) != nullptr ||
        after_byte(text, end, digit, caret) != nullptr) {
        return " (calcule a potência: digite 4, e não 2²)";
    }
    if (unknown != none || word.find("²") != none) {
        return " (digite só os números: para x² - 3x + 2 = 0, digite 1 -3 2)";
    }
    if (slash != none && !slashes) {
        return " (escreva a fração como decimal: 0.5 em vez de 1/2)";
    }
    if (ending_mark && line_end) {
        return " (apague a vírgula ou o ponto e vírgula depois do número)";
    }
    // 1, 5: a phone's decimal comma with its automatic space, or two numbers.
    if (ending_mark && follows == ',') {
        return " (para um decimal, escreva 1.5, e não 1, 5; para dois números, separe-os só "
               "com espaços)";
    }
    // 1;-3;2, 1; -3; 2, 1,2,3, 1,-3,2, 1.5,2 and 1/-3/2 list the numbers;
    // 2,5; is a decimal comma, its number ended by a semicolon.
    const bool comma_then_semicolon = word.find(';') + 1 == word.size() && digit(after_comma);
    if (slashes || (word.find(';') != none && !comma_then_semicolon) || commas > 1 ||
        (commas == 1 && (after_comma == ' ' || sign(after_comma))) ||
        (follows == ',' && read.find('.') != none && !grouped)) {
        return " (separe os números com espaços, como em 1 -3 2)";
    }
    // 1e1.5 and 1e1,5: an exponent's point.
    if ((follows == '.' || follows == ',') &&
        read.find_first_of(hexadecimal ? "pP" : "eE") != none) {
        return " (um expoente é um número inteiro, como em 1.5e3)";
    }
    // 1.000.000, 1.5.2 and 2..5: a point right after a number.
    if (follows == '.' || grouped) {
        return " (um número tem um só ponto, o decimal, e nenhum separador de milhar: escreva "
               "1000000, e não 1.000.000)";
    }
    if (digit(after_comma)) {
        return " (use ponto como separador decimal, como em 2.5)";
    }
    return "";
}

// Ends the run where coefficient NAME cannot be taken from TEXT..END: one
// line that says WHY, quotes the text, and ends with ADVICE.
static int refuse(char name, const char *why, const char *text, const char *end, const char *advice)
{
    char quoted[quote_max];
    quote(quoted, text, end);
    say(stderr, "Erro: o valor de %c %s: \"%s\"%s\n", name, why, quoted, advice);
    console_drop_line(nullptr, 0);
    return 1;
}

// Ends the run where the word read for coefficient NAME is longer than the
// program reads.
static int too_long(char name, const char *word)
{
    char why[40];
    std::snprintf(why, sizeof why, "tem mais de %d bytes", word_max);
    return refuse(name, why, word, word + word_max, "");
}

// Why a read or a write failed, as ": " and a reason, in Portuguese:
// strerror would answer in the C locale's English, and the locale is never
// set. These are the errors that read(2) and write(2) report; any other is
// given by number, and no errno at all (0, or -1 from say) gives no reason.
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
    if (e <= 0) {
        out[0] = '\0';
    } else if (known != std::end(reasons)) {
        std::snprintf(out, sizeof out, ": %s", known->text);
    } else {
        std::snprintf(out, sizeof out, ": erro do sistema número %d", e);
    }
}

static int unreadable(char name, int e)
{
    char why[80];
    reason(why, e);
    say(stderr, "Erro: falha ao ler o valor de %c%s\n", name, why);
    console_drop_line(nullptr, 0);
    return 1;
}

static int ended(char name)
{
    say(stderr, "Erro: a entrada terminou antes do valor de %c\n", name);
    console_drop_line(nullptr, 0);
    return 1;
}

static int unwritable(int e)
{
    char why[80];
    reason(why, e);
    say(stderr, "Erro: falha ao escrever a saída%s\n", why);
    console_drop_line(nullptr, 0);
    return 1;
}

// Reads the next word of the input, a run of non-blank bytes (NUL among
// them) after any blanks, into WORD, and returns its size; word_max + 1
// where it is longer, and -1 where the input could not be read (errno says
// why), since the error may have cut the word short. LINE_END tells whether
// the word ended its line, or the input.
static int read_word(char (&word)[word_max + 1], bool &line_end)
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
    line_end = ch == '\n' || ch == '\r' || ch == EOF;
    return console_read_failed() ? -1 : ch != EOF && !blank(ch) ? word_max + 1 : size;
}

// Whether TEXT..END begins a number, whole or not: a sign, then a digit, a
// point, or the i of inf or n of nan. Where it does, a mistake in it is that
// number's own.
static bool begins_number(const char *text, const char *end)
{
    const char *p = text < end && (*text == '+' || *text == '-') ? text + 1 : text;
    return p < end && (digit(*p) || *p == '.' || lower(*p) == 'i' || lower(*p) == 'n');
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
    bool line_end = false;
    for (int i = 0; i < 3; ++i) {
        if (const int e = say(stdout, "Digite o Valor de %c \n", name[i]); e != 0) {
            return unwritable(e);
        }
        if (rest == end) {
            const int size = read_word(word, line_end);
            if (size < 0) {
                return unreadable(name[i], errno);
            }
            if (size == 0) {
                return ended(name[i]);
            }
            if (size > word_max) {
                return too_long(name[i], word);
            }
            rest = word;
            end = word + size;
        }
        // The number is read here, not by sscanf, whose reading of what
        // only begins a number (1e, nan(1) changes with the C library's
        // version.
        // What follows A's or B's number in its word must begin the next
        // number, and C's number must end its word: the error then names the
        // coefficient whose word holds the mistake. A point right after a
        // number (1.5.2, 1.000.000) never begins the next one.
        const char *const after = number_end(rest, end);
        if (after == nullptr ||
            (after != end && (i == 2 || *after == '.' || !begins_number(after, end)))) {
            return refuse(name[i], "não é um número", rest, end, hint(rest, end, i == 0, line_end));
        }
        // strtof stops where number_end does, since no longer text is a
        // number; its value is correctly rounded once: an infinity beyond
        // float's range, a subnormal or zero below.
        *coef[i] = std::strtof(rest, nullptr);
        rest = after;
    }
    // At a terminal, the rest of C's line is read and dropped, so that the
    // shell never runs it; what it held is said, since it was not read as a
    // number.
    char dropped[word_max + 1];
    const char *left = dropped;
    const char *right = dropped + console_drop_line(dropped, sizeof dropped);
    while (left < right && blank(*left)) {
        ++left;
    }
    while (right > left && blank(right[-1])) {
        --right;
    }
    if (left < right) {
        char quoted[quote_max];
        quote(quoted, left, right);
        say(stderr, "Aviso: o resto da linha depois do valor de C foi ignorado: \"%s\"\n", quoted);
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
    console_solved(a, b, c, delta, x1, x2);

    char x1_text[48];
    char x2_text[48];
    digits(x1_text, x1);
    digits(x2_text, x2);
    if (const int e = say(stdout, "As raízes da equação são: %s e %s", x1_text, x2_text); e != 0) {
        return unwritable(e);
    }
    return 0;
}
