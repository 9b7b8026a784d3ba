#!/bin/sh
# Signs each DLL in place with an Authenticode signature (SHA-256) made with the certificate CERT
# and its private key KEY (PEM files; CERT may hold the chain after the certificate), with a
# time stamp from the RFC 3161 server URL when given one, then verifies each signature against
# CA (the system's trusted roots by default; the certificate itself for a self-signed one).
# Prints each file's verification and fails unless every one holds.
#   sign.sh [--timestamp URL] [--ca CA] CERT KEY DLL...
set -eu
timestamp=""
ca=/etc/ssl/certs/ca-certificates.crt
while :; do
    case $1 in
        --timestamp) timestamp=$2; shift 2 ;;
        --ca) ca=$2; shift 2 ;;
        *) break ;;
    esac
done
cert=$1
key=$2
shift 2
for dll in "$@"; do
    rm -f "$dll.signed"
    osslsigncode sign -certs "$cert" -key "$key" -h sha256 ${timestamp:+-ts "$timestamp"} \
        -in "$dll" -out "$dll.signed" >/dev/null
    mv "$dll.signed" "$dll"
    # osslsigncode says "Succeeded" only when the signature, the file's digest and the chain
    # to CA all hold.
    result=$(osslsigncode verify -CAfile "$ca" -in "$dll" 2>&1) || { echo "$result" >&2; exit 1; }
    echo "$result" | grep -E '^(Message digest algorithm:|Signature verification:)' |
        sed "s|^|$dll: |"
done
