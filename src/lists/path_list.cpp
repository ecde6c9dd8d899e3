// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/path_list.h"

#include <algorithm>

namespace pf {

QStringList Dropped_Files(const QStringList& dropped, std::initializer_list<File_Kind> kinds)
{
    QStringList taken;
    for (const QString& p : dropped.mid(0, Max_Drop_Files))
        // A folder, FIFO or device may carry such a name too; only regular files are listed.
        if (std::find(kinds.begin(), kinds.end(), Kind_Of_File(p)) != kinds.end() && File_Exists(p))
            taken.append(p);
    return taken;
}

Path_List::Path_List(QObject* parent) : QAbstractListModel(parent) {}

bool Path_List::Less(const QString& a, const QString& b)
{
    // Paths of one list share long beginnings: only what follows the first difference is folded.
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype i = std::mismatch(a.cbegin(), a.cbegin() + common, b.cbegin()).first - a.cbegin();
    if (i > 0 && a.at(i - 1).isHighSurrogate())
        --i;  // a pair is folded whole
    return QStringView(a).sliced(i).compare(QStringView(b).sliced(i), Qt::CaseInsensitive) < 0;
}

QStringList Path_List::Merged(const QStringList& sorted, QStringList more)
{
    // Group files are written in list order: most loads need no sorting at all.
    if (!std::is_sorted(more.cbegin(), more.cend(), Less))
        std::stable_sort(more.begin(), more.end(), Less);
    if (sorted.isEmpty())
        return more;
    QStringList merged;
    merged.reserve(sorted.size() + more.size());
    std::merge(sorted.cbegin(), sorted.cend(), more.cbegin(), more.cend(), std::back_inserter(merged), Less);
    return merged;
}

int Path_List::Add(const QString& path)
{
    const auto it = std::upper_bound(entries_.cbegin(), entries_.cend(), path, Less);
    const int row = int(it - entries_.cbegin());
    beginInsertRows({}, row, row);
    entries_.insert(row, path);
    endInsertRows();
    if (selected_ >= row) {
        ++selected_;
        emit selectionChanged(selected_);
    }
    emit countChanged(Count());
    return row;
}

void Path_List::Add_All(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    beginResetModel();
    entries_ = Merged(entries_, paths);
    endResetModel();
    if (selected_ >= 0) {
        selected_ = -1;
        emit selectionChanged(-1);
    }
    emit countChanged(Count());
}

void Path_List::Remove_At(int i)
{
    if (i < 0 || i >= Count())
        return;
    beginRemoveRows({}, i, i);
    entries_.removeAt(i);
    endRemoveRows();
    if (selected_ == i) {
        selected_ = -1;
        emit selectionChanged(-1);
    } else if (selected_ > i) {
        --selected_;
        emit selectionChanged(selected_);
    }
    emit countChanged(Count());
}

void Path_List::Clear()
{
    beginResetModel();
    entries_.clear();
    endResetModel();
    if (selected_ != -1) {
        selected_ = -1;
        emit selectionChanged(-1);
    }
    emit countChanged(0);
}

void Path_List::setSelected(int i)
{
    if (i < -1 || i >= Count())
        i = -1;
    if (i == selected_)
        return;
    selected_ = i;
    emit selectionChanged(i);
}

int Path_List::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant Path_List::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return entries_.at(index.row());
    return {};
}

}  // namespace pf
