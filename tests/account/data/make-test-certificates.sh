#!/usr/bin/env bash
# Makes the certificate authority the TLS tests trust and the loopback server certificate it signs.
# Only for tests: the keys are public. Valid for a century so the tests never expire.
set -euo pipefail
cd "$(dirname "$0")"
days=36500

openssl req -x509 -newkey rsa:2048 -nodes -days "$days" -sha256 \
  -subj "/CN=Lumeno Test Authority" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout test-ca.key -out test-ca.pem

openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=127.0.0.1" \
  -keyout loopback.key -out loopback.csr
openssl x509 -req -in loopback.csr -CA test-ca.pem -CAkey test-ca.key -CAcreateserial -days "$days" -sha256 \
  -extfile <(printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n') \
  -out loopback.pem
rm -f loopback.csr test-ca.srl test-ca.key
