// The string grid used by every grid of the program: a QTableView over a model of
// text cells, addressed as cell(col, row). Row 0 holds the titles and is shown as
// the horizontal header; row r >= 1 is model row r - 1. Column 0 is drawn as a
// title column and stays in place when the grid scrolls sideways. Cells are selectable, never editable. Writing a cell outside the
// grid fails with the program's error; a resize that cannot get its memory
// leaves the grid as it was.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <vector>

class Tgridmodel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit Tgridmodel(QObject *parent = nullptr);

    QString cell(int col, int row) const;
    // The cell's text where it is kept: valid until the next change of the grid.
    QStringView cellview(int col, int row) const;
    void setcell(int col, int row, QStringView text);
    void setcell(int col, int row, const QString &text) { setcell(col, row, QStringView(text)); }
    int gridrows() const { return m_rows; }
    int gridcols() const { return m_cols; }
    void setgridrows(int rows);
    void setgridcols(int cols);
    // Room for that many more characters of text, taken at once.
    void reservetext(qsizetype chars) { m_text.reserve(m_text.size() + size_t(chars)); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // Where a cell's text lies in m_text.
    struct Tslot
    {
        quint32 offset = 0;
        quint32 length = 0;
    };

    void markchanged(int col, int row);
    void flushchanged();
    void store(Tslot &slot, QStringView text);
    void forget(const Tslot &slot) { m_garbage += slot.length; }
    void compact();

    int m_rows = 5;
    int m_cols = 5;
    // All cells, title row included, row after row: one flat container of
    // slots into one buffer of text. A million rows of seven numbers take some
    // 120 MB so, where a QString per cell took three times as much.
    std::vector<Tslot> m_slots;
    std::vector<char16_t> m_text;
    size_t m_garbage = 0; // characters in m_text that no cell uses any more
    // Changed cells are announced once per event-loop turn, as one rectangle,
    // so filling a thousand cells does not cost a thousand view updates.
    bool m_flushpending = false;
    int m_dirtytop = 0, m_dirtybottom = -1, m_dirtyleft = 0, m_dirtyright = -1;
};

class Tstringgrid : public QTableView
{
    Q_OBJECT

public:
    explicit Tstringgrid(QWidget *parent = nullptr);

    QString cell(int col, int row) const { return m_model->cell(col, row); }
    QStringView cellview(int col, int row) const { return m_model->cellview(col, row); }
    void setcell(int col, int row, QStringView text) { m_model->setcell(col, row, text); }
    void setcell(int col, int row, const QString &text) { m_model->setcell(col, row, QStringView(text)); }
    int rowcount() const { return m_model->gridrows(); }
    void setrowcount(int rows) { m_model->setgridrows(rows); }
    int colcount() const { return m_model->gridcols(); }
    void setcolcount(int cols) { m_model->setgridcols(cols); }
    void setcolwidth(int col, int px);
    // Before filling many cells: room for that many characters, taken at once.
    void reservetext(qsizetype chars) { m_model->reservetext(chars); }
    // The width the cells have: the grid's inside less the vertical scroll bar
    // when the rows do not fit its height.
    int clientwidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

private:
    void placefixedcolumn();
    void hidemovingcolumns();
    void fittitles();

    Tgridmodel *m_model;
    // Column 0 drawn again over the left edge, so it stays when the grid
    // scrolls sideways; it shares the model and the selection.
    QTableView *m_fixedcolumn;
};
