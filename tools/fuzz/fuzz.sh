#!/bin/sh
# Builds every libFuzzer target tools/fuzz/fuzz_*.cpp against the portable sources of
# foundation/, shades/, transport/ and config/, with clang-14 and ASan/UBSan.
#
#   tools/fuzz/fuzz.sh                    build all targets
#   tools/fuzz/fuzz.sh <target> <seconds> [libFuzzer options...]
#                                         build, then run one target (e.g. json 600)
#
# Output goes to $FUZZ_OUT (default /tmp/lumbra-fuzz): binaries, and a corpus and any
# crash inputs per target. One fuzzing process, one core. Not part of tools/test.sh.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${FUZZ_OUT:-/tmp/lumbra-fuzz}
cxx=clang++-14

if ! command -v "$cxx" >/dev/null 2>&1 || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    echo "fuzz.sh: installing clang-14 and libclang-rt-14-dev" >&2
    apt-get install -y clang-14 libclang-rt-14-dev >&2
fi

mkdir -p "$out/obj"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -I$root"

# Portable sources, compiled once into objects shared by every target.
objs=""
for dir in foundation shades transport config; do
    for src in "$root/$dir"/*.cpp; do
        [ -e "$src" ] || continue
        obj="$out/obj/$dir-$(basename "$src" .cpp).o"
        if [ ! -e "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/foundation" "$root/shades" "$root/transport" "$root/config" -name '*.h' -newer "$obj" 2>/dev/null | head -n1)" ]; then
            # Another folder's work in progress must not stop the other targets.
            if ! $cxx $flags -c "$src" -o "$obj"; then
                echo "fuzz.sh: skipping $src (does not compile)" >&2
                rm -f "$obj"
                continue
            fi
        fi
        objs="$objs $obj"
    done
done

built=""
for target in "$here"/fuzz_*.cpp; do
    [ -e "$target" ] || continue
    name=$(basename "$target" .cpp)
    if $cxx $flags -fsanitize=fuzzer "$target" $objs -o "$out/$name" -lpthread; then
        built="$built ${name#fuzz_}"
    else
        echo "fuzz.sh: target $name does not build" >&2
    fi
done
echo "fuzz.sh: built:$built ($out)"

if [ $# -ge 1 ]; then
    name=${1#fuzz_}
    seconds=${2:-60}
    shift
    [ $# -ge 1 ] && shift
    extra="$*"
    bin="$out/fuzz_$name"
    [ -x "$bin" ] || { echo "fuzz.sh: no target fuzz_$name" >&2; exit 2; }
    mkdir -p "$out/corpus-$name" "$out/crashes-$name"
    seeds="$here/seeds/$name"
    set -- $extra "$out/corpus-$name"
    [ -d "$seeds" ] && set -- "$@" "$seeds"
    exec "$bin" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/crashes-$name/" "$@"
fi
