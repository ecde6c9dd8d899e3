// SPDX-License-Identifier: GPL-3.0-or-later
// The RealMedia window Parlo_film_R: a 210 x 20 black bar reading "Loading..." (lbl_msg, the
// head caption) until the clip opens, then the clip's picture (RealSC, a native window the
// player draws into) at top 20 and our 25-pixel status bar (Realmain) below it. Its
// Real_Control does the work; the window keeps its place in "rFormTop"/"rFormLeft".
#pragma once

#include "playback/real_control.h"
#include "ui/player_window.h"

class QLabel;

namespace pf {

// The status bar under the picture: the state (and a skipped list entry) left, the times right.
class Real_Status_Bar : public QWidget {
    Q_OBJECT
public:
    explicit Real_Status_Bar(QWidget* parent = nullptr);
    void Show(const QString& message, const QString& times);
    QString Times() const;

private:
    QLabel* message_;
    QLabel* times_;
};

class Parlo_film_R : public Player_Window {
    Q_OBJECT
public:
    Parlo_film_R(const QString& file, const QByteArray& audioOutput, const QString& iniFile, QWidget* parent = nullptr);
    ~Parlo_film_R() override;

    Picture_Box* RealSC() const { return RealSC_; }
    Real_Status_Bar* Realmain() const { return Realmain_; }
    QLabel* lbl_msg() const { return Head_Caption(); }
    Real_Control& Control() { return control_; }

protected:
    void Load() override;
    // The player starts once the window is shown.
    void showEvent(QShowEvent* e) override;
    void Closing() override { control_.Close(); }

private:
    void Apply(const Real_Layout& layout);

    bool started_ = false;

    Real_Control control_;
    Picture_Box* RealSC_;
    Real_Status_Bar* Realmain_;
};

}  // namespace pf
