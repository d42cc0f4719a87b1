// Start-up: Chinese texts and fonts, the application title, the main window, the
// event loop. Closing the main window ends the program; nothing is saved.
#include "app/u_main.h"
#include "planner/u_gudingjihua.h"

#include "toolkit/guard.h"
#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// With QORVEL3D_STARTUP_PROBE set the program reports its folder and how long it
// took to show the main window, then quits: a measuring aid, not a setting.
void reportstartup(const QElapsedTimer &sincestart)
{
    QTimer::singleShot(0, frmmain, [&sincestart] {
        std::printf("apppath: %s\nstartup-ms: %lld\n", apppath.toUtf8().constData(),
                    static_cast<long long>(sincestart.elapsed()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sincestart;
    sincestart.start();
    QApplication app(argc, argv);
    // The main window's close ends the program, also while the planner is open.
    QApplication::setQuitOnLastWindowClosed(false);
    installfontsubstitutes();
    loadchinesetranslation(app);

    QCoreApplication::setApplicationName(messages::apptitle());
    frmmain = new Tfrmmain;
    centreonscreen(frmmain);
    frmmain->show();
    if (qEnvironmentVariableIsSet("QORVEL3D_STARTUP_PROBE"))
        reportstartup(sincestart);
    QApplication::exec();

    delete frmgudingjihua;
    frmgudingjihua = nullptr;
    delete frmmain;
    frmmain = nullptr;
    return 0;
}
