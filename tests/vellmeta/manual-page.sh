#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The manual page renders without warnings and names every option that
# `vellmeta --help` lists.
#   manual-page.sh VELLMETA PAGE
set -euo pipefail
vellmeta=$1
page=$2
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "man warns about $page:"
    echo "$warnings"
    exit 1
fi
rendered=$(MANWIDTH=80 man -l "$page" 2>/dev/null | col -b)
options=$("$vellmeta" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
for option in $options; do
    grep -qF -- "$option" <<<"$rendered" || { echo "$page lacks $option"; exit 1; }
done
echo "$page: $(wc -w <<<"$options") options, no warnings"
