// Small helpers the tests share: the message a step fails with, a file's bytes.
#pragma once

#include "toolkit/apperror.h"

#include <QFile>
#include <QString>

#include <functional>

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

inline QByteArray filebytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
