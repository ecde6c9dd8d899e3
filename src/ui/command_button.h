// SPDX-License-Identifier: GPL-3.0-or-later
// Command buttons of every window: a caption label lying over its picture. Pressing the
// label shows the pressed picture; releasing it paints the released one at once and only
// then hands the label's index on, so that commands run in the order they were clicked.
// In the main window the index goes to its Command_Router, where each subsystem registers
// the handlers of its indices.
// A disabled label gets no mouse events.
#pragma once

#include "lists/command_labels.h"

#include <QLabel>

#include <array>
#include <functional>

namespace pf {

class Picture;

class Command_Router {
public:
    using Handler = std::function<void()>;

    // Replaces the handler of `cmd`; an empty handler removes it.
    void Set_Command(Cmd cmd, Handler handler);
    bool Has_Command(Cmd cmd) const;
    // Runs the handler of `cmd`; a label without one does nothing.
    void Run(Cmd cmd) const;

private:
    std::array<Handler, Command_Label_Count> handlers_;
};

class Command_Label : public QLabel {
    Q_OBJECT
public:
    // `image` is the picture under the label (a sibling), set to the released look here.
    Command_Label(int index, const QString& caption, Picture* image, QWidget* parent);

    Picture* Image() const { return image_; }
    // Shows or hides the label together with its picture.
    void setShown(bool on);

signals:
    // After the released picture has been painted.
    void released(int index);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int index_;
    Picture* image_;
};

}  // namespace pf
