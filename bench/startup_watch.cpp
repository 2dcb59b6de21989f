// Launches a program under X and prints the milliseconds from the launch until the first
// top-level window whose title contains a given text is mapped. Used by startup_bench.sh.
//
// usage: startup_watch TITLE_PART PROGRAM [ARGS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The window's title as UTF-8: _NET_WM_NAME, or WM_NAME when that is missing.
std::string TitleOf(Display* display, Window window) {
  Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, net_wm_name, 0, 4096, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

// A window may be gone by the time its title is asked for (a short-lived pop-up): Xlib's own
// handler would end the watcher then, leaving the program running and the bench waiting.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TITLE_PART PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_watch: no X display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreXError);
  const std::string wanted = argv[1];
  Window root = DefaultRootWindow(display);
  // Without a window manager the program's windows are children of the root window, and their
  // mapping is reported to whoever listens for the root's substructure.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    execvp(argv[2], argv + 2);
    std::perror("startup_watch: exec");
    _exit(127);
  }
  int status = 1;
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify) continue;
    std::string title = TitleOf(display, event.xmap.window);
    if (title.find(wanted) == std::string::npos) continue;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f\n", ms);
    status = 0;
    break;
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  return status;
}
