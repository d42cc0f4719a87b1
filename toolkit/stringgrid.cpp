#include "toolkit/stringgrid.h"

#include "toolkit/apperror.h"
#include "toolkit/platform.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <new>

namespace {
constexpr int defaultcolwidth = 64;
constexpr int defaultrowheight = 24;
} // namespace

Tgridmodel::Tgridmodel(QObject *parent)
    : QAbstractTableModel(parent), m_slots(static_cast<size_t>(m_rows) * m_cols)
{
}

QString Tgridmodel::cell(int col, int row) const
{
    return cellview(col, row).toString();
}

QStringView Tgridmodel::cellview(int col, int row) const
{
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
        return {};
    const Tslot &slot = m_slots[static_cast<size_t>(row) * m_cols + col];
    return QStringView(m_text.data() + slot.offset, slot.length);
}

void Tgridmodel::setcell(int col, int row, QStringView text)
{
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
        throw AppError(QStringLiteral("表格没有第%1列第%2行").arg(col).arg(row));
    if (cellview(col, row) == text)
        return;
    const char16_t *from = text.utf16();
    // std::less orders any two pointers, also ones into different arrays.
    if (!m_text.empty() && !std::less<const char16_t *>()(from, m_text.data())
        && std::less<const char16_t *>()(from, m_text.data() + m_text.size())) {
        // Text of this grid itself would move while it is stored.
        setcell(col, row, text.toString());
        return;
    }
    store(m_slots[static_cast<size_t>(row) * m_cols + col], text);
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, col, col);
    else
        markchanged(col, row - 1);
}

void Tgridmodel::store(Tslot &slot, QStringView text)
{
    const auto length = static_cast<size_t>(text.size());
    if (length <= slot.length) {
        // Written over the old text; what it leaves is no longer used.
        std::copy(text.utf16(), text.utf16() + length, m_text.begin() + slot.offset);
        m_garbage += slot.length - length;
        slot.length = static_cast<quint32>(length);
        return;
    }
    if (m_garbage > m_text.size() / 2)
        compact();
    if (m_text.size() + length > std::numeric_limits<quint32>::max())
        throw std::bad_alloc();
    const size_t offset = m_text.size();
    m_text.insert(m_text.end(), text.utf16(), text.utf16() + length); // all or nothing
    forget(slot);
    slot = {static_cast<quint32>(offset), static_cast<quint32>(length)};
}

void Tgridmodel::compact()
{
    // The slots stay where they are (a caller may hold one); only their offsets move.
    std::vector<char16_t> text;
    text.reserve(m_text.size() - std::min(m_garbage, m_text.size()));
    for (Tslot &slot : m_slots) {
        const size_t offset = text.size();
        text.insert(text.end(), m_text.begin() + slot.offset, m_text.begin() + slot.offset + slot.length);
        slot.offset = static_cast<quint32>(offset);
    }
    m_text = std::move(text);
    m_garbage = 0;
}

void Tgridmodel::setgridrows(int rows)
{
    rows = std::max(rows, 1);
    if (rows == m_rows)
        return;
    if (rows > m_rows) {
        // The room is taken before the views hear of new rows, so a failed
        // allocation leaves the model as it was; growing into it cannot fail.
        m_slots.reserve(static_cast<size_t>(rows) * m_cols);
        beginInsertRows({}, m_rows - 1, rows - 2);
        m_slots.resize(static_cast<size_t>(rows) * m_cols);
        m_rows = rows;
        endInsertRows();
    } else {
        beginRemoveRows({}, rows - 1, m_rows - 2);
        for (size_t i = static_cast<size_t>(rows) * m_cols; i < m_slots.size(); ++i)
            forget(m_slots[i]);
        m_slots.resize(static_cast<size_t>(rows) * m_cols);
        m_slots.shrink_to_fit();
        m_rows = rows;
        if (m_garbage > m_text.size() / 2)
            compact();
        endRemoveRows();
    }
}

void Tgridmodel::setgridcols(int cols)
{
    cols = std::max(cols, 1);
    if (cols == m_cols)
        return;
    // Built in full before the views hear of the change, as rows are.
    std::vector<Tslot> reshaped(static_cast<size_t>(m_rows) * cols);
    const int kept = std::min(cols, m_cols);
    size_t dropped = 0;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            const Tslot &slot = m_slots[static_cast<size_t>(r) * m_cols + c];
            if (c < kept)
                reshaped[static_cast<size_t>(r) * cols + c] = slot;
            else
                dropped += slot.length;
        }
    }
    if (cols > m_cols) {
        beginInsertColumns({}, m_cols, cols - 1);
        m_slots = std::move(reshaped);
        m_cols = cols;
        endInsertColumns();
    } else {
        beginRemoveColumns({}, cols, m_cols - 1);
        m_slots = std::move(reshaped);
        m_cols = cols;
        m_garbage += dropped;
        endRemoveColumns();
    }
}

int Tgridmodel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int Tgridmodel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant Tgridmodel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cell(index.column(), index.row() + 1);
    case Qt::BackgroundRole:
        if (index.column() == 0)
            return QApplication::palette().button();
        break;
    case Qt::ForegroundRole:
        if (index.column() == 0)
            return QApplication::palette().buttonText();
        break;
    default:
        break;
    }
    return {};
}

QVariant Tgridmodel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return cell(section, 0);
    return {};
}

Qt::ItemFlags Tgridmodel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void Tgridmodel::markchanged(int col, int row)
{
    if (m_dirtybottom < m_dirtytop) {
        m_dirtytop = m_dirtybottom = row;
        m_dirtyleft = m_dirtyright = col;
    } else {
        m_dirtytop = std::min(m_dirtytop, row);
        m_dirtybottom = std::max(m_dirtybottom, row);
        m_dirtyleft = std::min(m_dirtyleft, col);
        m_dirtyright = std::max(m_dirtyright, col);
    }
    if (!m_flushpending) {
        m_flushpending = true;
        QTimer::singleShot(0, this, &Tgridmodel::flushchanged);
    }
}

void Tgridmodel::flushchanged()
{
    m_flushpending = false;
    const int bottom = std::min(m_dirtybottom, m_rows - 2);
    const int right = std::min(m_dirtyright, m_cols - 1);
    if (m_dirtytop <= bottom && m_dirtyleft <= right)
        emit dataChanged(index(m_dirtytop, m_dirtyleft), index(bottom, right), {Qt::DisplayRole});
    m_dirtytop = 0;
    m_dirtybottom = -1;
}

Tstringgrid::Tstringgrid(QWidget *parent)
    : QTableView(parent), m_model(new Tgridmodel(this)), m_fixedcolumn(new QTableView(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setTabKeyNavigation(false); // Tab leaves the grid, as in every other control
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(defaultrowheight);
    horizontalHeader()->setDefaultSectionSize(defaultcolwidth);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QTableView *fixed = m_fixedcolumn;
    fixed->setObjectName(QStringLiteral("fixedcolumn"));
    fixed->setModel(m_model);
    fixed->setSelectionModel(selectionModel());
    fixed->setFocusPolicy(Qt::NoFocus);
    fixed->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fixed->setSelectionMode(QAbstractItemView::SingleSelection);
    fixed->setWordWrap(false);
    fixed->setFrameShape(QFrame::NoFrame);
    fixed->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed->verticalHeader()->hide();
    fixed->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fixed->verticalHeader()->setDefaultSectionSize(defaultrowheight);
    fixed->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fixed->horizontalHeader()->setHighlightSections(false);
    fixed->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    viewport()->stackUnder(fixed);
    hidemovingcolumns();
    connect(m_model, &QAbstractItemModel::columnsInserted, this, &Tstringgrid::hidemovingcolumns);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int width) {
        if (col == 0) {
            m_fixedcolumn->setColumnWidth(0, width);
            placefixedcolumn();
        }
    });
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &Tstringgrid::fittitles);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &Tstringgrid::fittitles);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, fixed->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(fixed->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    placefixedcolumn();
}

int Tstringgrid::clientwidth() const
{
    const int rowsheight = (rowcount() - 1) * verticalHeader()->defaultSectionSize();
    const int height = contentsRect().height() - horizontalHeader()->sizeHint().height();
    const bool scrolls = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
                         || (verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && rowsheight > height);
    return contentsRect().width() - (scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0);
}

void Tstringgrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placefixedcolumn();
}

void Tstringgrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // The fixed column is always in view; scrolling to it would only move the rest.
    if (index.column() > 0)
        QTableView::scrollTo(index, hint);
}

void Tstringgrid::updateGeometries()
{
    QTableView::updateGeometries();
    placefixedcolumn();
}

void Tstringgrid::placefixedcolumn()
{
    // The overlay's title is as tall as the grid's: sized by column 0 alone it
    // came out shorter where other titles need a taller face, lifting every row.
    const int titleheight = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
    QHeaderView *fixedtitle = m_fixedcolumn->horizontalHeader();
    const bool changed = fixedtitle->height() != titleheight || fixedtitle->minimumHeight() != titleheight;
    fixedtitle->setFixedHeight(titleheight);
    m_fixedcolumn->setGeometry(frameWidth(), frameWidth(), columnWidth(0), viewport()->height() + titleheight);
    if (changed)
        QMetaObject::invokeMethod(m_fixedcolumn, "updateGeometries");
    m_fixedcolumn->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void Tstringgrid::fittitles()
{
    // One face for all titles: condensed as far as the widest one needs.
    QFont font = horizontalHeader()->font();
    font.setStretch(100);
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    int stretch = 100;
    for (int col = 0; col < colcount(); ++col) {
        const QString title = cell(col, 0);
        if (!title.isEmpty())
            stretch = std::min(stretch, stretchtofit(font, title, columnWidth(col) - margins));
    }
    font.setStretch(stretch);
    if (font != horizontalHeader()->font()) {
        horizontalHeader()->setFont(font);
        m_fixedcolumn->horizontalHeader()->setFont(font);
    }
}

void Tstringgrid::hidemovingcolumns()
{
    for (int col = 1; col < m_model->columnCount(); ++col)
        m_fixedcolumn->setColumnHidden(col, true);
    m_fixedcolumn->setColumnWidth(0, columnWidth(0));
}

void Tstringgrid::setcolwidth(int col, int px)
{
    horizontalHeader()->resizeSection(col, px);
}
