#!/usr/bin/env bash
# The Ansible collection for real: ansible-playbook runs the example playbook (ansible/playbooks/fleet.yml)
# against three hosts on this machine (ansible_connection: local), each with its own sample installation and
# registry folder (scripts/make-sample-installation.sh). It checks that
#   - check mode reports changed on every host and writes nothing;
#   - the first run reports changed on every host, the second changed=0 on every host;
#   - each host's tarnctl export is then the playbook's document, byte for byte;
#   - the password reaches tarnctl on its standard input only: never on tarnctl's command line or its
#     parent's, and never in ansible-playbook's output (-vvv shows each task's arguments).
#
#   scripts/ansible-fleet-test.sh [TARNCTL]      (default build/default/config_tool/tarnctl/tarnctl)
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
tarnctl="$(realpath "${1:-$repo/build/default/config_tool/tarnctl/tarnctl}")"
document="$repo/ansible/playbooks/files/fleet-configuration.json"
password="orvant-demo" # the sample installations' own
hosts=(shop1 shop2 shop3)

command -v ansible-playbook >/dev/null || {
    echo "ansible-fleet-test: ansible-playbook not found; run scripts/install-deps.sh (ansible-core)" >&2
    exit 1
}
work="$(mktemp -d "${TMPDIR:-/tmp}/orvant-ansible-XXXXXX")"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

# Ansible keeps everything of its own in the run's folder, and finds the collection there.
export ANSIBLE_HOME="$work/ansible" ANSIBLE_LOCAL_TEMP="$work/ansible/tmp" ANSIBLE_REMOTE_TEMP="$work/ansible/remote"
export ANSIBLE_COLLECTIONS_PATH="$work/collections" ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0
export ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_FORCE_COLOR=0 ANSIBLE_DEPRECATION_WARNINGS=0
: >"$ANSIBLE_CONFIG"
mkdir -p "$work/collections/ansible_collections/orvant"
ln -s "$repo/ansible" "$work/collections/ansible_collections/orvant/setup"

# tarnctl as the module starts it, with its command line and its parent's written down.
cat >"$work/tarnctl" <<WRAPPER
#!/bin/sh
{ printf 'tarnctl:'; printf ' %s' "\$@"; printf '\nparent: '; tr '\\0' ' ' </proc/\$PPID/cmdline; printf '\n'; } >>"$work/command-lines"
exec "$tarnctl" "\$@"
WRAPPER
chmod +x "$work/tarnctl"

{
    echo "orvant_terminals:"
    echo "  vars:"
    echo "    ansible_connection: local"
    echo "    ansible_python_interpreter: \"{{ ansible_playbook_python }}\""
    echo "    orvant_home: 'C:\\ORVANT'"
    echo "    orvant_tarnctl: $work/tarnctl"
    echo "    orvant_password: $password"
    echo "  hosts:"
    for host in "${hosts[@]}"; do
        TARNCTL="$tarnctl" "$repo/scripts/make-sample-installation.sh" "$work/$host" >/dev/null
        echo "    $host:"
        echo "      orvant_environment:"
        echo "        ORVANT_DRIVE_C: $work/$host/drive_c"
        echo "        ORVANT_REGISTRY_DIR: $work/$host/registry"
        echo "        ORVANT_COM_PORT_DIR: $work/$host/com"
    done
} >"$work/inventory.yml"
chmod 600 "$work/inventory.yml"

failures=0
fail() {
    echo "ansible-fleet-test: FAILED: $*" >&2
    failures=$((failures + 1))
}
# Every file of the three installations and registry folders with its digest (lock files hold nothing).
state() { (cd "$work" && find shop* -type f ! -name '*.lock' -print0 | sort -z | xargs -0 sha256sum); }
playbook() {
    local log="$work/$1.log"
    shift
    ansible-playbook -vvv -i "$work/inventory.yml" "$repo/ansible/playbooks/fleet.yml" "$@" >"$log" 2>&1 || {
        cat "$log" >&2
        fail "ansible-playbook $* exited non-zero"
    }
    cat "$log" >>"$work/all-output"
}
# Every host's line of the play recap says changed=N.
expect_changed() {
    local run="$1" expected="$2" host
    for host in "${hosts[@]}"; do
        grep -Eq "^$host +: ok=1 +changed=$expected " "$work/$run.log" ||
            fail "$run: $host did not report changed=$expected: $(grep -E "^$host " "$work/$run.log")"
    done
}

before="$(state)"
playbook check --check --diff
expect_changed check 1
[ "$(state)" = "$before" ] || fail "check mode wrote to an installation"
grep -q $'\t2\tTimeout\t' "$work/check.log" || fail "check mode with --diff did not show the dry run's lines"

playbook first
expect_changed first 1
playbook second
expect_changed second 0

for host in "${hosts[@]}"; do
    (
        . "$work/$host/env.sh"
        printf '%s\n' "$password" | "$tarnctl" --password-stdin export
    ) >"$work/$host.json"
    cmp -s "$work/$host.json" "$document" || fail "$host: tarnctl export differs from the document: $(diff "$work/$host.json" "$document" | head -5)"
done

if grep -qF -- "$password" "$work/command-lines"; then
    fail "the password was on a command line: $(grep -F -- "$password" "$work/command-lines" | head -1)"
fi
grep -q 'import' "$work/command-lines" || fail "the module never started tarnctl import"
if grep -qF -- "$password" "$work/all-output"; then
    fail "ansible-playbook's output shows the password: $(grep -F -- "$password" "$work/all-output" | head -1)"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "ansible-fleet-test: check mode, two runs and the exports of ${#hosts[@]} hosts as expected"
