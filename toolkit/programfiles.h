// Where the program's files are: the folder of the running executable, files
// beside it, and its data, which lies beside it in the portable layout and in
// ../share/qorvel3d from it in an installation.
#pragma once

#include <QString>

// The folder of the running executable, ending in the platform's separator.
QString executablefolder();
// A file beside the program, given by a relative path such as "软件演示.exe".
QString besideprogram(const QString &folder, const QString &relative);
// A data file or folder such as "附属/flash.txt": beside the program when it is
// there, else in the installation's share folder when it is there, else beside
// the program again, so that its absence is reported as before.
QString datafile(const QString &programfolder, const QString &relative);
// What 帮助 opens: on Windows the demonstration program beside the program, as
// it always was; elsewhere the user guide "软件演示.html" with the program's data,
// or nothing (an empty string) when the guide is missing.
QString helptarget(const QString &programfolder);
