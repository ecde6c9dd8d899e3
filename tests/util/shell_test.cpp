// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/shell.h"

#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace pf;

TEST(AppFolder, ExecutableFolderOrFallback)
{
    test::Temp_Dir dir;
    const QString exe = dir.Mkdir(QStringLiteral("bin"));
    const QString fallback = dir.File(QStringLiteral("home/.local/share/Parlo_film"));
    EXPECT_EQ(Resolve_App_Folder(exe, fallback), exe);
    EXPECT_FALSE(QFileInfo::exists(fallback));  // nothing made when not needed

    EXPECT_EQ(Resolve_App_Folder(dir.File(QStringLiteral("missing")), fallback), fallback);
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_EQ(QDir(exe).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

    EXPECT_EQ(Resolve_App_Folder(QString(), dir.Write(QStringLiteral("file"), "x")), QString());
    EXPECT_TRUE(Fallback_App_Folder().endsWith(QStringLiteral("/Parlo_film")));
}

TEST(AppFolder, FolderWhereNoFileCanBeCreated)
{
    // Nobody, root included, creates files in /proc: the program then keeps its files in the fallback.
    test::Temp_Dir dir;
    const QString fallback = dir.File(QStringLiteral("data"));
    EXPECT_EQ(Resolve_App_Folder(QStringLiteral("/proc"), fallback), fallback);
}

TEST(Trash, MovesFilesAndReportsFailure)
{
    // Test mode puts the data folder (and so the trash) under ~/.qttest, which may not exist yet.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    test::Temp_Dir dir;
    const QString name = QStringLiteral("trash me %1.mpg").arg(QCoreApplication::applicationPid());
    const QString a = dir.Write(name, "a");
    EXPECT_EQ(Send_To_Recycle_Bin({a}), 0);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/Trash/files/") + name));
    EXPECT_EQ(Send_To_Recycle_Bin({dir.File(QStringLiteral("gone.mpg"))}), 1);
    QFile::remove(data + QStringLiteral("/Trash/files/") + name);
    QFile::remove(data + QStringLiteral("/Trash/info/") + name + QStringLiteral(".trashinfo"));
}
