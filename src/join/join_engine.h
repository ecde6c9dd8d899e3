// SPDX-License-Identifier: GPL-3.0-or-later
// The join: checks that the inputs share one extension, streams them into File.tmp in the
// application folder, and gives the result its final name, automatic (date and serial number
// in AutoFolder) or chosen in the Save-As dialog; then lists it and handles the inputs as
// `Inlist` says. A join that fails or is cancelled removes File.tmp, lists nothing and
// leaves every input alone. Owned by the join commands; works on the main window's state.
#pragma once

#include <QDate>
#include <QString>

namespace pf {

class Copy_Progress;
class Main_State;
class Prompter;

// The sequence number of an automatic name: characters 1 to 8 are digits and the run of
// digits from character 10 on (four at least) is the number; -1 for any other name.
qint64 Sequence_Number(const QString& fileName);

// AutoFolder + "/" + yyyymmdd + "_" + number (at least four digits) + "." + extension.
QString Automatic_Name(const QString& folder, const QDate& date, qint64 number, const QString& upperExt);

class Join_Engine {
public:
    Join_Engine(Main_State& state, Prompter& prompter, Copy_Progress* progress = nullptr)
        : state_(state), prompter_(prompter), progress_(progress)
    {}

    // Sets Join_Ext and Join_Error; shows the message on a mismatch. True when they agree.
    bool Check_Input_Extensions();
    void Join_Files();
    // Sets Last_Number from the numbered .mpg and .mpeg files in AutoFolder.
    void Find_Last_Number();
    // Raises Last_Number to the highest sequence number among the files of `folder`.
    void GetFileList_Auto(const QString& folder);
    // Applies `Inlist` once `output` holds the finished join.
    void Handle_Inputs_After_Join(const QString& output);
    void Save_Joined_As();

    QString Join_Ext;
    bool Join_Error = false;
    qint64 Last_Number = 0;
    QString Join_Output;
    // Size of the last finished join: what the named output must measure before inputs go.
    qint64 Join_Size = -1;

private:
    void Name_Automatically();
    void Finish(const QString& output);

    Main_State& state_;
    Prompter& prompter_;
    Copy_Progress* progress_;
};

}  // namespace pf
