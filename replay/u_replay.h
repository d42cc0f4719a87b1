// The history replay window: a history of draws (a file or pasted text), the
// plan's type and mode and the planner's five inputs, then the replay's summary
// and odds, two charts and the table of plans, each of which can be exported.
// The rules it runs are the main window's and the planner's (replay.h).
#pragma once

#include "replay/report.h"

#include <QWidget>

#include <memory>

namespace Ui {
class Tfrmreplay;
}

class QChart;
class QChartView;
class Tplanmodel;
struct Tfiledialogsetup;

class Tfrmreplay : public QWidget
{
    Q_OBJECT

public:
    // `datafolder` holds the sample history; the open dialog starts there.
    explicit Tfrmreplay(const QString &datafolder, QWidget *parent = nullptr);
    ~Tfrmreplay() override;

    // Reads a history as "打开文件" does, for the command line's window mode.
    void openhistory(const QString &path);

private:
    void btnopenClick();
    void btnpasteClick();
    void btnreplayClick();
    void btnsavecsvClick();
    void btnsavechartClick();
    void btncloseClick();
    void opttypeClick();
    void inputsChange();
    void pageChange();

    void takehistory(history::parsed parsed, const QString &source);
    replay::settings chosen() const;
    void showoutcome();
    void drawlengths();
    void drawresult();
    QChartView *currentchart() const;
    Tfiledialogsetup exportsetup(const QString &filter, const QString &suffix, const QString &name) const;

    std::unique_ptr<Ui::Tfrmreplay> ui;
    QString m_datafolder;
    std::unique_ptr<history::parsed> m_history;
    replay::runinfo m_info;
    replay::outcome m_outcome;
    Tplanmodel *m_plans;
    // The stake and the period count follow the type and the other inputs until
    // the user types into them.
    bool m_stakefollows = true;
    bool m_daysfollow = true;
};
