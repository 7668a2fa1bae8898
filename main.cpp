// raizes: solves A·x² + B·x + C = 0 and prints both real roots.
#include <cctype>
#include <cerrno>
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
    const char *rest = word;
    const char *end = word;

    for (int i = 0; i < 3; ++i) {
        std::printf("Digite o Valor de %c \n", name[i]);
        std::fflush(stdout);

        const char *why = nullptr;
        if (rest == end) {
            int from = 0;
            int to = 0;
            // The width is sizeof word - 1.
            const int got = std::scanf(" %n%4095[^ \t\n\v\f\r]%n", &from, word, &to);
            if (got != 1) {
                if (std::ferror(stdin) != 0) {
                    std::fprintf(stderr, "Erro: falha ao ler o valor de %c: %s\n", name[i],
                                 std::strerror(errno));
                } else {
                    std::fprintf(stderr, "Erro: a entrada terminou antes do valor de %c\n", name[i]);
                }
                return 1;
            }
            // The count, not strlen: a NUL byte is part of the word and ends
            // the number like any other stray byte.
            rest = word;
            end = word + (to - from);
            if (end - word == static_cast<long>(sizeof word) - 1) {
                const int next = std::getchar();
                if (next != EOF && std::isspace(next) == 0) {
                    why = "é longo demais";
                }
                std::ungetc(next, stdin);
            }
        }

        int used = 0;
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

    std::printf("As raízes da equação são: %.2f e %.2f", static_cast<double>(x1),
                static_cast<double>(x2));

    // The result only counts once it has reached its destination.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "Erro: falha ao escrever o resultado%s%s\n", errno != 0 ? ": " : "",
                     errno != 0 ? std::strerror(errno) : "");
        return 1;
    }
    return 0;
}
