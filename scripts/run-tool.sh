#!/usr/bin/env bash
# `make run`: runs the tool against a words repository of its own on loopback.
#
#   scripts/run-tool.sh BUILD_DIR [TOOL_BINARY]
#
# 1. Builds the words database with BUILD_DIR/zorvian-words and publishes it under BUILD_DIR/repo,
#    once: a stamp of the inputs (pronouncing dictionary, word lists, and the
#    zorvian-words binary) lets later runs reuse it.
# 2. Serves BUILD_DIR/repo on 127.0.0.1 (the port the tool was built for: ZRV_LOCAL_PORT in the
#    build's CMake cache, 47700 by default) and waits until it answers.
# 3. Prepares run/ with output/, unknown_words/ and, only if it is missing, input.txt (a copy of
#    docs/sample-input.txt).
# 4. Runs TOOL_BINARY (default BUILD_DIR/zorvian_local) interactively in run/.
# 5. Stops the server when the tool ends, however it ends, and exits with the tool's status. The
#    tool runs in the foreground so that it owns the terminal; a SIGTERM sent to this script alone
#    therefore takes effect when the tool ends, while Ctrl-C ends both at once.
set -euo pipefail

usage="usage: scripts/run-tool.sh BUILD_DIR [TOOL_BINARY]"
if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "$usage" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
project_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool=${2:-$build_dir/zorvian_local}
words_tool=$build_dir/zorvian-words

dictionary=$project_dir/tools/zorvian_words/sources/node_modules/cmu-pronouncing-dictionary/index.js
word_list=/usr/share/dict/american-english
british_list=/usr/share/dict/british-english
names_list=/usr/share/dict/american-english-huge
repo_root=$build_dir/repo
master=$repo_root/2.0/repositories/zorvian/zrv-words-db/src/master
stamp=$build_dir/repo.stamp
run_dir=$project_dir/run

port=$(sed -n 's/^ZRV_LOCAL_PORT:[A-Z]*=//p' "$build_dir/CMakeCache.txt" 2>/dev/null || true)
port=${port:-47700}

fail() {
  echo "run-tool.sh: $*" >&2
  exit 1
}

for file in "$tool" "$words_tool"; do
  [[ -x $file ]] || fail "$file is missing; build first (make build)"
done
for file in "$dictionary" "$word_list" "$british_list" "$names_list"; do
  [[ -r $file ]] || fail "$file is missing; scripts/install-deps.sh installs it"
done

# --- 1. the words database, built and published once per set of inputs -------------------------
inputs_stamp=$(sha1sum "$dictionary" "$word_list" "$british_list" "$names_list" "$words_tool")
published=true
for file in zrv_words.db db_hash.sha1 tool_version.txt; do
  [[ -f $master/$file ]] || published=false
done
if $published && [[ -f $stamp ]] && [[ $(<"$stamp") == "$inputs_stamp" ]]; then
  echo "Using the words database published in $repo_root."
else
  echo "Building the words database (this takes a few seconds)..."
  rm -f "$stamp"
  database=$build_dir/zrv_words.db
  report=$("$words_tool" build --dictionary "$dictionary" \
    --word-lists "$word_list,$british_list" --output "$database")
  echo "${report%%$'\n'*}"
  "$words_tool" publish --database "$database" --root "$repo_root"
  rm -f "$database"
  printf '%s\n' "$inputs_stamp" >"$stamp"
fi

# --- 2. the repository server, stopped whatever way this script ends ----------------------------
server_pid=
# shellcheck disable=SC2317  # called from the traps
stop_server() {
  if [[ -n $server_pid ]]; then
    kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
  fi
}
trap stop_server EXIT
trap 'stop_server; exit 130' INT
trap 'stop_server; exit 143' TERM
trap 'stop_server; exit 129' HUP

server_log=$build_dir/repo-server.log
"$words_tool" serve --root "$repo_root" --port "$port" >"$server_log" 2>&1 &
server_pid=$!

# One HTTP request over bash's /dev/tcp, so no HTTP client has to be installed. A subshell, so a
# refused connection fails the test and not the script.
answers() (
  exec 3<>"/dev/tcp/127.0.0.1/$port" || exit 1
  printf 'GET /2.0/repositories/zorvian/zrv-words-db/src/master/tool_version.txt HTTP/1.0\r\n\r\n' >&3
  IFS= read -r -t 5 status_line <&3 || exit 1
  [[ $status_line == "HTTP/1."?" 200 "* ]]
) 2>/dev/null
for ((attempt = 0; attempt < 100; attempt++)); do
  if ! kill -0 "$server_pid" 2>/dev/null; then
    server_pid=
    cat "$server_log" >&2
    fail "the repository server did not start (is port $port in use?)"
  fi
  answers && break
  sleep 0.1
done
answers || fail "the repository server does not answer on 127.0.0.1:$port"
echo "Serving the words repository at http://127.0.0.1:$port (log: $server_log)."

# --- 3. the working folder ------------------------------------------------------------------------
mkdir -p "$run_dir/output" "$run_dir/unknown_words"
if [[ ! -e $run_dir/input.txt ]]; then
  cp "$project_dir/docs/sample-input.txt" "$run_dir/input.txt"
  echo "Created $run_dir/input.txt from docs/sample-input.txt."
fi

# --- 4. the tool, interactively; 5. the EXIT trap stops the server --------------------------------
echo
set +e
(cd "$run_dir" && "$tool")
status=$?
set -e
exit "$status"
