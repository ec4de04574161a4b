// The integer text rule on arbitrary text: it never fails to answer, and what it accepts it
// accepts again in its plain decimal form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IntegerText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> value = ParseIntegerText(text);
    if (value && ParseIntegerText(IntToStr(*value)) != value)
        std::abort();
    if (value && text.find_first_not_of(' ') == std::string::npos)
        std::abort();
    return 0;
}
