#!/usr/bin/env python3
"""Times a window's presents under X: every change of its pixels (and its
child windows') raises an XDamage event, stamped on arrival here. Prints the
intervals between them: count, median, the share within 2 ms of 16.7 ms, and
how many were long (a picture held) or short (two close together).

    present_intervals.py WINDOW_ID SECONDS

Works for any X client, the Linux game and the Windows one under Wine alike.
"""
import ctypes
import ctypes.util
import select
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xdamage = ctypes.CDLL(ctypes.util.find_library("Xdamage") or "libXdamage.so.1")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
xdamage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_int)]
xdamage.XDamageCreate.restype = ctypes.c_ulong
xdamage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
xdamage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]

REPORT_NON_EMPTY = 3


class DamageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong),
                ("damage", ctypes.c_ulong), ("level", ctypes.c_int), ("more", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("damage", DamageEvent), ("pad", ctypes.c_long * 24)]


def windows_under(display, window):
    found = [window]
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if x11.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent),
                      ctypes.byref(children), ctypes.byref(count)):
        for i in range(count.value):
            found += windows_under(display, children[i])
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    window, seconds = int(sys.argv[1], 0), float(sys.argv[2])
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("present_intervals: no display")
    base, error = ctypes.c_int(), ctypes.c_int()
    if not xdamage.XDamageQueryExtension(display, ctypes.byref(base), ctypes.byref(error)):
        sys.exit("present_intervals: the X server has no DAMAGE extension")
    damages = [xdamage.XDamageCreate(display, w, REPORT_NON_EMPTY) for w in windows_under(display, window)]
    x11.XFlush(display)
    fd = x11.XConnectionNumber(display)
    stamps, event = [], Event()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not x11.XPending(display):
            select.select([fd], [], [], 0.05)
            continue
        x11.XNextEvent(display, ctypes.byref(event))
        if event.damage.type != base.value:
            continue
        now = time.monotonic()
        # Damage to a window and its child in the same present is one present.
        if not stamps or now - stamps[-1] > 0.002:
            stamps.append(now)
        for d in damages:
            xdamage.XDamageSubtract(display, d, 0, 0)
        x11.XFlush(display)
    gaps = sorted(1000 * (b - a) for a, b in zip(stamps, stamps[1:]))
    if not gaps:
        sys.exit("present_intervals: the window presented nothing")
    n = len(gaps)
    near = sum(1 for g in gaps if abs(g - 1000 / 60) <= 2)
    print(f"presents {n + 1}, intervals median {gaps[n // 2]:.2f} ms, "
          f"within 2 ms of 16.7: {100 * near / n:.1f} %, "
          f"over 25 ms: {sum(1 for g in gaps if g > 25)}, under 8 ms: {sum(1 for g in gaps if g < 8)}, "
          f"longest {gaps[-1]:.1f} ms, rate {n / (1000 * 0 + sum(gaps) / 1000):.2f}/s")


main()
