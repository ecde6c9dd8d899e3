// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the command parser: it must never crash, read out of bounds, or hand
// back a code without a description or a fault position beyond the text. The same bytes taken
// as a file name, quoted as clsMCIApi quotes it, must come back as that one word and add no
// other word to the command.
#include "mci/mci_errors.h"
#include "mci/mci_parser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check_Command(std::string_view text)
{
    const pf::Mci_Parse_Result r = pf::Parse_Mci_Command(text);
    if (r.code != 0 && pf::Mci_Error_Text(r.code).empty())
        __builtin_trap();
    if (r.errorPos > text.size())
        __builtin_trap();
    if (r.code == 0) {
        if (!r.hasVerb || !r.hasDevice)
            __builtin_trap();
        for (const pf::Mci_Flag& f : r.command.flags)
            if (f.key.empty() || r.command.Find(f.key) != &f)
                __builtin_trap();
    }
}

void Check_Name(std::string_view name)
{
    const std::string open = "open " + pf::Mci_Quoted(name) + " type MPEGVideo alias device1";
    const pf::Mci_Parse_Result r = pf::Parse_Mci_Command(open);
    if (r.code != 0 || r.command.device != name || r.command.flags.size() != 2)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check_Command(text);
    Check_Name(text);
    return 0;
}
