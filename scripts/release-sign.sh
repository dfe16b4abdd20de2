#!/bin/sh
# The maker's side of updates: the signing key pair, and the signed appcast item of a release archive.
#
#   release-sign.sh keygen <dir>
#       Writes <dir>/update-private.pem (owner-only, in an owner-only folder when it makes one; never
#       overwritten) and prints the base64 of the raw Ed25519 public key, for -DLUMENO_UPDATE_PUBLIC_KEY=...
#       when building the releases it checks.
#   release-sign.sh sign <private.pem> <archive> <version> <display-version> <url> [options]
#       Prints the appcast <item> for <archive> served at <url>: its version, length and the base64 Ed25519
#       signature of the archive's bytes.
#   release-sign.sh release <private.pem> <build-dir> <url-folder> [options]
#       Builds the release archive in <build-dir> (make release-archive) and prints its signed item, with
#       the version of that build and the url <url-folder>/<archive name>. A build configured without
#       the update feed or the public key is refused: installed, its release would never update again. So is
#       a private key whose public half is not the key the build was configured with: every installed copy
#       would refuse the release.
#
# Options of sign and release:
#   --notes-link <url>            release notes at an address
#   --description <text>          release notes in the item (HTML is kept as text)
#   --minimum-system-version <v>  the oldest system the release runs on
#
# Needs the openssl command line (OpenSSL 3).
set -eu

die() {
    echo "release-sign.sh: $*" >&2
    exit 1
}

usage() {
    sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

# Text for XML element content and attribute values.
xml_escape() {
    printf '%s' "$1" | sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' -e "s/'/\&apos;/g"
}

# The base64 of the raw Ed25519 public half of a private key, as keygen prints it and the bundle holds it.
public_half() {
    # The DER form of an Ed25519 public key is 44 bytes, ending with the 32 raw key bytes.
    der=$(openssl pkey -in "$1" -pubout -outform DER | base64 -w0)
    [ "$(printf '%s' "$der" | base64 -d | wc -c)" -eq 44 ] || return 1
    printf '%s' "$der" | base64 -d | tail -c 32 | base64 -w0
}

keygen() {
    [ $# -eq 1 ] || usage
    dir=$1
    key="$dir/update-private.pem"
    [ -e "$key" ] && die "$key exists already; a release signed with a new key would not verify for users"
    # A folder made here is the maker's alone; openssl writes the key itself owner-only.
    [ -d "$dir" ] || mkdir -p -m 700 "$dir" || die "can't make $dir"
    openssl genpkey -algorithm ed25519 -out "$key" || die "openssl could not make a key"
    public_half "$key" || die "openssl could not read the key it made"
    echo
}

sign() {
    [ $# -ge 5 ] || usage
    private=$1 archive=$2 version=$3 display_version=$4 url=$5
    shift 5
    notes_link='' description='' minimum_system=''
    while [ $# -gt 0 ]; do
        [ $# -ge 2 ] || usage
        case $1 in
            --notes-link) notes_link=$2 ;;
            --description) description=$2 ;;
            --minimum-system-version) minimum_system=$2 ;;
            *) usage ;;
        esac
        shift 2
    done
    [ -r "$private" ] || die "can't read the private key $private"
    [ -f "$archive" ] && [ -r "$archive" ] || die "can't read the archive $archive"
    [ -n "$version" ] || die "the version is empty"
    [ -n "$display_version" ] || die "the display version is empty"
    [ -n "$url" ] || die "the url is empty"

    length=$(stat -c %s "$archive")
    signature=$(openssl pkeyutl -sign -rawin -inkey "$private" -in "$archive" | base64 -w0) ||
        die "openssl could not sign $archive with $private"
    [ -n "$signature" ] || die "openssl could not sign $archive with $private"

    echo '<item xmlns:lumeno="https://lumeno.app/xml/update">'
    echo "    <title>Lumeno $(xml_escape "$display_version")</title>"
    echo "    <pubDate>$(LC_ALL=C date -u -R)</pubDate>"
    echo "    <lumeno:version>$(xml_escape "$version")</lumeno:version>"
    echo "    <lumeno:shortVersionString>$(xml_escape "$display_version")</lumeno:shortVersionString>"
    [ -z "$notes_link" ] || echo "    <lumeno:releaseNotesLink>$(xml_escape "$notes_link")</lumeno:releaseNotesLink>"
    [ -z "$description" ] || echo "    <description>$(xml_escape "$description")</description>"
    [ -z "$minimum_system" ] ||
        echo "    <lumeno:minimumSystemVersion>$(xml_escape "$minimum_system")</lumeno:minimumSystemVersion>"
    echo "    <enclosure url=\"$(xml_escape "$url")\" length=\"$length\" type=\"application/x-gtar\""
    echo "               lumeno:edSignature=\"$signature\"/>"
    echo '</item>'
}

# One property of a bundle.properties file.
property() {
    sed -n "s/^[[:space:]]*$1[[:space:]]*=[[:space:]]*\([^[:space:]#]*\).*/\1/p" "$2" | head -n 1
}

release() {
    [ $# -ge 3 ] || usage
    private=$1 build=$2 folder=$3
    shift 3
    bundle="$build/src/bundle.properties"
    [ -r "$bundle" ] || die "$build is not a configured build folder (no $bundle)"
    # Configured again first: the bundle then names the version just raised in CMakeLists.txt.
    cmake "$build" >&2 || die "$build could not be configured"
    version=$(property version "$bundle")
    display_version=$(property display-version "$bundle")
    [ -n "$(property feed "$bundle")" ] ||
        die "$build was configured without -DLUMENO_UPDATE_FEED=...: installed, this release would never look for an update again"
    configured_key=$(property public-key "$bundle")
    [ -n "$configured_key" ] ||
        die "$build was configured without -DLUMENO_UPDATE_PUBLIC_KEY=...: installed, this release could never check an update again"
    [ -r "$private" ] || die "can't read the private key $private"
    signing_key=$(public_half "$private" 2>/dev/null) || die "$private is not an Ed25519 private key openssl can read"
    [ "$signing_key" = "$configured_key" ] ||
        die "the private key $private has the public half $signing_key, but $build was configured with -DLUMENO_UPDATE_PUBLIC_KEY=$configured_key: every installed copy would refuse this release as not signed by its maker"
    # An archive left from an earlier build must not pass for this one.
    rm -f "$build"/lumeno-"$version"-linux-*.tar.gz
    cmake --build "$build" --target release-archive >&2 || die "the release archive did not build"
    archive=$(ls "$build"/lumeno-"$version"-linux-*.tar.gz 2>/dev/null | head -n 1)
    [ -n "$archive" ] || die "no lumeno-$version-linux-*.tar.gz in $build"
    sign "$private" "$archive" "$version" "${display_version:-$version}" "${folder%/}/$(basename "$archive")" "$@"
}

[ $# -ge 1 ] || usage
command=$1
shift
case $command in
    keygen) keygen "$@" ;;
    sign) sign "$@" ;;
    release) release "$@" ;;
    *) usage ;;
esac
