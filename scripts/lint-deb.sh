#!/usr/bin/env bash
# Checks a Debian package of the set-up tools as Debian's own tools see it: lintian reports no error,
# no warning and no information tag but those kept below, each with its reason; every manual page
# renders without a warning; tarnctl's page lists the commands and options of its --help; the
# changelog, tarnctl --version and the package carry the same version; the copyright file parses as
# Debian's machine-readable format. Called by scripts/check-package.sh.
set -euo pipefail

deb=${1:?usage: lint-deb.sh PACKAGE.deb}

# Information tags that stay, with what they name, and why. Any other I: tag fails the check.
declare -A kept_info_tags=(
    # Varset is built with -D_FORTIFY_SOURCE=2 like the others, but none of its C library calls writes
    # to a buffer whose size the compiler knows (its buffers are std::string and std::vector storage),
    # so no call can be fortified; tarnctl and TarnConfig do show fortified calls.
    ["hardening-no-fortify-functions [usr/bin/Varset]"]=1
    # Not a word of tarnctl's: the compiler stores the setting name "Environment" (and others) as
    # immediate values in pieces of eight bytes, and lintian reads the piece "ment" as a misspelling.
    ["spelling-error-in-binary ment meant [usr/bin/tarnctl]"]=1
)

failures=0
fail() {
    echo "lint-deb: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- lintian
lintian --display-info --no-override --fail-on none --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || {
    cat "$work/lintian.txt" >&2
    echo "lint-deb: lintian could not check $deb" >&2
    exit 1
}
while read -r line; do
    # "E: orvant-setup: tag-name [details]"
    [[ $line =~ ^([A-Z]):\ [^:]+:\ (.+)$ ]] || continue
    kind=${BASH_REMATCH[1]}
    tag=${BASH_REMATCH[2]}
    case $kind in
    E | W) fail "lintian: $line" ;;
    I) [ -n "${kept_info_tags[$tag]:-}" ] || fail "lintian: $line (an information tag not kept in scripts/lint-deb.sh)" ;;
    esac
done <"$work/lintian.txt"

dpkg-deb -x "$deb" "$work/root"
version=$(dpkg-deb -f "$deb" Version)

# --- manual pages: one for each program, each rendered at 80 columns without a warning
for program in "$work"/root/usr/bin/*; do
    page="$work/root/usr/share/man/man1/$(basename "$program").1.gz"
    if [ ! -f "$page" ]; then
        fail "$(basename "$program") has no manual page"
        continue
    fi
    # C.UTF-8 is on every Debian machine: a locale that is not would be a warning of its own.
    if ! warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || [ -n "$warnings" ]; then
        fail "$(basename "$page") renders with warnings: $warnings"
    fi
done

# --- every gzip file without a name or a time stamp (gzip -n), so that each build gives the same bytes;
# lintian only sees time stamps later than the changelog's
while IFS= read -r -d '' compressed; do
    read -r _ _ _ flags time0 time1 time2 time3 < <(od -An -tu1 -N8 "$compressed")
    if ((flags & 8)) || [ "$time0$time1$time2$time3" != 0000 ]; then
        fail "${compressed#"$work/root"} keeps a file name or time stamp: it was not made with gzip -n"
    fi
done < <(find "$work/root" -name '*.gz' -print0)

# --- tarnctl's page and --help: the same commands and options
# The entries of a help section ("Commands:", "Options:"): the first word of each of its least indented
# lines; the section ends at the next line that is not indented.
help_entries() {
    awk -v section="$1" '
        tolower($0) == tolower(section) ":" { inside = 1; least = 1000; next }
        inside && /^[^ ]/ { inside = 0 }
        inside && NF {
            indent = match($0, /[^ ]/) - 1
            if (indent < least) { least = indent; n = 0 }
            if (indent == least) { entries[++n] = $1 }
        }
        END { for (i = 1; i <= n; i++) print entries[i] }'
}
# The entries of a manual page's section or subsection: the first word of the tag of each of its
# tagged paragraphs (.TP), fonts dropped.
man_entries() {
    awk -v section="$1" '
        /^\.S[HS] / {
            title = $0
            sub(/^\.S[HS] +/, "", title); gsub(/"/, "", title); sub(/:$/, "", title)
            inside = tolower(title) == tolower(section)
            next
        }
        inside && /^\.TP/ { tag_follows = 1; next }
        inside && tag_follows {
            tag_follows = 0
            tag = $0
            gsub(/\\f[BIRP]|\\[,\/]/, "", tag); gsub(/\\-/, "-", tag)
            split(tag, words, " ")
            print words[1]
        }'
}
"$work/root/usr/bin/tarnctl" --help >"$work/help.txt"
gzip -dc "$work/root/usr/share/man/man1/tarnctl.1.gz" >"$work/page.txt"
for section in Commands Options; do
    help_entries "$section" <"$work/help.txt" | sort >"$work/help-$section"
    man_entries "$section" <"$work/page.txt" | sort >"$work/page-$section"
    if [ ! -s "$work/help-$section" ]; then
        fail "tarnctl --help has no $section section"
    elif ! differences=$(diff "$work/help-$section" "$work/page-$section"); then
        fail "tarnctl --help and its manual page differ in their $section (< help, > page):"$'\n'"$differences"
    fi
done

# --- one version: the package's, the changelog's newest entry and tarnctl --version
gzip -dc "$work/root/usr/share/doc/orvant-setup/changelog.gz" >"$work/changelog"
changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is $changelog_version, the package $version"
program_version=$("$work/root/usr/bin/tarnctl" --version | head -n 1)
[ "${program_version##* }" = "$version" ] || fail "tarnctl --version says '$program_version', the package is $version"

# --- the copyright file in Debian's machine-readable format
/usr/bin/python3 - "$work/root/usr/share/doc/orvant-setup/copyright" <<'EOF' || fail "the copyright file is not in Debian's machine-readable format"
import sys
from debian.copyright import Copyright

with open(sys.argv[1], encoding="utf-8") as copyright_file:
    parsed = Copyright(copyright_file, strict=True)
if parsed.header.format != "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/":
    sys.exit("the Format field does not name the format")
files = list(parsed.all_files_paragraphs())
if not any("*" in paragraph.files for paragraph in files):
    sys.exit("no Files paragraph covers every file")
licences = {paragraph.license.synopsis for paragraph in parsed.all_license_paragraphs()}
for paragraph in files:
    if not paragraph.license.text and paragraph.license.synopsis not in licences:
        sys.exit(f"licence {paragraph.license.synopsis} has no text")
EOF

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "lint-deb: lintian clean, $(ls "$work"/root/usr/share/man/man1 | wc -l) manual pages, tarnctl's page matches its --help, version $version"
