// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pf::test {

Temp_Dir::Temp_Dir() : path_(dir_.path()) {}

QString Temp_Dir::File(const QString& name) const
{
    return path_ + u'/' + name;
}

QString Temp_Dir::Write(const QString& name, const QByteArray& bytes) const
{
    const QString p = File(name);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(p));
    return p;
}

QString Temp_Dir::Mkdir(const QString& name) const
{
    const QString p = File(name);
    QDir().mkpath(p);
    return p;
}

QByteArray Read_All(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

}  // namespace pf::test
