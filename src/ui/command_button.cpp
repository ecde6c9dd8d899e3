// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_button.h"

#include "ui/chrome.h"
#include "ui/skin.h"

#include <QMouseEvent>

namespace pf {

void Command_Router::Set_Command(Cmd cmd, Handler handler)
{
    if (Command_Label_Exists(cmd))
        handlers_[size_t(cmd)] = std::move(handler);
}

bool Command_Router::Has_Command(Cmd cmd) const
{
    return Command_Label_Exists(cmd) && bool(handlers_[size_t(cmd)]);
}

void Command_Router::Run(Cmd cmd) const
{
    if (!Has_Command(cmd))
        return;
    // A copy, so that a handler may replace itself while it runs.
    const Handler h = handlers_[size_t(cmd)];
    h();
}

Command_Label::Command_Label(int index, const QString& caption, Picture* image, QWidget* parent)
    : QLabel(caption, parent), index_(index), image_(image)
{
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Stock().Hand);
    image_->setPicture(Stock().Img_Off);
}

void Command_Label::setShown(bool on)
{
    image_->setVisible(on);
    setVisible(on);
}

void Command_Label::mousePressEvent(QMouseEvent*)
{
    image_->setPicture(Stock().Img_On);
}

void Command_Label::mouseReleaseEvent(QMouseEvent*)
{
    image_->setPicture(Stock().Img_Off);
    // The released look is drawn before a command that may open a modal window, by painting
    // it now: running the event loop here would handle clicks made after this one first.
    image_->repaint();
    emit released(index_);
}

}  // namespace pf
