#!/bin/sh
# Checks what a DLL linked without the C runtime must hold, and fails with the list of what
# does not:
#   - it imports from the DLLs of IMPORTS_DIR (one NAME.def each) only, and only the functions
#     listed there;
#   - it has no TLS directory (no runtime would run its callbacks);
#   - its export table is exactly DEF's: its names with their ordinals, nothing else (no empty
#     slot, no ordinal base other than the first ordinal);
#   - none of OBJECTS holds static constructors or destructors or thread-local data;
#   - it is at most 200 KiB (204,800 bytes), the library's size budget.
# With --shipped, for a build that ships (cmake/hardening.cmake), it also has:
#   - ASLR with high-entropy addresses, NX and the control-flow guard: its load configuration
#     says the code is instrumented and holds the table of the functions that may be called
#     indirectly, and the guard's check pointer;
#   - a security cookie in its load configuration that holds the platform's default value in the
#     file, which the loader replaces with a random one;
#   - on x86-64, CET shadow-stack compatibility;
#   - a CodeView entry that names NAME.pdb and no folder, and that PDB beside it, with a SHA-256
#     hash of every source that it records (not MD5);
#   - a time stamp that is a hash of the content (a Repro entry; the same in the file header and
#     the CodeView entry), not the time of the build;
#   - the image version VERSION (major.minor).
#   check-dll.sh [--shipped ARCH VERSION] DLL DEF IMPORTS_DIR [OBJECT...]
# Tools: $READOBJ (llvm-readobj, for x86-64 and ARM64 alike), $PDBUTIL (llvm-pdbutil).
set -eu
READOBJ=${READOBJ:-llvm-readobj-14}
PDBUTIL=${PDBUTIL:-llvm-pdbutil-14}
shipped=""
if [ "$1" = "--shipped" ]; then
    shipped=$2
    version=$3
    shift 3
fi
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

budget=204800
size=$(wc -c <"$dll")
[ "$size" -le "$budget" ] ||
    echo "is $size bytes, $((size - budget)) over the budget of $budget bytes (200 KiB)" >>"$problems"

for object in "$@"; do
    # LLVM bitcode (clang's objects, optimised at the link) has no sections yet; clang itself
    # refuses static constructors and destructors there (CMakeLists.txt), and thread-local data
    # would give the DLL a TLS directory, checked above.
    [ "$(head -c 4 "$object" | od -An -tx1 | tr -d ' ')" = "4243c0de" ] && continue
    "$READOBJ" --sections "$object" | awk -v object="$(basename "$object")" '
        /^ *Name: / && $2 ~ /^(\.ctors|\.dtors|\.init_array|\.fini_array|\.CRT\$X|\.tls)/ {
            print object " has section " $2 " (static constructors or thread-local data)" }'
done >>"$problems"

if [ -n "$shipped" ]; then
    headers=$("$READOBJ" --file-headers --sections --coff-load-config --coff-debug-directory "$dll")
    echo "$headers" | awk -v arch="$shipped" -v version="$version" -v pdb="$(basename "${dll%.*}").pdb" '
        function hex(text,   i, n) { n = 0; text = tolower(text); gsub(/[()]|^0x/, "", text)
            for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
            return n }
        function has(flags, bit) { return int(flags / bit) % 2 }
        /^[A-Za-z]/ { part = $1 }
        part == "ImageFileHeader" && /^ *TimeDateStamp:/ { stamp = $NF }
        part == "Sections" && /^ *Name: / { section = $2 }
        part == "Sections" && /^ *VirtualAddress:/ { address[section] = hex($2) }
        part == "Sections" && /^ *VirtualSize:/ { size[section] = hex($2) }
        part == "Sections" && /^ *PointerToRawData:/ { raw[section] = hex($2) }
        part == "DebugDirectory" && /^ *TimeDateStamp:/ { entry = $NF }
        part == "DebugDirectory" && /^ *Type: CodeView/ { codeview = entry }
        /^ *Type: Repro/ { repro = 1 }
        /^ *PDBFileName:/ { name = $2 } /EX_CET_COMPAT/ { cet = 1 }
        /^ *MajorImageVersion:/ { major = $2 } /^ *MinorImageVersion:/ { minor = $2 }
        /^ *IMAGE_DLL_CHARACTERISTICS_[A-Z_]+ \(/ { characteristics[$1] = 1 }
        /^ *ImageBase:/ { base = hex($2) }
        /^ *SecurityCookie:/ { cookie = hex($2) } /^ *GuardFlags:/ { guard = hex($2) }
        /^ *GuardCFFunctionCount:/ { functions = $2 } /^ *GuardCFCheckFunction:/ { check = hex($2) }
        END {
            n = split("DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT GUARD_CF", need, " ")
            for (i = 1; i <= n; i++)
                if (!(("IMAGE_DLL_CHARACTERISTICS_" need[i]) in characteristics)) print "has no " need[i] " characteristic"
            if (!has(guard, 256) || !has(guard, 1024) || functions + 0 == 0 || check == 0)
                print "has no control-flow guard in its load configuration (instrumented code, function table, check pointer)"
            if (cookie == 0) print "has no security cookie in its load configuration"
            for (s in address) if (cookie && cookie >= base + address[s] && cookie < base + address[s] + size[s])
                print "cookie-offset " (cookie - base - address[s] + raw[s])
            if (arch == "x64" && !cet) print "is not marked CET shadow-stack compatible"
            if (name != pdb) print "has no CodeView entry that names " pdb " alone (it names \"" name "\")"
            if (!repro || stamp != codeview) print "has a time stamp that is not a hash of its content (no Repro entry)"
            if (major "." minor != version) print "has the image version " major "." minor ", not " version
        }' >"$problems.shipped"
    # The cookie's value in the file: the default, which the loader replaces.
    offset=$(awk '/^cookie-offset / { print $2 }' "$problems.shipped")
    grep -v '^cookie-offset ' "$problems.shipped" >>"$problems" || true
    rm -f "$problems.shipped"
    if [ -n "$offset" ]; then
        value=$(od -A n -t x8 -j "$offset" -N 8 "$dll" | tr -d ' ')
        [ "$value" = "00002b992ddfa232" ] ||
            echo "has a security cookie that holds $value, not the default value that the loader replaces" >>"$problems"
    fi
    # Each source as "- (KIND: HASH) PATH", or "- PATH" without a hash.
    if [ -f "${dll%.*}.pdb" ]; then
        "$PDBUTIL" dump --files "${dll%.*}.pdb" | awk '/^- / && $2 != "(SHA-256:" {
            kind = $2 ~ /^\(/ ? substr($2, 2, length($2) - 2) : "no"
            print "has a PDB that records the " kind " hash of " $NF ", not SHA-256" }' >>"$problems"
    else
        echo "has no $(basename "${dll%.*}").pdb beside it" >>"$problems"
    fi
fi

if [ -s "$problems" ]; then
    echo "$dll:" >&2
    sed 's/^/  /' "$problems" >&2
    exit 1
fi
echo "$(basename "$dll"): $size bytes (budget $budget), imports only the listed system functions, no TLS, exports as in $(basename "$def")${shipped:+;
  guard, cookie for the loader, CET (x64), NX, ASLR, CodeView naming $(basename "${dll%.*}").pdb, SHA-256 source hashes, hashed time stamp, version $version}"
