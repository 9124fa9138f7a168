#!/usr/bin/env bash
# Line and branch coverage of src/ and apps/ by the test suite, per folder and in total.
# Builds the coverage preset (build/coverage), runs every test there from zeroed counters and
# prints a table; the per-file detail is left in build/coverage/coverage.json.
# usage: scripts/coverage.sh [--no-build]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v gcovr >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq gcovr >/dev/null
fi
build=build/coverage
if [ "${1:-}" != --no-build ]; then
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage
fi
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure >"$build/ctest.log" ||
  { tail -40 "$build/ctest.log"; echo "coverage: the tests fail" >&2; exit 1; }
# Branches that only exist for exceptions thrown by the runtime and those the compiler proves
# unreachable are left out: no test could take them.
gcovr --root . --object-directory "$build" --filter 'src/' --filter 'apps/' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$build/coverage.json" >/dev/null
python3 - "$build/coverage.json" <<'PY'
import json, sys, collections
files = json.load(open(sys.argv[1]))['files']
rows = collections.OrderedDict()
def add(key, f):
    r = rows.setdefault(key, [0, 0, 0, 0])
    r[0] += f['line_covered']; r[1] += f['line_total']
    r[2] += f['branch_covered']; r[3] += f['branch_total']
for f in sorted(files, key=lambda f: f['filename']):
    # Headers copied into the build tree for installing are counted where they live in src/.
    if f['filename'].startswith('build/'): continue
    parts = f['filename'].split('/')
    add('/'.join(parts[:2]) + '/', f)
    add('total', f)
pct = lambda a, b: f'{100.0 * a / b:6.1f} %' if b else '     - '
print(f"{'folder':22s} {'lines':>18s} {'':8s} {'branches':>18s}")
for k, (lc, lt, bc, bt) in sorted(rows.items(), key=lambda kv: (kv[0] == 'total', kv[0])):
    print(f'{k:22s} {lc:8d} / {lt:7d} {pct(lc, lt)} {bc:8d} / {bt:7d} {pct(bc, bt)}')
PY
