// The real window on a real X server: its frame, its place, and a whole session by keyboard and
// mouse that ends in the settings file.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>

#include "ProgramRun.h"

namespace {

// An X server of the test's own on a free display number, without network access.
class TXvfb {
public:
    TXvfb()
    {
        // Other test runs on this machine start servers too; begin at a number of our own.
        const int first = 100 + static_cast<int>(getpid() % 400);
        for (int number = first; number < first + 60; ++number) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (FileExists("/tmp/.X11-unix/X" + std::to_string(number)) || FileExists(lock))
                continue;
            display = ":" + std::to_string(number);
            server = std::make_unique<TProcess>(
                std::vector<std::string>{"Xvfb", display, "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24"},
                TEnvironment{}, std::string(), std::string());
            server->StopWith(SIGTERM);
            if (WaitForSocket("/tmp/.X11-unix/X" + std::to_string(number)) && OwnsLock(lock) &&
                WaitForClients())
                return;
            server.reset();
        }
        display.clear();
    }

    bool Started() const { return !display.empty(); }
    const std::string& Display() const { return display; }

    // The output of an X tool run against this server.
    std::string Tool(const TTempDir& dir, const std::vector<std::string>& argv) const
    {
        return RunToEnd(dir, argv, OnDisplay(display), 10000, "tool").out;
    }

private:
    bool WaitForSocket(const std::string& socket)
    {
        for (int i = 0; i < 500; ++i) {
            if (FileExists(socket))
                return true;
            if (!server->Running())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // The display is ours only if our server holds its lock; another may have won the race.
    bool OwnsLock(const std::string& lock) const
    {
        const std::string owner = ReadText(lock);
        return !owner.empty() && std::stol(owner) == server->Pid() && server->Running();
    }

    // The socket exists a moment before the server takes clients. (-noreset keeps it from
    // resetting, and refusing clients meanwhile, each time its last client leaves.)
    bool WaitForClients()
    {
        TTempDir dir;
        for (int i = 0; i < 100; ++i) {
            if (RunToEnd(dir, {"xdotool", "getdisplaygeometry"}, OnDisplay(display), 5000).Status() == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::string display;
    std::unique_ptr<TProcess> server;
};

// The id of the program's visible top-level window called velmora, waiting for it to show.
std::string WindowNamedVelmora(const TXvfb& x, const TTempDir& dir, const std::string& except = {})
{
    for (int i = 0; i < 100; ++i) {
        std::istringstream ids(x.Tool(dir, {"xdotool", "search", "--onlyvisible", "--name", "^velmora$"}));
        std::string id;
        while (ids >> id) {
            if (id != except)
                return id;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

class XvfbWindow : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (!ToolExists(tool))
                GTEST_SKIP() << tool << " is not installed (package xvfb or xdotool)";
        }
        x = std::make_unique<TXvfb>();
        ASSERT_TRUE(x->Started()) << "Xvfb did not start";
    }

    std::unique_ptr<TXvfb> x;
};

}  // namespace

TEST_F(XvfbWindow, TheFrameIsFixedWithoutMinimiseOrMaximiseAtTheStoredPlace)
{
    if (!ToolExists("xprop"))
        GTEST_SKIP() << "xprop is not installed (package x11-utils)";
    const struct {
        const char* name;
        const char* ini;
        int left;
        int top;
    } cases[] = {
        {"the layout's place", nullptr, 205, 126},
        {"a stored place", "[main]\nleft=300\ntop=40\n", 300, 40},
        {"partly off the screen", "[main]\nleft=-60\ntop=700\n", -60, 700},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TTempDir dir;
        const std::string program = CopyOfProgram(dir);
        if (row.ini != nullptr)
            WriteText(dir / "velmora.ini", row.ini);
        TProcess velmora({program}, OnDisplay(x->Display()), std::string(), dir / "err");
        const std::string window = WindowNamedVelmora(*x, dir);
        ASSERT_FALSE(window.empty()) << "running: " << velmora.Running() << ", " << ReadText(dir / "err");

        const std::string geometry = x->Tool(dir, {"xdotool", "getwindowgeometry", window});
        std::smatch place;
        ASSERT_TRUE(std::regex_search(geometry, place,
                                      std::regex(R"(Position: (-?\d+),(-?\d+)[\s\S]*Geometry: (\d+)x(\d+))")))
            << geometry;
        EXPECT_EQ(std::stoi(place[1].str()), row.left) << geometry;
        EXPECT_EQ(std::stoi(place[2].str()), row.top) << geometry;
        EXPECT_EQ(std::stoi(place[3].str()), 144);
        EXPECT_EQ(std::stoi(place[4].str()), 235);

        const std::string hints = x->Tool(dir, {"xprop", "-id", window, "WM_NORMAL_HINTS", "_MOTIF_WM_HINTS"});
        EXPECT_NE(hints.find("minimum size: 144 by 235"), std::string::npos) << hints;
        EXPECT_NE(hints.find("maximum size: 144 by 235"), std::string::npos) << hints;
        // Motif decorations: bit 32 is the minimise box, bit 64 the maximise box.
        std::smatch motif;
        ASSERT_TRUE(std::regex_search(hints, motif, std::regex(R"(_MOTIF_WM_HINTS\S* = (\w+), (\w+), (\w+))")))
            << hints;
        const long decorations = std::stol(motif[3].str(), nullptr, 16);
        EXPECT_EQ(decorations & (32 | 64), 0) << hints;
        EXPECT_NE(decorations & 8, 0) << "a title bar: " << hints;
    }
}

TEST_F(XvfbWindow, ASessionByKeyboardAndMouseEndsInTheSettingsFile)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    TProcess velmora({program}, OnDisplay(x->Display()), std::string(), dir / "err");
    const std::string window = WindowNamedVelmora(*x, dir);
    ASSERT_FALSE(window.empty()) << "running: " << velmora.Running() << ", " << ReadText(dir / "err");
    x->Tool(dir, {"xdotool", "windowfocus", "--sync", window});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    // The focus starts in the horizontal start with its text selected, so typing replaces it.
    x->Tool(dir, {"xdotool", "type", "--delay", "30", "12"});
    x->Tool(dir, {"xdotool", "key", "--delay", "30", "Tab"});
    x->Tool(dir, {"xdotool", "type", "--delay", "30", "34"});
    x->Tool(dir, {"xdotool", "key", "--delay", "30", "Tab"});
    x->Tool(dir, {"xdotool", "type", "--delay", "30", "5000"});
    x->Tool(dir, {"xdotool", "key", "--delay", "30", "Tab"});
    x->Tool(dir, {"xdotool", "type", "--delay", "30", "77"});
    // The save button's middle.
    x->Tool(dir, {"xdotool", "mousemove", "--window", window, "64", "218", "click", "1"});

    const std::string message = WindowNamedVelmora(*x, dir, window);
    ASSERT_FALSE(message.empty()) << "no instruction message showed";
    x->Tool(dir, {"xdotool", "windowfocus", "--sync", message});
    x->Tool(dir, {"xdotool", "key", "Return"});

    EXPECT_EQ(velmora.Wait(10000), 0);
    EXPECT_EQ(ReadText(dir / "err"), "");
    const std::string ini = ReadText(dir / "velmora.ini");
    for (const char* line : {"left=205", "top=126", "x=12", "y=34", "xx=2048", "yy=77",
                             "name_bottom=_x", "name_top=", "komoji=0"}) {
        SCOPED_TRACE(line);
        EXPECT_NE(ini.find(std::string("\n") + line + "\n"), std::string::npos) << ini;
    }
}
