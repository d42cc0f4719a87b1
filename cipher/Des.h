// The text cipher: DES (FIPS 46-3) applied to each 8-byte block of a text by
// itself, the text padded with NUL bytes to whole blocks, the result written as
// uppercase hex. Texts and keys are bytes (GBK where they are text).
#pragma once

#include <QByteArray>

#include <array>

namespace Des {

using block = std::array<quint8, 8>;
using roundkey = std::array<quint8, 6>;
enum class direction { encipher, decipher };

// The 16 round keys of the last schedule, most significant bit first.
extern std::array<roundkey, 16> subkeytable;

// Text to uppercase hex, two digits per byte; fails with
// "Error: the last char is NULL char." when the text ends in a NUL byte.
QByteArray enciphertohex(QByteArray text, QByteArray key);
// Hex (either case) back to text; fails with "Error: not a Hex String" at the
// first pair that holds another character. An odd last digit is never read.
QByteArray decipherfromhex(QByteArray hex, QByteArray key);

QByteArray enciphertext(QByteArray text, QByteArray key);
// Bytes after the last whole block are ignored; trailing NUL bytes are removed.
QByteArray deciphertext(QByteArray bytes, QByteArray key);
quint32 hexdigitsvalue(QByteArray digits);

// The key's first 8 bytes, NUL-completed; no parity check, no weak-key test.
void desschedule(const block &key);
block desblock(const block &data, direction dir);

// The 8-byte DES key of a key string.
block keyof(const QByteArray &key);

} // namespace Des
