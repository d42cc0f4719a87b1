// Small helpers the tests share: the message a step fails with, a file's bytes.
#pragma once

#include "toolkit/apperror.h"

#include <QFile>
#include <QProcess>
#include <QString>

#include <functional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/resource.h>
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

#ifdef Q_OS_LINUX
// A child process that may take at most `megabytes` of address space, and a file
// larger than that which costs no disk (sparse): reading it runs the child out of
// memory.
inline void limitaddressspace(QProcess &process, rlim_t megabytes)
{
    process.setChildProcessModifier([megabytes] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = megabytes << 20;
        setrlimit(RLIMIT_AS, &limit);
    });
}

inline bool makesparsefile(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}
#endif
