// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/play_dispatch.h"

#include "util/screen_pointer.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace pf;

namespace {

// Records each call with its file and the pointer shown at that moment ("video:/a.mpg@11").
class Recording_Host : public Player_Host {
public:
    QStringList calls;
    Play_End Show_Video(const QString& file) override { return Record(QStringLiteral("video:"), file); }
    Play_End Show_RealMedia(const QString& file) override { return Record(QStringLiteral("real:"), file); }
    void Open_Associated(const QString& path) override
    {
        calls << QStringLiteral("assoc:%1@%2").arg(path).arg(Pointer());
    }

private:
    static int Pointer() { return int(Current_Screen_Pointer()); }
    Play_End Record(const QString& player, const QString& file)
    {
        calls << QStringLiteral("%1%2@%3").arg(player, file).arg(Pointer());
        return Play_End::Natural;
    }
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
    };
    const Case cases[] = {
        {Input, "/c/a.mpg", 1, "video:/c/a.mpg@11"},
        {Input, "/c/a.avi", 1, "video:/c/a.avi@11"},  // no extension test on the input list
        {Input, "/c/a.mpg", 0, "assoc:/c/a.mpg@0"},   // the pointer untouched
        {Input, "", 1, ""},
        {Single, "/c/a.mpg", 1, "video:/c/a.mpg@11"},
        {Single, "/c/a.mpeg2", 1, "video:/c/a.mpeg2@11"},
        {Single, "/c/a.mpg", 0, "assoc:/c/a.mpg@0"},
        {Single, "/c/a.rm", 0, "real:/c/a.rm@11"},
        {Single, "/c/a.RAM", 1, "real:/c/a.RAM@11"},
        {Single, "/c/a.ra", 1, ""},
        {Single, "/c.d/noext", 1, ""},
        {Single, "", 1, ""},
        {Per_File, "/c/a.mpg", 0, "video:/c/a.mpg@0"},  // never the association, no hourglass
        {Per_File, "/c/a.rm", 0, "real:/c/a.rm@0"},
        {Per_File, "/c/a.txt", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Settings settings;
        settings.Way = qint16(c.way);
        Recording_Host host;
        Play_Dispatch dispatch(settings, host);
        const QString entry = QString::fromUtf8(c.entry);
        switch (c.rule) {
        case Input: dispatch.Input_List_Play(entry); break;
        case Single: dispatch.Single_File_Play(entry); break;
        case Per_File: dispatch.Per_File_Play(entry); break;
        }
        const QString expected = QString::fromUtf8(c.calls);
        EXPECT_EQ(host.calls, expected.isEmpty() ? QStringList() : expected.split(u'|'));
        // The players reset the pointer when they load; only the input rule leaves it to them.
        if (c.rule != Input) {
            EXPECT_EQ(Current_Screen_Pointer(), Screen_Pointer::Default);
        }
        Set_Screen_Pointer(Screen_Pointer::Default);
    }
}
