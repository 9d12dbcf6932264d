#include "rufpilot/fenster/leuchte.h"

#include <QPainter>

#include "rufpilot/fenster/farben.h"

namespace rufpilot {

Leuchte::Leuchte(Form form, QWidget* parent) : QWidget(parent), form_(form) {
    setFixedSize(form == Form::Kreis ? QSize(16, 16) : QSize(12, 12));
}

void Leuchte::farbeSetzen(const QColor& farbe) {
    if (farbe == farbe_) return;
    farbe_ = farbe;
    update();
}

void Leuchte::hochSetzen(bool hoch) {
    if (hoch == hoch_) return;
    hoch_ = hoch;
    update();
}

void Leuchte::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (form_ == Form::Kreis) {
        p.setBrush(farbe_);
        p.drawEllipse(r);
    } else {
        p.setBrush(hoch_ ? kDunkelblau : QColor(Qt::white));
        p.drawRect(r);
    }
}

}  // namespace rufpilot
