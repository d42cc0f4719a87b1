#include "toolkit/window.h"

#include "toolkit/radiogroup.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

class defaultbuttonfilter : public QObject
{
public:
    defaultbuttonfilter(QWidget *window, QPushButton *button) : QObject(window), m_button(button) {}

protected:
    // Key presses reach the window only when the focused control did not take them.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
        QPushButton *target = focused ? focused : m_button;
        if (target->isEnabled() && target->isVisible())
            target->click();
        return true;
    }

private:
    QPushButton *m_button;
};

class anchorfilter : public QObject
{
public:
    explicit anchorfilter(QWidget *parent) : QObject(parent), m_designsize(parent->size()) {}

    void add(QWidget *control, Qt::Edges edges) { m_anchored.push_back({control, edges, control->geometry()}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            const QSize grown = static_cast<QWidget *>(watched)->size() - m_designsize;
            for (const anchored &a : m_anchored)
                a.control->setGeometry(place(a, grown));
        }
        return false;
    }

private:
    struct anchored
    {
        QWidget *control;
        Qt::Edges edges;
        QRect design;
    };

    static QRect place(const anchored &a, QSize grown)
    {
        QRect r = a.design;
        if (a.edges & Qt::RightEdge) {
            if (a.edges & Qt::LeftEdge)
                r.setWidth(std::max(0, r.width() + grown.width()));
            else
                r.moveLeft(r.left() + grown.width());
        }
        if (a.edges & Qt::BottomEdge) {
            if (a.edges & Qt::TopEdge)
                r.setHeight(std::max(0, r.height() + grown.height()));
            else
                r.moveTop(r.top() + grown.height());
        }
        return r;
    }

    QSize m_designsize;
    std::vector<anchored> m_anchored;
};

} // namespace

void anchor(QWidget *control, Qt::Edges edges)
{
    QWidget *parent = control->parentWidget();
    anchorfilter *filter = nullptr;
    for (QObject *child : parent->children())
        if ((filter = dynamic_cast<anchorfilter *>(child)))
            break;
    if (!filter) {
        filter = new anchorfilter(parent);
        parent->installEventFilter(filter);
    }
    filter->add(control, edges);
}

namespace {

constexpr char windowroleproperty[] = "qorvel3d_windowrole";

// A plain top-level widget would be announced as a bare "filler"; the windows
// that ask for it are announced as frames.
QAccessibleInterface *windowfactory(const QString &classname, QObject *object)
{
    if (classname != QLatin1StringView("QWidget") || !object->property(windowroleproperty).toBool())
        return nullptr;
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

} // namespace

void exposeaswindow(QWidget *window)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowfactory);
        return true;
    }();
    Q_UNUSED(installed);
    window->setProperty(windowroleproperty, true);
}

void setdefaultbutton(QWidget *window, QPushButton *button)
{
    button->setDefault(true);
    window->installEventFilter(new defaultbuttonfilter(window, button));
}

void settaborder(std::initializer_list<QWidget *> controls)
{
    std::vector<QWidget *> chain;
    // Where a page control stands in the order.
    size_t pagesat = 0;
    for (QWidget *control : controls) {
        if (auto *group = qobject_cast<Tradiogroup *>(control)) {
            for (int i = 0; i < group->count(); ++i)
                chain.push_back(group->button(i));
        } else if (auto *pages = qobject_cast<QTabWidget *>(control)) {
            // The tabs take the focus; the controls of the pages follow in the chain.
            pagesat = chain.size();
            chain.push_back(pages->tabBar());
        } else {
            chain.push_back(control);
        }
    }
    if (chain.empty())
        return;
    // Qt keeps every widget of the window in one circular chain; the controls
    // left out of the order end up between the last one chained and the first.
    // The page control itself is among them and hands the focus to its tab bar,
    // so the chain is laid from the tab bar on and the rest lands just before
    // it: Tab from the last control of the order then comes to the first.
    std::rotate(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(pagesat), chain.end());
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    // No other control may stand in the ring, so those left out are left to the mouse.
    QWidget *window = chain.front()->window();
    const auto inorder = [&chain, window](const QWidget *w) {
        for (; w && w != window; w = w->parentWidget())
            if (std::find(chain.begin(), chain.end(), w) != chain.end())
                return true;
        return false;
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        // A widget with a focus proxy takes the focus by its proxy's policy.
        if (w->window() == window && !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus) && !inorder(w))
            w->setFocusPolicy(static_cast<Qt::FocusPolicy>(w->focusPolicy() & ~Qt::TabFocus));
    }
}

namespace {

void centrebyframe(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

// A window manager adds its frame only once the window is shown; the window is
// centred again by that frame when it first appears on the screen.
class framecentrer : public QObject
{
public:
    explicit framecentrer(QWidget *window) : QObject(window), m_window(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle()) {
            m_window->windowHandle()->installEventFilter(this);
        } else if (watched == m_window->windowHandle() && event->type() == QEvent::Expose
                   && m_window->windowHandle()->isExposed()) {
            centrebyframe(m_window);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void stayabove(QWidget *dialog, const QWidget *owner)
{
    if (owner && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
}

void centreonscreen(QWidget *window)
{
    centrebyframe(window);
    new framecentrer(window);
}
