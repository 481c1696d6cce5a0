# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches and unpacks a Debian source package without changing the machine's
# apt set-up: a private apt configuration with a deb-src entry for the
# machine's own mirror. Sourced by the build scripts beside it.
#   debian_source <package> <version> <folder>
# leaves the downloaded files in <folder>/apt/download and sets
# debian_source_dir to that folder.

debian_source() {
    local package=$1 version=$2 folder=$3
    local apt=$folder/apt
    rm -rf "$apt"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/download"
    # The machine's own mirrors, as binary entries in either of apt's formats,
    # turned into source entries.
    {
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources
        fi
    } >"$apt/mirror.sources"
    {
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list
        fi
    } >"$apt/mirror.list"
    local options=(
        -o "Dir::Etc::SourceParts=$apt/parts" -o "Dir::Etc::SourceList=$apt/mirror.list"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
        -o "APT::Sandbox::User=root"
    )
    mkdir -p "$apt/parts"
    cp "$apt/mirror.sources" "$apt/parts/mirror.sources"
    echo "Загружаются исходные тексты Debian: $package $version"
    apt-get "${options[@]}" -qq update
    (cd "$apt/download" && apt-get "${options[@]}" -qq source --download-only "$package=$version")
    debian_source_dir=$apt/download
}
