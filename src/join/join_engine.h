// SPDX-License-Identifier: GPL-3.0-or-later
// The join: checks that the inputs share one extension and asks before joining inputs of unlike
// kinds, streams them (as they are, or with one continuous clock when `Stamps` is 1) into a
// temporary file and gives the result its final name, automatic (date and serial number in
// AutoFolder) or chosen in the Save-As dialog; then lists it and handles the inputs as
// `Inlist` says. The temporary file is a hidden one in the folder the output will be named in
// (AutoFolder, or List_Path where Save-As opens) when that can be written, so that naming it is
// a rename; else File.tmp in the application folder. A join that fails or is cancelled removes
// it, lists nothing and leaves every input alone. The rename of a listed file runs the same
// way (its move may be a copy to another volume). Owned by the join commands; works on the
// main window's state.
//
// Every step that touches the disk runs on a worker thread (join_steps.h); the engine takes
// each outcome back on the GUI thread and goes on with the next step, so a join runs from
// `started` to `ended` while the event loop goes on. Meanwhile the window is to take no input
// but the progress dialog's. A cancel ends the join for the user at once, even while a worker
// waits on a drive that does not answer; that worker stops at its next chance and removes
// what it wrote, and no new join starts before it has.
#pragma once

#include "join/join_steps.h"
#include "lists/command_labels.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace pf {

class Copy_Progress;
struct Copy_Outcome;
class Job_Link;
class Main_State;
class Prompter;

class Join_Engine : public QObject {
    Q_OBJECT
public:
    Join_Engine(Main_State& state, Prompter& prompter, QObject* parent = nullptr);
    ~Join_Engine() override;

    // Sets Join_Ext and Join_Error; shows the message on a mismatch. True when they agree.
    bool Check_Input_Extensions();
    // Starts the join of the input list as it is now; false (and a message) while the worker of
    // a cancelled join has not finished yet.
    bool Join_Files();
    // Applies `Inlist` once `output` holds the finished join of Join_Size bytes.
    void Handle_Inputs_After_Join(const QString& output);
    // Renames the selected file of list `source` through the save dialog (the move on a worker,
    // as a join's) and puts the new path at its sorted place in that list; on any failure the
    // file and the lists stay. A run from `started` to `ended`, as a join is: false when none began.
    bool Rename_Listed_File(List_Id source);
    // Ends the running join (or rename) now; nothing it has not finished yet will be listed.
    void Cancel();
    bool Running() const { return running_; }

    QString Join_Ext;
    bool Join_Error = false;
    qint64 Last_Number = 0;
    QString Join_Output;
    // Size of the last finished join: what the named output must measure before inputs go.
    qint64 Join_Size = -1;

signals:
    // The join has begun: from now until `ended` the window takes no input.
    void started();
    // A worker step the user may watch and cancel has begun (`what` says what it does) ...
    void stepStarted(const QString& what);
    // ... is at `done` of `total` (bytes, or inputs), with `file` ...
    void progressed(const QString& file, qint64 done, qint64 total);
    // ... and is over.
    void stepEnded();
    void ended();

private:
    // What a worker step hands back: `then` goes on with the join; `late` runs instead when the
    // join was cancelled before the step's outcome arrived here (to undo or keep what it did).
    struct Step_Result {
        std::function<void()> then;
        std::function<void()> late;
    };
    using Step = std::function<Step_Result(Copy_Progress&)>;
    // Marks the start of a run (a join, a rename) unless one is under way.
    bool Begin();
    void Run_Step(const QString& what, Step work);
    void Step_Done(bool cancelled, const Step_Result& result);
    // Runs `work` on a worker that a new join waits for.
    void Clean_Up(std::function<void()> work);
    void Copy();
    void Copied(const Copy_Outcome& copied);
    void Save_Joined_As();
    void Name_Automatically();
    void Saved(const QString& output, const Move_Outcome& moved);
    void Keep_Late(const QString& output, const Move_Outcome& moved);
    void Finish(const QString& output);
    void Inputs_Handled(const Inputs_Outcome& outcome, const QString& output);
    void Renamed(List_Id source, const QString& from, const QString& to, const Move_Outcome& moved);
    void End();

    Main_State& state_;
    Prompter& prompter_;
    std::shared_ptr<Job_Link> link_;                // to this engine, for as long as it lives
    std::shared_ptr<std::atomic<bool>> cancelled_;  // of the run under way, or of the last one
    QStringList inputs_;                            // as they were when the join began
    QStringList unchanged_;                         // inputs the stamped join copied as they were
    bool running_ = false;
    bool clearsOnCancel_ = false;  // the output is saved: a cancel still clears the input list
    int workers_ = 0;              // worker steps not finished, a cancelled join's among them
};

}  // namespace pf
