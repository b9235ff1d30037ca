#!/bin/sh
# Runs one test program with its output sent through a file. Wine may start
# a service process (rpcss, svchost, ...) during the test; such a process
# inherits the test's output and would keep CTest waiting on a pipe that
# never closes.
log=$(mktemp)
"$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
