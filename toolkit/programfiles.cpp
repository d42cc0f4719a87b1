#include "toolkit/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

QString executablefolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/');
}

QString besideprogram(const QString &folder, const QString &relative)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(relative));
}

QString datafile(const QString &programfolder, const QString &relative)
{
    const QString beside = besideprogram(programfolder, relative);
    if (QFileInfo::exists(beside))
        return beside;
    // bin/ and share/ side by side under one prefix, whatever the prefix is.
    const QString installed =
        QDir::toNativeSeparators(QDir::cleanPath(QDir(programfolder).filePath(u"../share/qorvel3d/"_s + relative)));
    return QFileInfo::exists(installed) ? installed : beside;
}

QString helptarget(const QString &programfolder)
{
#ifdef Q_OS_WIN
    return besideprogram(programfolder, u"软件演示.exe"_s);
#else
    const QString guide = datafile(programfolder, u"软件演示.html"_s);
    return QFileInfo(guide).isFile() ? guide : QString();
#endif
}
