// SPDX-License-Identifier: GPL-3.0-or-later
// Parser of media-control command strings: verb, device name, then keyword phrases with their
// values, as the platform's command parser reads them (case-insensitive keywords and names,
// double-quoted words in which a doubled quotation mark stands for one, signed decimal
// integers). It knows the grammar of every command the
// service answers and nothing about devices; the service looks devices up afterwards.
// Like a calculator's parser it hands back a result code and the offset of the fault.
// Plain C++ without Qt, so that a fuzzer can drive it on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

enum class Mci_Verb {
    Open,
    Close,
    Play,
    Stop,
    Pause,
    Resume,
    Seek,
    Set,
    Setaudio,
    Status,
    Where,
    Put,
    Info,
    Configure
};

// One keyword phrase of a command with its value.
struct Mci_Flag {
    std::string key;              // canonical phrase: lower case, single blanks ("time format")
    std::string word;             // text value as written, or a constant in lower case
    std::int32_t number[4] = {};  // an integer value, or the four numbers of a rectangle
    bool hasNumber = false;       // true when the value was a number (for "to 5000" against "to end")
};

struct Mci_Command {
    Mci_Verb verb = Mci_Verb::Open;
    std::string device;  // alias, or for "open" the element (file name or device type)
    std::vector<Mci_Flag> flags;

    const Mci_Flag* Find(std::string_view key) const;
};

struct Mci_Parse_Result {
    std::uint32_t code = 0;    // 0 or an Mci_Error code
    std::size_t errorPos = 0;  // byte offset where the fault was found (0 when code is 0)
    bool hasVerb = false;      // verb recognised (command.verb valid)
    bool hasDevice = false;    // device name read (command.device valid)
    Mci_Command command;
};

// The largest magnitude of a window coordinate or extent ("put ... window at"); larger ones
// are out of range, so that no device's sum of a corner and an extent can overflow.
inline constexpr std::int32_t Mci_Max_Coordinate = (1 << 24) - 1;

Mci_Parse_Result Parse_Mci_Command(std::string_view text);

// `word` as one quoted word of a command, whatever it holds: in quotation marks, each of its
// own quotation marks doubled. Parse_Mci_Command reads it back unchanged.
std::string Mci_Quoted(std::string_view word);

}  // namespace pf
