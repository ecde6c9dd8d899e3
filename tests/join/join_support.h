// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the join tests: a driver for the real Qt dialogs (it acts on the next modal
// widget of a kind once it is up, and types into file dialogs) and a state in a temporary
// application folder.
#pragma once

#include "core/main_state.h"
#include "join/join_commands.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMetaObject>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pf::test {

// Runs `act` once a modal widget of type T is the active one; gives up after ten seconds.
template <class T>
void When_Modal(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act, started] {
        T* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w && ++*started < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (w)
            act(w);
    });
    timer->start();
}

// Types `name` into a file dialog and accepts it. The dialog reads its folder in the background
// and then selects its proposed file, and a selected file wins over a typed name: the
// selection goes first.
inline void Type_Name_And_Accept(QFileDialog* d, const QString& name)
{
    if (auto* view = d->findChild<QListView*>(QStringLiteral("listView")))
        view->clearSelection();
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    // Accepting may ask about replacing: a box watcher answers that.
    QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
}

// Presses label `cmd` (the join, a rename) and waits until what it began beside the event loop
// has ended.
inline void Run_And_Wait(Join_Commands& commands, Cmd cmd = Cmd_Join)
{
    QSignalSpy ended(&commands.Engine(), &Join_Engine::ended);
    commands.Run(cmd);
    if (commands.Engine().Running()) {
        ASSERT_TRUE(ended.wait(30000));
    }
}

struct Join_Fixture {
    Temp_Dir dir;
    Main_State state{dir.Mkdir(QStringLiteral("app"))};
    Script_Prompter prompter;

    // Writes a file of `size` bytes, each byte `fill`, under the temporary folder.
    QString Make(const QString& name, int size, char fill = 'x') const
    {
        return dir.Write(name, QByteArray(size, fill));
    }
};

}  // namespace pf::test
