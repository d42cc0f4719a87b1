// Telling assistive technology that a control's content changed when nothing
// about the focus shows it, as when a press fills a grid that has no focus.
// Tests record what was announced: Qt passes events on only while a screen
// reader is listening, which an offscreen test never has.
#pragma once

#include "toolkit/seam.h"

#include <QAccessible>
#include <QString>

class QWidget;

// A table whose cells were all replaced; screen readers read it afresh.
void announcenewtable(QWidget *table);

namespace announcements {
struct sent
{
    QString control;
    QAccessible::Event type;
    // The control's accessible name when it was announced.
    QString name;
};
// Test seam: while it is active each announcement is recorded as well as sent.
Tseam<sent> &seam();
} // namespace announcements
