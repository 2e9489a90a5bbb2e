#!/usr/bin/env python3
"""The benchmark that `make bench` runs: every comparison measured side by side in one run.

Builds the full words database with `zorvian-words build`, publishes it and serves it on loopback,
then times the program built against that server (zorvian_bench) beside the programs it is held
against: espeak-ng and the two lookup floors for the transliteration, sha1sum for the digest and
for the start of a run. Prints a Markdown table of medians and writes it, with every single run,
to the results file.

    python3 bench/run.py --build build-bench [--results bench/results.md] [--runs 5]
                         [--long-runs 3] [--port 47800]
"""

import argparse
import hashlib
import os
import platform
import re
import shutil
import socket
import statistics
import subprocess
import sys
import time
from pathlib import Path

KJV_RANGE = "Genesis 1:1-Revelation 22:21"
GPL3 = Path("/usr/share/common-licenses/GPL-3")
TABLE = "zrv_words_us_midland"  # accent 16
SHA1_FILE_BYTES = 256 * 1024 * 1024
ESPEAK_SLICE_WORDS = 25_000
# Input file 1 (input.txt), accent 16, names transliterated, start; then "1" for every prompt.
RUN_ANSWERS = b"1\n16\ny\ns\n"
MB = 1_000_000

# The program's words are the maximal runs of letters and apostrophes, after the typographic
# apostrophes have been folded into ASCII ones.
WORD = re.compile(rb"[A-Za-z']+")
TYPOGRAPHIC_APOSTROPHES = [b"\xca\xbc", b"\xe2\x80\x98", b"\xe2\x80\x99", b"\xef\xbc\x87"]

COMPLETED = re.compile(rb"\[INFO\] Transliteration completed in ([0-9.eE+-]+)s")
WARNINGS = re.compile(rb"completed in [0-9.eE+-]+s, with (\d+) warning\(s\)")
MAX_RSS = re.compile(r"Maximum resident set size \(kbytes\): (\d+)")
UP_TO_DATE = b"[INFO] Words Database is already up to date."
DOWNLOAD_COMPLETE = b"[INFO] Words Database download complete."
UPDATE_COMPLETE = b"[INFO] Words Database update complete."
INPUT_ENDED = b"[ERROR] The input ended before an answer was given. Halting the program."


def say(text):
    print(text, flush=True)


def fail(text):
    sys.exit(f"bench: {text}")


def count_words(data):
    for apostrophe in TYPOGRAPHIC_APOSTROPHES:
        data = data.replace(apostrophe, b"'")
    return len(WORD.findall(data))


def timed(command, cwd=None, stdin=None, stdout=None):
    """Runs a command; returns (seconds of wall time, completed process)."""
    start = time.perf_counter()
    done = subprocess.run(command, cwd=cwd, stdin=stdin, stdout=stdout or subprocess.PIPE,
                          stderr=subprocess.PIPE)
    return time.perf_counter() - start, done


def median(values):
    return statistics.median(values)


def fmt_runs(values, unit="s", digits=3):
    return ", ".join(f"{v:.{digits}f}" for v in values) + f" {unit}"


class Bench:
    def __init__(self, args):
        self.build = Path(args.build).resolve()
        self.work = (self.build / "bench-work").resolve()
        self.runs = args.runs
        self.long_runs = args.long_runs
        self.port = args.port
        self.results_path = Path(args.results)
        self.rows = []      # (measure, target, measured, ratio, verdict)
        self.details = []   # lines of the results file's second section
        self.server = None
        self.loads = []     # (part, 1-minute load average as it started)
        for name in ["zorvian-words", "zorvian_bench", "floor_lookup", "floor_scan",
                     "sha1_bench", "entry_counts_bench"]:
            if not (self.build / name).is_file():
                fail(f"{self.build / name} is missing; build the bench build first (make bench)")
        for tool in ["bible", "espeak-ng", "sha1sum"]:
            if shutil.which(tool) is None:
                fail(f"{tool} is not installed (scripts/install-deps.sh --bench)")
        if not Path("/usr/bin/time").is_file():
            fail("/usr/bin/time is not installed (package time)")

    def exe(self, name):
        return str(self.build / name)

    def row(self, measure, target, measured, ratio, verdict):
        self.rows.append((measure, target, measured, ratio, verdict))

    def detail(self, text):
        self.details.append(text)

    # --- the data -------------------------------------------------------------------------------

    def prepare(self):
        if self.work.exists():
            shutil.rmtree(self.work)
        self.work.mkdir(parents=True)
        self.load_before = os.getloadavg()

        say("bench: building the full words database (zorvian-words build)")
        self.db = self.work / "zrv_words.db"
        seconds, done = timed([self.exe("zorvian-words"), "build", "--output", str(self.db)])
        if done.returncode != 0:
            fail("zorvian-words build failed:\n" + done.stderr.decode(errors="replace"))
        self.db_bytes = self.db.stat().st_size
        self.detail(f"- Full database: {self.db_bytes:,} bytes, built in {seconds:.1f} s.")
        self.repo = self.work / "repo"
        done = subprocess.run([self.exe("zorvian-words"), "publish", "--root", str(self.repo),
                               "--database", str(self.db)], capture_output=True)
        if done.returncode != 0:
            fail("zorvian-words publish failed:\n" + done.stderr.decode(errors="replace"))

        self.kjv = self.work / "kjv.txt"
        with open(self.kjv, "wb") as out:
            if subprocess.run(["bible", "-f", KJV_RANGE], stdout=out).returncode != 0:
                fail("bible -f failed")
        self.kjv_text = self.kjv.read_bytes()
        self.kjv_words = count_words(self.kjv_text)
        self.detail(f"- King James text (`bible -f \"{KJV_RANGE}\"`): "
                    f"{len(self.kjv_text):,} bytes, {self.kjv_words:,} words.")

    def start_server(self):
        with socket.socket() as probe:
            if probe.connect_ex(("127.0.0.1", self.port)) == 0:
                fail(f"port {self.port} is taken; is another bench running?")
        self.server_log = open(self.work / "serve.log", "wb")
        self.server = subprocess.Popen(
            [self.exe("zorvian-words"), "serve", "--root", str(self.repo), "--port",
             str(self.port)], stdout=self.server_log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            with socket.socket() as probe:
                if probe.connect_ex(("127.0.0.1", self.port)) == 0:
                    return
            if self.server.poll() is not None:
                break
            time.sleep(0.05)
        fail(f"zorvian-words serve did not start on port {self.port} (see {self.work}/serve.log)")

    def stop_server(self):
        if self.server is not None and self.server.poll() is None:
            self.server.terminate()
            try:
                self.server.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()
        self.server = None

    def run_folder(self, name, text, with_database=True):
        """A working folder as a user's: zrv_words.db, input.txt, output/ and unknown_words/."""
        folder = self.work / name
        (folder / "output").mkdir(parents=True)
        (folder / "unknown_words").mkdir()
        (folder / "input.txt").write_bytes(text)
        if with_database:
            shutil.copyfile(self.db, folder / "zrv_words.db")
        return folder

    def answers_file(self, text):
        # One "1" for every word is more than enough for every prompt the text can raise.
        path = self.work / "answers.txt"
        if not path.exists() or path.stat().st_size < 2 * count_words(text):
            path.write_bytes(RUN_ANSWERS + b"1\n" * (count_words(text) + 16))
        return path

    def run_transliteration(self, folder, answers):
        """One whole run; returns (loop seconds, wall seconds, warnings, output digest). The run's
        maximum resident set, in bytes, is left in self.last_peak."""
        with open(answers, "rb") as stdin, open(folder / "stdout.txt", "wb") as stdout:
            wall, done = timed(["/usr/bin/time", "-v", self.exe("zorvian_bench")], cwd=folder,
                               stdin=stdin, stdout=stdout)
        self.last_peak = int(MAX_RSS.search(done.stderr.decode()).group(1)) * 1024
        log = (folder / "stdout.txt").read_bytes()
        completed = COMPLETED.search(log)
        if done.returncode != 0 or completed is None or UP_TO_DATE not in log:
            fail(f"the run in {folder} did not complete as expected (status {done.returncode}); "
                 f"see {folder}/stdout.txt")
        warnings = WARNINGS.search(log)
        output = (folder / "output" / "input_output.txt").read_bytes()
        return (float(completed.group(1)), wall, int(warnings.group(1)) if warnings else 0,
                hashlib.sha1(output).hexdigest())

    def run_scan_floor(self, text_path):
        """The scan-only floor on the text; returns (seconds, words)."""
        _, done = timed([self.exe("floor_scan"), str(text_path), str(self.work / "scan.txt")])
        if done.returncode != 0:
            fail("floor_scan failed:\n" + done.stderr.decode(errors="replace"))
        fields = dict(item.split("=") for item in done.stdout.decode().split())
        return float(fields["seconds"]), int(fields["words"])

    def run_floor(self, mode, text_path):
        _, done = timed([self.exe("floor_lookup"), mode, str(self.db), TABLE, str(text_path)])
        if done.returncode != 0:
            fail(f"floor_lookup {mode} failed:\n" + done.stderr.decode(errors="replace"))
        fields = dict(item.split("=") for item in done.stdout.decode().split())
        return float(fields["seconds"]), int(fields["words"]), int(fields["found"])

    # --- 1. transliteration ---------------------------------------------------------------------

    def bench_transliteration(self):
        say(f"bench: transliteration of the King James text, {self.long_runs} rounds of the "
            "program, floor (a), floor (b) and espeak-ng")
        folder = self.run_folder("transliterate", self.kjv_text)
        answers = self.answers_file(self.kjv_text)

        # The slice for espeak-ng: whole lines from the start, until enough words.
        lines, words = [], 0
        for line in self.kjv_text.splitlines(keepends=True):
            lines.append(line)
            words += count_words(line)
            if words >= ESPEAK_SLICE_WORDS:
                break
        slice_path = self.work / "kjv_slice.txt"
        slice_path.write_bytes(b"".join(lines))
        slice_words = words

        tool, walls, floor_a, floor_b, espeak, scans, peaks = [], [], [], [], [], [], []
        digests, warnings_seen = set(), set()
        for round_number in range(self.long_runs):
            loop, wall, warnings, digest = self.run_transliteration(folder, answers)
            tool.append(loop)
            walls.append(wall)
            peaks.append(self.last_peak)
            seconds, scan_words = self.run_scan_floor(self.kjv)
            scans.append(seconds)
            digests.add(digest)
            warnings_seen.add(warnings)
            seconds, floor_words, found = self.run_floor("literal", self.kjv)
            floor_a.append(seconds)
            seconds, floor_words_b, found_b = self.run_floor("bound", self.kjv)
            floor_b.append(seconds)
            with open(self.work / "espeak.txt", "wb") as out:
                seconds, done = timed(["espeak-ng", "-q", "--ipa", "-f", str(slice_path)],
                                      stdout=out)
            if done.returncode != 0:
                fail("espeak-ng failed:\n" + done.stderr.decode(errors="replace"))
            espeak.append(seconds)
            say(f"  round {round_number + 1}: program {loop:.2f} s (wall {wall:.2f} s), "
                f"scan-only floor {scans[-1]:.3f} s, floor (a) {floor_a[-1]:.2f} s, "
                f"floor (b) {floor_b[-1]:.2f} s, espeak-ng {seconds:.2f} s")

        if floor_words != self.kjv_words or floor_words_b != self.kjv_words or \
                scan_words != self.kjv_words:
            fail(f"the floors scanned {floor_words}/{floor_words_b}/{scan_words} words, not "
                 f"{self.kjv_words}")
        # With names transliterated a word is warned about exactly when it has no row.
        if warnings_seen != {self.kjv_words - found}:
            fail(f"the program warned {warnings_seen} times; the floor found "
                 f"{self.kjv_words - found} words without a row")
        if len(digests) != 1:
            fail("the runs wrote different output files")

        words = self.kjv_words
        tool_s, wall_s = median(tool), median(walls)
        a_s, b_s, espeak_s = median(floor_a), median(floor_b), median(espeak)
        tool_wps = words / tool_s
        espeak_wps = slice_words / espeak_s
        self.row("Transliteration of the King James text, accent 16 (words/s)", ">= 1,000,000",
                 f"{tool_wps:,.0f} words/s ({tool_s:.3f} s loop, {wall_s:.2f} s whole process)",
                 "-", "met" if tool_wps >= 1_000_000 else "missed")
        scan_s = median(scans)
        ratio = tool_s / scan_s
        self.row("... against the scan-only floor: the same reading, scanning, case transfer and "
                 "writing, every word kept, no database (time ratio)", "<= 4",
                 f"scan-only floor {words / scan_s:,.0f} words/s ({scan_s:.3f} s)",
                 f"{ratio:.2f}", "met" if ratio <= 4 else "missed")
        peak = median(peaks)
        self.row("Peak memory of the whole King James run (maximum resident set)", "report",
                 f"{peak / MB:.1f} MB", "-", "-")
        ratio = tool_wps / espeak_wps
        self.row("... against `espeak-ng -q --ipa` (words/s ratio)", ">= 10",
                 f"espeak-ng {espeak_wps:,.0f} words/s", f"{ratio:.1f}",
                 "met" if ratio >= 10 else "missed")
        ratio = tool_s / a_s
        self.row("... against floor (a), a literal statement per word (time ratio)", "<= 1.25",
                 f"floor (a) {words / a_s:,.0f} words/s ({a_s:.2f} s)", f"{ratio:.2f}",
                 "met" if ratio <= 1.25 else "missed")
        ratio = tool_s / b_s
        self.row("... against floor (b), one bound statement (time ratio)", "report",
                 f"floor (b) {words / b_s:,.0f} words/s ({b_s:.2f} s)", f"{ratio:.2f}", "-")

        self.detail(f"- Transliteration loop (the summary line's seconds): {fmt_runs(tool)}; "
                    f"whole process: {fmt_runs(walls)}.")
        self.detail(f"- Floor (a): {fmt_runs(floor_a)}; floor (b): {fmt_runs(floor_b)}; "
                    f"scan-only floor: {fmt_runs(scans)}.")
        self.detail(f"- Maximum resident set of the whole run: "
                    f"{', '.join(f'{p / MB:.1f}' for p in peaks)} MB (1 MB = 10^6 bytes).")
        self.detail(f"- espeak-ng on the first {slice_words:,} words ({len(lines):,} lines): "
                    f"{fmt_runs(espeak)}.")
        # What the specified design allows at best against espeak-ng, on this machine today.
        self.detail(f"- Floor (a) itself runs at {words / a_s / espeak_wps:.1f} times espeak-ng's "
                    f"words per second, floor (b) at {words / b_s / espeak_wps:.1f} times.")
        self.detail(f"- Words without a row in {TABLE}: {self.kjv_words - found:,} "
                    f"({100 * found / words:.2f}% known); the program's warnings agree. Output "
                    f"file SHA-1 {digests.pop()} ({self.long_runs} identical runs).")

    # --- 2. SHA-1 -------------------------------------------------------------------------------

    def bench_sha1(self):
        say(f"bench: SHA-1 of 256 MiB, the engine and sha1sum, {self.runs} runs each")
        path = self.work / "random_256MiB.bin"
        with open(path, "wb") as out:
            for _ in range(SHA1_FILE_BYTES // (16 * 1024 * 1024)):
                out.write(os.urandom(16 * 1024 * 1024))
        subprocess.run(["sha1sum", str(path)], capture_output=True)  # into the page cache
        sums = []
        for _ in range(self.runs):
            seconds, done = timed(["sha1sum", str(path)])
            sums.append(seconds)
        expected = done.stdout.split()[0].decode()
        _, done = timed([self.exe("sha1_bench"), str(path), str(self.runs)])
        if done.returncode != 0:
            fail("sha1_bench failed:\n" + done.stderr.decode(errors="replace"))
        report = done.stdout.decode()
        ways = {}
        for line in report.splitlines()[1:]:
            found = re.match(r"(.+?)\s+([0-9.]+) MB/s\s+\(([0-9.]+) s\)\s+([0-9a-f]{40})$", line)
            if found:
                if found.group(4) != expected:
                    fail(f"sha1_bench '{found.group(1)}' gave {found.group(4)}, not {expected}")
                ways[found.group(1)] = float(found.group(2))
        engine = ways.get("digestOfView, text in memory")
        if engine is None:
            fail("sha1_bench printed no digestOfView line:\n" + report)
        sha1sum_mbs = SHA1_FILE_BYTES / MB / median(sums)
        ratio = engine / sha1sum_mbs
        self.row("SHA-1 of 256 MiB: the engine (digestOfView) against `sha1sum` (throughput "
                 "ratio)", ">= 1.0", f"{engine:,.0f} MB/s against {sha1sum_mbs:,.0f} MB/s",
                 f"{ratio:.2f}", "met" if ratio >= 1.0 else "missed")
        self.detail(f"- sha1sum of the 256 MiB file (page cache): {fmt_runs(sums)}.")
        self.detail("- sha1_bench, medians of " + str(self.runs) + " runs:\n\n  ```\n" +
                    "".join(f"  {line}\n" for line in report.splitlines()) + "  ```")
        path.unlink()

    # --- 3. start to the first question ---------------------------------------------------------

    def bench_start(self):
        say(f"bench: start to the first question, {self.runs} runs beside sha1sum")
        folder = self.run_folder("start", self.kjv_text)
        database = folder / "zrv_words.db"
        starts, sums = [], []
        for index in range(self.runs + 1):
            seconds, done = timed([self.exe("zorvian_bench")], cwd=folder,
                                  stdin=subprocess.DEVNULL)
            if done.returncode != 1 or UP_TO_DATE not in done.stdout or \
                    INPUT_ENDED not in done.stdout:
                fail("the start run did not reach the first question with an up-to-date "
                     "database:\n" + done.stdout.decode(errors="replace"))
            sum_seconds, _ = timed(["sha1sum", str(database)])
            if index > 0:  # the first pair only fills the page cache
                starts.append(seconds)
                sums.append(sum_seconds)
        ratio = median(starts) / median(sums)
        self.row("Start to the first question, up-to-date full database over loopback, against "
                 "`sha1sum` of the file (time ratio)", "<= 2.5",
                 f"{1000 * median(starts):.0f} ms against {1000 * median(sums):.0f} ms",
                 f"{ratio:.2f}", "met" if ratio <= 2.5 else "missed")
        self.detail(f"- Start to the first question (the process ends just after the first "
                    f"prompt, on the empty input): {fmt_runs(starts)}; sha1sum: "
                    f"{fmt_runs(sums)}.")

    # --- 4. peak memory -------------------------------------------------------------------------

    def peak_rss(self, folder, expected_line, prepare):
        peaks = []
        for _ in range(self.runs):
            prepare(folder / "zrv_words.db")
            done = subprocess.run(["/usr/bin/time", "-v", self.exe("zorvian_bench")], cwd=folder,
                                  stdin=subprocess.DEVNULL, capture_output=True)
            if expected_line not in done.stdout:
                fail(f"the run in {folder} did not print {expected_line!r}:\n" +
                     done.stdout.decode(errors="replace"))
            if (folder / "zrv_words.db").read_bytes() != self.db.read_bytes():
                fail(f"the run in {folder} did not store the published database")
            peaks.append(int(MAX_RSS.search(done.stderr.decode()).group(1)) * 1024)
        return peaks

    def bench_memory(self):
        say(f"bench: peak memory of a first download and of an update, {self.runs} runs each")
        limit = 2.2 * self.db_bytes + 20 * MB

        def no_file(path):
            path.unlink(missing_ok=True)

        def older_file(path):
            # A different database of the same size: the update downloads the whole file.
            data = bytearray(self.db.read_bytes())
            data[-1] ^= 0xFF
            path.write_bytes(bytes(data))

        for name, expected, prepare in [("a first download", DOWNLOAD_COMPLETE, no_file),
                                        ("an update", UPDATE_COMPLETE, older_file)]:
            folder = self.run_folder("memory-" + name.replace(" ", "-"), b"", False)
            peaks = self.peak_rss(folder, expected, prepare)
            peak = median(peaks)
            self.row(f"Peak memory of {name} of the full database (maximum resident set)",
                     f"<= 2.2 x file + 20 MB = {limit / MB:.1f} MB", f"{peak / MB:.1f} MB",
                     f"{peak / limit:.2f} of the bound", "met" if peak <= limit else "missed")
            self.detail(f"- Maximum resident set of {name}: "
                        f"{', '.join(f'{p / MB:.1f}' for p in peaks)} MB "
                        f"(file {self.db_bytes / MB:.1f} MB; 1 MB = 10^6 bytes).")

    # --- 5. entry counts ------------------------------------------------------------------------

    def bench_counts(self):
        say(f"bench: entry counts of the 24 tables, {self.runs} runs")
        _, done = timed([self.exe("entry_counts_bench"), str(self.work), str(self.runs)])
        if done.returncode != 0:
            fail("entry_counts_bench failed:\n" + done.stdout.decode(errors="replace"))
        lines = done.stdout.decode().splitlines()
        seconds = [float(s) for s in lines[0].removeprefix("seconds=").split(",")]
        counts = [int(line.split()[1]) for line in lines[1:]]
        self.row("Entry counts of the 24 full tables (the accent menu's counts)", "report",
                 f"{1000 * median(seconds):.0f} ms for {sum(counts):,} entries", "-", "-")
        self.detail(f"- Entry counts, each on a fresh connection: {fmt_runs(seconds)}.")

    # --- memory of the lookups -------------------------------------------------------------------

    def sampled_rss(self, folder, stdin_path):
        """Runs the program, sampling its resident set every 5 ms; returns (the largest sample, the
        last sample, the standard output). The last sample is the run as it ends, with what the
        text's lookups keep still held."""
        with open(stdin_path, "rb") as stdin, open(folder / "stdout.txt", "wb") as stdout:
            process = subprocess.Popen([self.exe("zorvian_bench")], cwd=folder, stdin=stdin,
                                       stdout=stdout)
            largest = last = 0
            while process.poll() is None:
                try:
                    status = Path(f"/proc/{process.pid}/status").read_text()
                    found = re.search(r"^VmRSS:\s+(\d+) kB", status, re.MULTILINE)
                    if found:
                        last = int(found.group(1)) * 1024
                        largest = max(largest, last)
                except OSError:
                    pass  # it ended between the poll and the read
                time.sleep(0.005)
        return largest, last, (folder / "stdout.txt").read_bytes()

    def bench_lookup_memory(self):
        """What the text's lookups keep: the resident set as a run ends, against a run that halts
        at the first question (which holds everything that comes before the text), for the King
        James text and for a text of a million distinct random words."""
        say("bench: the memory the lookups keep, the King James text and a million distinct words")
        empty = self.work / "empty-input.txt"
        empty.write_bytes(b"")
        folder = self.run_folder("memory-before-text", b"", True)
        _, base, out = self.sampled_rss(folder, empty)
        if INPUT_ENDED not in out:
            fail("the run without answers did not halt at the first question")

        kjv_folder = self.run_folder("memory-kjv", self.kjv_text)
        kjv_peak, kjv_end, out = self.sampled_rss(kjv_folder, self.answers_file(self.kjv_text))
        if COMPLETED.search(out) is None:
            fail("the King James run did not complete")
        added = kjv_end - base
        self.row("Memory the lookups keep on the King James text (resident set as the run ends, "
                 "against a run that halts at the first question)", "<= 64 MB",
                 f"{added / MB:.1f} MB ({kjv_end / MB:.1f} MB against {base / MB:.1f} MB)", "-",
                 "met" if added <= 64 * MB else "missed")

        # Distinct letter strings that are no English word: "zq" and then base 26 of a
        # permutation of the numbers below 26^6.
        letters = "abcdefghijklmnopqrstuvwxyz"
        words = []
        for i in range(1_000_000):
            n = (i * 48271 + 12345) % (26 ** 6)
            word = ""
            for _ in range(6):
                word += letters[n % 26]
                n //= 26
            words.append("zq" + word)
        if len(set(words)) != len(words):
            fail("the random words are not distinct")
        sentences = [" ".join(words[i:i + 20]) + "." for i in range(0, len(words), 20)]
        text = ("\n".join(sentences) + "\n").encode()
        random_folder = self.run_folder("memory-random-words", text)
        answers = self.work / "answers-random.txt"
        answers.write_bytes(RUN_ANSWERS)
        random_peak, random_end, out = self.sampled_rss(random_folder, answers)
        warnings = WARNINGS.search(out)
        if warnings is None or int(warnings.group(1)) != len(words):
            fail("the random text did not complete with a warning for every word")
        random_added = random_end - base
        # Besides the cache, the run keeps every unknown word for its list: a set node of about
        # 80 bytes each (the tree's links, the string and the allocator's header).
        unknown_list = 80 * len(words)
        bound = (32 << 20) + (16 << 20) + unknown_list
        self.row("Memory the lookups keep on a text of 1,000,000 distinct random words (the same "
                 "measure)", "<= the cache's cap (32 MiB) + the page cache (16 MiB) + the "
                 f"unknown-words list (about {unknown_list / MB:.0f} MB) = {bound / MB:.0f} MB",
                 f"{random_added / MB:.1f} MB", f"{random_added / bound:.2f} of the bound",
                 "met" if random_added <= bound else "missed")
        self.detail(f"- Resident set as the run ends: {base / MB:.1f} MB halting at the first "
                    f"question, {kjv_end / MB:.1f} MB after the King James text (largest sample "
                    f"{kjv_peak / MB:.1f} MB), {random_end / MB:.1f} MB after the random text "
                    f"({len(text):,} bytes, {len(words):,} words, none known; largest sample "
                    f"{random_peak / MB:.1f} MB); sampled every 5 ms from /proc.")

    # --- compressed update -----------------------------------------------------------------------

    def bench_compressed_update(self):
        """An update of the full database over loopback, once from the published folder (which
        holds the precompressed copies) and once from a copy of it without them, through a relay
        on the program's port that counts the bytes the server sends."""
        import threading
        say(f"bench: an update of the full database, compressed and plain in turns, "
            f"{self.runs} runs each")
        plain_root = self.work / "repo-plain"
        shutil.copytree(self.repo, plain_root,
                        ignore=shutil.ignore_patterns("zrv_words.db.zst", "zrv_words.db.br",
                                                      "zrv_words.db.gz"))
        self.stop_server()
        backend_ports = {}
        for name in ["compressed", "plain"]:
            with socket.socket() as probe:
                probe.bind(("127.0.0.1", 0))
                backend_ports[name] = probe.getsockname()[1]
        listener = socket.create_server(("127.0.0.1", self.port))
        sent = [0]
        backend_port = [0]  # the backend the relay connects to for the current run

        def pump(source, target, counted):
            try:
                while data := source.recv(1 << 16):
                    if counted:
                        sent[0] += len(data)
                    target.sendall(data)
                target.shutdown(socket.SHUT_WR)
            except OSError:
                pass  # one side went away: so does the connection

        def accept_loop():
            while True:
                try:
                    client, _ = listener.accept()
                except OSError:
                    return  # the listener was closed: the measurement is over
                server = socket.create_connection(("127.0.0.1", backend_port[0]))
                threading.Thread(target=pump, args=(client, server, False), daemon=True).start()
                threading.Thread(target=pump, args=(server, client, True), daemon=True).start()

        threading.Thread(target=accept_loop, daemon=True).start()
        folder = self.run_folder("compressed-update", b"", False)
        database = folder / "zrv_words.db"
        older = bytearray(self.db.read_bytes())
        older[-1] ^= 0xFF
        published = self.db.read_bytes()
        figures = {"compressed": ([], []), "plain": ([], [])}
        backends = []
        try:
            for name, root in [("compressed", self.repo), ("plain", plain_root)]:
                backend = subprocess.Popen(
                    [self.exe("zorvian-words"), "serve", "--root", str(root), "--port",
                     str(backend_ports[name])], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
                backends.append(backend)
                backend.stdout.readline()  # "Serving ...": it listens
            # The two kinds of update take turns, each round in the other order, and every run
            # starts with the disk written back: the store's own flush of 154 MB would otherwise
            # wait for the previous run's and make the figures depend on their order.
            for round_number in range(self.runs):
                order = ["compressed", "plain"] if round_number % 2 == 0 else ["plain", "compressed"]
                for name in order:
                    backend_port[0] = backend_ports[name]
                    database.write_bytes(bytes(older))
                    os.sync()
                    sent[0] = 0
                    elapsed, done = timed([self.exe("zorvian_bench")], cwd=folder,
                                          stdin=subprocess.DEVNULL)
                    if UPDATE_COMPLETE not in done.stdout or INPUT_ENDED not in done.stdout:
                        fail(f"the {name} update did not complete:\n" +
                             done.stdout.decode(errors="replace"))
                    if database.read_bytes() != published:
                        fail(f"the {name} update did not store the published database")
                    figures[name][0].append(elapsed)
                    figures[name][1].append(sent[0])
        finally:
            for backend in backends:
                backend.terminate()
                backend.wait(timeout=10)
            # shutdown wakes the accept loop; close alone would leave it listening on the port.
            listener.shutdown(socket.SHUT_RDWR)
            listener.close()
            self.start_server()
        (c_s, c_wire), (p_s, p_wire) = figures["compressed"], figures["plain"]
        share = median(c_wire) / self.db_bytes
        met = share <= 0.40 and median(c_s) <= median(p_s)
        self.row("Update of the full database over loopback: bytes on the wire against the file; "
                 "start to the first question against the plain transfer",
                 "<= 40%; no slower than plain",
                 f"{median(c_wire) / MB:.1f} MB of {self.db_bytes / MB:.1f} MB; "
                 f"{1000 * median(c_s):.0f} ms against {1000 * median(p_s):.0f} ms plain "
                 f"({median(p_wire) / MB:.1f} MB)",
                 f"{100 * share:.1f}%", "met" if met else "missed")
        self.detail(f"- Compressed update (the program offers every encoding its libcurl decodes; "
                    f"serve sends the zstd copy): {fmt_runs(c_s)}, "
                    f"{', '.join(f'{w:,}' for w in c_wire)} bytes sent; plain (a copy of the "
                    f"folder without the copies): {fmt_runs(p_s)}, "
                    f"{', '.join(f'{w:,}' for w in p_wire)} bytes sent. The stored file was "
                    "byte-identical to the published one after every run; the two took turns, "
                    "each run after a sync of the disk.")

    # --- coverage -------------------------------------------------------------------------------

    def bench_coverage(self):
        say("bench: coverage of the GPL-3 text")
        text = GPL3.read_bytes()
        words = count_words(text)
        folder = self.run_folder("coverage", text)
        _, _, warnings, _ = self.run_transliteration(folder, self.answers_file(self.kjv_text))
        share = 100 * (words - warnings) / words
        self.row(f"Coverage: word tokens of {GPL3} the accent 16 table knows", ">= 99%",
                 f"{words - warnings:,} of {words:,}", f"{share:.2f}%",
                 "met" if share >= 99 else "missed")
        unknown = (folder / "unknown_words" / "input_unknown_words.txt").read_text().split()
        self.detail(f"- GPL-3 words without a row ({len(unknown)} distinct): "
                    f"{', '.join(unknown)}.")

    # --- the report -----------------------------------------------------------------------------

    def report(self, started):
        load_after = os.getloadavg()
        header = ["Measure", "Target", "Measured (median)", "Ratio", "Result"]
        lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
        lines += ["| " + " | ".join(row) + " |" for row in self.rows]
        table = "\n".join(lines)
        say("")
        say(table)
        repo = Path(__file__).resolve().parent.parent
        commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], capture_output=True,
                                cwd=repo).stdout.decode().strip()
        # What was measured is the working tree: say so when its sources differ from the commit.
        changed = subprocess.run(["git", "status", "--porcelain", "--", "src", "tools", "bench"],
                                 capture_output=True, cwd=repo).stdout.decode().split("\n")
        changed = [line[3:] for line in changed if line.strip() and not line.startswith("??")]
        if changed:
            commit += f" with uncommitted changes in {', '.join(changed)}"
        cpu = next((line.split(":", 1)[1].strip() for line in
                    Path("/proc/cpuinfo").read_text().splitlines()
                    if line.startswith("model name")), platform.processor())
        text = [
            "# Benchmark results",
            "",
            f"`make bench` of {time.strftime('%Y-%m-%d %H:%M %Z')}, commit {commit}; "
            f"{cpu}, {os.cpu_count()} cores; load average "
            f"{self.load_before[0]:.2f} at the start and {load_after[0]:.2f} at the end "
            f"(1-minute; as each part started: "
            f"{', '.join(f'{name} {load:.2f}' for name, load in self.loads)}); "
            f"{time.time() - started:.0f} s in all. Medians of {self.runs} runs, "
            f"{self.long_runs} for the transliteration rounds; every comparison was measured "
            "in the same run, side by side.",
            "",
            table,
            "",
            "## Every run",
            "",
            *self.details,
            "",
            "## How it is measured",
            "",
            "- The program under bench is `zorvian_bench`, the program built against the loopback "
            f"repository that `zorvian-words serve` publishes on port {self.port}; it is given "
            "`1`, `16`, `y`, `s` and then `1` for every choice prompt on standard input, and "
            "its standard output goes to a file.",
            "- Words are the maximal runs of `[A-Za-z']` after the typographic apostrophes are "
            "folded, as the program scans them; words per second divide the words of the text "
            "by the seconds of the program's summary line (the transliteration loop).",
            f"- Floor (a) prepares, steps and finalizes the program's literal statement per "
            f"word; floor (b) binds one prepared statement and resets it per word. Both scan "
            f"the same words, read the same columns of the same rows of {TABLE}, and time "
            "the lookups alone (bench/floor_lookup.cpp). The scan-only floor reads, scans, "
            "cases and writes the text as the program does, with every word as its own only "
            "form and no database, timed from the first character to the flushed output "
            "(bench/floor_scan.cpp).",
            "- espeak-ng runs on the first lines of the same text, and its words per second "
            "count the whole process.",
            "- The start is timed to the end of the process on an empty standard input, which "
            "comes just after the first question's prompt; sha1sum digests the same "
            "zrv_words.db, the file already in the page cache for both.",
            "- Peak memory is `/usr/bin/time -v`'s maximum resident set of a run with an empty "
            "standard input, which halts at the first question after provisioning is done.",
        ]
        self.results_path.write_text("\n".join(text) + "\n")
        say(f"\nbench: results written to {self.results_path}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the bench build folder")
    parser.add_argument("--results", default=str(Path(__file__).parent / "results.md"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--long-runs", type=int, default=3)
    parser.add_argument("--port", type=int, default=None,
                        help="the port zorvian_bench was built for (default: the build's "
                             "ZRV_BENCH_PORT)")
    parser.add_argument("--only", nargs="*", default=None,
                        help="run only these parts: translit sha1 start memory counts coverage "
                             "update lookupmem")
    args = parser.parse_args()
    if args.port is None:
        cache = (Path(args.build) / "CMakeCache.txt").read_text()
        found = re.search(r"^ZRV_BENCH_PORT:STRING=(\d+)$", cache, re.MULTILINE)
        args.port = int(found.group(1)) if found else 47800
    bench = Bench(args)
    started = time.time()
    parts = {
        "translit": bench.bench_transliteration,
        "sha1": bench.bench_sha1,
        "start": bench.bench_start,
        "memory": bench.bench_memory,
        "counts": bench.bench_counts,
        "coverage": bench.bench_coverage,
        "update": bench.bench_compressed_update,
        "lookupmem": bench.bench_lookup_memory,
    }
    bench.prepare()
    try:
        bench.start_server()
        for name, part in parts.items():
            if args.only is None or name in args.only:
                bench.loads.append((name, os.getloadavg()[0]))
                part()
    finally:
        bench.stop_server()
    bench.report(started)


if __name__ == "__main__":
    main()
