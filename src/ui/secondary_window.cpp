// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/secondary_window.h"

#include "core/profile.h"
#include "core/settings.h"
#include "ui/animate.h"
#include "ui/chrome.h"
#include "ui/skin.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace pf {

namespace {

constexpr int Strip_Height = 22;
constexpr int Exit_Top = 4;
constexpr QPoint Caption_At{8, 4};

}  // namespace

Secondary_Window::Secondary_Window(const QString& iniFile, Position_Keys keys, int width, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      iniFile_(iniFile),
      keys_(keys),
      chrome_(std::make_unique<Window_Chrome>(this, QRect(0, 0, width, Strip_Height), QPoint(width - 21, Exit_Top))),
      caption_(new QLabel(this))
{
    setModal(true);
    setFont(Skin_Font());
    caption_->setObjectName(QStringLiteral("Head_Caption"));
    caption_->setAttribute(Qt::WA_TranslucentBackground);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);  // the strip under it stays a drag handle
    QPalette white = caption_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    caption_->setPalette(white);
    caption_->move(Caption_At);
    caption_->raise();
    chrome_->Exit()->raise();
    connect(chrome_->Exit(), &Exit_Image::triggered, this, [this] { Exit_Released(); });
}

Secondary_Window::~Secondary_Window() = default;

void Secondary_Window::Set_Head_Width(int width, int exitInset)
{
    chrome_->Strip()->resize(width, chrome_->Strip()->height());
    chrome_->Exit()->move(width - exitInset, Exit_Top);
}

void Secondary_Window::Place_From_Keys()
{
    const QString top = GetIniValue(Ini_Section, QLatin1String(keys_.top), iniFile_);
    const QString left = GetIniValue(Ini_Section, QLatin1String(keys_.left), iniFile_);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    move(Opening_Position(top, left, size(), screenSize, pos(), keys_.leftWhenCentred));
}

void Secondary_Window::Start_Open_Animation()
{
    // The window has its size and place now; it must open where the user can reach it.
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    move(In_Sight(QRect(pos(), size()), screens));
    // QCursor::pos cannot fail; where there is no pointer it answers 0, 0, as a failed read would.
    anim_ = QCursor::pos();
    Animate_Open(this, anim_);
}

void Secondary_Window::Exit_Released()
{
    reject();
}

void Secondary_Window::done(int result)
{
    // OK, cancel, the exit image and a close by the window system all end here (QDialog's close
    // event rejects); the steps run once.
    if (!closed_) {
        closed_ = true;
        Set_Ini_Number(Ini_Section, QLatin1String(keys_.top), Edge_Twips(y()), iniFile_);
        Set_Ini_Number(Ini_Section, QLatin1String(keys_.left), Edge_Twips(x()), iniFile_);
        Closing();
        Animate_Close(this, anim_);
    }
    QDialog::done(result);
}

}  // namespace pf
