// Every label of every window shows its whole text with the fonts the package
// brings (tests/fonts/fonts.conf lets fontconfig see those alone), and so does
// every title of the grids.
#include "app/u_about.h"
#include "app/u_flash.h"
#include "app/u_main.h"
#include "planner/u_gudingjihua.h"
#include "replay/u_replay.h"
#include "tests/windowtest.h"
#include "toolkit/platform.h"
#include "toolkit/stringgrid.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_seams.emplace(); }
    void cleanup() { m_seams.reset(); }

    void onlythepackagesfonts();
    void labelsshowtheirwholetext_data();
    void labelsshowtheirwholetext();
    void gridtitlesfit_data();
    void gridtitlesfit();

private:
    std::optional<Tquietseams> m_seams;
};

namespace {

std::unique_ptr<QWidget> makewindow(const QString &name)
{
    const QString folder = QStringLiteral(QORVEL3D_BIN) + u'/';
    std::unique_ptr<QWidget> window;
    if (name == u"frmmain"_s)
        window = std::make_unique<Tfrmmain>();
    else if (name == u"frmflash"_s)
        window = std::make_unique<Tfrmflash>(folder);
    else if (name == u"frmabout"_s)
        window = std::make_unique<Tfrmabout>(folder);
    else if (name == u"frmgudingjihua"_s)
        window = std::make_unique<Tfrmgudingjihua>(folder);
    else
        window = std::make_unique<Tfrmreplay>(folder);
    takemessagetexts();
    return window;
}

// Set before the application starts: fontconfig reads it once.
const bool packagefontsonly = qputenv("FONTCONFIG_FILE", QORVEL3D_FONTCONFIG);

const QStringList windownames{u"frmmain"_s, u"frmflash"_s, u"frmabout"_s, u"frmgudingjihua"_s, u"frmreplay"_s};

} // namespace

void TestFit::initTestCase()
{
    QVERIFY(packagefontsonly);
    installfontsubstitutes();
}

void TestFit::onlythepackagesfonts()
{
    // The checks mean something only with the package's fonts and no others.
    const QStringList families = QFontDatabase::families();
    QVERIFY(families.contains(u"WenQuanYi Zen Hei"_s));
    for (const QString &family : families) {
        const QString face = QFontInfo(QFont(family)).family();
        QVERIFY2(face.startsWith(u"WenQuanYi"_s), qPrintable(family + u" -> "_s + face));
    }
}

void TestFit::labelsshowtheirwholetext_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("label");
    for (const QString &name : windownames) {
        const std::unique_ptr<QWidget> window = makewindow(name);
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (!label->objectName().isEmpty() && !label->text().isEmpty() && label->pixmap().isNull())
                QTest::newRow(qPrintable(name + u'.' + label->objectName())) << name << label->objectName();
        }
    }
}

void TestFit::labelsshowtheirwholetext()
{
    QFETCH(QString, window);
    QFETCH(QString, label);
    const std::unique_ptr<QWidget> shown = makewindow(window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    const QLabel *control = shown->findChild<QLabel *>(label);
    QVERIFY(control);
    // Across: the design's heights are those of its own faces, a line high.
    const int room = control->contentsRect().width();
    const int width = textwidth(control->font(), control->text());
    const QString what = u"\"%1\" in %2 (stretch %3): needs %4, has %5"_s.arg(control->text())
                             .arg(QFontInfo(control->font()).family())
                             .arg(control->font().stretch())
                             .arg(width)
                             .arg(room);
    QVERIFY2(width <= room, qPrintable(what));
}

void TestFit::gridtitlesfit_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::newRow("frmmain.grdjihua") << u"frmmain"_s << u"grdjihua"_s;
    QTest::newRow("frmmain.grdcode") << u"frmmain"_s << u"grdcode"_s;
    QTest::newRow("frmgudingjihua.grdjihua") << u"frmgudingjihua"_s << u"grdjihua"_s;
}

void TestFit::gridtitlesfit()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    const std::unique_ptr<QWidget> shown = makewindow(window);
    // The titles are laid out with the first table or the first draws.
    if (window == u"frmgudingjihua"_s) {
        shown->findChild<QPushButton *>(u"btnala"_s)->click();
    } else {
        for (const QString &draw : {u"385"_s, u"120"_s}) {
            shown->findChild<QLineEdit *>(u"edtzuijingcode2"_s)->setText(draw);
            shown->findChild<QPushButton *>(u"btngencode"_s)->click();
        }
    }
    takemessagetexts();
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    const Tstringgrid *control = shown->findChild<Tstringgrid *>(grid);
    QVERIFY(control);
    const QHeaderView *header = control->horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int titles = 0;
    for (int col = 0; col < control->colcount(); ++col) {
        const QString title = control->cell(col, 0);
        if (title.isEmpty())
            continue;
        ++titles;
        const int needed = textwidth(header->font(), title) + margins;
        QVERIFY2(needed <= header->sectionSize(col),
                 qPrintable(u"\"%1\": needs %2, has %3"_s.arg(title).arg(needed).arg(header->sectionSize(col))));
    }
    QVERIFY(titles > 0);
}

QTEST_MAIN(TestFit)
#include "test_fit.moc"
