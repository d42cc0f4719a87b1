// JPEG pictures decoded through libjpeg's own API. A broken picture raises the
// program's error with libjpeg's message; libjpeg never gets to exit().
#pragma once

#include <QByteArray>
#include <QImage>

QImage decodejpeg(const QByteArray &bytes);
// The picture in a JPEG file; a file that cannot be read fails with
// "不能打开文件 %s" and its full path.
QImage loadjpegfile(const QString &path);
