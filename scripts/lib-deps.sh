# Sourced by the other scripts: installing Debian packages as root, through
# sudo, or not at all with a message that says what to run.

# Runs a command as root: directly, through sudo, or fails with a message.
fenwake_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "error: this step needs root and sudo is not installed: $*" >&2
    return 1
  fi
}

# Installs the named packages that are not installed yet.
fenwake_require_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    {
      echo "error: these Debian packages are missing: ${missing[*]}"
      echo "Neither root nor sudo is available here. As root, run:"
      echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}"
      echo "then run this script again."
    } >&2
    exit 1
  fi
  echo "Installing ${#missing[@]} Debian packages: ${missing[*]}"
  fenwake_as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive fenwake_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
