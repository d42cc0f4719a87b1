// The history replay over a million draws: reading and replaying the history,
// the replay in every type and mode, the heap it grows by, the plan-length
// chart's bars for a million periods, and the window's whole press with its
// summary, charts and table.
#include "bench/heap.h"
#include "replay/chartdata.h"
#include "replay/u_replay.h"
#include "tests/windowtest.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int drawcount = 1000000;

// Seeded draws with period numbers, oldest first, as a history file holds them.
QByteArray millionlines()
{
    QRandomGenerator random(20261210);
    QByteArray text;
    text.reserve(qsizetype(drawcount) * 13);
    for (int i = 0; i < drawcount; ++i)
        text += QByteArray::number(2000000 + i) + ' ' + QByteArray::number(random.bounded(1000)).rightJustified(3, '0')
                + "\r\n";
    return text;
}

// The run the window prepares with its default boxes.
replay::runinfo defaultrun(planrules::kind type, const QString &days = {})
{
    replay::request given;
    given.how.type = type;
    given.periods = days;
    return std::get<replay::runinfo>(replay::prepare(given));
}

} // namespace

class BenchReplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_seams.reset(); }
    void readhistory();
    void readandreplay_data() { run_data(); }
    void readandreplay();
    void run_data();
    void run();
    void memory_data() { run_data(); }
    void memory();
    void lengthbars();
    void windowpress();

private:
    std::optional<Tquietseams> m_seams;
    QByteArray m_text;
    history::parsed m_history;
};

void BenchReplay::initTestCase()
{
    m_seams.emplace();
    m_text = millionlines();
    m_history = history::parse(m_text);
    QCOMPARE(m_history.history.size(), qint64(drawcount));
}

void BenchReplay::readhistory()
{
    QBENCHMARK {
        const history::parsed p = history::parse(m_text);
        QCOMPARE(p.history.size(), qint64(drawcount));
    }
}

void BenchReplay::readandreplay()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    replay::runinfo info = defaultrun(planrules::kind(type));
    info.how.mode = planrules::mode(mode);
    QBENCHMARK {
        const history::parsed p = history::parse(m_text);
        const replay::outcome out = replay::run(p.history, info.how, info.table);
        QCOMPARE(out.bets(), qint64(drawcount - (type == 0 ? 1 : 2)));
    }
}

void BenchReplay::run_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    for (int type = 0; type < 2; ++type)
        for (int mode = 0; mode < 2; ++mode)
            QTest::newRow(qPrintable(u"%1 %2"_s.arg(type == 0 ? u"two"_s : u"three"_s,
                                                   mode == 0 ? u"odd/even"_s : u"big/small"_s)))
                << type << mode;
}

void BenchReplay::run()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    const replay::settings how{planrules::kind(type), planrules::mode(mode)};
    const plancalc::plantabletype table = defaultrun(how.type).table;
    QBENCHMARK {
        const replay::outcome out = replay::run(m_history.history, how, table);
        QCOMPARE(out.bets(), qint64(drawcount - (type == 0 ? 1 : 2)));
    }
}

void BenchReplay::memory()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    const replay::settings how{planrules::kind(type), planrules::mode(mode)};
    const plancalc::plantabletype table = defaultrun(how.type, u"11"_s).table;
    m_history = {};
    const qint64 before = heapinuse();
    // The history as read from its file, and the replay's outcome over it.
    history::parsed read = history::parse(m_text);
    const replay::outcome out = replay::run(read.history, how, table);
    const qint64 after = heapinuse();
    QVERIFY(out.bets() > 0);
    QTest::setBenchmarkResult(double(after - before), QTest::BytesAllocated);
    m_history = std::move(read);
}

void BenchReplay::lengthbars()
{
    // A million periods: a plan never busts, so every length up to the longest is seen.
    replay::request given;
    given.stake = u"1"_s;
    given.prize = u"1000000"_s;
    given.profit = u"0"_s;
    given.periods = QString::number(drawcount);
    const replay::runinfo info = std::get<replay::runinfo>(replay::prepare(given));
    const replay::outcome out = replay::run(m_history.history, info.how, info.table);
    QBENCHMARK {
        const std::vector<double> expected = odds::expectedlengths(250, info.in.days, out.finished());
        const std::vector<replay::lengthbar> bars = replay::lengthbars(out, info.in.days, expected);
        QCOMPARE(bars.size(), size_t(replay::longestbars));
    }
}

void BenchReplay::windowpress()
{
    // Opening the file, the replay, and the summary, charts and table it shows.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"draws.txt"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_text) == m_text.size());
    file.close();
    Tfrmreplay window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QBENCHMARK_ONCE {
        window.openhistory(path);
        window.findChild<QPushButton *>(u"btnreplay"_s)->click();
        QCoreApplication::processEvents();
    }
    QVERIFY(window.findChild<QTableView *>(u"grdplans"_s)->model()->rowCount() > 100000);
    QVERIFY(window.findChild<QPlainTextEdit *>(u"memsummary"_s)->toPlainText().contains(u"1000000期"_s));
}

QTEST_MAIN(BenchReplay)
#include "bench_replay.moc"
