// The multiplier planner window: its inputs, the table of multiples per period
// (worked out in plancalc.h) and the table's average net profit.
#pragma once

#include "planner/plancalc.h"

#include <QWidget>

#include <memory>

namespace Ui {
class Tfrmgudingjihua;
}

class Tfrmgudingjihua;

// The planner's table, one row per period, as last calculated or loaded.
extern plancalc::plantabletype plantable;
// The planner window, once created.
extern Tfrmgudingjihua *frmgudingjihua;

class Tfrmgudingjihua : public QWidget
{
    Q_OBJECT

public:
    explicit Tfrmgudingjihua(QWidget *parent = nullptr);
    ~Tfrmgudingjihua() override;

private:
    void btnalaClick();
    void btncloseClick();

    void setupplangrid(qint64 days);
    void showtable(qint64 days);
    void showaverage(qint64 days);

    std::unique_ptr<Ui::Tfrmgudingjihua> ui;
};
