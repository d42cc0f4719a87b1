#include "toolkit/filedialogs.h"

#include "toolkit/window.h"

#include <QDir>
#include <QFileDialog>

namespace filedialogs {

Tseam<Tfiledialogsetup, QString> &seam()
{
    static Tseam<Tfiledialogsetup, QString> instance;
    return instance;
}

} // namespace filedialogs

namespace {

QString ask(QWidget *parent, const Tfiledialogsetup &setup, QFileDialog::AcceptMode mode)
{
    if (filedialogs::seam().active()) {
        // A bare name is typed into the dialog's own folder.
        const QString answer = filedialogs::seam().answer(setup);
        return answer.isEmpty() || !QDir::isRelativePath(answer) ? answer : QDir(setup.folder).filePath(answer);
    }
    QFileDialog dialog(parent);
    stayabove(&dialog, parent);
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
