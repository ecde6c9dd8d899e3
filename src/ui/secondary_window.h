// SPDX-License-Identifier: GPL-3.0-or-later
// What the four secondary windows share (the video and RealMedia players and the two settings
// dialogs): a borderless modal dialog with the head strip, its white caption at 8, 4 and the
// exit image; a place read from its two position keys, kept in sight, and written back as the
// window had it; and the zoom out of the cursor point where it loaded and back into it when it
// closes, however it closes.
// Subclasses build their controls and call Place_From_Keys and Start_Open_Animation at the
// steps of their own load sequence; Closing() is where they release what they hold.
#pragma once

#include "ui/window_place.h"

#include <QDialog>
#include <QPoint>

#include <memory>

class QLabel;

namespace pf {

class Window_Chrome;

class Secondary_Window : public QDialog {
    Q_OBJECT
public:
    // `iniFile` holds the position keys; `width` is the head strip's design width.
    Secondary_Window(const QString& iniFile, Position_Keys keys, int width, QWidget* parent = nullptr);
    ~Secondary_Window() override;

    Window_Chrome& Chrome() const { return *chrome_; }
    // The white text on the head strip: a dialog's title, a player's progress or state.
    QLabel* Head_Caption() const { return caption_; }
    // The head strip across `width` (its height kept), the exit image at `width - exitInset`.
    void Set_Head_Width(int width, int exitInset);

    // Moves the window as its keys say (centred on the screen when the top key is empty).
    void Place_From_Keys();
    // The last step of loading: brings the window onto a screen if its head strip is out of
    // reach, keeps the cursor point and zooms out of it to the window.
    void Start_Open_Animation();

    const QString& Ini_File() const { return iniFile_; }

    void done(int result) override;

protected:
    // The exit image was released (its released look painted): closes by default.
    virtual void Exit_Released();
    // Runs once whatever closes the window, after its position has been written and before
    // the closing zoom (a player may also run it early, to end a load that waits).
    virtual void Closing() {}

private:
    QString iniFile_;
    Position_Keys keys_;
    std::unique_ptr<Window_Chrome> chrome_;
    QLabel* caption_;
    QPoint anim_;
    bool closed_ = false;
};

}  // namespace pf
