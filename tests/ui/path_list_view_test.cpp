// SPDX-License-Identifier: GPL-3.0-or-later
// The list box over a Path_List: selection both ways, the sideways extent, and drops.
#include "lists/path_list.h"
#include "mpeg/entry_facts.h"
#include "support/clip_pieces.h"
#include "ui/path_list_view.h"

#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

struct List_Fixture {
    Path_List model;
    Path_List_View view{&model};
    List_Fixture()
    {
        for (const char* p : {"/m/c.mpg", "/m/A.mpg", "/m/b.mpg"})
            model.Add(QString::fromLatin1(p));
        view.resize(349, 95);
        view.setHorizontalExtent(349 + 600);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint Row_Centre(int row) { return view.visualRect(model.index(row)).center(); }
};

}  // namespace

TEST(Path_List_View, Scrolls_Sideways_Over_The_Extent)
{
    List_Fixture f;
    QScrollBar* bar = f.view.horizontalScrollBar();
    EXPECT_EQ(bar->maximum(), 949 - f.view.viewport()->width());
    EXPECT_TRUE(bar->isVisible());
    // Rows reach over the whole extent (once the view has laid them out), so scrolling shows
    // the end of a long path.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.view.visualRect(f.model.index(0)).width() == 949; }, 5000));
}

TEST(Path_List_View, Click_Selects_In_The_Model_And_Model_Selection_Shows)
{
    List_Fixture f;
    QSignalSpy clicked(&f.view, &Path_List_View::entryClicked);
    QSignalSpy doubled(&f.view, &Path_List_View::entryDoubleClicked);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.Row_Centre(1));
    EXPECT_EQ(f.model.Selected(), 1);
    EXPECT_EQ(f.model.Selected_Path(), QStringLiteral("/m/b.mpg"));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);

    // Clicking the selected entry again is a click too.
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.Row_Centre(1));
    EXPECT_EQ(clicked.count(), 2);

    QTest::mousePress(f.view.viewport(), Qt::LeftButton, {}, f.Row_Centre(2));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, f.Row_Centre(2), f.view.viewport()->mapToGlobal(f.Row_Centre(2)),
                    Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(f.view.viewport(), &dbl);
    ASSERT_GE(doubled.count(), 1);
    EXPECT_EQ(doubled.last().at(0).toInt(), 2);

    // The model's own changes reach the view without being reported as clicks.
    const int before = clicked.count();
    f.model.setSelected(0);
    EXPECT_EQ(f.view.selectionModel()->selectedRows().value(0).row(), 0);
    f.model.Remove_At(0);
    EXPECT_TRUE(f.view.selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(clicked.count(), before);
}

TEST(Path_List_View, Drop_Of_Files_Emits_Their_Local_Paths)
{
    List_Fixture f;
    QSignalSpy dropped(&f.view, &Path_List_View::filesDropped);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/v/夏.mpg")), QUrl(QStringLiteral("https://x/y.mpg")),
                  QUrl::fromLocalFile(QStringLiteral("/v/b.RAM"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(f.view.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(f.view.viewport(), &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toStringList(),
              (QStringList{QStringLiteral("/v/夏.mpg"), QStringLiteral("/v/b.RAM")}));
    // Dropping changes nothing by itself: what to add is the listener's rule.
    EXPECT_EQ(f.model.Count(), 3);

    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(f.view.viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST(Path_List_View, Resting_On_An_Entry_Shows_What_Its_File_Holds)
{
    List_Fixture f;
    Entry_Facts facts;
    f.view.setFacts(&facts);
    const int row = f.model.Add(Media_Path(Ps1_2.file));  // its place depends on where the build is
    QHelpEvent rest(QEvent::ToolTip, f.Row_Centre(row), f.view.viewport()->mapToGlobal(f.Row_Centre(row)));
    QCoreApplication::sendEvent(f.view.viewport(), &rest);
    const QString head = QStringLiteral("長さ: 0:00:02\nｻｲｽﾞ: "),
                  tail = QStringLiteral("\n形式: ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ (MPEG-1)\n画面ｻｲｽﾞ: 320×240");
    const auto shown = [&] { return QToolTip::text().startsWith(head) && QToolTip::text().endsWith(tail); };
    EXPECT_TRUE(QTest::qWaitFor(shown, 10000)) << QToolTip::text().toStdString();
}

}  // namespace pf::test
