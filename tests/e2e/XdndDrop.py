#!/usr/bin/env python3
"""Drops a file on the X window under a point of the screen, as a file manager does.

Usage: XdndDrop.py FILE X Y

Speaks the drag-and-drop protocol of X (XDND) from a window of its own: offers FILE as a
text/uri-list, sends Enter and Position for the point, waits until the target says it takes
the drop, sends Drop, hands over the file's URI when the target asks for it, and waits for
Finished. Exit status 0 once the target has finished the drop, 1 otherwise. Only libX11,
through ctypes, so that it needs nothing beyond Python and the X library.
"""
import ctypes
import ctypes.util
import sys
import time
import urllib.parse

XDND_VERSION = 5
CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
PROP_MODE_REPLACE = 0
DEADLINE_SECONDS = 15

Window = Atom = Time = ctypes.c_ulong


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", Time)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", Time)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("notify", SelectionNotify), ("pad", ctypes.c_long * 24)]


def load_xlib():
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = Window
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XInternAtom.restype = Atom
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XCreateSimpleWindow.restype = Window
    x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + [
        ctypes.c_ulong] * 2
    x.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                        ctypes.POINTER(Window)]
    x.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                     Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                     ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                     ctypes.POINTER(ctypes.c_void_p)]
    x.XFree.argtypes = [ctypes.c_void_p]
    x.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, Time]
    x.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
    x.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_char_p, ctypes.c_int]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    return x


class Drop:
    def __init__(self, xlib, path, x, y):
        self.x11, self.x, self.y = xlib, x, y
        self.display = xlib.XOpenDisplay(None)
        if not self.display:
            sys.exit("XdndDrop: no X display")
        self.root = xlib.XDefaultRootWindow(self.display)
        self.source = xlib.XCreateSimpleWindow(self.display, self.root, 0, 0, 1, 1, 0, 0, 0)
        self.uri_list = ("file://" + urllib.parse.quote(path) + "\r\n").encode()

    def atom(self, name):
        return self.x11.XInternAtom(self.display, name.encode(), 0)

    def is_aware(self, window):
        kind, form = Atom(), ctypes.c_int()
        count, left, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        self.x11.XGetWindowProperty(self.display, window, self.atom("XdndAware"), 0, 1, 0, 0, ctypes.byref(kind),
                                    ctypes.byref(form), ctypes.byref(count), ctypes.byref(left),
                                    ctypes.byref(data))
        if data:
            self.x11.XFree(data)
        return kind.value != 0

    def target_at_point(self):
        """The innermost window under the point that takes drops, or 0."""
        window, found = self.root, 0
        while True:
            wx, wy, child = ctypes.c_int(), ctypes.c_int(), Window()
            self.x11.XTranslateCoordinates(self.display, self.root, window, self.x, self.y, ctypes.byref(wx),
                                           ctypes.byref(wy), ctypes.byref(child))
            if not child.value:
                return found
            window = child.value
            if self.is_aware(window):
                found = window

    def send(self, target, message, *longs):
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = target
        event.client.message_type = self.atom(message)
        event.client.format = 32
        for index, value in enumerate((self.source,) + longs):
            event.client.l[index] = value
        self.x11.XSendEvent(self.display, target, 0, 0, ctypes.byref(event))
        self.x11.XFlush(self.display)

    def hand_over(self, request):
        """Answers the target's request for the dropped data with the URI list."""
        reply = Event()
        reply.notify.type = SELECTION_NOTIFY
        reply.notify.requestor = request.requestor
        reply.notify.selection = request.selection
        reply.notify.target = request.target
        reply.notify.time = request.time
        reply.notify.property = 0
        if request.target == self.atom("text/uri-list"):
            self.x11.XChangeProperty(self.display, request.requestor, request.property, request.target, 8,
                                     PROP_MODE_REPLACE, self.uri_list, len(self.uri_list))
            reply.notify.property = request.property
        self.x11.XSendEvent(self.display, request.requestor, 0, 0, ctypes.byref(reply))
        self.x11.XFlush(self.display)

    def wait_for(self, message, target):
        """Waits for the target's `message`, answering its data requests meanwhile."""
        deadline = time.monotonic() + DEADLINE_SECONDS
        event = Event()
        while time.monotonic() < deadline:
            if not self.x11.XPending(self.display):
                time.sleep(0.01)
                continue
            self.x11.XNextEvent(self.display, ctypes.byref(event))
            if event.type == SELECTION_REQUEST:
                self.hand_over(event.request)
            elif event.type == CLIENT_MESSAGE and event.client.message_type == self.atom(message):
                return event.client
        sys.exit("XdndDrop: no %s from window 0x%x" % (message, target))

    def run(self):
        target = self.target_at_point()
        if not target:
            sys.exit("XdndDrop: no window at %d,%d takes drops" % (self.x, self.y))
        self.x11.XSetSelectionOwner(self.display, self.atom("XdndSelection"), self.source, 0)
        self.send(target, "XdndEnter", XDND_VERSION << 24, self.atom("text/uri-list"), 0, 0)
        self.send(target, "XdndPosition", 0, (self.x << 16) | self.y, 0, self.atom("XdndActionCopy"))
        status = self.wait_for("XdndStatus", target)
        if not status.l[1] & 1:
            self.send(target, "XdndLeave", 0, 0, 0, 0)
            sys.exit("XdndDrop: window 0x%x does not take the drop" % target)
        self.send(target, "XdndDrop", 0, 0, 0, 0)
        self.wait_for("XdndFinished", target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    Drop(load_xlib(), sys.argv[1], int(sys.argv[2]), int(sys.argv[3])).run()
