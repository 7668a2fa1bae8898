// SPDX-License-Identifier: MIT
// The console of the browser build, in one of two builds: for the web page,
// what the student types and what the page shows, through the functions
// that the page's script gives the module (raizesRead, raizesWrite,
// raizesSolved); for node (RAIZES_NODE), which runs the tests, the real
// descriptors. Emscripten's own streams would not do: under node its
// standard input fails on a pipe or a file, and its standard output adds a
// line feed that the program never wrote. The page's build carries nothing
// of node's: a page can neither fail a read nor a write, nor have a terminal.
#include "console.h"

#include <cerrno>
#include <emscripten.h>

#ifdef RAIZES_NODE
// The errors that node names for a failed read or write, as this build's
// errno: node's own numbers are the host's, not this C library's. The
// JavaScript below gives the position of the name in node_error_names,
// made from the same list as node_errno; an error named otherwise counts
// as EIO, the first.
#define NODE_ERRORS(X)                                                                             \
    X(EIO) X(EAGAIN) X(EBADF) X(EFBIG) X(EINTR) X(EINVAL) X(EISDIR) X(ENOSPC) X(EPERM) X(EPIPE)
#define NODE_ERROR_NAME(e) #e " "
#define NODE_ERROR_NUMBER(e) e,
static const char node_error_names[] = NODE_ERRORS(NODE_ERROR_NAME);
static const int node_errno[] = {NODE_ERRORS(NODE_ERROR_NUMBER)};

// Reads at most SIZE bytes of standard input into BYTES: how many, 0 at the
// end of the input, or -1 - the error's position in NAMES where the read
// failed. Node reads a byte at a time, so that what follows C's word is left
// in a pipe for whatever reads it next.
EM_ASYNC_JS(int, web_read, (unsigned char *bytes, int size, const char *names), {
    try {
        return require("fs").readSync(0, HEAPU8, bytes, 1, null);
    } catch (e) {
        return -1 - Math.max(0, UTF8ToString(names).split(" ").indexOf(e.code));
    }
});

// Writes SIZE bytes of TEXT to descriptor FD, 1 or 2: 0 where they all got
// there, else 1 + the error's position in NAMES.
EM_JS(int, web_write, (int fd, const char *text, int size, const char *names), {
    const bytes = HEAPU8.slice(text, text + size);
    try {
        for (let done = 0; done < size;) {
            done += require("fs").writeSync(fd, bytes, done, size - done);
        }
        return 0;
    } catch (e) {
        return 1 + Math.max(0, UTF8ToString(names).split(" ").indexOf(e.code));
    }
});

// Node has no graph to draw.
static void web_solved(double, double, double, double, double, double) {}

// Whether standard input is a terminal.
EM_JS(bool, web_terminal, (), {
    try {
        return require("tty").isatty(0);
    } catch (e) {
        return false;
    }
});
#else
static const char node_error_names[] = "";
static const int node_errno[] = {EIO};

// Reads at most SIZE bytes of what the student typed into BYTES, waiting for
// them (-sASYNCIFY lets the program wait for the page): how many, or 0 at
// the end of the input.
EM_ASYNC_JS(int, web_read, (unsigned char *bytes, int size, const char *), {
    const got = await Module.raizesRead(size);
    HEAPU8.set(got, bytes);
    return got.length;
});

// Gives the page SIZE bytes of TEXT for descriptor FD, 1 or 2.
EM_JS(int, web_write, (int fd, const char *text, int size, const char *), {
    Module.raizesWrite(fd, HEAPU8.slice(text, text + size));
    return 0;
});

// The six values, each a float widened exactly, for the page's graph.
EM_JS(void, web_solved, (double a, double b, double c, double delta, double x1, double x2),
      { Module.raizesSolved(a, b, c, delta, x1, x2); });

static bool web_terminal() { return false; }
#endif

// The C library's strtof reads through 128-bit long double arithmetic, in
// software here, some 12 KB of the page's WebAssembly; the link's
// --wrap=strtof gives main this one instead, the same values: correctly
// rounded once, to nearest with ties to even, from the exact value of the
// text, which BigInt holds as a fraction. It reads what ISO C's strtof
// reads in the "C" locale: blanks, then a decimal or hexadecimal number, an
// infinity or a NaN; *LENGTH is how many bytes it took (0 for none). errno is
// left as it was: nothing here looks at it.
// (clang-format would take the JavaScript for C++.)
// clang-format off
EM_JS(double, web_strtof, (const char *text, int *length), {
    let at = text;
    while (HEAPU8[at] === 32 || (HEAPU8[at] >= 9 && HEAPU8[at] <= 13)) {
        at++;
    }
    const blanks = at - text;
    let s = "";
    for (; HEAPU8[at] !== 0 && HEAPU8[at] < 128; at++) {
        s += String.fromCharCode(HEAPU8[at]);
    }
    const m = new RegExp("^([+-]?)(?:(infinity|inf)|(nan)(?:[(][0-9a-z_]*[)])?|" +
                         "0x([0-9a-f]*)[.]?([0-9a-f]*)(?:p([+-]?[0-9]+))?|" +
                         "([0-9]*)[.]?([0-9]*)(?:e([+-]?[0-9]+))?)", "i").exec(s);
    const [, sign, inf, nan, hi, hf, hp, di, df, de] = m;
    const digits = hi !== undefined ? hi + hf : di + df;
    if (!inf && !nan && digits === "") {
        // Neither "." nor "0x" alone is a number; "0x" is the 0 before x.
        const zero = /^[+-]?0/.exec(s);
        HEAP32[length >> 2] = zero ? blanks + zero[0].length : 0;
        return zero && sign === "-" ? -0 : 0;
    }
    HEAP32[length >> 2] = blanks + m[0].length;
    const signed = (x) => sign === "-" ? -x : x;
    if (inf) {
        return signed(Infinity);
    }
    if (nan) {
        return NaN;
    }
    // The value is n times base to the power e, and only its size decides
    // an e far out of float's range. (The minifier of emscripten 3.1.6 knows
    // neither BigInt's literals nor its **.)
    const hex = hi !== undefined;
    const big = BigInt;
    const n = big((hex ? "0x" : "") + (digits.replace(/^0+/, "") || "0"));
    if (n === big(0)) {
        return signed(0);
    }
    const bits = (x) => x.toString(2).length;
    const clamp = (x) => Math.max(-1e6, Math.min(1e6, Number(x || 0)));
    const e = clamp(hex ? hp : de) - (hex ? 4 * hf.length : df.length);
    const size = hex ? bits(n) + e : n.toString().length + e;
    if (size > (hex ? 129 : 39)) {
        return signed(Infinity);
    }
    if (size < (hex ? -150 : -46)) {
        return signed(0);
    }
    const power = (k) => {
        let p = big(1);
        for (let b = big(hex ? 2 : 10); k > 0; k >>= 1, b *= b) {
            p = k & 1 ? p * b : p;
        }
        return p;
    };
    const num = e >= 0 ? n * power(e) : n;
    const den = e >= 0 ? big(1) : power(-e);
    // Twenty-four bits before the point, or as many as a subnormal has.
    let exp = Math.max(-149, bits(num) - bits(den) - 24);
    const scaled = (k) => k >= 0 ? [num, den << big(k)] : [num << big(-k), den];
    let [a, b] = scaled(exp);
    while (a / b >= big(1 << 24)) {
        [a, b] = scaled(++exp);
    }
    while (a / b < big(1 << 23) && exp > -149) {
        [a, b] = scaled(--exp);
    }
    let q = a / b;
    const twice = big(2) * (a - q * b);
    if (twice > b || (twice === b && (q & big(1)) === big(1))) {
        q += big(1);
    }
    return signed(Math.fround(Number(q) * Math.pow(2, exp)));
});
// clang-format on

// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): --wrap's name
extern "C" float __wrap_strtof(const char *text, char **end)
{
    int length = 0;
    const float x = static_cast<float>(web_strtof(text, &length));
    if (end != nullptr) {
        *end = const_cast<char *>(text + length);
    }
    return x;
}

// What the last read gave, and how much of it is taken.
static unsigned char line[4 * 1024];
static int line_size;
static int line_taken;
static bool ended;
static bool failed;
// The last byte read: a line feed where nothing has been read yet.
static int last = '\n';

// Nothing to set up: the page, or node, is ready before main runs.
void console_start() {}

int console_getc()
{
    if (line_taken == line_size && !ended) {
        line_taken = 0;
        line_size = web_read(line, static_cast<int>(sizeof line), node_error_names);
        if (line_size <= 0) {
            failed = line_size < 0;
            ended = true;
            if (failed) {
                errno = node_errno[-1 - line_size];
            }
            line_size = 0;
        }
    }
    last = line_taken < line_size ? line[line_taken++] : EOF;
    return last;
}

bool console_read_failed() { return failed; }

bool console_put(std::FILE *stream, const char *text, std::size_t size)
{
    const int error =
        web_write(stream == stderr ? 2 : 1, text, static_cast<int>(size), node_error_names);
    if (error == 0) {
        return true;
    }
    errno = node_errno[error - 1];
    return false;
}

void console_solved(float a, float b, float c, float delta, float x1, float x2)
{
    web_solved(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
               static_cast<double>(delta), static_cast<double>(x1), static_cast<double>(x2));
}

// The page ends each run's input itself; under node, a terminal's line is
// read to its end, as on Linux: node reads a byte at a time, and a read
// gives nothing at the Ctrl-D that sent a line.
std::size_t console_drop_line(char *kept, std::size_t size)
{
    std::size_t got = 0;
    if (!web_terminal()) {
        return got;
    }
    while (last != '\n' && last != '\r' && last != EOF) {
        if (console_getc() != EOF && got < size && last != '\n' && last != '\r') {
            kept[got++] = static_cast<char>(last);
        }
    }
    last = '\n';
    return got;
}
