#!/bin/sh
# Starts CUPS (when it is not running) with the cups-pdf printer "PDF" as the
# default destination, and prints the folder where the printed PDF files land.
# Safe to run again: it only adds what is missing.
set -eu

running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

if ! running; then
    mkdir -p /run/cups
    cupsd
    deadline=$(($(date +%s) + 15))
    until running; do
        if [ "$(date +%s)" -ge "$deadline" ]; then
            echo "start_cups.sh: cupsd did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
fi

if ! lpstat -v PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
fi
cupsenable PDF
cupsaccept PDF
if ! lpstat -d 2>/dev/null | grep -q 'destination: PDF$'; then
    lpadmin -d PDF
fi

# cups-pdf writes into the "Out" folder of its configuration, ${HOME} being the
# home of the user who printed.
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\{1,\}//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
[ -n "$out" ] || out='${HOME}/PDF'
out=$(printf '%s\n' "$out" | sed "s|\${HOME}|$home|g; s|\${USER}|$(id -un)|g")
mkdir -p "$out"
printf '%s\n' "$out"
