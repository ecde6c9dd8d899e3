// SPDX-License-Identifier: GPL-3.0-or-later
// What the media-control service asks of a device type: a driver that opens one element under
// an alias, and the open device that carries out parsed commands. Replies are values; the
// service alone turns them into reply text. A device may wait (for a slow disk, say) through
// Wait_Until on the token of its open request: a "close" arriving meanwhile ends that token, so
// that every wait of the device, opening or not, ends at once, and the service destroys the
// device only once its call has returned.
#pragma once

#include "mci/mci_parser.h"
#include "util/wait.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace pf {

struct Mci_Reply {
    enum class Kind { None, Integer, Text, Rect };
    Kind kind = Kind::None;
    qint64 number = 0;
    QByteArray text;  // UTF-8
    qint64 rect[4] = {};

    static Mci_Reply Integer(qint64 n);
    static Mci_Reply Text(const QByteArray& text);
    static Mci_Reply Rectangle(qint64 x, qint64 y, qint64 w, qint64 h);
};

struct Mci_Open_Request {
    QByteArray element;  // file name bytes as written in the command
    QString alias;
    quint64 parent = 0;  // native window to draw into; 0 for none
    // Ends when the alias is closed; the device's waits end with it.
    std::shared_ptr<Wait_Token> token = std::make_shared<Wait_Token>();
};

class Mci_Device {
public:
    virtual ~Mci_Device() = default;
    // Carries out every command but "open" and "close"; returns 0 or an Mci_Error code.
    virtual std::uint32_t Execute(const Mci_Command& command, Mci_Reply& reply) = 0;
};

// Opens a device or sets `error` and returns null.
using Mci_Driver = std::function<std::unique_ptr<Mci_Device>(const Mci_Open_Request& request, std::uint32_t& error)>;

}  // namespace pf
