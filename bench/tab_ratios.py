#!/usr/bin/env python3
"""The ratios the speed goals are stated in, from a side_by_tabs.sh (or side_by_side.sh) result file:
per Tintara configuration, its median CPU over the minimal loop's, over gpick's, and (moving, window
active) over the Sliders tab's run; each ratio is taken within a repetition, so a machine load that
changes during the run cancels out, and the median over the repetitions is shown.

    bench/tab_ratios.py /tmp/tintara-perf/tabs.jsonl
"""
import json
import statistics
import sys


def main(path):
    rows = [json.loads(line) for line in open(path) if line.strip()]
    by = {}
    for r in rows:
        by.setdefault(r["label"], {})[r["rep"]] = r
    loads = [r[ph]["loadavg1"] for r in rows for ph in ("still", "moving")]
    minimal, gpick = by.get("minimal-loop", {}), by.get("gpick-p", {})
    sliders = by.get("tintara-sliders-front", {})

    def ratio(label, ref, phase, key="app_cpu_pct"):
        vals = [by[label][rep][phase][key] / ref[rep][phase][key]
                for rep in by[label] if rep in ref and ref[rep][phase][key] > 0]
        return f"{statistics.median(vals):.2f}" if vals else "—"

    print(f"Ratios, median over repetitions of the ratio within each repetition (load average "
          f"{min(loads):.2f}–{max(loads):.2f} during the run).\n")
    print("| config | still / minimal | moving / minimal | moving / gpick | X server moving / minimal's "
          "| moving / Sliders tab (active) | RSS MiB |")
    print("|---|---|---|---|---|---|---|")
    for label in by:
        if not label.startswith("tintara"):
            continue
        rss = statistics.median(r["hwm_kb"] / 1024 for r in by[label].values() if r.get("hwm_kb"))
        side = ratio(label, sliders, "moving") if label.endswith("-front") else "—"
        print(f"| {label} | {ratio(label, minimal, 'still')} | {ratio(label, minimal, 'moving')} "
              f"| {ratio(label, gpick, 'moving')} | {ratio(label, minimal, 'moving', 'xvfb_cpu_pct')} "
              f"| {side} | {rss:.1f} |")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "/tmp/tintara-perf/tabs.jsonl")
