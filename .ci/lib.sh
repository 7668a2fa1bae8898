# shellcheck shell=bash
# Sourced by .ci/run and by each of its steps' scripts: what they share. Each
# script also runs alone, from anywhere, once tools/dist has made the release.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
# shellcheck disable=SC2034 # for the scripts that source this
version=$(tools/dist --version)
# What is removed at the end; a script adds its own temporary folders.
temporary=()
trap 'rm -rf "${temporary[@]}"' EXIT
# A temporary folder of this run's, or of this script's where it runs alone.
if [[ -z ${work-} ]]; then
  work=$(mktemp -d)
  temporary+=("$work")
fi

# fail MESSAGE...: ends the run, with one line a MESSAGE.
fail() {
  printf '%s\n' "$@" >&2
  exit 1
}

# solves COMMAND...: the command must print exactly what the golden case does.
solves() {
  "$@" <tests/cases/input/one-line.in | cmp - tests/cases/input/one-line.out ||
    fail "$* does not print the roots of $(cat tests/cases/input/one-line.in)"
  echo "ok: $*"
}
