// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chrome.h"

#include "ui/accessible.h"
#include "ui/skin.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include <limits>

namespace pf {

namespace {

// An offset that does not fit the 16-bit field leaves the field as it was.
void Store16(qint64 value, qint16& field)
{
    if (value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max())
        field = qint16(value);
}

}  // namespace

void Head_Drag::Press(Qt::MouseButton button, QPoint cursor, QPoint windowPos)
{
    if (button != Qt::LeftButton)
        return;
    dragging_ = true;
    Store16(qint64(cursor.x()) * Twips_Per_Pixel - qint64(windowPos.x()) * Twips_Per_Pixel, dx_);
    Store16(qint64(cursor.y()) * Twips_Per_Pixel - qint64(windowPos.y()) * Twips_Per_Pixel, dy_);
}

std::optional<QPoint> Head_Drag::Move(QPoint cursor) const
{
    if (!dragging_)
        return std::nullopt;
    // Top first, then left, as the window's two position fields are set.
    const int top = (cursor.y() * Twips_Per_Pixel - dy_) / Twips_Per_Pixel;
    const int left = (cursor.x() * Twips_Per_Pixel - dx_) / Twips_Per_Pixel;
    return QPoint(left, top);
}

Window_Dragger::Window_Dragger(QWidget* window) : QObject(window), window_(window) {}

void Window_Dragger::Add_Handle(QWidget* handle)
{
    handle->installEventFilter(this);
}

bool Window_Dragger::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        drag_.Press(e->button(), e->globalPosition().toPoint(), window_->pos());
        return e->button() == Qt::LeftButton;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (const auto to = drag_.Move(e->globalPosition().toPoint())) {
            window_->move(*to);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: drag_.Release(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

Picture::Picture(QWidget* parent) : QWidget(parent)
{
    Install_Accessible_Controls();
}

bool Picture::Pressable() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&Picture::pressed))
        || isSignalConnected(QMetaMethod::fromSignal(&Picture::released))
        || isSignalConnected(QMetaMethod::fromSignal(&Picture::clicked));
}

void Picture::setPicture(const QPixmap& picture)
{
    if (picture.cacheKey() == picture_.cacheKey() && !shown_.isNull())
        return;
    picture_ = picture;
    if (fit_ && size() != picture_.size())
        resize(picture_.size());
    shown_ = Stretch_Picture(picture_, size());
    update();
    // An option marker's picture is its checked state.
    if (QAccessible::isActive()) {
        QAccessible::State checked;
        checked.checked = true;
        QAccessibleStateChangeEvent changed(this, checked);
        QAccessible::updateAccessibility(&changed);
    }
}

void Picture::resizeEvent(QResizeEvent*)
{
    shown_ = Stretch_Picture(picture_, size());
}

void Picture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, shown_);
}

void Picture::mousePressEvent(QMouseEvent* e)
{
    emit pressed(e->button());
}

void Picture::mouseReleaseEvent(QMouseEvent* e)
{
    emit released();
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

void Place_Caption(QLabel* label, const QRect& design)
{
    const QFontMetrics fm = label->fontMetrics();
    const int width = std::max(design.width(), fm.horizontalAdvance(label->text()) + 2);
    const int height = std::max(design.height(), fm.height());
    label->setGeometry(design.left(), design.top() - (height - design.height()) / 2, width, height);
}

Caption_Label* Make_Caption(const QString& text, QWidget* parent, const QRect& design, const QString& name)
{
    auto* label = new Caption_Label(text, parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TranslucentBackground);
    Place_Caption(label, design);
    return label;
}

Exit_Image::Exit_Image(QWidget* parent) : Picture(parent)
{
    // The pressed picture is a pixel wider; the button takes each picture's own size.
    setFitToPicture(true);
    setPicture(Stock().Exit_Off);
    setCursor(Stock().Hand);
    connect(this, &Picture::pressed, this, [this] { setPicture(Stock().Exit_On); });
    connect(this, &Picture::released, this, [this] {
        setPicture(Stock().Exit_Off);
        // Painted before the window goes, without running the event loop: a click made
        // after this one must not be handled while this window still blocks the others.
        repaint();
        emit triggered();
    });
}

Window_Chrome::Window_Chrome(QWidget* window, const QRect& strip, QPoint exitAt)
    : strip_(new Picture(window)), exit_(new Exit_Image(window)), dragger_(new Window_Dragger(window))
{
    strip_->setObjectName(QStringLiteral("Image_head"));
    strip_->setGeometry(strip);
    strip_->setPicture(Stock().Head);
    exit_->setObjectName(QStringLiteral("ImgExit"));
    exit_->setAccessibleName(QStringLiteral("閉じる"));
    exit_->move(exitAt);
    exit_->raise();
    dragger_->Add_Handle(strip_);
}

}  // namespace pf
