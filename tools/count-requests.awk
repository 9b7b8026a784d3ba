# Counts the requests that one thread makes to the Wine server between the bench's markers, in a
# trace written under WINEDEBUG=+server,+debugstr (see docs/benchmarks.md, "Counting requests").
# A request reads "TID: name( fields )", its reply "TID: name() = STATUS { ... }"; the markers
# are the thread's "TID:warn:debugstr:OutputDebugStringA" lines "dxdlg-bench: requests of NAME"
# and "dxdlg-bench: requests end". Prints each dialog's counts less what the markers alone cost,
# and the ratio of its lowest to the bare DialogBoxParamA dialog's; with -v list=NAME, the
# requests of NAME's last counted opening instead, one name a line, for diff against another's.
/:warn:debugstr:OutputDebugStringA "dxdlg-bench: requests of / {
    tid = substr($0, 1, index($0, ":") - 1)
    name = $0
    sub(/^[^"]*"dxdlg-bench: requests of /, "", name)
    sub(/"$/, "", name)
    if (!(name in runs))
        order[++names] = name
    counting = 1
    n = 0
    if (name == list)
        listed = ""
    next
}
/:warn:debugstr:OutputDebugStringA "dxdlg-bench: requests end"/ {
    if (counting && substr($0, 1, index($0, ":") - 1) == tid) {
        runs[name] = runs[name] " " n
        if (!(name in low) || n < low[name]) low[name] = n
        if (!(name in high) || n > high[name]) high[name] = n
        counting = 0
    }
    next
}
counting && substr($0, 1, length(tid) + 2) == tid ": " && $0 ~ /^[0-9a-f]+: [a-z_0-9]+\( / {
    n++
    if (name == list)
        listed = listed substr($2, 1, index($2, "(") - 1) "\n"
}
END {
    if (list != "") {
        printf "%s", listed
        exit listed == ""
    }
    if (!("markers" in low) || !("DialogBoxParamA" in low)) {
        print "  no counts: the trace has no markers (was the bench run under +server,+debugstr?)"
        exit 1
    }
    bare = low["DialogBoxParamA"] - low["markers"]
    printf "  (the markers alone: %d request(s), taken off each count)\n", low["markers"]
    for (i = 1; i <= names; i++) {
        name = order[i]
        if (name == "markers") continue
        from = low[name] - low["markers"]
        to = high[name] - low["markers"]
        span = to == from ? sprintf("%d", from) : sprintf("%d to %d", from, to)
        printf "  %-18s %10s requests  %5.3f x the bare dialog  (counted:%s)\n", name, span, from / bare, runs[name]
    }
    if ("OpenDuplexDlg" in low) {
        limit = int(bare * 1.10)
        printf "  goal: OpenDuplexDlg at most 1.10 x the bare dialog, %d requests: %s\n", limit,
            low["OpenDuplexDlg"] - low["markers"] <= limit ? "met" : "NOT MET"
    }
}
