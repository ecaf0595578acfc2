#!/usr/bin/env bash
# Creates a sample ORVANT installation for the demo in a folder of the user's (default ~/orvant-demo):
#
#   drive_c/ORVANT/     the installation, C:\ORVANT as the tools see it (ORVANT_DRIVE_C=<folder>/drive_c)
#     conf/             ORVANTConfiguration.xml (the Default instance and instance 1), transaction logs
#     properties/       the engine's base property files, hbl.properties, configuser.properties
#     INSTANCE_01/      instance 1's property files, configuration and log folders
#     bin/              receipt-printer program placeholders
#     lib/version.jar   placeholder; the stand-in Java launcher answers for it
#     jre1.6.0_20/bin/java
#                       a stand-in shell script: for "-jar ...\lib\version.jar" it writes version.txt
#                       ("2.2.4.1"), for "-jar installUpdate.jar" it only logs the call
#   registry/           the registry hives (ORVANT_REGISTRY_DIR)
#   com/                stand-ins for the serial ports COM1 and COM3 (ORVANT_COM_PORT_DIR)
#   env.sh              the environment of the demo, for running TarnConfig or tarnctl by hand
#
# The Administrator password (see README, "Demo login") is stored by tarnctl, the project's own command
# line, so the user file holds exactly what the tools compute.
#
# Usage: scripts/make-sample-installation.sh [--fresh] [FOLDER]
#   --fresh   remove an earlier sample installation in FOLDER first
# Environment: TARNCTL, the tarnctl program (default build/default/config_tool/tarnctl/tarnctl).
#
# The folder is marked as a demo folder; a folder that is not empty and not marked is never touched,
# so no real installation can be overwritten.
set -euo pipefail

demo_password="orvant-demo"
repo="$(cd "$(dirname "$0")/.." && pwd)"
tarnctl="${TARNCTL:-$repo/build/default/config_tool/tarnctl/tarnctl}"

fresh=0
if [ "${1:-}" = "--fresh" ]; then
    fresh=1
    shift
fi
folder="${1:-$HOME/orvant-demo}"
marker="$folder/.orvant-demo"

if [ -e "$folder" ] && [ ! -e "$marker" ] && [ -n "$(ls -A "$folder" 2>/dev/null)" ]; then
    echo "make-sample-installation: $folder exists and is not a demo folder; choose another folder" >&2
    exit 1
fi
if [ -e "$marker" ] && [ "$fresh" -eq 1 ]; then
    rm -rf -- "$folder"
fi
if [ -e "$marker" ]; then
    echo "Sample installation already in $folder (use --fresh to start again)"
    exit 0
fi
if [ ! -x "$tarnctl" ]; then
    echo "make-sample-installation: tarnctl not found at $tarnctl; build it first" >&2
    exit 1
fi

home="$folder/drive_c/ORVANT"
mkdir -p "$folder" "$folder/registry" "$folder/com"
touch "$marker"
mkdir -p "$home"/{conf,properties,logs,bin,lib,jre1.6.0_20/bin}
mkdir -p "$home"/INSTANCE_01/{properties,conf,logs}

# Files with CR LF line ends, as the engine's installer writes them; printf keeps every byte as given.
crlf() { printf '%s\r\n' "$@"; }

# --- Configuration: the Default instance with the installation-wide values, and instance 1 ---
{
    crlf '<?xml version="1.0" encoding="UTF-8"?>' '<ORVANTConfiguration>' $'\t<InstanceConfigurationList>'
    instance() {
        local id="$1"
        shift
        crlf $'\t\t<InstanceConfiguration>' $'\t\t\t'"<InstanceId>$id</InstanceId>"
        while [ $# -gt 0 ]; do
            crlf $'\t\t\t'"<$1>$2</$1>"
            shift 2
        done
        crlf $'\t\t</InstanceConfiguration>'
    }
    instance 00 \
        UsePropDir True ClassPath 'C:\ORVANT\kelbrin-cps.jar' PropertiesDir 'C:\ORVANT' \
        HBLHost 127.0.0.1 HBLPort 9000 DeleteTransAfterMin 50 TransactionResultMandatory False \
        Environment 1 CheckUpgrade 1 AutoUpgrade 0 AllowSplit True ShowConfirmTxnScreen True \
        Timeout 30 CheckCardTimeout 10 SendReceipt False ReceiptPort 20000 PINByPass False \
        LogoFile 'C:\ORVANT\kelbrin_logo.jpg' ReferralMode 1 InterfaceMethod 0 Port 10000 \
        ReceiptDir 'C:\ORVANT' ReceiptWidth 36 WindowsSize 100 BackGroundColor -2147483633 \
        UseAvsRules False AvsDetailsMandatory True AvsRuleIndex 0 CardNoHashValue True
    instance 01 \
        Timeout 45 CheckCardTimeout 10 SendReceipt False ReceiptPort 20001 PINByPass True \
        LogoFile 'C:\ORVANT\kelbrin_logo.jpg' ReferralMode 1 InterfaceMethod 1 Port 10001 \
        InputDir 'C:\ORVANT\INSTANCE_01\in' OutputDir 'C:\ORVANT\INSTANCE_01\out' \
        ReceiptDir 'C:\ORVANT\INSTANCE_01' ReceiptWidth 40 WindowsSize 90 BackGroundColor -2147483633 \
        UseAvsRules True AvsDetailsMandatory True AvsRuleIndex 2 CardNoHashValue True
    crlf $'\t</InstanceConfigurationList>' '</ORVANTConfiguration>'
} >"$home/conf/ORVANTConfiguration.xml"

crlf '<?xml version="1.0" encoding="UTF-8"?>' '<TransactionLog>' '</TransactionLog>' \
    >"$home/conf/ORVANTTransactionLogEmpty.xml"
for target in "$home/conf" "$home/INSTANCE_01/conf"; do
    cp "$home/conf/ORVANTTransactionLogEmpty.xml" "$target/ORVANTTransactionLog.xml"
done
cp "$home/conf/ORVANTTransactionLogEmpty.xml" "$home/INSTANCE_01/conf/"

# --- Base property files (the tool fills in the engine's base keys and messages when it saves) ---
crlf 'Configuration=registry' >"$home/properties/hbl.properties"
crlf '#Harbell terminal' 'name=terminal.properties' 'version=1.00' 'smartCardReader.reporting=yes' \
    >"$home/properties/terminal.properties"
crlf '#EMV parameters' 'emv.terminalType=22' 'emv.countryCode=0826' 'emv.currencyCode=0826' \
    >"$home/properties/terminal.emv.properties"
# The pound sign is the single Windows-1252 byte A3.
{ crlf 'en.02=OK?' 'en.03=APPROVED'; printf 'en.18=REFUND \243\r\n'; } >"$home/properties/language.properties"

for file in terminal.properties terminal.emv.properties language.properties; do
    cp "$home/properties/$file" "$home/INSTANCE_01/properties/"
done
printf '\r\n\r\nproperties.directory=C:/ORVANT/INSTANCE_01/properties\r\n' \
    >>"$home/INSTANCE_01/properties/terminal.properties"

# --- Programs the engine brings; placeholders here ---
printf 'MZ stand-in receipt printer (demo placeholder, not a program)\r\n' >"$home/bin/ReceiptPrinter.exe"
cp "$home/bin/ReceiptPrinter.exe" "$home/bin/ReceiptPrinter_01.exe"
printf 'PK stand-in version reporter (demo placeholder)\n' >"$home/lib/version.jar"
printf 'PK stand-in update installer (demo placeholder)\n' >"$home/installUpdate.jar"
printf 'PK stand-in payment engine (demo placeholder)\n' >"$home/kelbrin-cps.jar"

cat >"$home/jre1.6.0_20/bin/java" <<'LAUNCHER'
#!/bin/sh
# Stand-in for the engine's Java launcher (demo only). TarnConfig starts it in the installation folder.
home="$(cd "$(dirname "$0")/../.." && pwd)"
echo "$(date '+%Y-%m-%d %H:%M:%S') java $* (in $(pwd))" >>"$home/logs/java-stand-in.log"
case "$1 $2" in
"-jar "*version.jar) printf '2.2.4.1\r\n' >version.txt ;;
"-jar installUpdate.jar") echo "  update installer: nothing to install (stand-in)" >>"$home/logs/java-stand-in.log" ;;
esac
LAUNCHER
chmod +x "$home/jre1.6.0_20/bin/java"

# Serial ports COM1 and COM3: any readable entry named comN counts as a port.
: >"$folder/com/com1"
: >"$folder/com/com3"

cat >"$folder/env.sh" <<ENV
# The demo's environment: . $folder/env.sh
export ORVANT_DRIVE_C='$folder/drive_c'
export KELBRIN_HOME='C:\\ORVANT'
export ORVANT_REGISTRY_DIR='$folder/registry'
export ORVANT_COM_PORT_DIR='$folder/com'
ENV

# --- The Administrator password, stored by the project's own code ---
if ! output=$(
    # shellcheck source=/dev/null
    . "$folder/env.sh"
    printf '%s\n' "$demo_password" | "$tarnctl" --password-stdin passwd Administrator 2>&1
); then
    echo "make-sample-installation: tarnctl could not store the password: $output" >&2
    exit 1
fi

echo "Sample installation created in $folder"
