#!/usr/bin/env python3
"""Lists the functions of the browser build that Asyncify must instrument: those that can wait.

Usage: AsyncifyList.py PROBE_WASM EMCC_PY WASM_DIS OUT_LIST [NEVER...]

PROBE_WASM is the game linked with exactly the options of the real one, its function names kept
and no function instrumented (ASYNCIFY_REMOVE=*), so that its functions are those the real link
hands to Asyncify. Its call graph is read from its text (WASM_DIS, Binaryen's). A function waits
when it can reach an import that Asyncify treats as waiting (DEFAULT_ASYNCIFY_IMPORTS in EMCC_PY:
emscripten_sleep, the EM_ASYNC_JS functions, fd_sync, ...):
  - through direct calls;
  - through virtual calls: a virtual method's index stands in the vtables in the program's data
    (found by their layout: the offset to the object's top, the address of the class's type
    information, whose name is a mangled one, then the methods), and a virtual call loads it
    from its slot, at a fixed offset from an address loaded from the object (its vtable
    pointer), in the call or through a local; so a virtual method that waits is reached by the
    calls of its signature that load their target at one of its slots' offsets;
  - through the game's own functions called by pointer (callbacks, C++ names without a vtable
    slot): reached by every call through the table of their signature.
The libraries' C functions called by pointer that can wait (SDL's drivers for OpenGL windows,
window surfaces and disk audio, which the page does not use; FreeType's, SDL_mixer's) are taken
never to be called so while the game waits, and are written to OUT_LIST-library for review; an
invoke_* import (a setjmp of FreeType or libxmp) calls such pointers. NEVER names functions that
can reach a wait only in a way the page never takes (SDL_AtomicLock, which waits only while
another thread holds the lock); naming one that cannot wait at all is an error.

OUT_LIST, the functions that can wait, is written for Binaryen to read itself
(-sASYNCIFY_ONLY=[@OUT_LIST]): the names separated by commas. Binaryen puts back together the
parts of a name split at its commas while brackets are open, counting '<' and '>' as brackets
(so "operator->" would close one it never opened); a name it would not read whole is written as
a pattern, the troublesome characters replaced by '*', which matches at least that function. The
list is then read back here as Binaryen reads it, and every waiting function must be matched,
or this script fails naming it: a waiting function left out would trap ("unreachable") when it
waits. So does a pattern that would make Binaryen's matcher read past a name's end.
"""
import ast
import re
import subprocess
import sys

OPEN, CLOSE = '(<[{', ')>]}'


def waiting_imports(emcc_py):
    text = open(emcc_py, encoding='utf-8').read()
    m = re.search(r'^DEFAULT_ASYNCIFY_IMPORTS = (\[.*?\])', text, re.M | re.S)
    if not m:
        sys.exit(f'{emcc_py}: DEFAULT_ASYNCIFY_IMPORTS not found')
    names = ast.literal_eval(m.group(1))
    return [n if '.' in n else 'env.' + n for n in names]


def wildcard(pattern, value):
    """Binaryen's match of a (escaped) name with a pattern with '*' (String::wildcardMatch);
    raises where Binaryen's own would read past the end of the name, and abort."""
    for i, c in enumerate(pattern):
        if c == '*':
            if wildcard(pattern[i + 1:], value[i:]):
                return True
            if not value:
                return False
            if i + 1 > len(value):
                raise ValueError(f'the pattern {pattern} would abort Binaryen on {value}')
            return wildcard(pattern[i:], value[i + 1:])
        if i >= len(value) or c != value[i]:
            return False
    return len(value) == len(pattern)


def escape(name):
    """A name as Binaryen holds it: characters that may not stand in a name in the text format
    as \\xx."""
    raw = name.encode('utf-8', 'surrogateescape')
    ok = set(b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%&'*+-./:<=>?@^_`|~")
    return ''.join(chr(b) if b in ok else f'\\{b:02x}' for b in raw)


def unescape(name):
    """A name as wasm-dis prints it (non-identifier characters as \\xx), without its '$'."""
    raw = re.sub(rb'\\([0-9a-f]{2})', lambda m: bytes([int(m.group(1), 16)]), name[1:].encode())
    return raw.decode('utf-8', 'surrogateescape')


def data_bytes(text):
    """The bytes of a data segment's string as wasm-dis prints it."""
    out, i = bytearray(), 0
    simple = {'t': 9, 'n': 10, 'r': 13, '"': 34, "'": 39, '\\': 92}
    raw = text.encode('utf-8', 'surrogateescape')
    while i < len(raw):
        if raw[i] == 92:
            c = chr(raw[i + 1])
            if c in simple:
                out.append(simple[c])
                i += 2
            else:
                out.append(int(raw[i + 1:i + 3], 16))
                i += 3
        else:
            out.append(raw[i])
            i += 1
    return out


def load_offset(expression):
    """The offset of a 32-bit load that an expression's first line begins, or None."""
    load = re.match(r'\(i32\.load(?: offset=(\d+))?(?: align=\d+)?$', expression)
    return int(load.group(1) or 0) if load else None


def signature(text):
    params = [t for group in re.findall(r'\(param ((?:\$[^\s()]+ )?[^)]*)\)', text)
              for t in group.split() if not t.startswith('$')]
    results = [t for group in re.findall(r'\(result ([^)]*)\)', text) for t in group.split()]
    return ' '.join(params) + ' -> ' + ' '.join(results)


class Program:
    """The probe's functions (name -> signature), imports (name -> module.base), direct calls
    (caller -> callees), calls through the table (caller -> [(signature, offset)], the offset
    None where the target is not loaded from memory), the table (index -> name, and name ->
    indices) and the data (its segments, and address -> 32-bit word at every 4th address)."""

    def __init__(self, wasm, wasm_dis):
        text = subprocess.run([wasm_dis, wasm], check=True, capture_output=True, text=True,
                              errors='surrogateescape').stdout
        self.types, self.funcs, self.imports = {}, {}, {}
        self.calls, self.indirect, self.slots, self.words = {}, {}, {}, {}
        self.segments = []
        current, body = None, []
        for line in text.splitlines():
            stripped = line.lstrip(' ')
            indent = len(line) - len(stripped)
            if indent == 1:
                if current:
                    self.read_body(current, body)
                current, body = self.top_level(stripped), []
            elif current:
                body.append((indent, stripped))
        self.table = {}
        for index, name in self.slots.items():
            self.table.setdefault(name, set()).add(index)
        if not self.funcs or not self.table:
            sys.exit(f'{wasm}: no functions or no table read from {wasm_dis}')

    def read_body(self, func, body):
        """The calls of a function's body (its lines and their depths). A call through the table
        is taken for a virtual call, whose vtable offset is kept, when its target is loaded from
        an address itself loaded from memory (the object's vtable pointer), either in the call or
        through a local; any other target (a function pointer in a parameter, in a structure)
        gets no offset."""
        def child(i):
            return body[i + 1][1] if i + 1 < len(body) and body[i + 1][0] == body[i][0] + 1 else ''

        def target(i):
            """('vtable', offset), ('field', offset, local) or ('local', name) or None."""
            load = re.match(r'\(i32\.load(?: offset=(\d+))?(?: align=\d+)?$', body[i][1])
            if load:
                address, offset = child(i), int(load.group(1) or 0)
                if re.match(r'\(i32\.load(?: align=\d+)?$', address):
                    return ('vtable', offset)
                local = re.match(r'\(local\.get (\$[^\s()]+)\)$', address)
                return ('field', offset, local.group(1)) if local else None
            local = re.match(r'\(local\.get (\$[^\s()]+)\)$', body[i][1])
            return ('local', local.group(1)) if local else None

        sources, loaded, other, sites = {}, set(), set(), []
        for i, (indent, line) in enumerate(body):
            for callee in re.findall(r'\(call (\$[^\s()]+)', line):
                self.calls[func].add(callee)
            m = re.match(r'\(local\.(?:set|tee) (\$[^\s()]+)$', line)
            if m:
                sources.setdefault(m.group(1), set()).add(target(i + 1) if child(i) else None)
                # A local that only ever holds what an address points to (a vtable pointer).
                if re.match(r'\(i32\.load(?: align=\d+)?$', child(i)):
                    loaded.add(m.group(1))
                else:
                    other.add(m.group(1))
            m = re.match(r'\(call_indirect (?:\$[^\s()]+ )?\(type (\$[^\s()]+)\)$', line)
            if m:
                last = None
                for j in range(i + 1, len(body)):
                    if body[j][0] <= indent:
                        break
                    if body[j][0] == indent + 1 and body[j][1].startswith('('):
                        last = j
                sites.append((self.types[m.group(1)], target(last) if last else None))

        def offsets(t, seen):
            if t is None:
                return set()
            if t[0] == 'vtable':
                return {t[1]}
            if t[0] == 'field':
                return {t[1]} if t[2] in loaded and t[2] not in other else set()
            if t[1] in seen:
                return set()
            return set().union(*(offsets(s, seen | {t[1]}) for s in sources.get(t[1], ())))

        for sig, t in sites:
            found = offsets(t, frozenset())
            for offset in found or {None}:
                self.indirect[func].add((sig, offset))

    def top_level(self, line):
        """Reads a line of the module's top level; returns the function it begins, if any."""
        if line.startswith('(type '):
            m = re.match(r'\(type (\$[^\s()]+) \(func(.*)\)\)$', line)
            if m:
                self.types[m.group(1)] = signature(m.group(2))
        elif line.startswith('(import '):
            m = re.match(r'\(import "([^"]*)" "([^"]*)" \(func (\$[^\s()]+)(.*)\)\)$', line)
            if m:
                self.imports[m.group(3)] = f'{m.group(1)}.{m.group(2)}'
                self.funcs[m.group(3)] = signature(m.group(4))
        elif line.startswith('(func '):
            m = re.match(r'\(func (\$[^\s()]+)(.*)$', line)
            typed = re.search(r'\(type (\$[^\s()]+)\)', m.group(2))
            self.funcs[m.group(1)] = self.types[typed.group(1)] if typed else signature(m.group(2))
            self.calls[m.group(1)], self.indirect[m.group(1)] = set(), set()
            return m.group(1)
        elif line.startswith('(elem '):
            m = re.match(r'\(elem (?:\$[^\s()]+ )?(?:\(table [^)]*\) )?\(i32\.const (\d+)\)(?: func)?(.*)\)$', line)
            for i, name in enumerate(m.group(2).split()):
                self.slots[int(m.group(1)) + i] = name
        elif line.startswith('(data '):
            m = re.match(r'\(data (?:\$[^\s()]+ )?\(i32\.const (\d+)\) "(.*)"\)$', line)
            if m:
                start, data = int(m.group(1)), data_bytes(m.group(2))
                self.segments.append((start, data))
                for at in range((-start) % 4, len(data) - 3, 4):
                    self.words[start + at] = int.from_bytes(data[at:at + 4], 'little')
        return None

    def vtable_offsets(self, func):
        """The offsets from the address points of the vtables (the tables of virtual methods in
        the data: the offset to the top of the object, at most 0; the address of the class's
        type information, an object of the C++ runtime's own classes; then the methods' table
        indices) at which `func`'s index stands."""
        indices, valid = self.table[func], range(1, max(self.slots) + 1)
        offsets = set()
        for at, word in self.words.items():
            if word in indices:
                start = at
                while self.words.get(start - 4) in valid:
                    start -= 4
                top, info = self.words.get(start - 8), self.words.get(start - 4)
                if (top == 0 or (top or 0) >= 1 << 31) and self.is_type_info(info):
                    offsets.add(at - start)
        return offsets

    def is_type_info(self, at):
        """True when `at` holds a class's type information: the runtime's vtable, then the
        address of the class's mangled name."""
        name = self.string(self.words.get(at + 4, 0) if at in self.words else 0)
        return re.fullmatch(rb'N?[0-9]+[A-Za-z_][0-9A-Za-z_]*E?', name or b'') is not None

    def string(self, at):
        for start, data in self.segments:
            if start <= at < start + len(data):
                return bytes(data[at - start:data.index(0, at - start)])
        return None


def waiting_functions(program, patterns, never):
    """The functions that can wait, and the libraries' functions that can wait but are only
    called through pointers (which this build takes never to happen while the game waits)."""
    callers, through_table = {}, {}
    for caller, callees in program.calls.items():
        for callee in callees:
            callers.setdefault(callee, set()).add(caller)
    for caller, sites in program.indirect.items():
        for sig, offset in sites:
            through_table.setdefault(sig, []).append((offset, caller))
    waiting = {f for f, full in program.imports.items()
               if any(wildcard(p, full) for p in patterns)}
    if not waiting:
        sys.exit('no import that waits (were the imports renamed?)')
    todo, library, cut = list(waiting), set(), set()
    while todo:
        f = todo.pop()
        name = unescape(f)
        if name in never:
            cut.add(name)
            continue
        reached = set(callers.get(f, ()))
        if f in program.table:
            sites, offsets = through_table.get(program.funcs[f], ()), program.vtable_offsets(f)
            if offsets:
                # A virtual method: reached by the virtual calls of its vtable slots.
                reached |= {caller for offset, caller in sites if offset in offsets}
            elif '(' in name:
                # The game's own function called through a pointer (a callback): every call
                # through the table of its signature may reach it.
                reached |= {caller for _, caller in sites}
            else:
                library.add(name)
        for caller in reached - waiting:
            waiting.add(caller)
            todo.append(caller)
    if never - cut:
        sys.exit('These functions are named as never waiting, but cannot wait anyway (any '
                 'more): ' + '; '.join(sorted(never - cut)))
    return sorted(unescape(f) for f in waiting if f not in program.imports), sorted(library)


def split_like_binaryen(text):
    """The list as Binaryen reads it: split at each comma, and the parts put back together while
    brackets are open."""
    out, last, nesting = [], None, 0
    for part in text.split(',') + ['']:
        if not part:
            continue
        nesting += sum(c in OPEN for c in part) - sum(c in CLOSE for c in part)
        last = part if last is None else last + ',' + part
        if nesting == 0:
            out.append(last)
            last = None
    return out, nesting


def list_item(name):
    if split_like_binaryen(name) == ([name], 0):
        return name
    return re.sub(r'\*+', '*', re.sub(r'[,()<>\[\]{}]', '*', name))


def main():
    wasm, emcc_py, wasm_dis, out, *never = sys.argv[1:]
    program = Program(wasm, wasm_dis)
    waiting, library = waiting_functions(program, waiting_imports(emcc_py), set(never))
    text = ','.join(sorted({list_item(name) for name in waiting}))
    read, nesting = split_like_binaryen(text)
    exact = {escape(i) for i in read if '*' not in i}
    patterns = [escape(i) for i in read if '*' in i]
    everything = [f[1:] for f in program.funcs if f not in program.imports]
    try:
        for p in patterns:
            for name in everything:
                wildcard(p, name)
    except ValueError as e:
        sys.exit(str(e))
    missing = [n for n in waiting if escape(n) not in exact and
               not any(wildcard(p, escape(n)) for p in patterns)]
    if nesting or missing:
        sys.exit('Asyncify would not instrument these functions, which can wait: ' +
                 '; '.join(missing or ['(the list does not parse)']))
    with open(out, 'w', encoding='utf-8', errors='surrogateescape') as f:
        f.write(text)
    with open(out + '-library', 'w', encoding='utf-8', errors='surrogateescape') as f:
        f.write(''.join(name + '\n' for name in library))
    print(f'Asyncify instruments the {len(waiting)} of {len(everything)} functions that can wait')


if __name__ == '__main__':
    main()
