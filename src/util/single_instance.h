// SPDX-License-Identifier: GPL-3.0-or-later
// One running program per application folder. The settings file, the group files and File.tmp
// belong to the program that holds the folder's lock; a second start on the same folder asks the
// first to raise its window and ends without touching any file. The lock is the kernel's (flock
// on a lock file), so a crashed program's lock goes with its process and never blocks a start.
// The owner also listens on a local socket named after the folder for the raise requests.
#pragma once

#include "util/safe_file.h"

#include <QObject>
#include <QString>

class QLocalServer;

namespace pf {

class Single_Instance : public QObject {
    Q_OBJECT
public:
    explicit Single_Instance(const QString& appFolder, QObject* parent = nullptr);
    ~Single_Instance() override;

    // True when this process now owns the folder (or the folder cannot be locked at all, which
    // must not keep the user from the program); false when a running program owns it.
    bool Acquire();
    // Asks the running owner of the folder to raise its window; returns at once if none listens.
    void Ask_Owner_To_Raise() const;

    // The local socket name of a folder: the same for every spelling of the same folder.
    static QString Server_Name(const QString& appFolder);

signals:
    // A second start on this folder asked for the window.
    void raiseRequested();

private:
    void Listen();

    QString folder_;
    Unique_Fd lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace pf
