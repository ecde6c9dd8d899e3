// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/stamped_join.h"

#include "util/safe_file.h"

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace pf {
namespace {

constexpr qint64 Piece_Bytes = 1024 * 1024;
constexpr int Pieces = 4;  // read ahead at most this many

struct Piece {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(Piece_Bytes);
    qint64 size = 0;
    int input = 0;
    bool last = false;    // its input ends here
    bool failed = false;  // its input could not be opened or read
    int error = 0;
};

// Reads the inputs in order into pieces, ahead of the thread that takes them.
class Reader {
public:
    explicit Reader(const QStringList& inputs) : inputs_(inputs)
    {
        for (int i = 0; i < Pieces; ++i)
            free_.push_back(std::make_unique<Piece>());
        thread_ = std::thread([this] { Run(); });
    }
    ~Reader()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    std::unique_ptr<Piece> Take() { return Pop(read_); }
    void Give_Back(std::unique_ptr<Piece> piece) { Push(free_, std::move(piece)); }

private:
    std::unique_ptr<Piece> Pop(std::deque<std::unique_ptr<Piece>>& from)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || !from.empty(); });
        if (stop_)
            return nullptr;
        auto piece = std::move(from.front());
        from.pop_front();
        return piece;
    }
    void Push(std::deque<std::unique_ptr<Piece>>& to, std::unique_ptr<Piece> piece)
    {
        {
            const std::lock_guard lock(mutex_);
            to.push_back(std::move(piece));
        }
        changed_.notify_all();
    }
    void Run()
    {
        for (int i = 0; i < inputs_.size(); ++i) {
            const Open_Result in = Open_Regular(inputs_[i]);
            if (in.status == File_Status::Ok)
                ::posix_fadvise(in.fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
            for (bool last = false; !last;) {
                std::unique_ptr<Piece> piece = Pop(free_);
                if (!piece)
                    return;
                ssize_t n = -1;
                if (in.status == File_Status::Ok)
                    do
                        n = ::read(in.fd.Get(), piece->bytes.data(), Piece_Bytes);
                    while (n < 0 && errno == EINTR);
                piece->input = i;
                piece->size = std::max<ssize_t>(n, 0);
                piece->failed = n < 0;
                piece->error = in.status == File_Status::Ok ? errno : in.error;
                last = piece->last = n <= 0;
                Push(read_, std::move(piece));
                if (n < 0)
                    return;
            }
        }
    }

    QStringList inputs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Piece>> free_, read_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace

Rewrite_Outcome Rewrite_Files(const QStringList& inputs, const Stamp_Rewriter::Sink& sink,
                              const std::function<bool(qint64)>& progress)
{
    Rewrite_Outcome r;
    Stamp_Rewriter rewriter(sink);
    Reader reader(inputs);
    qint64 done = 0;
    for (int current = -1, ended = 0; ended < inputs.size();) {
        std::unique_ptr<Piece> piece = reader.Take();
        if (piece->failed) {
            r.failedPath = inputs[piece->input];
            r.error = piece->error;
            return r;
        }
        if (piece->input != current)
            rewriter.Begin_Input(current = piece->input);
        done += piece->size;
        bool ok = rewriter.Feed(piece->bytes.data(), piece->size);
        if (piece->last) {
            ok = rewriter.End_Input() && ok;
            ++ended;
        }
        reader.Give_Back(std::move(piece));
        if (!ok)
            return r;
        if (progress && !progress(done)) {
            r.cancelled = true;
            return r;
        }
    }
    r.ok = true;
    r.unchanged = rewriter.Unchanged();
    return r;
}

}  // namespace pf
