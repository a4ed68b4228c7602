#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The Windows build under Wine, on the tests' own Xvfb: its unit tests, then
# the no-window and end-to-end checks (from TESTS, the native build's tests
# folder) against quorvel.exe from ZIP, then against quorvel.exe as MSI
# installs it silently into a fresh Wine prefix, with its Start-menu
# shortcut, its entry under installed apps, an upgrade by a newer version,
# and a silent removal that must leave no file, shortcut or registry key
# behind.  WORK is the Windows build's folder, where Wine's prefixes live.
#   scripts/windows/test.sh ZIP MSI WORK TESTS
set -eu
zip=$1
msi=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(cd "$3" && pwd)
tests=$(cd "$4" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
checks="driver_tests:Driver.NoDisplayMeansNoWindow
e2e_tests:EndToEnd.WindowShowsFrameTrailAndStrip
e2e_tests:EndToEnd.InputTakesSamplesAndNeverEnds
e2e_tests:EndToEnd.ClosingEndsWithStatusZero"

# printf, not echo: dash's echo reads backslashes, and Windows paths such
# as Z:\check\... hold "\c", which ends its output there.
fail() {
	printf 'FAIL: %s\n' "$*" >&2
	exit 1
}

property() {
	msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"
}

# How Windows Installer writes a code in the registry: each group of the
# GUID reversed, the last two byte by byte.
packed() {
	python3 -c 'import sys; g = sys.argv[1].strip("{}").replace("-", "")
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$1"
}

# Wine's session outlives a program by a few seconds and keeps the display
# it began on, so each check waits for it to end before the next.
run_checks() {
	for check in $checks; do
		echo "under Wine: ${check#*:}"
		QUORVEL_COMMAND="$1" "$tests/${check%%:*}" --gtest_filter="${check#*:}" --gtest_brief=1 ||
			fail "${check#*:}"
		/usr/lib/wine/wineserver -w
	done
}

export WINEPREFIX=$work/wine
echo "== the unit tests"
(cd "$work/build" && ctest --output-on-failure -L unit) || fail "the unit tests"

echo "== quorvel.exe from the zip"
rm -rf "$work/unpacked" && unzip -q "$zip" -d "$work/unpacked"
run_checks "$wine $work/unpacked/quorvel.exe"

echo "== quorvel.exe as the MSI installs it"
export WINEPREFIX=$work/wine-msi
rm -rf "$WINEPREFIX"
"$wine" wineboot -i
"$wine" msiexec /i "$msi" /qn || fail "msiexec /i"
# Read the registry only once the install's Wine session has ended, not
# while its server may still be writing it out.
/usr/lib/wine/wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Quorvel"
for f in quorvel.exe SDL.dll LICENSES.txt; do
	[ -f "$installed/$f" ] || fail "$f was not installed"
done
# The Start menu's shortcut runs the program from where it was installed.
# Wine puts it in the user's Start menu; Windows, installing for all users,
# in theirs.
link=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Quorvel.lnk')
[ -n "$link" ] && strings "$link" | grep -q -x -F 'C:\Program Files\Quorvel\quorvel.exe' ||
	fail "no Start-menu shortcut to the installed program"
product=$(property "$msi" ProductCode)
entry=$("$wine" reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product" | tr -d '\r')
for value in "DisplayName.*Quorvel" "DisplayVersion.*$(property "$msi" ProductVersion)" \
	"Publisher.*The Quorvel developers" "URLInfoAbout.*https://github.com/quorvel/quorvel"; do
	printf '%s\n' "$entry" | grep -q -E "^ +$value\$" || fail "the entry under installed apps lacks $value: $entry"
done
icon=$("$wine" reg query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$product")" /v ProductIcon 2>&1 | tr -d '\r')
printf '%s\n' "$icon" | grep -q 'quorvel\.ico' || fail "installed apps show no icon for Quorvel: $icon"
# Run as the Start menu runs it, by its Windows path.
printf '#!/bin/sh\nexec %s "C:\\\\Program Files\\\\Quorvel\\\\quorvel.exe" "$@"\n' "$wine" >"$work/installed"
chmod +x "$work/installed"
run_checks "$work/installed"

# A newer version replaces this one: one entry under installed apps is left.
newer=$(property "$msi" ProductVersion | awk -F. '{ print $1 + 1 ".0.0" }')
"$here/msi.sh" "$zip" "$work/build/quorvel.ico" "$newer" "$work/newer.msi" >/dev/null
"$wine" msiexec /i "$work/newer.msi" /qn || fail "msiexec /i newer.msi"
entries=$("$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r' |
	grep -c -E '^ +DisplayName +REG_SZ +Quorvel$' || true)
[ "$entries" = 1 ] || fail "after an upgrade, $entries entries under installed apps"
"$wine" msiexec /x "$work/newer.msi" /qn || fail "msiexec /x"
/usr/lib/wine/wineserver -w
codes="-e quorvel -e $(packed "$product") -e $(packed "$(property "$work/newer.msi" ProductCode)")"
codes="$codes -e $(packed "$(property "$msi" UpgradeCode)")"
left=$(find "$WINEPREFIX/drive_c" -iname '*quorvel*'; grep -i -l $codes "$WINEPREFIX"/*.reg || true)
[ -z "$left" ] || fail "removing it left: $left"
echo "installed, upgraded and removed without a trace"
