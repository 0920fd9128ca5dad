#!/usr/bin/env python3
"""The headless program's file commands over a real loopback socket: every name stays inside
the waveform folder, whatever a client sends or a link says, and what the program makes there
is its user's alone.

Usage: remote_files_e2e.py PATH/TO/DDSTarnUSB. Plain sockets, so it needs nothing installed.
Run as root (as CI is), it also runs the program as nobody and reads its files as another user.
"""
import os
import pwd
import shutil
import socket
import stat
import subprocess
import sys
import tempfile

CSV = "#CLOCK=5000.000000\r\n#SIZE=5\r\n" + "1.000000,0,0\r\n" * 5
OTHER_UID = 54321  # a user with no name and no groups, never the program's


class Client:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.buffer = b""

    def write(self, line):
        self.sock.sendall(line.encode() + b"\n")

    def query(self, line):
        self.write(line)
        while b"\n" not in self.buffer:
            data = self.sock.recv(65536)
            assert data, "connection closed"
            self.buffer += data
        answer, self.buffer = self.buffer.split(b"\n", 1)
        return answer.decode()

    def errors(self):
        codes = []
        while not (entry := self.query("SYST:ERR?")).startswith("0,"):
            codes.append(int(entry.split(",")[0]))
        return codes


def start(program, env, extra=(), prefix=()):
    env = dict(env, DDSTARN_SIM_UNITS="1")
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    process = subprocess.Popen([*prefix, program, "--headless", "--scpi=0", *extra], env=env,
                               stdout=subprocess.PIPE, text=True)
    line = process.stdout.readline()
    assert line.startswith("SCPI listening on 127.0.0.1:"), repr(line)
    return process, int(line.rsplit(":", 1)[1])


def mode(path):
    return stat.S_IMODE(os.lstat(path).st_mode)


def check_names_stay_inside(program, root):
    """Absolute names, "..", and links out are refused and touch nothing (--data-dir)."""
    waves, home = os.path.join(root, "waves"), os.path.join(root, "home")
    os.makedirs(home)
    bashrc = os.path.join(home, ".bashrc")
    with open(bashrc, "w") as f:
        f.write("original\n")
    with open(os.path.join(root, "secret.csv"), "w") as f:
        f.write(CSV)
    process, port = start(program, dict(os.environ, HOME=home), ["--data-dir", waves])
    try:
        gen = Client(port)
        assert gen.query("MMEM:CAT?").startswith("0,")  # made on start, empty
        assert mode(waves) == 0o700, oct(mode(waves))
        os.symlink(bashrc, os.path.join(waves, "bashrc.csv"))
        os.symlink("../secret.csv", os.path.join(waves, "peek.csv"))
        os.symlink("../home", os.path.join(waves, "up"))
        rows = [
            (f'MMEM:STOR:DATA "{root}/evil.csv"', [-257]),
            ('MMEM:STOR:DATA "../evil.csv"', [-257]),
            ('MMEM:STOR:DATA "sub/../../evil.csv"', [-257]),
            ('MMEM:STOR:DATA "bashrc.csv"', [-257]),
            ('MMEM:STOR:DATA "up/.bashrc"', [-257]),
            ('MMEM:LOAD:DATA "peek.csv"', [-257]),
            ('MMEM:LOAD:DATA "/etc/passwd"', [-257]),
            ('MMEM:LOAD:DATA "../secret.csv"', [-257]),
            ('MMEM:LOAD:DATA "none.csv"', [-256]),
            ('MMEM:DEL "../secret.csv"', [-257]),
        ]
        for line, codes in rows:
            gen.write(line)
            assert gen.errors() == codes, (line, codes)
        assert float(gen.query("FREQ?")) == 1000  # nothing was read
        assert open(bashrc).read() == "original\n"
        assert os.path.exists(os.path.join(root, "secret.csv"))
        assert sorted(os.listdir(root)) == ["home", "secret.csv", "waves"], os.listdir(root)

        assert gen.query('MMEM:STOR:DATA "sine.csv";*OPC?') == "1" and gen.errors() == []
        saved = os.path.join(waves, "sine.csv")
        assert mode(saved) == 0o600, oct(mode(saved))
        listing = gen.query("MMEM:CAT?")
        assert f'"sine.csv,ASC,{os.path.getsize(saved)}"' in listing, listing
        assert '"up,' not in listing and '"peek.csv,' not in listing, listing
        assert gen.query('MMEM:LOAD:DATA "sine.csv";*OPC?;:FUNC?') == "1;ARB"
        gen.write('MMEM:DEL "sine.csv";:MMEM:DEL "sine.csv"')
        assert gen.errors() == [-256] and not os.path.exists(saved)
    finally:
        process.terminate()
        assert process.wait(timeout=10) == 0


def check_folder_is_the_users_alone(program, root):
    """As an unprivileged user: the default folder and its files are made 0700 and 0600 and
    another user can neither list nor read them."""
    nobody = pwd.getpwnam("nobody")
    os.chmod(root, 0o755)
    os.chown(root, nobody.pw_uid, nobody.pw_gid)
    data = os.path.join(root, "data")
    drop = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups"]
    process, port = start(program, dict(os.environ, HOME=root, XDG_DATA_HOME=data),
                          prefix=drop)
    try:
        gen = Client(port)
        assert gen.query('MMEM:STOR:DATA "w.csv";*OPC?') == "1" and gen.errors() == []
    finally:
        process.terminate()
        assert process.wait(timeout=10) == 0
    waves = os.path.join(data, "ddstarn-usb", "waveforms")
    saved = os.path.join(waves, "w.csv")
    for path, wanted in [(data, 0o700), (os.path.dirname(waves), 0o700), (waves, 0o700),
                         (saved, 0o600)]:
        assert mode(path) == wanted and os.stat(path).st_uid == nobody.pw_uid, (path, oct(mode(path)))
    other = ["setpriv", f"--reuid={OTHER_UID}", f"--regid={OTHER_UID}", "--clear-groups"]
    for command in (["ls", waves], ["cat", saved]):
        result = subprocess.run(other + command, capture_output=True, text=True)
        assert result.returncode != 0 and "Permission denied" in result.stderr, (command, result)


def main():
    program = os.path.abspath(sys.argv[1])
    checks = [check_names_stay_inside]
    if os.geteuid() == 0 and shutil.which("setpriv"):
        checks.append(check_folder_is_the_users_alone)
    else:
        print("SKIP check_folder_is_the_users_alone: needs root to become nobody")
    failures = []
    for check in checks:
        root = tempfile.mkdtemp(prefix="ddstarn_files_")
        try:
            check(program, root)
            print("ok  ", check.__name__)
        except Exception as error:  # every check runs; the run fails at the end
            failures.append(check.__name__)
            print("FAIL", check.__name__, repr(error))
        finally:
            shutil.rmtree(root, ignore_errors=True)
    print("failed:", ", ".join(failures) if failures else "none")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
