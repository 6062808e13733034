#!/usr/bin/env bash
# Builds the browser version and lays it out in DIR as a self-contained folder
# that any static https host serves as it is, under any path:
#   the site (index.html, sw.js, manifest.webmanifest, icons/, assets/),
#   FILE.br and FILE.gz beside each file (for hosts that serve precompressed files),
#   _headers       the content-security-policy and cache headers, as an example
#                  (the format of Netlify and Cloudflare Pages),
#   SHA256SUMS     of every other file (sha256sum -c SHA256SUMS checks a copy).
# About in the page shows the build id: the commit and its date.
#   scripts/publish-web.sh DIR     (DIR is emptied first)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: scripts/publish-web.sh DIR" >&2
  exit 2
fi
OUT=$1

./scripts/build-web.sh
SITE=build-web/site

rm -rf "$OUT"
mkdir -p "$OUT"
cp -R "$SITE/." "$OUT/"
OUT=$(cd "$OUT" && pwd)

# The policy the page declares in its meta tag, sent as a header too; only a
# header can forbid framing.
POLICY=$(sed -n 's/.*http-equiv="Content-Security-Policy" content="\([^"]*\)".*/\1/p' "$OUT/index.html")
if [ -z "$POLICY" ]; then
  echo "publish-web.sh: index.html declares no content-security-policy" >&2
  exit 1
fi
cat > "$OUT/_headers" <<EOF
# Response headers for this folder served at the root of a host (paths below
# are relative to where the folder is served). Files in assets/ are named by
# their content and never change; everything else is checked on each visit.
/*
  Content-Security-Policy: $POLICY; frame-ancestors 'none'
  X-Content-Type-Options: nosniff
  Referrer-Policy: no-referrer
/assets/*
  Cache-Control: public, max-age=31536000, immutable
/
  Cache-Control: no-cache
/index.html
  Cache-Control: no-cache
/sw.js
  Cache-Control: no-cache
/manifest.webmanifest
  Cache-Control: no-cache
/icons/*
  Cache-Control: no-cache
/*.wasm
  Content-Type: application/wasm
EOF

# Precompressed copies (Debian's brotli and gzip, reproducible: no names or times).
find "$OUT" -type f ! -name _headers -print0 | while IFS= read -r -d '' file; do
  brotli --best --keep --force "$file"
  gzip --best --no-name --keep --force "$file"
done

(cd "$OUT" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum > SHA256SUMS)

BUILD_ID=$(sed -n 's/.*<meta name="build-id" content="\([^"]*\)".*/\1/p' "$OUT/index.html")
echo "Published to $OUT: $(find "$OUT" -type f | wc -l) files, build $BUILD_ID. Serve it over https, or try it with"
echo "  python3 -m http.server 8000 --bind 127.0.0.1 --directory $OUT   then open http://localhost:8000/"
