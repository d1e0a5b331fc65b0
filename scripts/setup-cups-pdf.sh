#!/usr/bin/env bash
# Starts the print server (no service manager here) and makes a PDF queue the default printer,
# so the real print path can be tested. The PDFs land in /var/spool/cups-pdf/quorvanta.
# Also installs the backend of the queues the tests add for themselves (scripts/cups-backend-teste).
# Needs root and the packages cups and printer-driver-cups-pdf (scripts/install-deps.sh --test).
# Safe to run again: it only starts what is not running and rewrites the same settings.
set -euo pipefail

queue=Quorvanta_PDF
out=/var/spool/cups-pdf/quorvanta
conf=/etc/cups/cups-pdf.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

fail() {
  echo "setup-cups-pdf: $*" >&2
  exit 1
}

((EUID == 0)) || fail "precisa ser executado como root"
for cmd in cupsd lpadmin lpstat cupsenable cupsaccept; do
  command -v "$cmd" >/dev/null || fail "comando '$cmd' ausente (instale cups e printer-driver-cups-pdf)"
done
[[ -x /usr/lib/cups/backend/cups-pdf && -f "$conf" ]] || fail "printer-driver-cups-pdf não está instalado"

# Every job as one file in a known folder, named after the job's title (the report) and number, so that
# jobs with the same title never overwrite each other. The backend reads this file for every job.
mkdir -p "$out"
chmod 1777 "$out"
sed -i -E '/^[[:space:]]*(Out|AnonDirName|Label|TitlePref)[[:space:]]/d' "$conf"
printf 'Out %s\nAnonDirName %s\nLabel 2\nTitlePref 1\n' "$out" "$out" >>"$conf"

# The tests' backend runs as root (mode 0700) so that it can write into the tests' own folders; the print
# server refuses a backend that others can change.
install -m 0700 -o root -g root "$(dirname "$0")/cups-backend-teste" /usr/lib/cups/backend/quorvanta-teste

scheduler_running() { timeout 10 lpstat -r 2>/dev/null | grep -q 'is running'; }

if ! scheduler_running; then
  mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups
  # cupsd puts itself in the background once it listens; the timeout only guards a stuck start.
  timeout 30 cupsd || fail "cupsd não iniciou (veja /var/log/cups/error_log)"
  for _ in $(seq 60); do
    scheduler_running && break
    sleep 0.5
  done
  scheduler_running || fail "cupsd não responde (veja /var/log/cups/error_log)"
fi

# The driver: cups-pdf's PPD by its model name, or the file itself where the model list differs.
model=$(timeout 60 lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ {print $1; exit}' || true)
if [[ -n "$model" ]]; then
  driver=(-m "$model")
elif [[ -f "$ppd" ]]; then
  driver=(-P "$ppd")
else
  fail "PPD do cups-pdf não encontrado"
fi

# pdftocairo keeps the text of the printed PDF as text (the default renderer turns it into outlines).
# The driver's own options repeat the file names chosen above (the PPD's defaults would win).
timeout 60 lpadmin -p "$queue" -E -v cups-pdf:/ "${driver[@]}" \
  -D "Quorvanta PDF" -L "$out" \
  -o pdftops-renderer-default=pdftocairo \
  -o TitlePref=1 -o Label=2 -o LogType=3 \
  -o printer-is-shared=false ||
  fail "lpadmin não criou a fila $queue"
timeout 30 lpadmin -d "$queue" || fail "lpadmin não tornou $queue a impressora padrão"
timeout 30 cupsenable "$queue"
timeout 30 cupsaccept "$queue"

timeout 10 lpstat -d | grep -q "$queue" || fail "$queue não ficou como impressora padrão"
echo "setup-cups-pdf: fila $queue pronta e padrão; os PDFs ficam em $out"
