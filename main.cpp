// SPDX-License-Identifier: MIT
// raizes: solves A·x² + B·x + C = 0 and prints both real roots.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#ifdef _WIN32
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
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

int main()
{
    float a = 0.0F;
    float b = 0.0F;
    float c = 0.0F;
    float *const coef[] = {&a, &b, &c};
    const char name[] = "ABC";

#ifdef _WIN32
    // Text mode would write each \n as \r\n, and end piped input at a 0x1A byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows its own code page, not UTF-8; it is given back on exit.
    // Where standard output is a pipe or a file, nothing is changed.
    static UINT console_page = 0;
    DWORD console_mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &console_mode) != 0) {
        console_page = GetConsoleOutputCP();
        if (SetConsoleOutputCP(CP_UTF8) != 0) {
            std::atexit([] { SetConsoleOutputCP(console_page); });
        }
    }
#endif

    // Input is taken a word (a run of non-blank bytes) at a time, so that a
    // word that is not a number can be quoted whole in the error message.
    // The number is converted from the start of the word; what follows it in
    // the same word is left for the next coefficient, as a plain "%f" read
    // of standard input would leave it.
    char word[4096];

    // Why a read or a write failed, as ": " and a reason, in Portuguese:
    // strerror would answer in the C locale's English, and the locale is
    // never set. These are the errors that read(2) and write(2) report.
    char other[40];
    const auto failure = [&other](int e) -> const char * {
        static const struct {
            int no;
            const char *text;
        } reasons[] = {
            {EAGAIN, ": a operação teria de esperar (descritor não bloqueante)"},
            {EBADF, ": descritor de arquivo inválido"},
            {EDESTADDRREQ, ": o socket não tem endereço de destino"},
#ifdef EDQUOT // not in Windows' C library
            {EDQUOT, ": a cota de disco acabou"},
#endif
            {EFAULT, ": endereço de memória inválido"},
            {EFBIG, ": o arquivo passaria do tamanho máximo"},
            {EINTR, ": interrompido por um sinal"},
            {EINVAL, ": o descritor não pode ser usado para isso"},
            {EIO, ": erro de entrada e saída"},
            {EISDIR, ": é um diretório"},
            {ENOSPC, ": não há espaço no dispositivo"},
            {EPERM, ": operação não permitida"},
            {EPIPE, ": a outra ponta do pipe foi fechada"},
        };
        if (e == 0) {
            return "";
        }
        for (const auto &r : reasons) {
            if (r.no == e) {
                return r.text;
            }
        }
        std::snprintf(other, sizeof other, ": erro do sistema número %d", e);
        return other;
    };
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
                std::fprintf(stderr, "Erro: falha ao ler o valor de %c%s\n", name[i],
                             failure(errno));
                return 1;
            }
            if (w == word) {
                std::fprintf(stderr, "Erro: a entrada terminou antes do valor de %c\n", name[i]);
                return 1;
            }
            rest = word;
            end = w;
            if (ch != EOF && !blank(ch)) {
                why = "tem mais de 4095 bytes";
            }
        }

        int used = 0;
        // An out-of-range number becomes an infinity or a zero, as "%f" has it.
        // NOLINTNEXTLINE(cert-err34-c)
        if (why == nullptr && std::sscanf(rest, "%f%n", coef[i], &used) != 1) {
            why = "não é um número";
        }
        if (why != nullptr) {
            // Quote at most a few dozen characters of the word. A character is
            // shown as itself only where it is well-formed UTF-8 that a
            // terminal shows as plain text: not a control, and not one that is
            // invisible or reorders the text around it. Every other byte is
            // escaped, so the quote cannot hide or forge what was typed.
            std::fprintf(stderr, "Erro: o valor de %c %s: \"", name[i], why);
            const char *p = rest;
            for (int shown = 0; p < end && shown < 40; ++shown) {
                const auto u = static_cast<unsigned char>(*p);
                // The Unicode Standard's table of well-formed UTF-8: the length
                // that a lead byte announces, and the range of the byte after
                // it, which rules out overlong forms, surrogates and anything
                // above U+10FFFF.
                long n = u < 0x80                 ? 1
                         : u >= 0xC2 && u <= 0xDF ? 2
                         : u >= 0xE0 && u <= 0xEF ? 3
                         : u >= 0xF0 && u <= 0xF4 ? 4
                                                  : 0;
                const unsigned lo = u == 0xE0 ? 0xA0 : u == 0xF0 ? 0x90 : 0x80;
                const unsigned hi = u == 0xED ? 0x9F : u == 0xF4 ? 0x8F : 0xBF;
                unsigned cp = n == 1 ? u : u & (0x7FU >> n);
                // The NUL after the word ends a sequence that it cuts short.
                for (long k = 1; k < n; ++k) {
                    const auto v = static_cast<unsigned char>(p[k]);
                    if (v < (k == 1 ? lo : 0x80U) || v > (k == 1 ? hi : 0xBFU)) {
                        n = 0;
                    }
                    cp = cp << 6U | (v & 0x3FU);
                }
                // Not shown as themselves: controls (C0, DEL, C1), the quote
                // and backslash of the quoting itself, and the characters
                // that are invisible or change the direction of text.
                static const unsigned hidden[][2] = {
                    {0x00, 0x1F},     {'"', '"'},       {'\\', '\\'},     {0x7F, 0x9F},
                    {0x061C, 0x061C}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x2064},
                    {0x2066, 0x2069}, {0xFEFF, 0xFEFF},
                };
                bool text = n > 0;
                for (const auto &h : hidden) {
                    text = text && (cp < h[0] || cp > h[1]);
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

    // IEEE 754 leaves the sign of a NaN result open, compilers order the
    // operands of + and * as they like, some processors drop a NaN's sign
    // when it is widened, and C libraries spell NaN in their own ways. A NaN
    // root is therefore written as the text of the NaN that an invalid
    // operation gives on x86-64 with glibc: the same bytes from every build.
    char shown[2][48];
    const float roots[] = {x1, x2};
    for (int k = 0; k < 2; ++k) {
        if (std::isnan(roots[k])) {
            std::snprintf(shown[k], sizeof shown[k], "-nan");
        } else {
            std::snprintf(shown[k], sizeof shown[k], "%.2f", static_cast<double>(roots[k]));
        }
    }
    std::printf("As raízes da equação são: %s e %s", shown[0], shown[1]);

    // The result only counts once it, and every prompt before it, has
    // reached its destination.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "Erro: falha ao escrever a saída%s\n", failure(errno));
        return 1;
    }
    return 0;
}
