// Reading a history of draws: the line forms, labels, skipped and bad lines,
// encodings, and newest-first listings.
#include "replay/history.h"
#include "toolkit/gbk.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void cutsthelistofbadlines();
    void namesdrawswithoutlabels();
    void cancels();
};

void TestHistory::parses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("draws");  // in replay order
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<qint64>>("bad");  // line numbers
    QTest::addColumn<bool>("reversed");
    const QList<qint64> none;
    QTest::newRow("three digits") << QByteArray("385\n472\n") << QStringList{u"385"_s, u"472"_s}
                                  << QStringList{u""_s, u""_s} << none << false;
    QTest::newRow("period and draw") << QByteArray("2026001 385\r\n2026002\t007\r\n")
                                     << QStringList{u"385"_s, u"007"_s} << QStringList{u"2026001"_s, u"2026002"_s}
                                     << none << false;
    QTest::newRow("three one-digit tokens, every separator")
        << QByteArray("2026001 3 8 5\n2026002,4,7,2\n2026003|3|9|1\n2026004;2;5;8\n2026005\xEF\xBC\x8C" "4\xEF\xBC\x8C"
                      "1\xEF\xBC\x8C" "2\n")
        << QStringList{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s}
        << QStringList{u"2026001"_s, u"2026002"_s, u"2026003"_s, u"2026004"_s, u"2026005"_s} << none << false;
    QTest::newRow("a date and a weekday as the label")
        << u"2026-12-01 周二 385\n2026-12-02, 周三, 4 7 2\n"_s.toUtf8() << QStringList{u"385"_s, u"472"_s}
        << QStringList{u"2026-12-01 周二"_s, u"2026-12-02, 周三"_s} << none << false;
    QTest::newRow("comments and empty lines") << QByteArray("# 模拟\n\n   \n  # indented\n385\n") << QStringList{u"385"_s}
                                              << QStringList{u""_s} << none << false;
    QTest::newRow("bad lines") << QByteArray("385\n38\n3855\n38a\n3 8\n1 2 34\n２０１\n# ok\n472\n")
                               << QStringList{u"385"_s, u"472"_s} << QStringList{u""_s, u""_s}
                               << QList<qint64>{2, 3, 4, 5, 6, 7} << false;
    QTest::newRow("a draw that is not last") << QByteArray("385 2026001\n") << QStringList() << QStringList()
                                             << QList<qint64>{1} << false;
    QTest::newRow("newest first") << QByteArray("2026003 391\n2026002 472\n2026001 385\n")
                                  << QStringList{u"385"_s, u"472"_s, u"391"_s}
                                  << QStringList{u"2026001"_s, u"2026002"_s, u"2026003"_s} << none << true;
    QTest::newRow("numbers that do not fall throughout") << QByteArray("2026003 391\n2026004 472\n2026001 385\n")
                                                         << QStringList{u"391"_s, u"472"_s, u"385"_s}
                                                         << QStringList{u"2026003"_s, u"2026004"_s, u"2026001"_s}
                                                         << none << false;
    QTest::newRow("one line without a period number") << QByteArray("2026003 391\n472\n2026001 385\n")
                                                      << QStringList{u"391"_s, u"472"_s, u"385"_s}
                                                      << QStringList{u"2026003"_s, u""_s, u"2026001"_s} << none
                                                      << false;
    QTest::newRow("dates are no period numbers") << QByteArray("2026-12-03 391\n2026-12-02 472\n")
                                                 << QStringList{u"391"_s, u"472"_s}
                                                 << QStringList{u"2026-12-03"_s, u"2026-12-02"_s} << none << false;
    QTest::newRow("GBK") << gbk::encode(u"第2026001期 385\n第2026002期 472\n"_s) << QStringList{u"385"_s, u"472"_s}
                         << QStringList{u"第2026001期"_s, u"第2026002期"_s} << none << false;
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF" "2026001 385\n")
                                                   << QStringList{u"385"_s} << QStringList{u"2026001"_s} << none
                                                   << false;
    QTest::newRow("no newline at the end") << QByteArray("385\n472") << QStringList{u"385"_s, u"472"_s}
                                           << QStringList{u""_s, u""_s} << none << false;
}

void TestHistory::parses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, draws);
    QFETCH(QStringList, labels);
    QFETCH(QList<qint64>, bad);
    QFETCH(bool, reversed);
    const history::parsed p = history::parse(bytes);
    QStringList gotdraws, gotlabels;
    for (qint64 i = 0; i < p.history.size(); ++i) {
        gotdraws.append(p.history.draw(i));
        gotlabels.append(p.history.label(i));
        QCOMPARE(p.history.number(i), p.history.draw(i).toInt());
    }
    QList<qint64> gotbad;
    for (const history::badline &line : p.bad)
        gotbad.append(line.number);
    QCOMPARE(gotdraws, draws);
    QCOMPARE(gotlabels, labels);
    QCOMPARE(gotbad, bad);
    QCOMPARE(p.badcount, qint64(bad.size()));
    QCOMPARE(p.history.reversed(), reversed);
}

void TestHistory::cutsthelistofbadlines()
{
    QByteArray bytes;
    for (int i = 0; i < 30; ++i)
        bytes += "bad " + QByteArray::number(i) + "x\n";
    const history::parsed p = history::parse(bytes);
    QCOMPARE(p.badcount, qint64(30));
    QCOMPARE(int(p.bad.size()), history::shownbad);
    const QStringList described = history::describebad(p);
    QCOMPARE(described.size(), history::shownbad + 1);
    QCOMPARE(described.first(), u"第1行：bad 0x"_s);
    QCOMPARE(described.last(), u"另有10行无法识别"_s);
}

void TestHistory::namesdrawswithoutlabels()
{
    const history::parsed p = history::parse(QByteArray("385\n2026002 472\n"));
    QCOMPARE(p.history.name(0), u"#1"_s);
    QCOMPARE(p.history.name(1), u"2026002"_s);
}

void TestHistory::cancels()
{
    const QByteArray bytes = QByteArray("385\n").repeated(100000);
    int calls = 0;
    const history::parsed p = history::parse(bytes, {}, [&](qint64 done, qint64 total) {
        ++calls;
        return done < total / 2;
    });
    QVERIFY(p.cancelled);
    QVERIFY(calls >= 2);
    QVERIFY(p.history.size() < 100000);
}

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
