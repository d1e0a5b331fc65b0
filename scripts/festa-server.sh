#!/usr/bin/env bash
# The festa's server on the treasurer's computer, in one command, as root on Debian 12:
#   sudo bash scripts/festa-server.sh
# Installs PostgreSQL 15, makes it listen on the local network with password (SCRAM-SHA-256) access for
# the festa's two roles only, creates the festa's database and schema (scripts/festa-schema.sh) and prints
# what each desk needs to connect. Run again, it keeps the passwords and applies only what is new.
set -euo pipefail
cd "$(dirname "$0")/.."
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
cat >"$conf/pg_hba.conf" <<'HBA'
# Written by scripts/festa-server.sh.
local   all     postgres                                     peer
host    festa   festa_caixa,festa_tesouraria  127.0.0.1/32   scram-sha-256
host    festa   festa_caixa,festa_tesouraria  ::1/128        scram-sha-256
host    festa   festa_caixa,festa_tesouraria  10.0.0.0/8     scram-sha-256
host    festa   festa_caixa,festa_tesouraria  172.16.0.0/12  scram-sha-256
host    festa   festa_caixa,festa_tesouraria  192.168.0.0/16 scram-sha-256
host    festa   festa_caixa,festa_tesouraria  fc00::/7       scram-sha-256
host    festa   festa_caixa,festa_tesouraria  fe80::/10      scram-sha-256
HBA
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
FESTA_PSQL_USUARIO=postgres bash scripts/festa-schema.sh

addresses=$(hostname -I 2>/dev/null | xargs || true)
cat <<TEXT

Servidor da festa pronto.
Em cada caixa, em Administração → Festa:
  Endereço do servidor: ${addresses:-o endereço deste computador na rede}
  Porta:                $port
  Base de dados:        festa
  Senha dos caixas:     $FESTA_SENHA_CAIXA
Senha da tesouraria (painel da festa): $FESTA_SENHA_TESOURARIA
As senhas ficam guardadas em $secrets (somente root).
TEXT
