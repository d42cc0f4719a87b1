// qorvel3d-replay's command-line mode: the window's replay for scripts, printing
// the summary and the odds.
#pragma once

#include <QStringList>

#include <cstdio>

namespace replay {

// The arguments after the program's name; returns the exit status: 0 done, 1 the
// file or the planner's calculation failed, 2 bad options or bad lines.
int commandline(const QStringList &args, FILE *out, FILE *err);

} // namespace replay
