// SPDX-License-Identifier: GPL-3.0-or-later
// The video window Parlo_film_G: the head bar with the progress (sldTracker, the head caption)
// and the exit image, and picVideo at 0, 20, whose native window the MPEG device draws into.
// Its Video_Player does the work; the window sizes itself around the picture, keeps its place in
// "FormTop"/"FormLeft" (top-left corner for full-screen size) and closes the device on closing.
#pragma once

#include "playback/video_player.h"
#include "ui/player_window.h"

class QLabel;

namespace pf {

class Parlo_film_G : public Player_Window {
    Q_OBJECT
public:
    static constexpr QSize Picture_Design{151, 125};

    Parlo_film_G(const Settings& settings, const QString& file, Prompter& prompter, const QString& iniFile,
                 QWidget* parent = nullptr);
    ~Parlo_film_G() override;

    Picture_Box* picVideo() const { return picVideo_; }
    QLabel* sldTracker() const { return Head_Caption(); }
    Video_Player& Player() { return player_; }

protected:
    void Load() override;
    void Closing() override { player_.Close_Movie(); }

private:
    const Settings& settings_;
    Video_Player player_;
    Picture_Box* picVideo_;
};

}  // namespace pf
