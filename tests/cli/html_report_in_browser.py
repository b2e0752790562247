"""The HTML report in a real browser: Debian's Chromium, headless.

Validates the shipped faulty.dat and a generated file with more than 1,000 findings of some check
codes, with --format json and --html; then checks, in the DOM after the page's script ran, that
the script ran without error, that every check code of every file shows as many findings as the
JSON lines list (at most 1,000), and that a filter hides and shows findings. Also checks the
SARIF log of the same files against the SARIF 2.1.0 schema. Exits 77 (skipped) when Chromium
is not installed. Arguments: talveron-cli, talveron-loadgen, the source folder, the build folder.
"""
import collections
import html.parser
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

import jsonschema

CAP = 1000


class Findings(html.parser.HTMLParser):
    """The findings of a dumped DOM: (file, check, shown) for each, and the body's attributes."""

    def __init__(self):
        super().__init__()
        self.items, self.body = [], {}

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "body":
            self.body = attrs
        if tag == "li" and attrs.get("class") == "finding":
            file = attrs["id"].split("-")[1]
            self.items.append((int(file), attrs["data-check"], "hidden" not in attrs))


def dump(chromium, page, fragment=""):
    profile = tempfile.mkdtemp()
    try:
        done = subprocess.run(
            [chromium, "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", f"--user-data-dir={profile}", "--dump-dom",
             page.as_uri() + fragment],
            capture_output=True, text=True, timeout=120, check=True)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    parser = Findings()
    parser.feed(done.stdout)
    return parser


def main():
    cli, loadgen, source, build = sys.argv[1:]
    chromium = shutil.which("chromium")
    if not chromium:
        print("chromium is not installed: skipped")
        sys.exit(77)
    work = pathlib.Path(tempfile.mkdtemp())
    failures = []
    try:
        shutil.copy(pathlib.Path(source, "data", "faulty.dat"), work)
        subprocess.run([loadgen, "--records", "6000", "--faults", "all", str(work / "big.dat")],
                       check=True, capture_output=True)
        files = [str(work / "faulty.dat"), str(work / "big.dat")]
        common = [cli, "--config", str(pathlib.Path(source, "data", "TALVERON.CFG")),
                  "--as-of", "20250301", "-q"]
        page = work / "report.html"
        printed = subprocess.run(common + ["--format", "json", "--html", str(page)] + files,
                                 capture_output=True, text=True)
        expected = collections.Counter()
        for line in printed.stdout.splitlines():
            finding = json.loads(line)
            if finding["type"] == "finding":
                expected[(files.index(str(work / finding["file"])) + 1, finding["code"])] += 1
        expected = {key: min(count, CAP) for key, count in expected.items()}
        if max(expected.values()) < CAP:
            failures.append("no check code reached the cap of 1,000 findings")

        whole = dump(chromium, page)
        if whole.body.get("data-ready") != "yes" or "data-script-error" in whole.body:
            failures.append(f"the page's script did not run cleanly: {whole.body}")
        shown = collections.Counter((f, c) for f, c, _ in whole.items)
        if dict(shown) != expected:
            failures.append(f"findings per file and code: page {dict(shown)}, JSON {expected}")

        filtered = dump(chromium, page, "#filter:check=DCSUM")
        visible = collections.Counter((f, c) for f, c, seen in filtered.items if seen)
        wanted = {key: count for key, count in expected.items() if key[1] == "DCSUM"}
        if not wanted or dict(visible) != wanted:
            failures.append(f"filter check=DCSUM shows {dict(visible)}, not {wanted}")
        if filtered.body.get("data-shown") != str(sum(wanted.values())):
            failures.append(f"filter count says {filtered.body.get('data-shown')}")

        sarif = subprocess.run(common + ["--format", "sarif"] + files, capture_output=True,
                               text=True).stdout
        schema = json.loads(pathlib.Path(source, "tests/data/sarif/sarif-2.1.0.json").read_text())
        for error in jsonschema.Draft202012Validator(schema).iter_errors(json.loads(sarif)):
            failures.append(f"SARIF: {list(error.absolute_path)}: {error.message}")
        shutil.copy(page, pathlib.Path(build, "html-report-in-browser.html"))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure)
    print(f"{0 if failures else 1} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


main()
