#!/usr/bin/env bash
# Plays recording 1 through a build's real sound player (tst_sound_player),
# on a sound server of its own whose one output is a null sink, and checks
# what reaches the sink (hear-recording.py): each channel on its own side,
# the whole length, and the time from the request to the first sample.
#
#   scripts/windows/hear-recording.sh linux BUILD-FOLDER
#   scripts/windows/hear-recording.sh windows BUILD-FOLDER    under Wine, inside xvfb-run
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
kind=$1
build=$(cd "$2" && pwd)

"$top/scripts/install-deps.sh" pulseaudio pulseaudio-utils python3 > /dev/null
server=$(mktemp -d)
chmod 700 "$server"
pulseaudio_pid=
cleanup() {
    [ -z "$pulseaudio_pid" ] || kill "$pulseaudio_pid" 2> /dev/null || true
    rm -rf "$server"
}
trap cleanup EXIT
# The server's own mixing rate is the recordings' rate: nothing is resampled.
mkdir -p "$server/.config/pulse"
echo 'default-sample-rate = 48000' > "$server/.config/pulse/daemon.conf"
HOME=$server XDG_RUNTIME_DIR=$server pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --disable-shm=yes -L "module-native-protocol-unix socket=$server/socket auth-anonymous=1" \
    -L "module-null-sink sink_name=heard rate=48000 channels=2" > "$server/log" 2>&1 &
pulseaudio_pid=$!
export PULSE_SERVER=unix:$server/socket
for _ in $(seq 100); do
    pactl info > /dev/null 2>&1 && break
    sleep 0.1
done
pactl info > /dev/null || { cat "$server/log"; echo "hear-recording: no sound server" >&2; exit 1; }

case $kind in
    linux) player=(env XDG_RUNTIME_DIR="$server" QT_QPA_PLATFORM=offscreen "$build/tst_sound_player" aRecordingPlaysToItsEnd) ;;
    windows) player=(timeout 120 "$here/wine-run.sh" "$build/tst_sound_player.exe" aRecordingPlaysToItsEnd) ;;
    *) echo "hear-recording: linux or windows, not $kind" >&2; exit 2 ;;
esac
python3 "$here/hear-recording.py" heard "$top/sound/1.wav" "${player[@]}"
