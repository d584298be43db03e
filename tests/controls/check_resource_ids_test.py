#!/usr/bin/env python3
"""The resource-id checker finds what it must in a fixture of two clashing subsystems, and
nothing else (repeated control ids, a guarded IDC_STATIC, a dialog's ICON control)."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'res'))
from check_resource_ids import check  # noqa: E402

expected = [
    'IDD_FIRST is defined twice: first_ids.h:3 and second_ids.h:4',
    'resource id 171 is defined twice: PNG IDB_FRAME (first.rc:2) and bitmap IDB_SKIN (second.rc:2)',
    'cursor 302 is defined twice: 302 (second.rc:8) and 302 (second.rc:9)',
]
found = check(os.path.join(HERE, 'resource_ids_fixture'))
if found != expected:
    print('expected:\n  ' + '\n  '.join(expected))
    print('found:\n  ' + '\n  '.join(found))
    sys.exit(1)
print('resource-id checker: %d problems found as expected' % len(found))
