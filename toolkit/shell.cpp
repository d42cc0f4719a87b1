#include "toolkit/shell.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace shell {

Tseam<request> &seam()
{
    static Tseam<request> instance("shell");
    return instance;
}

} // namespace shell

void shellopen(QWidget *owner, const QString &target, Tshowmode show)
{
    if (shell::seam().active()) {
        shell::seam().record({target, show});
        return;
    }
#ifdef Q_OS_WIN
    const HWND window = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
    ShellExecuteW(window, L"open", reinterpret_cast<const wchar_t *>(target.utf16()), L"", L"",
                  show == Tshowmode::maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
#else
    // The desktop's handler decides how its window shows.
    Q_UNUSED(owner);
    Q_UNUSED(show);
    const bool web = target.startsWith(QStringLiteral("http://")) || target.startsWith(QStringLiteral("https://"));
    QDesktopServices::openUrl(web ? QUrl(target) : QUrl::fromLocalFile(target));
#endif
}
