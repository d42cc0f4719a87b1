#include "toolkit/printing.h"

#include "toolkit/apperror.h"
#include "toolkit/window.h"

#include <QFontMetrics>
#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void printerfailed(const QString &step)
{
    throw AppError(u"打印失败：%1"_s.arg(step));
}

} // namespace

Tprintercanvas::Tprintercanvas(QPrinter &printer) : m_printer(printer) {}

Tprintercanvas::~Tprintercanvas()
{
    // A job that failed half way is still closed properly.
    if (m_painter.isActive())
        m_painter.end();
}

void Tprintercanvas::begindoc()
{
    if (!m_printer.isValid() || !m_painter.begin(&m_printer))
        printerfailed(u"begin"_s);
    m_painter.setPen(QPen(Qt::black, 1));
}

int Tprintercanvas::pagewidth() const
{
    return m_printer.width();
}

int Tprintercanvas::pageheight() const
{
    return m_printer.height();
}

int Tprintercanvas::vertresolution() const
{
    return m_printer.logicalDpiY();
}

void Tprintercanvas::selectfont(const QString &face, int points, bool bold, bool italic)
{
    // Point sizes are taken at the printer's own resolution, so a line is as high
    // on paper on every printer.
    QFont font(face);
    font.setPixelSize(std::max(1, points * vertresolution() / 72));
    font.setBold(bold);
    font.setItalic(italic);
    m_painter.setFont(font);
}

int Tprintercanvas::textwidth(const QString &text)
{
    return m_painter.fontMetrics().horizontalAdvance(text);
}

void Tprintercanvas::drawtext(int x, int y, const QString &text)
{
    m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), text);
}

void Tprintercanvas::drawline(int x1, int y1, int x2, int y2)
{
    m_painter.drawLine(x1, y1, x2, y2);
}

void Tprintercanvas::newpage()
{
    if (!m_printer.newPage())
        printerfailed(u"new page"_s);
}

void Tprintercanvas::enddoc()
{
    if (!m_painter.end())
        printerfailed(u"end"_s);
}

namespace printdialogs {

Tseam<shown, QString> &seam()
{
    static Tseam<shown, QString> instance("print dialog");
    return instance;
}

} // namespace printdialogs

bool askprinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    stayabove(&dialog, parent);
    if (printdialogs::seam().active()) {
        const QString path = printdialogs::seam().answer(
            {dialog.printer()->resolution(), dialog.testOption(QAbstractPrintDialog::PrintPageRange),
             dialog.testOption(QAbstractPrintDialog::PrintSelection),
             dialog.testOption(QAbstractPrintDialog::PrintToFile), dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)});
        if (path.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
    return dialog.exec() == QDialog::Accepted;
}
