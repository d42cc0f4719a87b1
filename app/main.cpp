// Start-up: the splash window shown modally until it closes itself, a short
// pause with no window, the application title, the main window, the event loop.
// Closing the main window ends the program; nothing is saved.
#include "app/u_about.h"
#include "app/u_flash.h"
#include "app/u_main.h"
#include "planner/u_gudingjihua.h"

#include "toolkit/messages.h"
#include "toolkit/outofmemory.h"
#include "toolkit/platform.h"
#include "toolkit/programfiles.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QThread>

#ifdef QORVEL3D_STARTUP_PROBE
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

// This build reports when the splash and the main window show, the splash's timer
// and its ticks, the windows on show and the program's folder, then quits: the
// start-up test checks the sequence, the benchmark measures the times.
namespace {

QElapsedTimer sincestart;

void report(const char *line)
{
    std::printf("%s-ms: %lld\n", line, static_cast<long long>(sincestart.elapsed()));
    std::fflush(stdout);
}

void reportline(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void reportsplash()
{
    QTimer::singleShot(0, frmflash, [] {
        report("splash-shown");
        // The splash's timer, and each of its ticks after the splash has counted it.
        const QTimer *timer = frmflash->findChild<QTimer *>(QStringLiteral("Timer1"));
        if (!timer)
            return reportline(QStringLiteral("splash-timer: none"));
        const char *kinds[] = {"precise", "coarse", "verycoarse"};
        reportline(QStringLiteral("splash-timer: %1 ms %2 %3")
                       .arg(timer->interval())
                       .arg(QLatin1StringView(kinds[timer->timerType()]))
                       .arg(timer->isActive() ? QStringLiteral("running") : QStringLiteral("stopped")));
        QObject::connect(timer, &QTimer::timeout, frmflash,
                         [] { reportline(QStringLiteral("splash-tick: %1").arg(flashticks)); });
    });
}

void reportmainandquit()
{
    QTimer::singleShot(0, frmmain, [] {
        report("main-shown");
        QStringList shown;
        for (const QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible())
                shown.append(window->objectName());
        reportline(QStringLiteral("windows: ") + shown.join(u' '));
        reportline(QStringLiteral("apppath: ") + apppath);
        QCoreApplication::quit();
    });
}

} // namespace
#else
namespace {
void reportsplash() {}
void reportmainandquit() {}
} // namespace
#endif

namespace {

int run(int argc, char *argv[])
{
#ifdef QORVEL3D_STARTUP_PROBE
    sincestart.start();
#endif
    QApplication app(argc, argv);
    // The main window's close ends the program, also while the planner is open.
    QApplication::setQuitOnLastWindowClosed(false);
    installfontsubstitutes();
    loadchinesetranslation(app);

    frmflash = new Tfrmflash(executablefolder());
    reportsplash();
    frmflash->exec();
    QThread::msleep(100);

    QCoreApplication::setApplicationName(messages::apptitle());
    frmmain = new Tfrmmain;
    delete frmflash;
    frmflash = nullptr;

    centreonscreen(frmmain);
    frmmain->show();
    reportmainandquit();
    QApplication::exec();

    delete frmabout;
    frmabout = nullptr;
    delete frmgudingjihua;
    frmgudingjihua = nullptr;
    delete frmmain;
    frmmain = nullptr;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return runwithmemoryguard(stderr, [&] { return run(argc, argv); });
}
