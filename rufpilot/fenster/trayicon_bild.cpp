#include "rufpilot/fenster/trayicon_bild.h"

#include <QPainter>
#include <QPixmap>

#include "rufpilot/fenster/farben.h"

namespace rufpilot {

QIcon trayiconBild() {
    QIcon icon;
    for (int groesse : {16, 22, 32, 48}) {
        QPixmap bild(groesse, groesse);
        bild.fill(Qt::transparent);
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kDunkelblau);
        p.drawRoundedRect(QRectF(0, 0, groesse, groesse), groesse / 5.0, groesse / 5.0);
        p.setPen(Qt::white);
        QFont schrift = p.font();
        schrift.setBold(true);
        schrift.setPixelSize(groesse * 3 / 4);
        p.setFont(schrift);
        p.drawText(bild.rect(), Qt::AlignCenter, QStringLiteral("R"));
        p.end();
        icon.addPixmap(bild);
    }
    return icon;
}

}  // namespace rufpilot
