#!/usr/bin/env python3
"""Writes the example firmware pair: firmware_v1.hex (Intel-HEX) and
firmware_v2.bin (raw). Run it again to regenerate both files byte for byte.

Version 1 has code at 0x0000 and 0x1000 with an unprogrammed gap between them
and a configuration block at 0x10000 behind an extended linear address record.
Version 2 is the raw image of a later build: a new version string, a patched
routine, changed configuration and a longer image."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))


def pattern(seed, count):
    """Deterministic filler bytes (a small linear congruential generator)."""
    out = bytearray()
    state = seed
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(state >> 16 & 0xFF)
    return out


def record(rtype, address, data):
    body = bytes([len(data), address >> 8 & 0xFF, address & 0xFF, rtype]) + bytes(data)
    checksum = -sum(body) & 0xFF
    return ":" + (body + bytes([checksum])).hex().upper() + "\n"


def version1():
    """Returns the regions of version 1 as (address, bytes)."""
    boot = pattern(1, 0x400)
    boot[0x100:0x110] = b"FW v1.0.0\x00\x00\x00\x00\x00\x00\x00"
    code = pattern(2, 0x800)
    config = bytearray(range(256))
    return [(0x0000, boot), (0x1000, code), (0x10000, config)]


def image_of(regions, length):
    image = bytearray(b"\xff" * length)
    for address, data in regions:
        image[address:address + len(data)] = data
    return image


def write_hex(path, regions):
    lines = []
    segment = 0
    for address, data in regions:
        for offset in range(0, len(data), 16):
            at = address + offset
            if at >> 16 != segment:
                segment = at >> 16
                lines.append(record(4, 0, [segment >> 8, segment & 0xFF]))
            lines.append(record(0, at & 0xFFFF, data[offset:offset + 16]))
    lines.append(record(1, 0, []))
    with open(path, "w", newline="\n") as f:
        f.writelines(lines)


def main():
    regions = version1()
    write_hex(os.path.join(HERE, "firmware_v1.hex"), regions)
    # The decoded hex image ends at 0x10100, rounded up to 0x10400.
    image = image_of(regions, 0x10400)
    image[0x100:0x110] = b"FW v1.1.0\x00\x00\x00\x00\x00\x00\x00"
    image[0x1200:0x1240] = pattern(3, 0x40)
    image[0x10010:0x10014] = b"\x01\x00\x00\x80"
    image += pattern(4, 0x200)
    with open(os.path.join(HERE, "firmware_v2.bin"), "wb") as f:
        f.write(image)


if __name__ == "__main__":
    main()
