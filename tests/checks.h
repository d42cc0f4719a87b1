// Small helpers the tests share: the message a step fails with, a file's bytes.
#pragma once

#include "toolkit/apperror.h"

#include <QFile>
#include <QString>

#include <functional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// The program's error that `step` raises, or an empty text when it raises none.
inline QString failuremessage(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

// Root may write into any folder, read-only or not.
inline bool runsasroot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

inline QByteArray filebytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
