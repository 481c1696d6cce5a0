# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A print scheduler of the test's own: CUPS's cupsd with its configuration,
# spool, logs and socket in a scratch folder, reached through CUPS_SERVER,
# and one queue, the default: a colour printer whose backend keeps each
# job's document as it was sent. Nothing reaches the machine's own scheduler or printers. Sourced.
#   cups_start <folder> <margin>   starts it, with the printer's margin in
#                         points (0: it prints on the whole sheet, as a PDF
#                         printer does); exports CUPS_SERVER
#   cups_job <n>          waits for the n-th job; prints its document's path
#   cups_jobs             how many jobs were kept
#   cups_stop             ends it

cups_pid=
cups_dir=

cups_start() {
    cups_dir=$1
    local m=$2
    local tool
    for tool in /usr/sbin/cupsd lpadmin lpstat; do
        command -v "$tool" >/dev/null 2>&1 || {
            echo "SKIP: $tool not found (Debian packages cups-daemon, cups-client)"
            exit 77
        }
    done
    mkdir -p "$cups_dir"/{spool,cache,state,tmp,log,jobs,bin/backend,bin/daemon}
    # The scheduler runs its helpers from its own folder: the system's
    # launcher, and a backend that keeps the document (no filters run on a
    # raw queue, so the job is exactly what the program sent).
    ln -sf /usr/lib/cups/daemon/cups-exec "$cups_dir/bin/daemon/cups-exec"
    cat >"$cups_dir/bin/backend/keep" <<'EOF'
#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'direct keep "Unknown" "Keeps each job"'
    exit 0
fi
folder=${DEVICE_URI#keep:}
if [ -n "$6" ]; then cat "$6"; else cat; fi >"$folder/.job-$1" && mv "$folder/.job-$1" "$folder/job-$1"
EOF
    # Run as the scheduler's own user: a backend only its owner can run
    # runs as root under a root scheduler.
    chmod 700 "$cups_dir/bin/backend/keep"
    {
        echo "ServerRoot $cups_dir"
        echo "ServerBin $cups_dir/bin"
        echo "DataDir /usr/share/cups"
        echo "RequestRoot $cups_dir/spool"
        echo "CacheDir $cups_dir/cache"
        echo "StateDir $cups_dir/state"
        echo "TempDir $cups_dir/tmp"
        echo "AccessLog $cups_dir/log/access_log"
        echo "ErrorLog $cups_dir/log/error_log"
        echo "PageLog $cups_dir/log/page_log"
        if [ "$(id -u)" -ne 0 ]; then
            echo "User $(id -un)"
            echo "Group $(id -gn)"
            echo "SystemGroup $(id -gn)"
        fi
    } >"$cups_dir/cups-files.conf"
    cat >"$cups_dir/cupsd.conf" <<EOF
Listen $cups_dir/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    /usr/sbin/cupsd -f -c "$cups_dir/cupsd.conf" -s "$cups_dir/cups-files.conf" \
        >>"$cups_dir/log/cupsd.out" 2>&1 &
    cups_pid=$!
    # The client library reads a local scheduler's printer descriptions
    # straight from its folder: from this one's, not the machine's, which may
    # have a printer of the same name.
    export CUPS_SERVER=$cups_dir/cups.sock CUPS_SERVERROOT=$cups_dir
    unset LPDEST PRINTER
    local _
    for _ in $(seq 50); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        kill -0 "$cups_pid" 2>/dev/null || break
        sleep 0.1
    done
    lpstat -r 2>/dev/null | grep -q 'is running' || {
        echo "FAIL: the test's print scheduler did not start"
        cat "$cups_dir/log/cupsd.out" "$cups_dir/log/error_log" 2>/dev/null
        exit 1
    }
    # A colour printer for A4 and Letter paper with the margin asked for. It
    # takes PDF and PostScript as they are: no filter runs, and the job kept
    # is exactly what the program sent.
    cat >"$cups_dir/lab.ppd" <<EOF
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LAB.PPD"
*Manufacturer: "Virtalab"
*Product: "(Lab Printer)"
*ModelName: "Virtalab Lab Printer"
*ShortNickName: "Lab Printer"
*NickName: "Virtalab Lab Printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/pdf 0 -"
*cupsFilter2: "application/postscript application/postscript 0 -"
*OpenUI *ColorModel/Color Mode: PickOne
*OrderDependency: 10 AnySetup *ColorModel
*DefaultColorModel: RGB
*ColorModel RGB/Color: ""
*ColorModel Gray/Grayscale: ""
*CloseUI: *ColorModel
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "$m $m $((595 - m)) $((842 - m))"
*ImageableArea Letter/US Letter: "$m $m $((612 - m)) $((792 - m))"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
EOF
    # CUPS warns that printer drivers (PPD files) are deprecated.
    lpadmin -p VirtalabTest -E -v "keep:$cups_dir/jobs" -P "$cups_dir/lab.ppd" -D "Лаборатория" \
        2>>"$cups_dir/log/lpadmin.log" && lpadmin -d VirtalabTest 2>>"$cups_dir/log/lpadmin.log" || {
        echo "FAIL: the test's print queue could not be made"
        cat "$cups_dir/log/lpadmin.log"
        exit 1
    }
}

cups_jobs() {
    find "$cups_dir/jobs" -name 'job-*' | wc -l
}

cups_job() {
    local _
    for _ in $(seq 150); do
        if [ "$(cups_jobs)" -ge "$1" ]; then
            echo "$cups_dir/jobs/$(cd "$cups_dir/jobs" && ls job-* | sort -t- -k2 -n | sed -n "$1p")"
            return
        fi
        sleep 0.2
    done
}

cups_stop() {
    if [ -n "$cups_pid" ]; then
        kill "$cups_pid" 2>/dev/null || true
        wait "$cups_pid" 2>/dev/null || true
        cups_pid=
    fi
}
