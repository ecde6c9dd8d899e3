#include "lists/command_labels.h"

namespace pf {

bool Command_Label_Exists(int index)
{
    return index >= 0 && index < Command_Label_Count && index != 12 && index != 21;
}

QString Command_Caption(int index)
{
    switch (index) {
    case 0: return QStringLiteral("ﾌｧｲﾙの追加");
    case 1: return QStringLiteral("ﾌｫﾙﾀﾞで追加");
    case 2: case 7: case 13: return QStringLiteral("再生");
    case 3: case 8: case 14: return QStringLiteral("ﾘｽﾄから削除");
    case 4: case 9: case 15: return QStringLiteral("名前の変更");
    case 5: case 10: case 16: return QStringLiteral("全部ｸﾘｱ");
    case 6: return QStringLiteral("ﾌｧｲﾙの結合");
    case 11: case 17: return QStringLiteral("連続再生");
    case 18: case 22: return QStringLiteral("結合時の設定");
    case 19: return QStringLiteral(" >");
    case 20: return QStringLiteral("<");
    case 23: case 26: return QStringLiteral("再生時の設定");
    case 24: case 27: return QStringLiteral("終了(保存)");
    case 25: case 28: return QStringLiteral("ｷｬﾝｾﾙ");
    default: return {};
    }
}

Command_Labels::Command_Labels(QObject* parent) : QObject(parent) {}

bool Command_Labels::enabled(int index) const
{
    return Command_Label_Exists(index) && enabled_[size_t(index)];
}

void Command_Labels::set(int index, bool on)
{
    if (!Command_Label_Exists(index) || enabled_[size_t(index)] == on)
        return;
    enabled_[size_t(index)] = on;
    emit changed(index, on);
}

void Command_Labels::setRange(int from, int to, bool on)
{
    for (int i = from; i <= to; ++i)
        set(i, on);
}

void Command_Labels::applyStartUp(int joinCount, int favoriteCount)
{
    for (int i : {0, 1, 18, 22, 23, 24, 25, 26, 27, 28})
        set(i, true);
    setRange(2, 11, false);
    setRange(13, 17, false);
    setRange(19, 20, false);
    if (joinCount > 0) {
        set(10, true);
        set(11, true);
    }
    if (favoriteCount > 0) {
        set(16, true);
        set(17, true);
    }
}

}  // namespace pf
