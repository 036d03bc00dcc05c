# Sourced by the package tests: a throwaway self-signed code-signing certificate in a
# folder, given to the packaging as a packager gives theirs (cmake/sign.sh), and a check
# of a signature against it. Self-signed means untrusted: trusting it for the check tests
# that the signature is there, is its, and covers the file.
#   throwaway_certificate DIR   makes DIR/cert.pem, DIR/cert.p12, DIR/password
#   signed_by_throwaway FILE    verifies FILE's signature; on failure prints osslsigncode's words
throwaway_certificate() {
  CERT_DIR=$1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$CERT_DIR/key.pem" -out "$CERT_DIR/cert.pem" -days 2 \
    -subj "/CN=Navolet throwaway" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
    echo throwaway >"$CERT_DIR/password" &&
    openssl pkcs12 -export -inkey "$CERT_DIR/key.pem" -in "$CERT_DIR/cert.pem" -out "$CERT_DIR/cert.p12" \
      -passout file:"$CERT_DIR/password" || return
  export NAVOLET_SIGN_PKCS12=$CERT_DIR/cert.p12 NAVOLET_SIGN_PASSWORD_FILE=$CERT_DIR/password
}
signed_by_throwaway() {
  local out
  out=$(osslsigncode verify -CAfile "$CERT_DIR/cert.pem" -in "$1" 2>&1) && return 0
  printf '%s\n' "$out" | tail -n 5
  return 1
}
