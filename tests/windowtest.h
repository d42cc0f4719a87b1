// What the window tests share: finding a control by its objectName, and the
// seams that answer every box and dialog for one test at a time.
#pragma once

#include "toolkit/filedialogs.h"
#include "toolkit/messages.h"
#include "toolkit/printing.h"
#include "toolkit/shell.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <optional>

template <typename T>
T *findcontrol(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1StringView(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Runs a helper that checks with QVERIFY/QCOMPARE and ends the test when it
// failed: a failed check inside a helper returns from the helper only.
#define VERIFYSTEP(call)                                                                                               \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

// While it lives no box, dialog or shell request reaches the screen or the
// desktop; each is recorded, dialogs take queued answers. Made in init() and
// dropped in cleanup(), which brings the real ones back.
struct Tquietseams
{
    Tseamscope<Tseam<messages::shown>> boxes{messages::seam()};
    Tseamscope<Tseam<Tfiledialogsetup, QString>> files{filedialogs::seam()};
    Tseamscope<Tseam<int, QString>> printers{printdialogs::seam()};
    Tseamscope<Tseam<shell::request>> desktop{shell::seam()};
};

// The boxes shown since the last call.
inline QList<messages::shown> takeshown()
{
    return messages::seam().takerequests();
}

// Their texts only.
inline QStringList takemessagetexts()
{
    QStringList texts;
    for (const messages::shown &m : takeshown())
        texts.append(m.text);
    return texts;
}

// Every message a test caused must have been read by it.
inline bool nomessagesleft()
{
    return takeshown().isEmpty();
}

// Drops the seams at the end of a test; false when it left a message unread.
inline bool releaseseams(std::optional<Tquietseams> &seams)
{
    const bool clean = nomessagesleft();
    seams.reset();
    return clean;
}

// Replaces the box's text by a paste from the clipboard, as the user does it.
inline void pasteinto(QLineEdit *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}
