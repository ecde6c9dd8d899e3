// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where a system error (an errno value, as the file helpers report it) becomes
// the text a user reads inside our messages: Japanese, short, about what the user can do.
// Every message that names why a file operation failed takes its reason from here.
#pragma once

#include <QString>

namespace pf {

// The reason for `errnoValue` in Japanese; a code without its own wording is named by number.
QString Japanese_System_Error(int errnoValue);

}  // namespace pf
