#include "toolkit/textfile.h"

#include "toolkit/apperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

int lastsystemerror()
{
#ifdef Q_OS_WIN
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

[[noreturn]] void fail(const QString &path)
{
    throw AppError(fileerrortext(lastsystemerror(), path));
}

[[noreturn]] void diskfull()
{
    throw AppError(u"磁盘已满"_s);
}

} // namespace

void printutf8(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

QString fileerrortext(int code, const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return u"文件没找到"_s;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return u"无效的文件名"_s;
    case ERROR_TOO_MANY_OPEN_FILES:
        return u"文件打开太多"_s;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return u"文件存取错误"_s;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return u"磁盘已满"_s;
    default:
        return u"I/O 错误 %1"_s.arg(code);
    }
#else
    switch (code) {
    case ENOENT:
        // One code for both: a missing folder is a bad name, a missing file is not found.
        return QFileInfo(path).absoluteDir().exists() ? u"文件没找到"_s : u"无效的文件名"_s;
    case ENOTDIR:
    case ENAMETOOLONG:
        return u"无效的文件名"_s;
    case EMFILE:
    case ENFILE:
        return u"文件打开太多"_s;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
        return u"文件存取错误"_s;
    case ENOSPC:
    case EDQUOT:
        return u"磁盘已满"_s;
    default:
        return u"I/O 错误 %1"_s.arg(code);
    }
#endif
}

Ttextreader Ttextreader::fromfile(const QString &path)
{
    return Ttextreader(readwholefile(path));
}

QByteArray readwholefile(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        throw AppError(u"文件存取错误"_s);
    if (!file.open(QIODevice::ReadOnly))
        fail(path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(u"I/O 错误 %1"_s.arg(lastsystemerror()));
    return bytes;
}

QByteArray Ttextreader::readline()
{
    return nextline().toByteArray();
}

QByteArrayView Ttextreader::nextline()
{
    if (atend())
        return {};
    qsizetype end = m_bytes.indexOf('\n', m_pos);
    const qsizetype next = end < 0 ? m_bytes.size() : end + 1;
    if (end < 0)
        end = m_bytes.size();
    if (end > m_pos && m_bytes[end - 1] == '\r')
        --end;
    const QByteArrayView line(m_bytes.constData() + m_pos, end - m_pos);
    m_pos = next;
    return line;
}

namespace {

QByteArray joinlines(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

void writebytes(QIODevice &device, const QByteArray &bytes)
{
    if (device.write(bytes) != bytes.size())
        diskfull();
}

} // namespace

void writelines(QIODevice &device, const QList<QByteArray> &lines)
{
    writebytes(device, joinlines(lines));
}

void savelines(const QString &path, const QList<QByteArray> &lines)
{
    savebytes(path, joinlines(lines));
}

namespace {

// A path such as /dev/stdout names a descriptor the program already holds; it is
// written through that descriptor, so what was printed before stays in front.
int descriptorofpath(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return -1;
#else
    if (path == u"/dev/stdout"_s)
        return 1;
    if (path == u"/dev/stderr"_s)
        return 2;
    for (const QString &folder : {u"/dev/fd/"_s, u"/proc/self/fd/"_s}) {
        if (path.startsWith(folder)) {
            bool ok = false;
            const int fd = path.mid(folder.size()).toInt(&ok);
            if (ok && fd >= 0)
                return fd;
        }
    }
    return -1;
#endif
}

// Follows a chain of symbolic links to the file it ends in, which may not exist yet.
QString followlinks(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

// Devices, FIFOs and sockets cannot be replaced: they are written in place, as any
// Unix tool writes to them.
void writeinplace(QFile &file, const QByteArray &bytes)
{
    writebytes(file, bytes);
    if (!file.flush())
        diskfull();
}

} // namespace

void savebytes(const QString &path, const QByteArray &bytes)
{
    const int descriptor = descriptorofpath(path);
    if (descriptor >= 0) {
        std::fflush(nullptr);
        QFile file;
        if (!file.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            fail(path);
        writeinplace(file, bytes);
        return;
    }
    // A link stays a link: the file it leads to is the one replaced.
    const QString real = followlinks(path);
    const QFileInfo target(real);
    if (target.isDir())
        throw AppError(u"文件存取错误"_s);
    if (target.exists() && !target.isFile()) {
        QFile file(real);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            fail(real);
        writeinplace(file, bytes);
        return;
    }
    // The old file is only ever replaced, so what stops writing to it must be
    // checked by hand: a read-only file.
    if (target.exists() && !target.isWritable())
        throw AppError(u"文件存取错误"_s);
    QSaveFile file(real);
    if (!file.open(QIODevice::WriteOnly))
        fail(real);
    writebytes(file, bytes);
    if (!file.commit()) {
        if (file.error() == QFileDevice::WriteError)
            diskfull();
        fail(real);
    }
}
