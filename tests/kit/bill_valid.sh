#!/usr/bin/env bash
# Validates a bill of materials against CycloneDX 1.6's published schema,
# fetched into SCHEMA-DIR; a copy with a truncated hash must be refused, so
# that a validator passing everything cannot pass for one that checks.
# Usage: bill_valid.sh SOURCE-DIR BILL SCHEMA-DIR
set -uo pipefail
[ $# -eq 3 ] || { echo "usage: bill_valid.sh SOURCE-DIR BILL SCHEMA-DIR" >&2; exit 2; }
scripts=$1/scripts
bill=$2
schemas=$3
"$scripts/cyclonedx-schema" "$schemas" && "$scripts/third-party" validate "$schemas" "$bill" || exit 1

broken=$(mktemp "${TMPDIR:-/tmp}/quillet-bill.XXXXXX") || exit 1
trap 'rm -f "$broken"' EXIT
sed '0,/"content": "\([0-9a-f]\{8\}\)[0-9a-f]*"/s//"content": "\1"/' "$bill" >"$broken"
if ! refusal=$("$scripts/third-party" validate "$schemas" "$broken" 2>&1) &&
  grep -q '/hashes/0/content' <<<"$refusal"; then
  echo "ok: a copy with a truncated hash is refused"
else
  echo "FAIL: a copy with a truncated hash was not refused for its hash: $refusal"
  exit 1
fi
