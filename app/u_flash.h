// The splash window: the producer's details over the splash picture, shown at
// start until the fifth tick of its one-second timer.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Tfrmflash;
}

class QTimer;
class Tfrmflash;

// Ticks of the splash timer since the program started.
extern int flashticks;
// The splash window while it exists.
extern Tfrmflash *frmflash;

class Tfrmflash : public QDialog
{
    Q_OBJECT

public:
    // `programfolder` holds "附属/flash.txt" and "图片/flash.jpg".
    explicit Tfrmflash(const QString &programfolder, QWidget *parent = nullptr);
    ~Tfrmflash() override;

    // Esc and a request to close do nothing: the splash ends at its fifth tick only.
    void reject() override;

private:
    void FormCreate();
    void Timer1Timer();

    std::unique_ptr<Ui::Tfrmflash> ui;
    QTimer *Timer1;
    QString m_programfolder;
};
