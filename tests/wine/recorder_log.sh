# shellcheck shell=bash
# Reading the log that recorder.exe appends to ($LOG): one tab-separated
# line per run, "tag=T	pid=P	created=MS	start=MS	end=MS	exit=N	...".
# Sourced by the suites that start recorders. A log that is not there reads
# as empty; a check that nothing ran asks for its absence (no_log).

# field TAG NAME: a field of the first log line of TAG.
field() {
  tr -d '\r' 2>/dev/null <"$LOG" | grep -a "^tag=$1	" | head -1 | tr '\t' '\n' | sed -n "s/^$2=//p"
}
logged() { grep -qa "^tag=$1	" "$LOG" 2>/dev/null; }
# TAG has not run (yet): no line of it, in a log that may not be there.
not_logged() { ! logged "$1"; }
log_lines() { tr -d '\r' 2>/dev/null <"$LOG" | grep -c '^tag=' ; }
log_count() { tr -d '\r' 2>/dev/null <"$LOG" | grep -ac "^tag=$1	"; }
# No recorder ran: none made the log.
no_log() { [ ! -e "$LOG" ]; }
# The tags of the log in the order the programs were started (created).
start_order() {
  tr -d '\r' 2>/dev/null <"$LOG" |
    awk -F'\t' '{ for (i = 1; i <= NF; i++) { split($i, f, "="); v[f[1]] = f[2] } print v["created"], v["tag"] }' |
    sort -n | awk '{ printf "%s%s", sep, $2; sep = " " } END { print "" }'
}
# started_after A B [GAP]: B started at least GAP ms after A ended.
started_after() {
  local end start
  end=$(field "$1" end)
  start=$(field "$2" start)
  [ -n "$end" ] && [ -n "$start" ] && [ $((start - end)) -ge "${3:-0}" ]
}
# started_before_end A B: B started while A still ran.
started_before_end() {
  local end start
  end=$(field "$1" end)
  start=$(field "$2" start)
  [ -n "$end" ] && [ -n "$start" ] && [ "$start" -lt "$end" ]
}
