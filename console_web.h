// SPDX-License-Identifier: MIT
// The standard streams of the browser build: in a web page, what the student
// types and what the page shows; under node, the real descriptors.
#pragma once
#include <cstdio>

// Nothing to set up: the page, or node, is ready before main runs.
void console_start();
// The next byte of standard input, or EOF; waits for the page's next line.
int console_getc();
// Whether reading standard input has failed.
bool console_read_failed();
// Writes SIZE bytes of TEXT to STREAM (standard output or error) in one
// piece; false where it did not all get there.
bool console_put(std::FILE *stream, const char *text, std::size_t size);
// Hands the page the coefficients as they were read, for its graph.
void console_coefficients(float a, float b, float c);
