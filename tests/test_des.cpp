// The text cipher: DES known answers, the text rules around it (padding, the
// trailing NUL, hex reading) and a seeded round trip.
#include "cipher/Des.h"
#include "tests/checks.h"
#include "toolkit/apperror.h"
#include "toolkit/gbk.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

Des::block blockof(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    Des::block b{};
    std::copy_n(bytes.constData(), 8, reinterpret_cast<char *>(b.data()));
    return b;
}

QByteArray hexof(const Des::block &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), 8).toHex().toUpper();
}

} // namespace

class TestDes : public QObject
{
    Q_OBJECT

private slots:
    void knownanswers_data();
    void knownanswers();
    void texts_data();
    void texts();
    void failures_data();
    void failures();
    void hexdigitvalues();
    void roundtrip();
};

void TestDes::knownanswers_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("variable plaintext 1") << QByteArray("0101010101010101") << QByteArray("8000000000000000")
                                          << QByteArray("95F8A5E5DD31D900");
    QTest::newRow("variable plaintext 2") << QByteArray("0101010101010101") << QByteArray("4000000000000000")
                                          << QByteArray("DD7F121CA5015619");
    QTest::newRow("variable plaintext 64") << QByteArray("0101010101010101") << QByteArray("0000000000000001")
                                           << QByteArray("166B40B44ABA4BD6");
    QTest::newRow("variable key 1") << QByteArray("8001010101010101") << QByteArray("0000000000000000")
                                    << QByteArray("95A8D72813DAA94D");
    QTest::newRow("variable key 56") << QByteArray("0101010101010180") << QByteArray("0000000000000000")
                                     << QByteArray("9CC62DF43B6EED74");
    QTest::newRow("sample") << QByteArray("7CA110454A1A6E57") << QByteArray("01A1D6D039776742")
                            << QByteArray("690F5B0D9A26939B");
    QTest::newRow("now is the time 1") << QByteArray("0123456789ABCDEF") << QByteArray("4E6F772069732074")
                                       << QByteArray("3FA40E8A984D4815");
    QTest::newRow("now is the time 2") << QByteArray("0123456789ABCDEF") << QByteArray("68652074696D6520")
                                       << QByteArray("6A271787AB8883F9");
    QTest::newRow("now is the time 3") << QByteArray("0123456789ABCDEF") << QByteArray("666F7220616C6C20")
                                       << QByteArray("893D51EC4B563B53");
    QTest::newRow("parity bits ignored 0") << QByteArray("0000000000000000") << QByteArray("0000000000000000")
                                           << QByteArray("8CA64DE9C1B123A7");
    QTest::newRow("parity bits ignored 1") << QByteArray("0101010101010101") << QByteArray("0000000000000000")
                                           << QByteArray("8CA64DE9C1B123A7");
}

void TestDes::knownanswers()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    Des::desschedule(blockof(key));
    QCOMPARE(hexof(Des::desblock(blockof(plain), Des::direction::encipher)), cipher);
    QCOMPARE(hexof(Des::desblock(blockof(cipher), Des::direction::decipher)), plain);
}

void TestDes::texts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("hex"); // the enciphered line; empty: only its length is checked
    QTest::addColumn<int>("digits");
    QTest::newRow("empty") << QByteArray() << QByteArray("58") << QByteArray() << 0;
    QTest::newRow("three blocks") << QByteArray("Now is the time for all ") << QByteArray::fromHex("0123456789ABCDEF")
                                  << QByteArray("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53") << 48;
    QTest::newRow("1 byte") << QByteArray("a") << QByteArray("58") << QByteArray() << 16;
    QTest::newRow("8 bytes") << QByteArray("12345678") << QByteArray("58") << QByteArray() << 16;
    QTest::newRow("9 bytes") << QByteArray("123456789") << QByteArray("58") << QByteArray() << 32;
    QTest::newRow("16 bytes") << QByteArray("1234567812345678") << QByteArray("58") << QByteArray() << 32;
    QTest::newRow("inner NUL") << QByteArray("a\0b", 3) << QByteArray("58") << QByteArray() << 16;
    QTest::newRow("GBK across a block boundary") << gbk::encode(u"出品：全新工作室"_s) << QByteArray("58")
                                                 << QByteArray() << 32;
}

void TestDes::texts()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, hex);
    QFETCH(int, digits);
    const QByteArray line = Des::enciphertohex(text, key);
    QCOMPARE(line.size(), digits);
    if (!hex.isEmpty())
        QCOMPARE(line, hex);
    QCOMPARE(line, line.toUpper());
    QCOMPARE(Des::decipherfromhex(line, key), text);
    QCOMPARE(Des::decipherfromhex(line.toLower(), key), text);
}

void TestDes::failures_data()
{
    QTest::addColumn<QByteArray>("hex"); // enciphered first when it is a text to encipher
    QTest::addColumn<QString>("message");
    QTest::newRow("a blank in a pair") << QByteArray("3FA40E8A 84D4815") << u"Error: not a Hex String"_s;
    QTest::newRow("a G") << QByteArray("3G") << u"Error: not a Hex String"_s;
    QTest::newRow("a minus") << QByteArray("-1") << u"Error: not a Hex String"_s;
    QTest::newRow("a bad odd last digit is never read") << QByteArray("3FA40E8A984D4815Z") << QString();
}

void TestDes::failures()
{
    QFETCH(QByteArray, hex);
    QFETCH(QString, message);
    QCOMPARE(failuremessage([&] { Des::decipherfromhex(hex, QByteArray::fromHex("0123456789ABCDEF")); }), message);
}

void TestDes::hexdigitvalues()
{
    QCOMPARE(Des::hexdigitsvalue("00"), 0u);
    QCOMPARE(Des::hexdigitsvalue("fF"), 255u);
    QCOMPARE(Des::hexdigitsvalue("A0"), 160u);
    QCOMPARE(Des::hexdigitsvalue(""), 0u);
    QCOMPARE(failuremessage([] { Des::hexdigitsvalue("0x"); }), u"Error: not a Hex String"_s);

    // No chaining: equal blocks give equal groups.
    const QByteArray twice = Des::enciphertohex("abcdefghabcdefgh", "58");
    QCOMPARE(twice.left(16), twice.mid(16));
    // The empty key acts as eight NUL bytes, a long key as its first eight, and a
    // key differing only in the lowest bits enciphers alike.
    QCOMPARE(Des::enciphertohex("text", ""), Des::enciphertohex("text", QByteArray(8, '\0')));
    QCOMPARE(Des::enciphertohex("text", "12345678-and-more"), Des::enciphertohex("text", "12345678"));
    QCOMPARE(Des::enciphertohex("text", "02"), Des::enciphertohex("text", "13")); // '0'^1 = '1', '2'^1 = '3'
    QVERIFY(Des::enciphertohex("text", "02") != Des::enciphertohex("text", "04"));
    // A shortened line loses what lies after its last whole block.
    const QByteArray line = Des::enciphertohex("0123456789", "58");
    QCOMPARE(Des::decipherfromhex(line.left(20), "58"), QByteArray("01234567"));
    // A wrong key deciphers without failing, and trailing NULs go all the same.
    const QByteArray wrong = Des::decipherfromhex(line, "68");
    QVERIFY(wrong != "0123456789");
    QVERIFY(wrong.isEmpty() || wrong.back() != '\0');
    // The text that ends in a NUL byte is refused.
    QCOMPARE(failuremessage([] { Des::enciphertohex(QByteArray("abc\0", 4), "58"); }),
             u"Error: the last char is NULL char."_s);
    QCOMPARE(failuremessage([] { Des::enciphertext(QByteArray(1, '\0'), "58"); }), u"Error: the last char is NULL char."_s);
}

void TestDes::roundtrip()
{
    QRandomGenerator random(20261210);
    for (int i = 0; i < 500; ++i) {
        QByteArray text(random.bounded(0, 40), Qt::Uninitialized);
        for (char &c : text)
            c = char(random.bounded(256));
        if (!text.isEmpty() && text.back() == '\0')
            text.back() = '\xB5'; // a GBK lead byte
        QByteArray key(random.bounded(0, 12), Qt::Uninitialized);
        for (char &c : key)
            c = char(random.bounded(256));
        const QByteArray line = Des::enciphertohex(text, key);
        QCOMPARE(line.size(), (text.size() + 7) / 8 * 16);
        QCOMPARE(Des::decipherfromhex(line, key), text);
    }
}

QTEST_GUILESS_MAIN(TestDes)
#include "test_des.moc"
