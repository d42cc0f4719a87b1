// What the window tests share: finding a control by its objectName, and
// messages recorded for one test at a time.
#pragma once

#include "toolkit/messages.h"

#include <QStringList>
#include <QTest>
#include <QWidget>

template <typename T>
T *findcontrol(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1StringView(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Messages are recorded from here on instead of shown.
inline void startmessages()
{
    messages::startrecording();
}

// The texts of the messages shown since the last call.
inline QStringList takemessagetexts()
{
    QStringList texts;
    for (const messages::shown &m : messages::takeshown())
        texts.append(m.text);
    return texts;
}

// Every message a test caused must have been read by it.
inline bool nomessagesleft()
{
    const bool none = messages::takeshown().isEmpty();
    messages::stoprecording();
    return none;
}
