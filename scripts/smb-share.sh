# An SMB share as a real site has one, for the end-to-end walk and the benchmarks: Samba
# serving a folder, mounted through FUSE with smbnetfs. Source it after common.sh, then
#   start_smb_share FOLDER WORK     serves FOLDER as the share "updates"; Samba's and
#                                   smbnetfs' own files go to WORK; sets SMB_SHARE_MOUNT to
#                                   the share's folder under the FUSE mount
#   stop_smb_share                  unmounts and stops Samba (safe to call twice)

start_smb_share() {
  local folder="$1"
  SMB_WORK="$2"
  install_packages samba smbnetfs iproute2 util-linux
  mkdir -p "$SMB_WORK"/{run,lock,state,cache,ncalrpc,private,log,home/.smb,mnt}
  cat >"$SMB_WORK/smb.conf" <<CONF
[global]
  workgroup = WORKGROUP
  server role = standalone server
  interfaces = lo
  bind interfaces only = yes
  disable netbios = yes
  smb ports = 445
  pid directory = $SMB_WORK/run
  lock directory = $SMB_WORK/lock
  state directory = $SMB_WORK/state
  cache directory = $SMB_WORK/cache
  ncalrpc dir = $SMB_WORK/ncalrpc
  private dir = $SMB_WORK/private
  log file = $SMB_WORK/log/%m.log
  map to guest = Bad User
  load printers = no
  disable spoolss = yes
[updates]
  path = $folder
  guest ok = yes
  read only = no
  force user = root
CONF
  printf 'host 127.0.0.1 WORKGROUP visible=true\nauth "guest" ""\n' >"$SMB_WORK/home/.smb/smbnetfs.conf"
  chmod 600 "$SMB_WORK/home/.smb/smbnetfs.conf"

  # Samba and its client meet on a loopback of their own: the SMB port is free there whatever
  # else runs on this machine, and libsmbclient only connects to the standard ports. The FUSE
  # mount itself is seen from everywhere.
  SMB_WORK="$SMB_WORK" unshare -n bash -c '
    set -e
    ip link set lo up
    smbd -s "$SMB_WORK/smb.conf" -D
    for _ in $(seq 50); do [ -f "$SMB_WORK/run/smbd.pid" ] && break; sleep 0.2; done
    HOME="$SMB_WORK/home" smbnetfs "$SMB_WORK/mnt"
  '
  SMB_SHARE_MOUNT="$SMB_WORK/mnt/127.0.0.1/updates"
  for _ in $(seq 50); do [ -d "$SMB_SHARE_MOUNT" ] && return 0; sleep 0.2; done
  echo "The Samba share did not appear at $SMB_SHARE_MOUNT" >&2
  return 1
}

stop_smb_share() {
  [ -n "${SMB_WORK:-}" ] || return 0
  if mountpoint -q "$SMB_WORK/mnt"; then umount "$SMB_WORK/mnt" 2>/dev/null || umount -l "$SMB_WORK/mnt"; fi
  if [ -f "$SMB_WORK/run/smbd.pid" ]; then kill "$(cat "$SMB_WORK/run/smbd.pid")" 2>/dev/null || true; fi
  SMB_WORK=""
}
