// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/parlo_film_r.h"

#include "ui/chrome.h"
#include "util/platform.h"
#include "util/screen_pointer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace pf {

namespace {

// The loading bar as designed: the strip a pixel narrower than the window, the exit image at 188.
constexpr QSize Head_Design{209, 20};
constexpr int Exit_Design_Left = 188;

}  // namespace

Real_Status_Bar::Real_Status_Bar(QWidget* parent)
    : QWidget(parent), message_(new QLabel(this)), times_(new QLabel(this))
{
    Paint_Black(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    row->addWidget(message_, 1);
    row->addWidget(times_);
    message_->setObjectName(QStringLiteral("Status_Message"));
    times_->setObjectName(QStringLiteral("Status_Times"));
    // A long skipped-entry note must not widen the window.
    message_->setMinimumWidth(0);
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void Real_Status_Bar::Show(const QString& message, const QString& times)
{
    message_->setText(message);
    message_->setToolTip(message);
    times_->setText(times);
}

QString Real_Status_Bar::Times() const
{
    return times_->text();
}

Parlo_film_R::Parlo_film_R(const QString& file, const QByteArray& audioOutput, const QString& iniFile, QWidget* parent)
    : Player_Window(iniFile, Real_Window_Keys, Real_Loading_Size, parent),
      control_(file, audioOutput),
      RealSC_(new Picture_Box(this)),
      Realmain_(new Real_Status_Bar(this))
{
    setObjectName(QStringLiteral("Parlo_film_R"));
    setAccessibleName(QStringLiteral("RealMedia の再生"));
    Paint_Black(this);
    Chrome().Strip()->setObjectName(QStringLiteral("Image1"));
    Chrome().Strip()->resize(Head_Design);
    Chrome().Exit()->move(Exit_Design_Left, Chrome().Exit()->y());
    lbl_msg()->setObjectName(QStringLiteral("lbl_msg"));
    Show_Head_Text(QStringLiteral("Loading..."));
    RealSC_->setObjectName(QStringLiteral("RealSC"));
    Realmain_->setObjectName(QStringLiteral("Realmain"));
    Attach(control_);
    connect(&control_, &Real_Control::layoutChanged, this, &Parlo_film_R::Apply);
    connect(&control_, &Real_Control::statusChanged, Realmain_, &Real_Status_Bar::Show);
}

Parlo_film_R::~Parlo_film_R() = default;

void Parlo_film_R::Load()
{
    resize(Real_Loading_Size);
    // While loading the picture lies under the head bar, outside the 20-pixel window, rather
    // than hidden: the player's own picture window is mapped only if its parent was mapped
    // before the player began, and stays black otherwise.
    RealSC_->setGeometry(QRect(QPoint(0, Real_Loading_Size.height()), Real_Loading_Size));
    Realmain_->hide();
    Place_From_Keys();
    Start_Open_Animation();
    Set_Screen_Pointer(Screen_Pointer::Default);
}

void Parlo_film_R::showEvent(QShowEvent* e)
{
    Player_Window::showEvent(e);
    if (started_)
        return;
    started_ = true;
    // Once the window system has mapped the window and the picture box in it.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            return;
        Sync_Window_System();
        control_.Start(RealSC_->Native_Window());
    });
}

void Parlo_film_R::Apply(const Real_Layout& layout)
{
    RealSC_->setGeometry(layout.picture);
    resize(layout.window);
    Realmain_->setGeometry(layout.status);
    Set_Head_Width(layout.headWidth, 20);
    RealSC_->show();
    Realmain_->show();
    show();
}

}  // namespace pf
