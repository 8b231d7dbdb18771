#!/bin/sh
# Lintian on the package: errors and warnings fail the test (packaging/lintian-overrides names
# the two it must not give, with why); notes are printed for the record.
# Usage: lintian.sh DEB
set -u
lintian --fail-on error,warning --display-info "$1"
