// A label that acts like the button beside it when clicked.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace rufpilot {

class KlickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void geklickt();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit geklickt();
        QLabel::mouseReleaseEvent(e);
    }
};

}  // namespace rufpilot
