#include "toolkit/clicklabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// Screen readers announce the label as a link, by its text, that can be pressed.
class accessiblelink : public QAccessibleWidget
{
public:
    explicit accessiblelink(Tclicklabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            emit static_cast<Tclicklabel *>(widget())->clicked();
    }
};

QAccessibleInterface *linkfactory(const QString &classname, QObject *object)
{
    if (classname == QLatin1StringView(Tclicklabel::staticMetaObject.className()))
        if (auto *label = qobject_cast<Tclicklabel *>(object))
            return new accessiblelink(label);
    return nullptr;
}

} // namespace

Tclicklabel::Tclicklabel(QWidget *parent) : QLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(linkfactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::TabFocus);
}

void Tclicklabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void Tclicklabel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && !event->isAutoRepeat()
        && !(event->modifiers() & ~Qt::KeypadModifier)) {
        emit clicked();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Tclicklabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
