// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings reader and writer: the text must come back byte for byte
// when nothing is changed, loading the settings must never fail, and a written value must read
// back exactly while every other key keeps its value. The first byte says how many of the
// following bytes are the value to write; the rest is the file.
#include "core/profile_text.h"
#include "core/settings.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

const QString S = QStringLiteral("Section");
const char* const Others[] = {"Way", "Skin", "List_Path", "FormJ_Top", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(data[0], size - 1);
    const QByteArray valueBytes(reinterpret_cast<const char*>(data + 1), qsizetype(n));
    const QByteArray file(reinterpret_cast<const char*>(data + 1 + n), qsizetype(size - 1 - n));

    pf::Profile_Text p(file);
    if (p.Bytes() != file)
        __builtin_trap();
    (void)pf::Read_Settings(p, QStringLiteral("/app"));

    QString before[std::size(Others)];
    for (std::size_t i = 0; i < std::size(Others); ++i)
        before[i] = p.Value(S, QLatin1String(Others[i]));
    const QString value = QString::fromUtf8(valueBytes);
    p.setValue(S, QStringLiteral("Add_Path"), value);
    p.setNumber(S, QStringLiteral("Size"), qint16(n));

    const pf::Profile_Text back(p.Bytes());
    const qsizetype nul = value.indexOf(QChar(0));
    if (back.Value(S, QStringLiteral("Add_Path")) != (nul < 0 ? value : value.left(nul)))
        __builtin_trap();
    if (back.Value(S, QStringLiteral("Size")) != QString::number(n))
        __builtin_trap();
    for (std::size_t i = 0; i < std::size(Others); ++i)
        if (back.Value(S, QLatin1String(Others[i])) != before[i])
            __builtin_trap();
    return 0;
}
