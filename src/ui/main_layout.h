// SPDX-License-Identifier: GPL-3.0-or-later
// Where every control of the main window lies, in pixels relative to its container, and
// what the two layouts change. Plain data, so that tests check the window against it.
#pragma once

#include "core/settings.h"
#include "lists/command_labels.h"

#include <QRect>

namespace pf {

// The containers of the main window's controls.
enum class Place_In { Window, Body, Input_Page, Joined_Page, Favorite_Page };

namespace geo {

constexpr int Head_Height = 20;  // the body starts here; the strip picture is 22 high
constexpr QRect Image_head{0, 0, 803, 22};
constexpr QRect Img_Skin[2] = {{8, 4, 18, 16}, {28, 4, 18, 16}};
constexpr QRect lbl_h{56, 4, 285, 13};
constexpr QRect ImgExit{780, 4, 15, 15};

constexpr QRect Pic_B{0, 20, 805, 549};
constexpr QRect Pic_C[3] = {{12, 12, 469, 177}, {12, 200, 469, 333}, {412, 200, 377, 333}};
// Heading plates and their captions, on pages 0, 1, 2.
constexpr QRect Img_T[3] = {{12, 8, 95, 22}, {12, 12, 95, 22}, {12, 12, 95, 22}};
constexpr QRect Plate_Caption[3] = {{12, 12, 95, 13}, {12, 16, 95, 13}, {12, 16, 95, 13}};
constexpr QRect Lists[3] = {{12, 36, 349, 95}, {12, 40, 349, 160}, {12, 40, 349, 160}};
// Order markers and their captions, the same on the joined and the favourites page.
constexpr QRect Play[2] = {{264, 20, 13, 13}, {312, 20, 13, 13}};
constexpr QRect lbl_Play[2] = {{280, 20, 26, 13}, {328, 20, 32, 13}};
constexpr QRect lbl_G[2] = {{12, 232, 37, 13}, {16, 232, 37, 13}};
constexpr QRect Pic_G[2] = {{8, 248, 353, 73}, {12, 248, 353, 73}};
constexpr int Group_Button_Size = 13;

// A group button's place in its panel: four rows of twenty, an extra gap after every fifth.
constexpr QPoint Group_Button_At(int i)
{
    const int col = i % 20, row = i / 20;
    return {4 + 16 * col + 8 * (col / 5), 4 + 16 * row};
}

struct Command_Place {
    Cmd index;
    Place_In in;
    QRect label;  // the picture lies 4 pixels higher, as wide, 22 high (arrows: 20)
};

// The command labels; the picture under each is Command_Picture(place).
constexpr Command_Place Commands[] = {
    {Cmd_Add_Files, Place_In::Input_Page, {368, 40, 85, 17}},
    {Cmd_Add_Folder, Place_In::Input_Page, {368, 68, 85, 17}},
    {Cmd_Play_Input, Place_In::Input_Page, {12, 144, 85, 17}},
    {Cmd_Remove_Input, Place_In::Input_Page, {100, 144, 85, 17}},
    {Cmd_Rename_Input, Place_In::Input_Page, {188, 144, 85, 17}},
    {Cmd_Clear_Input, Place_In::Input_Page, {276, 144, 85, 17}},
    {Cmd_Join, Place_In::Input_Page, {368, 144, 85, 17}},
    {Cmd_Play_Joined, Place_In::Joined_Page, {12, 212, 85, 17}},
    {Cmd_Remove_Joined, Place_In::Joined_Page, {100, 212, 85, 17}},
    {Cmd_Rename_Joined, Place_In::Joined_Page, {188, 212, 85, 17}},
    {Cmd_Clear_Joined, Place_In::Joined_Page, {276, 212, 85, 17}},
    {Cmd_Continuous_Joined, Place_In::Joined_Page, {168, 16, 85, 17}},
    {Cmd_Play_Favorite, Place_In::Favorite_Page, {12, 212, 85, 17}},
    {Cmd_Remove_Favorite, Place_In::Favorite_Page, {100, 212, 85, 17}},
    {Cmd_Rename_Favorite, Place_In::Favorite_Page, {188, 212, 85, 17}},
    {Cmd_Clear_Favorite, Place_In::Favorite_Page, {276, 212, 85, 17}},
    {Cmd_Continuous_Favorite, Place_In::Favorite_Page, {168, 16, 85, 17}},
    {Cmd_Join_Settings, Place_In::Joined_Page, {368, 152, 85, 17}},
    {Cmd_Move_Right, Place_In::Body, {392, 300, 17, 17}},
    {Cmd_Move_Left, Place_In::Body, {392, 324, 17, 17}},
    {Cmd_Join_Settings_Body, Place_In::Body, {492, 44, 95, 17}},
    {Cmd_Play_Settings_Body, Place_In::Body, {492, 72, 95, 17}},
    {Cmd_Exit_Save_Body, Place_In::Body, {492, 140, 95, 17}},
    {Cmd_Cancel_Body, Place_In::Body, {492, 168, 95, 17}},
    {Cmd_Play_Settings, Place_In::Joined_Page, {368, 180, 85, 17}},
    {Cmd_Exit_Save, Place_In::Joined_Page, {368, 276, 85, 17}},
    {Cmd_Cancel, Place_In::Joined_Page, {368, 304, 85, 17}},
};

constexpr QRect Command_Picture(const Command_Place& c)
{
    const bool arrow = c.index == Cmd_Move_Right || c.index == Cmd_Move_Left;
    return {c.label.left(), c.label.top() - 4, arrow ? 18 : c.label.width(), arrow ? 20 : 22};
}

}  // namespace geo

// What each layout sets.
struct Main_Layout {
    bool wide;
    int bodyWidth;
    int headWidth;
    int exitLeft;
    int joinedWidth;
};

constexpr Main_Layout Layout_For(Layout layout)
{
    return layout == Layout::Wide ? Main_Layout{true, 805, 803, 780, 377} : Main_Layout{false, 497, 495, 472, 469};
}

// The window commands shown by each layout: on the body when wide, on the joined page when compact.
constexpr Cmd Wide_Commands[4] = {Cmd_Join_Settings_Body, Cmd_Play_Settings_Body, Cmd_Exit_Save_Body, Cmd_Cancel_Body};
constexpr Cmd Compact_Commands[4] = {Cmd_Join_Settings, Cmd_Play_Settings, Cmd_Exit_Save, Cmd_Cancel};

}  // namespace pf
