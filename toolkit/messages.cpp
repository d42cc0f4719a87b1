#include "toolkit/messages.h"

#include "toolkit/window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace messages {
namespace {

void show(const QString &text, const QString &caption, QMessageBox::Icon icon, bool chineseok)
{
    QWidget *owner = QApplication::activeWindow();
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    stayabove(&box, owner);
    if (chineseok)
        box.button(QMessageBox::Ok)->setText(u"确定"_s);
    if (seam().active()) {
        QStringList buttons;
        for (const QAbstractButton *button : box.buttons())
            buttons.append(button->text());
        seam().record({box.text(), box.windowTitle(), box.icon(), buttons});
        return;
    }
    box.exec();
}

} // namespace

Tseam<shown> &seam()
{
    static Tseam<shown> instance("message box");
    return instance;
}

QString apptitle()
{
    return u"Qorvel3D时时彩自动选号器"_s;
}

void showmessage(const QString &text)
{
    show(text, apptitle(), QMessageBox::NoIcon, true);
}

void showerror(const QString &message)
{
    // The standard OK button, in the language of the loaded translation.
    show(errortext(message), apptitle(), QMessageBox::Critical, false);
}

void showprintfailure(const QString &text)
{
    show(text, u"错误"_s, QMessageBox::Critical, true);
}

QString errortext(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

} // namespace messages
