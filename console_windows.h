// SPDX-License-Identifier: MIT
// The standard streams on Windows. A console is written and read as UTF-16
// (WriteConsoleW, ReadConsoleW), whatever its code page, so that UTF-8 text
// reaches it, and the program, whole; pipes and files get the bytes as they
// are, exactly as elsewhere.
#pragma once
#include <cstdio>

// Puts the three streams in binary mode, and notes which handles are consoles.
void console_start();
// The next byte of standard input, or EOF.
int console_getc();
// Whether reading standard input has failed.
bool console_read_failed();
// Writes SIZE bytes of UTF-8 TEXT to STREAM (standard output or error) in
// one piece; false where it did not all get there.
bool console_put(std::FILE *stream, const char *text, std::size_t size);
// The graph of the equation is the browser page's alone.
inline void console_coefficients(float /*a*/, float /*b*/, float /*c*/) {}
