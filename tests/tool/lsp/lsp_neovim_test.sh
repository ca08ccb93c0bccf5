#!/usr/bin/env bash
# The editor end to end, set up exactly as README says: headless Neovim starts with README's
# init.lua (its paths filled in) and opens an exported train file with a typo; the file type,
# encoding, diagnostics, hover, completion and quick fix it got are checked.
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
repository=$(cd "$here/../../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tool" export --out "$dir" >/dev/null
sed -i 's/segnale,    1000,/segnale,    1O00,/; s/^segnale,    2600,/segnal,    2600,/' \
    "$dir/Alderi_Moncasta_30752-.txt"
# README's Neovim block, the first lua block after its heading.
awk '/^\*\*Neovim\*\*/ { found = 1 } found && /^```lua/ { inside = 1; next }
     inside && /^```/ { exit } inside' "$repository/README.md" |
  sed "s#/path/to/repository#$repository#g; s#/path/to/build/scenario#$tool#g" >"$dir/init.lua"
grep -q 'lsp' "$dir/init.lua" || { echo "README has no Neovim set-up to test"; exit 1; }
SCENARIO_RESULT=$dir/result.txt timeout 120 nvim --headless -u "$dir/init.lua" \
    -c "luafile $here/lsp_neovim_test.lua" "$dir/Alderi_Moncasta_30752-.txt" \
    </dev/null >/dev/null 2>&1 || true
[[ -f $dir/result.txt ]] || { echo "Neovim wrote no result"; exit 1; }
cat "$dir/result.txt"
fail=0
for expected in '^filetype scenariotrain cp1252 dos$' \
    '^diagnostic 41:12 number-text .*"1O00" read as 0' \
    '^diagnostic 43:0 unknown-record .*did you mean "segnale"' \
    '^action did you mean segnale: 43:0-43:6 segnale$' \
    '^hover \*\*posizione\*\*: 0 m, cell 1$' '^completion segnale$'; do
    grep -q "$expected" "$dir/result.txt" || { echo "missing: $expected"; fail=1; }
done

# Again with README's line that starts the server with its live page.
awk '/^\*\*The live page\.\*\*/ { found = 1 } found && /^```lua/ { inside = 1; next }
     inside && /^```/ { exit } inside' "$repository/README.md" |
  sed "s#/path/to/build/scenario#$tool#g" >"$dir/start.lua"
grep -q -- "--preview" "$dir/start.lua" || { echo "README has no Neovim line for --preview"; exit 1; }
awk -v start="$(cat "$dir/start.lua")" '/local id = vim.lsp.start_client/ { print start; next } 1' \
    "$dir/init.lua" >"$dir/preview.lua"
rm -f "$dir/result.txt"
SCENARIO_PREVIEW=1 SCENARIO_RESULT=$dir/result.txt timeout 120 nvim --headless \
    -u "$dir/preview.lua" -c "luafile $here/lsp_neovim_test.lua" \
    "$dir/Alderi_Moncasta_30752-.txt" </dev/null >/dev/null 2>&1 || true
[[ -f $dir/result.txt ]] || { echo "Neovim wrote no result with --preview"; exit 1; }
cat "$dir/result.txt"
address='http://127\.0\.0\.1:[0-9]+/[0-9a-f]{32}/'
for expected in "^preview $address\$" '^diagnostic 41:12 number-text'; do
    grep -Eq "$expected" "$dir/result.txt" || { echo "missing with --preview: $expected"; fail=1; }
done
grep -Eq "^message .*scenario lsp: the route's live page is at $address" "$dir/result.txt" ||
    { echo "the live page's address was not shown"; fail=1; }
exit $fail
