// JPEG pictures decoded through libjpeg's own API. A broken picture raises the
// program's error with libjpeg's message; libjpeg never gets to exit().
#pragma once

#include <QByteArray>
#include <QImage>

QImage decodejpeg(const QByteArray &bytes);
