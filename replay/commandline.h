// qorvel3d-replay's command-line mode: the window's replay for scripts, printing
// the summary, the odds and the simulation, and writing CSV and JSON.
#pragma once

#include <QStringList>

#include <cstdio>

namespace replay {

// The arguments after the program's name; returns the exit status: 0 done, 1 a
// file could not be read or written (standard output included) or memory ran
// out, 2 anything the user gave wrong: options, their values, the history.
int commandline(const QStringList &args, FILE *out, FILE *err);

} // namespace replay
