// SPDX-License-Identifier: GPL-3.0-or-later
// What replaces the platform's caption bar on the five borderless windows: dragging by the
// head strip (the arithmetic in Head_Drag, a plain class; Window_Dragger feeds it the mouse
// events of one or more handles and moves the window), pictures that stretch to their
// control, and the exit button with its pressed and released look.
#pragma once

#include <QLabel>
#include <QMetaMethod>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <optional>

namespace pf {

// Head-strip drag state of one window, in twips as the window positions were kept
// (15 per pixel, fixed), so the window follows the cursor exactly.
class Head_Drag {
public:
    static constexpr int Twips_Per_Pixel = 15;

    // Only the left button starts a drag: the offsets from the window's corner to the cursor.
    void Press(Qt::MouseButton button, QPoint cursor, QPoint windowPos);
    // While dragging, the window's new top-left corner (pixels); nothing otherwise.
    std::optional<QPoint> Move(QPoint cursor) const;
    // Any button ends the drag.
    void Release() { dragging_ = false; }

    bool Dragging() const { return dragging_; }

private:
    bool dragging_ = false;
    qint16 dx_ = 0;
    qint16 dy_ = 0;
};

// Makes widgets drag handles of their window; all handles share one Head_Drag.
class Window_Dragger : public QObject {
public:
    explicit Window_Dragger(QWidget* window);
    void Add_Handle(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Head_Drag drag_;
};

// An image control: shows its picture stretched to its size and reports presses and clicks.
class Picture : public QWidget {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent = nullptr);
    // Off: the picture stretches to the control. On: the control takes the picture's size.
    void setFitToPicture(bool on) { fit_ = on; }
    void setPicture(const QPixmap& picture);
    const QPixmap& Pixmap() const { return picture_; }
    // Whether anything listens to its presses: a button rather than an image to a screen reader.
    bool Pressable() const;

signals:
    void pressed(Qt::MouseButton button);
    void released();
    // A release over the control after a press on it.
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
    QPixmap shown_;
    bool fit_ = false;
};

// A caption that reports a press of any mouse button (choice captions select on mouse-down).
class Caption_Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    bool Pressable() const { return isSignalConnected(QMetaMethod::fromSignal(&Caption_Label::pressed)); }

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent*) override { emit pressed(); }
};

// A caption keeps its designed place. Text wider than the designed box grows it to the right,
// and the font's line, taller than the box, is centred on it, rather than being cut.
void Place_Caption(QLabel* label, const QRect& design);

// A transparent Caption_Label named `name`, placed by Place_Caption.
Caption_Label* Make_Caption(const QString& text, QWidget* parent, const QRect& design, const QString& name);

// The exit button's tool tip, on the windows that have one.
inline constexpr char Exit_Tool_Tip[] = "exit button";

// The exit button: pressed picture while the button is down; on release the released
// picture is painted before `triggered` tells the window to close.
class Exit_Image : public Picture {
    Q_OBJECT
public:
    explicit Exit_Image(QWidget* parent = nullptr);

signals:
    void triggered();
};

// The head strip of one borderless window: the strip picture, stretched to `strip` and made a
// drag handle, and the exit button with its left-top corner at `exitAt`. The window decides
// what the exit button's `triggered` does; further handles (a title caption) may be added.
class Window_Chrome {
public:
    Window_Chrome(QWidget* window, const QRect& strip, QPoint exitAt);

    Picture* Strip() const { return strip_; }
    Exit_Image* Exit() const { return exit_; }
    Window_Dragger* Dragger() const { return dragger_; }

private:
    Picture* strip_;
    Exit_Image* exit_;
    Window_Dragger* dragger_;
};

}  // namespace pf
