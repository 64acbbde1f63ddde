#!/usr/bin/env bash
# The choices of scripts/install-deps.sh, with stand-ins for apt-get, apt-cache, dpkg, dpkg-query,
# sudo and the 32-bit probe on PATH: which packages it asks for, how it meets failing package
# lists, a wine32 that cannot be installed and source packages missing from the mirror, and when
# it stops.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One stand-in serves every command by the name it is called under. It keeps what it was asked
# in $STANDIN/calls, takes the installed packages from $STANDIN/installed, refuses the packages
# listed in $STANDIN/refused, fails `apt-get update` as often as $STANDIN/update-failures says,
# and offers two versions of each source package, failing the downloads that
# $STANDIN/missing-sources lists.
mkdir -p "$work/bin" "$work/png/zlib-1/" "$work/png/libpng1.6-1"
touch "$work/png/zlib-1/zlib.h" "$work/png/libpng1.6-1/png.h"
cat >"$work/bin/standin" <<'STANDIN'
#!/usr/bin/env bash
name=$(basename "$0")
echo "$name $*" >>"$STANDIN/calls"
case "$name $1" in
sudo*) exec "$@" ;;
"dpkg-query "*) grep -qx "${*: -1}" "$STANDIN/installed" && echo "install ok installed" ;;
"dpkg --print-foreign-architectures") cat "$STANDIN/architectures" 2>/dev/null ;;
"dpkg --add-architecture") echo "$2" >>"$STANDIN/architectures" ;;
"apt-get update")
    failures=$(cat "$STANDIN/update-failures")
    [ "$failures" = 0 ] && exit 0
    [ "$failures" = always ] || echo $((failures - 1)) >"$STANDIN/update-failures"
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size" >&2
    exit 100 ;;
"apt-cache showsrc") printf 'Version: %s\n' 1.0-1 1.0-1+deb12u1 ;;
"apt-get indextargets") echo Sources ;;
"apt-get source")
    if grep -qx -- "$3" "$STANDIN/missing-sources"; then
        echo "E: Failed to fetch .../${3%=*}_${3#*=}.dsc  404  Not Found" >&2
        exit 100
    fi
    mkdir -p "${3%=*}-${3#*=}" && touch "${3%=*}-${3#*=}/zlib.h" "${3%=*}-${3#*=}/png.h" ;;
"apt-get install")
    for package in "$@"; do
        if grep -qx -- "$package" "$STANDIN/refused"; then
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
        fi
    done
    [[ " $* " == *" -s "* ]] || printf '%s\n' "${@: -$#}" | grep -v '^-' >>"$STANDIN/installed" ;;
esac
exit 0
STANDIN
chmod +x "$work/bin/standin"
for name in sudo dpkg dpkg-query apt-get apt-cache; do ln -s standin "$work/bin/$name"; done
printf '#!/bin/sh\nexit 0\n' >"$work/bin/probe-yes"
printf '#!/bin/sh\necho "Exec format error" >&2\nexit 126\n' >"$work/bin/probe-no"
chmod +x "$work/bin/probe-yes" "$work/bin/probe-no"

all_packages=$(sed -n '/^packages=(/,/^)/p' "$root/scripts/install-deps.sh" | sed '1d;$d' | tr -s ' ' '\n' | sed '/^$/d')

passed=0 failed=0
# expect CASE PROBE INSTALLED UPDATE_FAILURES REFUSED EXIT [CHECKS...]: each check is a grep
# pattern that must match the output and the stand-ins' calls; a leading ! means it must not.
# With MISSING_SOURCES set, the zlib and libpng sources are fetched into an empty folder.
expect() {
    local case=$1 probe=$2 installed=$3 update_failures=$4 refused=$5 status=$6
    shift 6
    local dir="$work/$case" got png_sources=$work/png
    mkdir -p "$dir"
    if [ -n "${MISSING_SOURCES+set}" ]; then
        png_sources=$dir/png
        printf '%s\n' $MISSING_SOURCES >"$dir/missing-sources"
    fi
    export STANDIN=$dir
    case $installed in
    all) printf '%s\n' $all_packages wine32:i386 >"$dir/installed" ;;
    all-but-wine32) printf '%s\n' $all_packages >"$dir/installed" ;;
    all-but-zip) printf '%s\n' $all_packages | grep -vx zip >"$dir/installed" ;;
    esac
    echo "$update_failures" >"$dir/update-failures"
    printf '%s\n' $refused >"$dir/refused"
    touch "$dir/calls"
    PATH="$work/bin:$PATH" STRINDLE_32BIT_PROBE="$work/bin/probe-$probe" STRINDLE_APT_RETRY_SECONDS=0 \
        STRINDLE_PNG_SOURCES="$png_sources" STRINDLE_RUNS_32BIT= \
        "$root/scripts/install-deps.sh" >"$dir/output" 2>&1
    got=$?
    local problems=()
    [ "$got" = "$status" ] || problems+=("exit status $got, not $status")
    for check in "$@"; do
        if [[ $check == !* ]]; then
            ! grep -qE -- "${check#!}" "$dir/output" "$dir/calls" || problems+=("found: ${check#!}")
        else
            grep -qE -- "$check" "$dir/output" "$dir/calls" || problems+=("not found: $check")
        fi
    done
    if [ ${#problems[@]} -eq 0 ]; then
        passed=$((passed + 1))
        echo "ok: $case"
    else
        failed=$((failed + 1))
        echo "FAILED: $case: ${problems[*]}"
        sed 's/^/    output: /' "$dir/output"
        sed 's/^/    called: /' "$dir/calls"
    fi
}

expect everything-installed yes all 0 "" 0 \
    '!apt-get' '!add-architecture'
expect index-fails-twice-then-passes no all-but-zip 2 "" 0 \
    'try 2 of 3' '!could not be fetched' 'apt-get install -y .* zip' '!install .*wine32'
expect index-fails-always no all-but-zip always "" 0 \
    'could not be fetched after 3 tries' 'apt-get install -y .* zip'
expect no-32bit-support no all-but-wine32 0 "" 0 \
    'Not installing wine32:i386: the kernel starts no 32-bit programs \(Exec format error\)' \
    '!add-architecture' '!apt-get'
expect wine32-not-installable yes all-but-zip always wine32:i386 0 \
    'dpkg --add-architecture i386' 'apt-get install -y .* zip' \
    '^wine32:i386 cannot be installed \(Unable to correct problems, you have held broken packages.\): the 32-bit programs are built, their tests are not run.$'
expect wine32-installable yes all-but-wine32 0 "" 0 \
    'dpkg --add-architecture i386' 'apt-get install -y .* wine32:i386'
expect package-not-installable no all-but-zip 0 zip 1 \
    '^cannot install zip: Unable to correct problems' 'step "installing zip" failed'
MISSING_SOURCES="zlib=1.0-1+deb12u1" expect newest-sources-not-on-mirror yes all 0 "" 0 \
    'apt-get source -qq zlib=1.0-1\+deb12u1' 'The zlib 1.0-1\+deb12u1 sources could not be downloaded' \
    'apt-get source -qq zlib=1.0-1$' 'apt-get source -qq libpng1.6=1.0-1\+deb12u1' '!libpng1.6=1.0-1$'
MISSING_SOURCES="libpng1.6=1.0-1+deb12u1 libpng1.6=1.0-1" expect no-sources-on-mirror yes all 0 "" 1 \
    '404  Not Found' 'No version of the libpng1.6 sources could be downloaded' 'step "unpacking the zlib'

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
