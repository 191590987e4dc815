# Driving Wine's programs by keyboard in a Wine virtual desktop under Xvfb,
# for scripts/run, scripts/screenshots and scripts/release-screenshots.
# Sourced by the script that runs inside xvfb-run (it needs common.sh's
# WINE64 and the display). The virtual desktop is one X window, so the
# programs' own windows cannot be waited for from X: the waits are pauses,
# generous for a loaded machine.

# start_desktop PROGRAM [ARGUMENTS...]: starts the program in a 1024x768
# virtual desktop named "twinseek" (the one already open, if any), in the
# background, and waits until the desktop is up and the program has had time
# to open its window.
start_desktop() {
  "$WINE64" explorer /desktop=twinseek,1024x768 "$@" &
  local _
  for _ in $(seq 200); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'twinseek'; then break; fi
    sleep 0.1
  done
  sleep 2
}

# shot FILE: the screen, after a pause for the last key to take effect.
shot() { sleep 1.5; import -window root "$1"; }

# key KEYS...: presses the keys (xdotool names) one after the other.
key() { xdotool key --delay 100 "$@"; sleep 0.8; }

# type_text TEXT: types the text into the focused field.
type_text() { xdotool type --delay 50 "$1"; sleep 0.5; }
