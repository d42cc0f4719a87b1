// Window services the designs expect and Qt widgets do not give by themselves:
// the default button of a plain window, a keyboard ring through radio groups,
// and the window's role for screen readers.
#pragma once

#include <QtCore/qnamespace.h>

#include <initializer_list>

class QPushButton;
class QWidget;

// Enter presses `button` wherever the focus is in `window`; on another push
// button Enter presses that one, as a focused button takes the default's place.
void setdefaultbutton(QWidget *window, QPushButton *button);

// Screen readers are told that `window`, a plain widget shown as a top-level
// window, is a window (a frame) and not a bare pane; call it before it is shown.
void exposeaswindow(QWidget *window);

// Makes the given controls the window's Tab ring: Tab from the last one comes
// back to the first, Shift+Tab from the first goes to the last. A radio group
// takes the place of all its items, a page control (with its tab bar) the place
// of its tabs. Any other control of the window is left out of the ring and
// takes the focus by the mouse only.
void settaborder(std::initializer_list<QWidget *> controls);

// Keeps a control's distance to the given edges of its parent as the parent is
// resized; anchored to two opposite edges it grows with the parent.
void anchor(QWidget *control, Qt::Edges edges);

// A dialog over a window that stays on top stays on top as well; without this a
// window manager may stack the dialog below that window, out of sight.
void stayabove(QWidget *dialog, const QWidget *owner);

// Places a top-level window in the centre of the screen it will appear on, and
// again by its frame once the window manager has framed it.
void centreonscreen(QWidget *window);
