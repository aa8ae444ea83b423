# Sourced by demo.sh, cli-demo.sh and screenshot.sh: a private settings folder, the sample recordings served by
# zarno-device on 127.0.0.1, and zarno's settings aimed at it over the network.
# Needs: $bin (the build's bin folder). Sets: $work, $device_pid, XDG_CONFIG_HOME.

work=$(mktemp -d)
device_pid=
end_session() {
    if [ -n "$device_pid" ]; then
        kill "$device_pid" 2>/dev/null || true
        wait "$device_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap end_session EXIT
# Private settings: the user's own are never read or touched.
export XDG_CONFIG_HOME="$work/config"

# A free loopback UDP port in the transport library's convention (the wire port's two bytes taken
# low byte first). Only values up to 32767 are picked, the range the network settings page offers.
free_port_value() {
    python3 - <<'PY'
import socket
for _ in range(200):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.1", 0))
    p = s.getsockname()[1]
    s.close()
    value = (p % 256) * 256 + p // 256
    if 0 < value <= 32767:
        print(value)
        break
PY
}

start_instrument() {
    "$bin/zarno-device" make-samples "$work/instrument" >/dev/null
    device_port=$(free_port_value)
    local_port=$(free_port_value)
    "$bin/zarno-device" serve --root "$work/instrument" --udp "$device_port" --label SAMPLES > "$work/device.log" &
    device_pid=$!
    for _ in $(seq 50); do grep -q serving "$work/device.log" 2>/dev/null && break; sleep 0.1; done
    grep -q serving "$work/device.log" || { echo "zarno-device did not start" >&2; exit 1; }
}

# Link kind 3 (network), the address 127.0.0.1 as a number with the first octet in the high byte,
# and the two ports.
write_zarno_settings() {
    mkdir -p "$XDG_CONFIG_HOME/Mervo"
    cat > "$XDG_CONFIG_HOME/Mervo/Zarno.conf" <<INI
[Transport]
Current%20Link=3
Current%20IPAddress=$(( (127 << 24) | 1 ))
Current%20Ethernet%20Port1=$local_port
Current%20Ethernrt%20Port2=$device_port
INI
}

# A computer folder with a few recordings converted to SEG-Y, shown in the right panel: double
# click one to open it in the signal viewer. Call after write_zarno_settings.
show_sample_sgy_folder() {
    mkdir -p "$work/pc"
    "$bin/zarno-cli" convert -o "$work/pc" "$work/instrument/PILE12.DDB" "$work/instrument/PILE18.DDB" \
        "$work/instrument/DEFECT12.DDB" >/dev/null
    cat >> "$XDG_CONFIG_HOME/Mervo/Zarno.conf" <<INI

[Window%20size]
Splitter%20X%20Pos=500
Current%20Right%20Directory=$work/pc
INI
}

# The simulator's sample site (its recordings and SITE.CSV) copied to the computer, so that the
# engineer's decisions go into a copy and not into the instrument's disk. Sets: $site_dir.
copy_sample_site() {
    mkdir -p "$work/pc"
    cp -r "$work/instrument/SURVEY" "$work/pc/SURVEY"
    site_dir="$work/pc/SURVEY"
}
