#!/usr/bin/env bash
# Tries the Windows installer under Wine, in a fresh prefix, as a school's IT staff and a pupil
# meet it: a silent install with its files, shortcuts and Apps & Features entry, the program
# starting from it; an upgrade from an older package, the same version again, an older package
# over the newer; and an uninstall that leaves the prefix as it found it. Needs an X display for
# the program's window (xvfb-run). With the other width's package, also that one installed first,
# which this one must replace, so that the computer lists Talmiro once.
# Usage: check_msi.sh PACKAGE.msi TALMIRO.EXE TALMIRO.ICO [OTHER-WIDTH.msi]
set -euo pipefail
msi=$(realpath "$1")
exe=$(realpath "$2")
icon=$(realpath "$3")
other=${4:+$(realpath "$4")}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
# The user's folders in a prefix lead to $HOME: a home of its own keeps all in the test. Like any
# home it is not empty; Wine would remove an empty desktop folder that a shortcut left.
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all
mkdir "$HOME"
touch "$HOME/.profile"
# No Mono or Gecko, which would ask to be installed, and no menu entries made for the Linux
# desktop outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "check_msi.sh: $*" >&2
    exit 1
}

# A 64-bit prefix, as most computers now are: the 32-bit package goes to Program Files (x86).
wine64=/usr/lib/wine/wine64
if msiinfo suminfo "$msi" | grep -q '^Template: Intel;'; then
    arch=x86 program_files='Program Files (x86)' other_program_files='Program Files'
    wine=/usr/lib/wine/wine
else
    arch=x64 program_files='Program Files' other_program_files='Program Files (x86)'
    wine=$wine64
fi
folder="$WINEPREFIX/drive_c/$program_files/Talmiro"
registry="$WINEPREFIX/system.reg"
# Registry and file tree, less what Wine keeps for itself: the times of its registry keys, the
# Windows Installer's own store (C:\windows\Installer and the Installer keys) once empty, and its
# records of the display devices and network cards, which it rewrites whenever it starts.
snapshot() {
    (cd "$WINEPREFIX" && find -L drive_c -type f -exec md5sum {} + | sort -k2)
    (cd "$WINEPREFIX" && find -L drive_c -type d | grep -v '^drive_c/windows/Installer$' | sort)
    for hive in system.reg user.reg; do
        awk -v hive="$hive" '
            /^\[/ { key = $0; sub(/\] [0-9]+$/, "]", key)
                    if (key !~ /\\\\Installer\\\\/) print hive, key; next }
            /^#time=/ || /^$/ { next }
            { print hive, key, $0 }' "$WINEPREFIX/$hive"
    done | grep -v 'CurrentControlSet\\\\\(Enum\\\\DISPLAY\|Control\\\\Class\\\\{4D36E96[8E]\)' |
        grep -v 'CurrentVersion\\\\NetworkCards'
}
# Runs msiexec silently, with its log in $work/msiexec.log; prints the seconds it took.
msiexec() {
    local started
    started=$(date +%s.%N)
    "$wine64" msiexec "$@" /qn /l "Z:$work/msiexec.log" </dev/null >/dev/null 2>&1 || return $?
    wineserver -w
    awk -v started="$started" -v now="$(date +%s.%N)" 'BEGIN { printf "%.1f", now - started }'
}
entries() {  # Apps & Features entries named Talmiro
    awk '/^\[/ { key = $0 } /^"DisplayName"="Talmiro"$/ && key ~ /CurrentVersion\\\\Uninstall\\\\/' \
        "$registry" | grep -c . || true
}
value() {  # NAME: the value in the Talmiro entry of Apps & Features
    awk -v name="\"$1\"" -F= '/^\[/ { inside = 0 } /^"DisplayName"="Talmiro"$/ { inside = 1 }
        inside && $1 == name { print substr($0, length(name) + 2) }' "$registry" | head -1
}
escaped() {  # TEXT as Wine's registry files write it
    printf %s "$1" | iconv -t UTF-16BE | od -An -tx2 --endian=big -v | tr -s ' \n' ' ' |
        sed 's/^ //; s/ $//; s/ /\\x/g; s/^/"\\x/; s/$/"/'
}
holds() {  # FILE TEXT: the file holds TEXT in UTF-16, as a shortcut keeps its description
    od -An -tx1 -v "$1" | tr -d ' \n' |
        grep -q "$(printf %s "$2" | iconv -t UTF-16LE | od -An -tx1 -v | tr -d ' \n')"
}
shortcut() {  # FOLDER: the Talmiro shortcut in the all-users or the user's FOLDER, if any
    local users="$WINEPREFIX/drive_c/users"
    ls -d "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/$1/Talmiro.lnk" \
        "$users"/*/"AppData/Roaming/Microsoft/Windows/$1/Talmiro.lnk" \
        "$users"/*/"$1/Talmiro.lnk" 2>/dev/null | head -1 || true
}

# The tables as Windows reads them: the shortcuts' key paths under HKMU (root -1), and the exe a
# versioned file, with its version and language and no hash in place of them.
tables="$work/tables"
for table in Registry File MsiFileHash; do msiinfo export "$msi" "$table"; done | tr -d '\r' >"$tables"
[ "$(awk -F'\t' '$6 ~ /Shortcut$/ { print $2 }' "$tables" | sort -u)" = -1 ] ||
    fail "the shortcuts' key paths are not under HKMU"
grep -qP '^TalmiroExe\tProgram\tTalmiro.exe\t\d+\t2\.0\.0\.0\t2052\t' "$tables" ||
    fail "Talmiro.exe is not packed as version 2.0.0.0, language 2052"
! grep -qP '^TalmiroExe\t0\t' "$tables" || fail "Talmiro.exe is packed with a hash, as if unversioned"
msiinfo export "$msi" Property | tr -d '\r' |
    grep -qP '^SecureCustomProperties\t(.*;)?DESKTOPSHORTCUT(;|$)' ||
    fail "DESKTOPSHORTCUT is no secure property: an elevated install would drop it"

package_code() { msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'; }
build() {  # SCRIPT OUTPUT [CMAKE ARGUMENTS...]: a package from this exe, icon and licence
    local script=$1 output=$2
    shift 2
    cmake "$@" -DARCH=$arch -DEXE="$exe" -DICON="$icon" -DLICENSE="$here/../LICENSE" -DOUTPUT="$output" \
        -DWORK="$output.work" -P "$script" >"$output.log" 2>&1
}
# A version newer only in its fourth field would install beside this one: it is refused.
if build "$here/make_msi.cmake" "$work/fourth.msi" -DVERSION=2.0.0.1; then
    fail "a package for 2.0.0.1 was built, which Windows would install beside 2.0.0.0"
fi
grep -q "Raise the third field" "$work/fourth.msi.log" || fail "no reason given for refusing 2.0.0.1"
# One more property and nothing else: another package, which Windows must not take for this one.
mkdir -p "$work/variant/cmake"
cp -r "$here" "$work/variant/packaging"
cp "$here/../cmake/VersionInfo.cmake" "$work/variant/cmake/"
sed -i 's|<Property Id="ARPNOMODIFY" Value="1"/>|&<Property Id="VARIANT" Value="1"/>|' \
    "$work/variant/packaging/talmiro.wxs.in"
build "$work/variant/packaging/make_msi.cmake" "$work/variant.msi" || fail "no variant package"
build "$here/make_msi.cmake" "$work/same.msi" || fail "the package could not be built again"
[ "$(package_code "$work/same.msi")" = "$(package_code "$msi")" ] ||
    fail "this package's code is not the one its inputs give"
[ "$(package_code "$work/variant.msi")" != "$(package_code "$msi")" ] ||
    fail "a package with another table has this package's code"

# An older version from the same sources, whose licence file tells it apart.
{ cat "$here/../LICENSE"; echo "(1.9)"; } >"$work/older-licence"
cmake -DVERSION=1.9.0.0 -DARCH=$arch -DEXE="$exe" -DICON="$icon" -DLICENSE="$work/older-licence" \
    -DOUTPUT="$work/older.msi" -DWORK="$work/older" -P "$here/make_msi.cmake" >/dev/null
"$wine64" wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
snapshot >"$work/before"

# A pupil's double-click and a lab's silent install are the same package: try the desktop
# shortcut that an admin asks for, then the plain install as an upgrade of an older one.
installed=$(msiexec /i "$msi" DESKTOPSHORTCUT=1) || fail "the install with a desktop shortcut failed"
[ -n "$(shortcut Desktop)" ] || fail "DESKTOPSHORTCUT=1 made no desktop shortcut"
removed=$(msiexec /x "$msi") || fail "the uninstall failed"
if [ -n "$other" ]; then
    msiexec /i "$other" >/dev/null || fail "the other width's package did not install"
    msiexec /i "$msi" >/dev/null || fail "this package did not install over the other width's"
    [ "$(entries)" -eq 1 ] || fail "both widths left $(entries) entries in Apps & Features"
    [ ! -e "$WINEPREFIX/drive_c/$other_program_files/Talmiro/Talmiro.exe" ] ||
        fail "the other width's Talmiro.exe is still there"
    msiexec /x "$msi" >/dev/null || fail "the uninstall after the other width failed"
fi
msiexec /i "$work/older.msi" >/dev/null || fail "the older package did not install"
msiexec /i "$msi" >/dev/null || fail "the upgrade from the older package failed"

[ "$(entries)" -eq 1 ] || fail "the upgrade left $(entries) entries in Apps & Features"
cmp -s "$exe" "$folder/Talmiro.exe" || fail "the installed Talmiro.exe is not the one built"
# The texts with Windows line ends, which Windows 7's Notepad needs.
sed 's/$/\r/' "$here/../LICENSE" | cmp -s - "$folder/LICENSE.txt" ||
    fail "the upgrade left the older licence file, or its lines do not end as on Windows"
sed 's/$/\r/' "$here/windows/THIRD-PARTY-NOTICES.txt" | cmp -s - "$folder/THIRD-PARTY-NOTICES.txt" ||
    fail "the third-party notices are missing, or their lines do not end as on Windows"
[ -z "$(shortcut Desktop)" ] || fail "a desktop shortcut nobody asked for"
link=$(shortcut "Start Menu/Programs")
[ -n "$link" ] || fail "no Start-menu shortcut"
grep -aqF "C:\\$program_files\\Talmiro\\Talmiro.exe" "$link" || fail "the shortcut leads elsewhere"
holds "$link" 查询化学式的软件 || fail "the shortcut lacks its description"
holds "$link" "C:\\$program_files\\Talmiro\\" || fail "the shortcut starts Talmiro in another folder"
for expected in 'DisplayVersion="2.0.0.0"' "Publisher=$(escaped 小林工作室)" \
                'HelpLink="http://www.example.com/xiaolin/"' 'NoModify=dword:00000001' \
                'Language=dword:00000804'; do
    name=${expected%%=*}
    [ "$name=$(value "$name")" = "$expected" ] ||
        fail "Apps & Features shows $name=$(value "$name"), not ${expected#*=}"
done
product_icon=$(awk -F'"' '/^"ProductIcon"=/ { print $4 }' "$registry" | sed 's/\\\\/\\/g')
[ -f "$("$wine64" winepath -u "$product_icon" 2>/dev/null)" ] || fail "Apps & Features has no icon"

"$wine" "C:\\$program_files\\Talmiro\\Talmiro.exe" </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Talmiro": ("talmiro.exe"' && break
    sleep 0.1
done
xwininfo -root -tree | grep -q '"Talmiro": ("talmiro.exe"' || fail "the installed Talmiro shows no window"
wineserver -k
wineserver -w

msiexec /i "$msi" >/dev/null || fail "installing the same version again failed"
[ "$(entries)" -eq 1 ] || fail "the same version twice left $(entries) entries"

snapshot >"$work/newer"
# Refused for the newer version, not for any other failure: 1603 (a fatal error; a Linux exit
# status keeps its low byte, 67), with the newer product found and the launch conditions the last
# action, whose message says why. Wine's log leaves the message out: the table holds it.
msiexec /i "$work/older.msi" >/dev/null && fail "the older package installed over the newer"
refusal=$?
[ "$refusal" -eq $((1603 % 256)) ] || fail "the older package failed with $refusal, not 1603"
product=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }')
grep -qF "Property(S): WIX_DOWNGRADE_DETECTED = $product" "$work/msiexec.log" &&
    grep -a '^Action start' "$work/msiexec.log" | tail -1 | grep -q 'LaunchConditions\.$' ||
    fail "the older package was refused, but not for the newer version installed"
msiinfo export "$work/older.msi" LaunchCondition | tr -d '\r' |
    grep -qxF "NOT WIX_DOWNGRADE_DETECTED	已经安装了更新版本的 Talmiro，这个旧版本不能安装。" ||
    fail "the older package does not say that a newer version is installed"
snapshot | diff "$work/newer" - >&2 || fail "the refused older package changed the above"

msiexec /x "$msi" >/dev/null || fail "the uninstall failed"
snapshot | diff "$work/before" - >&2 || fail "the uninstall left the above behind"
echo "the installer ($(stat -c %s "$msi") bytes) under Wine: install ${installed} s, uninstall" \
     "${removed} s; upgrade, same version again, refused downgrade and uninstall all as they should be"
