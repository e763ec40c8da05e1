# The demonstration unit's link, sourced by scripts/run (and its test): whether the program's
# link is the one scripts/run set up, and starting the emulated unit on a port it really opened
# with the link set to that port.
#
# The link is scripts/run's while Desktop515.conf holds TCP (ConnectType 3) to 127.0.0.1 on the
# port recorded under [DemoUnit] (15515 in a file written before that record existed). Anything
# else is a link the user set up, and it is left alone.

demo_default_port=15515

# ini_value FILE SECTION KEY: the value, empty when absent.
ini_value() {
  awk -F= -v section="[$2]" -v key="$3" '
    /^\[/ { inside = ($0 == section); next }
    inside && $1 == key { sub(/^[^=]*=/, ""); print; exit }
  ' "$1" 2>/dev/null
}

# ini_set FILE SECTION KEY VALUE: sets the key, adding it (and its section) when missing; every
# other line stays as it was. The file is replaced whole, so a reader never sees half of it.
ini_set() {
  local file=$1 tmp
  tmp=$(mktemp "$file.XXXXXX") || return 1
  awk -v section="[$2]" -v key="$3" -v value="$4" '
    function put() { print key "=" value; done = 1 }
    /^\[/ { if (inside && !done) put(); inside = ($0 == section); seen = seen || inside }
    inside && !done && index($0, key "=") == 1 { put(); next }
    { print }
    END {
      if (inside && !done) put()
      else if (!seen) { print ""; print section; put() }
    }
  ' "$file" > "$tmp" && mv "$tmp" "$file" || { rm -f "$tmp"; return 1; }
}

# demo_link_ours CONFIG: true when no link is set up yet or the link is scripts/run's.
demo_link_ours() {
  local config=$1 recorded
  [[ -e $config ]] || return 0
  recorded=$(ini_value "$config" DemoUnit Port)
  [[ $(ini_value "$config" Comm ConnectType) == 3 ]] &&
    [[ $(ini_value "$config" WinSock Address) == 127.0.0.1 ]] &&
    [[ $(ini_value "$config" WinSock Port) == "${recorded:-$demo_default_port}" ]]
}

# demo_emulator_on EMULATOR SCENARIO PORT OUT: starts the emulated unit on the port (0: any free
# one) and waits until it says which port it opened. Sets demo_unit_pid and demo_unit_port;
# false, with nothing left running, when it could not open the port.
demo_emulator_on() {
  local emulator=$1 scenario=$2 port=$3 out=$4 tries
  : > "$out"
  "$emulator" --port "$port" --scenario "$scenario" > "$out" 2>&1 &
  demo_unit_pid=$!
  for ((tries = 0; tries < 100; tries++)); do
    demo_unit_port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$out")
    [[ -n $demo_unit_port ]] && return 0
    kill -0 "$demo_unit_pid" 2> /dev/null || break
    sleep 0.1
  done
  kill "$demo_unit_pid" 2> /dev/null
  wait "$demo_unit_pid" 2> /dev/null
  demo_unit_pid= demo_unit_port=
  return 1
}

# demo_unit_start EMULATOR SCENARIO CONFIG [PORT]: starts the emulated unit on the link's port
# (a new link: PORT, default 15515); when that port is taken, on a free port the emulator picks.
# Then sets the link to the port the emulator opened. Sets demo_unit_pid and demo_unit_port.
# False, with the link untouched, when the unit could not be started at all.
demo_unit_start() {
  local emulator=$1 scenario=$2 config=$3 preferred=${4:-$demo_default_port} out
  if [[ -e $config ]]; then
    preferred=$(ini_value "$config" WinSock Port)
  fi
  out=$(mktemp) || return 1
  if ! demo_emulator_on "$emulator" "$scenario" "$preferred" "$out"; then
    echo "Port $preferred is taken: the emulated unit takes a free port instead."
    if ! demo_emulator_on "$emulator" "$scenario" 0 "$out"; then
      cat "$out" >&2
      rm -f "$out"
      echo "scripts/run: the emulated unit could not be started." >&2
      return 1
    fi
  fi
  rm -f "$out"
  if [[ ! -e $config ]]; then
    mkdir -p "$(dirname "$config")"
    printf '[Comm]\nConnectType=3\n\n[WinSock]\nAddress=127.0.0.1\nPort=%s\n' "$demo_unit_port" > "$config"
    echo "No link to a unit was set up: using the emulated unit on 127.0.0.1:$demo_unit_port."
  fi
  if ! ini_set "$config" WinSock Port "$demo_unit_port" || ! ini_set "$config" DemoUnit Port "$demo_unit_port"; then
    echo "scripts/run: the link in $config could not be set to the emulated unit." >&2
    kill "$demo_unit_pid" 2> /dev/null
    wait "$demo_unit_pid" 2> /dev/null
    return 1
  fi
}
