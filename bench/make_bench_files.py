#!/usr/bin/env python3
"""Writes the file pairs for bench/report_vs_cmp.sh into a folder:
equal1.bin/equal2.bin (two equal 1 GiB files) and blocky1.bin/blocky2.bin
(256 MiB with alternating equal and different 4 KiB blocks).
    bench/make_bench_files.py /tmp/dualvex-bench"""

import os
import sys

INVERT = bytes(255 - i for i in range(256))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/tmp/dualvex-bench"
    os.makedirs(folder, exist_ok=True)
    data = os.urandom(1 << 30)
    for name in ("equal1.bin", "equal2.bin"):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    block = bytearray(data[: 256 << 20])
    del data
    with open(os.path.join(folder, "blocky1.bin"), "wb") as f:
        f.write(block)
    for offset in range(4096, len(block), 8192):
        block[offset : offset + 4096] = block[offset : offset + 4096].translate(INVERT)
    with open(os.path.join(folder, "blocky2.bin"), "wb") as f:
        f.write(block)


if __name__ == "__main__":
    main()
