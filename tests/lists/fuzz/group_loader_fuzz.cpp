// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the group loader, as records and as a group file on disk: it must
// never crash or hang; every path ends at its record's first NUL, has no blanks at either end,
// and comes back unchanged through a record of its own when it fits one.
#include "lists/group_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString Group_File()
{
    // Removed when the fuzzer exits.
    static const QTemporaryDir folder(QStringLiteral("/tmp/group_loader_fuzz.XXXXXX"));
    if (!folder.isValid())
        std::abort();
    return folder.filePath(QStringLiteral("Parlo_film00.rdm"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList paths = pf::Parse_Group_Records(bytes);
    if (paths.size() > qsizetype(size) / pf::Record_Length)
        __builtin_trap();
    for (const QString& p : paths) {
        if (p.isEmpty() || p.startsWith(u' ') || p.endsWith(u' ') || p.contains(QChar(0)))
            __builtin_trap();
        const auto record = pf::Fav_Record(p);
        if (record && pf::Parse_Group_Records(*record) != QStringList{p})
            __builtin_trap();
    }

    // The same bytes as a file: only records naming existing files are kept.
    std::FILE* out = std::fopen(QFile::encodeName(Group_File()).constData(), "wb");
    if (!out)
        std::abort();
    if (size && std::fwrite(data, 1, size, out) != size)
        std::abort();
    std::fclose(out);
    if (pf::Load_Group(Group_File()).size() > paths.size())
        __builtin_trap();
    return 0;
}
