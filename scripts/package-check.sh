#!/usr/bin/env bash
# Builds the Debian package, checks it with Debian's own checker (lintian:
# any error or warning fails), validates its desktop entry and AppStream
# metainfo, installs it as a user would (apt-get install ./zelton_*.deb),
# and uses the installed program as an ordinary user (nobody, with a home
# of its own) on a virtual display: start, type a value, close, start
# again and find it. The settings must go to the per-user location,
# ~/.config/zelton/settings.ini. Then opens a sizing file by its type, as a
# file manager does, and by name on the command line, writes a sheet from
# the command line as that user, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zelton zelton_package_docs
rm -f build/zelton_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/zelton_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Depends

fail() { echo "package check: $*" >&2; exit 1; }

# Debian's checker; it runs as root, only noting that it would rather not.
status=0
report=$(lintian --info --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
if [ "$status" -ne 0 ] || grep -q '^[EW]: ' <<<"$report"; then
  fail "lintian reports errors or warnings (exit $status)"
fi

desktop-file-validate resources/zelton.desktop
appstreamcli validate --no-net build/ru.zelton.Selector.metainfo.xml

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./$deb" >/dev/null
home=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  apt-get remove -y -qq zelton >/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
chown nobody:nogroup "$home"
[ "$(command -v zelton)" = /usr/bin/zelton ] || fail "zelton is not installed in /usr/bin"

source scripts/virtual-display.sh
start_virtual_display 200 -ac

# The program as nobody: a clean environment with the user's own home.
as_user() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$home" DISPLAY="$display" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}

# start [caption [command...]]: the program (by default plain zelton) and
# its window, found by its caption.
start() {
  local caption=${1:-Подбор клапана регулирующего}
  shift || true
  as_user "${@:-zelton}" &
  app=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "$caption" | head -n 1) || true
  sleep 0.5
  # an error box is a window captioned with the program's title
  if xdotool search --onlyvisible --name '^Подбор Zelton$' >/dev/null 2>&1; then
    fail "the program showed an error box"
  fi
  [ -n "$win" ] || fail "the window did not appear"
}

close() {
  # the program itself: gio open starts it and ends before it
  local pid
  pid=$(xdotool getwindowpid "$win")
  python3 scripts/xclose.py "$win"
  local code=0
  timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end on close"
  wait "$app" || code=$?
  app=
  [ "$code" -eq 0 ] || fail "the program ended with $code"
}

settings="$home/.config/zelton/settings.ini"
start
xdotool windowfocus --sync "$win"
xdotool type --delay 40 '1.50'
xdotool key Return
close
[ -f "$settings" ] || fail "no settings in the per-user location $settings"
[ ! -e /usr/bin/settings.ini ] || fail "settings written beside the program"
grep -qx 'dPr1=1.5' <(tr -d '\r' < "$settings") || fail "the typed value is not in $settings"
owner=$(stat -c %U "$settings")
[ "$owner" = nobody ] || fail "$settings belongs to $owner"

start          # finds the value again and closes without an error
close
grep -qx 'dPr1=1.5' <(tr -d '\r' < "$settings") || fail "the value was lost at the next start"

as_user zelton --sheet "$home/sheet.pdf" || fail "zelton --sheet failed as an ordinary user"
pdftotext "$home/sheet.pdf" - | grep -q '1.50' || fail "the sheet lacks the stored value"

# A sizing file: its type, the program the desktop opens it with, and the
# window with its values and its name in the caption, opened by type (gio
# open: the desktop entry's MimeType and Exec=zelton %f) and by name.
sizing="$home/Котельная 7.zelton"
printf '[Main]\r\nLastSys=1\r\n[Values]\r\nQ2=4.25\r\ndPr2=2\r\n' >"$sizing"
chown nobody:nogroup "$sizing"
type=$(as_user gio info -a standard::content-type "$sizing" | sed -n 's/^ *standard::content-type: //p')
[ "$type" = application/x-zelton-sizing ] || fail "the sizing file's type is '$type'"
handler=$(as_user xdg-mime query default application/x-zelton-sizing)
[ "$handler" = zelton.desktop ] || fail "sizing files open with '$handler'"
before=$(md5sum <"$sizing")
for opener in "gio open" zelton; do
  rm "$settings" # made again with zeros at the start
  # shellcheck disable=SC2086 # the opener is a command and its argument
  start 'Подбор клапана регулирующего v1.02 — Котельная 7.zelton' $opener "$sizing"
  close
  grep -qx 'Q2=4.25' <(tr -d '\r' < "$settings") || fail "$opener: the window did not hold the sizing file's values"
  [ "$(md5sum <"$sizing")" = "$before" ] || fail "$opener: the sizing file was written"
done

as_user zelton --sheet "$home/sizing.pdf" "$sizing" || fail "zelton --sheet with a sizing file failed"
pdftotext "$home/sizing.pdf" - | grep -q 'Объект: Котельная 7' || fail "the sheet does not name the sizing file"
echo "package check: installed, started and closed as nobody; settings in $settings; sizing files opened by type and by name"
