// The history replay window: a history of draws (a file or pasted text), the
// plan's type, mode and positions, the planner's five inputs and a bankroll,
// then the replay's summary (the risk first), three charts and the table of
// plans, each of which can be exported. The rules it runs are in prepare.h.
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
    void optpositionsClick();
    void chkbustsClick();
    void inputsChange();
    void settingsChange();
    void pageChange();

    // False when the user cancelled it.
    bool readhistory(const QByteArray &bytes, const QString &source, const QString &path);
    void takehistory(history::parsed parsed, const QString &source);
    history::positions chosenpositions() const;
    replay::request requested() const;
    void clearresults(const QString &note);
    void showoutcome();
    void showsummary();
    void drawlengths();
    void drawresult();
    void drawsimulation();
    QChartView *currentchart() const;
    QString caption() const;
    Tfiledialogsetup exportsetup(const QString &filter, const QString &suffix, const QString &name) const;

    std::unique_ptr<Ui::Tfrmreplay> ui;
    QString m_datafolder;
    QString m_openfolder; // where the open dialog starts: the last folder opened from
    QString m_path;       // the history's file, empty when pasted
    QString m_source;     // the history's name for the user
    QByteArray m_bytes;   // kept only when five-digit draws may be read again another way
    history::positions m_readwith = history::positions::back; // what five-digit draws were read with
    std::unique_ptr<history::parsed> m_history;
    std::unique_ptr<replay::runinfo> m_info; // with the outcome, while results are shown
    replay::outcome m_outcome;
    std::optional<simulate::result> m_simulated;
    Tplanmodel *m_plans;
    // The stake and the period count follow the type and the other inputs until
    // the user types into them.
    bool m_stakefollows = true;
    bool m_daysfollow = true;
};
