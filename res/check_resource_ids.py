#!/usr/bin/env python3
"""Checks that no resource id is defined twice in a resource folder (res/ by default).

Each subsystem keeps its ids in a header of its own and its resources in a script of its own, so
nothing else notices when two of them pick the same number. Resource ids (dialogs, menus,
bitmaps, PNG pictures, cursors, icons, sounds, accelerator tables) share one numbering: a number
may be given to one name only, a name may be #defined once, and one type and number may be
defined once. A name may stand for resources of several types (the main frame's icon and menu).
Control ids belong to their dialog template and may repeat; they are not looked at.

Prints every problem and exits with 1 when there is one, 0 otherwise.
"""
import os
import re
import sys

RESOURCE_TYPES = {
    'DIALOG': 'dialog', 'DIALOGEX': 'dialog', 'MENU': 'menu', 'MENUEX': 'menu',
    'BITMAP': 'bitmap', 'PNG': 'PNG', 'CURSOR': 'cursor', 'ICON': 'icon', 'WAVE': 'sound',
    'ACCELERATORS': 'accelerator table',
}
DEFINE = re.compile(r'^\s*#\s*define\s+(\w+)\s+\(?\s*(-?(?:0x[0-9A-Fa-f]+|\d+))\s*\)?\s*(?://.*)?$')
IFNDEF = re.compile(r'^\s*#\s*ifndef\s+(\w+)')
STATEMENT = re.compile(r'^\s*(\w+)\s+"?(\w+)"?(?:\s|$)')


def strip_comment(line):
    return line.split('//', 1)[0]


def read_headers(folder, problems):
    """name -> (value, where) from every header of the folder."""
    names = {}
    for file in sorted(f for f in os.listdir(folder) if f.endswith('.h')):
        guarded = None
        with open(os.path.join(folder, file), encoding='utf-8') as f:
            for number, line in enumerate(f, 1):
                guard = IFNDEF.match(line)
                if guard:
                    guarded = guard.group(1)
                    continue
                match = DEFINE.match(line)
                if not match:
                    continue
                name, value = match.group(1), int(match.group(2), 0)
                where = '%s:%d' % (file, number)
                if name in names and name != guarded:
                    problems.append('%s is defined twice: %s and %s' % (name, names[name][1], where))
                    continue
                names.setdefault(name, (value, where))
    return names


def read_resources(folder, names, problems):
    """(kind, number, name, where) for every resource statement of every script of the folder."""
    found = []
    for file in sorted(f for f in os.listdir(folder) if f.endswith('.rc')):
        depth = 0
        with open(os.path.join(folder, file), encoding='utf-8') as f:
            for number, line in enumerate(f, 1):
                text = strip_comment(line)
                words = text.split()
                # Only statements outside every BEGIN ... END block name resources.
                if depth == 0:
                    match = STATEMENT.match(text)
                    if match and match.group(2).upper() in RESOURCE_TYPES:
                        name = match.group(1)
                        where = '%s:%d' % (file, number)
                        if name.isdigit():
                            value = int(name)
                        elif name in names:
                            value = names[name][0]
                        else:
                            problems.append('%s (%s) has no id in the headers' % (name, where))
                            continue
                        found.append((RESOURCE_TYPES[match.group(2).upper()], value, name, where))
                for word in words:
                    if word in ('BEGIN', '{'):
                        depth += 1
                    elif word in ('END', '}'):
                        depth = max(0, depth - 1)
    return found


def check(folder):
    problems = []
    names = read_headers(folder, problems)
    resources = read_resources(folder, names, problems)
    by_kind = {}
    by_number = {}
    for kind, value, name, where in resources:
        earlier = by_kind.get((kind, value))
        if earlier:
            problems.append('%s %d is defined twice: %s (%s) and %s (%s)'
                            % (kind, value, earlier[0], earlier[1], name, where))
        else:
            by_kind[(kind, value)] = (name, where)
        other = by_number.get(value)
        if other and other[0] != name:
            problems.append('resource id %d is defined twice: %s %s (%s) and %s %s (%s)'
                            % (value, other[2], other[0], other[1], kind, name, where))
        else:
            by_number.setdefault(value, (name, where, kind))
    return problems


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    problems = check(folder)
    for problem in problems:
        print(problem)
    if not problems:
        print('resource ids: no id defined twice')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
