// Starts the start-up probe, the program's own start-up built to report what it
// does: the splash's one-second precise timer ticks five times, then the splash is
// gone and the main window alone is on show, and the program knows its own folder.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void splashgiveswaytothemainwindow();
};

void TestStartup::splashgiveswaytothemainwindow()
{
    const QString program = QStringLiteral(QORVEL3D_PROGRAM);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());

    QProcess process;
    process.setWorkingDirectory(elsewhere.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(env);
    process.start(program, {});
    QVERIFY2(process.waitForFinished(30000), "the program did not quit");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    // The times are the benchmark's; here the order of what happened, with the
    // figures that make the splash last five seconds.
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        if (line.contains(u"-ms: "_s))
            line = line.section(u' ', 0, 0);
    const QString expected = QDir::toNativeSeparators(QFileInfo(program).absolutePath() + u'/');
    QVERIFY(!expected.startsWith(elsewhere.path()));
    QCOMPARE(lines, (QStringList{u"splash-shown-ms:"_s, u"splash-timer: 1000 ms precise running"_s,
                                 u"splash-tick: 1"_s, u"splash-tick: 2"_s, u"splash-tick: 3"_s, u"splash-tick: 4"_s,
                                 u"splash-tick: 5"_s, u"main-shown-ms:"_s, u"windows: frmmain"_s,
                                 u"apppath: "_s + expected}));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
