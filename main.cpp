// SPDX-License-Identifier: MIT
// raizes: solves A·x² + B·x + C = 0 and prints both real roots.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

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

int main()
{
    float a = 0.0F;
    float b = 0.0F;
    float c = 0.0F;
    float *const coef[] = {&a, &b, &c};
    const char name[] = "ABC";

    // Input is taken a word (a run of non-blank bytes) at a time, so that a
    // word that is not a number can be quoted whole in the error message.
    // The number is converted from the start of the word; what follows it in
    // the same word is left for the next coefficient, as a plain "%f" read
    // of standard input would leave it.
    char word[4096];
    // White space as the C locale has it, whatever the environment says.
    const auto blank = [](int ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); };
    const char *rest = word;
    const char *end = word;

    for (int i = 0; i < 3; ++i) {
        std::printf("Digite o Valor de %c \n", name[i]);
        std::fflush(stdout);

        const char *why = nullptr;
        if (rest == end) {
            int ch = std::getchar();
            while (blank(ch)) {
                ch = std::getchar();
            }
            // A NUL byte is kept as part of the word: it ends the number like
            // any other stray byte, and the count below does not stop at it.
            char *w = word;
            while (ch != EOF && !blank(ch) && w < word + sizeof word - 1) {
                *w++ = static_cast<char>(ch);
                ch = std::getchar();
            }
            *w = '\0';
            // A read error may have cut the word short, so it is not used.
            if (std::ferror(stdin) != 0) {
                std::fprintf(stderr, "Erro: falha ao ler o valor de %c: %s\n", name[i],
                             std::strerror(errno));
                return 1;
            }
            if (w == word) {
                std::fprintf(stderr, "Erro: a entrada terminou antes do valor de %c\n", name[i]);
                return 1;
            }
            rest = word;
            end = w;
            if (ch != EOF && !blank(ch)) {
                why = "é longo demais";
            }
        }

        int used = 0;
        // An out-of-range number becomes an infinity or a zero, as "%f" has it.
        // NOLINTNEXTLINE(cert-err34-c)
        if (why == nullptr && std::sscanf(rest, "%f%n", coef[i], &used) != 1) {
            why = "não é um número";
        }
        if (why != nullptr) {
            // Quote at most a few dozen characters of the word, escaping
            // every byte that a terminal would not show as plain text.
            std::fprintf(stderr, "Erro: o valor de %c %s: \"", name[i], why);
            const char *p = rest;
            for (int shown = 0; p < end && shown < 40; ++shown) {
                const auto u = static_cast<unsigned char>(*p);
                long n = 1;
                bool text = u >= 0x20 && u < 0x7F && u != '"' && u != '\\';
                if (u >= 0xC2 && u <= 0xF4) {
                    n = u >= 0xF0 ? 4 : u >= 0xE0 ? 3 : 2;
                    text = end - p >= n;
                    for (long k = 1; text && k < n; ++k) {
                        text = (static_cast<unsigned char>(p[k]) & 0xC0U) == 0x80U;
                    }
                    // U+0080 to U+009F are control codes.
                    text = text && !(u == 0xC2 && static_cast<unsigned char>(p[1]) < 0xA0);
                }
                if (text) {
                    std::fwrite(p, 1, static_cast<std::size_t>(n), stderr);
                    p += n;
                } else if (u == '"' || u == '\\') {
                    std::fprintf(stderr, "\\%c", *p++);
                } else {
                    std::fprintf(stderr, "\\x%02X", static_cast<unsigned>(u));
                    ++p;
                }
            }
            std::fprintf(stderr, "%s\"%s\n", p < end ? "…" : "",
                         *rest == ',' ? " (use ponto como separador decimal, como em 2.5)" : "");
            return 1;
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

    // IEEE 754 leaves the sign of a NaN result open, and compilers order the
    // operands of + and * as they like, so a NaN root is printed as the NaN
    // that an invalid operation gives on x86-64: the same bytes from every build.
    const float nan = -std::numeric_limits<float>::quiet_NaN();
    std::printf("As raízes da equação são: %.2f e %.2f",
                static_cast<double>(std::isnan(x1) ? nan : x1),
                static_cast<double>(std::isnan(x2) ? nan : x2));

    // The result only counts once it, and every prompt before it, has
    // reached its destination.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "Erro: falha ao escrever a saída%s%s\n", errno != 0 ? ": " : "",
                     errno != 0 ? std::strerror(errno) : "");
        return 1;
    }
    return 0;
}
