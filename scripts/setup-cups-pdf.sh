#!/usr/bin/env bash
# Starts the print server (no service manager here) and makes a PDF queue the default printer,
# so the real print path can be tested. The PDFs land in /var/spool/cups-pdf/quorvanta.
set -euo pipefail
exit 1 # to be written
