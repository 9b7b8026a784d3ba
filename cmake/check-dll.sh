#!/bin/sh
# Checks what a DLL linked without the C runtime must hold, and fails with the list of what
# does not:
#   - it imports from the DLLs of IMPORTS_DIR (one NAME.def each) only, and only the functions
#     listed there;
#   - it has no TLS directory (no runtime would run its callbacks);
#   - its export table is exactly DEF's: its names with their ordinals, nothing else (no empty
#     slot, no ordinal base other than the first ordinal);
#   - none of OBJECTS holds static constructors or destructors or thread-local data.
#   check-dll.sh DLL DEF IMPORTS_DIR [OBJECT...]
# Tool: $READOBJ (llvm-readobj, for x86-64 and ARM64 alike).
set -eu
READOBJ=${READOBJ:-llvm-readobj-14}
dll=$1
def=$2
imports=$3
shift 3
problems=$(mktemp)
trap 'rm -f "$problems"' EXIT

# "DLL FUNCTION" for every function the listed .def files allow, in upper case.
allowed=$(for file in "$imports"/*.def; do
    name=$(basename "$file" .def)
    sed -e 's/;.*//' "$file" | awk -v dll="$name" '
        toupper($1) == "EXPORTS" { on = 1; next }
        on && NF { print toupper(dll ".DLL") " " $1 }'
done)

"$READOBJ" --coff-imports "$dll" | awk -v allowed="$allowed" '
    BEGIN { n = split(allowed, lines, "\n"); for (i = 1; i <= n; i++) ok[lines[i]] = 1
            for (k in ok) { split(k, p, " "); dlls[p[1]] = 1 } }
    /^ *Name: / { dll = toupper($2); if (!(dll in dlls)) print "imports " $2 ", which is not one of the system DLLs listed in cmake/imports"; next }
    /^ *Symbol: / { if ((dll in dlls) && !((dll " " $2) in ok)) print "imports " $2 " from " dll ", which cmake/imports does not list" }
' >>"$problems"

tls=$("$READOBJ" --file-headers "$dll" | awk '/TLSTableSize:/ { print $2 }')
[ "$tls" = "0x0" ] || echo "has a TLS directory (size $tls)" >>"$problems"

expected=$(sed -e 's/;.*//' "$def" | awk '/@/ { sub("@", "", $2); print $2 " " $1 }' | LC_ALL=C sort)
seen=$("$READOBJ" --coff-exports "$dll" | awk '
    /^ *Ordinal:/ { ordinal = $2 } /^ *Name:/ { print ordinal " " ($2 == "" ? "(no name)" : $2) }' | LC_ALL=C sort)
if [ "$seen" != "$expected" ]; then
    printf 'exports (ordinal name):\n%s\n  expected:\n%s\n' "$seen" "$expected" | sed 's/^/  /' >>"$problems"
fi

for object in "$@"; do
    "$READOBJ" --sections "$object" | awk -v object="$(basename "$object")" '
        /^ *Name: / && $2 ~ /^(\.ctors|\.dtors|\.init_array|\.fini_array|\.CRT\$X|\.tls)/ {
            print object " has section " $2 " (static constructors or thread-local data)" }'
done >>"$problems"

if [ -s "$problems" ]; then
    echo "$dll:" >&2
    sed 's/^/  /' "$problems" >&2
    exit 1
fi
echo "$(basename "$dll"): imports only the listed system functions, no TLS, exports as in $(basename "$def")"
