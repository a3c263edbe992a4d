#!/usr/bin/env bash
# Writes, as Debian's .buildinfo does, what a rebuilder needs to get the same bytes: the source and
# its commit, the files made with their checksums, and every installed package that built them,
# by name, architecture and version: the tools named here with all they depend on.
# Usage: buildinfo.sh VERSION COMMIT FILE...   (the files in the current folder)
set -euo pipefail
version=$1
commit=$2
shift 2
native=$(dpkg --print-architecture)
tools=(g++-12 cmake ninja-build qt6-base-dev qt6-base-dev-tools cmake-data dpkg-dev binutils
       g++-12-aarch64-linux-gnu qt6-base-dev:arm64 qemu-user-static
       g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix zip gzip xz-utils tar wixl msitools
       osslsigncode apt-utils)

declare -A installed depends
while IFS=$'\t' read -r package release needs; do
    installed[$package]=$release
    depends[$package]=$needs
done < <(dpkg-query -W -f='${db:Status-Abbrev}\t${Package}:${Architecture}\t${Version}\t${Pre-Depends}, ${Depends}\n' |
         awk -F'\t' '$1 ~ /^ii/ { print $2 "\t" $3 "\t" $4 }')
# NAME ARCHITECTURE: the installed package that NAME means to a package of ARCHITECTURE.
resolve() {
    local candidate
    for candidate in "$1:$2" "$1:all" "$1:$native"; do
        [ -n "${installed[$candidate]:-}" ] && echo "$candidate" && return
    done
    for candidate in "${!installed[@]}"; do
        [ "${candidate%:*}" = "$1" ] && echo "$candidate" && return
    done
    return 0
}
declare -A closure
queue=()
for tool in "${tools[@]}"; do
    [[ $tool == *:* ]] && queue+=("$(resolve "${tool%:*}" "${tool#*:}")") ||
        queue+=("$(resolve "$tool" "$native")")
done
while [ ${#queue[@]} -gt 0 ]; do
    package=${queue[0]}
    queue=("${queue[@]:1}")
    [ -z "$package" ] || [ -n "${closure[$package]:-}" ] && continue
    closure[$package]=1
    IFS=, read -ra needs <<<"${depends[$package]}"
    for need in "${needs[@]}"; do
        # Of alternatives, the first one installed.
        IFS='|' read -ra alternatives <<<"$need"
        for alternative in "${alternatives[@]}"; do
            read -r name _ <<<"$alternative"
            [ -n "$name" ] || continue
            name=${name%:any}
            found=$(resolve "$name" "${package##*:}")
            [ -n "$found" ] && queue+=("$found") && break
        done
    done
done

checksums() {  # TOOL FILE...: the lines of Debian's field of checksums by TOOL
    local tool=$1 file
    shift
    for file in "$@"; do
        echo " $($tool "$file" | cut -d' ' -f1) $(stat -c %s "$file") $file"
    done
}
echo "Format: 1.0"
echo "Source: talmiro"
echo "Version: $version"
echo "Commit: $commit"
for field in Md5:md5sum Sha1:sha1sum Sha256:sha256sum; do
    echo "Checksums-${field%:*}:"
    checksums "${field#*:}" "$@"
done
echo "Build-Origin: $(dpkg-vendor --query Vendor)"
echo "Build-Architecture: $native"
echo "Installed-Build-Depends:"
for package in "${!closure[@]}"; do
    name=${package%:*} architecture=${package##*:}
    [ "$architecture" = "$native" ] || [ "$architecture" = all ] || name=$package
    echo " $name (= ${installed[$package]}),"
done | LC_ALL=C sort | sed '$ s/,$//'
echo "Environment:"
echo " SOURCE_DATE_EPOCH=\"$SOURCE_DATE_EPOCH\""
