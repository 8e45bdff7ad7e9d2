#!/usr/bin/env bash
# Scripts the real program under Xvfb from another process: qvsend sets A1 and
# B1 and a SUM in C1 of the new document through the event socket (the entry
# line shows what A1, the active cell, was set to), then reads
# C1 back, and Japanese text set in A2 reads back the same; a malformed message on the socket gets an error reply and the
# program keeps answering, also after a burst of pipelined set and get pairs
# and with 64 senders at once (screenshot scripting_sum.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
require_tools
require_sender "$quorvin"
skip_without python3
start_xvfb 1024x768
use_own_runtime

start_app "$quorvin"
await_socket
[ "$(stat -c %a "$socket")" = 600 ] || fail "the socket is open to others"
[ "$(stat -c %a "$runtime/quorvin")" = 700 ] || fail "the socket's folder is open to others"

send set "value of cell A1 of layer 1 of document 1" 2 || fail "A1 not set"
# A1 is the active cell: the entry line shows what was set in it.
entry_shows_text() { [ "$(convert "$out/$1" -crop 100x14+141+49 -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:)" -gt 3 ]; }
shoot_until scripting_entry.png entry_shows_text scripting_entry.png || fail "the entry line does not show A1's new content"
send set "value of cell B1 of layer 1 of document 1" 3 || fail "B1 not set"
send set "formula of cell C1 of document 1" "=SUM(A1:B1)" || fail "C1 not set"
sum=$(send get "value of cell C1 of layer 1 of document 1") || fail "C1 not read"
[ "$sum" = 5 ] || fail "C1 reads \"$sum\", not 5"
[ "$(send get "formula of cell C1 of document 1")" = "=SUM(A1:B1)" ] || fail "C1 lost its formula"
why=$(send get "value of cell C1 of document 9" 2>&1 >/dev/null) && fail "a missing document was not an error"
[[ "$why" == *"No such object"* ]] || fail "the error of a missing document gives no reason ($why)"
why=$(send set "value of cell A2 of document 1" "東京 ไทย" 2>&1 >/dev/null) && fail "text no script spells was taken"
[[ "$why" == *"U+0E44 U+0E17 U+0E22"* ]] || fail "the refusal names not the characters no script spells ($why)"
# Each character spelled by some script: taken in runs of two scripts.
send set "value of cell A2 of document 1" "Ελλάδα Česko" || fail "a text of two scripts was refused"
[ "$(send get "value of cell A2 of document 1")" = "Ελλάδα Česko" ] ||
  fail "a text of two scripts came back as \"$(send get "value of cell A2 of document 1")\""
send set "value of cell A2 of document 1" "東京駅" || fail "A2 not set"
[ "$(send get "value of cell A2 of document 1")" = "東京駅" ] || fail "A2 did not keep its Japanese text"

# Four bytes of length and a descriptor of no known kind.
reply=$(python3 - "$socket" <<'PY'
import socket, struct, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.settimeout(20)
s.connect(sys.argv[1])
s.sendall(struct.pack(">I", 5) + bytes([9, 1, 2, 3, 4]))
data = b""
while True:
    chunk = s.recv(4096)
    if not chunk:
        break
    data += chunk
print(len(data) > 4 and b"errn" in data and struct.pack("=i", -1702) in data)
PY
)
[ "$reply" = True ] || fail "the malformed message got no error reply ($reply)"
kill -0 "$app_pid" 2>/dev/null || fail "quorvin ended after the malformed message"
[ "$(send get "value of cell C1 of document 1")" = 5 ] || fail "no answer after the malformed message"

# A burst of 1,000 set and get pairs, written whole before any reply is read,
# the writing side then shut down: the sender is slowed down, never refused,
# so every request is carried out in order and each get reads the value its
# set stored. Meanwhile another connection that writes 1,000 requests and
# reads nothing stops no one.
burst=$(python3 - "$socket" "$qvsend" <<'PY'
import os, socket, struct, subprocess, sys, tempfile, threading
real, qvsend = sys.argv[1], sys.argv[2]

def captured_request(*words):
    # The bytes qvsend sends for one request, caught by a listener of our own.
    path = os.path.join(tempfile.mkdtemp(), "capture")
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(1)
    sender = subprocess.Popen([qvsend, "--socket", path, "--timeout", "2", *words],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    connection, _ = listener.accept()
    data = b""
    while len(data) < 4 or len(data) < 4 + struct.unpack(">I", data[:4])[0]:
        chunk = connection.recv(4096)
        if not chunk:
            break
        data += chunk
    connection.close()
    sender.wait()
    return data

def connect():
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.settimeout(60)
    s.connect(real)
    return s

def replies_in(data):
    bodies, at = [], 0
    while at + 4 <= len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        bodies.append(data[at + 4:at + 4 + length])
        at += 4 + length
    return bodies

get = captured_request("get", "value of cell C1 of layer 1 of document 1")
silent = connect()
silent.setblocking(False)
try:
    silent.send(get * 1000)
except BlockingIOError:
    pass

# Six-digit values, so that each set is the captured one with its digits replaced.
set_a3 = captured_request("set", "value of cell A3 of layer 1 of document 1", "100000")
get_a3 = captured_request("get", "formula of cell A3 of layer 1 of document 1")
assert set_a3.count(b"100000") == 1
values = [b"%06d" % (100001 + i) for i in range(1000)]
burst = connect()
pairs = b"".join(set_a3.replace(b"100000", value) + get_a3 for value in values)
writer = threading.Thread(target=lambda: (burst.sendall(pairs), burst.shutdown(socket.SHUT_WR)))
writer.start()
data = b""
while True:
    chunk = burst.recv(65536)
    if not chunk:
        break
    data += chunk
writer.join()
replies = replies_in(data)
refused = sum(b"errn" in body for body in replies)
read_back = sum(value in body for value, body in zip(values, replies[1::2]))
print(len(replies), refused, read_back)
silent.close()
PY
)
read -r replies refused read_back <<< "$burst"
[ "${replies:-0}" = 2000 ] || fail "the burst of 2,000 requests got ${replies:-no} replies"
[ "${refused:-1}" = 0 ] || fail "$refused requests of the burst were refused"
[ "${read_back:-0}" = 1000 ] || fail "only ${read_back:-no} gets of the burst read the value set before them"
kill -0 "$app_pid" 2>/dev/null || fail "quorvin ended after the burst"
[ "$(send get "value of cell C1 of document 1")" = 5 ] || fail "no answer after the burst"

# Sixty-four senders at once all get their answers.
answers="$out/scripting_senders"
mkdir -p "$answers"
senders=()
for k in $(seq 64); do
  send get "value of cell C1 of document 1" > "$answers/$k" 2>&1 &
  senders+=($!)
done
wait "${senders[@]}"
answered=$(grep -lx 5 "$answers"/* | wc -l)
[ "$answered" = 64 ] || fail "only $answered of 64 senders at once were answered"

# C1 shows the sum in the window.
c1_drawn() { [ "$(convert "$out/$1" -crop 70x12+190+113 -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:)" -gt 3 ]; }
shoot_until scripting_sum.png c1_drawn scripting_sum.png || fail "C1 does not show its value"
# The changed document asks to be saved on the way out: Don't Save.
kill -TERM "$app_pid"
asks_to_save() { [ "$(pixel "$1" 327 262)" != "$(pixel scripting_sum.png 327 262)" ]; }
shoot_until scripting_quit.png asks_to_save scripting_quit.png || fail "no question about saving"
for x in 300 340 380 410; do xdotool mousemove "$x" 337; sleep 0.05; done
xdotool click 1
wait_for_exit "answered Don't Save"
[ $? -eq 0 ] || fail "quorvin did not exit with 0"
[ -e "$socket" ] && fail "the socket was left behind"
echo "scripting: ok"
