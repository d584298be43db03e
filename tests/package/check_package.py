#!/usr/bin/env python3
"""Checks a release zip: Tovrix.exe must be a 32-bit Windows GUI program that imports only
Windows' own DLLs and carries its manifest (DPI awareness, common controls 6) and the version
the zip is named after; the Korean read-me must come with it, and the user guide as one HTML
file that needs nothing else (every picture of the guide inside it, nothing fetched from
elsewhere). Neither the program nor the guide may name a web address: the program has no web
site.

    check_package.py dist/Tovrix-1.2.3.4-win32.zip [docs/guide.ko.md]

With the guide's source given, the page must show each of its pictures.

Prints one line per check and exits non-zero when any fails.
"""
import base64
import re
import struct
import sys
import zipfile

# DLLs every supported Windows has; anything else would have to travel with the program.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "kernel32.dll",
    "msimg32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll", "dwmapi.dll", "windowscodecs.dll",
    "imm32.dll", "ws2_32.dll",
}
RT_VERSION, RT_MANIFEST = 16, 24
GUIDE = "Tovrix-guide.html"  # the name the program looks for beside itself
WEB_ADDRESS = re.compile(r"(https?://|www\.)", re.IGNORECASE)
IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2


class PeImage:
    """Just enough of the PE format: headers, sections, imports and resources."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections, _, _, _, optsize, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        # Data directories start at 96 in PE32 and 112 in PE32+.
        dirs = opt + (96 if self.magic == PE32_MAGIC else 112)
        self.import_rva = struct.unpack_from("<I", data, dirs + 8)[0]
        self.resource_rva = struct.unpack_from("<I", data, dirs + 16)[0]
        self.sections = []
        for i in range(nsections):
            s = opt + optsize + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("address 0x%x outside every section" % rva)

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        names, at = [], self.offset(self.import_rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if not any(entry):
                return names
            names.append(self.cstring(entry[3]))
            at += 20

    def resources(self, type_id):
        """The data of every resource of one numeric type, all names and languages."""
        base = self.offset(self.resource_rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                yield ident, target

        found = []

        def leaves(target):
            if target & 0x80000000:
                for _, sub in entries(target & 0x7FFFFFFF):
                    leaves(sub)
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                found.append(self.data[self.offset(rva):self.offset(rva) + size])

        for ident, target in entries(0):
            if ident == type_id:
                leaves(target)
        return found


def file_version(block):
    """The four numbers of the fixed file information in a version resource."""
    at = block.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", block, at + 8)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def check_guide(page, source, check):
    """The guide as a user opens it: one page, its pictures inside, no web address."""
    check(re.search(r"<title>[^<]*[\uac00-\ud7a3][^<]*</title>", page) is not None, "the guide has a Korean title")
    pictures = re.findall(r'<img\s[^>]*src="([^"]*)"', page)
    inside = 0
    for src in pictures:
        m = re.match(r"data:image/png;base64,([A-Za-z0-9+/=]+)$", src)
        inside += m is not None and base64.b64decode(m.group(1))[:8] == b"\x89PNG\r\n\x1a\n"
    check(pictures and inside == len(pictures), "every picture of the guide is a PNG inside it (%d of %d)"
          % (inside, len(pictures)))
    if source:
        with open(source, encoding="utf-8") as f:
            wanted = len(re.findall(r"!\[[^\]]*\]\([^)]+\)", f.read()))
        check(len(pictures) == wanted, "the guide shows all %d pictures of %s (%d)" % (wanted, source, len(pictures)))
    outside = [r for r in re.findall(r'(?:src|href)="([^"]*)"', page) if not r.startswith(("data:", "#"))]
    check(not outside, "the guide fetches nothing from elsewhere (%s)" % ", ".join(outside[:3]))
    check(WEB_ADDRESS.search(page) is None, "the guide names no web address")


def utf16_strings_named(data, pattern):
    """The UTF-16 texts of a program that match a pattern (the program's own texts are UTF-16)."""
    found = []
    for m in re.finditer(rb"(?:[\x20-\x7e]\x00){4,}", data):
        text = m.group(0).decode("utf-16-le")
        if pattern.search(text):
            found.append(text)
    return found


def main(path, source=None):
    failures = []

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            failures.append(what)

    m = re.search(r"Tovrix-(\d+\.\d+\.\d+\.\d+)-win32\.zip$", path)
    check(m is not None, "zip name carries a four-part version: %s" % path)
    version = m.group(1) if m else None
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        check("Tovrix.exe" in names, "zip holds Tovrix.exe")
        readmes = [n for n in names if n.lower().endswith(".txt")]
        check(len(readmes) == 1, "zip holds one read-me")
        if readmes:
            text = z.read(readmes[0]).decode("utf-8-sig")
            check(re.search("[\uac00-\ud7a3]", text) is not None, "the read-me is in Korean")
            check("Tovrix.ini" in text, "the read-me says where the settings live")
            check(GUIDE in text, "the read-me names the user guide")
            check(WEB_ADDRESS.search(text) is None, "the read-me names no web address")
        check(GUIDE in names, "zip holds the user guide %s" % GUIDE)
        if GUIDE in names:
            check_guide(z.read(GUIDE).decode("utf-8"), source, check)
        if "Tovrix.exe" not in names:
            return 1
        program = z.read("Tovrix.exe")
        image = PeImage(program)

    addresses = utf16_strings_named(program, WEB_ADDRESS)
    check(not addresses, "the program names no web address (%s)" % ", ".join(addresses[:3]))
    check(GUIDE.encode("utf-16-le") in program, "the program looks for the guide as %s" % GUIDE)

    check(image.machine == IMAGE_FILE_MACHINE_I386 and image.magic == PE32_MAGIC,
          "32-bit x86 PE (machine 0x%x, magic 0x%x)" % (image.machine, image.magic))
    check(image.subsystem == SUBSYSTEM_WINDOWS_GUI, "GUI subsystem (%d)" % image.subsystem)
    dlls = image.imported_dlls()
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    check(dlls and not foreign, "imports only system DLLs (%s)" % ", ".join(foreign or dlls))
    manifests = image.resources(RT_MANIFEST)
    manifest = manifests[0].decode("utf-8", "replace") if manifests else ""
    check(re.search(r"<dpiAware[^>]*>\s*true", manifest) is not None, "manifest declares DPI awareness")
    check(re.search(r'Microsoft\.Windows\.Common-Controls"[^>]*version="6\.', manifest) is not None,
          "manifest asks for common controls 6")
    check(version is not None and 'version="%s"' % version in manifest,
          "manifest carries the version %s" % version)
    versions = [file_version(b) for b in image.resources(RT_VERSION)]
    check(version is not None and versions == [version],
          "version resource is %s (found %s)" % (version, versions))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
