// Runs the real program, and the tools its tests need, as child processes: environment,
// arguments, working folder, memory, time and file-size limits, stdout and stderr, exit status
// and peak memory.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
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

// Changes to the test's own environment for a child.
struct TEnvironment {
    std::vector<std::string> unset;
    std::vector<std::pair<std::string, std::string>> set;
};

// No display of any kind, as on a server or over plain ssh.
inline TEnvironment Headless() { return {{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, {}}; }

// Only the X server of that display.
inline TEnvironment OnDisplay(const std::string& display)
{
    return {{"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, {{"DISPLAY", display}}};
}

// The limits of a run of the program unless a test sets its own. A program under
// AddressSanitizer reserves terabytes of address space for itself, so no limit on it can hold,
// and it runs slower.
struct TRunLimits {
    rlim_t addressSpace = kUnderAddressSanitizer ? RLIM_INFINITY : kOneGiB;  // RLIM_INFINITY: none
    rlim_t fileSize = RLIM_INFINITY;
    std::chrono::milliseconds wallTime{kUnderAddressSanitizer ? 60000 : 20000};
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

    // The exit status, 128 and the signal when a signal ended it, or -1 after the time limit.
    int Status() const
    {
        if (timedOut)
            return -1;
        return exited ? exitStatus : 128 + signal;
    }

    std::string Describe() const
    {
        if (timedOut)
            return "killed after the time limit";
        if (!exited)
            return "ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + "), stderr: " + err;
        return "exit status " + std::to_string(exitStatus) + ", stderr: " + err;
    }
};

// How a child starts, beside its arguments. An empty path sends that output to /dev/null; an
// empty working folder keeps the test's own.
struct TChildSetup {
    TEnvironment environment;
    std::string stdoutPath;
    std::string stderrPath;
    std::string workingFolder;
    rlim_t addressSpace = RLIM_INFINITY;
    rlim_t fileSize = RLIM_INFINITY;
};

// A started process; it is stopped if it still runs when this goes. argv[0] is looked up in
// PATH unless it holds a slash.
class TProcess {
public:
    TProcess(const std::vector<std::string>& argv, const TChildSetup& setup)
    {
        // Everything the child needs is made here, so that it calls only what is safe between
        // fork and exec.
        std::vector<std::string> argvText = argv;
        std::vector<char*> argvPointers;
        for (std::string& part : argvText)
            argvPointers.push_back(part.data());
        argvPointers.push_back(nullptr);
        std::vector<std::string> envText = EnvironmentWith(setup.environment);
        std::vector<char*> envPointers;
        for (std::string& entry : envText)
            envPointers.push_back(entry.data());
        envPointers.push_back(nullptr);
        const std::string outPath = setup.stdoutPath.empty() ? "/dev/null" : setup.stdoutPath;
        const std::string errPath = setup.stderrPath.empty() ? "/dev/null" : setup.stderrPath;

        started = std::chrono::steady_clock::now();
        pid = fork();
        if (pid == 0)
            ExecChild(argvPointers, envPointers, outPath, errPath, setup);
    }
    TProcess(const std::vector<std::string>& argv, const TEnvironment& environment,
             const std::string& stdoutPath, const std::string& stderrPath)
        : TProcess(argv, TChildSetup{environment, stdoutPath, stderrPath, {}, RLIM_INFINITY, RLIM_INFINITY})
    {
    }
    ~TProcess()
    {
        if (pid > 0 && !ended) {
            kill(pid, stopSignal);
            waitpid(pid, nullptr, 0);
        }
    }
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    // The signal that stops the process if it still runs at the end; SIGTERM lets a server
    // remove its socket and lock files.
    void StopWith(int signal) { stopSignal = signal; }

    // The exit status, or -1 when the process had not ended within the time (it is then
    // stopped when this goes).
    int Wait(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Ended())
                return Outcome().Status();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // Waits for the end, killing the process once wallTime has passed; the result's out and err
    // are left to the caller, who knows where they went.
    TRunResult WaitOrKill(std::chrono::milliseconds wallTime)
    {
        TRunResult result;
        if (pid < 0)
            return result;
        while (!Ended()) {
            if (failedWait)
                return result;
            if (std::chrono::steady_clock::now() - started > wallTime && !killed) {
                kill(pid, SIGKILL);
                killed = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return Outcome();
    }

    pid_t Pid() const { return pid; }

    bool Running() { return pid > 0 && !Ended() && !failedWait; }

private:
    static std::vector<std::string> EnvironmentWith(const TEnvironment& changes)
    {
        auto named = [](const std::string& entry, const std::string& name) {
            return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
                   entry[name.size()] == '=';
        };
        std::vector<std::string> entries;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            bool dropped = false;
            for (const std::string& name : changes.unset)
                dropped = dropped || named(text, name);
            for (const auto& [name, value] : changes.set)
                dropped = dropped || named(text, name);
            if (!dropped)
                entries.push_back(text);
        }
        for (const auto& [name, value] : changes.set)
            entries.push_back(name + "=" + value);
        return entries;
    }

    // In the forked child: only calls that are safe between fork and exec.
    [[noreturn]] static void ExecChild(const std::vector<char*>& argv, const std::vector<char*>& envp,
                                       const std::string& outPath, const std::string& errPath,
                                       const TChildSetup& setup)
    {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0)
            _exit(126);
        close(out);
        close(err);
        if (!setup.workingFolder.empty() && chdir(setup.workingFolder.c_str()) != 0)
            _exit(126);
        const rlimit addressSpace{setup.addressSpace, setup.addressSpace};
        const rlimit fileSize{setup.fileSize, setup.fileSize};
        if ((setup.addressSpace != RLIM_INFINITY && setrlimit(RLIMIT_AS, &addressSpace) != 0) ||
            (setup.fileSize != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &fileSize) != 0))
            _exit(126);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }

    // Whether the process has ended, collecting its status and resource use once it has.
    bool Ended()
    {
        if (ended)
            return true;
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) {
            ended = true;
            finished = std::chrono::steady_clock::now();
        } else if (done < 0 && errno != EINTR) {
            failedWait = true;
        }
        return ended;
    }

    TRunResult Outcome() const
    {
        TRunResult result;
        result.timedOut = killed;
        result.seconds = std::chrono::duration<double>(finished - started).count();
        result.peakKiB = usage.ru_maxrss;
        result.exited = WIFEXITED(status);
        result.exitStatus = result.exited ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return result;
    }

    pid_t pid = -1;
    bool ended = false;
    bool killed = false;
    bool failedWait = false;
    int status = 0;
    rusage usage{};
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point finished;
    int stopSignal = SIGKILL;
};

// Runs a program to its end (at most timeoutMs, without other limits), its output going through
// the folder's files stem.out and stem.err.
inline TRunResult RunToEnd(const TTempDir& dir, const std::vector<std::string>& argv,
                           const TEnvironment& environment, int timeoutMs = 20000,
                           const std::string& stem = "run")
{
    TRunResult result;
    {
        TProcess process(argv, TChildSetup{environment, dir / (stem + ".out"), dir / (stem + ".err"), {}, RLIM_INFINITY, RLIM_INFINITY});
        result = process.WaitOrKill(std::chrono::milliseconds(timeoutMs));
    }
    result.out = ReadText(dir / (stem + ".out"));
    result.err = ReadText(dir / (stem + ".err"));
    return result;
}

// A copy of the built program in the folder, where its velmora.ini will be: the program finds
// its settings beside its own file, wherever it was started from.
inline std::string CopyOfProgram(const TTempDir& dir)
{
    const std::string copy = dir / "velmora";
    std::filesystem::copy_file(VELMORA_PROGRAM_PATH, copy);
    chmod(copy.c_str(), 0755);
    return copy;
}

// A copy of the program in a folder of its own, so that the velmora.ini beside it is the
// test's.
class TProgramCopy {
public:
    TProgramCopy() : program(CopyOfProgram(home)) {}

    void WriteSettings(const std::string& iniText) const { WriteText(home / "velmora.ini", iniText); }

    // Runs the program headless, in the folder workingFolder, with the arguments after its name.
    TRunResult Run(const std::vector<std::string>& arguments, const std::string& workingFolder,
                   const TRunLimits& limits = {}) const
    {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const std::string outPath = home / "stdout";
        const std::string errPath = home / "stderr";
        TRunResult result;
        {
            TProcess process(argv, TChildSetup{Headless(), outPath, errPath, workingFolder, limits.addressSpace,
                                               limits.fileSize});
            result = process.WaitOrKill(limits.wallTime);
        }
        result.out = ReadText(outPath);
        result.err = ReadText(errPath);
        return result;
    }

private:
    TTempDir home;  // declared first: it holds the copy
    std::string program;
};

inline bool ToolExists(const std::string& name) { return FindInPath(name).has_value(); }
