// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped program as a user meets it: a copy of build/parlo_film in a temporary folder
// (its application folder, as for a user who unpacked it there), a desktop data folder of its
// own (where the trash lies), started on the Xvfb display and driven only by X input. Knows
// where the main window's controls lie from the window's layout table, finds the other windows
// by their names and owning process, keeps a screenshot of every step, and tells which files
// the program holds open (what a player is playing).
#pragma once

#include "x_session.h"

#include "lists/command_labels.h"
#include "lists/group_file.h"
#include "support/temp_dir.h"

#include <QMap>
#include <QProcess>
#include <QStringList>

#include <memory>

namespace pf::e2e {

class Program {
public:
    // Screenshots go to build/artifacts/e2e/`run`.
    Program(X_Session& x, const QString& run);
    ~Program();

    const QString& Root() const { return root_.Path(); }
    // The application folder, and a file in it.
    QString App() const { return root_.File(QStringLiteral("app")); }
    QString App_File(const QString& name) const;
    // The desktop trash of this run ($XDG_DATA_HOME/Trash).
    QString Trash() const { return root_.File(QStringLiteral("xdg/Trash")); }
    // Copies a test clip to `name` under the run's folder; returns the full path.
    QString Clip(const char* clip, const QString& name) const;
    QString Write(const QString& name, const QByteArray& bytes) const { return root_.Write(name, bytes); }
    QString Folder(const QString& name) const { return root_.Mkdir(name); }

    // Starts the program in its folder and waits for its main window; false if it did not show.
    bool Start();
    // Until the main window (`width` pixels wide, when not 0) is painted to its far corner.
    bool Wait_Painted(int width) const;
    // A second start in the same folder, left to run on its own.
    std::unique_ptr<QProcess> Start_Another() const;
    // Waits for the program to end; true when it ended by itself with status 0.
    bool Wait_Exit(int timeoutMs = 20000);

    // The main window, and any other window of the program (a player, a dialog) by its name.
    std::optional<X_Window> Main() const;
    std::optional<X_Window> Wait_Window(const QString& name) const;
    bool Wait_Window_Gone(const QString& name) const;
    // The next player window of the program other than window `after`, once it has the focus
    // (players have no name of their own: X shows the program's, "Parlo_film").
    std::optional<X_Window> Wait_Player(unsigned long after = 0) const;
    // Waits until one of `candidates` is open in the program and returns it.
    QString Playing(const QStringList& candidates) const;
    bool Wait_Closed(unsigned long window) const;

    // Points on the screen, from the main window's layout table and its current layout.
    QPoint Label(int index) const;
    QPoint Group_Button(Group_Kind kind, int group) const;
    QPoint Order_Marker(List_Id list, int choice) const;
    QPoint Layout_Button(int skin) const;
    QRect List_Rect(List_Id list) const;
    // The list's highlighted row in `shot`; an invalid rectangle when none is.
    QRect Selected_Row(const QImage& shot, List_Id list) const;

    // Clicks command label `index` and expects the click to reach it (it must be enabled).
    void Press(int index);
    // Selects row `row` of a list as a user does: a click on the first row, then Down keys;
    // returns the centre of the row, now highlighted (null when it did not highlight).
    QPoint Select_Row(List_Id list, int row);

    // Saves the screen as the next step's picture and returns it; `settle` waits until every
    // window has painted (not while a video plays).
    QImage Shot(const QString& step, bool settle = true);

    // The regular files the program has open, as full paths.
    QStringList Open_Files() const;
    // Every file of the application folder with its bytes.
    QMap<QString, QByteArray> App_Files() const;

private:
    QPoint In_Main(QPoint p) const;
    QProcessEnvironment Environment() const;
    void Launch(QProcess& p) const;

    X_Session& x_;
    test::Temp_Dir root_;
    QString artifacts_;
    int step_ = 0;
    std::unique_ptr<QProcess> process_;
};

}  // namespace pf::e2e
