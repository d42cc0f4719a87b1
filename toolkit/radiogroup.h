// A radio group: a captionless group box holding one QRadioButton per item,
// item 0 first, laid out in a number of columns. Only the checked item takes
// the Tab focus, so Tab enters the group at its selection.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class Tradiogroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setitems)
    Q_PROPERTY(int columns READ columns WRITE setcolumns)
    Q_PROPERTY(int itemindex READ itemindex WRITE setitemindex)

public:
    explicit Tradiogroup(QWidget *parent = nullptr);

    QStringList items() const;
    void setitems(const QStringList &items);
    int columns() const { return m_columns; }
    void setcolumns(int columns);
    int itemindex() const;
    void setitemindex(int index);
    QRadioButton *button(int index) const;
    int count() const { return static_cast<int>(m_buttons.size()); }

signals:
    // The selected item changed, by the user or by setitemindex.
    void clicked();

private:
    void arrange();
    void selectionchanged();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    int m_columns = 1;
};
