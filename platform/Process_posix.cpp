#include "Process.h"

#include <signal.h>
#include <unistd.h>

#include <climits>

#include "PathRules.h"

namespace {

std::vector<std::string>& StartArguments()
{
    static std::vector<std::string> arguments;
    return arguments;
}

}  // namespace

void InitProcess(int argc, char** argv)
{
    // A write past the user's file size limit is to fail like a full disk, with the file's
    // message and nothing left behind, instead of ending the program mid-write.
    signal(SIGXFSZ, SIG_IGN);

    std::vector<std::string>& arguments = StartArguments();
    arguments.clear();
    for (int i = 1; i < argc; ++i) {
        // An empty argument is what an empty quoted item is on a command line: no item.
        if (argv[i][0] != '\0')
            arguments.emplace_back(argv[i]);
    }
}

std::vector<std::string> ProgramArguments() { return StartArguments(); }

std::string ProgramFilePath()
{
    // The kernel's link names the running file, wherever and however it was started.
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0)
        return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::string ProgramFolder()
{
    const std::string path = ProgramFilePath();
    const std::size_t cut = path.rfind(NativePathStyle().Separator());
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}
