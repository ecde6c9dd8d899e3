// SPDX-License-Identifier: GPL-3.0-or-later
// Where the files of a list stand, each distinct folder looked into once (and, for more than a
// handful of names, listed once): a long list costs about what listing its folders costs.
// Presence_Within asks the folders at the same time, each on a thread of its own, and gives up
// on a folder that has answered nothing for a bound (a sleeping or dead drive; a slow one that
// goes on answering is waited for): its files count as Unknown, and until its check returns a
// later call counts them so at once, without asking again. Both block their caller: call them off the GUI thread. Plain
// functions; the threads they leave behind own what they use.
#pragma once

#include <QByteArray>
#include <QList>

namespace pf {

// Present when something other than a folder is there, readable or not; Gone when its folder is
// there without it (deleted or moved); Unknown when its folder is missing, cannot be looked
// into or does not answer (an unmounted drive, a dangling link, a hung share): nothing is known.
enum class Presence { Present, Gone, Unknown };

// The presence of each of `paths` (as the system spells them, each followed by a NUL as in any
// QByteArray that owns its bytes), in order.
QList<Presence> Presence_Of(const QList<QByteArray>& paths);

// The same, giving each folder at most `boundMs` without an answer.
QList<Presence> Presence_Within(const QList<QByteArray>& paths, int boundMs);

}  // namespace pf
