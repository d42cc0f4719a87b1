// Reading histories: a million lines as bytes (ASCII and Chinese labels), ten
// million lines with 11-digit labels from a file, and one 100 MB line. Run one
// function at a time for its peak RSS, e.g. `bench_history tenmillion -median 9`.
#include "bench/heap.h"
#include "replay/history.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray drawof(QRandomGenerator &random)
{
    return QByteArray::number(random.bounded(1000)).rightJustified(3, '0');
}

// Seeded draws with period numbers, oldest first.
QByteArray lines(int count, const QByteArray &before, const QByteArray &after)
{
    QRandomGenerator random(20261210);
    QByteArray text;
    text.reserve(qsizetype(count) * (13 + before.size() + after.size()));
    for (int i = 0; i < count; ++i)
        text += before + QByteArray::number(2000000 + i) + after + ' ' + drawof(random) + "\r\n";
    return text;
}

void reportpeak()
{
#ifdef Q_OS_UNIX
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        qInfo("peak RSS of the process: %ld MB", usage.ru_maxrss / 1024);
#endif
}

} // namespace

class BenchHistory : public QObject
{
    Q_OBJECT

private slots:
    void million_data();
    void million();
    void tenmillion();
    void hugeline();
};

void BenchHistory::million_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("2024001 385") << lines(1000000, {}, {});
    QTest::newRow("第2024001期 385") << lines(1000000, u"第"_s.toUtf8(), u"期"_s.toUtf8());
}

void BenchHistory::million()
{
    QFETCH(QByteArray, text);
    QBENCHMARK {
        const history::parsed p = history::parse(text);
        QCOMPARE(p.history.size(), qint64(1000000));
    }
    // The processor time of one read, for a machine that others share.
    const std::clock_t start = std::clock();
    const history::parsed p = history::parse(text);
    qInfo("processor time of one read: %.0f ms", 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC);
}

void BenchHistory::tenmillion()
{
    constexpr int count = 10000000;
    QTemporaryDir folder;
    const QString path = folder.filePath(u"draws.txt"_s);
    {
        // Written in pieces, so that making the file does not set the peak.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QRandomGenerator random(20261210);
        QByteArray piece;
        for (int i = 0; i < count; ++i) {
            piece += QByteArray::number(20240000000LL + i) + ' ' + drawof(random) + '\n';
            if (piece.size() > (1 << 20) || i == count - 1) {
                QVERIFY(file.write(piece) == piece.size());
                piece.clear();
            }
        }
    }
    const qint64 before = heapinuse();
    QBENCHMARK {
        const history::parsed p = history::parse(history::readsource(path));
        QCOMPARE(p.history.size(), qint64(count));
        QCOMPARE(p.history.label(count - 1), u"20249999999"_s);
    }
    const history::parsed kept = history::parse(history::readsource(path));
    qInfo("heap held by the history: %lld MB", (heapinuse() - before) / (1 << 20));
    reportpeak();
}

void BenchHistory::hugeline()
{
    constexpr qsizetype tokens = 50 * 1024 * 1024;
    QByteArray text;
    text.reserve(2 * tokens + 32);
    text += "2024001 385\n";
    for (qsizetype i = 0; i < tokens; ++i)
        text += "1 ";
    text += "\n2024002 472\n";
    QBENCHMARK {
        const history::parsed p = history::parse(text);
        QCOMPARE(p.badcount, qint64(1));
    }
    reportpeak();
}

QTEST_GUILESS_MAIN(BenchHistory)
#include "bench_history.moc"
