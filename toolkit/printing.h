// Printing on a real printer (or a PDF file chosen in the print dialog) through
// the canvas, and the print dialog with a seam for tests.
#pragma once

#include "toolkit/printcanvas.h"
#include "toolkit/seam.h"

#include <QPainter>

#include <memory>

class QPrinter;
class QWidget;

// Fails with the program's error when the printer refuses a step.
class Tprintercanvas : public Tprintcanvas
{
public:
    explicit Tprintercanvas(QPrinter &printer);
    ~Tprintercanvas() override;

    void begindoc() override;
    int pagewidth() const override;
    int pageheight() const override;
    int vertresolution() const override;
    void selectfont(const QString &face, int points, bool bold, bool italic) override;
    int textwidth(const QString &text) override;
    void drawtext(int x, int y, const QString &text) override;
    void drawline(int x1, int y1, int x2, int y2) override;
    void newpage() override;
    void enddoc() override;

private:
    QPrinter &m_printer;
    QPainter m_painter;
};

// Shows the print dialog for `printer`; false when the user cancels.
bool askprinter(QWidget *parent, QPrinter &printer);

namespace printdialogs {

// A print dialog as it was built, read back from the real QPrintDialog.
struct shown
{
    int resolution; // of its printer, in dots per inch
    bool pagerange; // the user may choose pages
    bool selection; // the user may print a selection
    bool tofile;    // the user may print to a file
    bool staysontop; // above an owner that stays on top
};

// Test seam: no dialog is shown. An answer with a path prints to that PDF file,
// an empty one cancels.
Tseam<shown, QString> &seam();

} // namespace printdialogs
