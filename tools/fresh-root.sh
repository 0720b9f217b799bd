# Fresh Debian 12 roots for the checks that need a machine with nothing
# installed (sourced by tools/check-package.sh and tools/check-fresh-root.sh).
#
# One minimal bootstrap (debootstrap --variant=minbase bookworm) is kept as a
# tarball in the build folder and unpacked for each use, so the package check
# and the test run share it; it is made again when older than a day. Every
# root and every mount made here is removed by fresh_root_cleanup, which the
# caller runs from its EXIT trap, also after a failure or an interrupt.

fresh_roots=()
fresh_root_mounts=()
fresh_root=

# fresh_root_new BUILD_DIR: unpacks a new root and sets fresh_root to its
# path, bootstrapping first when there is no tarball younger than a day.
fresh_root_new() {
  local tarball=$1/debian12-minbase.tar.gz stage
  if [ -z "$(find "$tarball" -mmin -1440 2>/dev/null)" ]; then
    stage=$(mktemp -d /tmp/orvane-bootstrap.XXXXXX)
    fresh_roots+=("$stage")
    if ! debootstrap --variant=minbase bookworm "$stage" http://deb.debian.org/debian \
      >"$stage.log" 2>&1; then
      tail -n 20 "$stage.log" >&2
      rm -f "$stage.log"
      return 1
    fi
    rm -f "$stage.log"
    chmod 755 "$stage"
    tar -C "$stage" --numeric-owner -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
    rm -rf --one-file-system "$stage"
  fi
  fresh_root=$(mktemp -d /tmp/orvane-deb12.XXXXXX)
  fresh_roots+=("$fresh_root")
  tar -C "$fresh_root" --numeric-owner -xzf "$tarball"
  chmod 755 "$fresh_root"  # mktemp's 0700, or the tarball's, would shut out the users
  cp /etc/resolv.conf "$fresh_root/etc/resolv.conf"
  # The network's own certificate authorities, as the host trusts them (a
  # machine on this network has them, as it has its name server): npm
  # reaches its registry through them (NODE_EXTRA_CA_CERTS in the root).
  if [ -f /etc/ssl/certs/ca-certificates.crt ]; then
    cp /etc/ssl/certs/ca-certificates.crt "$fresh_root/etc/host-ca-certificates.crt"
  fi
}

# fresh_root_bind ROOT PATH...: binds each host PATH (/proc, /dev, ...) at
# the same place in ROOT, in the order given.
fresh_root_bind() {
  local root=$1 path
  shift
  for path in "$@"; do
    mkdir -p "$root$path"
    mount --bind "$path" "$root$path"
    fresh_root_mounts+=("$root$path")
  done
}

# Unmounts what was bound (the last first) and removes the roots; a root that
# still has something mounted is left in place rather than deleted through.
fresh_root_cleanup() {
  local i m root busy=0
  for ((i = ${#fresh_root_mounts[@]} - 1; i >= 0; i--)); do
    m=${fresh_root_mounts[i]}
    mountpoint -q "$m" || continue
    umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
  done
  for root in "${fresh_roots[@]}"; do
    if findmnt -rn -o TARGET | grep -q "^$root/"; then
      echo "still mounted below $root: left in place" >&2
      busy=1
      continue
    fi
    rm -rf --one-file-system "$root"
  done
  fresh_roots=()
  fresh_root_mounts=()
  return $busy
}
