# Shared by the package tests: a scratch folder removed at the end, failure
# with a reason, and what to do when the package under test was not made.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A package that was not made skips the test (exit code 77), unless the run
# requires the packages (DNF_REQUIRE_PACKAGES=1, as tools/run-tests.sh sets
# it): then the test fails.
require_package() {
  local file=$1 how=$2
  [ -f "$file" ] && return 0
  if [ "${DNF_REQUIRE_PACKAGES:-0}" = 1 ]; then
    fail "no package $file; make it with: $how"
  fi
  echo "SKIPPED: no package $file; make it with: $how"
  exit 77
}

# A content of a few hundred kilobytes that bzip2 compresses, with the SPK
# file that holds it in several chunks: make_spk MAKE_SPK FOLDER.
make_spk() {
  head -c 300000 /dev/urandom | base64 >"$2/content.bin"
  "$1" --codec bzip2 --chunk-size 100000 "$2/content.bin" "$2/sprite.NPK.spk" >/dev/null
}

# After an unpack: the content beside the SPK file, the SPK file gone.
check_unpacked() {
  cmp -s "$1/content.bin" "$1/sprite.NPK" || fail "the unpacked file differs from the content"
  [ ! -e "$1/sprite.NPK.spk" ] || fail "the SPK file is still there after a verified unpack"
}
