#!/bin/sh
# The command: starts the program in the application folder, ../lib/lumeno from here.
#
# An update swaps that folder for the new version and keeps the replaced one at lumeno.previous until the
# new one has shown that it runs (the program removes it then). Where the file system cannot exchange two
# folders at once the swap is two renames; cut off between them, it leaves the folder missing and the
# version to keep at lumeno.previous, which goes back in place before the program starts.
folder="$(dirname "$(readlink -f "$0")")/../lib/lumeno"
[ -e "$folder" ] || mv -T "$folder.previous" "$folder" 2>/dev/null
[ -d "$folder.previous" ] || exec "$folder/lumeno" "$@"

# The new version is on trial. Should it not start at all, or crash, before it has shown that it runs, the
# replaced version goes back in place (the failed one by way of lumeno.update) and starts instead, told so.
"$folder/lumeno" "$@" &
program=$!
stopping=
trap 'stopping=1; kill -TERM $program 2>/dev/null' TERM INT HUP
# A signal caught ends the wait early: wait again until the program has ended.
while wait $program; status=$?; kill -0 $program 2>/dev/null; do :; done
case $status in
    # Could not be run (126, 127: a missing library), or SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV,
    # SIGSYS: faults of its own, not an end someone asked for.
    126 | 127 | 132 | 133 | 134 | 135 | 136 | 139 | 159) ;;
    *) exit $status ;;
esac
[ -z "$stopping" ] && [ -d "$folder.previous" ] || exit $status
rm -rf "$folder.update"
mv -T "$folder" "$folder.update" && mv -T "$folder.previous" "$folder" || exit $status
exec "$folder/lumeno" --after-failed-start "$@"
