#!/usr/bin/env python3
"""Writes ZIP, holding the folder TOP (a path relative to the current folder) and every file under
it, in the same bytes from any checkout, machine or time zone: the entries in the order of their
names' bytes (not the file system's), each dated STAMP (seconds since 1970) in UTC, with the
permissions 644, or 755 for an executable file. Prints the names, one a line.
    zip.py ZIP STAMP TOP
libarchive's ZIPs (cmake -E tar) keep each file's access and change times, so Python's zipfile."""
import os
import sys
import time
import zipfile

archive_path, stamp, top = sys.argv[1], int(sys.argv[2]), sys.argv[3]
names = sorted(os.path.join(folder, file).encode()
               for folder, _, files in os.walk(top) for file in files)
with zipfile.ZipFile(archive_path, "w", zipfile.ZIP_DEFLATED) as archive:
    for name in (name.decode() for name in names):
        entry = zipfile.ZipInfo(name, time.gmtime(stamp)[:6])
        entry.external_attr = (0o100755 if os.access(name, os.X_OK) else 0o100644) << 16
        with open(name, "rb") as file:
            archive.writestr(entry, file.read(), zipfile.ZIP_DEFLATED)
        print(name)
