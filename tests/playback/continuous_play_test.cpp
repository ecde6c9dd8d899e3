#include "core/continuous_play.h"

#include "playback/play_dispatch.h"

#include <gtest/gtest.h>

using namespace pf;

namespace {

// Closes every window at once, or as the user would stop it (Stop_Request) on the k-th.
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
        if (int(played.size()) == stopAt_)
            play_.Stop_Request = true;
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
        const char* what;
        QStringList entries;
        int order, stopAt;
        bool stoppedBefore;
        QStringList played;  // in this order; sorted for a random run
        bool stopAfter;
    } cases[] = {
        {"in list order, skipping what no player takes", list, 0, 0, true, playable, false},
        {"stopped in the second window", list, 0, 2, false, {"/m/a.mpg", "/m/b.RM"}, true},
        {"random: each entry once", list, 1, 0, false, playable, false},
        {"random, any value but 0", list, 7, 0, false, playable, false},
        {"random, stopped in the first window", list, 1, 1, false, {}, true},
        {"one entry at random", {"/m/x.mpg"}, 1, 0, false, {"/m/x.mpg"}, false},
        {"an empty list does nothing", {}, 0, 0, true, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Settings settings;
        settings.Way = 0;  // continuous play never hands a file to the association
        Play_State play;
        play.Stop_Request = c.stoppedBefore;
        Closing_Host host(play, c.stopAt);
        Play_Dispatch dispatch(settings, play, host);
        Continuous_Play run(play, [&](const QString& entry) { dispatch.Per_File_Play(entry); });
        run.Run(c.entries, c.order);

        if (c.order == 0 || c.stopAt == 0) {
            QStringList played = host.played;
            if (c.order != 0)
                played.sort();
            EXPECT_EQ(played, c.played);
        } else {
            EXPECT_EQ(host.played.size(), c.stopAt);
        }
        EXPECT_EQ(play.Stop_Request, c.stopAfter);
    }
}
