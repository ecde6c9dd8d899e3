// SPDX-License-Identifier: GPL-3.0-or-later
// Waits for what the program finishes beside the event loop: the groups of a start and a group
// switch, whose entries are checked on a worker thread, and a window busy with either.
#pragma once

#include "core/finished_list.h"
#include "core/main_state.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

constexpr int Wait_Ms = 20000;

inline void Start_Up(Main_State& state)
{
    QSignalSpy up(&state, &Main_State::groupsRestored);
    state.Start_Up();
    EXPECT_TRUE(!up.isEmpty() || up.wait(Wait_Ms));
}

// Switch_Group, and the switch's end when it began.
inline bool Switch_Group(Finished_List& list, int group)
{
    const bool began = list.Switch_Group(group);
    EXPECT_TRUE(!began || QTest::qWaitFor([&] { return !list.Switching(); }, Wait_Ms));
    return began;
}

// Until the main window takes input again.
template <class Window>
void Until_Idle(Window& window)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Busy(); }, Wait_Ms));
}

}  // namespace pf::test
