// The printed plan table: title and input line on the first page, then a ruled
// table of 25 data rows per page with the column titles and a page counter on
// every page. Positions are device pixels, in integer arithmetic as written.
#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

class Tprintcanvas;

namespace planprint {

constexpr int rowsperpage = 25;

// "前期亏损:0  预测利润:20  ... 打印日期:2024-3-7", from the five box texts.
QString inputline(const QStringList &boxes, const QDate &date);
// "共4页\第1页"
QString pagecounter(int pages, int page);
// Fails for a negative count.
int pagecount(int datarows);

// Prints the grid's rows (row 0 the titles, seven cells each) from begindoc to
// enddoc; fails before begindoc when there is no title row.
void printplan(Tprintcanvas &canvas, const QList<QStringList> &rows, const QString &inputline);

} // namespace planprint
