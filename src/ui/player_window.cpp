// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_window.h"

#include "playback/player_control.h"
#include "ui/chrome.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace pf {

namespace {

// A failure is read in a box at least this wide, with this margin round its text.
constexpr int Failure_Width = 320;
constexpr int Failure_Margin = 8;

// Lets a long path break after its slashes, as words do.
QString Breakable(QString text)
{
    return text.replace(u'/', QStringLiteral("/\u200b"));
}

}  // namespace

void Paint_Black(QWidget* w)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0xd0, 0xd0, 0xd0));
    w->setPalette(p);
}

Picture_Box::Picture_Box(QWidget* parent) : QWidget(parent), native_(new QWidget(this))
{
    Paint_Black(this);
    Paint_Black(native_);
    native_->setAttribute(Qt::WA_DontCreateNativeAncestors);
    native_->setAttribute(Qt::WA_NativeWindow);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(native_);
}

quint64 Picture_Box::Native_Window() const
{
    return native_->winId();
}

Player_Window::Player_Window(const QString& iniFile, Position_Keys keys, QSize size, QWidget* parent)
    : Secondary_Window(iniFile, keys, size.width(), parent)
{
    resize(size);
    Set_Head_Width(size.width(), 20);
    setFocusPolicy(Qt::StrongFocus);
}

Play_End Player_Window::Run()
{
    {
        const QScopedValueRollback<bool> loading(loading_, true);
        qApp->installEventFilter(this);
        QTimer::singleShot(Loading_Show_Ms, this, [this] {
            if (loading_ && !ended_) {
                setModal(true);
                show();
            }
        });
        Load();
        qApp->removeEventFilter(this);
    }
    // Loading sized the window for the picture; a failure met on the way needs room again.
    if (failure_)
        Fit_Failure();
    // A control may give up while loading; then there is nothing more to show.
    if (ended_)
        accept();
    else
        exec();
    return control_->End();
}

const QString& Player_Window::File() const
{
    return control_->File();
}

bool Player_Window::Ours(QObject* o) const
{
    if (o == windowHandle())
        return true;
    auto* w = qobject_cast<QWidget*>(o);
    return w && (w == this || isAncestorOf(w));
}

bool Player_Window::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Close: break;
    default: return false;
    }
    if (!loading_ || !e->spontaneous() || Ours(watched))
        return false;
    // Another window: it waits as it would behind the shown window, but Esc and Space end play.
    if (e->type() == QEvent::KeyPress && control_) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Space)
            control_->User_Stop(Player_Control::User_Way::Key);
    }
    return true;
}

void Player_Window::Attach(Player_Control& control)
{
    control_ = &control;
    connect(&control, &Player_Control::headTextChanged, this, &Player_Window::Show_Head_Text);
    connect(&control, &Player_Control::failed, this, &Player_Window::Show_Failure);
    connect(&control, &Player_Control::closeRequested, this, [this] {
        ended_ = true;
        if (loading_)
            Closing();  // ends what the load waits for; Run closes the window after it
        else
            accept();
    });
}

void Player_Window::Show_Head_Text(const QString& text)
{
    Head_Caption()->setText(text);
    Head_Caption()->adjustSize();
}

void Player_Window::Show_Failure(const QString& text)
{
    if (!failure_) {
        failure_ = new QLabel(this);
        failure_->setObjectName(QStringLiteral("Failure_Text"));
        Paint_Black(failure_);
        failure_->setWordWrap(true);
        failure_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        failure_->setContentsMargins(Failure_Margin, Failure_Margin, Failure_Margin, Failure_Margin);
    }
    failure_->setText(Breakable(text));
    Chrome().Strip()->setToolTip(text);
    Fit_Failure();
}

void Player_Window::Fit_Failure()
{
    // The reason in full, however narrow the clip: the picture gives way to it and the window
    // grows to the right and downwards to hold it.
    for (QWidget* picture : findChildren<Picture_Box*>(Qt::FindDirectChildrenOnly))
        picture->hide();
    const int w = std::max(width(), Failure_Width);
    const int h = failure_->heightForWidth(w);
    failure_->setGeometry(0, Head_Strip_Height, w, h);
    resize(w, std::max(height(), Head_Strip_Height + h));
    Set_Head_Width(w, 20);
    failure_->show();
    failure_->raise();
}

void Player_Window::showEvent(QShowEvent* e)
{
    Secondary_Window::showEvent(e);
    if (control_)
        control_->Failure_Shown();
}

void Player_Window::keyPressEvent(QKeyEvent* e)
{
    if (control_ && (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Space))
        control_->User_Stop(Player_Control::User_Way::Key);
    else
        e->ignore();
}

void Player_Window::Exit_Released()
{
    if (control_)
        control_->User_Stop(Player_Control::User_Way::Exit_Image);
}

}  // namespace pf
