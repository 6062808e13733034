# Writes the eight channel files and Group.txt into dir from a table of
# "channel rx tx tone scan band power" lines and sweep directives.
function put(ch, rx, tx, tone, scan, band, power) {
    RX[ch] = rx; TX[ch] = tx; TONE[ch] = tone; SCAN[ch] = scan; BAND[ch] = band; POWER[ch] = power
}
function num(v) { return (v < 0 ? "" : " ") v " " }
function write(name, marker, values, isText,    path, ch) {
    path = dir "/" name
    printf "%s\r\n", (isText ? marker : num(marker)) > path
    for (ch = 1; ch <= 255; ch++) printf "%s\r\n", (isText ? values[ch] : num(values[ch])) > path
    close(path)
}
BEGIN {
    for (ch = 1; ch <= 255; ch++) { put(ch, "0", "0", 0, 1, 0, 1); ZERO[ch] = 0 }
}
/^#/ || NF == 0 { next }
$1 == "ctcss-sweep" { for (k = 1; k <= 73; k++) put($2 + k - 1, $3, $3, k, 1, 1, 1); next }
$1 == "dcs-sweep" {
    for (c = 1; c <= 104; c++) {
        ch = $2 + c - 1
        put(ch, $3, $3, c + (ch % 2 == 1 ? 104 : 0) + 73, 1, 0, 1)
    }
    next
}
{ put($1, $2, $3, $4, $5, $6, $7) }
END {
    write("Rx_Freq.txt", "0", RX, 1)
    write("Tx_Freq.txt", "0", TX, 1)
    write("Tone.txt", 0, TONE, 0)
    write("Scan.txt", 1, SCAN, 0)
    write("Band.txt", 1, BAND, 0)
    write("Power.txt", 1, POWER, 0)
    write("Scr.txt", 1, ZERO, 0)
    write("Comp.txt", 1, ZERO, 0)
    # Group A of two channels: channels 1 and 2 become A-1 and A-2.
    path = dir "/Group.txt"
    printf " 2 \r\n" > path
    for (i = 2; i <= 10; i++) printf " 0 \r\n" > path
    printf " 1 \r\n 0 \r\n0\r\n0\r\n0\r\n 2 \r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n0\r\n0\r\n0\r\n" > path
    close(path)
}
