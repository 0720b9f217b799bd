#!/usr/bin/env python3
"""Mutation run over the layers below the window, by hand (not in CI).

Makes random single changes to model/ sections/ core/ files/ project/: an
arithmetic operator, a comparison, a logical operator or a numeric
constant. Each mutant is built (no window, no benchmarks) and the test
programs run fastest first until one fails. A mutant that does not compile
does not count. The tree is put back after every mutant.

  tools/mutate.py --build build-mut --count 60 --seed 1 [--report mutants.txt]

Run it in a checkout of its own: it edits the source files in place.
"""
import argparse
import pathlib
import random
import re
import signal
import subprocess
import sys
import time

LAYERS = ["model", "sections", "core", "files", "project"]
# fastest first; the first failure kills the mutant
TESTS = ["test_format", "test_panels", "test_core", "test_sections_data", "test_files",
         "test_rows", "test_study", "test_attack_set", "test_cli", "test_output_attacks"]

ARITH = {"+": "-", "-": "+", "*": "/", "/": "*"}
COMPARE = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGIC = {"&&": "||", "||": "&&"}

# A site: (regex, replacement function). Operators need spaces on both sides,
# as the formatted code writes binary operators; that keeps unary minus,
# pointers, templates and includes out.
SITES = [
    (re.compile(r"(?<=\s)(\+|-|\*|/)(?=\s)"), lambda m: ARITH[m.group(1)]),
    (re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)"), lambda m: COMPARE[m.group(1)]),
    (re.compile(r"(?<=\s)(&&|\|\|)(?=\s)"), lambda m: LOGIC[m.group(1)]),
    (re.compile(r"(?<![\w.])(\d+\.\d+|\d+)(?![\w.])"), None),
]


def constant(text):
    if "." in text:
        value = float(text)
        # 0.0 * 1.1 is 0.0 again: that would be no change at all
        return repr(value * 1.1) if value != 0.0 else "1.0"
    value = int(text)
    return str(value + 1)


def candidates(root):
    found = []
    for layer in LAYERS:
        for path in sorted((root / layer).glob("*.cpp")):
            lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
            in_comment = False
            for number, line in enumerate(lines):
                code = line.split("//")[0]
                stripped = code.strip()
                # the lines of a block comment are prose, not code
                if in_comment or stripped.startswith("/*"):
                    in_comment = "*/" not in code
                    continue
                if not stripped or stripped.startswith(("#", "*")) or '"' in code:
                    continue
                for kind, (pattern, replace) in enumerate(SITES):
                    for m in pattern.finditer(code):
                        new = replace(m) if replace else constant(m.group(1))
                        if new == m.group(1):
                            continue
                        found.append((path, number, m.start(1), m.end(1), new, kind))
    return found


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1  # a hang counts as a kill


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build-mut")
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--report", default="")
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    build = root / args.build
    if not (build / "build.ninja").exists():
        subprocess.run(["cmake", "-S", str(root), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DORVANE_BUILD_UI=OFF",
                        "-DORVANE_BUILD_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"],
                       check=True)
    # two jobs: the machine is shared
    subprocess.run(["ninja", "-j2", "-C", str(build)] + TESTS, check=True)

    # a kill by signal still puts the mutated file back (the finally below)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    signal.signal(signal.SIGHUP, lambda *_: sys.exit(1))

    rng = random.Random(args.seed)
    sites = candidates(root)
    rng.shuffle(sites)
    killed, survived, broken = [], [], 0
    for path, number, start, end, new, kind in sites:
        if len(killed) + len(survived) >= args.count:
            break
        original = path.read_text(encoding="utf-8")
        lines = original.splitlines(keepends=True)
        line = lines[number]
        lines[number] = line[:start] + new + line[end:]
        where = f"{path.relative_to(root)}:{number + 1}: '{line[start:end]}' -> '{new}'"
        try:
            path.write_text("".join(lines), encoding="utf-8")
            # the layer's library first: a mutant that does not compile ends there
            library = "orvane_" + path.relative_to(root).parts[0]
            if run(["ninja", "-j2", "-C", str(build), library], root, 900) != 0:
                broken += 1
                continue
            # then each test program linked just before it runs: a mutant the
            # first programs kill costs no link of the others
            dead = linked = False
            for test in TESTS:
                linked = run(["ninja", "-j2", "-C", str(build), test], root, 900) == 0
                if not linked:
                    break
                if run([str(build / "bin" / test)], build, 300) != 0:
                    dead = True
                    killed.append(f"{where} (by {test})")
                    break
            if not linked:
                broken += 1
                continue
            if not dead:
                survived.append(where)
            print(f"[{len(killed)}/{len(killed) + len(survived)}] {where}: "
                  f"{'killed' if dead else 'SURVIVED'}", flush=True)
        finally:
            path.write_text(original, encoding="utf-8")
        # written after every mutant, so a run stopped early still leaves its tally
        summary(args, killed, survived, broken, quiet=True)
    # put the objects back as they were
    subprocess.run(["ninja", "-j2", "-C", str(build)] + TESTS, stdout=subprocess.DEVNULL)
    summary(args, killed, survived, broken, quiet=False)
    return 0


def summary(args, killed, survived, broken, quiet):
    total = len(killed) + len(survived)
    lines = [f"{time.strftime('%Y-%m-%d %H:%M')} seed {args.seed}: {len(killed)} of {total} "
             f"mutants killed ({100.0 * len(killed) / max(total, 1):.0f} %), "
             f"{broken} did not compile"]
    lines += ["survived: " + s for s in survived]
    if not quiet:
        print("\n".join(lines))
    if args.report:
        pathlib.Path(args.report).write_text("\n".join(lines + ["killed: " + k for k in killed]) +
                                             "\n")


if __name__ == "__main__":
    sys.exit(main())
