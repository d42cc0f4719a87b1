#include "planner/planprint.h"

#include "toolkit/apperror.h"
#include "toolkit/printcanvas.h"

using namespace Qt::Literals::StringLiterals;

namespace planprint {

QString inputline(const QStringList &boxes, const QDate &date)
{
    const QString day = u"%1-%2-%3"_s.arg(date.year()).arg(date.month()).arg(date.day());
    return u"前期亏损:"_s + boxes.value(0) + u"  预测利润:"_s + boxes.value(1) + u"  单倍投入:"_s + boxes.value(2)
           + u"  单注奖金:"_s + boxes.value(3) + u"  投注天数:"_s + boxes.value(4) + u"  打印日期:"_s + day;
}

QString pagecounter(int pages, int page)
{
    return u"共"_s + QString::number(pages) + u"页\\第"_s + QString::number(page) + u"页"_s;
}

int pagecount(int datarows)
{
    if (datarows < 0)
        throw AppError(u"没有表格可打印"_s);
    return datarows / rowsperpage + (datarows % rowsperpage != 0 ? 1 : 0);
}

void printplan(Tprintcanvas &canvas, const QList<QStringList> &rows, const QString &inputline)
{
    const QString bodyface = u"宋体"_s;
    // The title row is printed on every page; without it there is no table.
    const int pages = pagecount(static_cast<int>(rows.size()) - 1);
    canvas.begindoc();
    // Page sizes of real printers stay far below the point where these products
    // overflow 32 bits: 9 x 7 x W and 29 x H.
    const int W = canvas.pagewidth();
    const int H = canvas.pageheight();
    const auto X = [W](int k) { return W / 13 + 9 * k * W / 70; };

    canvas.selectfont(u"录书"_s, 18, true, true);
    const QString title = u"固定投资计划表"_s;
    canvas.drawtext((W - canvas.textwidth(title)) / 2, H / 29 - 50, title);
    canvas.selectfont(bodyface, 10, false, false);
    canvas.drawtext(W / 12, 2 * H / 29 - 20, inputline);

    const int datarows = static_cast<int>(rows.size()) - 1;
    for (int p = 1; p <= pages; ++p) {
        for (int j = 0; j <= 26; ++j) {
            const int y = (j + 3) * H / 29 - 120;
            canvas.drawline(W / 13, y, W / 13 + 9 * W / 10, y);
        }
        for (int m = 0; m <= 7; ++m)
            canvas.drawline(X(m), 3 * H / 29 - 120, X(m), H - 120);
        canvas.selectfont(bodyface, 10, false, false);
        for (int k = 0; k < 7; ++k)
            canvas.drawtext(X(k) + 100, 3 * H / 30, rows[0].value(k));
        for (int r = (p - 1) * rowsperpage + 1; r <= std::min(p * rowsperpage, datarows); ++r) {
            const int s = r - (p - 1) * rowsperpage;
            for (int k = 0; k < 7; ++k)
                canvas.drawtext(X(k) + 220, (s + 3) * H / 29, rows[r].value(k));
        }
        canvas.drawtext(7 * W / 10 + 800, 28 * H / 29 + 130, pagecounter(pages, p));
        if (p < pages)
            canvas.newpage();
    }
    canvas.enddoc();
}

} // namespace planprint
