# Sourced by the 32-bit and ARM64 stages' jobs: running one bounded step, and registering and unregistering the
# stage's library checked with reg query. The job sets stage_label, library and server_key first.

wine() { "$WINELOADER" "$@"; }

# Each step's output, exit code and time go to /job/results, and one line to the console.
step() {
  local name=$1 seconds=$2 start=$SECONDS status=0
  shift 2
  echo "$name" >>"$results/steps"
  timeout -k 10 "$seconds" "$@" >"$results/$name.log" 2>&1 </dev/null || status=$?
  echo "$status" >"$results/$name.rc"
  echo "$((SECONDS - start))" >"$results/$name.time"
  sync
  echo "$stage_label: $name exited $status after $((SECONDS - start)) s"
}

register() {
  wine regsvr32 /s "$library" || { echo "regsvr32 failed with exit code $?"; return 1; }
  echo "regsvr32 $library: done"
  wine reg query "$server_key" /ve | tee /tmp/query || return 1
  grep -qiF "$library" /tmp/query || { echo "the class is not registered to $library"; return 1; }
}

unregister() {
  wine regsvr32 /s /u "$library" || { echo "regsvr32 /u failed with exit code $?"; return 1; }
  echo "regsvr32 /u $library: done"
  if wine reg query "$server_key" /ve; then
    echo "the class is still registered"
    return 1
  fi
  echo "reg query: the class is gone"
}
