#!/usr/bin/env python3
"""check_sizes.py SOURCE_DIR [--stamp FILE]

Fails, naming each one, when a file of the program's own code (every folder but tests/) is
over 400 lines or a function in it over 60. A function counts from the first line of its head
to its closing brace; the lambdas in it and the functions written in a class body count too.
"""
import argparse
import pathlib
import re
import sys

MAX_FILE_LINES = 400
MAX_FUNCTION_LINES = 60
CODE_SUFFIXES = {".h", ".cpp"}
# Folders of the source tree that hold no code of the program's own.
NOT_CODE = {"tests"}

# Strings, characters, comments and preprocessor lines hold no braces that count.
NOT_CODE_TEXT = re.compile(
    r'R"([^(\s]*)\(.*?\)\1"'  # raw string
    r'|"(?:[^"\\\n]|\\.)*"'  # string
    r"|'(?:[^'\\\n]|\\.)*'"  # character
    r"|//[^\n]*"  # line comment
    r"|/\*.*?\*/"  # block comment
    r"|^[ \t]*#(?:[^\n]*\\\n)*[^\n]*",  # preprocessor line, with its continuations
    re.DOTALL | re.MULTILINE,
)
ACCESS_LABEL = re.compile(r"^\s*(?:public|private|protected)\s*:(?!:)")
TEMPLATE_HEAD = re.compile(r"^\s*template\s*<[^{;]*?>\s*")
TYPE_HEAD = re.compile(r"^\s*(?:class|struct|union|enum)\b")
FUNCTION_NAME = re.compile(r"(~?[\w:]*(?:operator\s*[^\s(]+|\w+))\s*\($")


def code_only(text):
    """The text with everything but code blanked, line breaks kept."""
    return NOT_CODE_TEXT.sub(lambda match: re.sub(r"[^\n]", " ", match.group()), text)


def outside_parentheses(head):
    """The head with what stands in parentheses left out."""
    depth, kept = 0, []
    for char in head:
        depth += char == "("
        if depth == 0:
            kept.append(char)
        depth -= char == ")" and depth > 0
    return "".join(kept)


def kind_of(head):
    """What a brace after `head` opens: "scope" (a namespace or class body, which may hold
    functions), "function", or "other" (an initializer, an enum)."""
    head = TEMPLATE_HEAD.sub("", head)
    if re.match(r"\s*(?:namespace\b|extern\s)", head):
        return "scope"
    top = outside_parentheses(re.sub(r"operator\s*\S+?\s*\(", "operator(", head))
    if TYPE_HEAD.match(head) and "(" not in head:
        return "other" if re.match(r"\s*enum\b", head) else "scope"
    if "(" in head and "=" not in top:
        return "function"
    return "other"


def function_name(head):
    """The name before the parameter list: "RunTransfer", "HandOff::Run"."""
    before = head[: head.find("(") + 1] if "(" in head else head
    match = FUNCTION_NAME.search(" ".join(before.split()))
    return match.group(1) if match else "?"


def in_constructor_initializers(head):
    """True when `head` ends inside a constructor's member initializers, where a brace that
    follows a name (`system_{...}`) initializes a member rather than opening the body."""
    return re.search(r"\)\s*(?:noexcept\s*)?:[^:]", head) is not None


def long_functions(text):
    """(line, name, length) of each function in `text` longer than the limit."""
    found = []
    scopes = []  # (kind, first line, name) of each open brace
    head, head_line, line = "", None, 1
    parentheses = 0  # open in the head; a brace among them is an argument's
    inner_braces = 0  # open braces within the head itself
    for char in text:
        if char == "\n":
            line += 1
        # Within a function or an initializer, braces are only counted to find its end.
        if scopes and scopes[-1][0] != "scope":
            if char == "{":
                scopes.append(("inner", line, ""))
            elif char == "}":
                kind, first, name = scopes.pop()
                if kind == "function" and line - first + 1 > MAX_FUNCTION_LINES:
                    found.append((first, name, line - first + 1))
            continue
        if char in "{}" and (parentheses > 0 or inner_braces > 0):
            inner_braces += 1 if char == "{" else -1
        elif char == "{" and in_constructor_initializers(head) and re.search(r"[\w>]$", head):
            inner_braces += 1
        elif char == "{":
            kind = kind_of(head)
            scopes.append((kind, head_line or line, function_name(head)))
            head, head_line = "", None
            continue
        elif char == "}":
            if scopes:
                scopes.pop()
            head, head_line = "", None
            continue
        elif char == ";" and inner_braces == 0:
            head, head_line = "", None
            continue
        parentheses += (char == "(") - (char == ")" and parentheses > 0)
        head += char
        if ACCESS_LABEL.match(head):
            head, head_line = "", None
        if head_line is None and not char.isspace() and head.strip():
            head_line = line
    return found


def code_files(source_dir):
    """The program's own code files under `source_dir`, relative to it, sorted."""
    files = []
    for path in sorted(source_dir.rglob("*")):
        relative = path.relative_to(source_dir)
        top = relative.parts[0]
        if top in NOT_CODE or top.startswith(".") or (source_dir / top / "CMakeCache.txt").exists():
            continue
        if path.suffix in CODE_SUFFIXES and path.is_file():
            files.append(relative.as_posix())
    return files


def oversized(source_dir):
    """{"FILE" or "FILE: FUNCTION": what is over} of every piece over the limits."""
    over = {}
    for name in code_files(source_dir):
        text = (source_dir / name).read_text(encoding="utf-8", errors="replace")
        lines = text.count("\n") + (not text.endswith("\n") and text != "")
        if lines > MAX_FILE_LINES:
            over[name] = f"{name} is {lines} lines (at most {MAX_FILE_LINES})"
        for line, function, length in long_functions(code_only(text)):
            over[f"{name}: {function}"] = (
                f"{name}:{line}: {function} is {length} lines (at most {MAX_FUNCTION_LINES})"
            )
    return over


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source_dir", type=pathlib.Path)
    parser.add_argument("--stamp", type=pathlib.Path)
    arguments = parser.parse_args()

    faults = [text for _, text in sorted(oversized(arguments.source_dir).items())]
    if faults:
        print("\n".join(faults), file=sys.stderr)
        print("Pieces are over the size limits (cmake/check_sizes.py).", file=sys.stderr)
        return 1
    if arguments.stamp:
        arguments.stamp.touch()
    return 0


if __name__ == "__main__":
    sys.exit(main())
