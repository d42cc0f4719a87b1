#include "toolkit/shape.h"

#include <QPainter>

void Tshape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_pen, m_penwidth));
    painter.setBrush(m_fill);
    // The outline lies inside the control; each corner is a quarter ellipse a
    // quarter of the short side across.
    const qreal inset = m_penwidth / 2.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const qreal radius = std::min(box.width(), box.height()) / 8;
    painter.drawRoundedRect(box, radius, radius);
}
