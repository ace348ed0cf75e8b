#!/bin/bash
# Tintara with each mixer tab shown, side by side with its anchors, in one run on one private Xvfb:
# ../shared/perf/side_by_side.sh's screen (1920x1080, openbox, a plasma-fractal background so that every
# cursor move lands on a new colour), its measuring script and its anchors, with two configurations per tab:
#   tintara-TAB-front  Tintara started with --tab=TAB, its window active
#   tintara-TAB-back   the same with another window active (the status line pulses)
#   gpick-p            gpick's floating picker (30 Hz)
#   minimal-loop       100 Hz cursor poll + MIT-SHM capture on movement + one repaint
# Every configuration runs REPS times, interleaved; SECS s still, then SECS s moving (HZ moves/s).
#   bench/side_by_tabs.sh build/release/bin/tintara
#   TABS="hex sliders" REPS=1 SECS=10 bench/side_by_tabs.sh build/release/bin/tintara
# Results: $OUT_DIR/tabs.jsonl, the summary table, and the ratios the goals are stated in.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
shared=${PERF_DIR:-$here/../../shared/perf}
[ -d "$shared" ] || shared=/work/shared/perf
need=()
for t in Xvfb:xvfb openbox:openbox xdotool:xdotool hsetroot:hsetroot xlogo:x11-apps convert:imagemagick gpick:gpick pkg-config:pkg-config; do
  command -v "${t%%:*}" >/dev/null || need+=("${t#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || { echo "install first: apt-get install -y ${need[*]}" >&2; exit 1; }
  apt-get install -y -qq "${need[@]}" >/dev/null 2>&1 || { apt-get update -qq && apt-get install -y -qq "${need[@]}" >/dev/null; }
fi
tintara=$(realpath "${1:?path to the tintara binary}"); shift || true
REPS=${REPS:-3}; SECS=${SECS:-20}; HZ=${HZ:-50}; TABS=${TABS:-"hex rainbow hue sliders"}
out=${OUT_DIR:-/tmp/tintara-perf}; mkdir -p "$out"; OUT=$out/tabs.jsonl; : > "$OUT"
[ -x "$out/tick_loop" ] || OUT_DIR=$out "$shared/build.sh" >/dev/null
for d in $(seq 170 199); do [[ -e /tmp/.X11-unix/X$d || -e /tmp/.X$d-lock ]] || break; done
Xvfb ":$d" -screen 0 1920x1080x24 -noreset >"$out/xvfb.log" 2>&1 & XVFB=$!
export DISPLAY=":$d"; sleep 1
openbox >"$out/openbox.log" 2>&1 & OB=$!
work=$(mktemp -d /tmp/tabs-XXXXXX); cp "$tintara" "$work/tintara"
trap 'kill $OB $XVFB 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
# The real ImageMagick: a stand-in named convert may come first in PATH.
im=convert; [ -x /usr/bin/convert ] && im=/usr/bin/convert
[ -s "$out/plasma.png" ] || "$im" -size 1920x1080 -seed 7 plasma:fractal "$out/plasma.png"
hsetroot -full "$out/plasma.png" >/dev/null
FRONT='W=$(xdotool search --onlyvisible --name "^Tintara" | head -1); xdotool windowactivate --sync $W; sleep 0.5'
BACK="(xlogo -geometry 150x150+1700+50 & echo \$! > $work/xlogo.pid); sleep 1; W=\$(xdotool search --sync --onlyvisible --name xlogo | head -1); xdotool windowactivate --sync \$W; sleep 0.5"
run() { local label=$1 rep=$2; shift 2
  echo "== $label rep $rep ($(date +%T), load $(cut -d' ' -f1 /proc/loadavg))" >&2
  "$shared/peer_cpu.py" --label "$label" --rep "$rep" --secs "$SECS" --hz "$HZ" --xvfb-pid "$XVFB" --out "$OUT" "$@" >/dev/null
  if [ -f "$work/xlogo.pid" ]; then kill "$(cat "$work/xlogo.pid")" 2>/dev/null || true; rm -f "$work/xlogo.pid"; fi
  rm -f "$work/Tintara.ini" "$work/palettes.xml"; }
for rep in $(seq 1 "$REPS"); do
  for tab in $TABS; do
    run "tintara-$tab-front" "$rep" --setup "$FRONT" -- "$work/tintara" "--tab=$tab" "$@"
    run "tintara-$tab-back" "$rep" --setup "$BACK" -- "$work/tintara" "--tab=$tab" "$@"
  done
  run gpick-p "$rep" -- gpick -p
  run minimal-loop "$rep" -- "$out/tick_loop" --capture shm
done
python3 "$shared/summarize_peers.py" "$OUT"
echo
python3 "$here/tab_ratios.py" "$OUT"
