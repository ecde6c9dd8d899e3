// SPDX-License-Identifier: GPL-3.0-or-later
// This system's own media-control service, standing in for the platform's command-string
// interface: it parses a command string, opens devices by device type and keeps them by alias,
// and writes the reply into the caller's buffer within the reply room given. One process-wide
// instance, used on the GUI thread only. Device types are registered at start-up.
#pragma once

#include "mci/mci_device.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>

namespace pf {

// Writes the text of `reply` with its closing NUL into `buffer` if it fits in `room` bytes;
// MCIERR_PARAM_OVERFLOW when it does not. A null buffer or a room of 0 takes no reply.
std::uint32_t Format_Reply(const Mci_Reply& reply, char* buffer, std::uint32_t room);

class Mci_Service {
public:
    static Mci_Service& Instance();

    // Makes `type` openable ("open f type <type>"), and by file extension ("open f.mpg").
    void Register_Device_Type(const QString& type, const QStringList& extensions, Mci_Driver driver);
    bool Has_Device_Type(const QString& type) const;

    // The command-string call: 0 or an Mci_Error code; the reply goes to `reply`.
    std::uint32_t Send_String(const QByteArray& command, char* reply, std::uint32_t room);
    // The same for Qt callers; `reply` receives the text before the first NUL.
    std::uint32_t Send_String(const QString& command, QString* reply = nullptr, std::uint32_t room = 0);

    // The error-string call: the description of `code`, cut to fit `room` with its NUL;
    // false (and an empty text) for a code the service never returns.
    static bool Get_Error_String(std::uint32_t code, char* text, std::uint32_t room);

    int Open_Device_Count() const { return int(devices_.size()); }
    void Close_All() { devices_.clear(); }

private:
    std::uint32_t Open(const Mci_Command& command);

    struct Type_Entry {
        QString name;
        QStringList extensions;
        Mci_Driver driver;
    };
    std::map<QString, Type_Entry> types_;                     // key: type name in lower case
    std::map<QString, std::unique_ptr<Mci_Device>> devices_;  // key: alias in lower case
};

}  // namespace pf
