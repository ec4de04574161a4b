// The path rules and the output name on arbitrary paths and naming settings: no crash, and
// the output name always ends in ".jpg" with no separator after its last dot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "OutputName.h"
#include "PathRules.h"

namespace {

// Splits the input into the path, the suffix and the prefix at NUL bytes; the first byte's
// low bit is the lower-case option.
struct TInput {
    std::string path, suffix, prefix;
    bool lowerCase = false;
};

TInput SplitInput(const std::uint8_t* data, std::size_t size)
{
    TInput input;
    if (size == 0)
        return input;
    input.lowerCase = data[0] & 1;
    std::string* parts[] = {&input.path, &input.suffix, &input.prefix};
    std::size_t part = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && part < 2)
            ++part;
        else
            parts[part]->push_back(static_cast<char>(data[i]));
    }
    return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TInput input = SplitInput(data, size);
    const std::string folder = FolderPart(input.path);
    const std::string name = NamePart(input.path);
    const std::string extension = Extension(input.path);
    if (folder.size() > input.path.size() || name.size() > input.path.size())
        std::abort();
    if (input.path.compare(input.path.size() - name.size(), name.size(), name) != 0)
        std::abort();
    if (ChangeExtension(input.path, "") + extension != input.path)
        std::abort();

    const std::string joined = JoinedPath(input.path, name);
    const std::string output = OutputNameFor(joined, {input.suffix, input.prefix, input.lowerCase});
    if (Extension(output) != ".jpg")
        std::abort();
    return 0;
}
