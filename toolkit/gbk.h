// The one GBK (code page 936) codec, for the edges where the program's text is
// bytes: the cipher's bytes and the plan table file.
#pragma once

#include <QByteArray>
#include <QString>

namespace gbk {

// Fails with the program's error when the platform has no GBK or when the text
// holds a character that GBK cannot hold; never writes "?" silently.
QByteArray encode(const QString &text);
// Fails with the program's error when the platform has no GBK; bytes that are no
// GBK become U+FFFD.
QString decode(const QByteArray &bytes);

} // namespace gbk
