// Asking the desktop to open a file or a web address, as the shell's "open"
// does; the result is not examined. Tests record the requests instead.
#pragma once

#include "toolkit/seam.h"

#include <QString>

class QWidget;

enum class Tshowmode { normal, maximized };

// `target` is a file path or a web address ("http://...").
void shellopen(QWidget *owner, const QString &target, Tshowmode show);

namespace shell {
struct request
{
    QString target;
    Tshowmode show;
};
// Test seam: while it is active nothing is opened.
Tseam<request> &seam();
} // namespace shell
