#include "toolkit/filedialogs.h"

#include "toolkit/window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace filedialogs {

Tseam<shown, QString> &seam()
{
    static Tseam<shown, QString> instance("file dialog");
    return instance;
}

} // namespace filedialogs

namespace {

filedialogs::shown readback(const QFileDialog &dialog)
{
    // The proposed name is what the name box holds, joined to the folder.
    const QStringList selected = dialog.selectedFiles();
    const QFileInfo proposed(selected.value(0));
    const QString folder = QDir::cleanPath(dialog.directory().absolutePath());
    const bool named = !selected.isEmpty() && QDir::cleanPath(proposed.absolutePath()) == folder &&
                       !proposed.fileName().isEmpty() && !proposed.isDir();
    return {dialog.acceptMode() == QFileDialog::AcceptSave,
            dialog.fileMode() == QFileDialog::ExistingFile,
            !dialog.testOption(QFileDialog::DontConfirmOverwrite),
            dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
            dialog.nameFilters(),
            dialog.defaultSuffix(),
            folder,
            named ? proposed.fileName() : QString()};
}

QString ask(QWidget *parent, const Tfiledialogsetup &setup, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    stayabove(&dialog, parent);
    // A dialog that is never shown reads back only from Qt's own widgets.
    if (filedialogs::seam().active())
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(setup.filter);
    dialog.setDefaultSuffix(setup.defaultsuffix);
    dialog.setDirectory(setup.folder);
    dialog.selectFile(setup.filename);
    if (filedialogs::seam().active()) {
        // A bare name is typed into the dialog's own folder.
        const QString answer = filedialogs::seam().answer(readback(dialog));
        return answer.isEmpty() || !QDir::isRelativePath(answer) ? answer : dialog.directory().filePath(answer);
    }
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
