// Text files, line by line: CR LF or LF ends a line, reading past the last line
// yields empty lines; files are written with CR LF, through a temporary file that
// replaces the target only when every byte is written. Failures raise the
// program's error with the system's reason in the program's words.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdio>

class QIODevice;

class Ttextreader
{
public:
    explicit Ttextreader(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    // Opens and reads the whole file; fails with the file error.
    static Ttextreader fromfile(const QString &path);

    bool atend() const { return m_pos >= m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    QByteArray readline();
    // The same line where it lies in the bytes read, valid while the reader lives.
    QByteArrayView nextline();

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// The whole file; fails with the file error.
QByteArray readwholefile(const QString &path);

// Writes each line and CR LF; fails with "磁盘已满" when a write falls short.
void writelines(QIODevice &device, const QList<QByteArray> &lines);
// Replaces the file at `path` with the lines, or leaves it as it was. A symbolic
// link is followed and the file it leads to replaced, the link kept; what exists
// and is no regular file (a device, a FIFO, /dev/stdout) is written in place.
void savelines(const QString &path, const QList<QByteArray> &lines);
// The same for bytes as they stand.
void savebytes(const QString &path, const QByteArray &bytes);

// Prints text as UTF-8 to a C stream, as the command-line tools do.
void printutf8(FILE *stream, const QString &text);

// The message for a file that could not be opened, created or written, from the
// system's error code (errno, or GetLastError on Windows).
QString fileerrortext(int code, const QString &path);
