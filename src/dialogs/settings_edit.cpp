// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/settings_edit.h"

#include "util/paths.h"
#include "util/prompter.h"

#include <cmath>

namespace pf {

namespace {

const QString No_Folder = QStringLiteral("有効なﾌｫﾙﾀﾞが指定されていません！");

}  // namespace

Settings_Edit::Settings_Edit(const Settings& live, std::initializer_list<qint16 Settings::*> choices)
    : copy_(live), choices_(choices)
{}

void Settings_Edit::Commit_Choices(Settings& live) const
{
    for (qint16 Settings::*field : choices_)
        live.*field = copy_.*field;
}

Join_Settings_Edit::Join_Settings_Edit(const Settings& live, Prompter& prompts)
    : Settings_Edit(live, {&Settings::Inlist, &Settings::Auto, &Settings::Stamps}), prompts_(prompts)
{
    if (!Folder_Exists(copy_.AutoFolder))
        copy_.AutoFolder.clear();
}

void Join_Settings_Edit::Browse()
{
    const Chosen_Folder chosen = Choose_Folder(prompts_, copy_.List_Path);
    if (chosen.path.isEmpty())
        return;
    copy_.AutoFolder = chosen.root ? QString() : chosen.path;
}

bool Join_Settings_Edit::Ok(Settings& live) const
{
    if (copy_.Chosen_Naming() == Naming::Automatic && copy_.AutoFolder.isEmpty()) {
        prompts_.Message(No_Folder, Msg_Exclamation);
        return false;
    }
    Commit_Choices(live);
    live.AutoFolder = copy_.AutoFolder;
    return true;
}

Play_Settings_Edit::Play_Settings_Edit(const Settings& live)
    : Settings_Edit(live, {&Settings::Way, &Settings::Size, &Settings::Rep}),
      widthText(QString::number(live.Size_X)),
      heightText(QString::number(live.Size_Y))
{}

void Play_Settings_Edit::Ok(Settings& live) const
{
    Commit_Choices(live);
    if (const auto x = Text_To_Int16(widthText))
        live.Size_X = *x;
    if (const auto y = Text_To_Int16(heightText))
        live.Size_Y = *y;
}

std::optional<qint16> Text_To_Int16(const QString& text)
{
    // Compatibility forms fold full-width digits, signs and points into ASCII.
    bool ok = false;
    const double d = text.normalized(QString::NormalizationForm_KC).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const double r = std::nearbyint(d);  // the default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return qint16(r);
}

QStringList Size_Items(int from, int to)
{
    QStringList items;
    for (int v = from; v <= to; v += 10)
        items << QString::number(v);
    return items;
}

}  // namespace pf
