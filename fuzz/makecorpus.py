#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz harnesses into fuzz/corpus/<harness>/.

The seeds are small and committed; run this again after changing an input layout:
    python3 fuzz/makecorpus.py
"""
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
RESOURCES = os.path.join(HERE, "..", "resources")

TAG = b"Ver1.6+\0"


def write(harness, name, data):
    folder = os.path.join(CORPUS, harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def map_file(cells, levels=3, name=b"seed"):
    """A map file cut after `levels` levels (the loader reads the rest as empty)."""
    header = bytearray(48)
    header[0:8] = TAG
    header[12:16] = struct.pack("<I", 10)  # terrain set 1
    header[16:16 + len(name)] = name
    body = bytearray(1024 * levels)
    for (x, y, z), chip in cells.items():
        body[z * 1024 + y * 32 + x] = chip
    return bytes(header + body)


def map_seeds():
    ground = {(x, y, 0): 9 for x in range(4, 9) for y in range(4, 9)}
    ground.update({(6, 6, 1): 87, (10, 4, 1): 60, (11, 4, 1): 66, (12, 4, 1): 75})
    objects = {(3, 3, 0): 41, (3, 3, 1): 40, (5, 5, 0): 35, (5, 5, 1): 34, (5, 5, 2): 33,
               (7, 7, 0): 137, (8, 7, 0): 26, (9, 7, 0): 130, (10, 7, 0): 200}
    ops = lambda *o: bytes([len(o)]) + b"".join(bytes(x) for x in o)
    write("map", "ground_shape", ops((3, 0, 0, 0, 0)) + map_file(ground))
    write("map", "objects_undo", ops((0, 4, 4, 2, 40), (6, 0, 0, 0, 0), (2, 1, 1, 1, 136),
                                      (8, 0, 0, 0, 0)) + map_file(objects))
    write("map", "shift", ops((4, 3, 254, 1, 0)) + map_file(objects))
    write("map", "swap", ops((5, 0, 1, 0, 0), (1, 33, 0, 49, 33)) + map_file(objects))
    write("map", "short_file", ops() + TAG + b"\0" * 20)
    write("map", "not_a_map", ops((0, 1, 1, 1, 9)) + b"Ver1.5+\0" + b"\0" * 60)


def picture_seeds():
    boxes = lambda *b: bytes([len(b)]) + b"".join(bytes(x) for x in b)
    rects = bytes([0, 10, 0, 10, 0, 50, 0, 40, 3, 200, 1, 100, 0, 30, 0, 20])
    bands = bytes([0, 100, 120, 2, 0, 130, 0, 180])
    scene = boxes((4, 4, 0, 9, 0x3F), (6, 6, 4, 87, 0x15), (10, 2, 2, 26, 0x05),
                  (12, 12, 10, 130, 0x3F), (20, 20, 30, 200, 0), (0, 0, 0, 41, 0))
    write("picture", "edit_zoom0", bytes([0, 128, 128, 128, 2]) + scene + rects + bands)
    write("picture", "edit_zoom1", bytes([1, 0, 0, 0, 0]) + scene + rects + bands)
    edit = bytes([6, 7, 10, 26, 1])
    write("picture", "whole_zoom0", bytes([2, 0, 0, 0]) + scene + rects + bands + edit)
    write("picture", "whole_zoom1", bytes([3, 40, 80, 120]) + scene + rects + bands + edit)


def blit_seeds():
    pix = bytes(range(0, 256, 3))
    write("blit", "inside", bytes([40, 30, 20, 20, 90, 90, 90, 90, 90, 92, 90, 92, 2, 0]) + pix)
    write("blit", "clipped", bytes([40, 30, 20, 20, 40, 40, 90, 90, 16, 0, 0, 0, 5, 0, 0, 0, 5,
                                    90, 100, 90, 100, 251, 0]) + pix)
    write("blit", "within", bytes([60, 60, 1, 1, 90, 90, 90, 94, 90, 90, 100, 100, 3, 1]) + pix)
    write("blit", "far", bytes([8, 8, 8, 8, 0, 0x80, 0, 0, 0, 90, 90, 90, 90, 90, 252, 0x7F,
                                0xFF, 0xFF, 0xFF, 0]))


def bmp_seeds():
    for name in ("cur_s.bmp", "grid_s.bmp"):
        with open(os.path.join(RESOURCES, name), "rb") as f:
            data = f.read()
        write("bmpreader", name, data)
    # A top-down 3 x 2 image with a 2-colour table.
    pixels = bytes([1, 0, 1, 0, 0, 1, 0, 0])
    info = struct.pack("<IiiHHIIiiII", 40, 3, -2, 1, 8, 0, 0, 0, 0, 2, 0)
    table = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    head = b"BM" + struct.pack("<IHHI", 14 + 40 + 8 + 8, 0, 0, 14 + 40 + 8)
    write("bmpreader", "topdown", head + info + table + pixels)
    write("bmpreader", "cut_rows", head + info + table + pixels[:5])


def chipsheet_seeds():
    # set read, other-set flag, per file (kind, two bytes of length change), slash, fill
    complete = bytes([0, 0, 6, 0, 0, 6, 0, 0, 6, 0, 0, 6, 0, 0, 0]) + bytes(range(1, 40))
    write("chipsheet", "complete", complete)
    write("chipsheet", "short_palette", bytes([1, 0, 6, 0, 0, 6, 0, 0, 4, 0, 9, 6, 0, 0, 1]) + b"\x02\x07")
    write("chipsheet", "folder_and_link", bytes([2, 0, 1, 0, 0, 2, 0, 0, 6, 0, 0, 6, 0, 0, 0, 5]))
    write("chipsheet", "other_set", bytes([3, 1, 6, 0, 0, 6, 0, 0, 6, 0, 0, 6, 0, 0, 0, 5]))
    write("chipsheet", "longer", bytes([0, 0, 5, 3, 0, 7, 0, 0, 5, 0, 1, 3, 0, 0, 0, 2, 2]))


def datlib_seeds():
    entry = lambda name, off: name.ljust(32, b"\0") + struct.pack("<iI", off, 49300)
    lib = entry(b"a.map", 0) + entry(b"b.map", 49312) + entry(b"a.map", 49312)
    write("datlib", "unpack", bytes([0]) + struct.pack(">H", len(lib)) + lib + bytes([2]) +
          struct.pack(">H", 320) + b"xyz")
    bad = entry(b"../up.map", 0) + entry(b"past.map", 49000) + b"cut.map"
    write("datlib", "unpack_bad", bytes([0]) + struct.pack(">H", len(bad)) + bad + bytes([1]) +
          struct.pack(">H", 330) + b"q")
    write("datlib", "build", bytes([3]) + b"a.map\r\nb.map\nc.map\r../secret.map\nfolder.map\n")
    write("datlib", "build_no_dummy", bytes([1]) + b"a.map\nmissing.map\n")
    write("datlib", "build_short", bytes([7]) + b"b.map\n")


def editscript_seeds():
    write("editscript", "undo_pairs", b"step\nset 5 5 20 40\nundo\nredo\nundo\nredo\nundostate\n"
          b"records\n")
    write("editscript", "load_save", b"load a.map\nget 3 3 3\nview 3 3 2\nshape\nsave b.map\n"
          b"name \xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88\ngetname\nsave\nload t.txt\nmodified\n")
    write("editscript", "editor", b"put 3 4 5 12\nfill 0 0 0 9\nselect 0 0 3 3\ncopy\nlevel 3\n"
          b"paste\ncopybuf\ncut\ndelete\nselectall\n")
    write("editscript", "whole_map", b"set 1 1 1 33\nshift 1 2 3\nswap 0 1\nterrain 2\n"
          b"getterrain\nsave ../../out.map\n")
    write("editscript", "malformed", b"set 1 1\nget x y z\n")


def png_chunk(kind, data):
    import zlib
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def sheet_png(width=32, height=168 * 24, colours=256, flags=True, indices=256):
    """An 8-bit indexed picture of a small chip sheet, as chips export writes one."""
    import zlib
    rows = b"".join(b"\0" + bytes((x + y) % indices for x in range(width)) for y in range(height))
    out = b"\x89PNG\r\n\x1a\n"
    out += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    out += png_chunk(b"PLTE", bytes((n * 7 + k) % 256 for n in range(colours) for k in range(3)))
    out += png_chunk(b"tRNS", b"\0")
    if flags:
        out += png_chunk(b"qfLG", bytes(n % 5 for n in range(256)))
    out += png_chunk(b"IDAT", zlib.compress(rows, 9))
    return out + png_chunk(b"IEND", b"")


def chippng_seeds():
    write("chippng", "round_trip", bytes([0]) + bytes(range(256)) * 3)
    write("chippng", "indexed_sheet", bytes([1]) + sheet_png())
    write("chippng", "short_palette", bytes([1]) + sheet_png(colours=16, flags=False, indices=16))
    write("chippng", "beyond_palette", bytes([1]) + sheet_png(colours=16, flags=False))
    write("chippng", "wrong_size", bytes([1]) + sheet_png(width=8, height=8))


def map_all_levels_seed():
    # First byte 135: no ops (135 % 9), and the cells repeated over all 48 levels.
    header = bytearray(48)
    header[0:8] = TAG
    write("map", "all_levels", bytes([135]) + bytes(header) + bytes([0, 33, 34, 35, 0, 12, 40, 41]))


def maptext_seeds():
    header = bytearray(48)
    header[0:8] = TAG
    header[16:20] = b"\x1b[2J"
    cells = b"".join(bytes([x, x * 3 % 32, z, c]) for x, z, c in
                     [(1, 0, 33), (1, 1, 34), (1, 2, 35), (5, 47, 200), (31, 46, 36), (7, 20, 1)])
    write("maptext", "objects_all_levels", bytes([0]) + bytes(header) + cells + bytes(16))
    write("maptext", "repeated", bytes([1]) + bytes(header) + bytes(range(1, 168)) + bytes(16))


def main():
    if os.path.isdir(CORPUS):
        shutil.rmtree(CORPUS)
    map_seeds()
    picture_seeds()
    blit_seeds()
    bmp_seeds()
    chipsheet_seeds()
    datlib_seeds()
    editscript_seeds()
    map_all_levels_seed()
    chippng_seeds()
    maptext_seeds()
    return 0


if __name__ == "__main__":
    sys.exit(main())
