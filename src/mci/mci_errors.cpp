#include "mci/mci_errors.h"

namespace pf {
namespace {

struct Error_Entry {
    std::uint32_t code;
    std::string_view text;
};

// The one table of codes and texts; the texts are the platform's own English descriptions.
constexpr Error_Entry Error_Table[] = {
    {MCIERR_INVALID_DEVICE_ID, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "The driver cannot recognize the specified command parameter."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The driver cannot recognize the specified command."},
    {MCIERR_HARDWARE,
     "There is a problem with your media device. Make sure it is working correctly or "
     "contact the device manufacturer."},
    {MCIERR_INVALID_DEVICE_NAME, "The specified device is not open or is not recognized by MCI."},
    {MCIERR_OUT_OF_MEMORY,
     "Not enough memory available for this task. Quit one or more applications to "
     "increase available memory, and then try again."},
    {MCIERR_DEVICE_OPEN,
     "The device name is already being used as an alias by this application. Use a "
     "unique alias."},
    {MCIERR_CANNOT_LOAD_DRIVER, "There is an undetectable problem in loading the specified device driver."},
    {MCIERR_MISSING_COMMAND_STRING, "No command was specified."},
    {MCIERR_PARAM_OVERFLOW,
     "The output string was too large to fit in the return buffer. Increase the size "
     "of the buffer."},
    {MCIERR_MISSING_STRING_ARGUMENT,
     "The specified command requires a character-string parameter. Please "
     "provide one."},
    {MCIERR_BAD_INTEGER, "The specified integer is invalid for this command."},
    {MCIERR_PARSER_INTERNAL,
     "The device driver returned an invalid return type. Check with the device "
     "manufacturer about obtaining a new driver."},
    {MCIERR_DRIVER_INTERNAL,
     "There is a problem with the device driver. Check with the device manufacturer "
     "about obtaining a new driver."},
    {MCIERR_MISSING_PARAMETER, "The specified command requires a parameter. Please supply one."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The MCI device you are using does not support the specified command."},
    {MCIERR_FILE_NOT_FOUND, "Cannot find the specified file. Make sure the path and filename are correct."},
    {MCIERR_DEVICE_NOT_READY, "The device driver is not ready."},
    {MCIERR_INTERNAL, "A problem occurred in initializing MCI. Try restarting Windows."},
    {MCIERR_DRIVER, "There is a problem with the device driver. The driver has closed. Cannot access error."},
    {MCIERR_CANNOT_USE_ALL, "Cannot use 'all' as the device name with the specified command."},
    {MCIERR_EXTENSION_NOT_FOUND, "Cannot determine the device type from the given filename extension."},
    {MCIERR_OUTOFRANGE, "The specified parameter is out of range for the specified command."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The specified parameters cannot be used together."},
    {MCIERR_DUPLICATE_ALIAS,
     "The specified alias is already being used in this application. Use a unique "
     "alias."},
    {MCIERR_BAD_CONSTANT, "The specified parameter is invalid for this command."},
    {MCIERR_MISSING_DEVICE_NAME,
     "The specified command requires an alias, file, driver, or device name. "
     "Please supply one."},
    {MCIERR_BAD_TIME_FORMAT,
     "The specified value for the time format is invalid. Refer to the MCI "
     "documentation for valid formats."},
    {MCIERR_NO_CLOSING_QUOTE,
     "A closing double-quotation mark is missing from the parameter value. Please "
     "supply one."},
    {MCIERR_DUPLICATE_FLAGS, "A parameter or value was specified twice. Only specify it once."},
    {MCIERR_INVALID_FILE,
     "The specified file cannot be played on the specified MCI device. The file may be "
     "corrupt, or not in the correct format."},
    {MCIERR_EXTRA_CHARACTERS, "Cannot specify extra characters after a string enclosed in quotation marks."},
    {MCIERR_NO_WINDOW, "There is no display window."},
    {MCIERR_CREATEWINDOW, "Could not create or use window."},
    {MCIERR_FILE_READ,
     "Cannot read the specified file. Make sure the file is still present, or check your "
     "disk or network connection."},
};

}  // namespace

std::string_view Mci_Error_Text(std::uint32_t code)
{
    for (const Error_Entry& e : Error_Table)
        if (e.code == code)
            return e.text;
    return {};
}

}  // namespace pf
