// Any bytes as a hex line and a key: deciphering never crashes, and its only
// failure is the one for a character that is no hex digit.
#include "cipher/Des.h"
#include "toolkit/apperror.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte says how many of the next bytes are the key.
    const size_t keysize = size == 0 ? 0 : data[0] % 12;
    const size_t start = size == 0 ? 0 : std::min(size, 1 + keysize);
    const QByteArray key(reinterpret_cast<const char *>(data) + std::min<size_t>(size, 1),
                         static_cast<qsizetype>(start - std::min<size_t>(size, 1)));
    const QByteArray hex(reinterpret_cast<const char *>(data) + start, static_cast<qsizetype>(size - start));
    try {
        const QByteArray text = Des::decipherfromhex(hex, key);
        if (text.size() > hex.size() / 2 || (!text.isEmpty() && text.back() == '\0'))
            std::abort();
    } catch (const AppError &error) {
        if (error.message() != QStringLiteral("Error: not a Hex String"))
            std::abort();
    }
    return 0;
}
