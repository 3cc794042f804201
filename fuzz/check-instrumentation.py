#!/usr/bin/env python3
"""Fails when libFuzzer's coverage instrumentation reaches beyond the fuzz targets' build folder:
a compile command whose output lies outside FUZZ_DIR asks for -fsanitize=fuzzer..., or a shipped
program carries a __sancov section. The fuzz target must carry both, so that the check can fail.

    check-instrumentation.py COMPILE_COMMANDS FUZZ_DIR FUZZ_TARGET SHIPPED_PROGRAM...
"""

import json
import os
import re
import shlex
import subprocess
import sys

FUZZER_FLAG = re.compile(r"^-fsanitize=(\S*,)?fuzzer(-no-link)?(,\S*)?$")


def arguments(entry):
    if "arguments" in entry:
        return entry["arguments"]
    return shlex.split(entry["command"])


def output_path(entry, command):
    output = entry.get("output")
    if output is None and "-o" in command[:-1]:
        output = command[command.index("-o") + 1]
    if output is None:
        sys.exit(f"FAIL: the compile command for {entry['file']} names no output")
    return os.path.realpath(os.path.join(entry["directory"], output))


def sancov_sections(program):
    sections = subprocess.run(["readelf", "-S", "-W", program], check=True, capture_output=True, text=True)
    return sorted(set(re.findall(r"__sancov\w*", sections.stdout)))


def main():
    compile_commands, fuzz_dir, fuzz_target, *shipped = sys.argv[1:]
    fuzz_dir = os.path.realpath(fuzz_dir) + os.sep
    with open(compile_commands, encoding="utf-8") as file:
        entries = json.load(file)

    failures = []
    inside = 0
    for entry in entries:
        command = arguments(entry)
        if not any(FUZZER_FLAG.match(argument) for argument in command):
            continue
        output = output_path(entry, command)
        if output.startswith(fuzz_dir):
            inside += 1
        else:
            failures.append(f"{output} is compiled with libFuzzer's instrumentation")
    if inside == 0:
        failures.append(f"no compile command under {fuzz_dir} asks for libFuzzer's instrumentation")

    if not sancov_sections(fuzz_target):
        failures.append(f"{fuzz_target} carries no __sancov section")
    for program in shipped:
        sections = sancov_sections(program)
        if sections:
            failures.append(f"{program} carries {', '.join(sections)}")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"{inside} instrumented compile commands, all under {fuzz_dir}; "
          f"no __sancov section in {', '.join(os.path.basename(p) for p in shipped)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
