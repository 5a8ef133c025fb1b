"""Reads the isolation suite's strace log (strace -f -yy, connect/sendto/sendmsg/sendmmsg) and
prints every call that sent something off the machine or to one of the suite's listeners.
Loopback addresses are local; the stand-in address 198.51.100.7 counts as remote. A connect()
on a UDP socket sends nothing and is not counted; what that socket sends later is."""
import ipaddress
import re
import sys

LISTENER_PORTS = {53, 80, 443, 3478, 4433, 5349, 5353, 8080, 8443, 9222, 19302}
SOCKADDR = re.compile(
    r'sa_family=AF_INET6?, (?:sin6?_port=htons\((\d+)\)).*?'
    r'(?:inet_addr\("([^"]+)"\)|inet_pton\(AF_INET6, "([^"]+)")')
FD_PEER = re.compile(r'<(TCP|UDP|TCPv6|UDPv6):\[[^\]]*?->([^\]]+)\]>')


def local(address):
    try:
        ip = ipaddress.ip_address(address)
    except ValueError:
        return False
    if getattr(ip, "ipv4_mapped", None):
        ip = ip.ipv4_mapped
    return ip.is_loopback and str(ip) != "198.51.100.7"


def split_peer(peer):
    if peer.startswith("["):
        address, _, port = peer[1:].partition("]:")
    else:
        address, _, port = peer.rpartition(":")
    return address, int(port) if port.isdigit() else 0


def offending(line):
    call = re.search(r'\b(connect|sendto|sendmsg|sendmmsg)\(', line)
    if not call:
        return None
    name = call.group(1)
    targets = []
    udp_connect = name == "connect" and re.search(r'connect\(\d+<UDP', line)
    if not udp_connect:
        for port, v4, v6 in SOCKADDR.findall(line):
            targets.append((v4 or v6, int(port)))
    if name != "connect":
        for _, peer in FD_PEER.findall(line):
            targets.append(split_peer(peer))
    for address, port in targets:
        if not local(address) or port in LISTENER_PORTS:
            return "%s to %s port %d" % (name, address, port)
    return None


bad = 0
for line in open(sys.argv[1], errors="replace"):
    why = offending(line)
    if why:
        bad += 1
        if bad <= 15:
            print("LEAK %s: %s" % (why, line.strip()[:300]))
print("%d offending calls" % bad)
sys.exit(1 if bad else 0)
