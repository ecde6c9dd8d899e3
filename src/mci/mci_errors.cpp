// SPDX-License-Identifier: GPL-3.0-or-later
#include "mci/mci_errors.h"

namespace pf {
namespace {

struct Error_Entry {
    std::uint32_t code;
    std::string_view text;
};

// The one table of codes and texts, worded for this program's users (a description fills at
// most 254 bytes of UTF-8, the room callers give it).
constexpr Error_Entry Error_Table[] = {
    {MCIERR_INVALID_DEVICE_ID, "ﾒﾃﾞｨｱ ﾃﾞﾊﾞｲｽの ID が正しくありません。"},
    {MCIERR_UNRECOGNIZED_KEYWORD, "ｺﾏﾝﾄﾞの指定に、ﾃﾞﾊﾞｲｽが知らない語があります。"},
    {MCIERR_UNRECOGNIZED_COMMAND, "ﾃﾞﾊﾞｲｽが知らないｺﾏﾝﾄﾞです。"},
    {MCIERR_HARDWARE, "ﾒﾃﾞｨｱ ﾃﾞﾊﾞｲｽに問題があります。音声と映像の出力を確かめてください。"},
    {MCIERR_INVALID_DEVICE_NAME, "指定したﾃﾞﾊﾞｲｽは開かれていないか、ありません。"},
    {MCIERR_OUT_OF_MEMORY, "ﾒﾓﾘが足りません。ほかのｱﾌﾟﾘｹｰｼｮﾝを終了してから、もう一度試してください。"},
    {MCIERR_DEVICE_OPEN, "そのﾃﾞﾊﾞｲｽ名は別名として使われています。別の名前を使ってください。"},
    {MCIERR_CANNOT_LOAD_DRIVER, "ﾃﾞﾊﾞｲｽ ﾄﾞﾗｲﾊﾞを読み込めませんでした。"},
    {MCIERR_MISSING_COMMAND_STRING, "ｺﾏﾝﾄﾞが指定されていません。"},
    {MCIERR_PARAM_OVERFLOW, "答えが長すぎて、受け取る場所に入りません。"},
    {MCIERR_MISSING_STRING_ARGUMENT, "このｺﾏﾝﾄﾞには文字列の指定が必要です。"},
    {MCIERR_BAD_INTEGER, "このｺﾏﾝﾄﾞには使えない整数です。"},
    {MCIERR_PARSER_INTERNAL, "ﾃﾞﾊﾞｲｽの答えを読み取れませんでした。"},
    {MCIERR_DRIVER_INTERNAL, "ﾃﾞﾊﾞｲｽ ﾄﾞﾗｲﾊﾞの内部で問題が起きました。"},
    {MCIERR_MISSING_PARAMETER, "このｺﾏﾝﾄﾞには指定が必要です。"},
    {MCIERR_UNSUPPORTED_FUNCTION, "このﾃﾞﾊﾞｲｽはそのｺﾏﾝﾄﾞに対応していません。"},
    {MCIERR_FILE_NOT_FOUND, "ﾌｧｲﾙが見つかりません。ﾊﾟｽとﾌｧｲﾙ名が正しいか確かめてください。"},
    {MCIERR_DEVICE_NOT_READY, "ﾃﾞﾊﾞｲｽの準備ができていません。"},
    {MCIERR_INTERNAL, "再生の仕組みを準備できませんでした。ﾌﾟﾛｸﾞﾗﾑを起動し直してください。"},
    {MCIERR_DRIVER, "ﾃﾞﾊﾞｲｽ ﾄﾞﾗｲﾊﾞが止まりました。ﾌｧｲﾙをもう一度開いてください。"},
    {MCIERR_CANNOT_USE_ALL, "このｺﾏﾝﾄﾞには all をﾃﾞﾊﾞｲｽ名として使えません。"},
    {MCIERR_EXTENSION_NOT_FOUND, "ﾌｧｲﾙの拡張子からﾃﾞﾊﾞｲｽの種類が分かりません。"},
    {MCIERR_OUTOFRANGE, "指定した値がこのｺﾏﾝﾄﾞで使える範囲を超えています。"},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "一緒には使えない指定があります。"},
    {MCIERR_DUPLICATE_ALIAS, "その別名はこのﾌﾟﾛｸﾞﾗﾑで使用中です。別の名前を使ってください。"},
    {MCIERR_BAD_CONSTANT, "このｺﾏﾝﾄﾞには使えない指定です。"},
    {MCIERR_MISSING_DEVICE_NAME, "このｺﾏﾝﾄﾞには別名、ﾌｧｲﾙ名またはﾃﾞﾊﾞｲｽ名が必要です。"},
    {MCIERR_BAD_TIME_FORMAT, "時間の単位の指定が正しくありません。"},
    {MCIERR_NO_CLOSING_QUOTE, "閉じる二重引用符がありません。"},
    {MCIERR_DUPLICATE_FLAGS, "同じ指定が二度あります。一度だけにしてください。"},
    {MCIERR_INVALID_FILE, "このﾌｧｲﾙは再生できません。壊れているか、対応していない形式です。"},
    {MCIERR_EXTRA_CHARACTERS, "引用符で囲んだ文字列の後に余分な文字があります。"},
    {MCIERR_NO_WINDOW, "映像を表示するｳｨﾝﾄﾞｳがありません。"},
    {MCIERR_CREATEWINDOW, "映像を表示するｳｨﾝﾄﾞｳを作れませんでした。"},
    {MCIERR_FILE_READ, "ﾌｧｲﾙを読めません。ﾌｧｲﾙがまだあるか、ﾃﾞｨｽｸやﾈｯﾄﾜｰｸの接続を確かめてください。"},
    {MCIERR_NO_ANSWER, "ﾌｧｲﾙのあるﾄﾞﾗｲﾌﾞから応答がありません。ﾃﾞｨｽｸやﾈｯﾄﾜｰｸの接続を確かめて、もう一度開いてください。"},
};

}  // namespace

std::string_view Mci_Error_Text(std::uint32_t code)
{
    for (const Error_Entry& e : Error_Table)
        if (e.code == code)
            return e.text;
    return {};
}

}  // namespace pf
