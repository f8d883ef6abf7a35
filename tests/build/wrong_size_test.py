#!/usr/bin/env python3
"""wrong_size_test.py CHECK: check_sizes.py over a tree whose pieces are just over or just at the
limits must name exactly those over them, with the line and the length."""
import pathlib
import subprocess
import sys
import tempfile


def function(head, length, body="    ++count;"):
    """A function of `length` lines whose head is `head` (one or more lines)."""
    head_lines = head.count("\n") + 1
    return head + "\n" + "\n".join([body] * (length - head_lines - 1)) + "\n}\n"


TWO_LINE_HEAD_WITH_LAMBDA = function(
    "int Run(int a,\n        int b) {\n    auto twice = [&](int x) {\n        return 2 * x;\n    };",
    61,
)
INITIALIZERS_BRACES_IN_TEXT = function(
    'Gate::Gate(int a)\n    : a_{a}, b_(a) {\n    Say("}}");  // }\n    /* } */', 61
)
INLINE_IN_CLASS = (
    "namespace torvanik {\n\nclass Panel {\n  public:\n"
    + function("    void Paint() {", 61).replace("\n}\n", "\n    }\n")
    + "};\n\n}  // namespace torvanik\n"
)
LONG_TABLE_AND_ENUM = (
    "constexpr int kTable[] = {\n" + "    1,\n" * 70 + "};\n"
    "enum class Big {\n" + "    kOne,\n" * 70 + "};\n"
)

# (path, text, fault named or None)
CASES = [
    ("engine/long_file.cpp", "// line\n" * 401, "engine/long_file.cpp is 401 lines (at most 400)"),
    ("engine/full_file.cpp", "// line\n" * 400, None),
    ("cli/run.cpp", TWO_LINE_HEAD_WITH_LAMBDA, "cli/run.cpp:1: Run is 61 lines (at most 60)"),
    ("cli/gate.cpp", INITIALIZERS_BRACES_IN_TEXT, "cli/gate.cpp:1: Gate::Gate is 61 lines (at most 60)"),
    ("cli/short.cpp", function("void Short() {", 60), None),
    ("screen/panel.h", INLINE_IN_CLASS, "screen/panel.h:5: Paint is 61 lines (at most 60)"),
    ("res/table.cpp", LONG_TABLE_AND_ENUM, None),
    ("tests/engine/long_test.cpp", function("void Long() {", 80), None),
]


def main():
    check = sys.argv[1]
    with tempfile.TemporaryDirectory() as tree:
        for path, text, _ in CASES:
            file = pathlib.Path(tree, path)
            file.parent.mkdir(parents=True, exist_ok=True)
            file.write_text(text)
        run = subprocess.run(
            [sys.executable, check, tree], capture_output=True, text=True
        )
    named = set(run.stderr.splitlines()[:-1])
    expected = {fault for _, _, fault in CASES if fault}
    if run.returncode == 0 or named != expected:
        print(f"status {run.returncode}, expected {sorted(expected)}, named:\n{run.stderr}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
