// The window's two blues and the helpers that paint widgets with them.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace rufpilot {

inline const QColor kHellblau(136, 184, 208);
inline const QColor kDunkelblau(72, 144, 184);

// Background (and optionally text) colour of one widget.
inline void einfaerben(QWidget* w, const QColor& hintergrund, const QColor* text = nullptr) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, hintergrund);
    if (text) p.setColor(QPalette::WindowText, *text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace rufpilot
