// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/play_dispatch.h"

#include "util/screen_pointer.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace pf;

namespace {

// Records each call with the pointer shown at that moment ("video@11", "assoc:/a.mpg@0").
class Recording_Host : public Player_Host {
public:
    QStringList calls;
    void Show_Video() override { calls << QStringLiteral("video@%1").arg(Pointer()); }
    void Show_RealMedia() override { calls << QStringLiteral("real@%1").arg(Pointer()); }
    void Open_Associated(const QString& path) override
    {
        calls << QStringLiteral("assoc:%1@%2").arg(path).arg(Pointer());
    }

private:
    static int Pointer() { return int(Current_Screen_Pointer()); }
};

}  // namespace

TEST(Play_Dispatch, Ext_Key_Has_Four_Characters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/c/a.mpg", "MPG "}, {"/c/a.MPEG", "MPEG"}, {"/c/a.mpeg2", "MPEG"}, {"/c/a.rm", "RM  "},
        {"/c/a.Ram", "RAM "}, {"/c/a.ra", "RA  "},   {"/c.d/name", "    "},  {"/c/a.", "    "},
    };
    for (const auto& [path, key] : cases)
        EXPECT_EQ(Ext_Key(QString::fromUtf8(path)), QString::fromUtf8(key)) << path;
}

TEST(Play_Dispatch, Each_Rule_Picks_Its_Player_And_Sets_The_Pointer)
{
    enum Rule { Input, Single, Per_File };
    struct Case {
        Rule rule;
        const char* entry;
        int way;
        const char* calls;  // "|"-separated
        const char* playFile;
    };
    const Case cases[] = {
        {Input, "/c/a.mpg", 1, "video@11", "/c/a.mpg"},
        {Input, "/c/a.avi", 1, "video@11", "/c/a.avi"},  // no extension test on the input list
        {Input, "/c/a.mpg", 0, "assoc:/c/a.mpg@0", ""},  // Play_File untouched, pointer too
        {Input, "", 1, "", ""},
        {Single, "/c/a.mpg", 1, "video@11", "/c/a.mpg"},
        {Single, "/c/a.mpeg2", 1, "video@11", "/c/a.mpeg2"},
        {Single, "/c/a.mpg", 0, "assoc:/c/a.mpg@0", "/c/a.mpg"},
        {Single, "/c/a.rm", 0, "real@11", "/c/a.rm"},
        {Single, "/c/a.RAM", 1, "real@11", "/c/a.RAM"},
        {Single, "/c/a.ra", 1, "", "/c/a.ra"},
        {Single, "/c.d/noext", 1, "", "/c.d/noext"},
        {Single, "", 1, "", ""},
        {Per_File, "/c/a.mpg", 0, "video@0", "/c/a.mpg"},  // never the association, no hourglass
        {Per_File, "/c/a.rm", 0, "real@0", "/c/a.rm"},
        {Per_File, "/c/a.txt", 1, "", "/c/a.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Settings settings;
        settings.Way = qint16(c.way);
        Play_State play;
        Recording_Host host;
        Play_Dispatch dispatch(settings, play, host);
        const QString entry = QString::fromUtf8(c.entry);
        switch (c.rule) {
        case Input: dispatch.Input_List_Play(entry); break;
        case Single: dispatch.Single_File_Play(entry); break;
        case Per_File: dispatch.Per_File_Play(entry); break;
        }
        const QString expected = QString::fromUtf8(c.calls);
        EXPECT_EQ(host.calls, expected.isEmpty() ? QStringList() : expected.split(u'|'));
        EXPECT_EQ(play.Play_File, QString::fromUtf8(c.playFile));
        // The players reset the pointer when they load; only the input rule leaves it to them.
        if (c.rule != Input) {
            EXPECT_EQ(Current_Screen_Pointer(), Screen_Pointer::Default);
        }
        Set_Screen_Pointer(Screen_Pointer::Default);
    }
}
