// The multiplier planner window: its inputs, the table of multiples per period
// (worked out in plancalc.h), the table's average net profit, and the table's
// text file (planfile.h) and its printing (planprint.h).
#pragma once

#include "planner/plancalc.h"

#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class Tfrmgudingjihua;
}

class Tfrmgudingjihua;
struct Tfiledialogsetup;

// The planner's table, one row per period, as last calculated or loaded.
extern plancalc::plantabletype plantable;
// The planner window, once created.
extern Tfrmgudingjihua *frmgudingjihua;

class Tfrmgudingjihua : public QWidget
{
    Q_OBJECT

public:
    // `programfolder` is the program's folder: plan files are kept in its "附属".
    explicit Tfrmgudingjihua(const QString &programfolder, QWidget *parent = nullptr);
    ~Tfrmgudingjihua() override;

private:
    void btnalaClick();
    void btnsaveClick();
    void btnloadClick();
    void btnprintClick();
    void btncloseClick();
    void printtable();

    Tfiledialogsetup plandialogsetup() const;
    QStringList boxtexts() const;
    // The grid's rows from `first` on, seven cells each.
    QList<QStringList> gridrows(int first) const;

    void setupplangrid(int days);
    void showtable(int days);
    void showaverage(int days);

    std::unique_ptr<Ui::Tfrmgudingjihua> ui;
    QString m_programfolder;
};
