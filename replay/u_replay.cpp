#include "replay/u_replay.h"

#include "toolkit/filedialogs.h"
#include "toolkit/guard.h"
#include "toolkit/messages.h"
#include "toolkit/oneline.h"
#include "toolkit/textfile.h"
#include "toolkit/window.h"
#include "ui_frmreplay.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineSeries>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;

// The table of plans, read from the replay's outcome as the view asks for a cell.
class Tplanmodel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const history::Thistory *draws, const replay::outcome *out)
    {
        beginResetModel();
        m_draws = draws;
        m_out = out;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !m_out ? 0 : int(m_out->plans.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : replay::tablecolumns;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || !m_out)
            return {};
        if (role == Qt::DisplayRole)
            return replay::cellof(*m_draws, *m_out, index.row(), index.column());
        if (role == Qt::TextAlignmentRole && index.column() != 1 && index.column() != 3)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return replay::tabletitles().value(section);
        return {};
    }

private:
    const history::Thistory *m_draws = nullptr;
    const replay::outcome *m_out = nullptr;
};

namespace {

// A progress bar for work longer than about a fifth of a second, which the
// user can cancel; the window keeps painting meanwhile.
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

// A view lets go of its chart without deleting it when it takes another.
void showchart(QChartView *view, QChart *chart)
{
    QChart *previous = view->chart();
    view->setChart(chart);
    delete previous;
}

} // namespace

Tfrmreplay::Tfrmreplay(const QString &datafolder, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Tfrmreplay>()), m_datafolder(datafolder),
      m_plans(new Tplanmodel(this))
{
    ui->setupUi(this);
    keepboxesoneline(this);
    ui->grdplans->setModel(m_plans);
    ui->grdplans->verticalHeader()->hide();
    ui->grdplans->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->grdplans->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->grdplans->horizontalHeader()->setStretchLastSection(true);
    for (QChartView *view : {ui->chtlengths, ui->chtresult})
        view->setRenderHint(QPainter::Antialiasing);
    setdefaultbutton(this, ui->btnreplay);

    connecthandler(ui->btnopen, &QPushButton::clicked, this, &Tfrmreplay::btnopenClick);
    connecthandler(ui->btnpaste, &QPushButton::clicked, this, &Tfrmreplay::btnpasteClick);
    connecthandler(ui->btnreplay, &QPushButton::clicked, this, &Tfrmreplay::btnreplayClick);
    connecthandler(ui->btnsavecsv, &QPushButton::clicked, this, &Tfrmreplay::btnsavecsvClick);
    connecthandler(ui->btnsavechart, &QPushButton::clicked, this, &Tfrmreplay::btnsavechartClick);
    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmreplay::btncloseClick);
    connecthandler(ui->opttype, &Tradiogroup::clicked, this, &Tfrmreplay::opttypeClick);
    connecthandler(ui->page, &QTabWidget::currentChanged, this, &Tfrmreplay::pageChange);
    for (QLineEdit *edit : {ui->edtprekui, ui->edtlirun, ui->edtinofsin, ui->edtoutofsin})
        connecthandler(edit, &QLineEdit::textChanged, this, &Tfrmreplay::inputsChange);
    connect(ui->edtinofsin, &QLineEdit::textEdited, this, [this] { m_stakefollows = false; });
    connect(ui->edtdays, &QLineEdit::textEdited, this, [this] { m_daysfollow = false; });

    opttypeClick();
}

Tfrmreplay::~Tfrmreplay() = default;

void Tfrmreplay::openhistory(const QString &path)
{
    Tprogress progress(this, u"正在读入开奖历史…"_s);
    history::parsed parsed = history::parse(readwholefile(path), progress.report());
    if (!parsed.cancelled)
        takehistory(std::move(parsed), QDir::toNativeSeparators(path));
}

void Tfrmreplay::btnopenClick()
{
    const QString path = askopenfile(this, {u"文本文件(*.txt)"_s, u"txt"_s, m_datafolder, QString()});
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
    Tprogress progress(this, u"正在读入开奖历史…"_s);
    history::parsed parsed = history::parse(text, progress.report());
    if (!parsed.cancelled)
        takehistory(std::move(parsed), u"剪贴板"_s);
}

void Tfrmreplay::takehistory(history::parsed parsed, const QString &source)
{
    m_history = std::make_unique<history::parsed>(std::move(parsed));
    m_outcome = {};
    m_plans->show(nullptr, nullptr);
    showchart(ui->chtlengths, new QChart);
    showchart(ui->chtresult, new QChart);
    ui->btnsavecsv->setEnabled(false);
    pageChange();
    const history::Thistory &draws = m_history->history;
    ui->edtsource->setText(source + u"（%1期开奖%2）"_s.arg(draws.size()).arg(draws.reversed() ? u"，新开奖在前"_s : QString()));
    ui->page->setCurrentWidget(ui->TabSheet1);
    if (m_history->badcount > 0) {
        const QString heading = u"开奖历史中有%1行无法识别，改正之后才能回测："_s.arg(m_history->badcount);
        ui->memsummary->setPlainText((QStringList{heading} + history::describebad(*m_history)).join(u'\n'));
        messages::showmessage(heading.chopped(1) + u"。"_s);
        return;
    }
    ui->memsummary->setPlainText(u"已读入%1期开奖，可以开始回测。"_s.arg(draws.size()));
}

replay::settings Tfrmreplay::chosen() const
{
    return {planrules::kind(ui->opttype->itemindex()), planrules::mode(ui->optmode->itemindex())};
}

void Tfrmreplay::btnreplayClick()
{
    if (!m_history) {
        messages::showmessage(u"请先打开或粘贴开奖历史"_s);
        return;
    }
    if (m_history->badcount > 0) {
        messages::showmessage(u"开奖历史中有%1行无法识别，改正之后才能回测"_s.arg(m_history->badcount));
        return;
    }
    // Read, worked out and refused exactly as the planner does.
    const plancalc::inputs in = plancalc::readinputs(ui->edtprekui->text(), ui->edtlirun->text(),
                                                     ui->edtinofsin->text(), ui->edtoutofsin->text(),
                                                     ui->edtdays->text());
    const std::optional<plancalc::plantabletype> table = replay::plannertable(in);
    if (!table) {
        messages::showmessage(u"所需倍数太大，无法投注！"_s);
        messages::showmessage(u"按这些设置最多可投注%1期"_s.arg(replay::longestdays(in)));
        return;
    }
    Tprogress progress(this, u"正在回测…"_s);
    replay::outcome out = replay::run(m_history->history, chosen(), *table, progress.report());
    if (out.cancelled)
        return;
    m_info = {chosen(), in, replay::longestdays(in), *table};
    m_outcome = std::move(out);
    showoutcome();
}

void Tfrmreplay::showoutcome()
{
    const history::Thistory &draws = m_history->history;
    ui->memsummary->setPlainText(replay::summarylines(draws, m_info, m_outcome).join(u'\n'));
    m_plans->show(&draws, &m_outcome);
    ui->grdplans->resizeColumnsToContents();
    drawlengths();
    drawresult();
    ui->btnsavecsv->setEnabled(true);
    pageChange();
}

void Tfrmreplay::drawlengths()
{
    const qint64 days = m_info.in.days;
    const std::vector<qint64> seen = replay::observedlengths(m_outcome, days);
    const std::vector<double> expected = replay::expectedlengths(m_info, m_outcome);
    auto *chart = new QChart;
    chart->setTitle(u"计划长度（期）：实际与随机开奖下的预期"_s);
    auto *bars = new QBarSet(u"实际计划数"_s);
    auto *line = new QLineSeries;
    line->setName(u"随机开奖下的预期"_s);
    QStringList categories;
    double top = 1;
    for (qint64 k = 0; k < days; ++k) {
        bars->append(double(seen[size_t(k)]));
        line->append(double(k), expected[size_t(k)]);
        categories.append(QString::number(k + 1));
        top = std::max({top, double(seen[size_t(k)]), expected[size_t(k)]});
    }
    auto *series = new QBarSeries;
    series->append(bars);
    chart->addSeries(series);
    chart->addSeries(line);
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
    for (QAbstractSeries *s : {static_cast<QAbstractSeries *>(series), static_cast<QAbstractSeries *>(line)}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    showchart(ui->chtlengths, chart);
}

void Tfrmreplay::drawresult()
{
    auto *chart = new QChart;
    chart->setTitle(u"累计盈亏"_s);
    chart->legend()->hide();
    auto *line = new QLineSeries;
    // A long history is drawn from the lowest and highest point of each stretch,
    // so the chart stays quick and no dip is lost.
    QList<QPointF> points;
    for (const replay::chartpoint &p : replay::chartline(m_outcome.running, chartpoints))
        points.append(QPointF(double(p.bet), double(p.result)));
    line->replace(points);
    chart->addSeries(line);
    auto *x = new QValueAxis;
    x->setTitleText(u"投注次数"_s);
    x->setLabelFormat(u"%d"_s);
    x->setRange(0, std::max<double>(1, double(m_outcome.bets())));
    x->applyNiceNumbers();
    auto *y = new QValueAxis;
    y->setTitleText(u"累计盈亏"_s);
    y->setLabelFormat(u"%.0f"_s);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    line->attachAxis(x);
    line->attachAxis(y);
    y->applyNiceNumbers();
    showchart(ui->chtresult, chart);
}

QChartView *Tfrmreplay::currentchart() const
{
    if (ui->page->currentWidget() == ui->TabSheet2)
        return ui->chtlengths;
    if (ui->page->currentWidget() == ui->TabSheet3)
        return ui->chtresult;
    return nullptr;
}

void Tfrmreplay::pageChange()
{
    ui->btnsavechart->setEnabled(currentchart() && ui->btnsavecsv->isEnabled());
}

Tfiledialogsetup Tfrmreplay::exportsetup(const QString &filter, const QString &suffix, const QString &name) const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
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
    const QString name = view == ui->chtlengths ? u"计划长度.png"_s : u"累计盈亏.png"_s;
    const QString path = asksavefile(this, exportsetup(u"PNG图片(*.png)"_s, u"png"_s, name));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    view->grab().save(&buffer, "PNG");
    savebytes(path, bytes);
    messages::showmessage(u"成功保存！"_s);
}

void Tfrmreplay::btncloseClick()
{
    close();
}

void Tfrmreplay::opttypeClick()
{
    const planrules::kind type = chosen().type;
    if (m_stakefollows)
        ui->edtinofsin->setText(QString::number(replay::defaultstake(type)));
    inputsChange();
}

void Tfrmreplay::inputsChange()
{
    // The longest plan the table allows with these inputs, shown as they are typed.
    std::optional<qint64> longest;
    const std::optional<qint64> loss = plancalc::tointeger(ui->edtprekui->text()),
                                profit = plancalc::tointeger(ui->edtlirun->text()),
                                stake = plancalc::tointeger(ui->edtinofsin->text()),
                                prize = plancalc::tointeger(ui->edtoutofsin->text());
    if (loss && profit && stake && prize) {
        try {
            longest = replay::longestdays({*loss, *profit, *stake, *prize, 0});
        } catch (const AppError &) {
            // Inputs the planner refuses have no longest plan; the replay says why.
        }
    }
    ui->lblmaxdays->setText(u"最多可投注期数："_s + (longest ? QString::number(*longest) : u"—"_s));
    if (m_daysfollow && longest)
        ui->edtdays->setText(QString::number(*longest));
}
