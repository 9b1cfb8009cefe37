# Music of the full-screen show: a playlist plays its tracks one after another
# by itself, Alt+N jumps to the next at once, a single WAV repeats, and the
# music stops when the show ends. What was played is read from Wine's trace of
# the media commands; that it was heard, from the sound file ALSA writes.
source "$(dirname "$0")/lib.sh"
clear_settings
export ORVANDEL_SOUND_FILE="$E2E_WORK/sound.raw"
export WINEDEBUG=trace+mci
music="$E2E_WORK/my music" && pics="$E2E_WORK/pics" && mkdir -p "$music" "$pics"
for i in 1 2 3; do sox -q -n -r 44100 -c 2 "$music/track $i.mp3" synth 1 sine $((300 + 100 * i)); done
sox -q -n -r 44100 -c 2 -b 16 "$music/tone.wav" synth 1 sine 440
sox -q -n -r 44100 -c 2 "$music/long.mp3" synth 8 sine 660
printf 'long.mp3\r\ntrack 1.mp3\r\n' >"$music/long.m3u"
declare -A short
for i in 1 2 3; do short[$i]=$("$WINE_RUN" winepath -s "$(winpath "$music/track $i.mp3")" 2>/dev/null | tr -d '\r'); done
printf '#EXTM3U\r\n#EXTINF:1,One\r\ntrack 1.mp3\r\ntrack 2.mp3\r\ntrack 3.mp3\r\n' >"$music/list.m3u"
convert -size 64x64 xc:'#00FF00' "$pics/green.jpg"
set_setting PicturesPath "$(winpath "$pics")"
set_setting DisplayTime 60

# The media command strings Mirvo.scr sent, one a line, in order.
commands() { tr -d '\r' <"$E2E_WORK/mirvo.out" | sed -n 's/.*:mciSendStringW (L"\(.*\)", [0-9A-F]*, [0-9]*, [0-9A-F]*)$/\1/p'; }
# The track number of every open command, found by the track's short path.
opened() {
  local i line
  commands | grep '^open ' | while read -r line; do
    for i in 1 2 3; do [[ "$line" == *"${short[$i]##*\\} type MPEGVideo"* ]] && printf '%s ' $i; done
  done
}
sound_size() { stat -c %s "$ORVANDEL_SOUND_FILE" 2>/dev/null || echo 0; }
# yes when sound, not silence, is being written (the file starts anew with
# every track, so each poll looks at what came since the one before).
hearing() {
  python3 - "$ORVANDEL_SOUND_FILE" <<'PY'
import os, sys, time
last = os.path.getsize(sys.argv[1]) if os.path.exists(sys.argv[1]) else 0
for _ in range(60):
    time.sleep(0.1)
    if not os.path.exists(sys.argv[1]):
        continue  # the device has not opened its output yet
    with open(sys.argv[1], 'rb') as f:
        size = f.seek(0, 2)
        start = last if last <= size else 0
        f.seek(start)
        if any(f.read()):
            print('yes')
            sys.exit()
        last = size
print('no')
PY
}
# yes when the sound file stays the same size for a second.
silent() { local a b; sleep 0.3; a=$(sound_size); sleep 1; b=$(sound_size); [ "$a" == "$b" ] && echo yes || echo "no ($a -> $b)"; }

set_setting MPEGFile "$(winpath "$music")\\list.m3u"
start_show
check "the playlist is heard" "$(hearing)" yes
for i in $(seq 1 100); do [ "$(opened | wc -w)" -ge 4 ] && break; sleep 0.1; done
check "tracks follow one another and start again at the first" "$(opened | cut -d' ' -f1-4)" "1 2 3 1"
check "each track is played with a notification" "$(commands | grep '^play' | sort -u)" "play mp3 notify"
check "the music shows no window: the show's is the only one" "$(xdotool search --onlyvisible --class mirvo | wc -l)" 1
screenshot "$E2E_WORK/playlist-show.png"
end_show
check "the show ends" "$MIRVO_RC" 0
check "the last command closes the device" "$(commands | tail -n 1)" "close mp3"
check "the music stops with the show" "$(silent)" yes

# Alt+N cuts a long track short: the next one is opened at once.
set_setting MPEGFile "$(winpath "$music")\\long.m3u"
start_show
check "the long track is heard" "$(hearing)" yes
check "one track opened so far" "$(commands | grep -c '^open ')" 1
xdotool windowfocus --sync "$(xdotool search --onlyvisible --class mirvo | head -n 1)"
xdotool key alt+n
sleep 0.5
check "Alt+N opens the next track at once" "$(opened)" "1 "
end_show

# Playlists as other programs write them: line feeds alone, a UTF-8
# byte-order mark, an entry that cannot be played first. Each opens its first
# playable track and goes on to the next.
printf 'track 1.mp3\ntrack 2.mp3\n' >"$music/unix.m3u"
printf '\xEF\xBB\xBFtrack 1.mp3\r\ntrack 2.mp3\r\n' >"$music/marked.m3u"
printf 'this is text, not sound' >"$music/broken.mp3"
printf 'broken.mp3\r\ntrack 2.mp3\r\ntrack 3.mp3\r\n' >"$music/broken.m3u"
for list in unix:"1 2" marked:"1 2" broken:"2 3"; do
  name=${list%%:*} want=${list#*:}
  set_setting MPEGFile "$(winpath "$music")\\$name.m3u"
  start_show
  for i in $(seq 1 60); do [ "$(opened | wc -w)" -ge 2 ] && break; sleep 0.1; done
  check "$name.m3u: its first tracks in order" "$(opened | cut -d' ' -f1-2)" "$want"
  end_show
done

# A playlist of 100,000 entries does not keep the first picture waiting.
# How long a picture takes to appear (from the program's start, the best of
# three) is measured against a silent show.
first_picture_once() {
  local start took
  start=$(now)
  start_mirvo /s
  poll 200 0.05 'screenshot "$E2E_WORK/first.png"; [ "$(colour "$E2E_WORK/first.png" 512 384)" = green ]' || true
  took=$(awk -v s="$start" -v n="$(now)" 'BEGIN { printf "%.2f", n - s }')
  end_show
  echo "$took"
}
first_picture() {
  local runs=() i
  for i in 1 2 3; do runs+=("$(first_picture_once)"); done
  printf '%s\n' "${runs[@]}" | sort -n | head -n 1
}
for i in $(seq 1 100000); do echo "track 1.mp3"; done | sed 's/$/\r/' >"$music/long.m3u"
set_setting MPEGFile ""
silent_start=$(first_picture)
set_setting MPEGFile "$(winpath "$music")\\long.m3u"
long_start=$(first_picture)
echo "first picture after the start: silent show $silent_start s, 100,000-entry playlist $long_start s"
check "a 100,000-entry playlist delays the first picture by at most half a second" \
  "$(awk -v l="$long_start" -v s="$silent_start" 'BEGIN { print (l - s <= 0.5) ? "yes" : "no: " l " s against " s " s" }')" yes

set_setting MPEGFile "$(winpath "$music")\\tone.wav"
start_show 1.5
check "a single file is played with the show's options" "$(commands | grep '^play')" "play mp3 repeat"
check "the one-second tone is still heard after it repeats" "$(hearing)" yes
end_show
check "the music stops with the second show" "$(silent)" yes
finish
