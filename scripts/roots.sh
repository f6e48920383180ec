# shellcheck shell=bash
# Sourced by the scripts that build or try Lablist in clean Debian roots
# (scripts/package, scripts/fresh-check): which releases they take, the
# archive this machine's apt reads, root tarballs made from it with mmdebstrap,
# and the subordinate IDs that the unshare modes of mmdebstrap, sbuild and
# autopkgtest need.
# A script sets `me` (its name, for messages) before sourcing this.
me=${me:?set me before sourcing roots.sh}
roots_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Each release the checks take, with the number its package versions carry;
# forky is Debian 14, the coming release.
declare -A RELEASE_NUMBERS=([bookworm]=12 [trixie]=13 [forky]=14)

# Fails with a message for a release not in RELEASE_NUMBERS.
check_release_name() {
    [ -n "${RELEASE_NUMBERS[$1]:-}" ] && return 0
    echo "$me: $1 is not a release this takes (${!RELEASE_NUMBERS[*]})" >&2
    return 1
}

# The archive this machine's apt reads, as apt itself parses its sources
# (one-line and deb822 files alike), for RELEASE: the suites of the release
# this machine runs, renamed (bookworm-updates becomes trixie-updates, and so
# on). One sources.list line per suite.
archive_lines() {
    local own
    own=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # shellcheck disable=SC2016 # apt's own placeholders
    apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
        'Target-Of: deb' 'Identifier: Packages' |
        awk -v own="$own" -v want="$1" '
            $2 == own || index($2, own "-") == 1 {
                suite = want substr($2, length(own) + 1)
                key = $1 " " suite
                if (!(key in comps)) order[n++] = key
                if (index(" " comps[key] " ", " " $3 " ") == 0) comps[key] = comps[key] " " $3
            }
            END { for (i = 0; i < n; i++) print "deb " order[i] comps[order[i]] }'
}

# The settings this machine's apt needs to reach that archive (a proxy, or an
# archive whose Release files are past their date, as forky's can be), one
# option per line for mmdebstrap. Check-Valid-Until is always off for forky.
apt_options() {
    local key value
    for key in Acquire::http::Proxy Acquire::https::Proxy Acquire::Check-Valid-Until \
        Acquire::Check-Date; do
        value=$(apt-config dump --format '%v' "$key")
        [ "$1" = forky ] && [ "$key" = Acquire::Check-Valid-Until ] && value=false
        [ -z "$value" ] || echo "--aptopt=$key \"$value\""
    done
}

# make_root RELEASE TARGET MMDEBSTRAP-OPTION...: a bare root of RELEASE (a
# directory, or a tarball when TARGET ends in .tar) from this machine's archive.
make_root() {
    local release=$1 target=$2 lines=() options=()
    shift 2
    mapfile -t lines < <(archive_lines "$release")
    mapfile -t options < <(apt_options "$release")
    if [ ${#lines[@]} -eq 0 ]; then
        echo "$me: this machine's apt has no Debian source to take $release from" >&2
        return 1
    fi
    printf 'sources: %s\n' "${lines[@]}"
    mmdebstrap "${options[@]}" "$@" "$release" "$target" "${lines[@]}"
}

# cached_root RELEASE TARBALL MMDEBSTRAP-OPTION...: makes the tarball unless
# one made in the last week is there; the tools that unpack it bring it up to
# date with apt.
cached_root() {
    if [ -n "$(find "$2" -mtime -7 2>/dev/null)" ]; then
        echo "$me: reusing $2"
        return 0
    fi
    rm -f "$2"
    make_root "$@"
}

# with_subids COMMAND...: runs COMMAND where this user has subordinate user and
# group IDs, which sbuild and autopkgtest map their roots' users to. A user
# with entries of their own keeps them; root without any gets a range in a
# mount namespace of its own, so that the machine's files stay as they are.
with_subids() {
    local user
    user=$(id -un)
    if grep -q "^$user:" /etc/subuid 2>/dev/null && grep -q "^$user:" /etc/subgid 2>/dev/null; then
        "$@"
    elif [ "$(id -u)" -eq 0 ]; then
        unshare --mount --propagation private -- "$roots_dir/packaging/own-subids" "$@"
    else
        echo "$me: $user has no range in /etc/subuid and /etc/subgid (usermod --add-subuids" \
            "--add-subgids), which mmdebstrap, sbuild and autopkgtest need; or run this as root" >&2
        return 1
    fi
}
