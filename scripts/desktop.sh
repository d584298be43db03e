# Driving the program's windows on an X display with xdotool and xwininfo: waiting for windows,
# finding them by title or size, the tray's stand-in window and the program's popup menu.
# Sourced by the end-to-end scenarios and by scripts/screenshots.
# shellcheck shell=bash

wait_for() {  # seconds command...: true once the command succeeds
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_visible_window() { [ -n "$(visible_window "$1")" ]; }
no_visible_window() { [ -z "$(visible_window "$1")" ]; }

# A window's place and size on the screen as "x y width height".
window_geometry() {  # window id
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /^ +Width/ {w = $2} /^ +Height/ {h = $2}
    END {if (w) print x, y, w, h}'
}

# With no tray on the display, Wine shows its icons in a stand-in window of its own.
tray_window() { visible_window '^Wine System Tray$'; }
tray_shown() { [ -n "$(tray_window)" ]; }
tray_gone() { ! tray_shown; }

# The program's open popup menu as "width height x y", if any: an unnamed window of its own.
program_menu() {
  local id
  for id in $(xwininfo -root -tree | awk '/\(has no name\): \("tovrix.exe"/ {print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable || continue
    xwininfo -id "$id" | awk '/-geometry/ {print $2}' | sed -E 's/[x+]/ /g'
    return 0
  done
  return 1
}
has_program_menu() { [ -n "$(program_menu)" ]; }

# Opens the tray menu with a right click on the program's icon; false if no menu shows. The
# icons are the window's bottom row, 20 pixels high (above it may be a caption that Wine draws).
open_tray_menu() {
  local x y w h
  read -r x y w h <<<"$(window_geometry "$(tray_window)")"
  [ -n "${h:-}" ] || return 1
  xdotool mousemove $((x + 10)) $((y + h - 10)) click 3
  wait_for 5 has_program_menu
}

# The colour of pixel (x, y) of a picture file as "r,g,b".
pixel() {  # file x y
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null
}
