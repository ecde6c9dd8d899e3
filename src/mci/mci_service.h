// SPDX-License-Identifier: GPL-3.0-or-later
// This system's own media-control service, standing in for the platform's command-string
// interface: it parses a command string, opens devices by device type and keeps them by alias,
// and writes the reply into the caller's buffer within the reply room given. One process-wide
// instance, used on the GUI thread only. Device types are registered at start-up.
// A device's call may wait (Wait_Until), so commands can arrive while another is under way: a
// command for a device busy with one fails with MCIERR_DEVICE_NOT_READY, except "close", which
// frees the alias at once and ends the device's token, and with it the call's wait; so does a
// close of an alias still opening, whose open then fails with MCIERR_DEVICE_NOT_READY. A closed
// device is destroyed once no call of it is under way.
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
    void Close_All();

private:
    std::uint32_t Open(const Mci_Command& command);
    void Close(const QString& alias);

    struct Type_Entry {
        QString name;
        QStringList extensions;
        Mci_Driver driver;
    };
    std::map<QString, Type_Entry> types_;  // key: type name in lower case
    struct Open_Device {
        std::shared_ptr<Mci_Device> device;  // a call under way holds it too
        std::shared_ptr<Wait_Token> token;
    };
    // Keys: alias in lower case.
    std::map<QString, Open_Device> devices_;
    std::map<QString, std::shared_ptr<Wait_Token>> opening_;
    std::map<const Mci_Device*, int> busy_;  // calls under way per device
};

}  // namespace pf
