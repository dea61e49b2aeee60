#!/usr/bin/env bash
# The main job on sample data, in three parts:
#   1. pellory-cli scans a sample game folder, backs up what the game did
#      not ship, and scans again;
#   2. a loopback HTTP server serves the example configuration's Korean
#      region: pellory-cli refreshes its list, searches it and downloads two
#      archives, which ferrule unpacks and verifies;
#   3. Pellory's window under Wine, on a private display, does the same on
#      both pages, with a screenshot of each step.
# Everything it makes is in build/sample.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
started=$SECONDS

echo "== building the Linux and win64 programs"
cmake --preset linux >/dev/null
cmake --build --preset linux --target pellory-cli ferrule make-spk sealed-config
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target pellory ferrule window-remote seven_zip_double sealed-config

sample=$PWD/build/sample
data=$sample/data
rm -rf "$sample" && mkdir -p "$sample"
python3 tools/make_sample.py build/linux/bin/make-spk "$data"
cli=build/linux/bin/pellory-cli
findings=$(wc -l <"$data/findings.txt")

fail() {
  echo "run-sample.sh: $*" >&2
  exit 1
}

# Runs pellory-cli after showing its command line.
pellory_cli() {
  echo "\$ pellory-cli $*" >&2
  "$cli" "$@"
}

# The names a scan printed, sorted; the scan itself must succeed.
scanned_names() {
  "$cli" scan "$1" --folder ImagePacks2 --compare size | cut -f1 | sort
}

echo
echo "== 1. pellory-cli: the sample game folder"
game=$sample/cli/game backup=$sample/cli/backup
mkdir -p "$backup" && cp -r "$data/game" "$game"
pellory_cli scan "$game" --folder ImagePacks2 --compare size | tee "$sample/cli/scan.txt"
[ "$(cut -f1 "$sample/cli/scan.txt" | sort)" = "$(cat "$data/findings.txt")" ] ||
  fail "the scan did not find exactly the sample's $findings findings"
pellory_cli clean "$game" --folder ImagePacks2 --compare size --backup "$backup"
[ -z "$(scanned_names "$game")" ] || fail "a second scan still finds files"
echo "A second scan finds nothing; the backup holds: $(ls "$backup" | tr '\n' ' ')"

echo
echo "== 2. pellory-cli: the Korean region from a loopback server"
server=$sample/server
mkdir -p "$server"
# The example configuration names 127.0.0.1:8631. The rate limit lets a
# download show its progress for a moment.
cat >"$server/nginx.conf" <<EOF
daemon off;
master_process off;
$([ "$(id -u)" = 0 ] && echo "user root;")
pid $server/nginx.pid;
error_log $server/error.log warn;
events { worker_connections 64; }
http {
  access_log $server/access.log;
  client_body_temp_path $server/body;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:8631;
    location / { root $data/server; limit_rate 1m; }
  }
}
EOF
answers() { (exec 3<>/dev/tcp/127.0.0.1/8631) 2>/dev/null; }
answers && fail "another program serves 127.0.0.1:8631, the example configuration's address; stop it first"
nginx=$(command -v nginx || echo /usr/sbin/nginx)
"$nginx" -p "$server" -c "$server/nginx.conf" -e "$server/error.log" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  answers && break
  sleep 0.1
done
answers || fail "nginx did not start on 127.0.0.1:8631; see $server/error.log"

home=$sample/cli/home
mkdir -p "$home/lst_file"
cp build/linux/bin/File_Cfg.ini "$home/"
pellory_cli regions --home "$home"
pellory_cli update-list 韩国 --home "$home"
echo "Archives of ImagePacks2 with \"skin\" in their names:"
pellory_cli list 韩国 --home "$home" --folder ImagePacks2 --keyword skin | tee "$sample/cli/search.txt"
cmp -s "$sample/cli/search.txt" "$data/archives.txt" || fail "the search did not find the sample's archives"
mapfile -t archives <"$data/archives.txt"
pellory_cli download 韩国 --home "$home" --folder ImagePacks2 "${archives[@]}"
for archive in "${archives[@]}"; do
  cmp -s "$home/Download/韩国/$archive" "$data/contents/$archive" || fail "$archive did not arrive whole"
done
echo "Both archives are unpacked in $home/Download/韩国 and match the originals."

echo
echo "== 3. Pellory's window under Wine, on a private display"
xvfb-run -a -s "-screen 0 1280x1024x24" tools/sample-window.sh "$data" "$sample"

cat <<EOF

== Done in $((SECONDS - started)) s (after setup). What it did:
  1. pellory-cli found the $findings files the sample game did not ship (one of them an official name
     of the wrong size), moved them to $backup, and a second scan found nothing.
  2. pellory-cli refreshed the Korean region's list from nginx on 127.0.0.1:8631, found the
     archives with "skin" in their names and downloaded both; ferrule unpacked and verified them
     into $home/Download/韩国.
  3. Pellory.exe did the same on its two pages under Wine; screenshots of each step:
$(cd "$sample" && ls ./*.png | sed "s|^\./|     $sample/|")
  Programs: build/linux/bin/{pellory-cli,ferrule}, build/win64/bin/{Pellory.exe,Ferrule.exe}
EOF
