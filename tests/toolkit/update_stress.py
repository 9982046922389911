#!/usr/bin/env python3
"""Concurrent updates of one archive under Wine, from several processes that name it by
different spellings (its long path, its 8.3 short path, relative and lower case, upper case
with '/'). Every round starts its processes at once; at the end Info-ZIP must list every item
whose run returned 0, the first item, and nothing else, and test the archive clean; no
temporary file may be left.

usage: update_stress.py WINE_RUN HOST_EXE WORK_DIR [ROUNDS PROCESSES [SEED]]
"""
import os
import random
import shutil
import subprocess
import sys

SPELLINGS = ['long', 'short', 'relative', 'case']
ENV = dict(os.environ, LC_ALL='C.UTF-8', LANG='C.UTF-8')


def windows(path):
    return 'Z:' + path.replace('/', '\\')


def main(argv):
    wine_run, exe, work = argv[1], argv[2], os.path.abspath(argv[3])
    rounds = int(argv[4]) if len(argv) > 4 else 4
    processes = int(argv[5]) if len(argv) > 5 else 6
    seed = int(argv[6]) if len(argv) > 6 else random.randrange(1 << 30)
    print('seed', seed)
    rng = random.Random(seed)
    shutil.rmtree(work, ignore_errors=True)
    folder = os.path.join(work, 'Stress Folder With Long Name')
    os.makedirs(folder)
    archive = os.path.join(folder, 'Stress Archive Long.zip')
    problems = []

    def start(item, spelling):
        with open(os.path.join(folder, item), 'w') as f:
            f.write(item * rng.randint(1, 400))
        return subprocess.Popen([wine_run, exe, 'add', windows(archive), item, spelling], env=ENV,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    subprocess.run([wine_run, exe, 'register'], env=ENV, capture_output=True)
    try:
        first = start('first.txt', 'long')
        first.communicate()
        if first.returncode != 0:
            problems.append('first update: result %d' % first.returncode)
        succeeded, tried = {'first.txt'}, {'first.txt'}
        for r in range(rounds):
            runs = []
            for p in range(processes):
                item = 'r%d_p%d.txt' % (r, p)
                runs.append((item, start(item, rng.choice(SPELLINGS))))
            for item, proc in runs:
                out = proc.communicate()[0].decode(errors='replace')
                tried.add(item)
                if proc.returncode == 0:
                    succeeded.add(item)
                else:
                    problems.append('%s: result %d %s' % (item, proc.returncode, out.strip()))
    finally:
        subprocess.run([wine_run, exe, 'unregister'], env=ENV, capture_output=True)

    listed = subprocess.run(['unzip', '-Z1', archive], env=ENV, capture_output=True)
    names = set(listed.stdout.decode().split())
    if subprocess.run(['unzip', '-tq', archive], env=ENV, capture_output=True).returncode != 0:
        problems.append('unzip -t fails')
    if succeeded - names:
        problems.append('lost: %s' % sorted(succeeded - names))
    if names - tried:
        problems.append('not asked for: %s' % sorted(names - tried))
    leftovers = [n for n in os.listdir(folder) if '.~vx' in n]
    if leftovers:
        problems.append('left behind: %s' % leftovers)
    for p in problems:
        print('FAIL:', p)
    if not problems:
        shutil.rmtree(work, ignore_errors=True)
        print('ok: %d items from %d runs' % (len(names), len(tried)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
