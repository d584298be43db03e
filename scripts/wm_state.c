/* The one duty of a window manager that Wine waits for, on the tests' virtual displays that have
 * none: each top-level window gets its WM_STATE property (ICCCM 4.1.3.1) as it is mapped (Normal)
 * and unmapped (Withdrawn). Wine waits up to two seconds for that property whenever it shows or
 * hides a window with a caption; nothing else of a window manager is done here: windows are not
 * framed, placed, stacked or focused, so they behave as on a display without one.
 *   wm_state      (runs until its display goes; scripts/common.sh starts it with each Xvfb)
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>

enum { kWithdrawnState = 0, kNormalState = 1 };

static int IgnoreErrors(Display* display, XErrorEvent* error) {
    (void)display;
    (void)error;  /* a window may be gone before its property is set */
    return 0;
}

static void SetState(Display* display, Window window, Atom wmState, long state) {
    long value[2] = {state, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace, (unsigned char*)value, 2);
}

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "wm_state: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XFlush(display);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
            SetState(display, event.xmap.window, wmState, kNormalState);
        } else if (event.type == UnmapNotify && event.xunmap.event == root) {
            SetState(display, event.xunmap.window, wmState, kWithdrawnState);
        } else {
            continue;
        }
        XFlush(display);
    }
}
