#include "OutputName.h"

#include "LetterCase.h"
#include "PathRules.h"

std::string JoinToFolder(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : JoinPath(folder, name);
}

std::string JoinedPath(const std::string& argument, const std::string& storedName)
{
    return JoinToFolder(FolderPart(argument), storedName);
}

bool IsSelectedFile(const std::string& joinedPath)
{
    return UpperCaseAscii(Extension(joinedPath)) == ".JPG";
}

std::string OutputNameFor(const std::string& joinedPath, const TNamingSettings& naming)
{
    std::string name = ChangeExtension(joinedPath, "") + naming.suffix;
    if (!naming.prefix.empty())
        name = JoinToFolder(FolderPart(name), naming.prefix + NamePart(name));
    if (naming.lowerCase)
        name = JoinToFolder(FolderPart(name), LowerCaseAscii(NamePart(name)));
    return ChangeExtension(name, ".jpg");
}
