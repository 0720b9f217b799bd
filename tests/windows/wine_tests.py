#!/usr/bin/env python3
"""The Windows orvane-cli.exe under wine against the Linux orvane-cli.

    wine_tests.py WIN_EXE LINUX_EXE SOURCE_DIR WORK_DIR

Both programs run on the same inputs from the same folder with the same
arguments; their standard output, standard error, exit code and every file
they write must be the same bytes. The JSON of `check --json` is also read
as numbers, so that a difference in the last bits of a value (the two C
libraries' pow and exp) is found and named even where the text would show
it. WINE, WINEPREFIX and WINEDEBUG come from the environment
(tools/cross-windows.sh). One line per group: passed/failed with counts;
exit status 1 on any difference.
"""

import json
import math
import os
import shutil
import struct
import subprocess
import sys
from pathlib import Path

WIN_EXE, LINUX_EXE, SOURCE, WORK = (Path(a).resolve() for a in sys.argv[1:5])
WINE = os.environ.get("WINE", "wine64")
VECTORS = SOURCE / "tests" / "vectors"

LOADS = (
    "case,sigx,sigy,tau,pd\n"
    "storm 0°,-180.5,20,35,0.2\n"
    '"operating, 90°",-95,10,12,0.1\n'
    "survival,-240,35,60,0.35\n"
    "\n"
    "tension,120,5,20,0\n"
    "=cmd,-60.25,,8,\n"
    "empty keeps,,,,\n"
)
FORCES = "case,N,M1,M2,T,Q1,Q2,pd\nbend,-8000,20000,15000,9000,2000,0,-0.2\naxial,-12000,0,0,0,0,0,0\n"


def run(exe, args, cwd):
    """(exit code, stdout, stderr) of one program on `args` in `cwd`."""
    command = [WINE, str(exe)] if exe == WIN_EXE else [str(exe)]
    p = subprocess.run(command + args, cwd=cwd, stdin=subprocess.DEVNULL, capture_output=True, timeout=120,
                       check=False)
    return p.returncode, p.stdout, p.stderr


def first_difference(a, b):
    n = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
    line = a[:n].count(b"\n") + 1
    return f"byte {n} (line {line}): linux {a[n:n + 40]!r} windows {b[n:n + 40]!r}"


class Group:
    def __init__(self, name):
        self.name, self.passed, self.failed, self.notes = name, 0, 0, []

    def check(self, what, ok, why=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(f"  FAIL {self.name}: {what}: {why}")

    def same_run(self, what, args, cwd, files=(), seed=None, mode=None):
        """Runs both programs; outputs and the listed files written must agree.
        The files are absent before each run, or hold `seed` (with `mode`)."""
        results = []
        for exe in (LINUX_EXE, WIN_EXE):
            for f in files:
                if (cwd / f).exists():
                    os.chmod(cwd / f, 0o644)
                    (cwd / f).unlink()
                if seed is not None:
                    (cwd / f).write_bytes(seed)
                    if mode is not None:
                        os.chmod(cwd / f, mode)
            code, out, err = run(exe, args, cwd)
            written = [(cwd / f).read_bytes() if (cwd / f).exists() else None for f in files]
            results.append((code, out, err, written))
        (lc, lo, le, lw), (wc, wo, we, ww) = results
        why = []
        if lc != wc:
            why.append(f"exit {lc} on linux, {wc} on windows")
        if lo != wo:
            why.append("stdout " + first_difference(lo, wo))
        if le != we:
            why.append("stderr " + first_difference(le, we))
        for f, a, b in zip(files, lw, ww):
            if a is None or b is None or a != b:
                why.append(f"{f}: " + ("not written" if a is None or b is None else first_difference(a, b)))
        self.check(what, not why, "; ".join(why))
        return results

    def line(self):
        state = "passed" if self.failed == 0 else "failed"
        text = f"{self.name}: {state}, {self.passed} passed, {self.failed} failed"
        return text + "".join(f"\n  {n}" for n in self.notes)


def ulps(a, b):
    ia, ib = (struct.unpack("<q", struct.pack("<d", x))[0] for x in (a, b))
    ia, ib = (i if i >= 0 else -(i & 0x7FFFFFFFFFFFFFFF) for i in (ia, ib))
    return abs(ia - ib)


def compare_json(a, b, path, bits):
    """Differences of structure or text. Numbers that are not the same double
    are collected in `bits` as (path, linux, windows, ulps, relative)."""
    if isinstance(a, bool) or isinstance(b, bool) or a is None or b is None or isinstance(a, str):
        return [] if type(a) is type(b) and a == b else [f"{path}: {a!r} != {b!r}"]
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        if a == b:
            return []
        if not (math.isfinite(a) and math.isfinite(b)) or isinstance(a, int) != isinstance(b, int):
            return [f"{path}: {a!r} != {b!r}"]
        bits.append((path, a, b, ulps(float(a), float(b)), abs(a - b) / max(abs(a), abs(b))))
        return []
    if isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            return [f"{path}: {len(a)} items != {len(b)}"]
        return [d for i, (x, y) in enumerate(zip(a, b)) for d in compare_json(x, y, f"{path}[{i}]", bits)]
    if isinstance(a, dict) and isinstance(b, dict):
        if list(a) != list(b):
            return [f"{path}: keys {list(a)} != {list(b)}"]
        return [d for k in a for d in compare_json(a[k], b[k], f"{path}.{k}", bits)]
    return [f"{path}: {type(a).__name__} != {type(b).__name__}"]


def vectors(groups):
    """(a) every shared vector: check's text byte for byte, check --json as numbers."""
    text, numbers = Group("vectors check (text, bytes)"), Group("vectors check --json (1e-15, exact text)")
    bits_total = []
    for case in sorted((VECTORS / "cases").glob("*.cys")):
        name = f"cases/{case.name}"
        text.same_run(case.stem, ["check", name, "--data", "data"], VECTORS)
        (lc, lo, le), (wc, wo, we) = [
            run(exe, ["check", name, "--json", "--data", "data"], VECTORS) for exe in (LINUX_EXE, WIN_EXE)
        ]
        why = [f"exit {lc} != {wc}"] if lc != wc else []
        if le != we:
            why.append("stderr " + first_difference(le, we))
        bits = []
        try:
            why += compare_json(json.loads(lo), json.loads(wo), case.stem, bits)
        except ValueError as e:
            why.append(f"not JSON: {e}")
        why += [f"{p}: linux {a!r} windows {w!r} ({u} ulp, {r:.1e})" for p, a, w, u, r in bits if r > 1e-15]
        numbers.check(case.stem, not why, "; ".join(why[:5]))
        bits_total += [b for b in bits if b[4] <= 1e-15]
    for path, a, b, u, r in bits_total:
        numbers.notes.append(f"last-bit difference {path}: linux {a!r} windows {b!r} ({u} ulp)")
    if not bits_total:
        numbers.notes.append("no last-bit difference: every number of every vector is the same double")
    groups += [text, numbers]


def batch_and_sweep(groups, work):
    """(b) batch on one load table, sweep and optimize on one study."""
    g = Group("batch, sweep, optimize")
    d = work / "b"
    d.mkdir()
    shutil.copy(VECTORS / "cases" / "v001.cys", d / "leg.cys")
    shutil.copytree(VECTORS / "data", d / "data")
    (d / "loads.csv").write_bytes(LOADS.encode())
    (d / "forces.csv").write_bytes(FORCES.encode())
    shutil.copy(VECTORS / "cases" / "v000.cys", d / "stringer.cys")
    g.same_run("batch csv", ["batch", "leg.cys", "loads.csv", "--data", "data"], d)
    g.same_run("batch -o", ["batch", "leg.cys", "loads.csv", "--data", "data", "-o", "out.csv"], d, ["out.csv"])
    g.same_run("batch --json --jobs 2", ["batch", "leg.cys", "loads.csv", "--json", "--jobs", "2", "--data", "data"], d)
    g.same_run("batch --rows 2:3", ["batch", "leg.cys", "loads.csv", "--rows", "2:3", "--data", "data"], d)
    g.same_run("batch forces", ["batch", "stringer.cys", "forces.csv", "--data", "data"], d)
    # standard input: the table piped in, the same bytes on both
    for exe, label in ((LINUX_EXE, "linux"), (WIN_EXE, "windows")):
        command = [WINE, str(exe)] if exe == WIN_EXE else [str(exe)]
        with open(d / "loads.csv", "rb") as table:
            p = subprocess.run(command + ["batch", "leg.cys", "-", "--data", "data"], cwd=d, stdin=table,
                               capture_output=True, timeout=120, check=False)
        (d / f"stdin-{label}.out").write_bytes(p.stdout + f"\nexit {p.returncode}\n".encode())
    g.check("batch - < loads.csv", (d / "stdin-linux.out").read_bytes() == (d / "stdin-windows.out").read_bytes(),
            "outputs differ")
    g.same_run("sweep", ["sweep", "leg.cys", "--vary", "t=10:30:0.5", "--data", "data"], d)
    g.same_run("sweep 2-d -o", ["sweep", "leg.cys", "--vary", "t=12:24:2", "--vary", "sigx=-200:-50:50",
                                "--data", "data", "-o", "sweep.csv"], d, ["sweep.csv"])
    g.same_run("sweep --json", ["sweep", "leg.cys", "--vary", "t=10:30:2", "--json", "--data", "data"], d)
    g.same_run("optimize", ["optimize", "leg.cys", "--free", "t=10:30:1", "--free", "ring=t", "--top", "2",
                            "--data", "data"], d)
    shutil.copytree(SOURCE / "data", d / "shipped")
    g.same_run("optimize --apply", ["optimize", "--free", "t=14:24:1", "--free", "stiffener=bulb", "--free",
                                    "ring=bulb", "--apply", "1", "-o", "light.cys", "--data", "shipped"], d,
               ["light.cys"])
    g.same_run("sheet --json", ["sheet", "leg.cys", "--json", "--data", "data"], d)
    g.same_run("--help", ["--help"], d)
    g.same_run("batch --help", ["batch", "--help"], d)
    code, _, err = run(WIN_EXE, ["batch", "leg.cys", "loads.csv", "-o", "out.xlsx", "--data", "data"], d)
    g.check("batch -o out.xlsx refused", code == 2 and b"workbook (.xlsx) output is not part of the Windows"
            in err and not (d / "out.xlsx").exists(), f"exit {code}, {err!r}")
    groups.append(g)


def line_ends(groups, work):
    """(c) a load table and a project file with CR LF and with LF line ends."""
    g = Group("CRLF and LF inputs")
    for ends in ("crlf", "lf"):
        d = work / ends
        d.mkdir()
        shutil.copytree(VECTORS / "data", d / "data")
        project = (VECTORS / "cases" / "v001.cys").read_bytes().replace(b"\r\n", b"\n")
        loads = LOADS.encode()
        if ends == "crlf":
            project, loads = project.replace(b"\n", b"\r\n"), loads.replace(b"\n", b"\r\n")
        (d / "leg.cys").write_bytes(project)
        (d / "loads.csv").write_bytes(loads)
        g.same_run(f"check {ends} project", ["check", "leg.cys", "--data", "data"], d)
        g.same_run(f"check --json {ends} project", ["check", "leg.cys", "--json", "--data", "data"], d)
        g.same_run(f"batch {ends} table", ["batch", "leg.cys", "loads.csv", "--data", "data", "-o", "r.csv"], d,
                   ["r.csv"])
    # a table's line ends change nothing of the results
    same = (work / "crlf" / "r.csv").read_bytes() == (work / "lf" / "r.csv").read_bytes()
    g.check("CRLF table gives the LF table's results", same, "r.csv differs")
    groups.append(g)


def spaces(groups, work):
    """(d) a project path with spaces, and outputs into a folder with spaces."""
    g = Group("paths with spaces")
    d = work / "with spaces" / "a b"
    d.mkdir(parents=True)
    shutil.copytree(VECTORS / "data", work / "with spaces" / "data files")
    shutil.copy(VECTORS / "cases" / "v005.cys", d / "my leg.cys")
    (d / "load table.csv").write_bytes(LOADS.encode())
    data = ["--data", "../data files"]
    g.same_run("check", ["check", "my leg.cys"] + data, d)
    g.same_run("check from above", ["check", "with spaces/a b/my leg.cys", "--data", "with spaces/data files"],
               work)
    g.same_run("batch -o", ["batch", "my leg.cys", "load table.csv", "-o", "out put.csv"] + data, d,
               ["out put.csv"])
    g.same_run("new -o", ["new", "-o", "new leg.cys", "--set", "t=21"] + data, d, ["new leg.cys"])
    g.same_run("check the written one", ["check", "new leg.cys"] + data, d)
    groups.append(g)


def new_files(groups, work):
    """(e) new -o: the project file byte for byte, and the data beside the program."""
    g = Group("new -o")
    d = work / "new"
    d.mkdir()
    for i, sets in enumerate(([], ["--set", "cyltype=3", "--set", "L=12000"],
                              ["--set", "cyltype=2", "--set", "stiff_row_bulb=13", "--set", "s=650.5"])):
        args = ["new", "-o", f"p{i}.cys"] + sets
        g.same_run(f"new -o p{i}.cys {' '.join(sets)}", args, d, [f"p{i}.cys"])
    # without --data both find data/ beside themselves
    g.same_run("check, data beside the program", ["check", "p1.cys"], d)
    old = b"an older file\r\n"
    g.same_run("new -o over a file", ["new", "-o", "old.cys", "--set", "t=25"], d, ["old.cys"], old)
    g.same_run("new -o over a read-only file", ["new", "-o", "old.cys"], d, ["old.cys"], old, 0o444)
    (d / "loads.csv").write_bytes(LOADS.encode())
    g.same_run("batch -o its own load table", ["batch", "p0.cys", "loads.csv", "-o", "./loads.csv"], d,
               ["loads.csv"], LOADS.encode())
    g.same_run("new -o into a missing folder", ["new", "-o", "nowhere/p.cys"], d)
    left = sorted(p.name for p in d.iterdir() if p.name.startswith("."))
    g.check("no temporary left beside the outputs", not left, " ".join(left))
    groups.append(g)


def main():
    if WORK.exists():
        shutil.rmtree(WORK)
    WORK.mkdir(parents=True)
    groups = []
    vectors(groups)
    batch_and_sweep(groups, WORK)
    line_ends(groups, WORK)
    spaces(groups, WORK)
    new_files(groups, WORK)
    for g in groups:
        print(g.line())
    return 1 if any(g.failed for g in groups) else 0


if __name__ == "__main__":
    sys.exit(main())
