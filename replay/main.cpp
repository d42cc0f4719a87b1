// qorvel3d-replay: the history replay window, or with arguments its command-line
// mode (qorvel3d-replay --help).
#include "replay/commandline.h"
#include "replay/u_replay.h"
#include "toolkit/guard.h"
#include "toolkit/outofmemory.h"
#include "toolkit/platform.h"
#include "toolkit/programfiles.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

int run(int argc, char *argv[])
{
    // Options mean the command line; a file name alone opens the window with it.
    const bool windowed = argc == 1 || (argc == 2 && argv[1][0] != '-');
    if (!windowed) {
        QCoreApplication app(argc, argv);
        return replay::commandline(QCoreApplication::arguments().mid(1), stdout, stderr);
    }
    QApplication app(argc, argv);
    installfontsubstitutes();
    loadchinesetranslation(app);
    // The sample history lies with the program's data.
    Tfrmreplay window(QFileInfo(datafile(executablefolder(), QStringLiteral("sample-history.txt"))).absolutePath());
    centreonscreen(&window);
    window.show();
    if (argc == 2)
        guard([&] { window.openhistory(QCoreApplication::arguments().at(1)); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    return runwithmemoryguard(stderr, [&] { return run(argc, argv); });
}
