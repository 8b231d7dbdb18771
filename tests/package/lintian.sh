#!/bin/sh
# Lintian on the package: errors fail the test; warnings and notes are printed for the record.
# Usage: lintian.sh DEB
set -u
lintian --fail-on error --display-info "$1"
