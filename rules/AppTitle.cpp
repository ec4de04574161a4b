#include "AppTitle.h"

#include "LetterCase.h"
#include "PathRules.h"

std::string ApplicationTitle(std::string_view programPath)
{
    std::string name = NamePart(programPath);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot);
    if (name.empty())
        return name;
    const std::size_t first = NativePathStyle().CharLength(name, 0);
    return name.substr(0, first) + LowerCaseAscii(std::string_view(name).substr(first));
}
