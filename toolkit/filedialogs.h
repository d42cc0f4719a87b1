// The open and save dialogs, with a seam for tests: queued answers are given
// instead of showing a dialog, and the set-up of each dialog is kept.
#pragma once

#include "toolkit/seam.h"

#include <QString>

class QWidget;

struct Tfiledialogsetup
{
    QString filter;        // one entry: "description (*.ext)"
    QString defaultsuffix; // added to a name typed without one
    QString folder;        // the initial folder
    QString filename;      // the initial file name in it
};

// The chosen path, or an empty one when the user cancels. The save dialog does
// not ask before replacing a file.
QString askopenfile(QWidget *parent, const Tfiledialogsetup &setup);
QString asksavefile(QWidget *parent, const Tfiledialogsetup &setup);

namespace filedialogs {
// Test seam: no dialog is shown; each is answered with the next queued path (a
// relative one in the dialog's folder), and cancelled when none is left.
Tseam<Tfiledialogsetup, QString> &seam();
} // namespace filedialogs
