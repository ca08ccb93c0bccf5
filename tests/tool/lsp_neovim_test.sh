#!/usr/bin/env bash
# The editor end to end: headless Neovim runs scenario lsp on an exported train file with a typo
# and the diagnostics, hover and completion it got are checked.
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tool" export --out "$dir" >/dev/null
sed -i 's/segnale,    1000,/segnale,    1O00,/; s/^segnale,    2600,/segnal,    2600,/' \
    "$dir/Alderi_Moncasta_30752-.txt"
SCENARIO_TOOL=$tool SCENARIO_FIXTURE=$dir/Alderi_Moncasta_30752-.txt \
SCENARIO_RESULT=$dir/result.txt timeout 120 nvim --headless --clean \
    -c "luafile $here/lsp_neovim_test.lua" </dev/null >/dev/null 2>&1 || true
[[ -f $dir/result.txt ]] || { echo "Neovim wrote no result"; exit 1; }
cat "$dir/result.txt"
fail=0
for expected in '^diagnostic 41:12 number-text .*"1O00" read as 0' \
    '^diagnostic 43:0 unknown-record .*did you mean "segnale"' \
    '^action did you mean segnale: 43:0-43:6 segnale$' \
    '^hover \*\*posizione\*\*: 0 m, cell 1$' '^completion segnale$'; do
    grep -q "$expected" "$dir/result.txt" || { echo "missing: $expected"; fail=1; }
done
exit $fail
