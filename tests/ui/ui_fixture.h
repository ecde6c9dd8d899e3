// SPDX-License-Identifier: GPL-3.0-or-later
// A main window over a temporary application folder, loaded as at start-up, and a prompter
// that records the messages it was asked to show.
#pragma once

#include "core/main_state.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "support/waits.h"
#include "ui/main_window.h"

#include <QStringList>

#include <memory>

namespace pf::test {

struct Main_Window_Fixture {
    Temp_Dir dir;
    Script_Prompter prompter;
    std::unique_ptr<Main_State> state;
    std::unique_ptr<Parlo_film_S> window;

    // Creates the state and the window and runs the load sequence until the groups are in.
    void Start()
    {
        state = std::make_unique<Main_State>(dir.Path());
        window = std::make_unique<Parlo_film_S>(*state, &prompter);
        window->Load();
        Until_Idle(*window);
    }

    // An existing (empty) media file under the folder; returns its path.
    QString Media(const QString& name) const { return dir.Write(QStringLiteral("media/") + name, {}); }

    template <class T>
    T* Find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }
};

}  // namespace pf::test
