// The real program run headless from a copy of its own, under a memory and a time limit, as a
// user's script or file manager would start it.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"

extern char** environ;

// Whether the tests themselves run under AddressSanitizer, and so does the program they run.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

constexpr rlim_t kOneGiB = rlim_t{1} << 30;

// The limits of a run unless a test sets its own. A program under AddressSanitizer reserves
// terabytes of address space for itself, so no limit on it can hold, and it runs slower.
struct TRunLimits {
    rlim_t addressSpace = kUnderAddressSanitizer ? RLIM_INFINITY : kOneGiB;  // RLIM_INFINITY: none
    rlim_t fileSize = RLIM_INFINITY;
    std::chrono::seconds wallTime{kUnderAddressSanitizer ? 60 : 20};
};

struct TRunResult {
    bool exited = false;    // ended by itself, with exitStatus
    int exitStatus = -1;
    int signal = 0;         // the signal that ended it, when it did not exit
    bool timedOut = false;  // killed by the test after the time limit
    std::string out;
    std::string err;
    long peakKiB = 0;  // the largest resident set the child reached
    double seconds = 0;

    std::string Describe() const
    {
        if (timedOut)
            return "killed after the time limit";
        if (!exited)
            return "ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + "), stderr: " + err;
        return "exit status " + std::to_string(exitStatus) + ", stderr: " + err;
    }
};

// A copy of the program in a folder of its own, so that the velmora.ini beside it is the
// test's: the program finds its settings beside its own file, wherever it was started from.
class TProgramCopy {
public:
    TProgramCopy()
    {
        program = home / "velmora";
        std::filesystem::copy_file(VELMORA_PROGRAM_PATH, program);
        chmod(program.c_str(), 0755);
    }

    void WriteSettings(const std::string& iniText) const { WriteText(home / "velmora.ini", iniText); }

    // Runs the program headless: without DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM, in the
    // folder workingFolder, with the arguments after its name.
    TRunResult Run(const std::vector<std::string>& arguments, const std::string& workingFolder,
                   const TRunLimits& limits = {}) const
    {
        std::vector<std::string> argvText{program};
        argvText.insert(argvText.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& part : argvText)
            argv.push_back(part.data());
        argv.push_back(nullptr);
        std::vector<char*> envp = HeadlessEnvironment();
        const std::string outPath = home / "stdout";
        const std::string errPath = home / "stderr";

        const auto started = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0)
            ExecChild(argv, envp, workingFolder, outPath, errPath, limits);
        TRunResult result;
        if (child < 0)
            return result;
        int status = 0;
        rusage usage{};
        for (;;) {
            const pid_t done = wait4(child, &status, WNOHANG, &usage);
            if (done == child)
                break;
            if (done < 0 && errno != EINTR)
                return result;
            if (std::chrono::steady_clock::now() - started > limits.wallTime && !result.timedOut) {
                kill(child, SIGKILL);
                result.timedOut = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        result.peakKiB = usage.ru_maxrss;
        result.exited = WIFEXITED(status);
        result.exitStatus = result.exited ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        result.out = ReadText(outPath);
        result.err = ReadText(errPath);
        return result;
    }

private:
    static std::vector<char*> HeadlessEnvironment()
    {
        std::vector<char*> envp;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (text.rfind("DISPLAY=", 0) == 0 || text.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
                text.rfind("QT_QPA_PLATFORM=", 0) == 0)
                continue;
            envp.push_back(*entry);
        }
        envp.push_back(nullptr);
        return envp;
    }

    // In the forked child: only calls that are safe between fork and exec.
    [[noreturn]] static void ExecChild(const std::vector<char*>& argv, const std::vector<char*>& envp,
                                       const std::string& workingFolder, const std::string& outPath,
                                       const std::string& errPath, const TRunLimits& limits)
    {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0 ||
            chdir(workingFolder.c_str()) != 0)
            _exit(126);
        const rlimit addressSpace{limits.addressSpace, limits.addressSpace};
        const rlimit fileSize{limits.fileSize, limits.fileSize};
        if ((limits.addressSpace != RLIM_INFINITY && setrlimit(RLIMIT_AS, &addressSpace) != 0) ||
            (limits.fileSize != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &fileSize) != 0))
            _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }

    TTempDir home;
    std::string program;
};

// "velmora: " and the error box's text: the message with "." appended, as the messages that
// the tests expect all end in a character that gets one.
inline std::string ErrorLine(const std::string& message) { return "velmora: " + message + ".\n"; }
