# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2154 # sourced; the caller sets $work
# The installed layout, shared by the install and package tests. Sourced;
# the caller defines fail() and sets $work (a scratch folder).

# check_layout <prefix> <source dir> <build dir>: everything that belongs
# under the prefix is there, wired together, and nothing else is.
check_layout() {
    local prefix=$1 src=$2 build=$3

    (cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$work/files"
    LC_ALL=C sort >"$work/expected" <<'EOF'
bin/virtalab
lib/virtalab/virtalab
lib/virtalab/virtalab-print.so
lib/virtalab/virtalab-sound.so
lib/virtalab/whip.wav
lib/virtalab/Sldwst2.wav
lib/virtalab/Sldwst.wav
share/applications/virtalab.desktop
share/doc/virtalab/changelog.Debian.gz
share/doc/virtalab/copyright
share/icons/hicolor/16x16/apps/virtalab.png
share/icons/hicolor/32x32/apps/virtalab.png
share/man/man1/virtalab.1.gz
share/metainfo/io.github.virtalab.Virtalab.metainfo.xml
EOF
    if ! diff -u "$work/expected" "$work/files" >"$work/files.diff"; then
        fail "installed files differ from the designed layout (- missing, + unexpected):
$(cat "$work/files.diff")"
    fi

    # The program finds its sounds beside itself, so the command must be a
    # link into its folder that still works wherever the tree is unpacked.
    local program=$prefix/lib/virtalab/virtalab
    if [ ! -x "$program" ] || [ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" != '177ELF' ]; then
        fail "$program is not an executable program"
    fi
    local link=$prefix/bin/virtalab
    if [ ! -L "$link" ]; then
        fail "bin/virtalab is not a link to the program"
    else
        local target
        target=$(readlink "$link")
        case $target in
        /*) fail "bin/virtalab points to the absolute path $target" ;;
        esac
        if [ "$(realpath -m "$link")" != "$(realpath -m "$program")" ]; then
            fail "bin/virtalab leads to $target, not to the program"
        fi
    fi

    # Printing and sound are the modules' alone: the program starts without
    # their Qt libraries and loads each module on first use.
    if command -v readelf >/dev/null; then
        local needed
        needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
        if grep -Eq 'Qt6(Multimedia|PrintSupport)' <<<"$needed"; then
            fail "the program itself links the print or sound libraries: ${needed//$'\n'/ }"
        fi
        local module library
        for module in print:Qt6PrintSupport sound:Qt6Multimedia; do
            library=${module#*:}
            module=$prefix/lib/virtalab/virtalab-${module%%:*}.so
            if ! readelf -d "$module" 2>/dev/null | grep -q "(NEEDED).*lib$library"; then
                fail "$module does not hold the $library code"
            fi
        done
    fi

    # The program loads a module only if it is byte for byte the one it was
    # built with, so installing and packaging must leave the modules alone.
    local differences
    if ! differences=$(bash "$src/tools/check-modules.sh" "$build/platform/modules/modules.txt" \
        "$prefix/lib/virtalab"); then
        fail "lib/virtalab: $differences"
    fi

    local sound
    for sound in whip.wav Sldwst2.wav Sldwst.wav; do
        if ! cmp -s "$src/assets/$sound" "$prefix/lib/virtalab/$sound"; then
            fail "lib/virtalab/$sound differs from assets/$sound"
        fi
    done

    # The entry starts the installed command with the installed icon, and the
    # metadata launches that entry.
    local entry=$prefix/share/applications/virtalab.desktop
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    if [ ! -e "$prefix/bin/$exec" ]; then
        fail "the desktop entry runs '$exec', which is not in bin/"
    fi
    local size width height png
    for size in 16 32; do
        png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
        if [ ! -f "$png" ]; then
            fail "no ${size}x${size} theme icon named '$icon'"
            continue
        fi
        # PNG signature, then the IHDR chunk with width and height (big-endian).
        if [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" != 89504e470d0a1a0a ]; then
            fail "$png is not a PNG file"
            continue
        fi
        width=$(od -An -tu1 -j16 -N4 "$png" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
        height=$(od -An -tu1 -j20 -N4 "$png" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
        if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
            fail "$png is $width x $height, expected $size x $size"
        fi
    done
    local launched
    launched=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' \
        "$prefix/share/metainfo/io.github.virtalab.Virtalab.metainfo.xml")
    if [ ! -f "$prefix/share/applications/$launched" ]; then
        fail "the metadata launches '$launched', which is not installed"
    fi
}
