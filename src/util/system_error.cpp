// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/system_error.h"

#include <cerrno>

namespace pf {

namespace {

struct Reason {
    int code;
    const char* text;
};

// The failures a user meets with files, drives and shares.
constexpr Reason Reasons[] = {
    {ENOSPC, "ﾃﾞｨｽｸに空きがありません"},
    {EDQUOT, "ﾃﾞｨｽｸの使用量の上限を超えています"},
    {EFBIG, "ﾌｧｲﾙが大きすぎます"},
    {EACCES, "ｱｸｾｽ権がありません"},
    {EPERM, "この操作は許可されていません"},
    {EROFS, "読み取り専用のﾌｧｲﾙｼｽﾃﾑです"},
    {ENOENT, "ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません"},
    {ENOTDIR, "ﾊﾟｽの途中にﾌｫﾙﾀﾞではないものがあります"},
    {EISDIR, "ﾌｫﾙﾀﾞです"},
    {EEXIST, "同じ名前のものが既にあります"},
    {ENOTEMPTY, "ﾌｫﾙﾀﾞが空ではありません"},
    {ENAMETOOLONG, "ﾌｧｲﾙ名またはﾊﾟｽが長すぎます"},
    {ELOOP, "ｼﾝﾎﾞﾘｯｸﾘﾝｸがたどれません"},
    {EXDEV, "別のﾄﾞﾗｲﾌﾞへは移動できません"},
    {EBUSY, "ほかのﾌﾟﾛｸﾞﾗﾑが使用中です"},
    {ETXTBSY, "ほかのﾌﾟﾛｸﾞﾗﾑが使用中です"},
    {EIO, "ﾃﾞｨｽｸの読み書きでｴﾗｰが起きました"},
    {ENXIO, "ﾄﾞﾗｲﾌﾞが見つかりません"},
    {ENODEV, "ﾄﾞﾗｲﾌﾞが見つかりません"},
    {ESTALE, "ﾈｯﾄﾜｰｸ上のﾌｧｲﾙが見えなくなりました"},
    {ETIMEDOUT, "応答がないまま時間切れになりました"},
    {EHOSTDOWN, "ﾈｯﾄﾜｰｸの相手に届きません"},
    {EHOSTUNREACH, "ﾈｯﾄﾜｰｸの相手に届きません"},
    {ENOMEM, "ﾒﾓﾘが足りません"},
    {EMFILE, "開いているﾌｧｲﾙが多すぎます"},
    {ENFILE, "開いているﾌｧｲﾙが多すぎます"},
    {EINVAL, "このﾌｧｲﾙｼｽﾃﾑではできない操作です"},
    {EOPNOTSUPP, "このﾌｧｲﾙｼｽﾃﾑではできない操作です"},
};

}  // namespace

QString Japanese_System_Error(int errnoValue)
{
    for (const Reason& r : Reasons)
        if (r.code == errnoValue)
            return QString::fromUtf8(r.text);
    return QStringLiteral("ｼｽﾃﾑｴﾗｰ %1").arg(errnoValue);
}

}  // namespace pf
