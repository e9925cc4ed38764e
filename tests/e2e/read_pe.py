#!/usr/bin/env python3
"""Prints what the release checks need from a PE image, read from the file's
own headers rather than from a tool's text, whose layout changes between
versions:

  dll_characteristics 0xHHHH
  base_relocations RVA SIZE
  delay_imports RVA SIZE
  import DLL FUNCTION      (DLL in lower case; @N for an import by ordinal)

Exits non-zero, with the reason on stderr, on a file it cannot read as PE.
Usage: read_pe.py FILE
"""
import struct
import sys

PE32 = 0x10B
PE32_PLUS = 0x20B
IMPORT_DIRECTORY = 1
BASE_RELOCATION_DIRECTORY = 5
DELAY_IMPORT_DIRECTORY = 13


class NotPe(Exception):
    pass


def unpack(fmt, data, offset):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise NotPe(f"read of {size} bytes at {offset:#x} past the end of the file")
    return struct.unpack_from(fmt, data, offset)


def section_table(data, offset, count):
    sections = []
    for i in range(count):
        virtual_size, virtual_address, raw_size, raw_offset = unpack(
            "<IIII", data, offset + 40 * i + 8)
        sections.append((virtual_address, max(virtual_size, raw_size), raw_size, raw_offset))
    return sections


def file_offset(sections, rva):
    for virtual_address, span, raw_size, raw_offset in sections:
        if virtual_address <= rva < virtual_address + span:
            if rva - virtual_address >= raw_size:
                raise NotPe(f"RVA {rva:#x} lies in a section's uninitialised tail")
            return raw_offset + rva - virtual_address
    raise NotPe(f"RVA {rva:#x} lies in no section")


def c_string(data, offset):
    end = data.find(b"\0", offset)
    if offset >= len(data) or end < 0:
        raise NotPe(f"unterminated name at {offset:#x}")
    return data[offset:end].decode("ascii", "replace")


def imports(data, sections, directory_rva, thunk_size):
    ordinal_flag = 1 << (8 * thunk_size - 1)
    thunk_format = "<Q" if thunk_size == 8 else "<I"
    descriptor = file_offset(sections, directory_rva)
    while True:
        lookup_rva, _, _, name_rva, address_rva = unpack("<IIIII", data, descriptor)
        if (lookup_rva, name_rva, address_rva) == (0, 0, 0):
            return
        dll = c_string(data, file_offset(sections, name_rva)).lower()
        # The lookup table is the unbound original; an image without one
        # keeps the names in the address table until it is loaded.
        thunk = file_offset(sections, lookup_rva or address_rva)
        while True:
            (entry,) = unpack(thunk_format, data, thunk)
            if entry == 0:
                break
            if entry & ordinal_flag:
                yield dll, f"@{entry & 0xFFFF}"
            else:
                # A hint (2 bytes), then the name.
                yield dll, c_string(data, file_offset(sections, (entry & 0x7FFFFFFF) + 2))
            thunk += thunk_size
        descriptor += 20


def read(data):
    if data[:2] != b"MZ":
        raise NotPe("no MZ header")
    (pe_offset,) = unpack("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise NotPe("no PE signature")
    header = pe_offset + 4
    _, section_count, _, _, _, optional_size, _ = unpack("<HHIIIHH", data, header)
    optional = header + 20
    (magic,) = unpack("<H", data, optional)
    if magic == PE32_PLUS:
        thunk_size, directories_at = 8, 112
    elif magic == PE32:
        thunk_size, directories_at = 4, 96
    else:
        raise NotPe(f"optional header magic {magic:#x}")
    (dll_characteristics,) = unpack("<H", data, optional + 70)
    (directory_count,) = unpack("<I", data, optional + directories_at - 4)
    if directories_at + 8 * directory_count > optional_size:
        raise NotPe("data directories past the optional header")

    def directory(index):
        if index >= directory_count:
            return 0, 0
        return unpack("<II", data, optional + directories_at + 8 * index)

    sections = section_table(data, optional + optional_size, section_count)
    lines = [f"dll_characteristics {dll_characteristics:#06x}"]
    lines.append("base_relocations %d %d" % directory(BASE_RELOCATION_DIRECTORY))
    lines.append("delay_imports %d %d" % directory(DELAY_IMPORT_DIRECTORY))
    import_rva, import_size = directory(IMPORT_DIRECTORY)
    if import_rva and import_size:
        for dll, function in imports(data, sections, import_rva, thunk_size):
            lines.append(f"import {dll} {function}")
    return lines


def main():
    if len(sys.argv) != 2:
        print("usage: read_pe.py FILE", file=sys.stderr)
        return 2
    try:
        with open(sys.argv[1], "rb") as image:
            lines = read(image.read())
    except (OSError, NotPe) as error:
        print(f"read_pe.py: {sys.argv[1]}: {error}", file=sys.stderr)
        return 1
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
