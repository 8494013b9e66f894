#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the build into a scratch prefix and imports vellmeta from there
# alone, with the interpreter the package was built for.
#   installed.sh BUILD_DIR WORK_DIR SITE_PACKAGES_RELATIVE PYTHON
set -euo pipefail
build_dir=$1
work=$2
site=$3
python=$4
cmake_cmd=${CMAKE_COMMAND:-cmake}

rm -rf "$work"
"$cmake_cmd" --install "$build_dir" --prefix "$work" >/dev/null
package="$work/$site/vellmeta"
for f in __init__.py __init__.pyi py.typed; do
    [ -f "$package/$f" ] || { echo "not installed: $package/$f"; exit 1; }
done
ls "$package"/_vellmeta.*.so >/dev/null

cd /
PYTHONPATH="$work/$site" "$python" - "$package" <<'PY'
import sys
import vellmeta
assert vellmeta.__file__.startswith(sys.argv[1]), vellmeta.__file__
print("imported", vellmeta.__file__, vellmeta.version())
PY
