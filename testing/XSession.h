#pragma once
// End-to-end test support: an X server (Xvfb) of the test's own on a free display, child
// processes that end with their owner, and the real pointer and keyboard driven by xdotool;
// screenshots through ImageMagick's import, the clipboard through xclip.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "testing/TempFolder.h"

namespace e2e {

using namespace std::chrono_literals;

struct Box {
  int Left = 0, Top = 0, Right = -1, Bottom = -1;  // inclusive
  bool Empty() const { return Right < Left; }
  int CentreX() const { return (Left + Right) / 2; }
  int CentreY() const { return (Top + Bottom) / 2; }
};

// Runs a shell command; its standard output, and its exit status in Status.
inline std::string Shell(const std::string& Command, int* Status = nullptr) {
  std::string out;
  if (FILE* p = ::popen(Command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int st = ::pclose(p);
    if (Status) *Status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  } else if (Status) {
    *Status = -1;
  }
  return out;
}

inline bool Eventually(const std::function<bool()>& Predicate, std::chrono::milliseconds Timeout = 10s) {
  auto end = std::chrono::steady_clock::now() + Timeout;
  while (!Predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// A child process of the test, ended (SIGTERM, then SIGKILL) when the object goes.
class Child {
public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Stop(); }

  // Starts Argv[0] in Folder with the extra environment Env; KeepFd stays open in the child.
  void Start(const std::vector<std::string>& Argv, const std::vector<std::string>& Env = {},
             const std::string& Folder = std::string(), int KeepFd = -1) {
    FExitStatus = -1;
    FPid = ::fork();
    if (FPid != 0) return;
    if (!Folder.empty() && ::chdir(Folder.c_str()) != 0) ::_exit(126);
    for (const std::string& e : Env) ::putenv(const_cast<char*>(e.c_str()));
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != KeepFd && fd != null) ::close(fd);
    std::vector<char*> args;
    for (const std::string& a : Argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  bool Running() {
    if (FPid <= 0) return false;
    int st = 0;
    if (::waitpid(FPid, &st, WNOHANG) == FPid) {
      FExitStatus = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
      FPid = -1;
      return false;
    }
    return true;
  }
  // The exit code of a child that ended by itself (128 + the signal when one ended it); -1
  // while it runs or when it was stopped.
  int ExitStatus() const { return FExitStatus; }
  void Stop() {
    if (!Running()) return;
    ::kill(FPid, SIGTERM);
    if (!Eventually([this] { return !Running(); }, 5s)) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, nullptr, 0);
    }
    FPid = -1;
    FExitStatus = -1;
  }

private:
  pid_t FPid = -1;
  int FExitStatus = -1;
};

// A screenshot of the whole screen as RGB pixels.
struct Screen {
  int Width = 0, Height = 0;
  std::vector<unsigned char> Rgb;

  bool Is(int X, int Y, int R, int G, int B) const {
    size_t i = (static_cast<size_t>(Y) * Width + X) * 3;
    return Rgb[i] == R && Rgb[i + 1] == G && Rgb[i + 2] == B;
  }
  // The box of the pixels of one colour inside Within.
  Box Find(const Box& Within, int R, int G, int B) const {
    Box b{Within.Right + 1, Within.Bottom + 1, -1, -1};
    for (int y = std::max(0, Within.Top); y <= std::min(Height - 1, Within.Bottom); ++y)
      for (int x = std::max(0, Within.Left); x <= std::min(Width - 1, Within.Right); ++x)
        if (Is(x, y, R, G, B)) {
          b.Left = std::min(b.Left, x);
          b.Top = std::min(b.Top, y);
          b.Right = std::max(b.Right, x);
          b.Bottom = std::max(b.Bottom, y);
        }
    return b;
  }
};

// An X server on a free display number, chosen by the server itself, and the user's pointer,
// keyboard, screen and clipboard on it.
class XServer {
public:
  XServer() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    FServer.Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                  {}, std::string(), fds[1]);
    ::close(fds[1]);
    // The server writes its display number once it accepts clients.
    std::string number;
    auto end = std::chrono::steady_clock::now() + 15s;
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < end && number.find('\n') == std::string::npos && FServer.Running()) {
      char c;
      ssize_t n = ::read(fds[0], &c, 1);
      if (n == 1) number += c;
      else std::this_thread::sleep_for(20ms);
    }
    ::close(fds[0]);
    if (number.find('\n') != std::string::npos) FDisplay = ":" + number.substr(0, number.find('\n'));
  }
  // Empty when the server could not start.
  const std::string& Display() const { return FDisplay; }

  // Starts Program in Folder as a Qt client of this server; its runtime files go to Folder.
  void Launch(Child& Client, const std::string& Program, const std::string& Folder) const {
    Client.Start({Program}, {"DISPLAY=" + FDisplay, "QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8", "XDG_RUNTIME_DIR=" + Folder},
                 Folder);
  }
  std::string Xdo(const std::string& Args, int* Status = nullptr) const {
    return Shell("DISPLAY=" + FDisplay + " xdotool " + Args + " 2>/dev/null", Status);
  }
  // The visible top-level window whose title matches Name, waiting for it.
  std::optional<Box> Window(const std::string& Name, std::chrono::milliseconds Timeout = 15s) const {
    std::optional<Box> found;
    Eventually([&] { return (found = WindowNow(Name)).has_value(); }, Timeout);
    return found;
  }
  // The visible top-level window whose title matches Name, as it is now.
  std::optional<Box> WindowNow(const std::string& Name) const {
    std::string ids = Xdo("search --onlyvisible --name '" + Name + "'");
    if (ids.empty()) return std::nullopt;
    return Geometry(ids.substr(0, ids.find('\n')));
  }
  // The place and size of the window Id on the screen.
  std::optional<Box> Geometry(const std::string& Id) const {
    std::string g = Xdo("getwindowgeometry --shell " + Id);
    int x = 0, y = 0, w = 0, h = 0;
    for (const char* key : {"X=", "Y=", "WIDTH=", "HEIGHT="}) {
      size_t p = g.find(std::string("\n") + key);
      if (p == std::string::npos && g.rfind(key, 0) != 0) return std::nullopt;
      int v = std::atoi(g.c_str() + (p == std::string::npos ? 0 : p + 1) + std::string(key).size());
      (key[0] == 'X' ? x : key[0] == 'Y' ? y : key[0] == 'W' ? w : h) = v;
    }
    return Box{x, y, x + w - 1, y + h - 1};
  }
  void Click(int X, int Y, int Button = 1) const {
    Xdo("mousemove --sync " + std::to_string(X) + " " + std::to_string(Y));
    std::this_thread::sleep_for(100ms);
    Xdo("click " + std::to_string(Button));
    std::this_thread::sleep_for(300ms);
  }
  void Key(const std::string& Keys) const {
    Xdo("key --delay 60 " + Keys);
    std::this_thread::sleep_for(300ms);
  }
  // The whole screen, taken through the file File; empty when it could not be taken.
  Screen Shot(const std::string& File) const {
    Screen s;
    int status = 0;
    Shell("import -display " + FDisplay + " -window root -depth 8 ppm:'" + File + "'", &status);
    std::ifstream in(File, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> s.Width >> s.Height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) return Screen{};
    s.Rgb.resize(static_cast<size_t>(s.Width) * s.Height * 3);
    in.read(reinterpret_cast<char*>(s.Rgb.data()), static_cast<std::streamsize>(s.Rgb.size()));
    return s;
  }
  std::string Clipboard() const {
    return Shell("DISPLAY=" + FDisplay + " timeout 5 xclip -o -selection clipboard 2>/dev/null");
  }

private:
  Child FServer;
  std::string FDisplay;
};

// One program of the test's own on an X server of its own, its runtime files in a temporary
// folder; the program ends before the server.
struct ProgramSession {
  XServer X;
  TempFolder Folder;
  Child Program;

  // Starts the program at Path; false when no X server could be started.
  bool Start(const std::string& Path) {
    if (X.Display().empty()) return false;
    X.Launch(Program, Path, Folder.Path());
    return true;
  }
};

}  // namespace e2e
