// Starts the built program for real and checks where it thinks it lives.
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
    void apppathisthefolderoftheprogram();
};

void TestStartup::apppathisthefolderoftheprogram()
{
    const QString program = QStringLiteral(QORVEL3D_PROGRAM);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());

    QProcess process;
    process.setWorkingDirectory(elsewhere.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"QORVEL3D_STARTUP_PROBE"_s, u"1"_s);
    process.setProcessEnvironment(env);
    process.start(program, {});
    QVERIFY2(process.waitForFinished(30000), "the program did not quit");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    QVERIFY2(lines.size() >= 2, qPrintable(lines.join(u'|')));
    const QString expected = QDir::toNativeSeparators(QFileInfo(program).absolutePath() + u'/');
    QCOMPARE(lines[0], u"apppath: "_s + expected);
    QVERIFY(!expected.startsWith(elsewhere.path()));
    QVERIFY(lines[1].startsWith(u"startup-ms: "_s));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
