#!/bin/sh
# Passes when appstreamcli --pedantic has nothing to say about FILE beyond
# the notes we accept knowingly:
#   cid-maybe-not-rdns             the id's domain is .invalid: the project owns none
#   url-homepage-missing           the project has no website
#   unknown-tag developer          AppStream 0.16 (Debian 12) predates <developer>...
#   developer-name-tag-deprecated  ...and 1.0 (Debian 13) wants it instead of <developer_name>
#
#   validate-metainfo.sh FILE
out=$(appstreamcli validate --pedantic --no-net "$1" 2>&1)
echo "$out"
echo "$out" | grep -q '^. Validation' || exit 1
! echo "$out" | grep '^[A-Z]: ' |
  grep -v -e ' cid-maybe-not-rdns ' -e ' url-homepage-missing$' \
          -e ' unknown-tag developer$' -e ' developer-name-tag-deprecated$' | grep -q .
