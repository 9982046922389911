#!/usr/bin/env python3
"""Snapshots a corpus of real files from this Debian machine: the Python and Perl standard
libraries and some shared libraries of the project's packages, thousands of mostly small files.

Usage: real_corpus.py snapshot DEST   copies the files into DEST (made anew)
       real_corpus.py digest DEST     prints "files bytes sha256" of DEST

Links, caches and installed add-ons are skipped, and so are names Windows cannot hold: names
outside printable ASCII or with characters it refuses, and a name that differs from an earlier
one by case only. Packages change, so the digest says which snapshot was measured.
"""
import glob
import hashlib
import os
import shutil
import subprocess
import sys

SHARED_LIBRARIES = ["libstdc++.so.6.*", "libcrypto.so.3", "libsqlite3.so.0.*", "libxml2.so.2.*",
                    "libz.so.1.*", "libarchive.so.13.*", "libzstd.so.1.*", "liblzma.so.5.*",
                    "libbz2.so.1.*", "libexpat.so.1.*"]
SKIPPED_FOLDERS = {"__pycache__", "site-packages", "dist-packages"}
WINDOWS_REFUSES = set('<>:"\\|?*')


def python_library():
    found = sorted(glob.glob("/usr/lib/python3.[0-9]*"), key=lambda p: [int(x) for x in p[len("/usr/lib/python"):].split(".")])
    return found[-1] if found else None


def perl_library():
    try:
        out = subprocess.run(["/usr/bin/perl", "-MConfig", "-e", "print $Config{privlib}"],
                             capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return None
    return os.path.realpath(out) if out else None


def windows_name(name):
    return (all(" " <= c <= "~" and c not in WINDOWS_REFUSES for c in name)
            and not name.endswith((" ", ".")))


def sources():
    """(source path, name in the corpus) pairs, sorted by name."""
    picked = []
    for prefix, root in (("python", python_library()), ("perl", perl_library())):
        if not root or not os.path.isdir(root):
            continue
        for folder, dirs, files in os.walk(root):
            dirs[:] = [d for d in dirs if d not in SKIPPED_FOLDERS and not d.startswith("config-")
                       and not os.path.islink(os.path.join(folder, d))]
            for name in files:
                path = os.path.join(folder, name)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                picked.append((path, prefix + "/" + os.path.relpath(path, root)))
    for pattern in SHARED_LIBRARIES:
        for path in glob.glob("/usr/lib/x86_64-linux-gnu/" + pattern):
            if not os.path.islink(path) and os.path.isfile(path):
                picked.append((path, "lib/" + os.path.basename(path)))
    spelling = {}  # every folder and file name, case-folded, as first taken
    corpus = []
    for path, name in sorted(picked, key=lambda p: p[1]):
        parts = name.split("/")
        prefixes = ["/".join(parts[:i + 1]) for i in range(len(parts))]
        if not all(windows_name(part) for part in parts) or name.lower() in spelling or \
                any(spelling.get(p.lower(), p) != p for p in prefixes):
            continue
        spelling.update((p.lower(), p) for p in prefixes)
        corpus.append((path, name))
    return corpus


def snapshot(dest):
    shutil.rmtree(dest, ignore_errors=True)
    for path, name in sources():
        target = os.path.join(dest, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(path, target)
        os.chmod(target, 0o644)
        stat = os.stat(path)
        os.utime(target, ns=(stat.st_atime_ns, stat.st_mtime_ns))


def digest(dest):
    total = hashlib.sha256()
    files = size = 0
    for folder, dirs, names in os.walk(dest):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            files += 1
            size += len(data)
            total.update(os.path.relpath(path, dest).encode() + b"\0" + hashlib.sha256(data).digest())
    return files, size, total.hexdigest()


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("snapshot", "digest"):
        sys.exit(__doc__)
    if sys.argv[1] == "snapshot":
        snapshot(sys.argv[2])
    else:
        print("%d %d %s" % digest(sys.argv[2]))
