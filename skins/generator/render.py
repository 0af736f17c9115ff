"""Renders the skin: every picture that skins/pictures.txt lists, drawn as SVG by the modules
beside this file, rasterised by rsvg-convert and stored as PNG, JPEG or BMP. Pictures whose
drawing has not changed since the last run are not rendered again.

    render.py LIST OUTDIR CACHEDIR [--rsvg PROGRAM] [--copy SRC DST]... [--stamp FILE]
"""

import argparse
import concurrent.futures
import io
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dialogs  # noqa: E402
import mainwin  # noqa: E402
import menus  # noqa: E402
import small  # noqa: E402

DRAWINGS = {**mainwin.PICTURES, **small.PICTURES, **dialogs.PICTURES, **menus.PICTURES}


def read_list(path):
    """The pictures of the list; its "same" rows are for the skin test."""
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line or line.startswith("same "):
                continue
            fields = line.split()
            if len(fields) != 4:
                sys.exit(f"{path}:{number}: expected 'file width height drawing'")
            entries.append((fields[0], int(fields[1]), int(fields[2]), fields[3]))
    return entries


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


RSVG = "rsvg-convert"


def rasterise(drawing, size, cache):
    """The PNG bytes of one drawing, from the cache when its SVG text is unchanged."""
    svg = DRAWINGS[drawing]()
    if (svg.width, svg.height) != size:
        sys.exit(f"drawing {drawing} is {svg.width} x {svg.height}, the list says {size[0]} x {size[1]}")
    text = svg.text().encode("utf-8")
    svg_path = os.path.join(cache, drawing + ".svg")
    png_path = os.path.join(cache, drawing + ".png")
    try:
        with open(svg_path, "rb") as f:
            fresh = f.read() == text and os.path.exists(png_path)
    except OSError:
        fresh = False
    if not fresh:
        with open(svg_path + ".tmp", "wb") as f:
            f.write(text)
        subprocess.run([RSVG, "-f", "png", "-o", png_path, svg_path + ".tmp"], check=True)
        os.replace(svg_path + ".tmp", svg_path)
    with open(png_path, "rb") as f:
        return f.read()


def encode(name, png):
    """The file's bytes in the format its extension names."""
    ext = os.path.splitext(name)[1].lower()
    if ext == ".png":
        return png
    from PIL import Image

    image = Image.open(io.BytesIO(png)).convert("RGBA")
    flat = Image.new("RGB", image.size, (0, 0, 0))
    flat.paste(image, mask=image.getchannel("A"))
    out = io.BytesIO()
    if ext == ".jpg":
        flat.save(out, "JPEG", quality=95, subsampling=0)
    elif ext == ".bmp":
        # A mask: pure white or pure black pixels only, never a blend of the two.
        flat.convert("L").point(lambda v: 255 if v >= 128 else 0).convert("RGB").save(out, "BMP")
    else:
        sys.exit(f"{name}: unknown picture format")
    return out.getvalue()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("list")
    parser.add_argument("outdir")
    parser.add_argument("cache")
    parser.add_argument("--rsvg", default="rsvg-convert")
    parser.add_argument("--copy", nargs=2, action="append", default=[])
    parser.add_argument("--stamp")
    args = parser.parse_args()
    global RSVG
    RSVG = args.rsvg
    os.makedirs(args.outdir, exist_ok=True)
    os.makedirs(args.cache, exist_ok=True)

    entries = read_list(args.list)
    unknown = sorted({e[3] for e in entries} - DRAWINGS.keys())
    if unknown:
        sys.exit(f"unknown drawings in {args.list}: {', '.join(unknown)}")
    sizes = {}
    for name, width, height, drawing in entries:
        if sizes.setdefault(drawing, (width, height)) != (width, height):
            sys.exit(f"{name}: drawing {drawing} is listed with two sizes")
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 4) as pool:
        pngs = dict(zip(sizes, pool.map(lambda d: rasterise(d, sizes[d], args.cache), sizes)))
    for name, _, _, drawing in entries:
        write_if_changed(os.path.join(args.outdir, name), encode(name, pngs[drawing]))
    for source, target in args.copy:
        os.makedirs(os.path.dirname(target) or ".", exist_ok=True)
        with open(source, "rb") as f:
            write_if_changed(target, f.read())
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("rendered\n")


if __name__ == "__main__":
    main()
