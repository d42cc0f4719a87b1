// The About box: the producer's details, read once from "附属/about.txt".
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Tfrmabout;
}

class Tfrmabout;

// The About box, once created.
extern Tfrmabout *frmabout;

class Tfrmabout : public QDialog
{
    Q_OBJECT

public:
    // `programfolder` holds "附属/about.txt".
    explicit Tfrmabout(const QString &programfolder, QWidget *parent = nullptr);
    ~Tfrmabout() override;

private:
    void FormCreate();
    void btncloseClick();

    std::unique_ptr<Ui::Tfrmabout> ui;
    QString m_programfolder;
};
