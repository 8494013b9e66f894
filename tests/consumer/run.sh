#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds and runs the
# consumer against it: through find_package, then through pkg-config.
set -euo pipefail
build_dir=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
cmake_cmd=${CMAKE_COMMAND:-cmake}
cxx=${CXX:-c++}

rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
"$cmake_cmd" --install "$build_dir" --prefix "$prefix" >/dev/null

echo "== find_package"
"$cmake_cmd" -S "$here" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
"$cmake_cmd" --build "$work/cmake-build" >/dev/null
out=$("$work/cmake-build/consumer")
echo "$out"
[ "$out" = "1.0.0b1 79886 Vostrabeck |400" ]

echo "== pkg-config"
pc_dir=$(dirname "$(find "$prefix" -name VellMetadataContainer.pc | head -n 1)")
export PKG_CONFIG_PATH="$pc_dir"
# shellcheck disable=SC2046
"$cxx" -std=c++17 "$here/main.cpp" -o "$work/pkg-consumer" $(pkg-config --cflags --libs VellMetadataContainer)
libdir=$(pkg-config --variable=libdir VellMetadataContainer)
out=$(LD_LIBRARY_PATH="$libdir" "$work/pkg-consumer")
echo "$out"
[ "$out" = "1.0.0b1 79886 Vostrabeck |400" ]

echo "== exported symbols"
lib=$(find "$prefix" -name 'libVellMetadataContainer.so.1.0.0' | head -n 1)
# Every defined dynamic symbol belongs to the library's own API.
foreign=$(nm -D --defined-only -C "$lib" | awk '{ $1=""; $2=""; sub(/^  /, ""); print }' \
    | grep -v -E '^(Vmc::|VellRawMeta::|MetaString::|typeinfo for Vmc::|typeinfo name for Vmc::|vtable for Vmc::|operator==\(VellRawMeta::TC_Struct|operator<<\(std::ostream&, VellRawMeta::TC_Struct|operator<<\(std::basic_ostream<char, std::char_traits<char> >&, VellRawMeta::TC_Struct|VMC_1|LIBVMC)' || true)
if [ -n "$foreign" ]; then
    echo "symbols outside the library's API are exported:"
    echo "$foreign"
    exit 1
fi
soname=$(objdump -p "$lib" | awk '/SONAME/ { print $2 }')
echo "SONAME $soname"
[ "$soname" = "libVellMetadataContainer.so.1" ]
echo "consumers OK"
