// The main window's command labels by index (0 to 28; 12 and 21 do not exist): their
// captions and whether each is enabled. The rules that change the states live with the
// lists they concern; this class only holds them and tells observers (the window) of changes.
#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace pf {

constexpr int Command_Label_Count = 29;

// True for the indices that exist.
bool Command_Label_Exists(int index);

// The caption of label `index` (empty for an index that does not exist).
QString Command_Caption(int index);

class Command_Labels : public QObject {
    Q_OBJECT
public:
    explicit Command_Labels(QObject* parent = nullptr);

    bool enabled(int index) const;
    void set(int index, bool on);
    // Inclusive range; indices that do not exist are skipped.
    void setRange(int from, int to, bool on);

    // The start-up row: add, settings, exit and cancel enabled, the rest disabled, then
    // clear-all and continuous play of each list that has entries.
    void applyStartUp(int joinCount, int favoriteCount);

signals:
    void changed(int index, bool enabled);

private:
    std::array<bool, Command_Label_Count> enabled_{};
};

}  // namespace pf
