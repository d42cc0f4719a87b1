#include "toolkit/gbk.h"

#include "toolkit/apperror.h"

#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

using namespace Qt::Literals::StringLiterals;

namespace gbk {
namespace {

[[noreturn]] void nocodec()
{
    throw AppError(u"系统不支持GBK编码"_s);
}

[[noreturn]] void unencodable()
{
    throw AppError(u"文本含有GBK无法表示的字符"_s);
}

// GBK keeps ASCII as it is: most of what the program codes needs no codec at all.
bool isascii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isascii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QByteArray encodeother(QStringView text);
QString decodeother(QByteArrayView bytes);

} // namespace

QByteArray encode(const QString &text)
{
    return isascii(QStringView(text)) ? text.toLatin1() : encodeother(text);
}

QString decode(const QByteArray &bytes)
{
    return isascii(QByteArrayView(bytes)) ? QString::fromLatin1(bytes) : decodeother(bytes);
}

void appendencoded(QByteArray &out, QStringView text)
{
    if (!isascii(text)) {
        out += encodeother(text);
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *to = out.data() + at;
    for (QChar c : text)
        *to++ = static_cast<char>(c.unicode());
}

void appenddecoded(QString &out, QByteArrayView bytes)
{
    if (isascii(bytes))
        out.append(QLatin1StringView(bytes));
    else
        out.append(decodeother(bytes));
}

namespace {

#ifdef Q_OS_WIN

QByteArray encodeother(QStringView text)
{
    if (text.isEmpty())
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    BOOL useddefault = FALSE;
    const int size = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, &useddefault);
    if (size <= 0)
        nocodec();
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(text.size()), bytes.data(), size, nullptr, &useddefault);
    if (useddefault)
        unencodable();
    return bytes;
}

QString decodeother(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const int size = MultiByteToWideChar(936, 0, bytes.constData(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0)
        nocodec();
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(936, 0, bytes.constData(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
}

#else

// One codec each way, made at the first use in a thread and kept; an encoder that
// met a character GBK cannot hold stays marked, so that one is made anew.
QByteArray encodeother(QStringView text)
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace("GBK", QStringConverter::Flag::Stateless);
    if (!encoder->isValid())
        nocodec();
    QByteArray bytes = encoder->encode(text);
    if (encoder->hasError()) {
        encoder.reset();
        unencodable();
    }
    return bytes;
}

QString decodeother(QByteArrayView bytes)
{
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        nocodec();
    return decoder.decode(bytes);
}

#endif

} // namespace

} // namespace gbk
