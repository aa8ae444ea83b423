#!/usr/bin/env python3
"""Checks that the user reads no text outside the translation system.

check_texts.py ROOT LUPDATE: for the folders listed in scanned_folders.txt (each folder's own .cpp and
.h files, not its subfolders),
  1. every string literal with Cyrillic in it must be the text of tr(), translate(), QT_TR_NOOP() or
     QT_TRANSLATE_NOOP() (the transport library's folder: the Russian half of a {"ru", "en"} pair), or
     be listed in allowed_literals.txt (texts the instrument and stored files rely on);
  2. lupdate run over those files into a copy of translations/zarno_en.ts must leave no message
     without a finished English translation, and each translation must keep its source's %1, %2...
Exits 1 with one line per fault.
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent
CYRILLIC = re.compile('[\u0400-\u04ff]')
TRANSLATING = {'tr', 'translate', 'QT_TR_NOOP', 'QT_TRANSLATE_NOOP', 'QT_TRANSLATE_NOOP3', 'QT_TR_N_NOOP'}
PLACEHOLDER = re.compile(r'%L?(\d+)')


def listed_lines(path):
    lines = []
    for line in path.read_text(encoding='utf-8').splitlines():
        line = line.split('#', 1)[0].strip() if not line.lstrip().startswith('"') else line.strip()
        if line:
            lines.append(line)
    return lines


def allowed_literals(path):
    # One a line, written as the C++ literal's text between double quotes; '#' lines are comments.
    texts = set()
    for line in path.read_text(encoding='utf-8').splitlines():
        line = line.strip()
        if line.startswith('"') and line.endswith('"') and len(line) >= 2:
            texts.add(line[1:-1])
    return texts


def tokens(text):
    """(kind, value, line) for identifiers, string literals, brackets and commas; comments and
    character literals are skipped."""
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == '\n':
            line += 1
            i += 1
        elif text.startswith('//', i):
            i = text.find('\n', i)
            i = n if i < 0 else i
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            end = n if end < 0 else end + 2
            line += text.count('\n', i, end)
            i = end
        elif c == '#' and text[text.rfind('\n', 0, i) + 1:i].strip() == '':
            # A preprocessor line (an #include's "path" is no text).
            end = i
            while True:
                end = text.find('\n', end)
                if end < 0 or text[end - 1] != '\\':
                    break
                end += 1
            end = n if end < 0 else end
            line += text.count('\n', i, end)
            i = end
        elif c == 'R' and text.startswith('R"', i) or re.match(r'(u8|u|U|L)R"', text[i:i + 4]):
            start = text.find('R"', i) + 2
            delim_end = text.find('(', start)
            closing = ')' + text[start:delim_end] + '"'
            end = text.find(closing, delim_end)
            yield 'string', text[delim_end + 1:end], line
            line += text.count('\n', i, end)
            i = end + len(closing)
        elif c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == '\\' else 1
            yield 'string', text[i + 1:j], line
            i = j + 1
        elif c == "'":
            j = i + 1
            while j < n and text[j] != "'":
                j += 2 if text[j] == '\\' else 1
            i = j + 1
        elif c.isalpha() or c == '_':
            m = re.match(r'[A-Za-z_0-9]+', text[i:])
            word = m.group(0)
            if word in ('u8', 'u', 'U', 'L') and text.startswith('"', i + len(word)):
                i += len(word)
                continue
            yield 'word', word, line
            i += len(word)
        elif c in '(){}[],;':
            yield 'punct', c, line
            i += 1
        else:
            i += 1


def literal_faults(path, relative, allowed, pairs_allowed):
    """Cyrillic literals outside the translation functions, as "file:line: text"."""
    faults = []
    toks = list(tokens(path.read_text(encoding='utf-8')))
    stack = []  # (bracket, the word before it)
    previous = None
    for k, (kind, value, line) in enumerate(toks):
        if kind == 'punct' and value in '({[':
            stack.append((value, previous[1] if previous and previous[0] == 'word' else ''))
        elif kind == 'punct' and value in ')}]':
            if stack:
                stack.pop()
        elif kind == 'string' and CYRILLIC.search(value) and value not in allowed:
            inner = stack[-1] if stack else ('', '')
            if inner[0] == '(' and inner[1] in TRANSLATING:
                pass
            elif pairs_allowed and inner[0] == '{' and english_follows(toks, k):
                pass
            else:
                faults.append(f'{relative}:{line}: text outside the translation system: "{value}"')
        previous = (kind, value)
    return faults


def english_follows(toks, k):
    """The literal at k (with the literals joined to it) is followed by a comma and a literal
    without Cyrillic: the Russian half of a {"ru", "en"} pair."""
    k += 1
    while k < len(toks) and toks[k][0] == 'string':
        k += 1
    return (k + 1 < len(toks) and toks[k] == ('punct', ',', toks[k][2]) and toks[k + 1][0] == 'string'
            and not CYRILLIC.search(toks[k + 1][1]))


def translation_faults(root, lupdate, files):
    ts = root / 'translations' / 'zarno_en.ts'
    faults = []
    with tempfile.TemporaryDirectory() as work:
        copy = pathlib.Path(work) / 'zarno_en.ts'
        shutil.copy(ts, copy)
        run = subprocess.run([lupdate, '-silent', '-no-obsolete', '-locations', 'none', '-I', str(root)]
                             + [str(f) for f in files] + ['-ts', str(copy)], capture_output=True, text=True)
        if run.returncode != 0:
            return [f'lupdate failed: {run.stderr.strip()}']
        for context in ET.parse(copy).getroot().iter('context'):
            name = context.findtext('name')
            for message in context.iter('message'):
                source = message.findtext('source') or ''
                translation = message.find('translation')
                forms = [f.text or '' for f in translation.iter('numerusform')] or [translation.text or '']
                where = f'{name}: "{source}"'
                if translation.get('type') == 'unfinished' or not all(f.strip() for f in forms):
                    faults.append(f'no English for {where}')
                    continue
                wanted = sorted(set(PLACEHOLDER.findall(source)))
                for form in forms:
                    if sorted(set(PLACEHOLDER.findall(form))) != wanted:
                        faults.append(f'the English of {where} does not keep its placeholders: "{form}"')
                    if CYRILLIC.search(form):
                        faults.append(f'the English of {where} has Cyrillic in it: "{form}"')
    return faults


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    lupdate = sys.argv[2]
    allowed = allowed_literals(HERE / 'allowed_literals.txt')
    files = []
    faults = []
    for folder in listed_lines(HERE / 'scanned_folders.txt'):
        found = sorted(p for p in (root / folder).glob('*') if p.suffix in ('.cpp', '.h'))
        if not found:
            faults.append(f'{folder}: no sources (a folder gone from the tree?)')
        pairs_allowed = folder == 'transport'
        for path in found:
            faults += literal_faults(path, path.relative_to(root), allowed, pairs_allowed)
        if not pairs_allowed:
            files += found
    faults += translation_faults(root, lupdate, files)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
