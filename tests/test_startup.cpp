// Starts the start-up probe, the program's own start-up built to report when its
// windows show: the splash gives way to the main window after its five ticks, and
// the program knows its own folder.
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

    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    QVERIFY2(lines.size() >= 3, qPrintable(lines.join(u'|')));
    QVERIFY2(lines[0].startsWith(u"splash-shown-ms: "_s), qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(u"main-shown-ms: "_s), qPrintable(lines[1]));
    const qint64 splash = lines[0].section(u' ', 1).toLongLong();
    const qint64 main = lines[1].section(u' ', 1).toLongLong();
    // Five one-second ticks and the pause lie between the two; a coarse timer
    // may fire up to 5% early.
    QVERIFY2(main - splash >= 4500 && main - splash < 15000, qPrintable(lines.join(u'|')));
    const QString expected = QDir::toNativeSeparators(QFileInfo(program).absolutePath() + u'/');
    QCOMPARE(lines[2], u"apppath: "_s + expected);
    QVERIFY(!expected.startsWith(elsewhere.path()));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
