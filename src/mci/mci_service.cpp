// SPDX-License-Identifier: GPL-3.0-or-later
#include "mci/mci_service.h"

#include "mci/mci_errors.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstring>
#include <vector>

namespace pf {

Mci_Reply Mci_Reply::Integer(qint64 n)
{
    Mci_Reply r;
    r.kind = Kind::Integer;
    r.number = n;
    return r;
}

Mci_Reply Mci_Reply::Text(const QByteArray& text)
{
    Mci_Reply r;
    r.kind = Kind::Text;
    r.text = text;
    return r;
}

Mci_Reply Mci_Reply::Rectangle(qint64 x, qint64 y, qint64 w, qint64 h)
{
    Mci_Reply r;
    r.kind = Kind::Rect;
    r.rect[0] = x;
    r.rect[1] = y;
    r.rect[2] = w;
    r.rect[3] = h;
    return r;
}

std::uint32_t Format_Reply(const Mci_Reply& reply, char* buffer, std::uint32_t room)
{
    if (!buffer || room == 0)
        return MCI_OK;
    QByteArray text;
    switch (reply.kind) {
    case Mci_Reply::Kind::None: break;
    case Mci_Reply::Kind::Integer: text = QByteArray::number(reply.number); break;
    case Mci_Reply::Kind::Text: text = reply.text; break;
    case Mci_Reply::Kind::Rect:
        text = QByteArray::number(reply.rect[0]) + ' ' + QByteArray::number(reply.rect[1]) + ' '
            + QByteArray::number(reply.rect[2]) + ' ' + QByteArray::number(reply.rect[3]);
        break;
    }
    if (std::uint32_t(text.size()) + 1 > room) {
        buffer[0] = '\0';
        return MCIERR_PARAM_OVERFLOW;
    }
    std::memcpy(buffer, text.constData(), size_t(text.size()));
    buffer[text.size()] = '\0';
    return MCI_OK;
}

Mci_Service& Mci_Service::Instance()
{
    static Mci_Service service;
    static const bool closesAtExit = [] {
        // Devices own windows and players, which must go while the application still exists.
        qAddPostRoutine([] { Instance().Close_All(); });
        return true;
    }();
    Q_UNUSED(closesAtExit);
    return service;
}

void Mci_Service::Register_Device_Type(const QString& type, const QStringList& extensions, Mci_Driver driver)
{
    types_[type.toLower()] = Type_Entry{type, extensions, std::move(driver)};
}

bool Mci_Service::Has_Device_Type(const QString& type) const
{
    return types_.count(type.toLower()) > 0;
}

std::uint32_t Mci_Service::Send_String(const QByteArray& command, char* reply, std::uint32_t room)
{
    if (reply && room > 0)
        reply[0] = '\0';
    const Mci_Parse_Result parsed = Parse_Mci_Command(std::string_view(command.constData(), size_t(command.size())));
    const Mci_Command& cmd = parsed.command;
    const QString alias = QString::fromStdString(cmd.device).toLower();
    const bool isOpen = devices_.count(alias) > 0;
    const bool closesAnOpening = cmd.verb == Mci_Verb::Close && opening_.count(alias) > 0;
    // Like the platform, a command for a device that is not open fails for that reason first.
    if (parsed.hasDevice && cmd.verb != Mci_Verb::Open && alias != QLatin1String("all") && !isOpen && !closesAnOpening)
        return MCIERR_INVALID_DEVICE_NAME;
    if (parsed.code != MCI_OK)
        return parsed.code;
    if (cmd.verb == Mci_Verb::Open)
        return Open(cmd);
    if (cmd.verb == Mci_Verb::Close) {
        if (alias == QLatin1String("all"))
            Close_All();
        else
            Close(alias);
        return MCI_OK;
    }
    if (!isOpen)
        return MCIERR_CANNOT_USE_ALL;
    const std::shared_ptr<Mci_Device> device = devices_[alias].device;
    if (busy_[device.get()] > 0)
        return MCIERR_DEVICE_NOT_READY;
    Mci_Reply value;
    ++busy_[device.get()];
    const std::uint32_t code = device->Execute(cmd, value);
    if (--busy_[device.get()] == 0)
        busy_.erase(device.get());
    return code != MCI_OK ? code : Format_Reply(value, reply, room);
}

void Mci_Service::Close(const QString& alias)
{
    if (const auto opening = opening_.find(alias); opening != opening_.end()) {
        const std::shared_ptr<Wait_Token> token = opening->second;
        opening_.erase(opening);
        token->End();
    }
    const auto it = devices_.find(alias);
    if (it == devices_.end())
        return;
    const Open_Device closed = it->second;  // a call under way keeps the device until it returns
    devices_.erase(it);
    closed.token->End();
}

void Mci_Service::Close_All()
{
    QStringList aliases;
    for (const auto& [alias, token] : opening_)
        aliases << alias;
    for (const auto& [alias, device] : devices_)
        aliases << alias;
    for (const QString& alias : aliases)
        Close(alias);
}

std::uint32_t Mci_Service::Send_String(const QString& command, QString* reply, std::uint32_t room)
{
    std::vector<char> buffer(std::size_t(room) + 1, '\0');
    const std::uint32_t code = Send_String(command.toUtf8(), reply ? buffer.data() : nullptr, reply ? room : 0);
    if (reply)
        *reply = QString::fromUtf8(buffer.data());
    return code;
}

std::uint32_t Mci_Service::Open(const Mci_Command& cmd)
{
    const Mci_Flag* aliasFlag = cmd.Find("alias");
    const QString alias = aliasFlag ? QString::fromStdString(aliasFlag->word) : QString::fromStdString(cmd.device);
    const QString key = alias.toLower();
    if (devices_.count(key) || opening_.count(key))
        return aliasFlag ? MCIERR_DUPLICATE_ALIAS : MCIERR_DEVICE_OPEN;
    const Type_Entry* type = nullptr;
    if (const Mci_Flag* t = cmd.Find("type")) {
        const auto it = types_.find(QString::fromStdString(t->word).toLower());
        if (it == types_.end())
            return MCIERR_INVALID_DEVICE_NAME;
        type = &it->second;
    } else {
        const QString ext = QFileInfo(QString::fromStdString(cmd.device)).suffix();
        for (const auto& [key, entry] : types_)
            if (!ext.isEmpty() && entry.extensions.contains(ext, Qt::CaseInsensitive))
                type = &entry;
        if (!type)
            return MCIERR_EXTENSION_NOT_FOUND;
    }
    Mci_Open_Request request;
    request.element = QByteArray::fromStdString(cmd.device);
    request.alias = alias;
    if (const Mci_Flag* parent = cmd.Find("parent"))
        request.parent = std::uint32_t(parent->number[0]);
    std::uint32_t error = MCI_OK;
    opening_[key] = request.token;
    const Mci_Driver driver = type->driver;  // the call may wait
    std::unique_ptr<Mci_Device> device = driver(request, error);
    // Closed while it opened (the alias may be another open's by now): the device goes here.
    if (const auto it = opening_.find(key); it == opening_.end() || it->second != request.token)
        return MCIERR_DEVICE_NOT_READY;
    opening_.erase(key);
    if (!device)
        return error != MCI_OK ? error : MCIERR_CANNOT_LOAD_DRIVER;
    devices_[key] = {std::move(device), request.token};
    return MCI_OK;
}

bool Mci_Service::Get_Error_String(std::uint32_t code, char* text, std::uint32_t room)
{
    if (!text || room == 0)
        return false;
    // A code without description has no text at all (and no pointer to copy from).
    const std::string_view description = Mci_Error_Text(code);
    size_t n = std::min<size_t>(description.size(), room - 1);
    while (n > 0 && n < description.size() && (description[n] & 0xC0) == 0x80)
        --n;  // a short room ends before a character, not inside it
    if (n > 0)
        std::memcpy(text, description.data(), n);
    text[n] = '\0';
    return !description.empty();
}

}  // namespace pf
