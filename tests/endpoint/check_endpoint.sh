#!/usr/bin/env bash
# The endpoint named by $VISDK_TEST_ENDPOINT answers SOAP with the certificate its file names, takes only its own
# credentials, and serves as many VMs as the file says.
set -euo pipefail
file=${VISDK_TEST_ENDPOINT:?}
value() { sed -n "s/^VISDK_ENDPOINT_$1=//p" "$file"; }
fail() { echo "$*"; exit 1; }
url=$(value URL) cert=$(value CERT) user=$(value USER) password=$(value PASSWORD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tls=()
[ -z "$cert" ] || tls=(--cacert "$cert")

# soap BODY: posts BODY in an envelope with the session cookie, if any; prints the response, headers first.
soap() {
  curl -sS -i "${tls[@]}" -b "$work/cookies" -c "$work/cookies" -H 'Content-Type: text/xml; charset=utf-8' \
    -H 'SOAPAction: "urn:vim25/6.5"' --data-binary @- "$url" << END
<?xml version="1.0" encoding="UTF-8"?>
<soapenv:Envelope xmlns:soapenv="http://schemas.xmlsoap.org/soap/envelope/"><soapenv:Body xmlns="urn:vim25">$1</soapenv:Body></soapenv:Envelope>
END
}

if [ -n "$cert" ]; then
  fingerprint=$(openssl x509 -in "$cert" -noout -fingerprint -sha1 | sed 's/^.*=//')
  [ "$fingerprint" = "$(value THUMBPRINT)" ] || fail "thumbprint $(value THUMBPRINT) is not the certificate's $fingerprint"
fi

content=$(soap '<RetrieveServiceContent><_this type="ServiceInstance">ServiceInstance</_this></RetrieveServiceContent>')
api=$(grep -o '<apiType>[A-Za-z]*</apiType><apiVersion>[0-9.]*</apiVersion>' <<< "$content") \
  || fail "no API version in the service content: $content"
case "$(value MODEL)" in
  esx) [[ $api == '<apiType>HostAgent<'* ]] || fail "an ESX model reports $api" ;;
  *) [[ $api == '<apiType>VirtualCenter<'* ]] || fail "a vCenter model reports $api" ;;
esac
# moref NAME: the service content's reference NAME; ESX and vCenter name their managers differently.
moref() { grep -o "<$1 type=\"[A-Za-z]*\">[^<]*<" <<< "$content" | sed 's/.*>\(.*\)</\1/'; }
manager=$(moref sessionManager)

login() {
  soap "<Login><_this type=\"SessionManager\">$manager</_this><userName>$user</userName><password>$1</password></Login>"
}
denied=$(login "not-$password")
grep -q 'InvalidLogin' <<< "$denied" || fail "a wrong password was not refused with InvalidLogin: $denied"
granted=$(login "$password")
grep -qi '^set-cookie: vmware_soap_session=' <<< "$granted" || fail "Login set no session cookie: $granted"
grep -q "<userName>$user</userName>" <<< "$granted" || fail "Login's session is not $user's: $granted"

root=$(moref rootFolder) collector=$(moref propertyCollector) views=$(moref viewManager)
view=$(soap "<CreateContainerView><_this type=\"ViewManager\">$views</_this><container type=\"Folder\">$root</container><type>VirtualMachine</type><recursive>true</recursive></CreateContainerView>" \
  | grep -o '<returnval type="ContainerView">[^<]*<' | sed 's/.*>\(.*\)</\1/') || fail "no container view for the logged-in session"
vms=$(soap "<RetrievePropertiesEx><_this type=\"PropertyCollector\">$collector</_this><specSet><propSet><type>VirtualMachine</type><pathSet>name</pathSet></propSet><objectSet><obj type=\"ContainerView\">$view</obj><skip>true</skip><selectSet xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"TraversalSpec\"><name>view</name><type>ContainerView</type><path>view</path><skip>false</skip></selectSet></objectSet></specSet><options/></RetrievePropertiesEx>" \
  | { grep -o '<obj type="VirtualMachine">' || true; } | wc -l)
[ "$vms" -eq "$(value VMS)" ] || fail "the view holds $vms VMs, the file says $(value VMS)"
echo "$url: $api, $vms VMs, logins checked"
