#include "rufpilot/fenster/rufliste.h"

#include <QHeaderView>

#include "rufpilot/fenster/farben.h"

namespace rufpilot {

Rufliste::Rufliste(std::vector<Spalte> spalten, QWidget* parent)
    : QTableWidget(0, static_cast<int>(spalten.size()), parent), spalten_(std::move(spalten)) {
    // The widths in twips were made for a small font: a condensed 11 px one fits them.
    QFont klein = font();
    klein.setPixelSize(11);
    klein.setStretch(QFont::Condensed);
    setFont(klein);
    horizontalHeader()->setFont(klein);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(QFontMetrics(klein).height() + 3);
    horizontalHeader()->setMinimumSectionSize(10);
    horizontalHeader()->setHighlightSections(false);
    setHorizontalHeaderLabels(QStringList(static_cast<int>(spalten_.size()), QString()));
    for (int i = 0; i < columnCount(); ++i) setColumnWidth(i, spalten_[static_cast<std::size_t>(i)].twips / 15);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setStyleSheet(QStringLiteral("QTableWidget { color: %1; gridline-color: %2; selection-background-color: %1; "
                                 "selection-color: white; }"
                                 "QTableWidget::item { padding: 0px 1px; }"
                                 "QHeaderView::section { background-color: %2; color: black; border: 0px; "
                                 "border-right: 1px solid %1; border-bottom: 1px solid %1; padding: 1px 1px; }")
                      .arg(kDunkelblau.name(), kHellblau.name()));
}

void Rufliste::einrichten() {
    QStringList titel;
    for (const Spalte& s : spalten_) titel << s.titel;
    setHorizontalHeaderLabels(titel);
    for (int i = 0; i < columnCount(); ++i) setColumnWidth(i, spalten_[static_cast<std::size_t>(i)].twips / 15);
    eingerichtet_ = true;
}

void Rufliste::zeileEinfuegen(const std::string& zeile) {
    const QStringList zellen = QString::fromStdString(zeile).split(QLatin1Char('\t'));
    insertRow(0);
    for (int i = 0; i < columnCount() && i < zellen.size(); ++i) {
        auto* item = new QTableWidgetItem(zellen[i]);
        item->setToolTip(zellen[i]);
        setItem(0, i, item);
    }
}

void Rufliste::leeren() { setRowCount(0); }

QString Rufliste::zeile(int r) const {
    QStringList zellen;
    for (int i = 0; i < columnCount(); ++i) {
        const QTableWidgetItem* it = item(r, i);
        zellen << (it ? it->text() : QString());
    }
    while (!zellen.isEmpty() && zellen.back().isEmpty()) zellen.pop_back();
    return zellen.join(QLatin1Char('\t'));
}

}  // namespace rufpilot
