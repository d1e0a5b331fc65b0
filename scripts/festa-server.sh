#!/usr/bin/env bash
# The festa's server on the treasurer's computer, in one command, as root on Debian 12:
#   sudo bash scripts/festa-server.sh
# Installs PostgreSQL 15, makes it listen on the local network with password (SCRAM-SHA-256) access for
# the festa's two roles only, creates the festa's database and schema (scripts/festa-schema.sh) and prints
# what each desk needs to connect. Run again, it keeps the passwords and applies only what is new.
# Runs from any folder: everything runs from / (the postgres user may not enter the caller's folder).
set -euo pipefail

# The private networks the festa's desks may connect from (with the local machine's own addresses).
festa_networks() {
  printf '%s\n' 10.0.0.0/8 172.16.0.0/12 192.168.0.0/16 fc00::/7
}

# From `ip -o addr` lines on standard input, the addresses a desk may type: those whose whole network
# (address/prefix) lies in one of festa_networks, IPv4 first, each once. Loopback and link-local
# addresses are left out (a desk cannot use them).
festa_addresses() {
  local ipv4=() ipv6=() line addr prefix family
  while read -r line; do
    read -r _ _ family addr _ <<<"$line"
    [[ $family == inet || $family == inet6 ]] || continue
    [[ $line == *" scope global"* ]] || continue
    prefix=${addr#*/}
    addr=${addr%/*}
    [[ $prefix =~ ^[0-9]+$ ]] || continue
    if [[ $family == inet ]]; then
      festa_private_ipv4 "$addr" "$prefix" && ipv4+=("$addr")
    else
      festa_private_ipv6 "$addr" "$prefix" && ipv6+=("$addr")
    fi
  done
  if ((${#ipv4[@]} + ${#ipv6[@]} > 0)); then
    printf '%s\n' "${ipv4[@]}" "${ipv6[@]}" | awk 'NF && !seen[$0]++'
  fi
}

# True when the IPv4 network addr/prefix lies inside one of the private IPv4 networks.
festa_private_ipv4() {
  local a b c d n net range rprefix mask
  IFS=. read -r a b c d <<<"$1"
  for n in "$a" "$b" "$c" "$d"; do
    [[ $n =~ ^[0-9]+$ ]] && ((n <= 255)) || return 1
  done
  n=$(((a << 24) | (b << 16) | (c << 8) | d))
  while read -r range; do
    [[ $range == *:* ]] && continue
    rprefix=${range#*/}
    IFS=. read -r a b c d <<<"${range%/*}"
    net=$(((a << 24) | (b << 16) | (c << 8) | d))
    mask=$(((0xffffffff << (32 - rprefix)) & 0xffffffff))
    (($2 >= rprefix && (n & mask) == net)) && return 0
  done < <(festa_networks)
  return 1
}

# True when the IPv6 network addr/prefix lies inside fc00::/7 (unique local addresses).
festa_private_ipv6() {
  local first=${1%%:*}
  [[ $first =~ ^[0-9a-fA-F]{1,4}$ ]] || return 1
  (($2 >= 7 && (16#$first & 0xfe00) == 0xfc00))
}

# Sourced (by the tests), only the functions above.
if [[ ${BASH_SOURCE[0]} != "$0" ]]; then
  return 0
fi

here=$(cd "$(dirname "$0")/.." && pwd)
cd /
if [[ $(id -u) -ne 0 ]]; then
  echo "Rode como root: sudo bash scripts/festa-server.sh" >&2
  exit 1
fi

if ! dpkg-query -W -f='${Status}' postgresql-15 2>/dev/null | grep -q "install ok installed"; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends postgresql-15
fi
pg_lsclusters -h | awk '$1 == 15 && $2 == "main"' | grep -q . || pg_createcluster 15 main
port=$(pg_lsclusters -h | awk '$1 == 15 && $2 == "main" {print $3}')
conf=/etc/postgresql/15/main

# Listens on every interface; messages in English whatever the machine's language (the desks read them).
pg_conftool 15 main set listen_addresses '*'
pg_conftool 15 main set password_encryption scram-sha-256
pg_conftool 15 main set lc_messages C
# A desk whose network died in the middle of a batch leaves its transaction open: the server notices the
# dead connection within a minute and a half and gives up the transaction after 30 s, so the desk's next
# connection never waits on the locks of its last one.
pg_conftool 15 main set tcp_keepalives_idle 30
pg_conftool 15 main set tcp_keepalives_interval 10
pg_conftool 15 main set tcp_keepalives_count 3
pg_conftool 15 main set idle_in_transaction_session_timeout 30s
# Who may connect: the system's postgres user through the local socket (peer), and the festa's roles with
# their passwords from this machine and the private networks a festa's desks are on. Nothing else.
{
  echo "# Written by scripts/festa-server.sh."
  echo "local   all     postgres                                     peer"
  for network in 127.0.0.1/32 ::1/128 $(festa_networks); do
    printf 'host    festa   festa_caixa,festa_tesouraria  %-14s scram-sha-256\n' "$network"
  done
} >"$conf/pg_hba.conf"
chown postgres:postgres "$conf/pg_hba.conf"
chmod 640 "$conf/pg_hba.conf"
pg_ctlcluster 15 main restart || pg_ctlcluster 15 main start

# The passwords, made once and kept for the next run (root only).
secrets=/etc/quorvanta/festa-senhas
mkdir -p "$(dirname "$secrets")"
if [[ ! -s "$secrets" ]]; then
  umask 077
  make_password() { tr -dc 'ABCDEFGHJKLMNPQRSTUVWXYZ23456789' </dev/urandom | head -c 10 || true; }
  printf 'FESTA_SENHA_CAIXA=%s\nFESTA_SENHA_TESOURARIA=%s\n' "$(make_password)" "$(make_password)" >"$secrets"
fi
chmod 600 "$secrets"
# shellcheck disable=SC1090
source "$secrets"
export FESTA_SENHA_CAIXA FESTA_SENHA_TESOURARIA
export PGPORT="$port"
FESTA_PSQL_USUARIO=postgres bash "$here/scripts/festa-schema.sh"

# Only addresses the rules above accept (a desk typing another one would be refused).
addresses=$(ip -o addr show 2>/dev/null | festa_addresses | xargs || true)
if [[ -z $addresses ]]; then
  echo "Atenção: este computador não tem endereço numa rede privada (10.x.x.x, 172.16–31.x.x," \
    "192.168.x.x ou fc00::/7), as únicas de onde o servidor aceita os caixas. Ligue-o à rede da festa" \
    "e rode o script de novo para ver o endereço." >&2
fi
cat <<TEXT

Servidor da festa pronto.
Em cada caixa, em Administração → Festa:
  Endereço do servidor: ${addresses:-(nenhum endereço numa rede privada; veja o aviso acima)}
  Porta:                $port
  Base de dados:        festa
  Senha dos caixas:     $FESTA_SENHA_CAIXA
Senha da tesouraria (painel da festa): $FESTA_SENHA_TESOURARIA
As senhas ficam guardadas em $secrets (somente root).
TEXT
