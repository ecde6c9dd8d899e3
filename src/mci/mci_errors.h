// SPDX-License-Identifier: GPL-3.0-or-later
// The media-control error codes this system's service returns (numbered as the platform numbers
// them), with their descriptions in Japanese, as the error-string function gives them.
// Plain C++ without Qt, so the command parser and its fuzz target can use it as well.
#pragma once

#include <cstdint>
#include <string_view>

namespace pf {

// Codes as the platform numbers them (error base 256).
enum Mci_Error : std::uint32_t {
    MCI_OK = 0,
    MCIERR_INVALID_DEVICE_ID = 257,
    MCIERR_UNRECOGNIZED_KEYWORD = 259,
    MCIERR_UNRECOGNIZED_COMMAND = 261,
    MCIERR_HARDWARE = 262,
    MCIERR_INVALID_DEVICE_NAME = 263,
    MCIERR_OUT_OF_MEMORY = 264,
    MCIERR_DEVICE_OPEN = 265,
    MCIERR_CANNOT_LOAD_DRIVER = 266,
    MCIERR_MISSING_COMMAND_STRING = 267,
    MCIERR_PARAM_OVERFLOW = 268,
    MCIERR_MISSING_STRING_ARGUMENT = 269,
    MCIERR_BAD_INTEGER = 270,
    MCIERR_PARSER_INTERNAL = 271,
    MCIERR_DRIVER_INTERNAL = 272,
    MCIERR_MISSING_PARAMETER = 273,
    MCIERR_UNSUPPORTED_FUNCTION = 274,
    MCIERR_FILE_NOT_FOUND = 275,
    MCIERR_DEVICE_NOT_READY = 276,
    MCIERR_INTERNAL = 277,
    MCIERR_DRIVER = 278,
    MCIERR_CANNOT_USE_ALL = 279,
    MCIERR_EXTENSION_NOT_FOUND = 281,
    MCIERR_OUTOFRANGE = 282,
    MCIERR_FLAGS_NOT_COMPATIBLE = 284,
    MCIERR_DUPLICATE_ALIAS = 289,
    MCIERR_BAD_CONSTANT = 290,
    MCIERR_MISSING_DEVICE_NAME = 292,
    MCIERR_BAD_TIME_FORMAT = 293,
    MCIERR_NO_CLOSING_QUOTE = 294,
    MCIERR_DUPLICATE_FLAGS = 295,
    MCIERR_INVALID_FILE = 296,
    MCIERR_EXTRA_CHARACTERS = 305,
    MCIERR_NO_WINDOW = 346,
    MCIERR_CREATEWINDOW = 347,
    MCIERR_FILE_READ = 348,
    // The first of the codes a driver may give of its own.
    MCIERR_NO_ANSWER = 512,  // the drive or the file did not answer in time
};

// The description of `code` (UTF-8); empty for a code the service never returns.
std::string_view Mci_Error_Text(std::uint32_t code);

}  // namespace pf
