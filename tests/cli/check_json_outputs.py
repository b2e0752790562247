"""Checks what the golden case folders print as JSON and SARIF against their schemas.

Every line of a --format json case must be valid against docs/talveron-cli.schema.json, and the
whole output of a --format sarif case against the SARIF 2.1.0 schema. Arguments: the cases
folder, the JSON schema, the SARIF schema; then any further SARIF files to check.
"""
import json
import pathlib
import sys

import jsonschema


def validator(path):
    schema = json.loads(pathlib.Path(path).read_text())
    return jsonschema.Draft202012Validator(schema)


def main():
    cases, json_schema, sarif_schema, *more_sarif = sys.argv[1:]
    lines, logs, failures = validator(json_schema), validator(sarif_schema), []
    checked = {"json": 0, "sarif": 0}
    sarif_texts = [(p, pathlib.Path(p).read_text()) for p in more_sarif]
    for folder in sorted(pathlib.Path(cases).iterdir()):
        command = folder / "command"
        stdout = folder / "stdout"
        if not command.exists() or not stdout.exists():
            continue
        words = command.read_text().split("\n")
        formats = [words[i + 1] for i, w in enumerate(words[:-1]) if w == "--format"]
        formats += [w.split("=", 1)[1] for w in words if w.startswith("--format=")]
        if "json" in formats:
            for number, line in enumerate(stdout.read_text().splitlines(), 1):
                for error in lines.iter_errors(json.loads(line)):
                    failures.append(f"{folder.name} line {number}: {error.message}")
                checked["json"] += 1
        if "sarif" in formats:
            sarif_texts.append((folder.name, stdout.read_text()))
    for name, text in sarif_texts:
        for error in logs.iter_errors(json.loads(text)):
            failures.append(f"{name}: {list(error.absolute_path)}: {error.message}")
        checked["sarif"] += 1
    for failure in failures:
        print(failure)
    print(f"{checked['json']} JSON lines and {checked['sarif']} SARIF logs checked")
    if failures or not checked["json"] or not checked["sarif"]:
        sys.exit(1)


main()
