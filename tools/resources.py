#!/usr/bin/env python3
"""Lists the resources of a Windows module (DLL or EXE), one line each:

    TYPE NAME LANGUAGE SIZE SHA256

sorted, so that the listings of two builds can be compared line by line. Given two modules, it
prints the lines in which they differ (- first, + second) and exits with status 1 when they do.

    tools/resources.py build/bin/dxdlg.dll
    tools/resources.py /tmp/before.dll build/bin/dxdlg.dll

Python 3 alone: it reads the PE file's resource directory itself.
"""
import hashlib
import struct
import sys

# The platform's numbered resource types (RT_*), by the names the resource script gives them.
TYPE_NAMES = {
    1: "CURSOR", 2: "BITMAP", 3: "ICON", 4: "MENU", 5: "DIALOG", 6: "STRING", 7: "FONTDIR",
    8: "FONT", 9: "ACCELERATOR", 10: "RCDATA", 11: "MESSAGETABLE", 12: "GROUP_CURSOR",
    14: "GROUP_ICON", 16: "VERSION", 17: "DLGINCLUDE", 19: "PLUGPLAY", 20: "VXD",
    21: "ANICURSOR", 22: "ANIICON", 23: "HTML", 24: "MANIFEST",
}

RESOURCE_DIRECTORY = 2  # index of the resource table among the optional header's data directories


class Module:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + {0x10B: 96, 0x20B: 112}[magic]  # PE32, PE32+
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, header + 8)
            self.sections.append((address, max(size, raw_size), raw_offset))
        self.root, self.root_size = struct.unpack_from("<II", data, directories + 8 * RESOURCE_DIRECTORY)

    def offset(self, rva):
        for address, size, raw_offset in self.sections:
            if address <= rva < address + size:
                return raw_offset + rva - address
        raise ValueError("address 0x%x lies in no section" % rva)

    def entries(self, directory):
        """(id or name, is a subdirectory, offset of the entry's target) for one directory."""
        base = self.offset(self.root)
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + numbered):
            key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            if key & 0x80000000:
                at = base + (key & 0x7FFFFFFF)
                length = struct.unpack_from("<H", self.data, at)[0]
                key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield key, bool(target & 0x80000000), target & 0x7FFFFFFF

    def resources(self):
        if not self.root:
            return
        base = self.offset(self.root)
        for type_key, _, types in self.entries(0):
            for name_key, _, names in self.entries(types):
                for language, _, leaf in self.entries(names):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    at = self.offset(rva)
                    yield type_key, name_key, language, self.data[at:at + size]


def describe(key, numbered_names=None):
    if isinstance(key, str):
        return key
    return (numbered_names or {}).get(key, "#%d" % key)


def order(key):
    """Numbered before named, as the resource directory itself keeps them."""
    return (0, key, "") if isinstance(key, int) else (1, 0, key)


def listing(path):
    with open(path, "rb") as f:
        module = Module(f.read())
    found = sorted(module.resources(), key=lambda r: (order(r[0]), order(r[1]), r[2]))
    return ["%s %s %d %d %s" % (describe(type_key, TYPE_NAMES), describe(name_key), language, len(data),
                                hashlib.sha256(data).hexdigest())
            for type_key, name_key, language, data in found]


def main(arguments):
    if len(arguments) not in (1, 2) or arguments[0].startswith("-"):
        sys.stderr.write(__doc__)
        return 2
    try:
        listings = [listing(path) for path in arguments]
    except (OSError, ValueError, struct.error, KeyError) as error:
        sys.stderr.write("resources.py: %s\n" % error)
        return 2
    if len(listings) == 1:
        print("\n".join(listings[0]))
        return 0
    first, second = set(listings[0]), set(listings[1])
    differences = ["- " + line for line in listings[0] if line not in second]
    differences += ["+ " + line for line in listings[1] if line not in first]
    if differences:
        print("\n".join(differences))
        return 1
    print("The %d resources are identical." % len(listings[0]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
