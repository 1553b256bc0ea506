#!/usr/bin/env python3
"""Prints the benchmark figures as ratios against the references measured in
the same run (pugixml's parse, the memchr floor: interleaved round by round,
the median with its quartiles), so that a slower or busier machine does not
change the verdict."""
import json
import sys

runs = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("run_type") == "iteration"}


def ms(name):
    b = next(v for k, v in runs.items() if k.startswith(name))
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["cpu_time"] * scale, b


_, cmp = ms("BM_LoadAgainstReferences")
load, pugi, floor = cmp["load_ms"], cmp["pugixml_ms"], cmp["memchr_ms"]
save, sb = ms("BM_Save")
resolve, _ = ms("BM_ResolveLinks50k")
rounds = int(cmp["rounds"])
rows = [
    ("load + ResolveLinks, 100,000 items", f"{load:.1f} ms",
     f"{cmp['x_pugixml']:.2f} x pugixml's parse ({pugi:.1f} ms); quartiles "
     f"{cmp['x_pugixml_q1']:.2f}-{cmp['x_pugixml_q3']:.2f} over {rounds} interleaved rounds"),
    ("  against the memchr floor", f"{floor:.1f} ms",
     f"{cmp['x_memchr']:.1f} x memchr; quartiles {cmp['x_memchr_q1']:.1f}-{cmp['x_memchr_q3']:.1f}"),
    ("SaveLists text, 100,000 items", f"{save:.1f} ms", f"{sb['bytes_per_second'] / 1e6:.0f} MB/s"),
    ("ResolveLinks, 50,000 pairs", f"{resolve:.2f} ms", "goal under 10 ms"),
]
small = [v for k, v in runs.items() if k.startswith("BM_RemoveSubtree/")]
if len(small) >= 2:
    a, b = small[0], small[-1]
    ka, kb = int(a["run_name"].split("/")[1]), int(b["run_name"].split("/")[1])
    rows.append(("subtree removal, %d vs %d items" % (kb, ka), "%.0f us" % b["cpu_time"],
                 "time ratio %.1f for size ratio %.1f" % (b["cpu_time"] / a["cpu_time"], kb / ka)))
check = next(v for k, v in runs.items() if k.startswith("BM_ActivationCheck100k"))
rows.append(("RunActivationCheck, 100,000 tasks, none due", "%.1f us" % (check["check_ms"] * 1e3),
             "1/%.0f of one plain walk (%.2f ms); quartiles 1/%.0f-1/%.0f over %d interleaved rounds; "
             "goal under 1/100" % (1 / check["ratio"], check["walk_ms"], 1 / check["ratio_q3"],
                                   1 / check["ratio_q1"], check["rounds"])))
find = next(v for k, v in runs.items() if k.startswith("BM_FindKeystroke100k"))
rows.append(("Find Task, one keystroke over %d tasks" % find["tasks"], "%.2f ms" % find["keystroke_ms"],
             "%.2f x one plain walk of the register (%.2f ms); quartiles %.2f-%.2f over %d interleaved "
             "rounds; goal under 20 ms" % (find["ratio"], find["walk_ms"], find["ratio_q1"], find["ratio_q3"],
                                           find["rounds"])))
width = max(len(r[0]) for r in rows)
for name, value, ratio in rows:
    print(f"{name:<{width}}  {value:>10}  {ratio}")
ok = (cmp["x_pugixml"] < 1.5 and sb["bytes_per_second"] > 200e6 and resolve < 10 and check["ratio"] < 0.01
      and check["check_ms"] < 5 and find["keystroke_ms"] < 20)
print("goals met" if ok else "GOALS NOT MET")
