#!/usr/bin/env python3
"""Checks what msgfmt does not: that each translation of a catalogue keeps its text's fields and
markup, and that it names the game's terms as the glossary does.

  check-catalogues.py GLOSSARY CATALOGUE...

A text's fields are what the program or the build fills in ({file}, ${NAME}, $0, $XDG_DATA_HOME);
its markup, the manual page's B<...> and I<...>. A translation must have the same fields, each as
often, and as many of each kind of markup. The glossary (po/glossary.tsv) is a table of the game's
terms: a row a term, a column a language ("cs" first, then the languages' codes, then "note"),
each cell the forms of the term's stem that the language accepts, separated by "|". Where a text
holds the Czech term (a word beginning with one of its forms), its translation must hold one of
the language's forms (anywhere in a word). A translator's comment "# glossary: TERM" on an entry
lets its translation say TERM otherwise, where the sentence truly needs it.

A text the game wraps (its translator's comment says "N characters a line") is wrapped as the
game wraps it, and no line of it may end in a number (a number stays with its unit, "1800 Kč"),
nor, in Czech, Slovak, Polish and Ukrainian, in a one-letter word (a preposition or conjunction stays with
the next word): a no-break space (U+00A0) joins them, and no chain of words joined so may be
longer than a line. The Czech texts of the game's data (the briefings and orders of the
campaign) are checked so too.

Every translation is written precomposed (Unicode's NFC), so that each of its characters is one
the reader sees, as the game counts them when it wraps.

Prints every fault as "catalogue: msgid: what", and exits 1 when there is any.
"""
import collections
import csv
import os
import re
import sys
import unicodedata

FIELD = re.compile(r'\{\w+\}|\$\{\w+\}|\$\d|\$[A-Z_][A-Z0-9_]*')
MARKUP = re.compile(r'\b[BI]<')


ESCAPES = {'n': '\n', 't': '\t', '"': '"', '\\': '\\'}


def unquote(line):
    quoted = line[line.index('"') + 1:line.rindex('"')]
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(1)), quoted)


NO_BREAK = '\u00a0'
ONE_LETTER_WORDS_STAY = {'cs', 'sk', 'pl', 'uk'}


def wrapped(text, width):
    """The lines the game wraps `text` into: each but the last ends just after the last blank
    among its first width + 1 characters, or after width + 1 characters where there is none."""
    lines = []
    while len(text) > width:
        blank = text.rfind(' ', 0, width + 1)
        end = blank + 1 if blank >= 0 else width + 1
        lines.append(text[:end])
        text = text[end:]
    return lines + [text]


def bad_breaks(text, width, language):
    """What is wrong with where the game's wrapping breaks `text`."""
    for chain in text.split(' '):
        if NO_BREAK in chain and len(chain) > width:
            yield f'words joined by no-break spaces are longer than a line ("{chain}")'
    lines = wrapped(text, width)
    for line in lines[:-1]:
        last = line.rstrip(' ').replace(NO_BREAK, ' ').split(' ')[-1]
        if last[-1:].isdigit():
            yield f'a line ends in a number ("{line.strip()}")'
        elif language in ONE_LETTER_WORDS_STAY and len(last) == 1 and last.isalpha():
            yield f'a line ends in a one-letter word ("{line.strip()}")'


def entries(path):
    """(msgid, msgstr, comments) of each translated entry of a catalogue: the translator's and
    the extracted comments, and the locations."""
    with open(path, encoding='utf-8') as file:
        blocks = file.read().split('\n\n')
    for block in blocks:
        comments, parts, key = [], {}, None
        for line in block.split('\n'):
            if line.startswith('#~'):
                break
            if line.startswith(('# ', '#. ', '#: ')):
                comments.append(line[line.index(' ') + 1:])
            elif line.startswith(('msgid ', 'msgstr ')):
                key = line.split(' ', 1)[0]
                parts[key] = unquote(line)
            elif line.startswith('"') and key:
                parts[key] += unquote(line)
        if parts.get('msgid') and parts.get('msgstr'):
            yield parts['msgid'], parts['msgstr'], comments


def glossary(path):
    with open(path, encoding='utf-8', newline='') as file:
        rows = list(csv.DictReader(file, delimiter='\t'))
    return [{code: [f.strip().lower() for f in cell.split('|') if f.strip()]
             for code, cell in row.items() if code != 'note'} for row in rows]


def language_of(path):
    return os.path.splitext(os.path.basename(path))[0]


def faults(terms, path):
    code = language_of(path)
    for msgid, msgstr, comments in entries(path):
        short = msgid if len(msgid) < 60 else msgid[:57] + '...'
        if not unicodedata.is_normalized('NFC', msgstr):
            yield f'{short}: the translation is not written precomposed (NFC)'
        if collections.Counter(FIELD.findall(msgid)) != collections.Counter(FIELD.findall(msgstr)):
            yield f'{short}: the fields {sorted(FIELD.findall(msgid))} became {sorted(FIELD.findall(msgstr))}'
        if collections.Counter(MARKUP.findall(msgid)) != collections.Counter(MARKUP.findall(msgstr)):
            yield f'{short}: its markup {MARKUP.findall(msgid)} became {MARKUP.findall(msgstr)}'
        width = re.search(r'(\d+) characters a line', ' '.join(comments))
        if width:
            for fault in bad_breaks(msgstr, int(width.group(1)), code):
                yield f'{short}: {fault}'
            if any(c.startswith('data/') for c in comments):
                for fault in bad_breaks(msgid, int(width.group(1)), 'cs'):
                    yield f'{short}: in Czech, {fault}'
        exempt = ' '.join(c[len('glossary:'):] for c in comments if c.startswith('glossary:')).lower()
        words = re.findall(r'\w+', msgid.lower())
        text = msgstr.lower()
        for term in terms:
            czech, forms = term.get('cs', []), term.get(code, [])
            if not forms or not any(w.startswith(c) for w in words for c in czech):
                continue
            if not any(f in text for f in forms) and czech[0] not in exempt:
                yield f'{short}: "{czech[0]}" is not said as the glossary says ({" | ".join(forms)})'


def main():
    terms = glossary(sys.argv[1])
    found = 0
    for path in sys.argv[2:]:
        for fault in faults(terms, path):
            print(f'{path}: {fault}', file=sys.stderr)
            found += 1
    sys.exit(1 if found else 0)


if __name__ == '__main__':
    main()
