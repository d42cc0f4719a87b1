#include "toolkit/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

Tradiogroup::Tradiogroup(QWidget *parent)
    : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(2);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            selectionchanged();
    });
}

QStringList Tradiogroup::items() const
{
    QStringList texts;
    for (const QRadioButton *b : m_buttons)
        texts.append(b->text());
    return texts;
}

void Tradiogroup::setitems(const QStringList &items)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setFocusPolicy(Qt::ClickFocus);
        m_group->addButton(b, i);
        m_buttons.append(b);
    }
    arrange();
}

void Tradiogroup::setcolumns(int columns)
{
    m_columns = std::max(columns, 1);
    arrange();
}

int Tradiogroup::itemindex() const
{
    return m_group->checkedId();
}

void Tradiogroup::setitemindex(int index)
{
    if (QRadioButton *b = button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton *checked = m_group->checkedButton()) {
        // No item selected: an exclusive group cannot uncheck by itself.
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
        selectionchanged();
    }
}

QRadioButton *Tradiogroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void Tradiogroup::arrange()
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int rows = (static_cast<int>(m_buttons.size()) + m_columns - 1) / m_columns;
    // Items run down the first column, then down the next.
    for (int i = 0; i < m_buttons.size(); ++i) {
        grid->removeWidget(m_buttons[i]);
        grid->addWidget(m_buttons[i], rows ? i % rows : 0, rows ? i / rows : 0);
    }
}

void Tradiogroup::selectionchanged()
{
    const int selected = itemindex();
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setFocusPolicy(i == selected ? Qt::StrongFocus : Qt::ClickFocus);
    emit clicked();
}
