#!/usr/bin/env bash
# Runs COMMAND as a builder who holds signing keys, all made afresh for the test in FOLDER and
# good for nothing else: a test root CA, a code-signing certificate whose key is on a SoftHSM2
# token (KIND pkcs11) or in a PKCS#12 file (KIND pkcs12), an RFC 3161 time-stamp authority on
# 127.0.0.1 under the same root, and an OpenPGP key in a GnuPG home of its own. COMMAND gets the
# release's signing variables, and TALMIRO_SIGN_CA names the test root. FOLDER keeps ca.pem and
# the OpenPGP public key (openpgp.pub) for checks afterwards.
# Usage: throwaway_signer.sh FOLDER pkcs11|pkcs12 COMMAND...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$1
kind=$2
shift 2
"$here/../../scripts/setup.sh" release throwaway-signer
rm -rf "$folder"
mkdir -p "$folder"
folder=$(realpath "$folder")
cd "$folder"

openssl req -x509 -newkey rsa:3072 -nodes -keyout ca.key -out ca.pem -days 30 \
    -subj "/CN=Talmiro throwaway test root" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    2>/dev/null
cat >extensions.cnf <<'EOF'
[code]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = codeSigning
[tsa]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = critical,timeStamping
EOF
for role in code tsa; do
    openssl req -newkey rsa:3072 -nodes -keyout "$role.key" -out "$role.csr" \
        -subj "/CN=Talmiro throwaway test $role" 2>/dev/null
    openssl x509 -req -in "$role.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
        -extfile extensions.cnf -extensions "$role" -out "$role.pem" 2>/dev/null
done
cat code.pem ca.pem >chain.pem
printf 'throwaway-%s' "$RANDOM$RANDOM" >password

cat >tsa.cnf <<'EOF'
[tsa]
default_tsa = throwaway
[throwaway]
serial = tsa.serial
crypto_device = builtin
signer_digest = sha256
default_policy = 1.3.6.1.4.1.0.1
other_policies = 1.3.6.1.4.1.0.2
digests = sha256, sha384, sha512
accuracy = secs:1
ordering = no
tsa_name = no
ess_cert_id_chain = no
ess_cert_id_alg = sha256
EOF
echo 01 >tsa.serial
"$here/timestamp_server.py" "$folder" 2>tsa.log &
tsa_pid=$!
export GNUPGHOME=$folder/gnupg
trap 'kill "$tsa_pid" 2>/dev/null; gpgconf --kill all 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -f tsa.port ] && break
    kill -0 "$tsa_pid" || { cat tsa.log >&2; exit 1; }
    sleep 0.1
done

mkdir -m 700 gnupg
gpg --batch --quiet --passphrase '' --quick-generate-key "Talmiro throwaway test <test@invalid>" \
    ed25519 sign 1d 2>/dev/null
openpgp_key=$(gpg --batch --with-colons --list-keys | awk -F: '$1 == "fpr" { print $10; exit }')
gpg --batch --export "$openpgp_key" >openpgp.pub

export TALMIRO_SIGN_PASSWORD_FILE=$folder/password
port=$(cat tsa.port)
export TALMIRO_TIMESTAMP_URL=http://127.0.0.1:$port/
export TALMIRO_OPENPGP_KEY=$openpgp_key
export TALMIRO_SIGN_CA=$folder/ca.pem
case $kind in
    pkcs12)
        openssl pkcs12 -export -inkey code.key -in code.pem -certfile ca.pem -out code.p12 \
            -passout file:password
        export TALMIRO_SIGN_PKCS12=$folder/code.p12 ;;
    pkcs11)
        mkdir tokens
        printf 'directories.tokendir = %s/tokens\nlog.level = ERROR\n' "$folder" >softhsm2.conf
        export SOFTHSM2_CONF=$folder/softhsm2.conf
        softhsm2-util --init-token --free --label talmiro-throwaway --so-pin "$(cat password)" \
            --pin "$(cat password)" >/dev/null
        openssl pkcs8 -topk8 -nocrypt -in code.key -out code.p8
        softhsm2-util --import code.p8 --token talmiro-throwaway --label code --id 01 \
            --pin "$(cat password)" >/dev/null
        rm code.p8
        export TALMIRO_SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so
        export TALMIRO_SIGN_PKCS11_KEY="pkcs11:token=talmiro-throwaway;object=code;type=private"
        export TALMIRO_SIGN_CERT=$folder/chain.pem ;;
    *) echo "throwaway_signer.sh: KIND is pkcs11 or pkcs12, not '$kind'" >&2; exit 2 ;;
esac
rm code.key
cd - >/dev/null
"$@"
