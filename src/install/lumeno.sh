#!/bin/sh
# The command: starts the program in the application folder, ../lib/lumeno from here.
#
# An update swaps that folder for the new version. Where the file system cannot exchange two folders at
# once the swap is two renames; cut off between them, it leaves the folder missing and the version to keep
# at lumeno.previous, which goes back in place before the program starts (the program then clears what is
# left beside it).
folder="$(dirname "$(readlink -f "$0")")/../lib/lumeno"
[ -e "$folder" ] || mv -T "$folder.previous" "$folder" 2>/dev/null
exec "$folder/lumeno" "$@"
