#include "cipher/Des.h"

#include "toolkit/apperror.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace Des {

std::array<roundkey, 16> subkeytable{};

namespace {

// The standard's tables, bit positions counted from 1 at the most significant
// bit of the first byte.
constexpr int IP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                        62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                        57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                        61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr int FP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                        38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                        36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                        34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
constexpr int E[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                       12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                       22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
constexpr int P[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                       2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr int PC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                         10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                         63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                         14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr int PC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                         26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                         51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr int SHIFTS[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
constexpr quint8 S[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

// A string of bits, one per element, bit 1 first.
template <size_t N>
using bits = std::array<quint8, N>;

template <size_t N>
bits<N * 8> unpack(const std::array<quint8, N> &bytes)
{
    bits<N * 8> out{};
    for (size_t i = 0; i < N * 8; ++i)
        out[i] = (bytes[i / 8] >> (7 - i % 8)) & 1;
    return out;
}

template <size_t N>
std::array<quint8, N / 8> pack(const bits<N> &in)
{
    std::array<quint8, N / 8> out{};
    for (size_t i = 0; i < N; ++i)
        out[i / 8] = quint8(out[i / 8] | (in[i] << (7 - i % 8)));
    return out;
}

// Output bit i is the input bit the table names at position i.
template <size_t N, size_t M>
bits<N> permute(const bits<M> &in, const int (&table)[N])
{
    bits<N> out{};
    for (size_t i = 0; i < N; ++i)
        out[i] = in[static_cast<size_t>(table[i] - 1)];
    return out;
}

template <size_t N>
void rotateleft(bits<N> &half, int count)
{
    std::rotate(half.begin(), half.begin() + count, half.end());
}

// The cipher function f(R, K): expansion, key, S-boxes, permutation P.
bits<32> f(const bits<32> &right, const bits<48> &key)
{
    bits<48> x = permute(right, E);
    for (size_t i = 0; i < 48; ++i)
        x[i] ^= key[i];
    bits<32> s{};
    for (size_t box = 0; box < 8; ++box) {
        const quint8 *in = &x[box * 6];
        const int row = in[0] << 1 | in[5];
        const int col = in[1] << 3 | in[2] << 2 | in[3] << 1 | in[4];
        const quint8 value = S[box][row][col];
        for (size_t b = 0; b < 4; ++b)
            s[box * 4 + b] = (value >> (3 - b)) & 1;
    }
    return permute(s, P);
}

[[noreturn]] void nothex()
{
    throw AppError(u"Error: not a Hex String"_s);
}

} // namespace

block keyof(const QByteArray &key)
{
    block k{};
    for (qsizetype i = 0; i < 8 && i < key.size(); ++i)
        k[static_cast<size_t>(i)] = static_cast<quint8>(key[i]);
    return k;
}

void desschedule(const block &key)
{
    // Permuted choice 1 drops the lowest bit of every byte, as the standard does.
    const bits<56> cd = permute(unpack(key), PC1);
    bits<28> c{}, d{};
    std::copy(cd.begin(), cd.begin() + 28, c.begin());
    std::copy(cd.begin() + 28, cd.end(), d.begin());
    for (int round = 0; round < 16; ++round) {
        rotateleft(c, SHIFTS[round]);
        rotateleft(d, SHIFTS[round]);
        bits<56> joined{};
        std::copy(c.begin(), c.end(), joined.begin());
        std::copy(d.begin(), d.end(), joined.begin() + 28);
        subkeytable[static_cast<size_t>(round)] = pack(permute(joined, PC2));
    }
}

block desblock(const block &data, direction dir)
{
    const bits<64> in = permute(unpack(data), IP);
    bits<32> left{}, right{};
    std::copy(in.begin(), in.begin() + 32, left.begin());
    std::copy(in.begin() + 32, in.end(), right.begin());
    for (int round = 0; round < 16; ++round) {
        const size_t k = static_cast<size_t>(dir == direction::encipher ? round : 15 - round);
        const bits<32> mixed = f(right, unpack(subkeytable[k]));
        bits<32> next{};
        for (size_t i = 0; i < 32; ++i)
            next[i] = left[i] ^ mixed[i];
        left = right;
        right = next;
    }
    // The last round's halves go out exchanged.
    bits<64> out{};
    std::copy(right.begin(), right.end(), out.begin());
    std::copy(left.begin(), left.end(), out.begin() + 32);
    return pack(permute(out, FP));
}

QByteArray enciphertext(QByteArray text, QByteArray key)
{
    if (!text.isEmpty() && text.back() == '\0')
        throw AppError(u"Error: the last char is NULL char."_s);
    desschedule(keyof(key));
    if (text.size() % 8 != 0)
        text.append(8 - text.size() % 8, '\0');
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype at = 0; at < text.size(); at += 8) {
        block b;
        std::copy_n(text.constData() + at, 8, reinterpret_cast<char *>(b.data()));
        const block c = desblock(b, direction::encipher);
        std::copy_n(reinterpret_cast<const char *>(c.data()), 8, out.data() + at);
    }
    return out;
}

QByteArray deciphertext(QByteArray bytes, QByteArray key)
{
    desschedule(keyof(key));
    const qsizetype blocks = bytes.size() / 8;
    QByteArray out(blocks * 8, Qt::Uninitialized);
    for (qsizetype i = 0; i < blocks; ++i) {
        block b;
        std::copy_n(bytes.constData() + i * 8, 8, reinterpret_cast<char *>(b.data()));
        const block p = desblock(b, direction::decipher);
        std::copy_n(reinterpret_cast<const char *>(p.data()), 8, out.data() + i * 8);
    }
    while (!out.isEmpty() && out.back() == '\0')
        out.chop(1);
    return out;
}

quint32 hexdigitsvalue(QByteArray digits)
{
    quint32 value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            nothex();
        value = value * 16 + static_cast<quint32>(digit);
    }
    return value;
}

QByteArray enciphertohex(QByteArray text, QByteArray key)
{
    return enciphertext(std::move(text), std::move(key)).toHex().toUpper();
}

QByteArray decipherfromhex(QByteArray hex, QByteArray key)
{
    QByteArray bytes;
    bytes.reserve(hex.size() / 2);
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        bytes.append(static_cast<char>(hexdigitsvalue(hex.mid(i, 2))));
    return deciphertext(std::move(bytes), std::move(key));
}

} // namespace Des
