#!/usr/bin/env bash
# Installs ZoBtnBar into a temporary prefix, static and shared, and builds examples/ against
# each with find_package and with pkg-config, then runs the programs off-screen.
# usage: consumer-test.sh SOURCE_DIR BUILD_DIR static|shared GENERATOR BUILD_TYPE CXX
set -euo pipefail
src=$1 build=$2 built_kind=$3 generator=$4 build_type=${5:-RelWithDebInfo} cxx=${6:-c++}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset ZO_DISPLAY  # the examples draw off-screen and end

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Runs a step quietly, showing its output only when it fails.
step() {
  local log="$work/step.log"
  "$@" >"$log" 2>&1 || { cat "$log" >&2; fail "$*"; }
}

for kind in static shared; do
  prefix="$work/$kind/prefix"
  shared=OFF
  [ "$kind" = shared ] && shared=ON
  if [ "$kind" = "$built_kind" ]; then
    # This build is of the kind: install all of it, zobar and the documents too.
    step cmake --install "$build" --prefix "$prefix"
    [ -f "$prefix/share/doc/zobtnbar/LICENSE" ] || fail "$kind: LICENSE is not installed"
    step "$prefix/bin/zobar" render -o "$work/$kind/demo.png"
    [ -s "$work/$kind/demo.png" ] || fail "$kind: the installed zobar drew nothing"
  else
    # The library alone, unoptimised: what is checked is the package, and that compiles fastest.
    step cmake -S "$src" -B "$work/$kind/lib" -G "$generator" -DCMAKE_BUILD_TYPE= \
      -DCMAKE_CXX_COMPILER="$cxx" -DBUILD_SHARED_LIBS=$shared -DZO_BUILD_TESTS=OFF \
      -DZO_BUILD_BENCH=OFF
    step cmake --build "$work/$kind/lib" --target zobtnbar -j2
    step cmake --install "$work/$kind/lib" --prefix "$prefix" --component Library
  fi
  [ -f "$prefix/include/zobtnbar/ZoBtnBar.h" ] || fail "$kind: <zobtnbar/ZoBtnBar.h> is not installed"
  # Every class and function declared at namespace level in the installed headers carries ZO_API,
  # or a shared library would hide it from programs (headers named *Internal.h are not API).
  unmarked=$(find "$prefix/include/zobtnbar" -name '*.h' ! -name '*Internal.h' -exec awk '
    /ZO_API|^(inline|constexpr|template|static|using|typedef|friend|namespace|enum|return|extern)[ :]/ { next }
    /^(class|struct) [A-Za-z_][A-Za-z0-9_]*[^;]*$/ ||
    /^(\[\[[a-z_]+\]\] )?[A-Za-z_][A-Za-z0-9_:<>,*& ]*[ *&]~?[A-Za-z_][A-Za-z0-9_]*\(/ {
      print FILENAME ":" FNR ": " $0
    }' {} +)
  [ -z "$unmarked" ] || fail "$kind: public declarations without ZO_API:"$'\n'"$unmarked"
  if [ "$kind" = shared ]; then
    lib=$(find "$prefix" -name 'libzobtnbar.so.*.*.*')
    [ -n "$lib" ] || fail "shared: no versioned libzobtnbar.so"
    soname=$(objdump -p "$lib" | awk '/SONAME/ {print $2}')
    [[ "$soname" =~ ^libzobtnbar\.so\.[0-9]+(\.[0-9]+)?$ ]] || fail "shared: SONAME is '$soname'"
    # Only the API is exported: a function of the drawing internals is not.
    # Whole outputs into variables first: with pipefail, grep -q ending a pipe early would make
    # the writer's SIGPIPE count as a failure.
    exported=$(nm -DC --defined-only "$lib")
    if grep -q 'zo::FitButtons' <<<"$exported"; then
      fail "shared: internal functions are exported"
    fi
  fi

  # An outside project with find_package: the examples as a user would build them.
  step cmake -S "$src/examples" -B "$work/$kind/examples" -G "$generator" \
    -DCMAKE_BUILD_TYPE="$build_type" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix"
  step cmake --build "$work/$kind/examples" -j2
  loads=$(ldd "$work/$kind/examples/example_hello_bar")
  if [ "$kind" = shared ]; then
    grep -q "$prefix/.*libzobtnbar.so" <<<"$loads" ||
      fail "shared: the example does not load the installed library"
  elif grep -q libzobtnbar <<<"$loads"; then
    fail "static: the example loads a shared libzobtnbar"
  fi
  step "$work/$kind/examples/example_hello_bar"
  out=$("$work/$kind/examples/example_minimal_model") || fail "$kind: example_minimal_model failed"
  # The refused duplicate is a zo::Error caught in the program: its type crossed the library's
  # boundary intact.
  grep -q '^refused: ' <<<"$out" && grep -q '^Hammer (' <<<"$out" ||
    fail "$kind: example_minimal_model printed: $out"

  # The same program through pkg-config.
  pc_dir=$(dirname "$(find "$prefix" -name zobtnbar.pc)")
  static_flag=""
  [ "$kind" = static ] && static_flag=--static
  flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config $static_flag --cflags --libs zobtnbar) ||
    fail "$kind: pkg-config cannot read zobtnbar.pc"
  # shellcheck disable=SC2086  # the flags are words
  step "$cxx" -std=c++20 "$src/examples/minimal_model.cpp" -o "$work/$kind/pc_model" $flags
  out=$(LD_LIBRARY_PATH="$(dirname "$(find "$prefix" -name 'libzobtnbar.*' | head -1)")" \
    "$work/$kind/pc_model") || fail "$kind: the pkg-config build failed to run"
  grep -q '^Hammer (' <<<"$out" || fail "$kind: the pkg-config build printed: $out"
  echo "$kind: installed, found with find_package and pkg-config, examples run"
done
