# Sourced by the scripts that install Debian packages: package lists that may be fetched only in
# part, and installs that name the package apt refuses and apt's reason.
# STRINDLE_APT_RETRY_SECONDS sets the first pause between tries of the lists (it doubles).

installed() {  # installed PACKAGE: true when dpkg has it installed
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# A mirror in the middle of a sync, or a passing network fault, can fail one index (say, the
# i386 list of the security suite) while the others arrive. Each try is repeated after a pause;
# after the last, the install goes on with the lists at hand: only a package that cannot be
# installed then stops it.
apt_update() {
    local tries=3 pause=${STRINDLE_APT_RETRY_SECONDS:-3} try log
    for ((try = 1; try <= tries; try++)); do
        if log=$(sudo_if_needed apt-get update -qq 2>&1); then
            return 0
        fi
        if ((try < tries)); then
            echo "apt-get update failed (try $try of $tries: $(grep -m1 '^E: ' <<<"$log")); trying again in $pause s" >&2
            sleep "$pause"
            pause=$((pause * 2))
        fi
    done
    echo "apt-get update: some package lists could not be fetched after $tries tries; going on with the lists at hand." >&2
    grep '^[EW]: ' <<<"$log" | head -3 | sed 's/^/    /' >&2 || true
}

# The reason apt gives for not installing PACKAGE, on one line (empty when apt would install it).
apt_refusal() {
    local said
    said=$(LC_ALL=C apt-get install -s -qq --no-install-recommends "$1" 2>&1) && return 0
    grep '^E: ' <<<"$said" | sed 's/^E: //' | paste -sd ' ' -
}

# Installs the packages; when apt refuses, names each package it cannot install and why.
apt_install() {
    local log package reason refused=()
    if log=$(sudo_if_needed env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
        apt-get install -y -qq --no-install-recommends "$@" 2>&1 >/dev/null); then
        return 0
    fi
    for package in "$@"; do
        reason=$(apt_refusal "$package")
        if [ -n "$reason" ]; then
            echo "cannot install $package: $reason" >&2
            refused+=("$package")
        fi
    done
    if [ ${#refused[@]} -eq 0 ]; then
        echo "$log" >&2  # each alone would install: apt's own words say what went wrong
    fi
    return 1
}
