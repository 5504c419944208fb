#!/usr/bin/env python3
"""The one table of `make bench`, from the results scripts/bench.sh leaves in a folder.

Each row: measure, figure, peer (what it is measured against in the same run), ratio
(figure / peer), target, and whether the target is met. A target is written as it is checked:
"ratio <= 0.1" applies to the ratio, "<= 16 ms" or "<= 3 x" to the figure. A measure whose
program failed shows "missing" and counts as not met. The keystroke benchmark runs several
times; its figures come from the run with the lowest p90 at 200,000 rows (other processes only
ever add time, so the quietest run is the truest one).
"""
import json
import re
import sys
from pathlib import Path

out = Path(sys.argv[1])
rows = []


def bench_json(name):
    p = out / f"{name}.json"
    if not p.exists():
        return {}
    try:
        data = json.loads(p.read_text())
    except ValueError:
        return {}
    return {b["name"]: b for b in data.get("benchmarks", [])}


def results(pattern, best=None):
    """RESULT lines (name -> value) of the file matching pattern whose `best` value is lowest
    (the first file when best is None)."""
    runs = []
    for p in sorted(out.glob(pattern)):
        values = {}
        for line in p.read_text().splitlines():
            m = re.match(r"RESULT (\S+) (\S+)", line)
            if m:
                values[m.group(1)] = float(m.group(2))
        if values and (best is None or best in values):
            runs.append(values)
    if not runs:
        return {}
    return min(runs, key=lambda v: v[best]) if best else runs[0]


def row(measure, figure, unit, peer=None, peer_what="", target=None):
    """target: (kind, limit) with kind "ratio" or "figure"."""
    ratio = figure / peer if figure is not None and peer else None
    met = "–"
    target_text = "–"
    if target:
        kind, limit, shown = target
        target_text = shown
        value = ratio if kind == "ratio" else figure
        met = "missing" if value is None else ("met" if value <= limit else "NOT met")
    fig = "missing" if figure is None else f"{figure:.4g} {unit}".strip()
    peer_text = "–" if peer is None else f"{peer:.4g} {unit} {peer_what}".strip()
    rows.append((measure, fig, peer_text, "–" if ratio is None else f"{ratio:.3g}", target_text, met))


# ---- Wine: keystrokes, memory, start-up
k = results("keystroke.*.txt", best="bench_keys_p90_ms")
row("Key in the search field → both lists repainted, 200,000 rows, p90", k.get("bench_keys_p90_ms"), "ms",
    k.get("dictionary_keys_p90_ms"), "(2,309-row dictionary)", ("figure", 16, "p90 ≤ 16 ms"))
row("Key in the search field → both lists repainted, 200,000 rows, max", k.get("bench_keys_max_ms"), "ms",
    k.get("dictionary_keys_max_ms"), "(2,309-row dictionary)", ("figure", 33, "max ≤ 33 ms"))
row("Enter (substring list filled and painted), 200,000 rows, median", k.get("bench_enter_median_ms"), "ms",
    k.get("dictionary_enter_median_ms"), "(2,309-row dictionary)", ("figure", 50, "≤ 50 ms"))
row("Enter, 200,000 rows, max", k.get("bench_enter_max_ms"), "ms", k.get("dictionary_enter_max_ms"),
    "(2,309-row dictionary)")
wb = k.get("bench_workbook_bytes")
mb = 1 << 20
row("Memory with the 200,000-row workbook open (private bytes)",
    k["bench_private_bytes"] / mb if "bench_private_bytes" in k else None, "MiB",
    wb / mb if wb else None, "(workbook file)", ("ratio", 3.0, "ratio ≤ 3"))
row("  of which added by opening it", k["bench_private_bytes_added"] / mb if "bench_private_bytes_added" in k else None,
    "MiB", wb / mb if wb else None, "(workbook file)")
row("Loading the 200,000-row workbook (read, tables, indexes)", k.get("bench_load_ms"), "ms")
for part, what in (("workbook", "the workbook read and loaded alone"), ("form1", "main window built (its description applied, queries opened)"),
                   ("form2", "examples window built"), ("show", "main window shown and painted")):
    row(f"  start-up in process: {what}", k.get(f"startup_{part}_ms"), "ms")
s = results("startup.txt")
row("Start to first paint of the main window, warm Wine", s.get("startup_program_ms"), "ms",
    s.get("startup_peer_ms"), "(minimal mingw window)", ("ratio", 2.0, "ratio ≤ 2.0"))

f = results("frame.txt")
row("Skinned main window, first paint (median of rounds)", f.get("first_paint_skinned_ms"), "ms",
    f.get("first_paint_plain_ms"), "(same window unskinned)", ("ratio", 1.5, "ratio ≤ 1.5"))
row("Skinned frame, one repaint while resizing (median of rounds)",
    f.get("resize_frame_repaint_skinned_ms"), "ms", f.get("resize_frame_repaint_plain_ms"),
    "(same window unskinned)", ("ratio", 2.0, "ratio ≤ 2.0"))

# ---- native: data
d = bench_json("data_bench")
pv = d.get("BM_PrefixVersusScan200k", {})
row("Prefix query+fetch ÷ full scan, 200,000 rows", pv.get("prefix_us"), "µs", pv.get("scan_us"),
    "(same query, NOT INDEXED)", ("ratio", 0.1, "ratio ≤ 0.1"))
sv = d.get("BM_SubstringIndexVersusScan200k", {})
row("Substring search opened for a grid, trigram index, 200,000 rows", sv.get("index_us"), "µs",
    sv.get("scan_us"), "(same search scanning)")
gv = d.get("BM_GridOpenVersusFetchAll200k", {})
row("One-letter prefix opened for a grid (count + rows on screen)", gv.get("grid_us"), "µs", gv.get("all_us"),
    "(every row fetched)")
lw = d.get("BM_LoadWorkbook200k/iterations:5", {})
row("Loading the 200,000-row workbook, native", lw.get("real_time"), "ms")

# ---- native: pictures, skins, controls
png = (out / "png_bench.txt").read_text() if (out / "png_bench.txt").exists() else ""
m = re.search(r"geometric mean of ours / libpng over \d+ files: ([0-9.]+)", png)
row("PNG decoding ÷ libpng (geometric mean)", float(m.group(1)) if m else None, "")
m = re.search(r"widened to 32 bits / libpng: ([0-9.]+)", png)
row("PNG decoding to 32 bits ÷ libpng (geometric mean)", float(m.group(1)) if m else None, "")
sk = bench_json("skin_load_bench")
for arg in ("16", "40"):
    r = sk.get(f"BM_TablesOverLibpngRatio/{arg}", {})
    row(f"Skin tables of a packed skin ({arg} pictures) ÷ libpng decoding them", r.get("ratio"), "")
r = sk.get("BM_DiruriZedazOverLibpngRatio", {})
row("Loading the packed skin DiruriZedaz ÷ libpng decoding its pictures", r.get("ratio"), "",
    target=("figure", 1.0, "≤ 1.0"))
sp = bench_json("skin_paint_bench")
for key, what in (("form_1024x768", "FORM at 1024×768"), ("button_75x25", "BUTTON at 75×25")):
    r = sp.get(f"BM_PaintOverNinePieceCopy/{key}", {})
    row(f"Painting a {what} ÷ copying its nine pieces", r.get("ratio"), "",
        target=("figure", 2.0, "≤ 2.0"))
c = bench_json("controls_bench")
a, b = c.get("BM_LabelShadow", {}), c.get("BM_PeerGaussianBlur", {})
row("Effect label shadow", a.get("real_time"), a.get("time_unit", ""), b.get("real_time"), "(Gaussian blur peer)")
g = bench_json("graphics_bench")
for name, bm in g.items():
    if "items_per_second" in bm:
        row(f"graphics {name}", bm["items_per_second"] / 1e6, "Mpix/s")
    else:
        row(f"graphics {name}", bm.get("real_time"), bm.get("time_unit", ""))

header = ("Measure", "Figure", "Peer", "Ratio", "Target", "Met")
print("| " + " | ".join(header) + " |")
print("|" + "---|" * len(header))
for r in rows:
    print("| " + " | ".join(r) + " |")
with_target = [r for r in rows if r[4] != "–"]
print(f"\n{sum(r[5] == 'met' for r in with_target)} of {len(with_target)} targets met")
