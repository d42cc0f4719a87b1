#include "toolkit/messages.h"

#include <QApplication>
#include <QPushButton>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace messages {
namespace {

bool recording = false;
QList<shown> recorded;

void show(const QString &text, const QString &caption, QMessageBox::Icon icon)
{
    if (recording) {
        recorded.append({text, caption, icon, QMessageBox::Ok});
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(u"确定"_s);
    box.exec();
}

} // namespace

QString apptitle()
{
    return u"Qorvel3D时时彩自动选号器"_s;
}

void showmessage(const QString &text)
{
    show(text, apptitle(), QMessageBox::NoIcon);
}

void showerror(const QString &message)
{
    show(errortext(message), apptitle(), QMessageBox::Critical);
}

void showprintfailure(const QString &text)
{
    show(text, u"错误"_s, QMessageBox::Critical);
}

QString errortext(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void startrecording()
{
    recording = true;
    recorded.clear();
}

void stoprecording()
{
    recording = false;
    recorded.clear();
}

QList<shown> takeshown()
{
    return std::exchange(recorded, {});
}

} // namespace messages
