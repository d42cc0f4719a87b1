// The splash window and the About box over folders of their own files: the
// label texts, the lines' places, every failure path, the splash's fifth tick.
#include "app/u_about.h"
#include "app/u_flash.h"
#include "cipher/Des.h"
#include "cipher/auxfilekey.h"
#include "tests/accessibility.h"
#include "tests/windowtest.h"
#include "toolkit/gbk.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList flashtexts{u"出品：测试出品"_s, u"不显示的一行"_s, u"官方网址：www.test.example"_s,
                             u"QQ号码：0999"_s, u"电子邮箱：a@test.example"_s, u"服务热线：000-1"_s};
const QStringList abouttexts{u"作者：甲"_s,      u"版权所有：乙"_s,     u"网址：www.test.example"_s,
                             u"QQ号码：0999"_s, u"服务电话：000-5"_s, u"手机：100-6"_s,
                             u"邮件:a@test.example"_s};

QByteArray enciphered(const QString &text)
{
    return Des::enciphertohex(gbk::encode(text), auxfilekey);
}

// A program folder of its own: "附属/<name>" with the given lines, and the
// splash picture as given (empty: none).
class Tfixture
{
public:
    Tfixture() { QDir(m_folder.path()).mkpath(u"附属"_s); }
    QString folder() const { return m_folder.path() + u'/'; }
    void writelines(const QString &name, const QList<QByteArray> &lines) const
    {
        QByteArray bytes;
        for (const QByteArray &line : lines)
            bytes += line + "\r\n";
        write(u"附属/"_s + name, bytes);
    }
    void writepicture(const QByteArray &bytes) const
    {
        QDir(m_folder.path()).mkpath(u"图片"_s);
        write(u"图片/flash.jpg"_s, bytes);
    }
    QString picturepath() const { return QDir::toNativeSeparators(m_folder.filePath(u"图片/flash.jpg"_s)); }

private:
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(m_folder.filePath(relative));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
    }
    QTemporaryDir m_folder;
};

QByteArray jpegbytes()
{
    QImage image(551, 337, QImage::Format_RGB32);
    image.fill(qRgb(20, 30, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QStringList labeltexts(const QWidget *window, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names)
        texts.append(window->findChild<QLabel *>(name)->text());
    return texts;
}

const QStringList flashlabels{u"lblchuping"_s, u"lblweb"_s, u"lblqq"_s, u"lblmail"_s, u"lblphone"_s};
const QStringList aboutlabels{u"lblauthor"_s, u"lblbanquan"_s, u"lblweb"_s, u"lblqq"_s,
                              u"lblphone1"_s, u"lblphone2"_s, u"lblmail"_s};

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_seams.emplace(); }
    void cleanup() { RELEASESEAMS(m_seams); }

    void splashdesign();
    void splashfiles_data();
    void splashfiles();
    void splashendsonthefifthtick();
    void aboutdesign();
    void aboutfiles_data();
    void aboutfiles();

private:
    std::optional<Tquietseams> m_seams;
};

void TestSplash::splashdesign()
{
    Tfixture fixture; // no files: the design stays
    Tfrmflash splash(fixture.folder());
    takeshown();
    QCOMPARE(splash.objectName(), u"frmflash"_s);
    QCOMPARE(splash.size(), QSize(551, 337));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(findcontrol<QLabel>(&splash, "Image1")->geometry(), QRect(0, 0, 551, 337));
    QCOMPARE(findcontrol<QLabel>(&splash, "Label1")->text(), u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(findcontrol<QLabel>(&splash, "Label1")->geometry(), QRect(29, 72, 496, 44));
    QCOMPARE(findcontrol<QLabel>(&splash, "lblshiyong")->text(), u"适用：3D排列三时时彩"_s);
    const QList<int> tops{160, 180, 201, 222, 243, 264};
    const QStringList names{u"lblchuping"_s, u"lblshiyong"_s, u"lblweb"_s, u"lblqq"_s, u"lblmail"_s, u"lblphone"_s};
    const QStringList prefixes{u"出品："_s, u"适用："_s, u"官方网址："_s, u"QQ号码："_s, u"电子邮箱："_s, u"服务热线："_s};
    for (int i = 0; i < 6; ++i) {
        const auto *label = splash.findChild<QLabel *>(names[i]);
        QCOMPARE(label->geometry(), QRect(144, tops[i], 369, 16));
        QVERIFY(label->text().startsWith(prefixes[i]));
        QVERIFY(label->font().bold() && label->font().italic());
    }
    auto *timer = splash.findChild<QTimer *>(u"Timer1"_s);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(timer->isActive());
}

void TestSplash::splashfiles_data()
{
    QTest::addColumn<QList<QByteArray>>("lines"); // of 附属/flash.txt; empty list: no file
    QTest::addColumn<int>("picture");             // 0 none, 1 a JPEG, 2 not a JPEG
    QTest::addColumn<QString>("message");         // the error box, "" for none
    QTest::addColumn<int>("fromfile");            // how many labels took their file line
    QTest::addColumn<bool>("shown");              // picture loaded, topmost and shown

    QList<QByteArray> all;
    for (const QString &text : flashtexts)
        all.append(enciphered(text));
    QList<QByteArray> badline3 = all;
    badline3[2] = "not hex at all";
    QList<QByteArray> badline2 = all;
    badline2[1] = "no hex: 不是";
    QTest::newRow("all files") << all << 1 << QString() << 5 << true;
    QTest::newRow("no flash.txt") << QList<QByteArray>() << 1 << u"文件没找到."_s << 0 << false;
    QTest::newRow("line 3 is no hex") << badline3 << 1 << u"Error: not a Hex String."_s << 1 << false;
    QTest::newRow("line 2 may be anything") << badline2 << 1 << QString() << 5 << true;
    QTest::newRow("five lines") << all.mid(0, 5) << 1 << QString() << 5 << true;
    QTest::newRow("no picture") << all << 0 << u"不能打开文件 %1."_s << 5 << false;
    QTest::newRow("a picture that is no JPEG") << all << 2 << u"Not a JPEG file"_s << 5 << false;
}

void TestSplash::splashfiles()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(int, picture);
    QFETCH(QString, message);
    QFETCH(int, fromfile);
    QFETCH(bool, shown);
    Tfixture fixture;
    if (!lines.isEmpty())
        fixture.writelines(u"flash.txt"_s, lines);
    if (picture == 1)
        fixture.writepicture(jpegbytes());
    else if (picture == 2)
        fixture.writepicture("GIF89a, not what its name says");

    Tfrmflash splash(fixture.folder());
    const QList<messages::shown> boxes = takeshown();
    if (message.isEmpty()) {
        QCOMPARE(boxes.size(), 0);
    } else {
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].text.startsWith(QString(message).replace(u"%1"_s, fixture.picturepath())),
                 qPrintable(boxes[0].text));
        QCOMPARE(boxes[0].caption, u"Qorvel3D时时彩自动选号器"_s);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    }

    // Labels up to the failing line show the file, the rest their design texts;
    // line 2 is shown nowhere and line 6 goes to lblphone (empty when missing).
    const QStringList texts = labeltexts(&splash, flashlabels);
    const QStringList fromlines{flashtexts[0], flashtexts[2], flashtexts[3], flashtexts[4],
                                lines.size() >= 6 ? flashtexts[5] : QString()};
    for (int i = 0; i < 5; ++i) {
        if (i < fromfile)
            QCOMPARE(texts[i], fromlines[i]);
        else
            QVERIFY2(texts[i] != fromlines[i] && !texts[i].isEmpty(), qPrintable(texts[i]));
    }
    QVERIFY(!texts.contains(flashtexts[1]));
    QCOMPARE(!findcontrol<QLabel>(&splash, "Image1")->pixmap().isNull(), shown);
    QCOMPARE(bool(splash.windowFlags() & Qt::WindowStaysOnTopHint), shown);
    QCOMPARE(splash.isVisible(), shown);
    QCOMPARE(splash.testAttribute(Qt::WA_ShowWithoutActivating), shown);
}

void TestSplash::splashendsonthefifthtick()
{
    Tfixture fixture;
    Tfrmflash splash(fixture.folder());
    takeshown();
    flashticks = 0;
    QSignalSpy finished(&splash, &QDialog::finished);
    auto *timer = splash.findChild<QTimer *>(u"Timer1"_s);
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    timer->stop(); // the ticks are driven here, not waited for
    splash.show(); // without its files it shows only once the start-up runs it
    for (int tick = 1; tick <= 4; ++tick) {
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(flashticks, tick);
        // Neither Esc nor a request to close ends it before its time.
        QTest::keyClick(&splash, Qt::Key_Escape);
        splash.close();
        QCOMPARE(finished.count(), 0);
        QVERIFY(splash.isVisible());
    }
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(flashticks, 5);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
    QCOMPARE(splash.result(), 1);
}

void TestSplash::aboutdesign()
{
    Tfixture fixture;
    Tfrmabout about(fixture.folder());
    takeshown();
    QCOMPARE(about.objectName(), u"frmabout"_s);
    QCOMPARE(about.windowTitle(), u"关于本程序"_s);
    QCOMPARE(about.size(), QSize(405, 207));
    QVERIFY(about.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(findcontrol<QWidget>(&about, "Shape1")->geometry(), QRect(8, 8, 233, 192));
    QCOMPARE(findcontrol<QLabel>(&about, "Label2")->text(), u"2.0版"_s);
    QCOMPARE(findcontrol<QLabel>(&about, "Image1")->geometry(), QRect(256, 15, 137, 145));
    QVERIFY(!findcontrol<QLabel>(&about, "Image1")->pixmap().isNull());
    auto *close = findcontrol<QPushButton>(&about, "btnclose");
    QCOMPARE(close->geometry(), QRect(274, 172, 105, 25));
    QVERIFY(close->isDefault());
    // The second phone line stands above the first.
    QVERIFY(findcontrol<QLabel>(&about, "lblphone2")->y() < findcontrol<QLabel>(&about, "lblphone1")->y());

    about.show();
    // Screen readers hear a dialog, its logo by name, and no nameless control.
    QCOMPARE(QAccessible::queryAccessibleInterface(&about)->role(), QAccessible::Dialog);
    QCOMPARE(accessibility::accessiblename(findcontrol<QLabel>(&about, "Image1")), u"Qorvel3D标志"_s);
    QCOMPARE(accessibility::unnamedcontrols(&about).join(u", "_s), QString());
    QTest::keyClick(&about, Qt::Key_Return); // Enter presses 关闭
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Rejected));
}

void TestSplash::aboutfiles_data()
{
    QTest::addColumn<QList<QByteArray>>("lines"); // empty list: no file
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("texts"); // the labels in file-line order; "" for a design text
    QList<QByteArray> all;
    for (const QString &text : abouttexts)
        all.append(enciphered(text));
    QList<QByteArray> badline4 = all;
    badline4[3] = "3G";
    QTest::newRow("all lines") << all << QString() << abouttexts;
    QTest::newRow("five lines") << all.mid(0, 5) << QString()
                                << (abouttexts.mid(0, 5) << u""_s << u""_s);
    QTest::newRow("no about.txt") << QList<QByteArray>() << u"文件没找到."_s << QStringList();
    QTest::newRow("line 4 is no hex") << badline4 << u"Error: not a Hex String."_s << abouttexts.mid(0, 3);
}

void TestSplash::aboutfiles()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QString, message);
    QFETCH(QStringList, texts);
    Tfixture fixture;
    if (!lines.isEmpty())
        fixture.writelines(u"about.txt"_s, lines);
    Tfrmabout about(fixture.folder());
    const QList<messages::shown> boxes = takeshown();
    QCOMPARE(boxes.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(boxes[0].text, message);
    const QStringList shown = labeltexts(&about, aboutlabels);
    for (int i = 0; i < 7; ++i) {
        if (i < texts.size())
            QCOMPARE(shown[i], texts[i]);
        else
            QVERIFY2(!shown[i].isEmpty() && shown[i] != abouttexts[i], qPrintable(shown[i])); // design text
    }
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
