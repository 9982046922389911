#!/usr/bin/env python3
"""Names in many scripts between the controls and other tools, under Wine.

A random tree (names drawn from Latin-1, Greek, Cyrillic, CJK, beyond the BMP, combining
marks and right-to-left scripts, at random depth, with one path past 300 characters) is
zipped by the zip control; Info-ZIP unzip, 7-Zip, Python and bsdtar must list exactly its
names and extract its bytes. Archives of the tree made by Python, 7-Zip, Info-ZIP zip and
bsdtar must extract through the unzip control into exactly the tree. Wine keeps Windows names
as UTF-8 on this side, so trees compare here.

usage: name_interop.py WINE_RUN NAME_INTEROP_EXE WORK_DIR [LOCALE CODE_PAGE]
(NAME_INTEROP_SEED=n repeats the run of the seed it prints.)
With LOCALE (made here with localedef, no root needed) the controls run where Windows' ANSI and
OEM code pages are CODE_PAGE.
"""
import os
import random
import shutil
import subprocess
import sys
import unicodedata
import zipfile

SCRIPTS = [
    'àéîõüçñßÿÆ', 'αβγδεζηθλμπσωΩ', 'абвгдежзийклмнЖЯ', '日本語中文字漢東京表ソ',
    '😀𝄞𐐷🎉', 'e\u0301a\u0308o\u0302', 'שלוםעברית', 'مرحباعربي', 'abcXYZ019 -_',
]
ENV = dict(os.environ, LC_ALL='C.UTF-8', LANG='C.UTF-8')


def random_name(rng, index, length):
    name = ''.join(rng.choice(rng.choice(SCRIPTS)) for _ in range(length)).strip()
    # The index keeps names apart on a file system that ignores case; no trailing blank.
    return name + str(index) + rng.choice(['', '.txt', '.dat', '.ünï'])


def make_tree(root, rng):
    files, dirs = {}, set()
    count = 0
    for _ in range(24):
        depth = rng.randint(0, 3)
        parts = [random_name(rng, count + d, rng.randint(1, 8)) for d in range(depth + 1)]
        count += depth + 1
        rel = '/'.join(parts)
        files[rel] = os.urandom(rng.randint(0, 3000))
    deep = [random_name(rng, count + d, 36) for d in range(8)]
    count += 8
    files['/'.join(deep)] = b'deep\n' * 50
    for rel, data in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
        parts = rel.split('/')
        for n in range(1, len(parts)):
            dirs.add('/'.join(parts[:n]))
    assert max(len(r) for r in files) > 300
    return files, dirs


def windows(path):
    return 'Z:' + path.replace('/', '\\')


def tree_of(root):
    out = {}
    for folder, _, names in os.walk(root):
        for n in names:
            path = os.path.join(folder, n)
            with open(path, 'rb') as f:
                out[os.path.relpath(path, root)] = f.read()
    return out


def run(args, **kw):
    return subprocess.run(args, env=ENV, capture_output=True, **kw)


WINE_ENV = dict(ENV)
CODE_PAGE = None


def use_locale(work, locale, code_page):
    """Wine takes its code pages from the locale it starts in."""
    global CODE_PAGE
    where = os.path.join(work, 'locale')
    os.makedirs(where)
    language, charset = locale.split('.')
    subprocess.run(['localedef', '-i', language, '-f', charset, os.path.join(where, locale)],
                   check=False, capture_output=True)
    WINE_ENV.update(LOCPATH=where, LC_ALL=locale, LANG=locale)
    CODE_PAGE = code_page


def control(wine_run, exe, verb, archive, folder):
    r = subprocess.run([wine_run, exe, verb, windows(archive), windows(folder)], env=WINE_ENV,
                       capture_output=True)
    out = r.stdout.decode(errors='replace')
    if CODE_PAGE is not None:
        assert ('code pages %s %s' % (CODE_PAGE, CODE_PAGE)) in out, out[:200]
    return r.returncode, out


def composed(tool, names):
    """libarchive composes what it reads (NFC): bsdtar's side is compared composed."""
    if tool != 'bsdtar':
        return names
    if isinstance(names, dict):
        return {unicodedata.normalize('NFC', k): v for k, v in names.items()}
    return {unicodedata.normalize('NFC', n) for n in names}


def listed(tool, archive):
    if tool == 'unzip':
        lines = run(['unzip', '-Z1', archive]).stdout.decode(errors='replace').splitlines()
    elif tool == '7zz':
        text = run(['7zz', 'l', '-slt', '-ba', archive]).stdout.decode(errors='replace')
        lines = [l[7:] for l in text.splitlines() if l.startswith('Path = ')]
    elif tool == 'python':
        lines = zipfile.ZipFile(archive).namelist()
    else:
        lines = run(['bsdtar', '-tf', archive]).stdout.decode(errors='replace').splitlines()
    return {l.rstrip('/') for l in lines}


def extract(tool, archive, out):
    os.makedirs(out)
    if tool == 'unzip':
        r = run(['unzip', '-q', archive, '-d', out])
    elif tool == '7zz':
        r = run(['7zz', 'x', '-y', '-o' + out, archive])
    elif tool == 'python':
        zipfile.ZipFile(archive).extractall(out)
        return
    else:
        r = run(['bsdtar', '-xf', archive, '-C', out])
    assert r.returncode == 0, (tool, r.stderr.decode(errors='replace'))


def make_with(tool, src, archive):
    if tool == 'python':
        with zipfile.ZipFile(archive, 'w', zipfile.ZIP_DEFLATED) as z:
            for folder, _, names in os.walk(src):
                for n in names:
                    path = os.path.join(folder, n)
                    z.write(path, os.path.relpath(path, src))
        return
    if tool == 'zip':
        args = ['zip', '-qr', archive, '.']
    elif tool == '7zz':
        args = ['7zz', 'a', '-tzip', archive, '.']
    else:
        # '--': a name may start with a dash.
        args = ['bsdtar', '--format', 'zip', '-cf', archive, '--'] + sorted(os.listdir(src))
    r = run(args, cwd=src)
    assert r.returncode == 0, (tool, r.stderr.decode(errors='replace'))


def main(argv):
    wine_run, exe, work = argv[1], argv[2], os.path.abspath(argv[3])
    seed = int(os.environ.get('NAME_INTEROP_SEED') or random.randrange(1 << 30))
    print('seed', seed)
    rng = random.Random(seed)
    shutil.rmtree(work, ignore_errors=True)
    if len(argv) > 5:
        use_locale(work, argv[4], argv[5])
    src = os.path.join(work, 'src')
    files, dirs = make_tree(src, rng)
    problems = []

    archive = os.path.join(work, 'control.zip')
    code, out = control(wine_run, exe, 'zip', archive, src)
    if code != 0:
        problems.append('zip control: result %d %s' % (code, out))
    else:
        for tool in ('unzip', '7zz', 'python', 'bsdtar'):
            names, expected = listed(tool, archive), composed(tool, set(files) | dirs)
            if names != expected:
                problems.append('%s lists %r, missing %r' % (tool, sorted(names - expected), sorted(expected - names)))
            out_dir = os.path.join(work, 'by-' + tool)
            extract(tool, archive, out_dir)
            if tree_of(out_dir) != composed(tool, files):
                problems.append('%s extracts another tree' % tool)

    for tool in ('python', '7zz', 'zip', 'bsdtar'):
        made = os.path.join(work, 'made-by-%s.zip' % tool)
        make_with(tool, src, made)
        # Deep in a long destination: every extracted path is past MAX_PATH.
        dest = os.path.join(work, 'from-' + tool, 'd' * 40)
        code, out = control(wine_run, exe, 'unzip', made, dest)
        if code != 0:
            problems.append('unzip control on %s archive: result %d %s' % (tool, code, out))
        elif tree_of(dest) != files:
            got = tree_of(dest)
            problems.append('unzip control on %s archive: extra %r, missing %r' % (
                tool, sorted(set(got) - set(files))[:5], sorted(set(files) - set(got))[:5]))
    for p in problems:
        print('FAIL:', p)
    if not problems:
        shutil.rmtree(work, ignore_errors=True)
        print('ok: %d files, %d folders' % (len(files), len(dirs)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
