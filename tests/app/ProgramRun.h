// Runs velmora and the X tools as real processes: environment, arguments, stderr, exit status.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestFiles.h"

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

// A started process; it is killed if it still runs when this goes.
class TProcess {
public:
    TProcess(const std::vector<std::string>& argv, const TEnvironment& environment,
             const std::string& stdoutPath, const std::string& stderrPath)
    {
        pid = fork();
        if (pid != 0)
            return;
        for (const std::string& name : environment.unset)
            unsetenv(name.c_str());
        for (const auto& [name, value] : environment.set)
            setenv(name.c_str(), value.c_str(), 1);
        RedirectTo(STDOUT_FILENO, stdoutPath);
        RedirectTo(STDERR_FILENO, stderrPath);
        std::vector<char*> pointers;
        for (const std::string& argument : argv)
            pointers.push_back(const_cast<char*>(argument.c_str()));
        pointers.push_back(nullptr);
        execvp(pointers[0], pointers.data());
        _exit(127);
    }
    ~TProcess()
    {
        if (pid > 0 && !ended) {
            kill(pid, stopSignal);
            waitpid(pid, nullptr, 0);
        }
    }

    // The signal that stops the process if it still runs at the end; SIGTERM lets a server
    // remove its socket and lock files.
    void StopWith(int signal) { stopSignal = signal; }
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    // The exit status, or -1 when the process had not ended within the time (it is then killed).
    int Wait(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    pid_t Pid() const { return pid; }

    bool Running()
    {
        return !ended && waitpid(pid, nullptr, WNOHANG) == 0;
    }

private:
    static void RedirectTo(int fd, const std::string& path)
    {
        const int file = open(path.empty() ? "/dev/null" : path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, fd);
        close(file);
    }

    pid_t pid = -1;
    bool ended = false;
    int stopSignal = SIGKILL;
};

struct TRunResult {
    int status = -1;
    std::string stdoutText;
    std::string stderrText;
};

// Runs a program to its end (at most timeoutMs), its output going through the folder's files
// stem.out and stem.err.
inline TRunResult RunToEnd(const TTempDir& dir, const std::vector<std::string>& argv,
                           const TEnvironment& environment, int timeoutMs = 20000,
                           const std::string& stem = "run")
{
    TRunResult result;
    {
        TProcess process(argv, environment, dir / (stem + ".out"), dir / (stem + ".err"));
        result.status = process.Wait(timeoutMs);
    }
    result.stdoutText = ReadText(dir / (stem + ".out"));
    result.stderrText = ReadText(dir / (stem + ".err"));
    return result;
}

// A copy of the built program in a folder of the test's own, where its velmora.ini will be.
inline std::string CopyOfProgram(const TTempDir& dir)
{
    const std::string copy = dir / "velmora";
    std::filesystem::copy_file(VELMORA_PROGRAM, copy);
    chmod(copy.c_str(), 0755);
    return copy;
}

inline bool ToolExists(const std::string& name)
{
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    std::string folder;
    while (std::getline(path, folder, ':')) {
        if (access((folder + "/" + name).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}
