// A shape: a rounded rectangle filled with one colour and outlined with another.
#pragma once

#include <QColor>
#include <QWidget>

class Tshape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor fillcolor MEMBER m_fill)
    Q_PROPERTY(QColor pencolor MEMBER m_pen)
    Q_PROPERTY(int penwidth MEMBER m_penwidth)

public:
    using QWidget::QWidget;

    QColor fillcolor() const { return m_fill; }
    QColor pencolor() const { return m_pen; }
    int penwidth() const { return m_penwidth; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill = Qt::white;
    QColor m_pen = Qt::black;
    int m_penwidth = 1;
};
