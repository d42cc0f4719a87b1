// The planner window driven through its controls: design, calculation, the
// average message, the failures and the grid they leave alone, and resizing.
#include "planner/u_gudingjihua.h"
#include "tests/windowtest.h"
#include "toolkit/messages.h"
#include "toolkit/stringgrid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestPlanner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void design();
    void calculatesthedefaultplan();
    void enterinanyboxcalculates_data();
    void enterinanyboxcalculates();
    void failuresleavethegrid_data();
    void failuresleavethegrid();
    void zeroperiodsleaveonlythetitles();
    void closeonlyhides();
    void gridgrowswiththewindow();

private:
    template <typename T>
    T *control(const char *name) const
    {
        return findcontrol<T>(m_window.get(), name);
    }
    Tstringgrid *grid() const { return control<Tstringgrid>("grdjihua"); }
    void setboxes(const QStringList &texts);
    QStringList gridtexts() const;

    std::unique_ptr<Tfrmgudingjihua> m_window;
};

void TestPlanner::init()
{
    startmessages();
    m_window = std::make_unique<Tfrmgudingjihua>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPlanner::cleanup()
{
    m_window.reset();
    QVERIFY2(nomessagesleft(), "a test left a message unread");
}

void TestPlanner::setboxes(const QStringList &texts)
{
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    for (int i = 0; i < 5; ++i)
        control<QLineEdit>(names[i])->setText(texts[i]);
}

QStringList TestPlanner::gridtexts() const
{
    QStringList texts;
    for (int row = 0; row < grid()->rowcount(); ++row)
        for (int col = 0; col < grid()->colcount(); ++col)
            texts.append(grid()->cell(col, row));
    return texts;
}

void TestPlanner::design()
{
    QCOMPARE(m_window->objectName(), u"frmgudingjihua"_s);
    QCOMPARE(m_window->windowTitle(), u"固定计划投资"_s);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!m_window->isModal());
    QCOMPARE(m_window->size(), QSize(622, 453));
    QCOMPARE(grid()->geometry(), QRect(16, 16, 484, 424));
    QCOMPARE(grid()->rowcount(), 5);
    QCOMPARE(grid()->colcount(), 5);
    const QStringList boxes{u"edtprekui"_s, u"edtlirun"_s, u"edtinofsin"_s, u"edtoutofsin"_s, u"edtdays"_s};
    const QStringList texts{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s};
    const QList<int> tops{24, 74, 124, 174, 224};
    for (int i = 0; i < 5; ++i) {
        const auto *box = m_window->findChild<QLineEdit *>(boxes[i]);
        QCOMPARE(box->text(), texts[i]);
        QCOMPARE(box->geometry(), QRect(521, tops[i], 81, 21));
    }
    const QStringList labels{u"前期亏损："_s, u"预期利润(%)："_s, u"单倍投入："_s, u"单注奖金："_s, u"投注期数："_s};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(m_window->findChild<QLabel *>(u"Label%1"_s.arg(i + 1))->text(), labels[i]);
    const QStringList buttons{u"btnala"_s, u"btnsave"_s, u"btnload"_s, u"btnprint"_s, u"btnclose"_s};
    const QStringList captions{u"生成计划"_s, u"保存"_s, u"载入"_s, u"打印"_s, u"关闭"_s};
    for (int i = 0; i < 5; ++i) {
        const auto *button = m_window->findChild<QPushButton *>(buttons[i]);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->geometry(), QRect(521, 319 + 24 * i, 81, 25));
    }
    QVERIFY(control<QPushButton>("btnala")->isDefault());
}

void TestPlanner::calculatesthedefaultplan()
{
    control<QPushButton>("btnala")->click();
    QCOMPARE(messages::takeshown().first().text, u"平均每期净利润为:645"_s);
    QCOMPARE(grid()->rowcount(), 81);
    QCOMPARE(grid()->colcount(), 7);
    const QStringList titles{u"投注时间"_s, u"投注倍数"_s, u"当期投注"_s, u"当期总投入"_s,
                             u"当期中奖"_s, u"当期净利润"_s, u"当期利润率(%)"_s};
    for (int col = 0; col < 7; ++col)
        QCOMPARE(grid()->cell(col, 0), titles[col]);
    const auto row = [this](int r) {
        QStringList cells;
        for (int col = 0; col < 7; ++col)
            cells.append(grid()->cell(col, r));
        return cells.join(u' ');
    };
    QCOMPARE(row(1), u"1 1 16 16 1000 984 6150"_s);
    QCOMPARE(row(53), u"53 2 32 864 2000 1136 131"_s);
    QCOMPARE(row(80), u"80 3 48 1760 3000 1240 70"_s);
    QCOMPARE(qsizetype(plantable.size()), qsizetype(80));
    QCOMPARE(plantable[79][5], qint64(1240));

    const int width = (grid()->contentsRect().width() - 20) / 7;
    QCOMPARE(grid()->columnWidth(0), width);
    QCOMPARE(grid()->columnWidth(6), width);

    // Pressing it again with another loss recalculates from scratch.
    setboxes({u"100"_s, u"20"_s, u"16"_s, u"1000"_s, u"2"_s});
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = messages::takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"平均每期净利润为:876"_s);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(grid()->rowcount(), 3);
    QCOMPARE(row(2), u"2 1 16 132 1000 868 657"_s);
}

void TestPlanner::enterinanyboxcalculates_data()
{
    QTest::addColumn<QString>("box");
    for (const char *name : {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPlanner::enterinanyboxcalculates()
{
    QFETCH(QString, box);
    auto *edit = m_window->findChild<QLineEdit *>(box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    const QList<messages::shown> shown = messages::takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"平均每期净利润为:645"_s);
    QCOMPARE(grid()->rowcount(), 81);
}

void TestPlanner::failuresleavethegrid_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    const int stop = QMessageBox::Critical, none = QMessageBox::NoIcon;
    QTest::newRow("not an integer") << QStringList{u"0"_s, u"2O"_s, u"16"_s, u"1000"_s, u"80"_s}
                                    << u"'2O' 不是一个有效的整形值."_s << stop;
    QTest::newRow("period count read first") << QStringList{u"a"_s, u"20"_s, u"16"_s, u"1000"_s, u""_s}
                                             << u"'' 不是一个有效的整形值."_s << stop;
    QTest::newRow("negative period count") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"-3"_s}
                                           << u"范围检测错误."_s << stop;
    QTest::newRow("zero investment") << QStringList{u"0"_s, u"20"_s, u"0"_s, u"1000"_s, u"80"_s}
                                     << u"被 0 除."_s << stop;
    QTest::newRow("no multiple qualifies") << QStringList{u"0"_s, u"0"_s, u"16"_s, u"15"_s, u"80"_s}
                                           << u"所需倍数太大，无法投注！"_s << none;
    QTest::newRow("overflow") << QStringList{u"0"_s, u"20"_s, u"4000000000000000000"_s,
                                             u"5000000000000000000"_s, u"80"_s}
                              << u"整数溢出."_s << stop;
}

void TestPlanner::failuresleavethegrid()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, text);
    QFETCH(int, icon);
    setboxes({u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"3"_s});
    control<QPushButton>("btnala")->click();
    messages::takeshown();
    const QStringList before = gridtexts();
    const plancalc::plantabletype table = plantable;

    setboxes(boxes);
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = messages::takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, text);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(int(shown[0].icon), icon);
    QCOMPARE(gridtexts(), before);
    QVERIFY(plantable == table);
}

void TestPlanner::zeroperiodsleaveonlythetitles()
{
    setboxes({u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"0"_s});
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = messages::takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"被 0 除."_s);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(grid()->rowcount(), 1);
    QCOMPARE(grid()->colcount(), 7);
    QCOMPARE(grid()->cell(6, 0), u"当期利润率(%)"_s);
}

void TestPlanner::closeonlyhides()
{
    control<QLineEdit>("edtdays")->setText(u"5"_s);
    control<QPushButton>("btnala")->click();
    messages::takeshown();
    control<QPushButton>("btnclose")->click();
    QVERIFY(!m_window->isVisible());
    m_window->show();
    QCOMPARE(control<QLineEdit>("edtdays")->text(), u"5"_s);
    QCOMPARE(grid()->rowcount(), 6);
}

void TestPlanner::gridgrowswiththewindow()
{
    m_window->resize(722, 553);
    QCOMPARE(grid()->geometry(), QRect(16, 16, 584, 524));
    QCOMPARE(control<QLineEdit>("edtprekui")->geometry(), QRect(621, 24, 81, 21));
    QCOMPARE(control<QLabel>("Label5")->pos(), QPoint(621, 208));
    QCOMPARE(control<QPushButton>("btnala")->geometry(), QRect(621, 419, 81, 25));
    QCOMPARE(control<QPushButton>("btnclose")->geometry(), QRect(621, 515, 81, 25));
}

QTEST_MAIN(TestPlanner)
#include "test_planner.moc"
