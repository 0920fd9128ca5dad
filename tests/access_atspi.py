#!/usr/bin/python3
"""What a screen reader such as Orca sees of the program, asked from outside its process over
AT-SPI, the desktop's accessibility bus.

Run as `access_atspi.py PROGRAM`: the script starts itself again under a private X server
(xvfb-run) and a private D-Bus session, starts the accessibility bus there, starts the program
with one simulated generator, walks its tree with pyatspi and checks names, roles, states and
values, then sets the Frequency knob through the bus and reads the field. Exit code 77 (a
skip) when a tool it needs is missing or the program never appears on the bus.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def outer(program):
    """Starts the inner run in a private X server and D-Bus session."""
    for tool in ("xvfb-run", "dbus-run-session"):
        if shutil.which(tool) is None:
            skip(tool + " is not installed (scripts/setup.sh installs it)")
    if not os.path.exists(LAUNCHER):
        skip("at-spi2-core is not installed (scripts/setup.sh installs it)")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("python3-pyatspi is not installed (scripts/setup.sh installs it)")
    command = ["xvfb-run", "-a", "dbus-run-session", "--", sys.executable, __file__,
               "--inner", program]
    try:
        return subprocess.run(command, timeout=100).returncode
    except subprocess.TimeoutExpired:
        skip("the accessibility bus did not answer in time")


def find_app(pyatspi, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and "Tarn" in (app.name or ""):
                return app
        time.sleep(0.3)
    return None


def nodes(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from nodes(node.getChildAtIndex(i), depth + 1)


def inner(program):
    os.environ.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    bus = subprocess.Popen([LAUNCHER, "--launch-immediately"], stderr=subprocess.DEVNULL)
    time.sleep(1)  # the bus first, so that the program and this script both find it
    home = tempfile.mkdtemp()
    app_process = subprocess.Popen([program, "--units", "1"], env=dict(os.environ, HOME=home),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []
    try:
        import pyatspi

        app = find_app(pyatspi, 20)
        if app is None:
            skip("the program did not appear on the accessibility bus")
        # Wait for the device window's panel.
        deadline = time.time() + 20
        by_name = {}
        while time.time() < deadline and ("Frequency knob", "dial") not in by_name:
            time.sleep(0.3)
            by_name = {}
            for node in nodes(app):
                try:
                    by_name.setdefault((node.name, node.getRoleName()), node)
                except Exception:
                    pass
        # Name, role, state that must be set (or None), value (or None).
        checked, readonly = pyatspi.STATE_CHECKED, pyatspi.STATE_READ_ONLY
        rows = [
            ("Frequency knob", "dial", None, 1000.0),
            ("Amplitude knob", "dial", None, 2.0),
            ("Sine switch", "radio button", checked, None),
            ("Square switch", "radio button", None, None),
            ("Wave ON/OFF lamp", "check box", readonly, None),
            ("-20dB switch", "check box", None, None),
            ("F/C lever: F", "check box", None, None),
            ("Ext Trig Mode lever: Fall", "check box", None, None),
            ("Frequency, Hz", "text", None, None),
            ("Y Offset, V", "spin button", None, 0.0),
            ("Phase, share of a period", "spin button", None, 0.0),
            ("Frequency measure", "text", pyatspi.STATE_FOCUSABLE, None),
            ("Hide the control panel", "push button", None, None),
            ("Waveform position", "slider", None, None),
            ("Waveform display", "chart", None, None),
        ]
        for name, role, state, value in rows:
            node = by_name.get((name, role))
            if node is None:
                failures.append("no %s named %r" % (role, name))
                continue
            if state is not None and not node.getState().contains(state):
                failures.append("%r lacks state %s" % (name, state))
            if value is not None and abs(node.queryValue().currentValue - value) > 1e-6:
                failures.append("%r has value %s, not %s" % (name, node.queryValue().currentValue,
                                                           value))
        knob = by_name.get(("Frequency knob", "dial"))
        if knob is not None:
            limits = (knob.queryValue().minimumValue, knob.queryValue().maximumValue)
            if limits != (1.0, 75e6):
                failures.append("Frequency knob limits %s" % (limits,))
        # Every control a user acts on has a name without spaces at its ends.
        acting = {"push button", "check box", "radio button", "dial", "spin button", "text",
                  "slider", "toggle button", "combo box", "page tab"}
        for node in nodes(app):
            role, name = node.getRoleName(), node.name or ""
            if role in acting and (not name or name != name.strip()):
                failures.append("a %s is named %r" % (role, name))
        # What a reader hears: a knob set over the bus and a switch pressed over it announce the
        # knob's new value and the lamp going on.
        heard = []

        def listen(event):
            try:
                heard.append((event.type, event.source.name, event.detail1))
            except Exception:
                pass

        def pump(seconds):
            from gi.repository import GLib
            GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
            pyatspi.Registry.start()

        pyatspi.Registry.registerEventListener(listen, "object:property-change:accessible-value",
                                               "object:state-changed:checked")
        pump(0.5)  # the program learns that someone listens
        switch = by_name.get(("-20dB switch", "check box"))
        if switch is not None:
            switch.queryAction().doAction(0)
        # Setting the knob's value over the bus steps the field as a turn does.
        if knob is not None:
            knob.queryValue().currentValue = 1234.0
        pump(1.5)
        if not any(t.startswith("object:property-change:accessible-value") and n == "Frequency knob"
                   for t, n, _ in heard):
            failures.append("no value change heard from the Frequency knob: %s" % heard)
        if not any(t.startswith("object:state-changed:checked") and n == "-20dB lamp" and d == 1
                   for t, n, d in heard):
            failures.append("the -20dB lamp was not heard going on: %s" % heard)
        if knob is not None:
            deadline = time.time() + 5
            field = by_name[("Frequency, Hz", "text")]
            text = ""
            while time.time() < deadline:
                text = field.queryText().getText(0, -1)
                if text == "1234.000":
                    break
                time.sleep(0.2)
            if text != "1234.000":
                failures.append("Frequency field shows %r after the knob was set to 1234" % text)
    finally:
        app_process.terminate()
        try:
            app_process.wait(10)
        except subprocess.TimeoutExpired:
            app_process.kill()
        bus.terminate()
        shutil.rmtree(home, ignore_errors=True)
    for failure in failures:
        print("FAIL: " + failure)
    print("%d checks failed" % len(failures) if failures else "PASS")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--inner":
        sys.exit(inner(sys.argv[2]))
    if len(sys.argv) != 2:
        print("usage: access_atspi.py PROGRAM")
        sys.exit(2)
    sys.exit(outer(sys.argv[1]))
