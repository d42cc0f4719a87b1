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
// dropped by releaseseams() in cleanup(), which brings the real ones back.
struct Tquietseams
{
    Tseamscope<Tseam<messages::shown>> boxes{messages::seam()};
    Tseamscope<Tseam<filedialogs::shown, QString>> files{filedialogs::seam()};
    Tseamscope<Tseam<printdialogs::shown, QString>> printers{printdialogs::seam()};
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

// What a test left behind on the four seams: a box or a shell request it did not
// read, a dialog answer it did not use, a dialog it did not answer.
inline QStringList takeleftovers()
{
    return messages::seam().takeleftovers() + shell::seam().takeleftovers() + filedialogs::seam().takeleftovers() +
           printdialogs::seam().takeleftovers();
}

// Drops the seams at the end of a test; the leftovers, empty when it left none.
inline QString releaseseams(std::optional<Tquietseams> &seams)
{
    const QString left = takeleftovers().join(u"; ");
    seams.reset();
    return left;
}

// In cleanup(): the test fails when it left anything on a seam.
#define RELEASESEAMS(seams)                                                                                            \
    do {                                                                                                               \
        const QString left = releaseseams(seams);                                                                      \
        QVERIFY2(left.isEmpty(), qPrintable(left));                                                                    \
    } while (false)

// Replaces the box's text by a paste from the clipboard, as the user does it.
inline void pasteinto(QLineEdit *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}
