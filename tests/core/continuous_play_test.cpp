// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/continuous_play.h"

#include "core/play_dispatch.h"

#include <gtest/gtest.h>

using namespace pf;

namespace {

// Closes every player window at once; the k-th as the user would stop it.
class Closing_Host : public Player_Host {
public:
    explicit Closing_Host(int stopAt) : stopAt_(stopAt) {}
    QStringList played;
    Play_End Show_Video(const QString& file) override { return Close(file); }
    Play_End Show_RealMedia(const QString& file) override { return Close(file); }
    void Open_Associated(const QString& path) override { played << QStringLiteral("assoc:") + path; }

private:
    Play_End Close(const QString& file)
    {
        played << file;
        return played.size() == stopAt_ ? Play_End::Stopped_By_User : Play_End::Natural;
    }
    int stopAt_;
};

}  // namespace

TEST(Continuous_Play, Plays_Each_Entry_Once_In_Order_Until_Stopped)
{
    const QStringList list{"/m/a.mpg", "/m/b.RM", "/m/c.txt", "/m/d.MPEG", "/m/e.ram"};
    const QStringList playable{"/m/a.mpg", "/m/b.RM", "/m/d.MPEG", "/m/e.ram"};
    const struct {
        QStringList entries;
        int order, stopAt;
        QStringList played;  // sorted for a random run
    } cases[] = {
        {list, 0, 0, playable},  // in list order, past what no player takes
        {list, 0, 2, playable.mid(0, 2)},
        {list, 1, 0, playable},  // random: each entry once
        {list, 7, 0, playable},  // any value but 0 is random
        {list, 1, 3, {}},        // random, stopped in the third window
        {{"/m/x.mpg"}, 1, 0, {"/m/x.mpg"}},
        {{}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order * 10 + c.stopAt);
        Settings settings;  // Way 0: continuous play still never hands a file to the association
        settings.Play = qint16(c.order);
        Closing_Host host(c.stopAt);
        Play_Dispatch dispatch(settings, host);
        Continuous_Play([&](const QString& entry) {
            return dispatch.Per_File_Play(entry);
        }).Run(c.entries, settings.Order(List_Id::Joined));

        QStringList played = host.played;
        if (c.order != 0)
            played.sort();
        if (c.order != 0 && c.stopAt)
            EXPECT_EQ(played.size(), c.stopAt);
        else
            EXPECT_EQ(played, c.played);
    }
    QStringList live = list, played;
    Continuous_Play([&](const QString& entry) {
        played << entry;
        live.prepend(QStringLiteral("/m/0.mpg"));
        return Play_End::Natural;
    }).Run(live, Play_Order::Sequential);
    EXPECT_EQ(played, list);  // the drops during the run (at the list's head) shift nothing
}
