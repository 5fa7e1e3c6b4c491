# Shared settings for the project's scripts; sourced, never run.
KV90_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export KV90_ROOT
export KV90_CACHE="${KV90_CACHE:-/var/cache/kv90-deps}"
export KV90_SYSROOT="$KV90_CACHE/i686-w64-mingw32"
export KV90_BUILD="${KV90_BUILD:-$KV90_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$KV90_CACHE/wineprefix}"
export WINEARCH=win32
# Wine's exception and heap checks on: an exception swallowed in a window procedure,
# a damaged heap or a read of a freed block shows as a line (the tests fail on them).
export WINEDEBUG="${WINEDEBUG:--all,err+seh,warn+heap}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page must be 936 so that GBK texts and file names come out right.
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8

# Builds quietly (arguments as scripts/build takes them): the build's output is shown only when
# it fails.
kv90_build_quietly() {
  local log
  log="$(mktemp)"
  "$KV90_ROOT/scripts/build" "$@" >"$log" 2>&1 || { cat "$log"; rm -f "$log"; return 1; }
  rm -f "$log"
}

# Wine's server holds a file for every socket of a Windows program: the web
# service's tests hold a thousand connections and more, beyond the usual soft
# limit of 1,024 open files.
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true
