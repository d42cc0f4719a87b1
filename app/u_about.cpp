#include "app/u_about.h"

#include "app/auxtext.h"
#include "toolkit/guard.h"
#include "toolkit/jpeg.h"
#include "toolkit/platform.h"
#include "toolkit/textfile.h"
#include "ui_frmabout.h"

using namespace Qt::Literals::StringLiterals;

Tfrmabout *frmabout = nullptr;

Tfrmabout::Tfrmabout(const QString &programfolder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::Tfrmabout>()), m_programfolder(programfolder)
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->Label2->adjustSize();
    guard([this] { ui->Image1->setPixmap(QPixmap::fromImage(loadjpegfile(u":/forms/aboutlogo.jpg"_s))); });
    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmabout::btncloseClick);
    guard([this] { FormCreate(); });
    condenselabelstofit(this);
}

Tfrmabout::~Tfrmabout() = default;

void Tfrmabout::FormCreate()
{
    Ttextreader reader = openauxfile(m_programfolder, u"about.txt"_s);
    ui->lblauthor->setText(readauxline(reader));
    ui->lblbanquan->setText(readauxline(reader));
    ui->lblweb->setText(readauxline(reader));
    ui->lblqq->setText(readauxline(reader));
    ui->lblphone1->setText(readauxline(reader));
    ui->lblphone2->setText(readauxline(reader));
    ui->lblmail->setText(readauxline(reader));
}

void Tfrmabout::btncloseClick()
{
    close();
}
