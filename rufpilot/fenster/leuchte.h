// A lamp (a filled circle in a colour) or a line indicator (a small square,
// filled while the line is high).
#pragma once

#include <QColor>
#include <QWidget>

namespace rufpilot {

class Leuchte : public QWidget {
public:
    enum class Form { Kreis, Quadrat };
    explicit Leuchte(Form form, QWidget* parent = nullptr);

    void farbeSetzen(const QColor& farbe);
    const QColor& farbe() const { return farbe_; }
    // Indicator: filled dark blue while high, empty otherwise.
    void hochSetzen(bool hoch);
    bool hoch() const { return hoch_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Form form_;
    QColor farbe_{Qt::lightGray};
    bool hoch_ = false;
};

}  // namespace rufpilot
