#include "toolkit/filedialogs.h"

#include <QFileDialog>

namespace filedialogs {
namespace {
bool queued = false;
QList<QString> answers;
QList<Tfiledialogsetup> setups;
} // namespace

void queueanswer(const QString &path)
{
    queued = true;
    answers.append(path);
}

void clearanswers()
{
    queued = false;
    answers.clear();
    setups.clear();
}

QList<Tfiledialogsetup> asked()
{
    return setups;
}

} // namespace filedialogs

namespace {

QString ask(QWidget *parent, const Tfiledialogsetup &setup, QFileDialog::AcceptMode mode)
{
    if (filedialogs::queued) {
        filedialogs::setups.append(setup);
        return filedialogs::answers.isEmpty() ? QString() : filedialogs::answers.takeFirst();
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(setup.filter);
    dialog.setDefaultSuffix(setup.defaultsuffix);
    dialog.setDirectory(setup.folder);
    dialog.selectFile(setup.filename);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

QString askopenfile(QWidget *parent, const Tfiledialogsetup &setup)
{
    return ask(parent, setup, QFileDialog::AcceptOpen);
}

QString asksavefile(QWidget *parent, const Tfiledialogsetup &setup)
{
    return ask(parent, setup, QFileDialog::AcceptSave);
}
