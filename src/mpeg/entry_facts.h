// SPDX-License-Identifier: GPL-3.0-or-later
// What a list entry's tool tip says about its file: its length (h:mm:ss from the timeline,
// "約" before a sampled one), size, stream kind and picture size. Files are read on a thread
// of this object's own, started by the first request, never on the caller's: Request()
// returns at once and the text comes back on the owner's thread through factsGathered. Only the
// latest request waits while a file is read. A text is remembered per file until the file's
// size or modification time changes; that is looked at on the reading thread too, as even a
// stat may wait on a disk. The owner keeps the object; a list view only forwards its hovers.
#pragma once

#include "mpeg/stream_params.h"
#include "mpeg/stream_timeline.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace pf {

// The tool tip of a file of `size` bytes (< 0: a file that cannot be read).
QString Facts_Text(const Stream_Timeline& timeline, const Stream_Params& params, qint64 size);

class Entry_Facts : public QObject {
    Q_OBJECT
public:
    explicit Entry_Facts(QObject* parent = nullptr);
    ~Entry_Facts() override;  // stops a read under way and waits for the thread

    void Request(const QString& path);

signals:
    void factsGathered(const QString& path, const QString& text);

private:
    struct Known {
        qint64 size = 0;
        qint64 modified = 0;  // nanoseconds
        QString text;
    };
    void Run();
    QString Facts_For(const QString& path);  // on the reading thread

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<QString> pending_;
    bool stop_ = false;
    std::atomic<bool> cancel_{false};
    QHash<QString, Known> known_;  // the reading thread's alone
    std::thread worker_;
};

}  // namespace pf
