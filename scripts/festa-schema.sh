#!/usr/bin/env bash
# The festa's database on a PostgreSQL cluster: its roles (festa_dono owns the schema, festa_caixa for the
# desks, festa_tesouraria for the treasurer), the database and every db/server/NNN-*.sql not yet applied,
# each in one transaction together with its row in festa.versao_esquema. Run again, it applies only what
# is new; a database of a newer schema than these files is refused.
#
# psql reaches the cluster as a superuser through the usual PGHOST, PGPORT, PGUSER (and PGPASSWORD)
# variables; FESTA_PSQL_USUARIO runs psql as that system user (runuser) instead, through the local socket.
# FESTA_BASE names the database (festa). FESTA_SENHA_CAIXA and FESTA_SENHA_TESOURARIA, when given, become
# the passwords of the two roles (stored as SCRAM-SHA-256). Every statement goes to psql on its standard
# input, so the user that runs psql needs no access to this folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
base=${FESTA_BASE:-festa}

run_psql() {
  if [[ -n "${FESTA_PSQL_USUARIO:-}" ]]; then # from /: that user may not enter the caller's folder
    (cd / && runuser -u "$FESTA_PSQL_USUARIO" -- psql -X -q -v ON_ERROR_STOP=1 "$@")
  else
    psql -X -q -v ON_ERROR_STOP=1 "$@"
  fi
}

run_psql -d postgres -v base="$base" <<'SQL'
SELECT format('CREATE ROLE %I NOLOGIN', r) FROM unnest(ARRAY['festa_dono']) r
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r) \gexec
SELECT format('CREATE ROLE %I LOGIN', r) FROM unnest(ARRAY['festa_caixa', 'festa_tesouraria']) r
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r) \gexec
SELECT format('CREATE DATABASE %I OWNER festa_dono ENCODING ''UTF8'' TEMPLATE template0', :'base')
 WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = :'base') \gexec
SELECT format('REVOKE ALL ON DATABASE %I FROM PUBLIC', :'base') \gexec
SELECT format('GRANT CONNECT ON DATABASE %I TO festa_caixa, festa_tesouraria', :'base') \gexec
SQL

for role in caixa tesouraria; do
  var="FESTA_SENHA_${role^^}"
  if [[ -n "${!var:-}" ]]; then
    run_psql -d postgres -v senha="${!var}" -v papel="festa_$role" <<'SQL'
SET password_encryption = 'scram-sha-256';
SELECT format('ALTER ROLE %I PASSWORD %L', :'papel', :'senha') \gexec
SQL
  fi
done

current=0
if [[ $(run_psql -d "$base" -tA -c "SELECT to_regclass('festa.versao_esquema') IS NOT NULL") == t ]]; then
  current=$(run_psql -d "$base" -tA -c "SELECT coalesce(max(versao), 0) FROM festa.versao_esquema")
fi
latest=0
for file in "$here"/db/server/[0-9][0-9][0-9]-*.sql; do
  n=$((10#$(basename "$file" | cut -c1-3)))
  latest=$n
  ((n > current)) || continue
  { echo "SET ROLE festa_dono;"; cat "$file"; echo "INSERT INTO festa.versao_esquema (versao) VALUES ($n);"; } |
    run_psql -1 -d "$base"
  echo "esquema da festa: versão $n aplicada"
done
if ((current > latest)); then
  echo "A base \"$base\" tem o esquema $current, mais novo que o destes arquivos ($latest)." >&2
  exit 1
fi
