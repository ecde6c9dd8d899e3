// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/entry_facts.h"

#include <QFile>
#include <QLocale>

#include <sys/stat.h>

namespace pf {
namespace {

constexpr qsizetype Most_Known = 10000;  // files remembered; then memory starts again

QString Clock_Text(double seconds)
{
    const qint64 s = qRound64(seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString Bytes_Text(qint64 size)
{
    const QString exact = QLocale(QLocale::Japanese, QLocale::Japan).toString(size) + QStringLiteral(" ﾊﾞｲﾄ");
    static const char* const Units[] = {"KB", "MB", "GB", "TB"};
    double v = double(size);
    int unit = -1;
    for (; v >= 1024 && unit < 3; ++unit)
        v /= 1024;
    return unit < 0 ? exact : QStringLiteral("%1 %2 (%3)").arg(v, 0, 'f', 1).arg(QLatin1String(Units[unit]), exact);
}

}  // namespace

QString Facts_Text(const Stream_Timeline& timeline, const Stream_Params& params, qint64 size)
{
    if (size < 0)
        return QStringLiteral("ﾌｧｲﾙを読み込めません");
    const QString length = timeline.Empty() ? QStringLiteral("不明")
        : timeline.exact                    ? Clock_Text(timeline.Total())
                                            : QStringLiteral("約 ") + Clock_Text(timeline.Total());
    QStringList lines{QStringLiteral("長さ: ") + length, QStringLiteral("ｻｲｽﾞ: ") + Bytes_Text(size),
                      QStringLiteral("形式: ") + Kind_Name(params.kind)};
    if (params.mpegVersion)
        lines.last() += QStringLiteral(" (MPEG-%1)").arg(params.mpegVersion);
    if (params.width)
        lines << QStringLiteral("画面ｻｲｽﾞ: ") + Size_Text(params);
    return lines.join(u'\n');
}

Entry_Facts::Entry_Facts(QObject* parent) : QObject(parent) {}

Entry_Facts::~Entry_Facts()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

void Entry_Facts::Request(const QString& path)
{
    const std::lock_guard lock(mutex_);
    pending_ = path;
    if (!worker_.joinable())
        worker_ = std::thread([this] { Run(); });
    wake_.notify_all();
}

void Entry_Facts::Run()
{
    for (;;) {
        QString path;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_; });
            if (stop_)
                return;
            path = *std::exchange(pending_, std::nullopt);
        }
        const QString text = Facts_For(path);
        QMetaObject::invokeMethod(
            this, [this, path, text] { emit factsGathered(path, text); }, Qt::QueuedConnection);
    }
}

QString Entry_Facts::Facts_For(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return Facts_Text({}, {}, -1);
    const qint64 modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (const auto it = known_.constFind(path);
        it != known_.cend() && it->size == st.st_size && it->modified == modified)
        return it->text;
    File_Source source(path);
    if (!source.Ok())
        return Facts_Text({}, {}, -1);
    source.Set_Cancel(&cancel_);
    // Large files are sampled, so that a tool tip never waits for a whole walk.
    const Stream_Timeline timeline = Scan_Stream(source, source.Size() <= Exact_Bytes);
    const QString text = Facts_Text(timeline, Read_Stream_Params(source), source.Size());
    if (known_.size() >= Most_Known)
        known_.clear();
    known_.insert(path, {st.st_size, modified, text});
    return text;
}

}  // namespace pf
