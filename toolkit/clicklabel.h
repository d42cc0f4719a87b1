// A label that reports a click, for the labels that work as links. Tab reaches
// it and Enter or Space presses it as a click does; a click does not take the
// focus, so its look only changes while the keyboard is on it.
#pragma once

#include <QLabel>

class Tclicklabel : public QLabel
{
    Q_OBJECT

public:
    explicit Tclicklabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
