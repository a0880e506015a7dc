// The editor in a real X server, driven with xdotool as a designer drives
// it: a random edit script, then one of the ways a session ends, then the
// next start. What comes back is what was there before the end (the
// caption, the canvas pixels, and the file a following S writes), and the
// recovery question comes exactly when something was left unsaved.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "editor/velmora_dlg.h"
#include "io/xml/spline_writer.h"
#include "platform/headless_host.h"
#include "recovery/recovery_record.h"
#include "tests/support/edit_script.h"
#include "tests/support/temp_dir.h"

// Last: Xlib's macros (Status, None, Bool) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace velmora {
namespace {

using testing_support::EditStep;
using testing_support::ReadFile;

// Whether `done` comes true within a minute: long enough for a machine busy
// with other builds, and it returns as soon as it is.
bool WaitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::vector<char*> argv, envp;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    for (const std::string& var : env)
        envp.push_back(const_cast<char*>(var.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    return ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid
                                                                                          : -1;
}

// Whether `pid` ends within a minute; it is killed if not.
bool Ends(pid_t pid) {
    int status = 0;
    if (WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }))
        return true;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
}

// A window that went meanwhile is no failure of the test's.
int IgnoreXErrors(::Display*, XErrorEvent*) { return 0; }

// An Xvfb server of its own on a display number it picks itself (so that no
// other server on the machine is in its way), and a connection to it.
class XServer {
public:
    XServer() {
        XSetErrorHandler(&IgnoreXErrors);
        int number[2];
        if (::pipe(number) != 0)
            return;
        ::fcntl(number[0], F_SETFD, FD_CLOEXEC);
        m_pid = Spawn({"Xvfb", "-displayfd", std::to_string(number[1]), "-screen", "0",
                       "640x480x24", "-nolisten", "tcp"},
                      {});
        ::close(number[1]);
        m_display = ":";
        for (char digit = 0; ::read(number[0], &digit, 1) == 1 && digit != '\n';)
            m_display += digit;
        ::close(number[0]);
        WaitFor([&] { return (m_x = XOpenDisplay(m_display.c_str())) != nullptr; });
    }
    ~XServer() { Lose(); }
    const std::string& Name() const { return m_display; }

    // The server goes, with every client's connection to it.
    void Lose() {
        if (m_x != nullptr)
            XCloseDisplay(m_x);
        m_x = nullptr;
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            Ends(m_pid);
        }
        m_pid = -1;
    }

    // The first mapped window whose name matches `pattern`, or 0.
    Window Find(const std::string& pattern) const {
        return std::strtoul(XDoTool("search --onlyvisible --name '" + pattern + "'").c_str(),
                            nullptr, 10);
    }
    std::string NameOf(Window window) const {
        std::string name = XDoTool("getwindowname " + std::to_string(window));
        return name.empty() ? name : name.substr(0, name.size() - 1);
    }
    // The client area's pixels, laid out as the editor's canvas.
    std::vector<Colour> Pixels(Window window) const {
        std::vector<Colour> pixels;
        XImage* image = XGetImage(m_x, window, 0, 0, 480, 360, AllPlanes, ZPixmap);
        for (int y = 0; image && y < 360; ++y) {
            for (int x = 0; x < 480; ++x) {
                const unsigned long rgb = XGetPixel(image, x, y);
                pixels.push_back(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
            }
        }
        if (image)
            XDestroyImage(image);
        return pixels;
    }
    // What the close button of a window manager sends.
    void Close(Window window) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
        XSendEvent(m_x, window, False, NoEventMask, &event);
        XFlush(m_x);
    }
    // Runs xdotool with `args` on this server; what it prints.
    std::string XDoTool(const std::string& args) const {
        std::string out;
        FILE* pipe =
            ::popen(("DISPLAY=" + m_display + " xdotool " + args + " 2>/dev/null").c_str(), "r");
        char chunk[256];
        while (pipe != nullptr && std::fgets(chunk, sizeof chunk, pipe) != nullptr)
            out += chunk;
        if (pipe != nullptr)
            ::pclose(pipe);
        return out;
    }

private:
    std::string m_display;
    pid_t m_pid = -1;
    ::Display* m_x = nullptr;
};

const std::map<uint32_t, const char*> kKeyNames = {
    {VK_BACK, "BackSpace"},  {VK_RETURN, "Return"}, {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},     {VK_ADD, "KP_Add"},    {VK_SUBTRACT, "KP_Subtract"},
    {VK_DIVIDE, "KP_Divide"}};

// The steps as one xdotool command line on `window`.
std::string Inputs(Window window, const std::vector<EditStep>& steps) {
    const std::string on = "mousemove --window " + std::to_string(window) + " ";
    std::string args;
    for (const EditStep& step : steps) {
        args += on + std::to_string(step.at.x) + " " + std::to_string(step.at.y) + " ";
        if (step.kind == EditStep::kKey)
            args += std::string("key ") + kKeyNames.at(step.key) + " ";
        else if (step.kind == EditStep::kClick)
            args += "click 1 ";
        else
            args += "mousedown 1 " + on + std::to_string(step.to.x) + " " +
                    std::to_string(step.to.y) + " mouseup 1 ";
    }
    return args;
}

// The editor as a headless twin sees it, started on `file`.
struct Twin {
    explicit Twin(const std::string& file) : dlg(file) {
        dlg.Attach(host);
        dlg.OnInitDialog();
    }
    std::string SavedText() const {
        NoteSet notes = dlg.NoteSplines();
        notes[dlg.CurrentNote()][dlg.CurrentSpline(dlg.CurrentNote())] = dlg.Points();
        return PrintSplines(notes, 480, 360);
    }
    HeadlessHost host;
    CVelmoraDlg dlg;
};

struct Ending {
    const char* name;
    int edits;
    void (*end)(XServer& x, pid_t editor, Window window);
    bool asked;
};

const Ending kEndings[] = {
    {"KillNine", 20, [](XServer&, pid_t editor, Window) { ::kill(editor, SIGKILL); }, true},
    {"Terminated", 20, [](XServer&, pid_t editor, Window) { ::kill(editor, SIGTERM); }, true},
    {"DisplayLost", 20, [](XServer& x, pid_t, Window) { x.Lose(); }, true},
    {"WindowClosed", 20, [](XServer& x, pid_t, Window window) { x.Close(window); }, true},
    {"SavedThenClosed", 20,
     [](XServer& x, pid_t, Window window) {
         x.XDoTool("key s sleep 1");
         x.Close(window);
     },
     false},
    {"NothingEdited", 0, [](XServer& x, pid_t, Window window) { x.Close(window); }, false},
};

// The editor's window, whatever note and spline its caption names.
constexpr const char* kMain = "^Velmora \\(Editing";

class RecoveryEndings : public ::testing::Test {
protected:
    void SetUp() override {
        if (::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "needs Xvfb and xdotool";
        std::filesystem::create_directories(m_dir.Path() / "work");
    }
    std::string Work() const { return (m_dir.Path() / "work").string(); }

    // Starts the editor on `x` in the work folder; its recovery copies go
    // to the scratch folder, and so does all else it might keep.
    pid_t StartEditor(const XServer& x) const {
        const std::string scratch = m_dir.Path().string();
        return Spawn({VELMORA_EDITOR, Work()},
                     {"DISPLAY=" + x.Name(), "QT_QPA_PLATFORM=xcb", "HOME=" + scratch,
                      "XDG_STATE_HOME=" + scratch + "/state", "XDG_RUNTIME_DIR=" + scratch});
    }
    static Window MainWindow(const XServer& x) {
        Window window = 0;
        WaitFor([&] { return (window = x.Find(kMain)) != 0; });
        return window;
    }
    // Whether the window shows what `twin` shows.
    static bool Shows(const XServer& x, Window window, const Twin& twin) {
        return x.NameOf(window) == twin.host.Caption() &&
               x.Pixels(window) == twin.host.ClientCanvas().Pixels();
    }

    testing_support::TempDir m_dir;
};

TEST_F(RecoveryEndings, EveryEndingLosesNothingAndAsksOnlyWhenSomethingIsUnsaved) {
    int seed = 0;
    for (const Ending& ending : kEndings) {
        SCOPED_TRACE(ending.name);
        std::filesystem::remove_all(m_dir.Path() / "state");
        std::filesystem::copy_file(VELMORA_EXAMPLE_FILE, Work() + "/Splines.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::create_directories(m_dir.Path() / "twin");
        std::filesystem::copy_file(VELMORA_EXAMPLE_FILE, (m_dir.Path() / "twin/Splines.xml"),
                                   std::filesystem::copy_options::overwrite_existing);
        Twin twin((m_dir.Path() / "twin/Splines.xml").string());

        XServer first;
        const pid_t editor = StartEditor(first);
        const Window window = MainWindow(first);
        ASSERT_NE(window, 0u);
        std::mt19937 random(static_cast<unsigned>(++seed));
        const auto steps = testing_support::RandomEdits(twin.dlg, twin.host, random, ending.edits);
        first.XDoTool("windowfocus --sync " + std::to_string(window) + " " + Inputs(window, steps));
        ASSERT_TRUE(WaitFor([&] { return Shows(first, window, twin); }));
        ending.end(first, editor, window);
        ASSERT_TRUE(Ends(editor));
        first.Lose();

        // Offered back the twin's state, or, with nothing to offer, a fresh
        // start on the file as the first session left it.
        std::filesystem::copy_file(Work() + "/Splines.xml", m_dir.Path() / "twin/Splines.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        const Twin fresh((m_dir.Path() / "twin/Splines.xml").string());
        const Twin& expected = ending.asked ? twin : fresh;
        XServer second;
        const pid_t again = StartEditor(second);
        Window question = 0;
        WaitFor([&] { return (question = second.Find("^Velmora$")) || second.Find(kMain); });
        EXPECT_EQ(question != 0, ending.asked);
        if (question != 0)
            second.XDoTool("windowfocus --sync " + std::to_string(question) + " key Return");
        const Window restored = MainWindow(second);
        EXPECT_TRUE(WaitFor([&] { return Shows(second, restored, expected); }));
        second.XDoTool("windowfocus --sync " + std::to_string(restored) + " key s");
        EXPECT_TRUE(
            WaitFor([&] { return ReadFile(Work() + "/Splines.xml") == expected.SavedText(); }));
        second.Close(restored);
        EXPECT_TRUE(Ends(again));
    }
}

}  // namespace
}  // namespace velmora
