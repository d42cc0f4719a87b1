#include "app/u_flash.h"

#include "app/auxtext.h"
#include "toolkit/guard.h"
#include "toolkit/jpeg.h"
#include "toolkit/platform.h"
#include "toolkit/programfiles.h"
#include "toolkit/textfile.h"
#include "toolkit/window.h"
#include "ui_frmflash.h"

#include <QTimer>

int flashticks = 0;
Tfrmflash *frmflash = nullptr;

Tfrmflash::Tfrmflash(const QString &programfolder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(std::make_unique<Ui::Tfrmflash>()),
      Timer1(new QTimer(this)), m_programfolder(programfolder)
{
    ui->setupUi(this);
    setFixedSize(size());
    centreonscreen(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::PreciseTimer); // a coarse timer may tick early
    connecthandler(Timer1, &QTimer::timeout, this, &Tfrmflash::Timer1Timer);
    Timer1->start();
    guard([this] { FormCreate(); });
    condenselabelstofit(this);
}

Tfrmflash::~Tfrmflash() = default;

void Tfrmflash::FormCreate()
{
    // Each line is deciphered before the next is read, so a bad line leaves the
    // labels before it set.
    Ttextreader reader = openauxfile(m_programfolder, QStringLiteral("flash.txt"));
    ui->lblchuping->setText(readauxline(reader));
    reader.readline(); // line 2 is not shown anywhere, and may hold anything
    ui->lblweb->setText(readauxline(reader));
    ui->lblqq->setText(readauxline(reader));
    ui->lblmail->setText(readauxline(reader));
    ui->lblphone->setText(readauxline(reader));

    ui->Image1->setPixmap(QPixmap::fromImage(loadjpegfile(datafile(m_programfolder, QStringLiteral("图片/flash.jpg")))));

    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
}

void Tfrmflash::reject() {}

void Tfrmflash::Timer1Timer()
{
    ++flashticks;
    if (flashticks >= 5)
        done(QDialog::Accepted);
}
