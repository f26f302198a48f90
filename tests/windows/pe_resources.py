#!/usr/bin/env python3
"""Prints what a Windows program's resources say, as Explorer reads them:
   pe_resources.py FILE.exe  ->  JSON with "icons" (icon groups), "version"
   (the fixed file version, a.b.c.d), "strings" (the version block's strings)
   and "manifest" (its text, or null)."""
import json
import struct
import sys

RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24


def sections(pe):
    (pe_at,) = struct.unpack_from("<I", pe, 0x3C)
    if pe[pe_at:pe_at + 4] != b"PE\0\0":
        sys.exit("not a PE file")
    count, optional_size = struct.unpack_from("<H12xH", pe, pe_at + 6)
    table = pe_at + 24 + optional_size
    for i in range(count):
        name, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", pe, table + 40 * i)
        yield name.rstrip(b"\0"), vaddr, max(vsize, rsize), raw


def resources(pe):
    """{type: [bytes of each resource of that type]}"""
    rsrc = next((s for s in sections(pe) if s[0] == b".rsrc"), None)
    if rsrc is None:
        return {}
    _, vaddr, _, raw = rsrc

    def entries(at):
        named, ids = struct.unpack_from("<12xHH", pe, raw + at)
        for i in range(named + ids):
            ident, target = struct.unpack_from("<II", pe, raw + at + 16 + 8 * i)
            yield ident, target

    def leaves(at):
        for _, target in entries(at):
            if target & 0x80000000:
                yield from leaves(target & 0x7FFFFFFF)
            else:
                data_rva, size = struct.unpack_from("<II", pe, raw + target)
                start = raw + data_rva - vaddr
                yield pe[start:start + size]

    found = {}
    for kind, target in entries(0):
        if target & 0x80000000:
            found[kind] = list(leaves(target & 0x7FFFFFFF))
    return found


def align4(n):
    return (n + 3) & ~3


def version_strings(block):
    """The string table's name/value pairs of a VS_VERSIONINFO block."""
    strings = {}

    def walk(at, end, depth):
        while at + 6 <= end:
            length, value_length, is_text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = block.index(b"\0\0", at + 6)
            while (key_end - at) % 2:
                key_end = block.index(b"\0\0", key_end + 1)
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = align4(key_end + 2)
            if depth == 3 and is_text:
                raw = block[value_at:value_at + 2 * value_length]
                strings[key] = raw.decode("utf-16-le").rstrip("\0")
            elif depth < 3:
                child = value_at + (value_length if not is_text else 2 * value_length)
                walk(align4(child), at + length, depth + 1)
            at = align4(at + length)

    walk(0, len(block), 0)
    return strings


def main():
    pe = open(sys.argv[1], "rb").read()
    found = resources(pe)
    report = {"icons": len(found.get(RT_GROUP_ICON, [])), "version": None, "strings": {},
              "manifest": None}
    for block in found.get(RT_VERSION, []):
        fixed = block.find(struct.pack("<I", 0xFEEF04BD))
        if fixed >= 0:
            ms, ls = struct.unpack_from("<II", block, fixed + 8)
            report["version"] = "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        report["strings"] = version_strings(block)
    for text in found.get(RT_MANIFEST, []):
        report["manifest"] = text.decode("utf-8")
    json.dump(report, sys.stdout, indent=1)
    print()


if __name__ == "__main__":
    main()
