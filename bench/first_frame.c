/* Starts a program and prints, in milliseconds, how long after the exec the X server first drew
 * into a top-level window of that program, then waits for the program to end. The same clock
 * and the same event serve the game and the bare window alike.
 *
 *     first_frame [--verbose] PROGRAM [ARGUMENT...]
 *
 * Prints "MILLISECONDS PID WINDOW" on one line as soon as the first frame is drawn. Every window created
 * on the root gets a Damage object before it can be mapped; the first damage reported on a
 * window whose _NET_WM_PID is the child's is the first frame. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kGiveUpMs = 30000 };

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec * 1e3 + (double)now.tv_nsec / 1e6;
}

/* Windows vanish while they are looked at: errors about them are expected and harmless. */
static int IgnoreError(Display *display, XErrorEvent *error) {
    (void)display;
    (void)error;
    return 0;
}

static long WindowPid(Display *display, Window window) {
    static Atom netWmPid = None;
    if (netWmPid == None) {
        netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char *data = NULL;
    long pid = -1;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &left,
                           &data) == Success &&
        data != NULL && format == 32 && count == 1) {
        pid = (long)*(unsigned long *)data;
    }
    if (data != NULL) {
        XFree(data);
    }
    return pid;
}

static pid_t Launch(char **argv) {
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        perror(argv[0]);
        _exit(127);
    }
    return child;
}

static int WaitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int main(int argc, char **argv) {
    int first = 1;
    const int verbose = argc > 1 && strcmp(argv[1], "--verbose") == 0;
    first += verbose;
    if (argc <= first) {
        fprintf(stderr, "usage: first_frame [--verbose] PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    int damageEvent = 0;
    int damageError = 0;
    if (display == NULL || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        fprintf(stderr, "first_frame: no X display with the DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(IgnoreError);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double started = NowMs();
    const pid_t child = Launch(argv + first);
    double shown = -1;
    Window window = None;
    while (shown < 0) {
        if (XPending(display) == 0) {
            struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
            if (poll(&connection, 1, 50) == 0) {
                if (waitpid(child, NULL, WNOHANG) == child || NowMs() - started > kGiveUpMs) {
                    fprintf(stderr, "first_frame: %s showed no window\n", argv[first]);
                    kill(child, SIGKILL);
                    return 1;
                }
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double at = NowMs() - started;
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            if (verbose) {
                fprintf(stderr, "%8.1f ms create 0x%lx %dx%d\n", at, event.xcreatewindow.window,
                        event.xcreatewindow.width, event.xcreatewindow.height);
            }
        } else if (event.type == damageEvent + XDamageNotify) {
            const XDamageNotifyEvent *damage = (const XDamageNotifyEvent *)&event;
            const long pid = WindowPid(display, damage->drawable);
            if (verbose) {
                fprintf(stderr, "%8.1f ms damage 0x%lx pid %ld area %dx%d+%d+%d\n", at, damage->drawable, pid,
                        damage->area.width, damage->area.height, damage->area.x, damage->area.y);
            }
            XDamageSubtract(display, damage->damage, None, None);
            if (pid == child) {
                shown = at;
                window = damage->drawable;
            }
        } else if (verbose && event.type == MapNotify) {
            fprintf(stderr, "%8.1f ms map 0x%lx\n", at, event.xmap.window);
        } else if (verbose && event.type == ReparentNotify) {
            fprintf(stderr, "%8.1f ms reparent 0x%lx\n", at, event.xreparent.window);
        }
    }
    printf("%.1f %d %lu\n", shown, (int)child, window);
    fflush(stdout);
    XCloseDisplay(display);
    return WaitFor(child);
}
