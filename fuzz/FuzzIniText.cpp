// The INI text functions on arbitrary file contents: reading never fails, and setting a key
// makes exactly that key read back while a key of another section keeps its value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> before = FindIniValue(text, "other", "key");
    FindIniValue(text, "main", "left");

    const std::string updated = SetIniValue(text, "main", "xx", "2048");
    if (FindIniValue(updated, "main", "xx") != std::optional<std::string>("2048"))
        std::abort();
    if (FindIniValue(updated, "other", "key") != before)
        std::abort();
    return 0;
}
