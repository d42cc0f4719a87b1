// The open and save dialogs, with a seam for tests: the real dialog is built and
// its settings are recorded, and a queued answer is given instead of showing it.
#pragma once

#include "toolkit/seam.h"

#include <QString>
#include <QStringList>

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

// A dialog as it was built, read back from the real QFileDialog.
struct shown
{
    bool save;             // a save dialog, not an open one
    bool existingonly;     // only an existing file can be chosen
    bool confirmoverwrite; // it asks before replacing a file
    bool staysontop;       // above an owner that stays on top
    QStringList filters;
    QString defaultsuffix;
    QString folder;   // absolute
    QString filename; // the proposed name, no folder; empty when none
};

// Test seam: no dialog is shown; each is answered with the next queued path (a
// relative one in the dialog's folder), an empty one cancelling.
Tseam<shown, QString> &seam();

} // namespace filedialogs
