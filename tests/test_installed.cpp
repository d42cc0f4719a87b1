// Runs from the bin/ folder of an installation (tests/installed.sh copies it
// there): the program's windows find their data in ../share/qorvel3d, and plan
// tables go to the user's own folder, never into the installed 附属.
#include "app/u_about.h"
#include "app/u_flash.h"
#include "planner/u_gudingjihua.h"
#include "replay/u_replay.h"
#include "tests/checks.h"
#include "tests/windowtest.h"
#include "toolkit/programfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The producer texts as the build enciphered them, one label a line. installed.sh
// copies them where this test's user can read them; a checkout may be private.
QStringList sourcelines(const char *name)
{
    const QString folder = qEnvironmentVariable("QORVEL3D_EXPECTED", QStringLiteral(QORVEL3D_DATA));
    QStringList lines = QString::fromUtf8(filebytes(folder + u'/' + QLatin1StringView(name)))
                            .split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    return lines;
}

QStringList labeltexts(const QWidget *window, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names)
        texts.append(window->findChild<QLabel *>(name)->text().trimmed());
    return texts;
}

QString installedshare()
{
    return QDir::cleanPath(QDir(executablefolder()).filePath(u"../share/qorvel3d"_s));
}

} // namespace

class TestInstalled : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_seams.emplace(); }
    void cleanup() { RELEASESEAMS(m_seams); }

    void findsitsdataundershare();
    void splashandaboutreadtheinstalledtexts();
    void plantablesgototheusersfolder();
    void thereplayfindsthesample();

private:
    std::optional<Tquietseams> m_seams;
    QTemporaryDir m_home;
};

void TestInstalled::initTestCase()
{
    QVERIFY2(QFileInfo(installedshare()).isDir(),
             "not in an installed layout: run it through tests/installed.sh (ctest -R test_installed)");
    // Never the user's own home: plan tables are saved and looked for there.
    // installed.sh hands over a fresh one; otherwise the test makes its own.
    QString home = qEnvironmentVariable("QORVEL3D_TESTHOME");
    if (home.isEmpty()) {
        QVERIFY(m_home.isValid());
        home = m_home.path();
    }
    QVERIFY(qputenv("HOME", QFile::encodeName(home)));
    QVERIFY(qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home).filePath(u".config"_s))));
    QCOMPARE(QDir::homePath(), QDir(home).absolutePath());
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).startsWith(QDir::homePath()));
}

void TestInstalled::findsitsdataundershare()
{
    QVERIFY2(!QFileInfo::exists(besideprogram(executablefolder(), u"附属"_s)), "data beside the installed program");
    QCOMPARE(QDir::cleanPath(datafile(executablefolder(), u"附属/flash.txt"_s)),
             QDir(installedshare()).filePath(u"附属/flash.txt"_s));
}

void TestInstalled::splashandaboutreadtheinstalledtexts()
{
    const QStringList flash = sourcelines("flash.txt"), about = sourcelines("about.txt");
    QCOMPARE(flash.size(), 6);
    QCOMPARE(about.size(), 7);
    Tfrmflash splash(executablefolder());
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(labeltexts(&splash, {u"lblchuping"_s, u"lblweb"_s, u"lblqq"_s, u"lblmail"_s, u"lblphone"_s}),
             (QStringList{flash[0], flash[2], flash[3], flash[4], flash[5]}));
    QVERIFY(!splash.findChild<QLabel *>(u"Image1"_s)->pixmap().isNull());

    Tfrmabout box(executablefolder());
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(labeltexts(&box, {u"lblauthor"_s, u"lblbanquan"_s, u"lblweb"_s, u"lblqq"_s, u"lblphone1"_s,
                               u"lblphone2"_s, u"lblmail"_s}),
             about);
}

void TestInstalled::plantablesgototheusersfolder()
{
    const QString aux = QDir(installedshare()).filePath(u"附属"_s);
    // installed.sh leaves it writable, as it is to root: it is still never used.
    QVERIFY2(QFileInfo(aux).isWritable(), "the installed 附属 should be writable for this check");
    const QString own = QDir(QDir::homePath()).filePath(u"Documents/Qorvel3D"_s);
    QVERIFY2(!QFileInfo::exists(own), "the test's home must be a fresh one");

    Tfrmgudingjihua planner(executablefolder());
    planner.findChild<QPushButton *>(u"btnala"_s)->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    filedialogs::seam().queueanswer(u"固定投资计划表.txt"_s); // the dialog's own proposal
    planner.findChild<QPushButton *>(u"btnsave"_s)->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    const QList<filedialogs::shown> asked = filedialogs::seam().takerequests();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(QDir::cleanPath(asked[0].folder), own);
    QVERIFY(filebytes(QDir(own).filePath(u"固定投资计划表.txt"_s)).startsWith("0\r\n20\r\n16\r\n1000\r\n80\r\n"));
    QVERIFY(QDir(aux).entryList(QDir::Files).size() == 2); // nothing new beside the producer texts
}

void TestInstalled::thereplayfindsthesample()
{
    Tfrmreplay window(QFileInfo(datafile(executablefolder(), u"sample-history.txt"_s)).absolutePath());
    filedialogs::seam().queueanswer(u"sample-history.txt"_s);
    window.findChild<QPushButton *>(u"btnopen"_s)->click();
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(QDir::cleanPath(filedialogs::seam().takerequests().value(0).folder), installedshare());
    QVERIFY(window.findChild<QLineEdit *>(u"edtsource"_s)->text().endsWith(u"（3000期开奖）"_s));
}

QTEST_MAIN(TestInstalled)
#include "test_installed.moc"
