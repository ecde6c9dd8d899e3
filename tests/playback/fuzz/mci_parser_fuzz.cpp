// Feeds arbitrary bytes to the command parser: it must never crash, read out of bounds, or hand
// back a code without a description or a fault position beyond the text.
#include "playback/mci_errors.h"
#include "playback/mci_parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pf::Mci_Parse_Result r = pf::Parse_Mci_Command(text);
    if (r.code != 0 && pf::Mci_Error_Text(r.code).empty())
        __builtin_trap();
    if (r.error_pos > size)
        __builtin_trap();
    if (r.code == 0) {
        if (!r.has_verb || !r.has_device)
            __builtin_trap();
        for (const pf::Mci_Flag& f : r.command.flags)
            if (f.key.empty() || r.command.Find(f.key) != &f)
                __builtin_trap();
    }
    return 0;
}
