// SPDX-License-Identifier: GPL-3.0-or-later
// A list box over one Path_List: single selection by the left button only, a fixed horizontal scroll extent, and
// file drops from the desktop. The model stays the owner of the entries and the selection:
// user clicks go to Path_List::setSelected, and the model's selection changes come back here.
// What a click, a double click or a drop means is decided by whoever listens to the signals.
// A pointer resting on an entry asks the Entry_Facts it was given (the main window's, shared
// by the three lists) for the file's tool tip, and shows the answer if it still rests there.
#pragma once

#include <QListView>
#include <QStringList>

namespace pf {

class Entry_Facts;
class Path_List;

class Path_List_View : public QListView {
    Q_OBJECT
public:
    Path_List_View(Path_List* model, QWidget* parent = nullptr);

    // The width, in pixels, over which the entries can be scrolled sideways.
    void setHorizontalExtent(int pixels);
    int Horizontal_Extent() const { return extent_; }
    // Entries show what `facts` tells of their files in a tool tip (none without).
    void setFacts(Entry_Facts* facts);

    // The local paths of a drop, in the order dropped; other URLs are left out.
    static QStringList Dropped_Paths(const QMimeData* mime);

signals:
    // The user selected (or clicked the selected) entry `row`.
    void entryClicked(int row);
    void entryDoubleClicked(int row);
    // Every drop of a file list, even one without local files.
    void filesDropped(const QStringList& paths);

protected:
    void updateGeometries() override;
    bool viewportEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void Show_Model_Selection(int row);
    void User_Selected();
    void Show_Facts(const QString& path, const QString& text);

    Path_List* model_;
    Entry_Facts* facts_ = nullptr;
    QString tipPath_;  // the entry whose tool tip was asked for, while the pointer rests on it
    QPoint tipAt_;     // where, on the screen
    int extent_ = 0;
    bool syncing_ = false;
    bool reported_ = false;
    bool userInput_ = false;
};

}  // namespace pf
