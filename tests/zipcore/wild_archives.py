#!/usr/bin/env python3
"""Archives as other tools write them, for the ZIP engine tests and the reader's fuzz seeds.

  wild_archives.py python-zip64-local SRC OUT   zipfile, every local header with ZIP64 sizes
  wild_archives.py python-zip64-all SRC OUT     zipfile with ZIP64 records wherever it can put one
  wild_archives.py python-streamed SRC          zipfile to an unseekable stdout: data descriptors
  wild_archives.py handmade SRC OUT [--zip64] [--no-signature] [--prefix N]
                                                streamed layout: zeroed local sizes, descriptors
  wild_archives.py claimed-size OUT SIZE        ZIP64 item whose central size claims SIZE bytes,
                                                then a plain item small.txt ("small item\n")
  wild_archives.py huge-items OUT               sparse archive: a stored item of 4 GiB + 1000
                                                zero bytes, a deflated one of 4 GiB + 64 MiB,
                                                small.txt
  wild_archives.py beyond-4g OUT FILE           sparse 4.5 GiB archive, FILE's item beyond 4 GiB
  wild_archives.py utf8 OUT MANIFEST            UTF-8 names: flag bit 11 and Unicode path fields
  wild_archives.py split SRC OUT SIZE [--seed]  SRC (one file, 32-bit records) as a split set:
                                                OUT.z01, ... every SIZE bytes wherever that
                                                falls (headers too), the end record in OUT;
                                                with --seed one reader fuzz input instead
  wild_archives.py wrapped OUT COUNT            COUNT stored items "d/NNNNN.txt" (content "NNNNN\n"),
                                                no ZIP64 records: the end record's 16-bit
                                                counts hold COUNT modulo 65,536, as writers
                                                that knew no ZIP64 left them
  wild_archives.py check OUT                    prints every disagreement of local and central
                                                records, ZIP64 ones included (exit 1 when any)

SRC items are named as Info-ZIP names them when run beside SRC: "src/", "src/a.txt", ...
"""
import io
import mmap
import os
import struct
import sys
import zipfile
import zlib

DOS_TIME, DOS_DATE = 0x6000, 0x5B21  # 2025-09-01 12:00:00


def items_of(src):
    """(name, data or None for a folder) in a stable order, folders before their contents."""
    base = os.path.basename(os.path.normpath(src))
    parent = os.path.dirname(os.path.normpath(src))
    out = []
    for root, dirs, files in os.walk(src):
        dirs.sort()
        rel = os.path.relpath(root, parent).replace(os.sep, '/')
        out.append((rel + '/', None))
        for f in sorted(files):
            with open(os.path.join(root, f), 'rb') as fh:
                out.append((rel + '/' + f, fh.read()))
    assert out[0][0] == base + '/'
    return out


def raw_deflate(data):
    c = zlib.compressobj(6, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def zinfo(name, data):
    zi = zipfile.ZipInfo(name, date_time=(2025, 9, 1, 12, 0, 0))
    if data is None:
        zi.external_attr = (0o40755 << 16) | 0x10
    else:
        zi.external_attr = 0o100644 << 16
        zi.compress_type = zipfile.ZIP_DEFLATED
    return zi


def write_forced_zip64(src, out):
    with zipfile.ZipFile(out, 'w', allowZip64=True) as z:
        for name, data in items_of(src):
            if data is None:
                z.writestr(zinfo(name, None), b'')
            else:
                with z.open(zinfo(name, data), 'w', force_zip64=True) as f:
                    f.write(data)


def python_zip64_local(src, out):
    write_forced_zip64(src, out)


def python_zip64_all(src, out):
    # With these limits at zero, every size, offset and count that can move into a ZIP64
    # record does, and the end record holds only markers.
    zipfile.ZIP64_LIMIT = 0
    zipfile.ZIP_FILECOUNT_LIMIT = 0
    python_zip64_local(src, out)


def python_streamed(src):
    # Unseekable output: zipfile writes descriptors and ZIP64 local extras.
    write_forced_zip64(src, sys.stdout.buffer)


def local_header(version, flags, method, crc, csize, usize, name, extra):
    return struct.pack('<IHHHHHIIIHH', 0x04034B50, version, flags, method, DOS_TIME, DOS_DATE,
                       crc, csize, usize, len(name), len(extra)) + name + extra


def central_header(version, flags, method, crc, csize, usize, name, extra, attributes, offset):
    return struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 0x031E, version, flags, method, DOS_TIME,
                       DOS_DATE, crc, csize, usize, len(name), len(extra), 0, 0, 0, attributes,
                       offset) + name + extra


def end_records(count, cd_size, cd_offset, z64_offset):
    out = b''
    if z64_offset is not None:
        out += struct.pack('<IQHHIIQQQQ', 0x06064B50, 44, 45, 45, 0, 0, count, count, cd_size, cd_offset)
        out += struct.pack('<IIQI', 0x07064B50, 0, z64_offset, 1)
        return out + struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
    return out + struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, count, count, cd_size, cd_offset, 0)


def wrapped(out, count):
    body, central = io.BytesIO(), io.BytesIO()
    for i in range(count):
        name, data = b'd/%05d.txt' % i, b'%05d\n' % i
        crc = zlib.crc32(data)
        offset = body.tell()
        body.write(local_header(10, 0, 0, crc, len(data), len(data), name, b'') + data)
        central.write(central_header(10, 0, 0, crc, len(data), len(data), name, b'', 0o100644 << 16, offset))
    with open(out, 'wb') as f:
        f.write(body.getvalue())
        f.write(central.getvalue())
        f.write(end_records(count & 0xFFFF, central.tell(), body.tell(), None))


def handmade(src, out, zip64, signature, prefix):
    stub = (b'MZ' + b'stub ' * prefix)[:prefix]
    body, cd = bytearray(), bytearray()
    entries = items_of(src)
    for name, data in entries:
        nb = name.encode()
        offset = len(body)
        payload = b'' if data is None else data
        packed = raw_deflate(payload) if payload else b''
        method = 8 if payload else 0
        crc = zlib.crc32(payload)
        flags = 0x0008
        version = 45 if zip64 else 20
        if zip64:
            body += local_header(version, flags, method, 0, 0xFFFFFFFF, 0xFFFFFFFF, nb,
                                 struct.pack('<HHQQ', 1, 16, 0, 0))
        else:
            body += local_header(version, flags, method, 0, 0, 0, nb, b'')
        body += packed
        if signature:
            body += struct.pack('<I', 0x08074B50)
        body += struct.pack('<IQQ' if zip64 else '<III', crc, len(packed), len(payload))
        attributes = (0o40755 << 16) | 0x10 if data is None else 0o100644 << 16
        if zip64:
            extra = struct.pack('<HHQQQ', 1, 24, len(payload), len(packed), offset)
            cd += central_header(version, flags, method, crc, 0xFFFFFFFF, 0xFFFFFFFF, nb, extra,
                                 attributes, 0xFFFFFFFF)
        else:
            cd += central_header(version, flags, method, crc, len(packed), len(payload), nb, b'',
                                 attributes, offset)
    cd_offset = len(body)
    body += cd
    body += end_records(len(entries), len(cd), cd_offset, len(body) if zip64 else None)
    with open(out, 'wb') as f:
        f.write(stub + body)


def claimed_size(out, size):
    name = b'huge.bin'
    packed = raw_deflate(b'claimed item data\n' * 100)
    body = local_header(45, 0, 8, 0, 0xFFFFFFFF, 0xFFFFFFFF, name, struct.pack('<HHQQ', 1, 16, size, len(packed)))
    body += packed
    if size >= 0xFFFFFFFF:
        cd = central_header(45, 0, 8, 0, len(packed), 0xFFFFFFFF, name, struct.pack('<HHQ', 1, 8, size), 0, 0)
    else:
        cd = central_header(45, 0, 8, 0, len(packed), size, name, b'', 0, 0)
    small = b'small item\n'
    offset = len(body)
    body += local_header(10, 0, 0, zlib.crc32(small), len(small), len(small), b'small.txt', b'') + small
    cd += central_header(10, 0, 0, zlib.crc32(small), len(small), len(small), b'small.txt', b'', 0o100644 << 16,
                         offset)
    cd_offset = len(body)
    with open(out, 'wb') as f:
        f.write(body + cd + end_records(2, len(cd), cd_offset, cd_offset + len(cd)))


def zeros_crc(size):
    chunk = bytes(64 << 20)
    crc = 0
    while size > 0:
        n = min(size, len(chunk))
        crc = zlib.crc32(chunk[:n] if n < len(chunk) else chunk, crc)
        size -= n
    return crc


def huge_items(out):
    # The stored item's zeros are a hole of the sparse file; the deflated one is zeros too.
    cd = bytearray()
    with open(out, 'wb') as f:
        stored = 0x100000000 + 1000
        crc = zeros_crc(stored)
        f.write(local_header(45, 0, 0, crc, 0xFFFFFFFF, 0xFFFFFFFF, b'stored.bin',
                             struct.pack('<HHQQ', 1, 16, stored, stored)))
        f.seek(stored, os.SEEK_CUR)
        cd += central_header(45, 0, 0, crc, 0xFFFFFFFF, 0xFFFFFFFF, b'stored.bin',
                             struct.pack('<HHQQ', 1, 16, stored, stored), 0o100644 << 16, 0)
        deflated = 0x104000000
        offset = f.tell()
        c = zlib.compressobj(1, zlib.DEFLATED, -15)
        chunk = bytes(64 << 20)
        packed = bytearray()
        for _ in range(deflated // len(chunk)):
            packed += c.compress(chunk)
        packed += c.flush()
        crc = zeros_crc(deflated)
        f.write(local_header(45, 0, 8, crc, 0xFFFFFFFF, 0xFFFFFFFF, b'deflated.bin',
                             struct.pack('<HHQQ', 1, 16, deflated, len(packed))))
        f.write(packed)
        cd += central_header(45, 0, 8, crc, len(packed), 0xFFFFFFFF, b'deflated.bin',
                             struct.pack('<HHQQ', 1, 16, deflated, offset), 0o100644 << 16, 0xFFFFFFFF)
        small = b'small item\n'
        offset = f.tell()
        f.write(local_header(10, 0, 0, zlib.crc32(small), len(small), len(small), b'small.txt', b'') + small)
        cd += central_header(45, 0, 0, zlib.crc32(small), len(small), len(small), b'small.txt',
                             struct.pack('<HHQ', 1, 8, offset), 0o100644 << 16, 0xFFFFFFFF)
        cd_offset = f.tell()
        f.write(cd)
        f.write(end_records(3, len(cd), cd_offset, f.tell()))


def beyond_4g(out, small_path):
    # Two stored items of zeros that are holes of a sparse file put the third past 4 GiB.
    with open(small_path, 'rb') as fh:
        small = fh.read()
    cd = bytearray()
    with open(out, 'wb') as f:
        for i, size in enumerate((0xC0000000, 0x60000000)):
            offset = f.tell()
            name = b'hole%d.bin' % i
            f.write(local_header(10, 0, 0, 0, size, size, name, b''))
            f.seek(size, os.SEEK_CUR)
            cd += central_header(10, 0, 0, 0, size, size, name, b'', 0o100644 << 16, offset)
        offset = f.tell()
        assert offset > 0xFFFFFFFF
        packed = raw_deflate(small)
        crc = zlib.crc32(small)
        f.write(local_header(20, 0, 8, crc, len(packed), len(small), b'small.txt', b''))
        f.write(packed)
        cd += central_header(45, 0, 8, crc, len(packed), len(small), b'small.txt',
                             struct.pack('<HHQ', 1, 8, offset), 0o100644 << 16, 0xFFFFFFFF)
        cd_offset = f.tell()
        f.write(cd)
        f.write(end_records(3, len(cd), cd_offset, f.tell()))


FUZZ_VOLUME_SEPARATOR = b'|volume|'  # as tests/zipcore/zip_reader_fuzz.cpp splits its input


def split(src, out, size, seed):
    d = open(src, 'rb').read()
    end = d.rfind(b'PK\x05\x06')
    count, cd_size, cd_offset, comment_length = struct.unpack('<HIIH', d[end + 10:end + 22])
    comment = d[end + 22:end + 22 + comment_length]
    stream = bytearray(b'PK\x07\x08' + d[:cd_offset])
    shift = 4
    # The end record stays whole in the last volume, which may therefore pass SIZE a little.
    cd = bytearray()
    records = []
    pos = cd_offset
    for _ in range(count):
        fields = list(struct.unpack('<IHHHHHHIIIHHHHHII', d[pos:pos + 46]))
        variable = fields[10] + fields[11] + fields[12]
        records.append((fields, d[pos + 46:pos + 46 + variable]))
        pos += 46 + variable
    cd_start = len(stream)
    end_start = cd_start + sum(46 + len(v) for _, v in records)
    last = end_start // size

    def place(p):
        disk = min(p // size, last)
        return disk, p - disk * size

    for fields, variable in records:
        fields[13], fields[16] = place(fields[16] + shift)
        cd += struct.pack('<IHHHHHHIIIHHHHHII', *fields) + variable
    stream += cd
    cd_disk, cd_off = place(cd_start)
    here = sum(1 for i in range(count) if place(cd_start + sum(46 + len(v) for _, v in records[:i]))[0] == last)
    stream += struct.pack('<IHHHHIIH', 0x06054B50, last, cd_disk, here, count, len(cd), cd_off, len(comment)) + comment
    volumes = [bytes(stream[i * size:(i + 1) * size]) for i in range(last)] + [bytes(stream[last * size:])]
    if seed:
        with open(out, 'wb') as f:
            f.write(FUZZ_VOLUME_SEPARATOR.join(volumes))
        return
    base = out[:-4] if out.endswith('.zip') else out
    for i, v in enumerate(volumes[:-1]):
        with open('%s.z%02d' % (base, i + 1), 'wb') as f:
            f.write(v)
    with open(out, 'wb') as f:
        f.write(volumes[-1])


def unicode_path_extra(header_name, utf8_name):
    data = struct.pack('<BI', 1, zlib.crc32(header_name)) + utf8_name
    return struct.pack('<HH', 0x7075, len(data)) + data


class HeaderNameInfo(zipfile.ZipInfo):
    """Writes the header name as given bytes (a legacy code page), without flag bit 11."""
    header_bytes = b''

    def _encodeFilenameFlags(self):
        return self.header_bytes, self.flag_bits


def utf8(out, manifest):
    # (name, header bytes when the name travels in a Unicode path field, CRC source)
    flagged = ['plain.txt', 'café.txt', '€uro/naïve.txt', 'straße.txt', '日本語.txt', 'Ωmega.txt',
               'mixed/ünï ∕slash.txt', 'Ölmühle/', '中文/', '😀 smile.txt']
    with_field = [('résumé.txt', 'résumé.txt'.encode('cp1252'), None),
                  ('Привет.txt', b'______.txt', None),
                  ('Ärger.txt', b'ok-header.txt', None),
                  ('Zürich.txt', b'stale.txt', b'old.txt')]
    # Header bytes without flag bit 11 or a field, and the host that wrote them: MS-DOS and
    # NTFS hosts write their OEM code page (437 here); Unix writers store UTF-8 unannounced,
    # and bytes that are no UTF-8 fall back to the OEM code page.
    legacy = [(b'Gr\x81\xe1e.txt', 0), (b'\x94l.txt', 11), ('ünix.txt'.encode(), 3), (b'pr\xe9.txt', 3)]
    rows = []
    with zipfile.ZipFile(out, 'w') as z:
        for i, name in enumerate(flagged):
            data = b'' if name.endswith('/') else ('item %d: %s\n' % (i, name)).encode() * (i + 1)
            zi = zipfile.ZipInfo(name, date_time=(2025, 9, 1, 12, 0, 0))
            zi.external_attr = (0o40755 << 16) | 0x10 if name.endswith('/') else 0o100644 << 16
            z.writestr(zi, data)
            rows.append((name, data))
        for j, (name, header, crc_of) in enumerate(with_field):
            data = ('field item %d\n' % j).encode()
            zi = HeaderNameInfo('field%d' % j, date_time=(2025, 9, 1, 12, 0, 0))
            zi.header_bytes = header
            zi.external_attr = 0o100644 << 16
            field = unicode_path_extra(crc_of or header, name.encode())
            zi.extra = field
            z.writestr(zi, data)
            rows.append((name if crc_of is None else header.decode('ascii'), data))
        for k, (header, host) in enumerate(legacy):
            data = ('legacy %d\n' % k).encode()
            zi = HeaderNameInfo('legacy%d' % k, date_time=(2025, 9, 1, 12, 0, 0))
            zi.header_bytes = header
            zi.create_system = host
            zi.external_attr = 0o100644 << 16 if host == 3 else 0x20
            z.writestr(zi, data)
            utf = host == 3 and not header.startswith(b'pr')
            rows.append((header.decode('utf-8' if utf else 'cp437'), data))
    with open(manifest, 'w') as m:
        # name (UTF-8) hex, data hex
        for name, data in rows:
            m.write('%s\t%s\n' % (name.encode().hex(), data.hex()))


def check(path):
    """Local headers against central records, as a strict streaming reader would read them,
    with the values of ZIP64 fields and records where the headers hold markers."""
    with open(path, 'rb') as fh:
        d = mmap.mmap(fh.fileno(), 0, access=mmap.ACCESS_READ)
    problems = []
    end = d.rfind(b'PK\x05\x06')
    count, cd_size, cd_offset = struct.unpack('<HII', d[end + 10:end + 20])
    if d[end - 20:end - 16] == b'PK\x06\x07':
        (z64_at,) = struct.unpack('<Q', d[end - 12:end - 4])
        count, cd_size, cd_offset = struct.unpack('<QQQ', d[z64_at + 32:z64_at + 56])
    pos = cd_offset
    for _ in range(count):
        (sig, made, ver, flags, method, t, dt, crc, csize, usize, nl, el, cl, disk, ia, ea,
         off) = struct.unpack('<IHHHHHHIIIHHHHHII', d[pos:pos + 46])
        name = d[pos + 46:pos + 46 + nl]
        cextra = d[pos + 46 + nl:pos + 46 + nl + el]
        pos += 46 + nl + el + cl
        z64 = block_of(cextra, 1)
        if z64 is not None:
            marked = [v == 0xFFFFFFFF for v in (usize, csize, off)]
            if len(z64) != 8 * sum(marked):
                problems.append('%s: central ZIP64 field does not match its markers' % name.decode('latin-1'))
                continue
            values = list(struct.unpack('<%dQ' % sum(marked), z64))
            usize, csize, off = [values.pop(0) if m else v for m, v in zip(marked, (usize, csize, off))]
        (lsig, lver, lflags, lmethod, lt, ldt, lcrc, lcsize, lusize, lnl,
         lel) = struct.unpack('<IHHHHHIIIHH', d[off:off + 30])
        lname = d[off + 30:off + 30 + lnl]
        lextra = d[off + 30 + lnl:off + 30 + lnl + lel]
        where = name.decode('latin-1')
        if lsig != 0x04034B50 or lname != name or lflags != flags or lmethod != method or lver != ver:
            problems.append('%s: local header differs' % where)
            continue
        if ver < 45 and (z64 is not None or has_block(lextra, 1)):
            problems.append('%s: ZIP64 fields with version needed %d' % (where, ver))
        z64_local = block_of(lextra, 1)
        if z64_local is not None:
            if (lcsize, lusize) != (0xFFFFFFFF, 0xFFFFFFFF) or len(z64_local) != 16:
                problems.append('%s: local ZIP64 field without markers' % where)
                continue
            lusize, lcsize = struct.unpack('<QQ', z64_local)
        data_end = off + 30 + lnl + lel + csize
        if flags & 8:
            dd = d[data_end:data_end + 24]
            if dd[:4] == b'PK\x07\x08':
                dd = dd[4:]
            fmt = '<IQQ' if z64_local is not None else '<III'
            if struct.unpack(fmt, dd[:struct.calcsize(fmt)]) != (crc, csize, usize):
                problems.append('%s: data descriptor differs from the central record' % where)
        elif (lcrc, lcsize, lusize) != (crc, csize, usize):
            problems.append('%s: local sizes differ' % where)
    for p in problems:
        print(p)
    return 1 if problems else 0


def block_of(extra, wanted):
    at = 0
    while at + 4 <= len(extra):
        block, size = struct.unpack('<HH', extra[at:at + 4])
        if block == wanted:
            return extra[at + 4:at + 4 + size]
        at += 4 + size
    return None


def has_block(extra, wanted):
    return block_of(extra, wanted) is not None


def main(argv):
    cmd = argv[1]
    if cmd == 'wrapped':
        return wrapped(argv[2], int(argv[3]))
    if cmd == 'python-zip64-local':
        python_zip64_local(argv[2], argv[3])
    elif cmd == 'python-zip64-all':
        python_zip64_all(argv[2], argv[3])
    elif cmd == 'python-streamed':
        python_streamed(argv[2])
    elif cmd == 'handmade':
        prefix = int(argv[argv.index('--prefix') + 1]) if '--prefix' in argv else 0
        handmade(argv[2], argv[3], '--zip64' in argv, '--no-signature' not in argv, prefix)
    elif cmd == 'claimed-size':
        claimed_size(argv[2], int(argv[3]))
    elif cmd == 'huge-items':
        huge_items(argv[2])
    elif cmd == 'beyond-4g':
        beyond_4g(argv[2], argv[3])
    elif cmd == 'utf8':
        utf8(argv[2], argv[3])
    elif cmd == 'split':
        split(argv[2], argv[3], int(argv[4]), '--seed' in argv)
    elif cmd == 'check':
        try:
            return check(argv[2])
        except (struct.error, IndexError) as e:
            print('unreadable: %s' % e)
            return 1
    else:
        sys.exit('unknown command ' + cmd)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
