# Asks an X window to close, as a window manager's close button does
# (WM_PROTOCOLS / WM_DELETE_WINDOW). Usage: python3 xclose.py <window id>
import ctypes, sys
X = ctypes.cdll.LoadLibrary("libX11.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XInternAtom.restype = ctypes.c_ulong
X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
X.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(ClientMessage)]
d = X.XOpenDisplay(None)
w = int(sys.argv[1], 0)
ev = ClientMessage(type=33, window=w, message_type=X.XInternAtom(d, b"WM_PROTOCOLS", 0), format=32)
ev.data[0] = X.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
ev.data[1] = 0
X.XSendEvent(d, w, 0, 0, ctypes.byref(ev))
X.XFlush.argtypes = [ctypes.c_void_p]
X.XFlush(d)
X.XCloseDisplay.argtypes = [ctypes.c_void_p]
X.XCloseDisplay(d)
