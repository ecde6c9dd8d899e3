// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/parlo_film_g.h"

#include "ui/chrome.h"
#include "util/screen_pointer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace pf {

namespace {

constexpr int Head = 20;

}  // namespace

Parlo_film_G::Parlo_film_G(const Settings& settings, const QString& file, Prompter& prompter, const QString& iniFile,
                           QWidget* parent)
    : Player_Window(iniFile, Video_Window_Keys, Picture_Design + QSize(0, Head), parent),
      settings_(settings),
      player_(settings, file, prompter),
      picVideo_(new Picture_Box(this))
{
    setObjectName(QStringLiteral("Parlo_film_G"));
    setAccessibleName(QStringLiteral("動画の再生"));
    Chrome().Strip()->setObjectName(QStringLiteral("Image1"));
    Chrome().Exit()->setToolTip(QLatin1String(Exit_Tool_Tip));
    sldTracker()->setObjectName(QStringLiteral("sldTracker"));
    picVideo_->setObjectName(QStringLiteral("picVideo"));
    picVideo_->setGeometry(QRect(QPoint(0, Head), Picture_Design));
    Attach(player_);
}

Parlo_film_G::~Parlo_film_G() = default;

void Parlo_film_G::Load()
{
    sldTracker()->clear();
    const QScreen* screen = QGuiApplication::primaryScreen();
    QSize picture = picVideo_->size();
    player_.Open_Movie(qint32(picVideo_->Native_Window()), screen ? screen->geometry().size() : QSize(), picture);
    picVideo_->resize(picture);
    resize(picture.width(), picture.height() + Head);
    Set_Head_Width(picture.width(), 20);
    Place_From_Keys();
    if (settings_.Picture_Size() == Video_Size::Full_Screen)
        move(0, 0);
    Start_Open_Animation();
    player_.Play_Movie();
    Set_Screen_Pointer(Screen_Pointer::Default);
}

}  // namespace pf
