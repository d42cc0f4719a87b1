// One generate press on a running plan, two or three positions: the handler, the generator, the log row,
// the bet in the number table and the listing in the numbers grid, plus the grid's
// one deferred change notice.
#include "app/u_main.h"
#include "tests/windowtest.h"
#include "toolkit/radiogroup.h"
#include "toolkit/stringgrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class BenchGenerate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_seams.emplace(); }
    void cleanupTestCase() { m_seams.reset(); }
    void twopositionpress_data();
    void twopositionpress();
    void threepositionpress_data();
    void threepositionpress();

private:
    std::optional<Tquietseams> m_seams;
};

void BenchGenerate::twopositionpress_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("odd/even") << 0;
    QTest::newRow("big/small") << 1;
}

void BenchGenerate::twopositionpress()
{
    QFETCH(int, mode);
    Tfrmmain window;
    window.findChild<Tradiogroup *>(u"optmode"_s)->setitemindex(mode);
    auto *draw = window.findChild<QLineEdit *>(u"edtzuijingcode2"_s);
    auto *generate = window.findChild<QPushButton *>(u"btngencode"_s);
    auto *log = window.findChild<Tstringgrid *>(u"grdjihua"_s);
    draw->setText(u"385"_s);
    generate->click();
    // Each of these draws misses both classes of the plan the other one leaves,
    // so the plan runs on without a hit.
    const QString draws[2] = {mode == 0 ? u"210"_s : u"830"_s, mode == 0 ? u"120"_s : u"380"_s};
    int i = 0;
    QBENCHMARK {
        draw->setText(draws[i++ % 2]);
        generate->click();
        QCoreApplication::processEvents();
    }
    QVERIFY(takeshown().isEmpty());
    QCOMPARE(log->rowcount(), i + 2); // every press logged a period
}

void BenchGenerate::threepositionpress_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("draws");
    // Three patterns in turn: a draw never repeats the pattern of the draw two back,
    // which is what the plan bets on, so the plan runs on without a hit.
    QTest::newRow("odd/even") << 0 << QStringList{u"111"_s, u"222"_s, u"123"_s};
    QTest::newRow("big/small") << 1 << QStringList{u"000"_s, u"999"_s, u"090"_s};
}

void BenchGenerate::threepositionpress()
{
    QFETCH(int, mode);
    QFETCH(QStringList, draws);
    Tfrmmain window;
    window.findChild<Tradiogroup *>(u"opttype"_s)->setitemindex(1);
    window.findChild<Tradiogroup *>(u"optmode"_s)->setitemindex(mode);
    auto *second = window.findChild<QLineEdit *>(u"edtzuijingcode1"_s);
    auto *draw = window.findChild<QLineEdit *>(u"edtzuijingcode2"_s);
    auto *generate = window.findChild<QPushButton *>(u"btngencode"_s);
    auto *log = window.findChild<Tstringgrid *>(u"grdjihua"_s);
    second->setText(draws[2]);
    int i = 0;
    QBENCHMARK {
        draw->setText(draws[i++ % 3]);
        generate->click();
        QCoreApplication::processEvents();
    }
    QVERIFY(takeshown().isEmpty());
    QCOMPARE(log->rowcount(), i + 1); // every press logged a period
}

QTEST_MAIN(BenchGenerate)
#include "bench_generate.moc"
