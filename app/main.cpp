// Start-up: the splash window shown modally until it closes itself, a short
// pause with no window, the application title, the main window, the event loop.
// Closing the main window ends the program; nothing is saved.
#include "app/u_about.h"
#include "app/u_flash.h"
#include "app/u_main.h"
#include "planner/u_gudingjihua.h"

#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

// With QORVEL3D_STARTUP_PROBE set the program reports when the splash and the
// main window show, and its folder, then quits: a measuring aid, not a setting.
bool probing = false;
QElapsedTimer sincestart;

void report(const char *line)
{
    if (!probing)
        return;
    std::printf("%s-ms: %lld\n", line, static_cast<long long>(sincestart.elapsed()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    sincestart.start();
    QApplication app(argc, argv);
    probing = qEnvironmentVariableIsSet("QORVEL3D_STARTUP_PROBE");
    // The main window's close ends the program, also while the planner is open.
    QApplication::setQuitOnLastWindowClosed(false);
    installfontsubstitutes();
    loadchinesetranslation(app);

    frmflash = new Tfrmflash(executablefolder());
    if (probing)
        QTimer::singleShot(0, frmflash, [] { report("splash-shown"); });
    frmflash->exec();
    QThread::msleep(100);

    QCoreApplication::setApplicationName(messages::apptitle());
    frmmain = new Tfrmmain;
    delete frmflash;
    frmflash = nullptr;

    centreonscreen(frmmain);
    frmmain->show();
    if (probing) {
        QTimer::singleShot(0, frmmain, [] {
            report("main-shown");
            std::printf("apppath: %s\n", apppath.toUtf8().constData());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    QApplication::exec();

    delete frmabout;
    frmabout = nullptr;
    delete frmgudingjihua;
    frmgudingjihua = nullptr;
    delete frmmain;
    frmmain = nullptr;
    return 0;
}
