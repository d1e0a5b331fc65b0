#!/usr/bin/env bash
# scripts/festa-server.sh's address logic, fed `ip -o addr` lines as a festa's laptops show them: it prints
# only addresses whose network the access rules it writes accept, and accepts the networks it prints.
set -euo pipefail
# shellcheck source=../../scripts/festa-server.sh
source "$(dirname "$0")/../../scripts/festa-server.sh"

failures=0
expect() { # name, expected addresses (one line, space separated), ip -o addr lines
  local name=$1 want=$2 got
  got=$(printf '%s\n' "$3" | festa_addresses | xargs || true)
  if [[ $got != "$want" ]]; then
    echo "FAIL $name: got '$got', want '$want'"
    failures=$((failures + 1))
  else
    echo "PASS $name"
  fi
}

expect "loopback and link-local left out" "" \
  "1: lo    inet 127.0.0.1/8 scope host lo\       valid_lft forever preferred_lft forever
1: lo    inet6 ::1/128 scope host \       valid_lft forever preferred_lft forever
2: eth0    inet6 fe80::fc:ff:fe00:1/64 scope link \       valid_lft forever preferred_lft forever"
expect "a public or documentation address is not printed" "192.168.0.10 fd00::2" \
  "2: eth0    inet 192.0.2.2/24 brd 192.0.2.255 scope global eth0\       valid_lft forever
2: eth0    inet6 fd00::2/64 scope global nodad \       valid_lft forever preferred_lft forever
3: wlan0    inet 192.168.0.10/24 brd 192.168.0.255 scope global dynamic wlan0\       valid_lft 3600sec
4: tun0    inet 100.64.1.7/10 scope global tun0\       valid_lft forever
5: eth1    inet 8.8.4.4/24 scope global eth1\       valid_lft forever
6: eth2    inet6 2001:db8::5/64 scope global \       valid_lft forever"
expect "each private range, IPv4 first, once" "10.1.2.3 172.31.255.1 192.168.1.5 fdab:1::9" \
  "2: eth0    inet6 fdab:1::9/48 scope global \       valid_lft forever
2: eth0    inet 10.1.2.3/8 brd 10.255.255.255 scope global eth0\       valid_lft forever
3: eth1    inet 172.31.255.1/16 scope global eth1\       valid_lft forever
4: eth2    inet 192.168.1.5/24 scope global eth2\       valid_lft forever
5: eth2    inet 192.168.1.5/24 scope global secondary eth2\       valid_lft forever"
expect "a network wider than the private range it starts in is refused" "" \
  "2: eth0    inet 172.32.0.1/16 scope global eth0\       valid_lft forever
3: eth1    inet 172.16.0.1/11 scope global eth1\       valid_lft forever
4: eth2    inet 10.0.0.1/7 scope global eth2\       valid_lft forever
5: eth3    inet6 fc00::1/6 scope global \       valid_lft forever
6: eth4    inet6 fe00::1/64 scope global \       valid_lft forever"

# Every network the rules list is one festa_networks gives, and every printed address is inside one.
if [[ $(festa_networks | xargs) != "10.0.0.0/8 172.16.0.0/12 192.168.0.0/16 fc00::/7" ]]; then
  echo "FAIL networks: $(festa_networks | xargs)"
  failures=$((failures + 1))
fi
((failures == 0))
