#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# What a newcomer meets first stays short and licensed: the README holds at
# most 200 lines, LICENSE holds the Apache-2.0 text, and every source file
# (code, build files, scripts, pages) states its licence in an
# SPDX-License-Identifier line among its first three lines.
#   front-door.sh SOURCE_DIR
set -euo pipefail
cd "$1"
status=0

lines=$(wc -l <README.md)
if [ "$lines" -gt 200 ]; then
    echo "README.md has $lines lines; the front door holds at most 200 (move the rest into docs/)"
    status=1
fi

if ! grep -q 'Apache License' LICENSE || ! grep -q 'Version 2.0, January 2004' LICENSE; then
    echo "LICENSE does not hold the Apache License, Version 2.0"
    status=1
fi

# Tracked files when this is a clone, else every file outside build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files)
else
    files=$(find . -type f -not -path './build*' -not -path '*/node_modules/*' -not -path '*/dist/*' -not -path './.git/*' | sed 's|^\./||')
fi
checked=0
missing=()
while IFS= read -r file; do
    [ -f "$file" ] || continue
    case "$file" in
        samples/* | fuzz/corpus/* | */package-lock.json | */package.json | *.md | *.png | *.json | *.json.in | *py.typed | LICENSE | .gitignore | cmake/debian/*) continue ;;
        *.c | *.cpp | *.h | *.def | *.py | *.pyi | *.sh | *.cmake | *CMakeLists.txt | *.in | *.toml | *.js | *.mjs | *.cjs | *.ts | *.css | *.html | *Doxyfile*) ;;
        *) head -c 2 "$file" | grep -q '^#!' || continue ;;
    esac
    checked=$((checked + 1))
    head -n 3 "$file" | grep -q 'SPDX-License-Identifier: Apache-2.0' || missing+=("$file")
done <<<"$files"
if [ ${#missing[@]} -gt 0 ]; then
    echo "these files lack the line 'SPDX-License-Identifier: Apache-2.0' among their first three lines:"
    printf '  %s\n' "${missing[@]}"
    status=1
fi
[ "$status" -eq 0 ] && echo "README.md: $lines lines; LICENSE: Apache-2.0; $checked source files carry their SPDX line"
exit "$status"
