#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the built libraries into a scratch prefix, then builds and runs the
# consumers against them: the decoder's and the presentation library's,
# through find_package, then through pkg-config; then a C host and the C
# example under AddressSanitizer; then checks what each library exports.
#   run.sh BUILD_DIR WORK_DIR [SAMPLES_DIR]
# With VMC_CONSUMER_PREFIX set, the consumers use that installed tree (the
# unpacked Debian packages) instead, and BUILD_DIR is not used.
set -euo pipefail
build_dir=$1
work=$2
samples=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
cmake_cmd=${CMAKE_COMMAND:-cmake}
cxx=${CXX:-c++}

rm -rf "$work"
mkdir -p "$work"
prefix=${VMC_CONSUMER_PREFIX:-}
if [ -z "$prefix" ]; then
    prefix="$work/prefix"
    "$cmake_cmd" --install "$build_dir" --prefix "$prefix" >/dev/null
fi

echo "== find_package"
"$cmake_cmd" -S "$here" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
"$cmake_cmd" --build "$work/cmake-build" >/dev/null
out=$("$work/cmake-build/consumer")
echo "$out"
[ "$out" = "1.0.0b1 79886 Vostrabeck |400" ]
out=$("$work/cmake-build/presentation_consumer")
echo "$out"
grep -q '^{"path":"never-written","result":{"isError":true,"code":400,' <<<"$out"

echo "== pkg-config"
pc_dir=$(dirname "$(find "$prefix" -name VellMetadataContainer.pc | head -n 1)")
export PKG_CONFIG_PATH="$pc_dir"
# shellcheck disable=SC2046
"$cxx" -std=c++17 "$here/main.cpp" -o "$work/pkg-consumer" $(pkg-config --cflags --libs VellMetadataContainer)
libdir=$(pkg-config --variable=libdir VellMetadataContainer)
out=$(LD_LIBRARY_PATH="$libdir" "$work/pkg-consumer")
echo "$out"
[ "$out" = "1.0.0b1 79886 Vostrabeck |400" ]
# shellcheck disable=SC2046
"$cxx" -std=c++17 "$here/presentation.cpp" -o "$work/pkg-presentation-consumer" $(pkg-config --cflags --libs vellmeta)
LD_LIBRARY_PATH="$libdir" "$work/pkg-presentation-consumer" | grep -q '"code":400,'
echo "presentation consumer through pkg-config: OK"

echo "== C interface, C99, under AddressSanitizer"
cc=${CC:-cc}
c_flags=(-std=c99 -Wall -Wextra -pedantic -Werror -fsanitize=address,undefined -fno-omit-frame-pointer)
# shellcheck disable=SC2046
"$cc" "${c_flags[@]}" "$here/c_consumer.c" -o "$work/c-consumer" $(pkg-config --cflags --libs vellmeta)
# shellcheck disable=SC2046
"$cc" "${c_flags[@]}" "$here/../../examples/vmc_dump.c" -o "$work/vmc-dump" $(pkg-config --cflags --libs vellmeta)
mapfile -t sample_files < <([ -n "$samples" ] && find "$samples" -name '*.vellraw' | sort)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1
LD_LIBRARY_PATH="$libdir" "$work/c-consumer" "${sample_files[@]}"
for f in "${sample_files[@]}"; do
    status=0
    LD_LIBRARY_PATH="$libdir" "$work/vmc-dump" "$f" >/dev/null || status=$?
    [ "$status" -le 1 ] || { echo "vmc_dump $f: status $status"; exit 1; }
done
echo "vmc_dump: ${#sample_files[@]} samples"
unset ASAN_OPTIONS UBSAN_OPTIONS

echo "== C interface through find_package"
"$cmake_cmd" -S "$here/c" -B "$work/c-cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
"$cmake_cmd" --build "$work/c-cmake-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/c-cmake-build/c_consumer" | tail -n 1

echo "== exported symbols"
# Every defined dynamic symbol of each library belongs to its own API: the
# decoder exports its namespaces and the two time-code operators, the
# presentation library its namespace and the C interface.
exported() { nm -D --defined-only -C "$1" | awk '{ $1=""; $2=""; sub(/^  /, ""); print }'; }
decoder=$(find "$prefix" -name 'libVellMetadataContainer.so.2.0.0' | head -n 1)
presentation=$(find "$prefix" -name 'libvellmeta.so.1.0.0' | head -n 1)
foreign=$(exported "$decoder" \
    | grep -v -E '^(Vmc::|VellRawMeta::|MetaString::|typeinfo for Vmc::|typeinfo name for Vmc::|vtable for Vmc::|operator==\(VellRawMeta::TC_Struct|operator<<\(std::ostream&, VellRawMeta::TC_Struct|operator<<\(std::basic_ostream<char, std::char_traits<char> >&, VellRawMeta::TC_Struct|VMC_1|LIBVMC)' || true)
foreign+=$(exported "$presentation" | grep -v -E '^(vellmeta::|typeinfo for vellmeta::|typeinfo name for vellmeta::|vtable for vellmeta::|vmc_[a-z0-9_]+$)' || true)
if [ -n "$foreign" ]; then
    echo "symbols outside the libraries' APIs are exported:"
    echo "$foreign"
    exit 1
fi
if exported "$decoder" | grep -q -E '^vmc_|vellmeta::'; then
    echo "the decoder library exports presentation symbols"
    exit 1
fi
for lib in "$decoder" "$presentation"; do
    echo "SONAME $(objdump -p "$lib" | awk '/SONAME/ { print $2 }')"
done
[ "$(objdump -p "$decoder" | awk '/SONAME/ { print $2 }')" = "libVellMetadataContainer.so.2" ]
[ "$(objdump -p "$presentation" | awk '/SONAME/ { print $2 }')" = "libvellmeta.so.1" ]
echo "consumers OK"
