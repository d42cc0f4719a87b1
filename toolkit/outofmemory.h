// The programs' last line of defence: memory that runs out anywhere ends the
// program with a plain message and exit code 1, never with an abort.
#pragma once

#include <cstdio>
#include <functional>

// Runs a program's body and returns its exit code; std::bad_alloc escaping it
// prints "内存不足" to `err` and gives 1.
int runwithmemoryguard(FILE *err, const std::function<int()> &body);
