// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder per test, removed afterwards, with small helpers to make and read files.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace pf::test {

class Temp_Dir {
public:
    Temp_Dir();
    const QString& Path() const { return path_; }
    // Path() + "/" + name.
    QString File(const QString& name) const;
    // Writes `bytes` to `name` (creating sub-folders) and returns the full path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QString Mkdir(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

QByteArray Read_All(const QString& path);

}  // namespace pf::test
