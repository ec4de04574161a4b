// A helper that the platform tests run as another user: it performs one file operation and
// prints "ok" and its result, or the failure's message.
//
//   probe read PATH                          ReadWholeFile; prints "ok" and the byte count
//   probe replace PATH TEXT                  ReplaceFileContents with TEXT
//   probe ini-read PATH SECTION KEY          TIniFile::ReadString with the fallback "(none)"
//   probe ini-write PATH SECTION KEY VALUE   TIniFile::WriteString
#include <iostream>
#include <string>
#include <vector>

#include "Files.h"
#include "TIniFile.h"

namespace {

std::string Perform(const std::vector<std::string>& args)
{
    const std::string& operation = args.at(0);
    if (operation == "read")
        return "ok " + std::to_string(ReadWholeFile(args.at(1)).size());
    if (operation == "replace") {
        const std::string& text = args.at(2);
        ReplaceFileContents(args.at(1), std::vector<std::uint8_t>(text.begin(), text.end()));
        return "ok";
    }
    if (operation == "ini-read")
        return "ok " + TIniFile(args.at(1)).ReadString(args.at(2), args.at(3), "(none)");
    if (operation == "ini-write") {
        TIniFile(args.at(1)).WriteString(args.at(2), args.at(3), args.at(4));
        return "ok";
    }
    return "unknown operation " + operation;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        std::cout << Perform(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {  // the test that runs us reads the message
        std::cout << failure.what();
    }
    return 0;
}
