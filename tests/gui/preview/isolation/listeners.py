"""Listeners of the isolation suite, inside its private network: a DNS responder on
127.0.0.1:53 that logs every name asked for (and answers with the stand-in address, so a lookup
that gets through is followed by a visible connection), and TCP and UDP listeners on every
address for the ports a page might use. Every arrival is one line in the log."""
import selectors
import socket
import struct
import sys

STAND_IN = "198.51.100.7"
TCP_PORTS = [80, 443, 3478, 4433, 5349, 8080, 8443, 9222, 19302]
UDP_PORTS = [443, 3478, 4433, 5349, 5353, 8443, 19302]

log = open(sys.argv[1], "a", buffering=1)
sel = selectors.DefaultSelector()


def record(line):
    log.write(line + "\n")


def dns_name(packet):
    labels, i = [], 12
    while i < len(packet) and packet[i]:
        n = packet[i]
        labels.append(packet[i + 1:i + 1 + n].decode("latin-1"))
        i += 1 + n
    return ".".join(labels), i + 5


def answer_dns(sock):
    packet, peer = sock.recvfrom(4096)
    name, end = dns_name(packet)
    record("dns %s from %s" % (name, peer[0]))
    header = packet[:2] + b"\x81\x80" + packet[4:6] + b"\x00\x01\x00\x00\x00\x00"
    answer = b"\xc0\x0c\x00\x01\x00\x01\x00\x00\x00\x3c\x00\x04" + socket.inet_aton(STAND_IN)
    sock.sendto(header + packet[12:end] + answer, peer)


def accept(sock, port):
    conn, peer = sock.accept()
    conn.settimeout(0.5)
    try:
        data = conn.recv(4096)
    except OSError:
        data = b""
    record("tcp %d from %s: %r" % (port, peer[0], data[:300]))
    conn.close()


def datagram(sock, port):
    data, peer = sock.recvfrom(65536)
    record("udp %d from %s: %r" % (port, peer[0], data[:300]))


dns = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
dns.bind(("127.0.0.1", 53))
sel.register(dns, selectors.EVENT_READ, lambda: answer_dns(dns))
for port in TCP_PORTS:
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("0.0.0.0", port))
    s.listen(16)
    sel.register(s, selectors.EVENT_READ, (lambda s=s, p=port: accept(s, p)))
for port in UDP_PORTS:
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("0.0.0.0", port))
    if port == 5353:
        try:
            s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                         struct.pack("4s4s", socket.inet_aton("224.0.0.251"),
                                     socket.inet_aton("127.0.0.1")))
        except OSError:
            pass
    sel.register(s, selectors.EVENT_READ, (lambda s=s, p=port: datagram(s, p)))
record("listening")
while True:
    for key, _ in sel.select():
        try:
            key.data()
        except OSError as e:
            record("error %s" % e)
