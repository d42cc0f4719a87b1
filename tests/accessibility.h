// What the window tests ask of the keyboard and of assistive technology: the
// controls a screen reader would announce without a name, the walk of the Tab
// ring, and the accessibility events a window sends. All in-process, through
// Qt's own accessible interfaces, so they run offscreen.
#pragma once

#include "toolkit/announce.h"

#include <QAccessible>
#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace accessibility {

// A control that screen readers list as focusable: one that takes the focus
// in any way, also by passing it on to a proxy.
inline bool focusable(const QWidget *w)
{
    return w->focusPolicy() != Qt::NoFocus && w->isVisible() && w->isEnabled();
}

// A control that Tab stops at: one that takes the Tab focus for itself.
inline bool tabstop(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisible() && w->isEnabled();
}

// The name a test gives a control: its own objectName, or that of the nearest
// named control around it (a radio item reads as its group, a page control's
// tab bar as the page control). Qt's internal names ("qt_...") do not count.
inline QString controlname(const QWidget *w)
{
    for (const QWidget *at = w; at; at = at->parentWidget()) {
        const QString name = at->objectName();
        if (!name.isEmpty() && !name.startsWith(u"qt_"))
            return name;
        if (at->isWindow())
            break;
    }
    return QString::fromLatin1(w->metaObject()->className());
}

// The name a screen reader announces for `w`, read through its accessible interface.
inline QString accessiblename(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The visible, enabled controls of `window` that take the focus and have no
// accessible name, each as "name (class)"; empty when every one has a name.
inline QStringList unnamedcontrols(const QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !focusable(w))
            continue;
        if (accessiblename(w).trimmed().isEmpty())
            unnamed.append(controlname(w) + u" (" + QString::fromLatin1(w->metaObject()->className()) + u')');
    }
    return unnamed;
}

// How many controls of `window` Tab can reach now.
inline int tabstops(const QWidget *window)
{
    int n = 0;
    for (const QWidget *w : window->findChildren<QWidget *>())
        if (w->window() == window && tabstop(w))
            ++n;
    return n;
}

// Walks the Tab ring of the active window from `first`: presses Tab (or
// Shift+Tab) as many times as there are Tab stops and returns the control
// names met, `first` included, so a closed ring ends on `first` again.
inline QStringList tabring(QWidget *first, bool forward = true)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList visited{controlname(first)};
    const int stops = tabstops(first->window());
    for (int i = 0; i < stops; ++i) {
        QWidget *at = QApplication::focusWidget();
        if (!at)
            break;
        QTest::keyClick(at, forward ? Qt::Key_Tab : Qt::Key_Backtab);
        QWidget *now = QApplication::focusWidget();
        visited.append(now ? controlname(now) : QString());
    }
    return visited;
}

// While it lives, what the program announces to assistive technology is
// recorded; takeannounced() reads it.
using Tannouncementscope = Tseamscope<Tseam<announcements::sent>>;

// The names `control` was announced with since the last call, one per announcement.
inline QStringList takeannounced(const QString &control)
{
    QStringList names;
    for (const announcements::sent &a : announcements::seam().takerequests())
        if (a.control == control)
            names.append(a.name);
    return names;
}

} // namespace accessibility
