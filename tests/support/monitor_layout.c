/* A stand-in for the X screen-layout library that reports the monitors named in
 * TOVRIX_MONITORS ("WxH+X+Y,WxH+X+Y,..."; the first is the primary) over one wide Xvfb screen,
 * so that Wine sees a multi-monitor desktop. Loaded through LD_LIBRARY_PATH by the tests only. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct _XDisplay Display;
typedef struct {
    int screen_number;
    short x_org;
    short y_org;
    short width;
    short height;
} XineramaScreenInfo;

static int parse(XineramaScreenInfo* out, int max) {
    const char* layout = getenv("TOVRIX_MONITORS");
    int count = 0;
    while (layout && *layout && count < max) {
        int w, h, x, y, used = 0;
        if (sscanf(layout, "%dx%d%d%d%n", &w, &h, &x, &y, &used) != 4) break;
        out[count].screen_number = count;
        out[count].x_org = (short)x;
        out[count].y_org = (short)y;
        out[count].width = (short)w;
        out[count].height = (short)h;
        ++count;
        layout += used;
        if (*layout == ',') ++layout;
    }
    return count;
}

int XineramaQueryExtension(Display* display, int* event_base, int* error_base) {
    (void)display;
    *event_base = 0;
    *error_base = 0;
    return 1;
}

int XineramaQueryVersion(Display* display, int* major, int* minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

int XineramaIsActive(Display* display) {
    (void)display;
    return 1;
}

XineramaScreenInfo* XineramaQueryScreens(Display* display, int* number) {
    XineramaScreenInfo found[16];
    int count = parse(found, 16);
    (void)display;
    *number = count;
    if (count == 0) return NULL;
    /* The caller releases the list with XFree, which is free(). */
    XineramaScreenInfo* list = malloc(sizeof(XineramaScreenInfo) * (size_t)count);
    if (!list) {
        *number = 0;
        return NULL;
    }
    memcpy(list, found, sizeof(XineramaScreenInfo) * (size_t)count);
    return list;
}
