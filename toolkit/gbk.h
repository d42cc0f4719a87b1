// The one GBK (code page 936) codec, for the edges where the program's text is
// bytes: the cipher's bytes and the plan table file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace gbk {

// Fails with the program's error when the platform has no GBK or when the text
// holds a character that GBK cannot hold; never writes "?" silently.
QByteArray encode(const QString &text);
// Fails with the program's error when the platform has no GBK; bytes that are no
// GBK become U+FFFD.
QString decode(const QByteArray &bytes);

// The same, appending to `out`: a plan file of a million rows is coded cell by
// cell without a string of its own for each.
void appendencoded(QByteArray &out, QStringView text);
void appenddecoded(QString &out, QByteArrayView bytes);

} // namespace gbk
