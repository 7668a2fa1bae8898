// SPDX-License-Identifier: MIT
// The console: standard input, output and error as one platform gives them.
// Each platform implements these in a file of its own, which the build
// chooses: console_posix.cpp, console_windows.cpp or console_web.cpp.
#pragma once
#include <cstdio>

// Readies the streams before the first prompt.
void console_start();
// The next byte of standard input, or EOF; waits for it.
int console_getc();
// Whether reading standard input has failed (errno says why).
bool console_read_failed();
// Writes SIZE bytes of UTF-8 TEXT to STREAM (standard output or error) in
// one piece; false where they did not all get there.
bool console_put(std::FILE *stream, const char *text, std::size_t size);
// The run's six values as stored, once the arithmetic is done, for whatever
// shows the equation beside the result line.
void console_solved(float a, float b, float c, float delta, float x1, float x2);
// Called on every exit: where standard input is a terminal, reads and drops
// the rest of the line that the last read was on, so that the shell never
// runs it, and keeps its first SIZE bytes in KEPT; lines typed ahead stay.
// Returns how many bytes it kept; 0 where standard input is no terminal. A
// second call finds nothing left.
std::size_t console_drop_line(char *kept, std::size_t size);
