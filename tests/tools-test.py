#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tools-test.py KESTRIX_SEND KESTRIX_BOX_SIM KESTRIX_CONFIG

The command-line programs as their users run them: the cases of
cases/tools.txt; every sample of data/cfg/ dry-run under a comma and a point
locale against the output beside it; random settings against the bytes
worked out here from the rules; sends to the box simulator on a busy
machine, once unprivileged at the lowest priority."""
import difflib, os, random, re, shlex, shutil, subprocess, sys, tempfile, time
from decimal import ROUND_HALF_EVEN, ROUND_HALF_UP, Decimal
from pathlib import Path

HERE = Path(__file__).resolve().parent
CFG = HERE / "data/cfg"
PROGRAMS = dict(zip(["send", "sim", "config"], sys.argv[1:4]))
SCRATCH = tempfile.TemporaryDirectory()
TMP = Path(SCRATCH.name)
# No display, no port variables, no stored port choices.
ENV = {k: v for k, v in os.environ.items()
       if not re.fullmatch(r"DISPLAY|WAYLAND_DISPLAY|QT_QPA_PLATFORM|KESTRIX_COM\d+", k)}
ENV.update(XDG_CONFIG_HOME=str(TMP), LC_ALL="C.UTF-8")
failures = []


def failed(where, why, output=""):
    failures.append(where)
    print(f"FAILED {where}: {why}\n" + "".join(f"    {line}\n" for line in output.splitlines()))


def run(words, **env):
    """Runs PROGRAM ARGS..., after any NAME=value words that set variables."""
    env = dict(ENV, **env)
    while "=" in words[0]:
        name, value = words[0].split("=", 1)
        env[name], words = value, words[1:]
    try:
        p = subprocess.run([PROGRAMS[words[0]]] + words[1:], env=env, capture_output=True, timeout=30)
    except subprocess.TimeoutExpired:
        return -1, "", "timed out"
    return p.returncode, p.stdout.decode(), p.stderr.decode()


def table():
    os.mkfifo(TMP / "fifo.cfg")
    for number, line in enumerate((HERE / "cases/tools.txt").read_text().splitlines(), 1):
        if line.strip() and not line.startswith("#"):
            status, command, pattern = (part.strip() for part in line.split(" | ", 2))
            words = shlex.split(command.format(data=HERE / "data", tmp=TMP, cfg=CFG / "example.cfg",
                                               long="x" * 3000))
            got, out, err = run(words)
            output = out + "--\n" + err
            if got != int(status) or not re.search(pattern, output, re.S | re.M):
                failed(f"cases/tools.txt:{number}", f"exit {got}", output)
            elif "send" in words and got in (1, 2, 3) and out:  # no dump for what cannot be sent
                failed(f"cases/tools.txt:{number}", "printed a dump", output)


def samples():
    ports = {f"KESTRIX_COM{n}": f"/nonexistent/COM{n}" for n in range(1, 17)}
    for cfg in sorted(CFG.glob("*.cfg")):
        want = cfg.with_suffix(".out").read_text().splitlines()
        for locale in ("it_IT.UTF-8", "en_US.UTF-8"):
            status, out, err = run(["send", "--dry-run", str(cfg)], LC_ALL=locale, **ports)
            got = [f"exit {status}"] + out.splitlines() + err.splitlines()
            if got != want:
                failed(f"{cfg.name} under {locale}", "output differs",
                       "\n".join(difflib.unified_diff(want, got, "expected", "got", lineterm="")))


def dump_bytes(dump):
    """The bytes of a dump (its offsets are the samples' business)."""
    return b"".join(bytes.fromhex(row) for row in
                    re.findall(r"^ *\d+ +(?:-|\d+)  ([0-9a-f ]+?) *\|", dump, re.M))


# The frame as the rules give it, from a file's 35 fields in order.
def number(text):
    m = re.match(r"[-+]?(\d+\.?\d*|\.\d+)", text.replace(",", "."))
    return Decimal(m[0]) if m else Decimal(0)


def khz(text):
    return str(int((number(text) * 1000).quantize(1, ROUND_HALF_UP))).zfill(6)


def frame(f):
    timer, beep, packet, ra2, ranges_on, ranges, bands_on, bands = f[:8]
    lows, highs, band, dx_on, calls, dx = f[8:14], f[14:20], f[20:26], f[26], f[27], f[28:31]
    out = bytearray(128)
    for i in range(6):
        out[10 * i:10 * i + 10] = (khz(lows[min(i, ranges)])[:6] + khz(highs[min(i, ranges)])[-4:]).encode()
    out[60] = int((number(timer) * 4).quantize(1, ROUND_HALF_EVEN))
    out[61] = 128 * packet + 64 * ra2 + 32 * beep
    out[62] = 128 * dx_on + 64 * bands_on + 32 * ranges_on + 16 * f[31] + 8 * f[32]
    out[63:88] = bytes(band[min(k, bands)] for k in range(6)) + b"\0DX de \0To ALL de \0"
    for at, text in [(88, f[33])] + [(98 + 10 * j, dx[min(j, calls)]) for j in range(3)]:
        text = text.lstrip(" ").encode("cp1252")
        out[at:at + len(text)] = text
        out[at + len(text):at + 10] = bytes(max(0, 10 - len(text)))
    return b"".join(b"\xfe\xfe" + out[h:h + 64] + bytes([(0x1FC + sum(out[h:h + 64])) % 256]) for h in (0, 64))


def random_fields(r):
    def bound(i, count):
        return "-7,5" if i > count and r.random() < 0.3 else r.choice(
            ["", "999,9995", f"{r.randint(0, 1200)}{r.choice(',.')}{r.randint(0, 9999):04d}"])

    def text(most):
        return " " * r.randint(0, 2) + "".join(r.choices("AZ09/ ,'éñ€", k=r.randint(0, most)))

    timer = r.choice(["63,75", "63,87", "-0,125", "0,125", "0,375", "", "abc",
                      f"{r.randint(0, 62)},{r.randint(0, 999):03d}", f"{r.randint(0, 62)}.{r.randint(0, 9)}"])
    ranges, bands, calls = r.randint(0, 5), r.randint(0, 5), r.randint(0, 2)
    flags = [r.randint(0, 1) for _ in range(8)]
    return ([timer] + flags[:4] + [ranges, flags[4], bands] + [bound(i % 6, ranges) for i in range(12)]
            + [r.randint(0 if i <= bands else -1, 11) for i in range(6)] + [flags[5], calls]
            + [text(12 if j < calls else 10) for j in range(3)] + flags[6:] + [text(12), "1"])


def random_frames():
    r = random.Random(26)
    per_line = [4, 4] + [1] * 18 + [2, 1, 1, 1, 4]
    for case in range(40):
        fields = random_fields(r)
        values = iter(f'"{v}"' if isinstance(v, str) else str(v) for v in fields)
        cfg = TMP / f"random{case}.cfg"
        cfg.write_bytes("".join(",".join(next(values) for _ in range(n)) + "\r\n"
                                for n in per_line).encode("cp1252"))
        status, out, err = run(["send", "-n", str(cfg)], LC_ALL="it_IT.UTF-8")
        if status != 0 or dump_bytes(out) != frame(fields):
            failed(f"random settings {case}", f"exit {status}: {fields}\n{frame(fields).hex(' ')}",
                   out + err)


# A box simulator taking count transmissions, and the device it listens on.
def simulator(count, command=(PROGRAMS["sim"],)):
    p = subprocess.Popen([*command, "--count", str(count)], env=ENV, text=True,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return p, p.stdout.readline().removeprefix("Listening on ").strip()


def finish(p):
    try:
        return p.communicate(timeout=30)[0]
    except subprocess.TimeoutExpired:
        p.kill()
        return p.communicate()[0] + "timed out"


def simulated():
    example = (CFG / "example.out").read_text()
    wire = dump_bytes(example)
    # Four processes keep both cores busy from before the simulator starts.
    busy = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(4)]
    try:
        sim, sim_path = simulator(6)
        line = os.open(sim_path, os.O_WRONLY | os.O_NOCTTY)
        os.write(line, wire)  # no pauses at all
        os.close(line)
        time.sleep(0.7)
        sends = [run(["send", "--device", sim_path, str(CFG / "example.cfg")])[0] for _ in range(5)]
        # Unprivileged and at the lowest priority, the simulator wakes late and must allow for it.
        shutil.copy(PROGRAMS["sim"], TMP)
        TMP.chmod(0o755)
        nobody = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] if os.geteuid() == 0 else []
        late, late_path = simulator(3, nobody + ["nice", "-n", "19", str(TMP / "kestrix-box-sim")])
        time.sleep(1)  # long enough to see how late it wakes
        late_sends = [run(["send", "--device", late_path, str(CFG / "example.cfg")])[0] for _ in range(3)]
    finally:
        for p in busy:
            p.kill()
    out = finish(sim)
    settings = [row.split("| ")[1] for row in example.splitlines()[3:-1]
                if re.search(r"\| (range|susp|opt|sect|band|user|DX call)", row)]
    frame_hex = (wire[2:66] + wire[69:133]).hex()
    # The box's other refusals are the receptions' cases. A late reader cannot
    # see the missing header pause, but never misses the 400 ms one.
    wanted = [r"Transmission 1: refused: (block 1 came 0\.\d ms after its header; the box needs 10 ms|"
              r"header 2 came 0\.\d ms after block 1; the box needs 400 ms)\n.*LCD: ERR TIMING"]
    wanted += [rf"Transmission {n}: accepted\n.*LCD: OK!\n  " + re.escape("\n  ".join(settings) + f"\n  frame: {frame_hex}")
               for n in range(2, 7)]
    if sends != [0] * 5 or sim.returncode != 1 or not all(re.search(w, out, re.S) for w in wanted):
        failed("the simulator", f"sends {sends}, simulator exit {sim.returncode}", out)
    out = finish(late)
    if late_sends != [0] * 3 or late.returncode != 0 or out.count("LCD: OK!") != 3:
        failed("the unprivileged simulator", f"sends {late_sends}", out)


for part in (table, samples, random_frames, simulated):
    part()
print(f"tools-test: {len(failures)} failures")
sys.exit(bool(failures))
