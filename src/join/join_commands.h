// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's join page does: the command labels 0 to 6 (add, add by folder, play,
// remove, rename, clear, join) and the rename labels 9 and 15 of the other two lists, and the
// events of the input list (click, double-click, drop). The window registers this one object
// with its command router and connects the list's signals; everything else lives here.
#pragma once

#include "join/input_list.h"
#include "join/join_engine.h"
#include "lists/command_labels.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

namespace pf {

class Join_Commands : public QObject {
    Q_OBJECT
public:
    Join_Commands(Main_State& state, Prompter& prompter, QObject* parent = nullptr);
    ~Join_Commands() override;

    // The labels this object runs.
    static QList<Cmd> Indices();

    // Runs the command of label `cmd`; false for a label that is not ours. The join goes on
    // after this returns, until the engine's `ended`.
    bool Run(Cmd cmd);

    // Plays an input file (the play dispatch); used by label 2 and the double-click.
    void setPlayHandler(std::function<void(const QString&)> play) { play_ = std::move(play); }

    Join_Engine& Engine() { return engine_; }

public slots:
    void filesClicked(int row);
    void filesDoubleClicked(int row);
    void filesDropped(const QStringList& paths);

private:
    void Join();
    void Rename(List_Id list);
    // A join or a rename is over: the labels follow.
    void Ended();

    Main_State& state_;
    Prompter& prompter_;
    Input_List inputs_;
    Join_Engine engine_;
    std::function<void(const QString&)> play_;
    std::optional<List_Id> renaming_;  // the list of the rename under way
};

}  // namespace pf
