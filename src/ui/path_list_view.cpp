// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/path_list_view.h"

#include "lists/path_list.h"
#include "mpeg/entry_facts.h"

#include <QDropEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>

namespace pf {

namespace {

const QString Uri_List = QStringLiteral("text/uri-list");

// Every row is as wide as the extent, so that scrolling sideways shows the rest of a long path.
class Extent_Delegate : public QStyledItemDelegate {
public:
    Extent_Delegate(const int& extent, QObject* parent) : QStyledItemDelegate(parent), extent_(extent) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(base.width(), extent_), base.height()};
    }

private:
    const int& extent_;
};

}  // namespace

Path_List_View::Path_List_View(Path_List* model, QWidget* parent) : QListView(parent), model_(model)
{
    setModel(model_);
    setItemDelegate(new Extent_Delegate(extent_, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setUniformItemSizes(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        // Only the user's own selections go to the model; the rest are echoes of the model.
        if (!syncing_ && userInput_)
            User_Selected();
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        // A click on the entry that was already selected is still a click.
        if (!reported_ && index.isValid())
            emit entryClicked(index.row());
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit entryDoubleClicked(index.row());
    });
    connect(model_, &Path_List::selectionChanged, this, &Path_List_View::Show_Model_Selection);
}

void Path_List_View::setHorizontalExtent(int pixels)
{
    extent_ = pixels;
    // Row sizes are cached per view; a new extent widens them all.
    scheduleDelayedItemsLayout();
    // As a list box with a horizontal extent: the bar is there whenever the extent is wider.
    setHorizontalScrollBarPolicy(extent_ > width() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    updateGeometries();
}

void Path_List_View::updateGeometries()
{
    QListView::updateGeometries();
    const int page = viewport()->width();
    horizontalScrollBar()->setPageStep(page);
    horizontalScrollBar()->setRange(0, std::max(0, extent_ - page));
}

void Path_List_View::setFacts(Entry_Facts* facts)
{
    facts_ = facts;
    connect(facts_, &Entry_Facts::factsGathered, this, &Path_List_View::Show_Facts);
}

bool Path_List_View::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        tipPath_.clear();
    if (e->type() != QEvent::ToolTip || !facts_)
        return QListView::viewportEvent(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    const QModelIndex index = indexAt(help->pos());
    tipAt_ = help->globalPos();
    tipPath_ = index.isValid() ? model_->At(index.row()) : QString();
    if (tipPath_.isEmpty())
        QToolTip::hideText();
    else
        facts_->Request(tipPath_);  // the answer comes back by Show_Facts
    return true;
}

void Path_List_View::Show_Facts(const QString& path, const QString& text)
{
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(tipAt_));
    if (path != tipPath_ || !index.isValid() || model_->At(index.row()) != path)
        return;
    tipPath_.clear();
    QToolTip::showText(tipAt_, text, viewport(), visualRect(index));
}

void Path_List_View::mousePressEvent(QMouseEvent* e)
{
    // As a list box: only the left button selects (and so plays on a double click).
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    reported_ = false;
    const QScopedValueRollback user(userInput_, true);
    QListView::mousePressEvent(e);
}

void Path_List_View::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(e);
}

void Path_List_View::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & ~Qt::LeftButton) {
        e->accept();
        return;
    }
    const QScopedValueRollback user(userInput_, true);
    QListView::mouseMoveEvent(e);
}

void Path_List_View::keyPressEvent(QKeyEvent* e)
{
    const QScopedValueRollback user(userInput_, true);
    QListView::keyPressEvent(e);
}

void Path_List_View::User_Selected()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.constFirst().row();
    syncing_ = true;
    model_->setSelected(row);
    syncing_ = false;
    if (row >= 0) {
        reported_ = true;
        emit entryClicked(row);
    }
}

void Path_List_View::Show_Model_Selection(int row)
{
    if (syncing_)
        return;
    syncing_ = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = model_->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
    syncing_ = false;
}

QStringList Path_List_View::Dropped_Paths(const QMimeData* mime)
{
    QStringList paths;
    if (!mime)
        return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

void Path_List_View::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasFormat(Uri_List))
        e->acceptProposedAction();
    else
        e->ignore();
}

void Path_List_View::dragMoveEvent(QDragMoveEvent* e)
{
    if (e->mimeData()->hasFormat(Uri_List))
        e->acceptProposedAction();
    else
        e->ignore();
}

void Path_List_View::dropEvent(QDropEvent* e)
{
    if (!e->mimeData()->hasFormat(Uri_List)) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    emit filesDropped(Dropped_Paths(e->mimeData()));
}

}  // namespace pf
