// The main window and the program-wide values of the plan engine.
//
// A generate press: btngencodeClick sets up the log on first use and picks a
// generator by type and mode. The generator checks the draw boxes, reads the
// current plan back from the plan text in the last log row, and either ends the
// plan on a hit or logs a new period (addperiodrow), marks its bet in column 3 of
// codetable and lists the bet in the numbers grid (fillcodegrid). The grids and,
// for three positions, the second-latest box are the plan's only state; the rules
// themselves are plain functions in planrules.h.
#pragma once

#include "app/planrules.h"

#include <QWidget>

#include <memory>

namespace Ui {
class Tfrmmain;
}

class Tfrmmain;

// The table of all 1000 three-digit numbers; built when the main window is created.
extern planrules::codetabletype codetable;
// The program's folder, ending in the path separator.
extern QString apppath;
// The main window, once created.
extern Tfrmmain *frmmain;
// The vendor's home page, opened by the two web labels.
extern const char homepage[];

class Tfrmmain : public QWidget
{
    Q_OBJECT

public:
    explicit Tfrmmain(QWidget *parent = nullptr);
    ~Tfrmmain() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void btncloseClick();
    void btnjihuaClick();
    void btngencodeClick();
    void btnnewjihuaClick();
    void opttypeClick();
    void optmodeClick();
    void btncopyClick();
    void btnaboutClick();
    void btnhelpClick();
    void Label6Click();
    void lblweb2Click();

    void genoddeven2();
    void genbigsmall2();
    void genoddeven3();
    void genbigsmall3();
    void gentwo(planrules::mode m);
    void genthree(planrules::mode m);
    std::optional<planrules::plan> currentplan() const;
    void endonhit();
    void logperiod(const planrules::plan &next, planrules::kind type);

    void setuplog();
    void addperiodrow(const QString &plantext);
    void fillcodegrid(int count);

    std::unique_ptr<Ui::Tfrmmain> ui;
};
