#!/usr/bin/env bash
# Runs one fixed session of edits with tarnctl and Varset on a fresh sample installation and prints a
# manifest of every file the tools left behind (SHA-256 and path), so that two builds can be compared
# byte for byte:
#
#   scripts/scripted-session.sh build/default /tmp/a > a.txt
#   scripts/scripted-session.sh build/other   /tmp/a > b.txt    # same folder: paths are stored in files
#   diff a.txt b.txt
#
# The session covers both configuration modes, new instances, device profiles, refused edits and a
# password change. The folder is created afresh (it must not exist, or must be an earlier session's).
set -euo pipefail

build="$(cd "${1:?usage: scripted-session.sh BUILD_DIR FOLDER}" && pwd)"
folder="${2:?usage: scripted-session.sh BUILD_DIR FOLDER}"
repo="$(cd "$(dirname "$0")/.." && pwd)"
tarnctl="$build/config_tool/tarnctl/tarnctl"
varset="$build/env_tool/Varset"

if [ -e "$folder" ] && [ ! -e "$folder/.orvant-demo" ]; then
    echo "scripted-session: $folder exists and is not a sample installation" >&2
    exit 1
fi
rm -rf -- "$folder"
TARNCTL="$tarnctl" "$repo/scripts/make-sample-installation.sh" "$folder" >/dev/null
folder="$(cd "$folder" && pwd)"
# shellcheck source=/dev/null
. "$folder/env.sh"
printf 'orvant-demo\n' >"$folder/pw"

step() {
    # Each command's status and output belong to the session's result too.
    local status=0
    "$tarnctl" --password-file "$folder/pw" "$@" >>"$folder/session.log" 2>&1 || status=$?
    echo "[$status] $*" >>"$folder/session.log"
}

# Registry mode, as the sample installation starts.
step apply
step set 'Environment=Petrol Station' HBLHost=10.0.0.5 DeleteTransAfterMin=75
step set 1 'PinPad=Verifone Vx670' PinPadPort=5001 Timeout=61
step add-instance
step add-instance
step set 2 PinPad=Sagem ComPort=COM1 ReaderComPort=COM3 SendReceipt=True ReceiptPort=20002
step set 3 InterfaceMethod=File InputDir='C:\ORVANT\in3' OutputDir='C:\ORVANT\out3' FontName=Arial
step set 3 Timeout=5
step set 2 ReceiptDir='C:\ORVANT\INSTANCE_01\'
step set 1 'PinPad=Dione secura UPT No MagStripe' ComPort=COM3 WindowsSize=85 BackGroundColor=255
# XML mode from here on.
step set Configuration=xml
step add-instance
step set 4 'PinPad=Trintech smart 5000' AvsRuleIndex=3 UseAvsRules=True ReferralMode=2 'LogoFile=C:\ORVANT\£.jpg'
step set Environment=Hospitality
step set 'PinPad=Dione xtreme' ComPort=COM1 CheckUpgrade=False
step apply
# Back to the registry, and a new password.
step set Configuration=registry Environment=Kiosk
printf 'orvant-demo\nanother-pass\n' >"$folder/pw2"
"$tarnctl" --password-file "$folder/pw2" passwd >>"$folder/session.log" 2>&1 || echo "[passwd failed]" >>"$folder/session.log"
step list
printf 'another-pass\n' >"$folder/pw"
step list
step verify

# Varset against the same registry: the machine environment, then a second run that changes nothing.
if [ -x "$varset" ]; then
    "$varset" >>"$folder/session.log" 2>&1 || true
    "$varset" >>"$folder/session.log" 2>&1 || true
fi

cd "$folder"
# The stand-in Java launcher's log holds dates and env.sh the folder; neither is the tools' output.
# Lock files hold nothing.
find . -type f ! -name env.sh ! -name java-stand-in.log ! -name pw ! -name pw2 ! -name '*.lock' -print0 | sort -z \
    | xargs -0 sha256sum
