#include "replay/u_replay.h"

#include "replay/chartdata.h"
#include "replay/defaults.h"
#include "toolkit/announce.h"
#include "toolkit/filedialogs.h"
#include "toolkit/guard.h"
#include "toolkit/messages.h"
#include "toolkit/oneline.h"
#include "toolkit/textfile.h"
#include "toolkit/window.h"
#include "ui_frmreplay.h"

#include <QAccessible>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineSeries>
#include <QPainter>
#include <QProgressDialog>
#include <QScatterSeries>
#include <QSignalBlocker>
#include <QStackedBarSeries>
#include <QStandardPaths>
#include <QTextCursor>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <new>

using namespace Qt::Literals::StringLiterals;
using replay::tablecolumn;

// The table of plans, read from the replay's outcome as the view asks for a
// cell. Sorting and the busts-only filter reorder a list of plan numbers by
// their figures, so a million plans sort in a blink.
class Tplanmodel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const history::Thistory *draws, const replay::outcome *out)
    {
        beginResetModel();
        m_draws = draws;
        m_out = out;
        m_column = -1;
        arrange();
        endResetModel();
    }

    void setbustsonly(bool only)
    {
        beginResetModel();
        m_bustsonly = only;
        arrange();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : replay::tablecolumns;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || !m_out)
            return {};
        const qint64 plan = m_rows[size_t(index.row())];
        const auto column = tablecolumn(index.column());
        const bool bust = m_out->plans[size_t(plan)].end == replay::ending::bust;
        switch (role) {
        case Qt::DisplayRole:
            return replay::cellof(*m_draws, *m_out, plan, column);
        case Qt::TextAlignmentRole:
            if (column != tablecolumn::first && column != tablecolumn::ending)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            break;
        case Qt::FontRole:
            // A bust stands out by weight, and its 结果 says how it ended.
            if (bust) {
                QFont font;
                font.setBold(true);
                return font;
            }
            break;
        default:
            break;
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return replay::tabletitles().value(section);
        return {};
    }
    void sort(int column, Qt::SortOrder order) override
    {
        beginResetModel();
        m_column = column;
        m_order = order;
        arrange();
        endResetModel();
    }

private:
    // Every column sorts by a number: the text columns by time (the first draw)
    // and by how the plan ended.
    qint64 keyof(qint64 plan) const
    {
        const auto column = tablecolumn(m_column);
        if (const std::optional<qint64> number = replay::numberof(*m_out, plan, column))
            return *number;
        if (column == tablecolumn::ending)
            return int(m_out->plans[size_t(plan)].end);
        return plan;
    }

    void arrange()
    {
        m_rows.clear();
        if (!m_out)
            return;
        m_rows.reserve(m_out->plans.size());
        for (qint64 plan = 0; plan < qint64(m_out->plans.size()); ++plan)
            if (!m_bustsonly || m_out->plans[size_t(plan)].end == replay::ending::bust)
                m_rows.push_back(plan);
        if (m_column < 0)
            return;
        std::stable_sort(m_rows.begin(), m_rows.end(), [this](qint64 a, qint64 b) {
            return m_order == Qt::AscendingOrder ? keyof(a) < keyof(b) : keyof(b) < keyof(a);
        });
    }

    const history::Thistory *m_draws = nullptr;
    const replay::outcome *m_out = nullptr;
    std::vector<qint64> m_rows;
    bool m_bustsonly = false;
    int m_column = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

namespace {

// A progress bar for work longer than about a fifth of a second, which the
// user can cancel; the window keeps painting meanwhile. It closes when it goes
// out of scope, so a message box shown afterwards is never under it.
class Tprogress
{
public:
    Tprogress(QWidget *parent, const QString &what)
        : m_dialog(what, u"取消"_s, 0, 1000, parent)
    {
        m_dialog.setWindowTitle(u"Qorvel3D历史回测"_s);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(200);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    history::progressfn report()
    {
        return [this](qint64 done, qint64 total) {
            m_dialog.setValue(total > 0 ? int(done * 1000 / total) : 0);
            return !m_dialog.wasCanceled();
        };
    }

private:
    QProgressDialog m_dialog;
};

constexpr int chartpoints = 2000;
constexpr int histogrambins = 40;
constexpr int bustmarks = 60;
constexpr qint64 simulatedbets = 300000000;

// A view lets go of its chart without deleting it when it takes another.
void showchart(QChartView *view, QChart *chart)
{
    QChart *previous = view->chart();
    view->setChart(chart);
    delete previous;
}

// A money axis labelled in 元, 万 and 亿 at round steps.
QCategoryAxis *moneyaxis(double low, double high, const QString &title)
{
    if (high <= low)
        high = low + 1;
    const double raw = (high - low) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (factor * magnitude >= raw) {
            step = factor * magnitude;
            break;
        }
    const double first = std::floor(low / step) * step, last = std::ceil(high / step) * step;
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(first, last);
    axis->setStartValue(first);
    for (double v = first; v <= last + step / 2; v += step)
        axis->append(replay::axistext(v), v);
    axis->setTitleText(title);
    return axis;
}

void attach(QChart *chart, QAbstractSeries *series, QAbstractAxis *x, QAbstractAxis *y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// The chart's figures for a screen reader; the same words are in the summary.
void describe(QChartView *view, const QString &description)
{
    view->setAccessibleName(view->chart()->title());
    view->setAccessibleDescription(description);
}

const QString outofdate = u"设置或开奖历史已改变，请按“开始回测”重新计算。"_s;

} // namespace

Tfrmreplay::Tfrmreplay(const QString &datafolder, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Tfrmreplay>()), m_datafolder(datafolder), m_openfolder(datafolder),
      m_plans(new Tplanmodel(this))
{
    ui->setupUi(this);
    exposeaswindow(this);
    keepboxesoneline(this);
    ui->opttype->setTitle(u"类型"_s);
    ui->optmode->setTitle(u"模式"_s);
    ui->optpositions->setTitle(u"位置"_s);
    ui->opttype->setAccessibleName(u"类型"_s);
    ui->optmode->setAccessibleName(u"模式"_s);
    ui->optpositions->setAccessibleName(u"位置：五位开奖号码取哪三位"_s);
    ui->memsummary->setAccessibleName(u"回测汇总"_s);
    ui->page->setAccessibleName(u"回测结果"_s);
    ui->memsummary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    ui->edtprekui->setText(QString::number(replay::defaults::loss));
    ui->edtlirun->setText(QString::number(replay::defaults::profit));
    ui->edtoutofsin->setText(QString::number(replay::defaults::prize));

    ui->grdplans->setModel(m_plans);
    ui->grdplans->setAccessibleName(u"计划明细"_s);
    ui->grdplans->verticalHeader()->hide();
    ui->grdplans->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->grdplans->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->grdplans->setSortingEnabled(true);
    ui->grdplans->horizontalHeader()->setSortIndicatorShown(true);
    ui->grdplans->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    // Arrows move in the table, Tab leaves it.
    ui->grdplans->setTabKeyNavigation(false);
    for (QChartView *view : {ui->chtlengths, ui->chtresult, ui->chtsimulation}) {
        view->setRenderHint(QPainter::Antialiasing);
        // Their figures are in the summary; a chart holds nothing to operate.
        view->setFocusPolicy(Qt::NoFocus);
        view->viewport()->setFocusPolicy(Qt::NoFocus);
    }
    setdefaultbutton(this, ui->btnreplay);

    connecthandler(ui->btnopen, &QPushButton::clicked, this, &Tfrmreplay::btnopenClick);
    connecthandler(ui->btnpaste, &QPushButton::clicked, this, &Tfrmreplay::btnpasteClick);
    connecthandler(ui->btnreplay, &QPushButton::clicked, this, &Tfrmreplay::btnreplayClick);
    connecthandler(ui->btnsavecsv, &QPushButton::clicked, this, &Tfrmreplay::btnsavecsvClick);
    connecthandler(ui->btnsavechart, &QPushButton::clicked, this, &Tfrmreplay::btnsavechartClick);
    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmreplay::btncloseClick);
    connecthandler(ui->opttype, &Tradiogroup::clicked, this, &Tfrmreplay::opttypeClick);
    connecthandler(ui->optmode, &Tradiogroup::clicked, this, &Tfrmreplay::settingsChange);
    connecthandler(ui->optpositions, &Tradiogroup::clicked, this, &Tfrmreplay::optpositionsClick);
    connecthandler(ui->chkbusts, &QCheckBox::toggled, this, &Tfrmreplay::chkbustsClick);
    connecthandler(ui->page, &QTabWidget::currentChanged, this, &Tfrmreplay::pageChange);
    for (QLineEdit *edit : {ui->edtprekui, ui->edtlirun, ui->edtinofsin, ui->edtoutofsin})
        connecthandler(edit, &QLineEdit::textChanged, this, &Tfrmreplay::inputsChange);
    for (QLineEdit *edit : {ui->edtdays, ui->edtbankroll})
        connecthandler(edit, &QLineEdit::textChanged, this, &Tfrmreplay::settingsChange);
    connect(ui->edtinofsin, &QLineEdit::textEdited, this, [this] { m_stakefollows = false; });
    connect(ui->edtdays, &QLineEdit::textEdited, this, [this] { m_daysfollow = false; });

    opttypeClick();
    clearresults(QString());
}

Tfrmreplay::~Tfrmreplay() = default;

void Tfrmreplay::openhistory(const QString &path)
{
    QByteArray bytes;
    try {
        bytes = history::readsource(path);
    } catch (const AppError &error) {
        // The box names the file, as the command line does.
        throw AppError(QDir::toNativeSeparators(path) + u"："_s + error.message());
    } catch (const std::bad_alloc &) {
        throw AppError(u"内存不足"_s);
    }
    m_openfolder = QFileInfo(path).absolutePath();
    readhistory(bytes, QDir::toNativeSeparators(path), path);
}

void Tfrmreplay::btnopenClick()
{
    const QString path = askopenfile(this, {u"开奖历史 (*.txt *.csv *.tsv);;所有文件 (*)"_s, QString(), m_openfolder, QString()});
    if (!path.isEmpty())
        openhistory(path);
}

void Tfrmreplay::btnpasteClick()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        messages::showmessage(u"剪贴板中没有开奖号码"_s);
        return;
    }
    readhistory(text.toUtf8(), u"剪贴板"_s, QString());
}

bool Tfrmreplay::readhistory(const QByteArray &bytes, const QString &source, const QString &path)
{
    history::parsed parsed;
    try {
        Tprogress progress(this, u"正在读入开奖历史…"_s);
        parsed = history::parse(bytes, {chosenpositions()}, progress.report());
    } catch (const std::bad_alloc &) {
        throw AppError(u"内存不足"_s);
    }
    if (parsed.cancelled)
        return false;
    m_path = path;
    m_readwith = chosenpositions();
    // Five-digit draws are read again when the positions change.
    m_bytes = parsed.fivedigit > 0 ? bytes : QByteArray();
    takehistory(std::move(parsed), source);
    return true;
}

void Tfrmreplay::takehistory(history::parsed parsed, const QString &source)
{
    m_history = std::make_unique<history::parsed>(std::move(parsed));
    m_source = source;
    const history::Thistory &draws = m_history->history;
    ui->edtsource->setText(source + u"（"_s + QString::number(draws.size()) + u"期开奖"_s
                           + (draws.reversed() ? u"，新开奖在前，已倒转"_s : QString()) + u"）"_s);
    ui->page->setCurrentWidget(ui->tabsummary);
    if (m_history->badcount > 0) {
        const QString heading =
            u"开奖历史中有"_s + QString::number(m_history->badcount) + u"行有误，改正之后才能回测："_s;
        clearresults((QStringList{heading} + history::describebad(*m_history)).join(u'\n'));
        messages::showmessage(heading.chopped(1) + u"。各行的原因见汇总。"_s);
        return;
    }
    using planrules::kind;
    if (draws.size() < replay::drawsneeded(kind::three))
        clearresults(u"已读入"_s + QString::number(draws.size()) + u"期开奖；二码至少要有"_s
                     + QString::number(replay::drawsneeded(kind::two)) + u"期、三码至少要有"_s
                     + QString::number(replay::drawsneeded(kind::three)) + u"期才能回测。"_s);
    else
        clearresults(u"已读入"_s + QString::number(draws.size()) + u"期开奖，可以开始回测。"_s);
}

history::positions Tfrmreplay::chosenpositions() const
{
    return history::positions(ui->optpositions->itemindex());
}

replay::request Tfrmreplay::requested() const
{
    replay::request r;
    r.how = {planrules::kind(ui->opttype->itemindex()), planrules::mode(ui->optmode->itemindex()), chosenpositions()};
    r.loss = ui->edtprekui->text();
    r.profit = ui->edtlirun->text();
    r.stake = ui->edtinofsin->text();
    r.prize = ui->edtoutofsin->text();
    r.periods = ui->edtdays->text();
    r.bankroll = ui->edtbankroll->text();
    return r;
}

namespace {

// The label of a field's box, for messages that name it; the window has no box
// for the simulation's count and seed.
QString fieldname(replay::field what)
{
    static const char16_t *const names[] = {u"前期亏损", u"预期利润", u"单倍投入", u"单注奖金", u"投注期数", u"本金"};
    return int(what) < int(std::size(names)) ? QString::fromUtf16(names[int(what)]) : QString();
}

} // namespace

void Tfrmreplay::btnreplayClick()
{
    if (!m_history) {
        messages::showmessage(u"请先打开或粘贴开奖历史"_s);
        return;
    }
    if (m_history->badcount > 0) {
        messages::showmessage(u"开奖历史中有"_s + QString::number(m_history->badcount) + u"行有误，改正之后才能回测。"_s);
        return;
    }
    replay::request given = requested();
    // A period count left empty means the longest, as on the command line.
    std::variant<replay::runinfo, replay::refusal> prepared = replay::prepare(given);
    if (const replay::refusal *no = std::get_if<replay::refusal>(&prepared)) {
        messages::showmessage(no->what ? fieldname(*no->what) + no->text : no->text);
        return;
    }
    auto info = std::make_unique<replay::runinfo>(std::move(std::get<replay::runinfo>(prepared)));
    const history::Thistory &draws = m_history->history;
    const qint64 needed = replay::drawsneeded(info->how.type);
    if (draws.size() < needed) {
        messages::showmessage(u"开奖历史只有"_s + QString::number(draws.size()) + u"期，"_s
                              + replay::kindname(info->how.type) + u"至少要有"_s + QString::number(needed)
                              + u"期才能回测。"_s);
        return;
    }

    replay::outcome out;
    std::optional<simulate::result> simulated;
    try {
        {
            Tprogress progress(this, u"正在回测…"_s);
            out = replay::run(draws, info->how, info->table, info->bankroll, progress.report());
        }
        if (out.cancelled)
            return;
        if (info->simulations > 0) {
            // A long history is simulated fewer times, so the press ends within
            // seconds; the summary says how many.
            const qint64 bets = replay::betsof(draws, info->how.type);
            info->simulations = std::min(info->simulations, std::max<qint64>(100, simulatedbets / std::max<qint64>(1, bets)));
            Tprogress progress(this, u"正在按随机开奖模拟…"_s);
            simulated = simulate::run(replay::simulationof(*info, draws), progress.report());
            // Cancelled, the replay's own results still stand.
            if (simulated->cancelled)
                simulated.reset();
        }
    } catch (const std::bad_alloc &) {
        throw AppError(u"内存不足"_s);
    }
    m_info = std::move(info);
    m_outcome = std::move(out);
    m_simulated = std::move(simulated);
    showoutcome();
}

void Tfrmreplay::clearresults(const QString &note)
{
    m_info.reset();
    m_outcome = {};
    m_simulated.reset();
    m_plans->show(nullptr, nullptr);
    showchart(ui->chtlengths, new QChart);
    showchart(ui->chtresult, new QChart);
    showchart(ui->chtsimulation, new QChart);
    ui->memsummary->setPlainText(note);
    ui->btnsavecsv->setEnabled(false);
    pageChange();
}

void Tfrmreplay::showoutcome()
{
    showsummary();
    m_plans->show(&m_history->history, &m_outcome);
    ui->grdplans->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ui->grdplans->resizeColumnsToContents();
    announcenewtable(ui->grdplans);
    drawlengths();
    drawresult();
    drawsimulation();
    ui->btnsavecsv->setEnabled(true);
    pageChange();
}

void Tfrmreplay::showsummary()
{
    const QString before = ui->memsummary->toPlainText();
    ui->memsummary->clear();
    QTextCursor cursor(ui->memsummary->document());
    QTextCharFormat plain, strong;
    strong.setFontWeight(QFont::Bold);
    bool first = true;
    for (const replay::summaryline &line :
         replay::summary({*m_history, *m_info, m_outcome, m_simulated ? &*m_simulated : nullptr})) {
        if (!first)
            cursor.insertBlock();
        first = false;
        // The risk stands out by weight and a mark, never by colour alone.
        cursor.insertText(line.strong ? u"■ "_s + line.text : line.text, line.strong ? strong : plain);
    }
    ui->memsummary->moveCursor(QTextCursor::Start);
    QAccessibleTextUpdateEvent changed(ui->memsummary, 0, before, ui->memsummary->toPlainText());
    QAccessible::updateAccessibility(&changed);
}

void Tfrmreplay::drawlengths()
{
    const qint64 days = m_info->in.days;
    const std::vector<double> expected =
        odds::expectedlengths(planrules::betcount(m_info->how.type), days, m_outcome.finished());
    const std::vector<replay::lengthbar> bars = replay::lengthbars(m_outcome, days, expected);
    auto *chart = new QChart;
    chart->setTitle(u"计划长度（期）：实际与随机开奖下的预期"_s);
    auto *hits = new QBarSet(u"中出的计划"_s), *busts = new QBarSet(u"爆仓的计划"_s);
    auto *line = new QLineSeries;
    line->setName(u"随机开奖下的预期"_s);
    QStringList categories;
    double top = 1;
    for (size_t i = 0; i < bars.size(); ++i) {
        const replay::lengthbar &bar = bars[i];
        hits->append(double(bar.hits));
        busts->append(double(bar.busts));
        line->append(double(i), bar.expected);
        categories.append(bar.label);
        top = std::max({top, double(bar.hits + bar.busts), bar.expected});
    }
    // Told apart by a pattern as well as by colour.
    QBrush hatched(Qt::darkGray, Qt::BDiagPattern);
    busts->setBrush(hatched);
    busts->setBorderColor(Qt::black);
    auto *series = new QStackedBarSeries;
    series->append(hits);
    series->append(busts);
    auto *x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(u"计划长度（期）"_s);
    auto *y = new QValueAxis;
    y->setRange(0, top * 1.05);
    y->applyNiceNumbers();
    y->setLabelFormat(u"%d"_s);
    y->setTitleText(u"计划数"_s);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    attach(chart, series, x, y);
    attach(chart, line, x, y);
    showchart(ui->chtlengths, chart);
    // The same words as the summary's.
    describe(ui->chtlengths, replay::lengthsline(m_outcome, days));
}

void Tfrmreplay::drawresult()
{
    const std::vector<qint64> &running = m_outcome.running;
    auto *chart = new QChart;
    chart->setTitle(u"累计盈亏（元）"_s);
    auto *line = new QLineSeries;
    line->setName(u"累计盈亏"_s);
    // A long history is drawn from the lowest and highest point of each stretch,
    // so the chart stays quick and no dip is lost.
    QList<QPointF> points;
    double low = 0, high = 0;
    for (const replay::chartpoint &p : replay::chartline(running, chartpoints)) {
        points.append(QPointF(double(p.bet), double(p.result)));
        low = std::min(low, double(p.result));
        high = std::max(high, double(p.result));
    }
    line->replace(points);
    const double bets = std::max<double>(1, double(m_outcome.bets()));
    auto *x = new QValueAxis;
    x->setTitleText(u"投注次数"_s);
    x->setLabelFormat(u"%d"_s);
    x->setRange(0, bets);
    x->applyNiceNumbers();
    if (m_info->bankroll)
        low = std::min(low, -double(*m_info->bankroll));
    QCategoryAxis *y = moneyaxis(low, high, u"累计盈亏"_s);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    // The busts, one mark in each of at most `bustmarks` stretches, so that on a
    // long history the marks never hide the line.
    auto *marks = new QScatterSeries;
    marks->setName(u"爆仓"_s);
    marks->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    marks->setMarkerSize(6);
    const std::vector<qint64> busts = replay::bustbets(m_outcome, m_info->how.type);
    const qint64 stretch = std::max<qint64>(1, qint64(running.size()) / bustmarks);
    qint64 laststretch = -1;
    for (const qint64 bet : busts) {
        if (bet / stretch == laststretch)
            continue;
        laststretch = bet / stretch;
        marks->append(double(bet), double(running[size_t(bet - 1)]));
    }
    line->setPen(QPen(QColor(32, 74, 135), 1.5));
    marks->setColor(QColor(230, 120, 0));
    marks->setBorderColor(Qt::black);
    attach(chart, line, x, y);
    attach(chart, marks, x, y);
    QString description = u"共"_s + QString::number(m_outcome.bets()) + u"次投注，最低点"_s
                          + replay::moneytext(m_outcome.lowest) + u"，最大回撤"_s
                          + replay::moneytext(m_outcome.drawdown) + u"，最终"_s
                          + replay::moneytext(m_outcome.result()) + u"，爆仓"_s + QString::number(busts.size())
                          + u"次"_s;
    if (m_info->bankroll) {
        auto *bankroll = new QLineSeries;
        bankroll->setName(u"本金用完（-本金）"_s);
        bankroll->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        bankroll->append(0, -double(*m_info->bankroll));
        bankroll->append(bets, -double(*m_info->bankroll));
        attach(chart, bankroll, x, y);
        description += u"；本金"_s + replay::moneytext(*m_info->bankroll);
        if (const replay::bankrupt *broke = m_outcome.broke ? &*m_outcome.broke : nullptr) {
            auto *stop = new QScatterSeries;
            stop->setName(u"本金不够下注，停止"_s);
            stop->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            stop->setMarkerSize(12);
            stop->append(double(broke->bet - 1), double(broke->result));
            attach(chart, stop, x, y);
            description += u"，在第"_s + QString::number(broke->bet) + u"次投注前用完"_s;
        }
    }
    showchart(ui->chtresult, chart);
    describe(ui->chtresult, description);
}

void Tfrmreplay::drawsimulation()
{
    auto *chart = new QChart;
    chart->setTitle(u"模拟结果分布：随机开奖下同样长度的历史的最终盈亏（元）"_s);
    if (!m_simulated || m_simulated->finals.empty()) {
        showchart(ui->chtsimulation, chart);
        describe(ui->chtsimulation, u"没有模拟"_s);
        return;
    }
    const std::vector<qint64> &finals = m_simulated->finals;
    const simulate::histogram bins = simulate::histogramof(finals, histogrambins);
    // The histogram as a stepped outline filled below.
    auto *upper = new QLineSeries, *lower = new QLineSeries;
    double top = 1;
    for (size_t i = 0; i < bins.counts.size(); ++i) {
        const double share = double(bins.counts[i]) / double(finals.size()) * 100;
        for (const double edge : {bins.edges[i], bins.edges[i + 1]}) {
            upper->append(edge, share);
            lower->append(edge, 0);
        }
        top = std::max(top, share);
    }
    const double low = std::min(bins.edges.front(), double(m_outcome.result())),
                 high = std::max(bins.edges.back(), double(m_outcome.result()));
    auto *area = new QAreaSeries(upper, lower);
    // An area series does not own its outlines.
    upper->setParent(area);
    lower->setParent(area);
    area->setName(u"模拟的历史（%）"_s);
    QCategoryAxis *x = moneyaxis(low, high, u"最终盈亏"_s);
    auto *y = new QValueAxis;
    y->setRange(0, top * 1.1);
    y->applyNiceNumbers();
    y->setTitleText(u"占模拟的比例（%）"_s);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    attach(chart, area, x, y);
    auto *here = new QLineSeries;
    here->setName(u"这段历史的结果"_s);
    here->setPen(QPen(Qt::black, 2, Qt::DashLine));
    here->append(double(m_outcome.result()), 0);
    here->append(double(m_outcome.result()), top * 1.1);
    attach(chart, here, x, y);
    showchart(ui->chtsimulation, chart);
    describe(ui->chtsimulation, u"模拟"_s + QString::number(m_simulated->runs) + u"段历史：最终盈亏中位数"_s
                                    + replay::moneytext(std::llround(m_simulated->median)) + u"，5%分位"_s
                                    + replay::moneytext(std::llround(m_simulated->p05)) + u"，95%分位"_s
                                    + replay::moneytext(std::llround(m_simulated->p95)) + u"；这段历史"_s
                                    + replay::moneytext(m_outcome.result()));
}

QChartView *Tfrmreplay::currentchart() const
{
    QWidget *page = ui->page->currentWidget();
    if (page == ui->tablengths)
        return ui->chtlengths;
    if (page == ui->tabresult)
        return ui->chtresult;
    if (page == ui->tabsimulation)
        return ui->chtsimulation;
    return nullptr;
}

void Tfrmreplay::pageChange()
{
    ui->btnsavechart->setEnabled(currentchart() && ui->btnsavecsv->isEnabled());
}

QString Tfrmreplay::caption() const
{
    const history::Thistory &draws = m_history->history;
    QString text = m_source + u"　"_s + replay::settingsline(*m_info, m_outcome);
    if (!draws.isempty())
        text += u"\n开奖"_s + draws.name(0) + u"至"_s + draws.name(draws.size() - 1) + u"，共"_s
                + QString::number(draws.size()) + u"期"_s;
    return text;
}

Tfiledialogsetup Tfrmreplay::exportsetup(const QString &filter, const QString &suffix, const QString &name) const
{
    const QString folder = m_path.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                            : QFileInfo(m_path).absolutePath();
    return {filter, suffix, folder, name};
}

void Tfrmreplay::btnsavecsvClick()
{
    const QString path = asksavefile(this, exportsetup(u"CSV文件(*.csv)"_s, u"csv"_s, u"回测计划表.csv"_s));
    if (path.isEmpty())
        return;
    savelines(path, replay::csvlines(m_history->history, m_outcome));
    messages::showmessage(u"成功保存！"_s);
}

void Tfrmreplay::btnsavechartClick()
{
    QChartView *view = currentchart();
    if (!view)
        return;
    const QString name = view == ui->chtlengths ? u"计划长度.png"_s
                         : view == ui->chtresult ? u"累计盈亏.png"_s
                                                 : u"模拟结果分布.png"_s;
    const QString path = asksavefile(this, exportsetup(u"PNG图片(*.png)"_s, u"png"_s, name));
    if (path.isEmpty())
        return;
    // The picture carries what it shows: the file, the settings, the draws.
    const QPixmap chart = view->grab();
    const QString text = caption();
    QFont font = this->font();
    const QFontMetrics metrics(font);
    const int margin = 8;
    const QRect textbox = metrics.boundingRect(QRect(0, 0, chart.width() - 2 * margin, 1000),
                                               Qt::TextWordWrap, text);
    QImage image(chart.width(), chart.height() + textbox.height() + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawPixmap(0, 0, chart);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(margin, chart.height() + margin, chart.width() - 2 * margin, textbox.height()),
                         Qt::TextWordWrap, text);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        throw AppError(u"无法生成PNG图片"_s);
    savebytes(path, bytes);
    messages::showmessage(u"成功保存！"_s);
}

void Tfrmreplay::btncloseClick()
{
    close();
}

void Tfrmreplay::opttypeClick()
{
    const planrules::kind type = planrules::kind(ui->opttype->itemindex());
    if (m_stakefollows)
        ui->edtinofsin->setText(QString::number(replay::defaults::stake(type)));
    inputsChange();
}

void Tfrmreplay::optpositionsClick()
{
    // Five-digit draws give other numbers now: read them again.
    if (!m_bytes.isEmpty()) {
        const QByteArray bytes = m_bytes;
        if (!readhistory(bytes, m_source, m_path)) {
            // Cancelled: the history stays as read, and so does the choice it was read with.
            const QSignalBlocker quiet(ui->optpositions);
            ui->optpositions->setitemindex(int(m_readwith));
        }
        return;
    }
    settingsChange();
}

void Tfrmreplay::chkbustsClick()
{
    m_plans->setbustsonly(ui->chkbusts->isChecked());
}

void Tfrmreplay::inputsChange()
{
    // The longest plan the table allows with these inputs, shown as they are typed.
    const std::optional<qint64> longest = replay::longestfor(requested());
    ui->lblmaxdays->setText(u"最多可投注期数："_s + (longest ? QString::number(*longest) : u"—"_s));
    if (m_daysfollow && longest)
        ui->edtdays->setText(QString::number(*longest));
    settingsChange();
}

void Tfrmreplay::settingsChange()
{
    // Results stay only while they match what the window shows.
    if (m_info)
        clearresults(outofdate);
}
