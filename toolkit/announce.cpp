#include "toolkit/announce.h"

#include <QAccessibleInterface>
#include <QWidget>

namespace announcements {
Tseam<sent> &seam()
{
    static Tseam<sent> instance("announcements");
    return instance;
}
} // namespace announcements

void announcenewtable(QWidget *table)
{
    QAccessibleTableModelChangeEvent event(table, QAccessibleTableModelChangeEvent::ModelReset);
    if (announcements::seam().active()) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(table);
        announcements::seam().record(
            {table->objectName(), event.type(), iface ? iface->text(QAccessible::Name) : QString()});
    }
    QAccessible::updateAccessibility(&event);
}
