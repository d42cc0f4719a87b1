#include "toolkit/gbk.h"

#include "toolkit/apperror.h"

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

} // namespace

#ifdef Q_OS_WIN

QByteArray encode(const QString &text)
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

QString decode(const QByteArray &bytes)
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

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        nocodec();
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        unencodable();
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        nocodec();
    return decoder.decode(bytes);
}

#endif

} // namespace gbk
