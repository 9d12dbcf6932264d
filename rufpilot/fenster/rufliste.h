// One of the window's lists: a header row with column titles and widths
// (twips, 15 to the pixel), rows of TAB-separated cells inserted at the top.
// The core counts the rows and drops the oldest at the list's limit.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <string>
#include <vector>

namespace rufpilot {

class Rufliste : public QTableWidget {
public:
    struct Spalte {
        QString titel;
        int twips;
    };
    Rufliste(std::vector<Spalte> spalten, QWidget* parent = nullptr);

    // Column titles; until then the header stays blank.
    void einrichten();
    bool eingerichtet() const { return eingerichtet_; }
    // A row directly under the header; cells beyond the last column are dropped.
    void zeileEinfuegen(const std::string& zeile);
    void leeren();
    // Row `r` (0 = newest) as TAB-separated cells.
    QString zeile(int r) const;

private:
    std::vector<Spalte> spalten_;
    bool eingerichtet_ = false;
};

}  // namespace rufpilot
