// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/continuous_play.h"

#include "core/play_dispatch.h"

#include <gtest/gtest.h>

using namespace pf;

namespace {

// Closes every player window at once; on the k-th, as the user would stop it (Stop_Request).
class Closing_Host : public Player_Host {
public:
    Closing_Host(Play_State& play, int stopAt) : play_(play), stopAt_(stopAt) {}
    QStringList played;
    void Show_Video() override { Close(); }
    void Show_RealMedia() override { Close(); }
    void Open_Associated(const QString& path) override { played << QStringLiteral("assoc:") + path; }

private:
    void Close()
    {
        played << play_.Play_File;
        play_.Stop_Request = played.size() == stopAt_;
    }
    Play_State& play_;
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
        Play_State play;
        play.Stop_Request = c.entries.isEmpty();  // an empty list leaves it alone, a run clears it
        Closing_Host host(play, c.stopAt);
        Play_Dispatch dispatch(settings, play, host);
        Continuous_Play(play, [&](const QString& entry) {
            dispatch.Per_File_Play(entry);
        }).Run(c.entries, settings.Order(List_Id::Joined));

        QStringList played = host.played;
        if (c.order != 0)
            played.sort();
        if (c.order != 0 && c.stopAt)
            EXPECT_EQ(played.size(), c.stopAt);
        else
            EXPECT_EQ(played, c.played);
        EXPECT_EQ(play.Stop_Request, c.stopAt > 0 || c.entries.isEmpty());
    }
    QStringList live = list, played;
    Play_State play;
    Continuous_Play(play, [&](const QString& entry) {
        played << entry;
        live.prepend(QStringLiteral("/m/0.mpg"));
    }).Run(live, Play_Order::Sequential);
    EXPECT_EQ(played, list);  // the drops during the run (at the list's head) shift nothing
}
