#!/usr/bin/env bash
# Separate visdk runs sharing one simulator state: VM lifecycle and byte-exact datastore transfers.
set -euo pipefail
visdk=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VISDK_SIM_STATE=$work/state
fail() { echo "$*"; exit 1; }

head -c 300000 /dev/urandom > "$work/up.bin"
"$visdk" datastore mkdir datastore1 transfers > /dev/null
"$visdk" datastore upload "$work/up.bin" datastore1 transfers/up.bin --host esx01.sim.local > /dev/null
"$visdk" datastore ls datastore1 transfers --json | grep -q '"size": 300000' || fail "the upload is not listed with its size"
"$visdk" datastore download datastore1 transfers/up.bin "$work/down.bin" > /dev/null
cmp -s "$work/up.bin" "$work/down.bin" || fail "the downloaded file differs from the uploaded one"
"$visdk" datastore rm datastore1 transfers > /dev/null
if "$visdk" datastore ls datastore1 transfers 2> /dev/null; then fail "a deleted folder is still listed"; fi

"$visdk" vm create cli-vm --datastore datastore2 --host esx01.sim.local > /dev/null
"$visdk" vm info cli-vm --json | grep -q '"configFile": "\[datastore2\] cli-vm/cli-vm.vmx"' || fail "vm info lacks the configuration file"
"$visdk" vm unregister cli-vm > /dev/null
if "$visdk" vm info cli-vm 2> /dev/null; then fail "an unregistered VM is still found"; fi
"$visdk" datastore ls datastore2 cli-vm | grep -q 'cli-vm/cli-vm.vmx' || fail "an unregistered VM lost its files"
moref=$("$visdk" vm register '[datastore2] cli-vm/cli-vm.vmx')
"$visdk" vm info cli-vm | grep -q "^moref: $moref\$" || fail "the registered VM does not carry moref $moref"
"$visdk" vm delete cli-vm > /dev/null
if "$visdk" datastore ls datastore2 cli-vm 2> /dev/null; then fail "a deleted VM left its folder"; fi
echo "VM and datastore commands usable across runs"
