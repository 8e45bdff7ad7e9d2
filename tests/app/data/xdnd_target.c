/* A program that takes drags over XDND: a window named "xdnd target" at the
 * given place that accepts every drag as a copy and, on the drop, writes the
 * types offered (one a line) and the text dropped (text/plain;charset=utf-8)
 * to the given files, then ends.
 * Arguments: types file, text file, x, y, width, height. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display* display;
static Window window;

static Atom atom(const char* name) { return XInternAtom(display, name, False); }

static void reply(Window source, Atom type, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = source;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)window;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, source, False, NoEventMask, &event);
    XFlush(display);
}

int main(int argc, char** argv) {
    if (argc != 7) return 2;
    display = XOpenDisplay(NULL);
    if (!display) return 1;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]),
                                 atoi(argv[6]), 0, 0, 0xFFFFFF);
    XStoreName(display, window, "xdnd target");
    long version = 5;
    XChangeProperty(display, window, atom("XdndAware"), XA_ATOM, 32, PropModeReplace, (unsigned char*)&version, 1);
    XSelectInput(display, window, PropertyChangeMask);
    XMapRaised(display, window);
    XFlush(display);
    const Atom enter = atom("XdndEnter"), position = atom("XdndPosition"), drop = atom("XdndDrop");
    const Atom text = atom("text/plain;charset=utf-8"), copy = atom("XdndActionCopy");
    const Atom property = atom("DROPPED");
    Window source = None;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == enter) {
            source = (Window)event.xclient.data.l[0];
            FILE* types = fopen(argv[1], "w");
            for (int i = 2; i <= 4 && types; ++i)
                if (event.xclient.data.l[i]) {
                    char* name = XGetAtomName(display, (Atom)event.xclient.data.l[i]);
                    fprintf(types, "%s\n", name);
                    XFree(name);
                }
            if (types) fclose(types);
        } else if (event.type == ClientMessage && event.xclient.message_type == position) {
            reply(source, atom("XdndStatus"), 1, 0, 0, (long)copy);
        } else if (event.type == ClientMessage && event.xclient.message_type == drop) {
            XConvertSelection(display, atom("XdndSelection"), text, property, window,
                              (Time)event.xclient.data.l[2]);
            XFlush(display);
        } else if (event.type == SelectionNotify) {
            Atom type;
            int format;
            unsigned long count, after;
            unsigned char* data = NULL;
            int ok = event.xselection.property != None &&
                     XGetWindowProperty(display, window, property, 0, 1 << 20, True, AnyPropertyType, &type, &format,
                                        &count, &after, &data) == Success;
            FILE* out = fopen(argv[2], "w");
            if (out && ok && data) fwrite(data, 1, count, out);
            if (out) fclose(out);
            if (data) XFree(data);
            reply(source, atom("XdndFinished"), ok ? 1 : 0, ok ? (long)copy : 0, 0, 0);
            XCloseDisplay(display);
            return ok ? 0 : 1;
        }
    }
}
