# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the X tests (sourced, after they made their scratch folder
# $work): a scratch home for the window manager and whatever else writes
# there, an Xvfb on a display it picks itself, and no lock file left behind,
# also of a server killed on purpose.

real_home=$(getent passwd "$(id -u)" | cut -d: -f6)
openbox_log=$real_home/.cache/openbox/openbox.log
openbox_log_before=$(stat -c %Y.%s "$openbox_log" 2>/dev/null || echo none)
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$HOME"
xvfb=0
displays_used=()

# poll SECONDS COMMAND...: runs COMMAND until it succeeds, for at most SECONDS.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Servers of this user's other X tests (another build's, run at the same
# time) start and stop one at a time: a server killed on purpose leaves its
# lock file and socket, and removing them must not race with a new server
# that claims the same display number in between.
x_lock_file=/tmp/zelvanos-x-tests-$(id -u).lock
x_lock() {
  exec {x_lock_fd}>>"$x_lock_file" && flock -w 120 "$x_lock_fd"
}
x_unlock() {
  flock -u "$x_lock_fd"
  exec {x_lock_fd}>&-
}

# Starts Xvfb on a display it picks (xvfb: its process, DISPLAY: its
# display) and waits until it answers; fails when it does not.
start_xvfb() {
  rm -f "$work/display"
  x_lock || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" {x_lock_fd}>&- >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  if ! poll 20 grep -q '[0-9]' "$work/display"; then
    x_unlock
    return 1
  fi
  x_unlock
  DISPLAY=:$(tr -dc '0-9' <"$work/display")
  export DISPLAY
  displays_used+=("${DISPLAY#:}:$xvfb")
  poll 10 xdotool getmouselocation >/dev/null 2>&1
}

# Removes the lock file and socket of display N when they are server PID's.
remove_lock() {
  if [ "$(tr -dc '0-9' 2>/dev/null <"/tmp/.X$1-lock")" = "$2" ]; then
    rm -f "/tmp/.X$1-lock" "/tmp/.X11-unix/X$1"
  fi
}

# stop_xvfb [SIGNAL]: ends the server (TERM by default) and removes what a
# killed one leaves.
stop_xvfb() {
  [ "$xvfb" != 0 ] || return 0
  x_lock
  kill "-${1:-TERM}" "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  remove_lock "${DISPLAY#:}" "$xvfb"
  x_unlock
  xvfb=0
}

# Fails, saying what, when a server this test started left its lock file,
# or something wrote the window manager's log in the real home.
check_leftovers() {
  local entry bad=0
  for entry in "${displays_used[@]}"; do
    if [ "$(tr -dc '0-9' 2>/dev/null <"/tmp/.X${entry%%:*}-lock")" = "${entry#*:}" ]; then
      echo "FAIL: /tmp/.X${entry%%:*}-lock was left behind"
      bad=1
    fi
  done
  if [ "$(stat -c %Y.%s "$openbox_log" 2>/dev/null || echo none)" != "$openbox_log_before" ]; then
    echo "FAIL: $openbox_log was written"
    bad=1
  fi
  return $bad
}
