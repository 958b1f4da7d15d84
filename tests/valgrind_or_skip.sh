#!/usr/bin/env bash
# Runs a Qt Test program under valgrind, or skips it (exit 77) where valgrind
# cannot run the system's own libraries on this host's processor: valgrind
# stops with SIGILL on instructions it does not know, and some libraries run
# such instructions while they load, before any test does (libhwy, loaded
# through libjxl, reads the clock with RDTSCP where the processor has it).
#
# The probe only loads the program: -functions lists its tests and runs none.
set -uo pipefail
valgrind=$1
program=$2
shift 2

probe=$("$valgrind" --error-exitcode=1 --leak-check=no "$program" -functions 2>&1 >/dev/null)
status=$?
if [ "$status" -eq 132 ] || grep -q 'unhandled instruction bytes' <<<"$probe"; then
    where=$(grep -m1 -E '^==[0-9]+==  +at ' <<<"$probe" | sed -E 's/^==[0-9]+== +//')
    unhandled=$(grep -m1 'unhandled instruction bytes' <<<"$probe")
    echo "SKIP: valgrind cannot load this program's libraries on this host's processor" \
         "(${unhandled:-SIGILL}; ${where:-while loading})"
    exit 77
fi

exec "$valgrind" -q --error-exitcode=1 --leak-check=no "$program" "$@"
