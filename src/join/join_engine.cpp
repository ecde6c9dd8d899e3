// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/join_engine.h"

#include "core/main_state.h"
#include "join/file_copy.h"
#include "join/save_as.h"
#include "mpeg/stream_params.h"
#include "util/log.h"
#include "util/paths.h"
#include "util/prompter.h"
#include "util/safe_file.h"
#include "util/worker.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace pf {

namespace {

// Progress reaches the window this often at most: enough to look smooth, little to post.
constexpr int Progress_Every_Ms = 40;

// A message box's text on one log line.
QString One_Line(QString text)
{
    return text.replace(u'\n', u' ');
}

// What a worker step tells about itself, posted to the engine; a cancel is seen between chunks.
class Step_Progress : public Copy_Progress {
public:
    Step_Progress(std::shared_ptr<Job_Link> link, std::shared_ptr<const std::atomic<bool>> cancelled,
                  Join_Engine* engine)
        : link_(std::move(link)), cancelled_(std::move(cancelled)), engine_(engine)
    {}

    void Begin(qint64 totalBytes) override
    {
        total_ = totalBytes;
        clock_.invalidate();
    }
    bool Step(const QString& file, qint64 doneBytes) override
    {
        if (!clock_.isValid() || clock_.elapsed() >= Progress_Every_Ms || file != file_) {
            clock_.start();
            file_ = file;
            link_->Post([cancelled = cancelled_, engine = engine_, file, doneBytes, total = total_] {
                if (!*cancelled)
                    emit engine->progressed(file, doneBytes, total);
            });
        }
        return !*cancelled_;
    }
    void End() override {}

private:
    std::shared_ptr<Job_Link> link_;
    std::shared_ptr<const std::atomic<bool>> cancelled_;
    Join_Engine* engine_;
    QElapsedTimer clock_;
    QString file_;
    qint64 total_ = 0;
};

}  // namespace

Join_Engine::Join_Engine(Main_State& state, Prompter& prompter, QObject* parent)
    : QObject(parent), state_(state), prompter_(prompter), link_(std::make_shared<Job_Link>(this))
{}

Join_Engine::~Join_Engine()
{
    if (cancelled_)
        *cancelled_ = true;
    link_->Cut();
}

bool Join_Engine::Begin()
{
    if (running_)
        return false;
    running_ = true;
    clearsOnCancel_ = false;
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    emit started();
    return true;
}

bool Join_Engine::Check_Input_Extensions()
{
    Join_Error = false;
    const QStringList& inputs = state_.lstFiles.Entries();
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString ext = Extension_Of(inputs.at(i)).toUpper();
        if (i == 0) {
            Join_Ext = ext;
        } else if (ext != Join_Ext) {
            prompter_.Message(QStringLiteral("入力ﾌｧｲﾙの拡張子を統一してください！"), Msg_Exclamation);
            Join_Error = true;
            return false;
        }
    }
    return true;
}

bool Join_Engine::Join_Files()
{
    if (running_)
        return false;
    if (workers_ > 0) {
        // The temporary file is still the cancelled join's, whose drive has not answered yet.
        prompter_.Message(QStringLiteral("前回の結合がまだ終わっていません (ﾄﾞﾗｲﾌﾞが応答しません)。\n"
                                         "しばらくしてからもう一度結合してください。"),
                          Msg_Exclamation);
        return false;
    }
    Begin();
    inputs_ = state_.lstFiles.Entries();
    unchanged_.clear();
    Join_Size = -1;
    // Where the output is written first: beside where it will be named, so that naming it is a
    // rename on the same volume; else the application folder.
    const Settings& s = state_.settings;
    const QString near = s.Chosen_Naming() == Naming::Automatic ? s.AutoFolder : s.List_Path;
    Run_Step(QStringLiteral("入力ﾌｧｲﾙを調べています…"),
             [this, inputs = inputs_, leftover = state_.Temp_Join_File,
              near = near.isEmpty() ? QString() : state_.New_Temp_In(near),
              fallback = state_.Temp_Path()](Copy_Progress&) {
                 // A cancelled Save-As left its output until this join.
                 if (!leftover.isEmpty())
                     Remove_Regular_File(leftover);
                 const QString temp = !near.isEmpty() && Folder_Writable(Parent_Folder(near)) ? near : fallback;
                 const std::optional<Unlike_Input> unlike = Find_Unlike_Input(inputs);
                 return Step_Result{[this, temp, unlike] {
                                        state_.Temp_Join_File = temp;
                                        if (Join_Anyway(unlike, prompter_))
                                            Copy();
                                        else
                                            End();
                                    },
                                    {}};
             });
    return true;
}

void Join_Engine::Copy()
{
    const Copy_Method method
        = state_.settings.Stamping() == Join_Stamps::Continuous ? Copy_Method::Stamped : Preferred_Copy_Method();
    Run_Step(QStringLiteral("ﾌｧｲﾙを結合しています…"),
             [this, inputs = inputs_, temp = state_.Temp_Join_File, method](Copy_Progress& progress) {
                 for (const QString& input : inputs)
                     qCInfo(Log_Join).noquote() << "input" << input << QFileInfo(input).size() << "bytes";
                 QElapsedTimer clock;
                 clock.start();
                 QStringList unchanged;
                 const Copy_Outcome copied = Concatenate(inputs, temp, &progress, method, &unchanged);
                 if (copied.Ok())
                     qCInfo(Log_Join).noquote() << "joined" << inputs.size() << "files," << copied.bytes << "bytes in"
                                                << clock.elapsed() / 1000.0 << "s into" << temp;
                 return Step_Result{[this, copied, unchanged] {
                                        unchanged_ = unchanged;
                                        Copied(copied);
                                    },
                                    [this, temp] { Clean_Up([temp] { Remove_File(temp); }); }};
             });
}

void Join_Engine::Run_Step(const QString& what, Step work)
{
    ++workers_;
    emit stepStarted(what);
    Start_Detached([this, link = link_, cancelled = cancelled_, work = std::move(work)] {
        Step_Progress progress(link, cancelled, this);
        Step_Result result = work(progress);
        link->Post([this, cancelled, result = std::move(result)] { Step_Done(*cancelled, result); });
    });
}

void Join_Engine::Step_Done(bool cancelled, const Step_Result& result)
{
    --workers_;
    // A cancelled join has ended for the user already; what its step did is undone or kept.
    if (!cancelled) {
        emit stepEnded();
        result.then();
    } else if (result.late) {
        result.late();
    }
}

void Join_Engine::Clean_Up(std::function<void()> work)
{
    ++workers_;
    Start_Detached([this, link = link_, work = std::move(work)] {
        work();
        link->Post([this] { --workers_; });
    });
}

void Join_Engine::Copied(const Copy_Outcome& copied)
{
    if (!copied.Ok()) {
        qCWarning(Log_Join).noquote() << "join failed:" << One_Line(Copy_Failure_Text(copied));
        prompter_.Message(Copy_Failure_Text(copied), Msg_Exclamation);
        End();
        return;
    }
    Join_Size = copied.bytes;
    if (state_.settings.Join_Naming() == Naming::Save_As)
        Save_Joined_As();
    else
        Name_Automatically();
}

void Join_Engine::Name_Automatically()
{
    Run_Step(QStringLiteral("結合ﾌｧｲﾙを保存しています…"),
             [this, temp = state_.Temp_Join_File, folder = state_.settings.AutoFolder, ext = Join_Ext,
              today = QDate::currentDate()](Copy_Progress& progress) {
                 const Automatic_Save save = Save_Automatically(temp, folder, today, ext, &progress);
                 return Step_Result{[this, save] {
                                        Last_Number = save.lastNumber;
                                        if (save.moved.Ok())
                                            Join_Output = save.name;
                                        Saved(save.name, save.moved);
                                    },
                                    [this, save] { Keep_Late(save.name, save.moved); }};
             });
}

void Join_Engine::Save_Joined_As()
{
    const QString chosen = Ask_Save_Path(prompter_, QStringLiteral("ﾌｧｲﾙ名を付けて保存"), Join_Ext,
                                         state_.settings.List_Path, {}, QStringLiteral("保存ﾌｧｲﾙの拡張子が違います！"));
    if (chosen.isEmpty()) {
        End();  // File.tmp stays for now; the next join or the exit removes it
        return;
    }
    Run_Step(QStringLiteral("結合ﾌｧｲﾙを保存しています…"),
             [this, temp = state_.Temp_Join_File, chosen](Copy_Progress& progress) {
                 const Move_Outcome moved = Move_File(temp, chosen, Move_Mode::Replace, &progress);
                 return Step_Result{[this, chosen, moved] {
                                        if (moved.Ok())
                                            state_.settings.List_Path = Parent_Folder(chosen);
                                        Saved(chosen, moved);
                                    },
                                    [this, chosen, moved] { Keep_Late(chosen, moved); }};
             });
}

void Join_Engine::Saved(const QString& output, const Move_Outcome& moved)
{
    if (!moved.Ok()) {
        qCWarning(Log_Join).noquote() << "not saved:" << One_Line(Move_Failure_Text(output, moved.error));
        prompter_.Message(Move_Failure_Text(output, moved.error), Msg_Exclamation);
        End();
        return;
    }
    Finish(output);
}

void Join_Engine::Keep_Late(const QString& output, const Move_Outcome& moved)
{
    // Saved just as the user cancelled: listed, so that it is not lost, but the inputs stay.
    if (!moved.Ok())
        return;
    qCInfo(Log_Join).noquote() << "saved after the cancel as" << output;
    state_.List_Join.Add(output);
    state_.labels.Enable_List_Commands(List_Id::Joined, state_.List_Join.Count());
}

void Join_Engine::Finish(const QString& output)
{
    qCInfo(Log_Join).noquote() << "saved as" << output;
    state_.labels.Set(Cmd_Join, false);
    state_.List_Join.Add(output);
    if (!Fav_Record(output))
        prompter_.Message(QStringLiteral("結合ﾌｧｲﾙのﾊﾟｽが長すぎるため、ｸﾞﾙｰﾌﾟに保存できません！\n%1").arg(output),
                          Msg_Exclamation);
    if (!unchanged_.isEmpty())
        prompter_.Message(Unchanged_Inputs_Message(unchanged_), Msg_Exclamation);
    Handle_Inputs_After_Join(output);
}

void Join_Engine::Handle_Inputs_After_Join(const QString& output)
{
    const After_Join after = state_.settings.Inputs_After_Join();
    if (after == After_Join::Keep) {
        End();
        return;
    }
    if (after == After_Join::Clear) {
        Inputs_Handled({true, {}}, output);
        return;
    }
    Begin();  // when called on its own, outside a join
    clearsOnCancel_ = true;
    const bool trash = after == After_Join::Trash;
    Run_Step(trash ? QStringLiteral("入力ﾌｧｲﾙをごみ箱へ移動しています…") : QStringLiteral("入力ﾌｧｲﾙを削除しています…"),
             [this, inputs = state_.lstFiles.Entries(), output, size = Join_Size, trash](Copy_Progress& progress) {
                 const Inputs_Outcome outcome = Remove_Inputs(inputs, output, size, trash, &progress);
                 for (const QString& input : outcome.kept)
                     qCWarning(Log_Join).noquote() << (trash ? "cannot move to the trash" : "cannot delete") << input;
                 return Step_Result{[this, outcome, output] { Inputs_Handled(outcome, output); }, {}};
             });
}

void Join_Engine::Inputs_Handled(const Inputs_Outcome& outcome, const QString& output)
{
    if (!outcome.verified) {
        prompter_.Message(QStringLiteral("結合ﾌｧｲﾙを確認できないため入力ﾌｧｲﾙを残しました！\n%1").arg(output),
                          Msg_Exclamation);
    } else {
        state_.labels.Set_Range(Cmd_Play_Input, Cmd_Join, false);
        state_.lstFiles.Clear();
    }
    End();
}

bool Join_Engine::Rename_Listed_File(List_Id source)
{
    Path_List& list = state_.List(source);
    if (list.Selected() < 0 || !Begin())
        return false;
    const QString file = list.Selected_Path();
    const QString chosen = Ask_Save_Path(prompter_, QStringLiteral("ﾌｧｲﾙ名を変更"), Extension_Of(file).toUpper(),
                                         Parent_Folder(file), file, QStringLiteral("変更ﾌｧｲﾙの拡張子が違います！"));
    if (chosen.isEmpty()) {
        End();
        return true;
    }
    // Across volumes the move is a copy: as long as a join's, and as a join's, on a worker.
    Run_Step(QStringLiteral("ﾌｧｲﾙ名を変更しています…"), [this, source, file, chosen](Copy_Progress& progress) {
        const Move_Outcome moved = Move_File(file, chosen, Move_Mode::Replace, &progress);
        return Step_Result{[this, source, file, chosen, moved] {
                               Renamed(source, file, chosen, moved);
                               End();
                           },
                           [this, source, file, chosen, moved] {
                               if (moved.Ok())  // renamed just as the user cancelled: the list follows
                                   Renamed(source, file, chosen, moved);
                           }};
    });
    return true;
}

void Join_Engine::Renamed(List_Id source, const QString& from, const QString& to, const Move_Outcome& moved)
{
    if (moved.result == Move_Result::Same_File)
        return;  // the proposed name accepted as it was: the file stays as it is
    if (!moved.Ok()) {
        prompter_.Message(Move_Failure_Text(to, moved.error), Msg_Exclamation);
        return;
    }
    Path_List& list = state_.List(source);
    const int row = list.Selected_Path() == from ? list.Selected() : int(list.Entries().indexOf(from));
    list.Remove_At(row);
    list.Add(to);
}

void Join_Engine::Cancel()
{
    if (!running_)
        return;
    *cancelled_ = true;
    emit stepEnded();
    // The output is saved by now: the list goes as `Inlist` asks, whatever files stay.
    if (clearsOnCancel_)
        Inputs_Handled({true, {}}, {});
    else
        End();
}

void Join_Engine::End()
{
    running_ = false;
    emit ended();
}

}  // namespace pf
