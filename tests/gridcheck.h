// The fixed first column of a string grid against the grid itself, in global
// coordinates: its title cell on the grid's titles, each of its cells on its row.
#pragma once

#include "toolkit/stringgrid.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <algorithm>

// Checks with QCOMPARE; run it through VERIFYSTEP().
inline void comparefixedcolumn(const Tstringgrid &grid, bool scrolledsideways)
{
    const auto *fixed = grid.findChild<QTableView *>(QStringLiteral("fixedcolumn"));
    QVERIFY(fixed && fixed->isVisible());
    const auto global = [](const QWidget *on, QRect r) { return QRect(on->mapToGlobal(r.topLeft()), r.size()); };
    // A moving column in view: the one at the right end of the cells or of the grid.
    const QHeaderView *titles = grid.horizontalHeader();
    const int last = grid.model()->columnCount() - 1;
    const int rightend = titles->sectionViewportPosition(last) + titles->sectionSize(last);
    const int seencol = grid.columnAt(std::min(grid.viewport()->width(), rightend) - 1);
    QVERIFY(seencol > 0);
    const QRect owntitle = global(titles, QRect(titles->sectionViewportPosition(seencol), 0, grid.columnWidth(seencol),
                                                titles->height()));
    const QRect fixedtitle =
        global(fixed->horizontalHeader(), QRect(0, 0, fixed->columnWidth(0), fixed->horizontalHeader()->height()));
    QCOMPARE(fixedtitle.top(), owntitle.top());
    QCOMPARE(fixedtitle.height(), owntitle.height());
    QCOMPARE(fixedtitle.left(), grid.viewport()->mapToGlobal(QPoint(0, 0)).x());
    QCOMPARE(fixedtitle.width(), grid.columnWidth(0));
    int seen = 0;
    for (int row = 0; row < grid.model()->rowCount(); ++row) {
        const QRect own = grid.visualRect(grid.model()->index(row, seencol));
        if (!grid.viewport()->rect().intersects(own))
            continue;
        ++seen;
        const QRect ownglobal = global(grid.viewport(), own);
        const QRect fixedglobal = global(fixed->viewport(), fixed->visualRect(grid.model()->index(row, 0)));
        QCOMPARE(fixedglobal.top(), ownglobal.top());
        QCOMPARE(fixedglobal.height(), ownglobal.height());
        QCOMPARE(fixedglobal.left(), fixedtitle.left());
        if (!scrolledsideways) // column 0 of the grid itself lies under it
            QCOMPARE(fixedglobal, global(grid.viewport(), grid.visualRect(grid.model()->index(row, 0))));
    }
    QVERIFY(seen > 0);
}
