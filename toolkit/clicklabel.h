// A label that reports a click, for the labels that work as links.
#pragma once

#include <QLabel>

class Tclicklabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
