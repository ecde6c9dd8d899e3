// SPDX-License-Identifier: GPL-3.0-or-later
// A list of full file paths kept in case-insensitive sorted order, as the three list
// boxes of the main window hold them: an added path goes to its sorted place, duplicates
// are allowed, and one entry at most is selected (`ListIndex`, -1 for none).
// The model owns its entries; list views show it and report clicks back through setSelected.
#pragma once

#include "util/paths.h"

#include <QAbstractListModel>
#include <QStringList>

#include <initializer_list>

namespace pf {

// A drop on any list looks at this many names at most; further ones are ignored.
inline constexpr int Max_Drop_Files = 250;

// The names of one drop that a list takes: among the first Max_Drop_Files, the readable regular
// files (links to them count) of one of `kinds`, in the order dropped.
QStringList Dropped_Files(const QStringList& dropped, std::initializer_list<File_Kind> kinds);

class Path_List : public QAbstractListModel {
    Q_OBJECT
public:
    explicit Path_List(QObject* parent = nullptr);

    int Count() const { return int(entries_.size()); }
    const QString& At(int i) const { return entries_.at(i); }
    const QStringList& Entries() const { return entries_; }

    // Inserts at the sorted place (after equal entries) and returns that index.
    int Add(const QString& path);
    // Adds many at once: one reset, O(n log n), for folder scans and group loads.
    void Add_All(const QStringList& paths);
    void Remove_At(int i);
    void Clear();

    int Selected() const { return selected_; }
    QString Selected_Path() const { return selected_ >= 0 ? entries_.at(selected_) : QString(); }
    void setSelected(int i);

    // The order the list box sorts by.
    static bool Less(const QString& a, const QString& b);
    // `sorted` (in that order) with `more` merged in at their sorted places, after equal entries.
    static QStringList Merged(const QStringList& sorted, QStringList more);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

signals:
    void selectionChanged(int index);
    void countChanged(int count);

private:
    QStringList entries_;
    int selected_ = -1;
};

}  // namespace pf
