// The messages layer: every box the program shows goes through here, so tests can
// record what would be shown instead of blocking on a modal box.
#pragma once

#include "toolkit/seam.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace messages {

// Caption of the program's own boxes and of the error box.
QString apptitle();

// A plain message: application title, no icon, one button "确定". Modal.
void showmessage(const QString &text);
// The box for an error no handler caught: stop icon, application title.
void showerror(const QString &message);
// The printing failure: caption "错误", error icon, one button "确定".
void showprintfailure(const QString &text);

// The error box's text: a full stop is added when the message ends in a
// character that sorts after "." (a letter, a digit, a CJK character).
QString errortext(const QString &message);

// A box as it was built, read back from the real QMessageBox.
struct shown
{
    QString text;
    QString caption;
    QMessageBox::Icon icon;
    QStringList buttons; // the buttons' texts
};

// Test seam: while it is active the box is built but not shown.
Tseam<shown> &seam();

} // namespace messages
