// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/single_instance.h"

#include "support/temp_dir.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pf;

TEST(Single_Instance, One_Owner_Per_Folder_Raised_By_A_Second_Start)
{
    test::Temp_Dir dir;
    const QString other = dir.Mkdir(QStringLiteral("other"));
    auto first = std::make_unique<Single_Instance>(dir.Path());
    ASSERT_TRUE(first->Acquire());
    QSignalSpy raised(first.get(), &Single_Instance::raiseRequested);

    // Another spelling of the same folder is the same folder; another folder is free.
    Single_Instance second(dir.Path() + QStringLiteral("/other/.."));
    EXPECT_FALSE(second.Acquire());
    EXPECT_EQ(Single_Instance::Server_Name(dir.Path()), Single_Instance::Server_Name(dir.Path() + u'/'));
    second.Ask_Owner_To_Raise();
    EXPECT_TRUE(raised.wait(5000));
    EXPECT_TRUE(Single_Instance(other).Acquire());

    // The lock goes with its owner (a crashed process's with its process): the next start owns it.
    first.reset();
    Single_Instance third(dir.Path());
    EXPECT_TRUE(third.Acquire());
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 0);  // only the hidden lock
}
