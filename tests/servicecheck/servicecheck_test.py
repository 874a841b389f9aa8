#!/usr/bin/env python3
"""The service check against real nginx (Debian's package) and `openssl
s_server`, started here on ports of one loopback address with a configuration
and folders of their own, and stopped by their PIDs afterwards. A service
that demands extended master secret is one s_server behind a small gate here
(s_server cannot be made to demand it). The hellos' bytes and the DH rule are
also checked through the tool's own functions.

    servicecheck_test.py SERVICECHECK ADDRESS [NO_LISTENER_ADDRESS]

VERBOSE=1 shows the check's whole output for the cases that pass too.
"""

import importlib.util
import os
import re
import selectors
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NAME = "servicecheck-23.test"
OTHER = "other-23.test"
TOKEN = "test0token0servicecheck"
BASE_PORT = 4431

W7OFF = "Windows 7, TLS 1.2 off"
W7 = "Windows 7, TLS 1.2 on"
W7U = "Windows 7, TLS 1.2 on, update 3042058"
W81 = "Windows 8.1"
W81U = "Windows 8.1, update 3042058"
LTSC = "Windows 10 LTSB/LTSC"
W10 = "Windows 10 22H2"
W11 = "Windows 11"
XP6 = "Windows XP SP3 (IE 6)"
XP7 = "Windows XP SP3 (IE 7 or 8)"
XPU = "Windows Embedded POSReady 2009 with the TLS 1.2 update"

SSL3_REFUSED = ("FAILED: no common protocol (this Windows offers SSL 3.0; alert handshake_failure, also when "
                "offered every suite: the service takes no SSL 3.0)")
GCM_CHACHA = "ECDHE-RSA-AES256-GCM-SHA384:ECDHE-RSA-AES128-GCM-SHA256:ECDHE-RSA-CHACHA20-POLY1305"
CBC = "ECDHE-RSA-AES256-SHA384:ECDHE-RSA-AES128-SHA256:ECDHE-RSA-AES256-SHA:ECDHE-RSA-AES128-SHA"

# One nginx server per setup, on BASE_PORT + index. `default` serves a
# certificate for another name to a hello without a server name.
SETUPS = [
    dict(name="modern", protocols="TLSv1.2 TLSv1.3", ciphers=GCM_CHACHA),
    dict(name="modern+cbc", protocols="TLSv1.2 TLSv1.3", ciphers=GCM_CHACHA + ":" + CBC),
    dict(name="tls13", protocols="TLSv1.3", ciphers=GCM_CHACHA),
    dict(name="by-name", protocols="TLSv1 TLSv1.1 TLSv1.2 TLSv1.3",
         ciphers=GCM_CHACHA + ":" + CBC + ":AES128-SHA:AES256-SHA:@SECLEVEL=0", default=OTHER),
    dict(name="leaf-only", protocols="TLSv1.2 TLSv1.3", ciphers=GCM_CHACHA + ":" + CBC, leaf_only=True),
    dict(name="name-only", protocols="TLSv1.2 TLSv1.3", ciphers=GCM_CHACHA + ":" + CBC + ":AES128-SHA",
         default=OTHER, reject_nameless=True),
]
CRL_PORT = BASE_PORT + len(SETUPS)

# One `openssl s_server` per setup, on CRL_PORT + 1 + index: what nginx cannot
# be made to do, or only with more configuration. Certificate files by stem.
DHE = "DHE-RSA-AES256-GCM-SHA384:DHE-RSA-AES128-GCM-SHA256:DHE-RSA-AES256-SHA:DHE-RSA-AES128-SHA"
SSERVERS = [
    dict(name="tls12-stapled", args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC, "-status_file", "{d}/ocsp.der"]),
    dict(name="warn-name", args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC, "-servername", OTHER,
                                 "-cert2", "{d}/%s.pem" % OTHER, "-key2", "{d}/%s.key" % OTHER]),
    dict(name="tls10", args=["-tls1", "-cipher", "AES128-SHA:AES256-SHA:ECDHE-RSA-AES128-SHA:"
                                                 "ECDHE-RSA-AES256-SHA:@SECLEVEL=0"]),
    dict(name="dhe", args=["-tls1_2", "-cipher", DHE]),
    dict(name="dh8192", args=["-tls1_2", "-cipher", DHE, "-dhparam", "{d}/dh8192.pem"]),
    dict(name="x25519", args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC, "-groups", "X25519"]),
    dict(name="pss", args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC,
                           "-sigalgs", "rsa_pss_rsae_sha256:rsa_pss_rsae_sha384:rsa_pss_rsae_sha512"]),
    dict(name="leaf-aia", cert="aia", chain=False, args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC]),
    dict(name="ecdsa-p256", cert="ecdsa", args=["-tls1_2", "-cipher", "ECDHE-ECDSA-AES256-GCM-SHA384",
                                                "-groups", "P-256"]),
    # A common "intermediate" profile: AES-GCM only, for an RSA certificate.
    dict(name="gcm-only", args=["-tls1_2", "-cipher", "ECDHE-RSA-AES128-GCM-SHA256:ECDHE-RSA-AES256-GCM-SHA384:"
                                "ECDHE-RSA-CHACHA20-POLY1305:DHE-RSA-AES128-GCM-SHA256:DHE-RSA-AES256-GCM-SHA384"]),
    # A 1056-bit group (a safe prime made once with openssl genpkey, kept here
    # because making one takes seconds to minutes).
    dict(name="dh1056", args=["-tls1_2", "-cipher", DHE + ":@SECLEVEL=1", "-dhparam", os.path.join(HERE, "dh1056.pem")]),
    # Reached only through the gate below, which demands extended master secret.
    dict(name="ems-backend", args=["-tls1_2", "-cipher", GCM_CHACHA + ":" + CBC]),
]
SSERVER_PORT = CRL_PORT + 1
GATE_PORT = SSERVER_PORT + len(SSERVERS)

# (setup, extra arguments, exit status, {row: expected start of its verdict}, other lines)
CASES = [
    ("modern", [], 1,
     {XP6: SSL3_REFUSED,
      XP7: "FAILED: no common protocol (this Windows offers TLS 1.0; alert protocol_version)",
      XPU: "FAILED: no common suite", W7OFF: "FAILED: no common protocol",
      W7: "FAILED: no common suite", W7U: "FAILED: no common suite", W81: "FAILED: no common suite",
      W81U: "FAILED: no common suite",
      LTSC: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519",
      W10: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519, signed rsa_pss_rsae_sha256",
      W11: "OK: TLS 1.3, TLS_AES_256_GCM_SHA384, X25519"},
     [r"every intermediate sent: yes", r"CRL  http://[\d.]+:\d+/test.crl: answers \(HTTP 200",
      r"measured from this machine, not from the tills' network",
      r"OCSP http://[\d.]+:\d+/ocsp: does NOT answer", r"OCSP stapling: no",
      r"root: CN = Servicecheck Test Root, trusted on this machine",
      r"Date: the service says \".*GMT\", [+-][0-3] s from",
      r"closed an idle connection after [1-4] s\n  \(This does the tills no harm.*the DLL waits 60 s",
      r"Windows 7 tills: this service needs TLS 1.2 from them.* Even with it they fail here",
      r"Verdict: NOT every till from \"Windows 7, TLS 1.2 on\" onwards"]),
    ("modern", ["--oldest", "Windows 10 LTSB/LTSC"], 0, {LTSC: "OK", W10: "OK", W11: "OK"}, []),
    ("modern", ["--no-ca"], 1,
     {W10: "FAILED: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519, signed rsa_pss_rsae_sha256: "
           "the chain does not verify",
      W11: "FAILED: TLS 1.3, TLS_AES_256_GCM_SHA384, X25519: the chain does not verify"}, []),
    ("modern", ["--token", TOKEN], 1, {W11: "OK"},
     [r'GuestInfo with token "test\*+ck" over the Windows 11 profile:',
      r'HTTP 200 after \d+\.\d s, JSON with a "Status" \(0\)']),
    ("modern+cbc", [], 0,
     {XPU: "FAILED: no common suite", W7: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384, P-256",
      W81: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384", W10: "OK", W11: "OK"},
     [r"Verdict: every till from \"Windows 7, TLS 1.2 on\" onwards gets through"]),
    ("tls13", [], 1,
     {XPU: "FAILED: no common protocol", W7: "FAILED: no common protocol",
      W81: "FAILED: no common protocol", W10: "FAILED: no common protocol",
      W11: "OK: TLS 1.3, TLS_AES_256_GCM_SHA384"}, []),
    ("by-name", ["--oldest", XP6], 1,
     {XP6: SSL3_REFUSED,
      XP7: "FAILED: no common suite (the service accepts none of this Windows' 11 suites with TLS 1.0; "
          "alert handshake_failure; offered more suites, it chose TLS 1.0, TLS_RSA_WITH_AES_128_CBC_SHA",
      XPU: "FAILED: TLS 1.2, TLS_RSA_WITH_AES_128_CBC_SHA: the certificate served without a server "
           "name is for another name (%s), not %s" % (OTHER, NAME),
      W7OFF: "OK: TLS 1.0, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA, P-256",
      W7: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384", W10: "OK", W11: "OK"},
     [r"without a server name \(Windows Embedded POSReady 2009 with the TLS 1.2 update\): CN = %s, for %s" % (OTHER, OTHER),
      r"Embedded POSReady 2009 with the TLS 1.2 update: FAILED.*\[profile unconfirmed: --profiles\]"]),
    ("leaf-only", [], 1,
     {W10: "FAILED: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519, signed rsa_pss_rsae_sha256: the "
           "intermediate certificate (CN = Servicecheck Test Intermediate) is not served and the certificate "
           "names no CA Issuers address"},
     [r"every intermediate sent: NO: the issuer of the last certificate served \(.*Servicecheck Test "
      r"Intermediate\) is not served, and the certificate names no CA Issuers address: a till fails unless "
      r"it already holds that certificate"]),
    ("name-only", [], 0,
     {XPU: "FAILED: the service refuses a handshake without a server name (with one it would agree "
           "on TLS 1.2, TLS_RSA_WITH_AES_128_CBC_SHA)", W7: "OK", W11: "OK"}, []),
    # openssl s_server
    ("tls12-stapled", [], 0,
     {W7OFF: "FAILED: no common protocol (this Windows offers TLS 1.0; alert protocol_version)",
      W7: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384, P-256", W10: "OK", W11: "OK"},
     [r"Windows 7 tills: this service needs TLS 1.2 from them.*Internet Explorer 11.*\"Use TLS 1.2\" "
      r"ticked.*INSTALL.txt", r"OCSP stapling: yes", r"Verdict: every till from \"Windows 7, TLS 1.2 on\" onwards"]),
    ("tls12-stapled", ["--oldest", "windows 7, tls 1.2 off"], 1, {W7OFF: "FAILED"},
     [r"Verdict: NOT every till from \"Windows 7, TLS 1.2 off\" onwards gets through \(FAILED: \"Windows 7, TLS 1.2 off\"\)"]),
    ("warn-name", [], 0,
     dict((row, "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_") for row in (W7, W81, LTSC, W10, W11)),
     [r"%s: OK: .*\(warning alert unrecognized_name noted; a warning does not end the handshake\)" % W11]),
    ("tls10", [], 1,
     {XP6: SSL3_REFUSED, XP7: "FAILED: no common suite",
      XPU: "OK: TLS 1.0, TLS_RSA_WITH_AES_128_CBC_SHA",
      W7OFF: "OK: TLS 1.0, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA, P-256", W7: "OK: TLS 1.0",
      LTSC: "FAILED: no common protocol", W10: "FAILED: no common protocol", W11: "FAILED: no common protocol"},
     []),
    ("dhe", [], 1,
     {W7OFF: "FAILED: no common protocol", W7: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_CBC_SHA, DH 2048 bits",
      W7U: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 2048 bits",
      W81: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_CBC_SHA, DH 2048 bits",
      W81U: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 2048 bits",
      LTSC: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 2048 bits",
      W10: "FAILED: no common suite (the service accepts none of this Windows' 18 suites with TLS 1.2; alert "
           "handshake_failure; offered more suites, it chose TLS 1.2, TLS_DHE_RSA_WITH_AES_",
      W11: "FAILED: no common suite"}, []),
    ("dh8192", [], 1,
     {W7: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_CBC_SHA, DH 8192 bits, signed rsa_pkcs1_sha256: "
          "a DH group of 8192 bits, where this Windows takes 1024 to 4096 bits in steps of 64",
      W7U: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 8192 bits",
      LTSC: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 8192 bits"}, []),
    ("x25519", [], 1,
     {W7: "FAILED: no common curve: the service takes none of this Windows' curves (P-256, P-384; alert "
          "handshake_failure; offered more curves, it chose TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384, X25519",
      W81: "FAILED: no common curve", LTSC: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519",
      W10: "OK", W11: "OK: TLS 1.2"}, []),
    ("pss", [], 1,
     {W7: "FAILED: no common signature algorithm: the service signs with none that this Windows offers "
          "(alert handshake_failure; offered more, it chose TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384, "
          "P-256, signed rsa_pss_rsae_sha256)",
      LTSC: "FAILED: no common signature algorithm",
      W10: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519, signed rsa_pss_rsae_sha256",
      W11: "OK"}, []),
    ("leaf-aia", [], 1,
     {W10: "FAILED unless the till can fetch it from http://{a}:%d/int.der: TLS 1.2, "
           "TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384, X25519, signed rsa_pss_rsae_sha256: the intermediate "
           "certificate (CN = Servicecheck Test Intermediate) is not served; its CA Issuers address answers "
           "from here and completes the chain" % CRL_PORT},
     [r"NO: the issuer of the last certificate served \(CN = Servicecheck Test Intermediate\) is not served; "
      r"a till fails unless it can fetch it from http://[\d.]+:\d+/int.der \(the CA Issuers address, which "
      r"answers from here and completes the chain\)", r"root: CN = Servicecheck Test Root",
      r"OCSP stapling: no\nRevocation: the certificate names no OCSP or CRL address"]),
    ("ecdsa-p256", [], 1,
     {W7: "FAILED: TLS 1.2, TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384, P-256, signed ecdsa_secp256r1_sha256: this "
          "Windows takes TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384 only with P-384, not with P-256",
      W81: "FAILED: TLS 1.2, TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384, P-256", LTSC: "OK", W10: "OK"}, []),
    # What a till may lack: update 3042058's AES-GCM suites, a DH size Windows takes, extended master secret.
    ("gcm-only", [], 1,
     {W7: "FAILED: no common suite (the service accepts none of this Windows' 24 suites with TLS 1.0, TLS 1.1, "
          "TLS 1.2; alert handshake_failure; offered more suites, it chose TLS 1.2, TLS_",
      W7U: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 2048 bits", W81: "FAILED: no common suite",
      W81U: "OK: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 2048 bits",
      LTSC: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384", W11: "OK"},
     [r'What would get a failing till through:\n  Windows 7, TLS 1.2 off: "Use TLS 1.2" ticked .* and update '
      r'3042058 \("Windows 7, TLS 1.2 on, update 3042058" gets through\)\n  Windows 7, TLS 1.2 on: update 3042058 '
      r'\("Windows 7, TLS 1.2 on, update 3042058" gets through\)\n  Windows 8.1: update 3042058 \("Windows 8.1, '
      r'update 3042058" gets through\)\n\n',
      r'Even with it they fail here \("Windows 7, TLS 1.2 on" above\), unless they also have update 3042058',
      r'Verdict: NOT every till from "Windows 7, TLS 1.2 on" onwards gets through \(FAILED: "Windows 7, TLS 1.2 on", '
      r'"Windows 8.1"\)']),
    ("gcm-only", ["--oldest", W7U], 0, {W7U: "OK"},
     [r'Verdict: every till from "Windows 7, TLS 1.2 on, update 3042058" onwards gets through']),
    ("dh1056", [], 1,
     {W7: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_CBC_SHA, DH 1056 bits, signed rsa_pkcs1_sha256: a DH group of "
          "1056 bits, where this Windows takes 1024 to 4096 bits in steps of 64",
      W7U: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 1056 bits",
      LTSC: "FAILED: TLS 1.2, TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, DH 1056 bits"}, []),
    ("ems", [], 1,
     {W7: "FAILED: the service demands extended master secret, which this Windows does not send (alert "
          "handshake_failure; offered it, the service chose TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384, P-256",
      W7U: "FAILED: the service demands extended master secret", W81U: "FAILED: the service demands extended",
      LTSC: "OK: TLS 1.2, TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384", W10: "OK", W11: "OK"},
     [r"  Windows 7, TLS 1.2 on: update 3081320 \(MS15-121\), which adds extended master secret \(offered it, "
      r"the service agrees\)"]),
]

# What the XP hellos and one later hello carry: (row, record version, hello version,
# extension types, None for no extension block at all).
HELLOS = [(XP6, 0x0300, 0x0300, None), (XP7, 0x0301, 0x0301, None),
          (W7, 0x0301, 0x0303, [0, 5, 10, 11, 13, 0xFF01]), (LTSC, 0x0301, 0x0303, [0, 5, 10, 11, 13, 23, 0xFF01])]
# Windows' DH rule on Windows 7 with update 3042058: (bits, refused).
DH_SIZES = [(960, True), (1024, False), (1056, True), (2048, False), (2072, True), (4096, False), (4160, True)]


def openssl(*args):
    subprocess.run(["openssl"] + list(args), check=True, capture_output=True)


def make_certificates(d, address, no_listener):
    def ext(name, text):
        path = os.path.join(d, name + ".ext")
        with open(path, "w") as f:
            f.write(text)
        return path

    ca_ext = ext("ca", "basicConstraints=critical,CA:true\nkeyUsage=critical,keyCertSign,cRLSign\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
            "/CN=Servicecheck Test Root", "-keyout", d + "/root.key", "-out", d + "/root.pem",
            "-addext", "basicConstraints=critical,CA:true", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=Servicecheck Test Intermediate",
            "-keyout", d + "/int.key", "-out", d + "/int.csr")
    openssl("x509", "-req", "-in", d + "/int.csr", "-CA", d + "/root.pem", "-CAkey", d + "/root.key",
            "-CAcreateserial", "-days", "30", "-extfile", ca_ext, "-out", d + "/int.pem")
    for host in (NAME, OTHER):
        leaf_ext = ext(host, "subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n"
                             "authorityInfoAccess=OCSP;URI:http://%s:%d/ocsp\n"
                             "crlDistributionPoints=URI:http://%s:%d/test.crl\n" % (
                                 host, no_listener, CRL_PORT, address, CRL_PORT))
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + host,
                "-keyout", "%s/%s.key" % (d, host), "-out", "%s/%s.csr" % (d, host))
        openssl("x509", "-req", "-in", "%s/%s.csr" % (d, host), "-CA", d + "/int.pem",
                "-CAkey", d + "/int.key", "-CAcreateserial", "-days", "20", "-extfile", leaf_ext,
                "-out", "%s/%s.pem" % (d, host))
        with open("%s/%s.chain.pem" % (d, host), "w") as out:
            for part in ("%s/%s.pem" % (d, host), d + "/int.pem"):
                with open(part) as f:
                    out.write(f.read())
    with open(d + "/test.crl", "wb") as f:
        f.write(b"not a real CRL: only whether the address answers is checked")
    # A leaf that names where its issuer can be fetched (nginx serves int.der).
    aia_ext = ext("aia", "subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n"
                         "authorityInfoAccess=caIssuers;URI:http://%s:%d/int.der\n" % (NAME, address, CRL_PORT))
    openssl("x509", "-req", "-in", "%s/%s.csr" % (d, NAME), "-CA", d + "/int.pem", "-CAkey", d + "/int.key",
            "-CAcreateserial", "-days", "20", "-extfile", aia_ext, "-out", d + "/aia.pem")
    shutil.copy("%s/%s.key" % (d, NAME), d + "/aia.key")
    openssl("x509", "-in", d + "/int.pem", "-outform", "DER", "-out", d + "/int.der")
    # An OCSP answer for the leaf, for s_server to staple.
    serial = subprocess.run(["openssl", "x509", "-noout", "-serial", "-in", "%s/%s.pem" % (d, NAME)],
                            check=True, capture_output=True, text=True).stdout.strip().split("=")[1]
    with open(d + "/index.txt", "w") as f:
        f.write("V\t301231235959Z\t\t%s\tunknown\t/CN=%s\n" % (serial, NAME))
    openssl("ocsp", "-index", d + "/index.txt", "-rsigner", d + "/int.pem", "-rkey", d + "/int.key",
            "-CA", d + "/int.pem", "-issuer", d + "/int.pem", "-cert", "%s/%s.pem" % (d, NAME),
            "-respout", d + "/ocsp.der", "-ndays", "1")
    # An ECDSA leaf, for a suite that Windows 7 takes with one curve only.
    ecdsa_ext = ext("ecdsa", "subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n" % NAME)
    openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-subj", "/CN=" + NAME,
            "-keyout", d + "/ecdsa.key", "-out", d + "/ecdsa.csr")
    openssl("x509", "-req", "-in", d + "/ecdsa.csr", "-CA", d + "/int.pem", "-CAkey", d + "/int.key",
            "-CAcreateserial", "-days", "20", "-extfile", ecdsa_ext, "-out", d + "/ecdsa.pem")
    openssl("genpkey", "-genparam", "-algorithm", "DH", "-pkeyopt", "group:ffdhe8192", "-out", d + "/dh8192.pem")


def nginx_config(d, address):
    servers = []
    for i, s in enumerate(SETUPS):
        listen = "%s:%d" % (address, BASE_PORT + i)
        hosts = [(s.get("default", NAME), " default_server")]
        if s.get("default"):
            hosts.append((NAME, ""))
        for host, default in hosts:
            cert = "%s/%s.%s" % (d, host, "pem" if s.get("leaf_only") else "chain.pem")
            servers.append("""
  server {
    listen %s ssl%s;
    server_name %s;
    ssl_certificate %s;
    ssl_certificate_key %s/%s.key;
    ssl_protocols %s;
    ssl_ciphers %s;
    location / { return 200 '{"Status":0}'; }%s
  }""" % (listen, default, host, cert, d, host, s["protocols"], s["ciphers"],
          "\n    ssl_reject_handshake on;" if default and s.get("reject_nameless") else ""))
    return """
worker_processes 1;
pid %(d)s/nginx.pid;
error_log %(d)s/error.log;
daemon off;
user root;
events { worker_connections 64; }
http {
  access_log %(d)s/access.log;
  client_body_temp_path %(d)s/body; proxy_temp_path %(d)s/proxy; fastcgi_temp_path %(d)s/fcgi;
  uwsgi_temp_path %(d)s/uwsgi; scgi_temp_path %(d)s/scgi;
  default_type application/json;
  keepalive_timeout 2s;
  server { listen %(a)s:%(crl)d; root %(d)s; }
%(servers)s
}
""" % dict(d=d, a=address, crl=CRL_PORT, servers="".join(servers))


def start_s_servers(d, address):
    servers = []
    for i, setup in enumerate(SSERVERS):
        stem = setup.get("cert", NAME)
        cmd = ["openssl", "s_server", "-accept", "%s:%d" % (address, SSERVER_PORT + i), "-www",
               "-cert", "%s/%s.pem" % (d, stem), "-key", "%s/%s.key" % (d, stem)]
        if setup.get("chain", True):
            cmd += ["-cert_chain", d + "/int.pem"]
        cmd += [a.format(d=d) for a in setup["args"]]
        servers.append(subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE))
    return servers


def stop(process):
    if process is not None and process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def hello_extensions(msg):
    """The extension types of a ClientHello handshake message, None when it has no extension block."""
    pos = 4 + 2 + 32
    pos += 1 + msg[pos]
    pos += 2 + int.from_bytes(msg[pos:pos + 2], "big")
    pos += 1 + msg[pos]
    if pos >= len(msg):
        return None
    end, pos, types = pos + 2 + int.from_bytes(msg[pos:pos + 2], "big"), pos + 2, []
    while pos + 4 <= end:
        types.append(int.from_bytes(msg[pos:pos + 2], "big"))
        pos += 4 + int.from_bytes(msg[pos + 2:pos + 4], "big")
    return types


def relay(a, b, seconds=30):
    sel = selectors.DefaultSelector()
    sel.register(a, selectors.EVENT_READ, b)
    sel.register(b, selectors.EVENT_READ, a)
    deadline = time.time() + seconds
    while time.time() < deadline:
        for key, _ in sel.select(timeout=1):
            data = key.fileobj.recv(65536)
            if not data:
                return
            key.data.sendall(data)


def start_ems_gate(sc, address, backend_port, stopped):
    """A service that demands extended master secret, as one that checks at the
    hello does: a hello without it gets a fatal handshake_failure alert; one
    with it goes through to a real s_server."""
    listener = socket.create_server((address, GATE_PORT))
    listener.settimeout(0.5)

    def serve(client):
        with client:
            try:
                client.settimeout(10)
                head = sc.read_exact(client, 5)
                record = sc.read_exact(client, int.from_bytes(head[3:5], "big"))
                if 23 not in (hello_extensions(record) or []):
                    client.sendall(bytes([21, 3, 3, 0, 2, 2, 40]))
                    return
                with socket.create_connection((address, backend_port), timeout=10) as server:
                    server.sendall(head + record)
                    relay(client, server)
            except (OSError, EOFError, IndexError):
                pass

    def accept():
        with listener:
            while not stopped.is_set():
                try:
                    client, _ = listener.accept()
                except socket.timeout:
                    continue
                threading.Thread(target=serve, args=(client,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()


def load_tool(tool):
    """The tool as a module, for its own functions."""
    tool_loader = importlib.util.spec_from_file_location("servicecheck", tool)
    sc = importlib.util.module_from_spec(tool_loader)
    tool_loader.loader.exec_module(sc)
    return sc


def unit_checks(sc):
    """The hellos' bytes and the DH rule, straight from the tool's own functions."""
    rows = {p.name: p for p in sc.PROFILES}
    problems = []
    for row, record, version, extensions in HELLOS:
        if row not in rows:
            problems.append("no row %r" % row)
            continue
        hello = sc.client_hello(rows[row], NAME)
        got = (int.from_bytes(hello[1:3], "big"), int.from_bytes(hello[9:11], "big"), hello_extensions(hello[5:]))
        if got != (record, version, extensions):
            problems.append("hello of %r: %r, expected %r" % (row, got, (record, version, extensions)))
    for bits, refused in DH_SIZES:
        answer = sc.Answer("hello")
        answer.version, answer.suite, answer.dh_bits = 0x0303, 0x009F, bits
        fault = sc.key_exchange_fault(rows.get(W7U, rows[W7]), answer)
        if bool(fault) != refused or (fault and "in steps of 64" not in fault):
            problems.append("DH group of %d bits: %r" % (bits, fault))
    for problem in problems:
        print("FAIL: %s" % problem)
    print("%s: hellos and DH rule" % ("FAIL" if problems else "ok"))
    return len(problems)


def wait_listening(address, port, nginx):
    for _ in range(100):
        if nginx.poll() is not None:
            return False
        try:
            socket.create_connection((address, port), timeout=1).close()
            return True
        except OSError:
            time.sleep(0.1)
    return False


def main():
    tool, address = sys.argv[1], sys.argv[2]
    no_listener = sys.argv[3] if len(sys.argv) > 3 else "127.0.23.9"
    d = tempfile.mkdtemp(prefix="servicecheck-test-")
    nginx = None
    sservers = []
    stopped = threading.Event()
    sc = load_tool(tool)
    failures = unit_checks(sc)
    try:
        make_certificates(d, address, no_listener)
        with open(d + "/nginx.conf", "w") as f:
            f.write(nginx_config(d, address))
        binary = shutil.which("nginx") or "/usr/sbin/nginx"
        nginx = subprocess.Popen([binary, "-p", d, "-c", d + "/nginx.conf", "-e", d + "/error.log"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if not all(wait_listening(address, BASE_PORT + i, nginx) for i in range(len(SETUPS))):
            print("FAIL: nginx did not start: %s" % (nginx.stderr.read().decode() if nginx.poll() is not None else ""))
            with open(d + "/error.log") as f:
                print(f.read())
            return 1
        sservers = start_s_servers(d, address)
        for i, (setup, server) in enumerate(zip(SSERVERS, sservers)):
            if not wait_listening(address, SSERVER_PORT + i, server):
                print("FAIL: openssl s_server %s did not start: %s" % (
                    setup["name"], server.stderr.read().decode() if server.poll() is not None else ""))
                return 1
        ports = {s["name"]: BASE_PORT + i for i, s in enumerate(SETUPS)}
        ports.update({s["name"]: SSERVER_PORT + i for i, s in enumerate(SSERVERS)})
        start_ems_gate(sc, address, ports["ems-backend"], stopped)
        ports["ems"] = GATE_PORT
        for setup, extra, status, rows, lines in CASES:
            args = [a for a in extra if a != "--no-ca"]
            if "--no-ca" not in extra:
                args += ["--ca", d + "/root.pem"]
            cmd = [sys.executable, tool, NAME, "--connect-to", "%s:%d" % (address, ports[setup])] + args
            started = time.time()
            p = subprocess.run(cmd, capture_output=True, text=True, timeout=120)
            out = p.stdout
            problems = []
            if p.returncode != status:
                problems.append("exit %d, expected %d" % (p.returncode, status))
            for row, verdict in rows.items():
                verdict = verdict.replace("{a}", address)
                got = [l for l in out.splitlines() if l.startswith(row + ": ")]
                if len(got) != 1 or not got[0][len(row) + 2:].startswith(verdict):
                    problems.append("row %r: %r, expected it to start with %r" % (row, got, verdict))
            for pattern in lines:
                if not re.search(pattern, out):
                    problems.append("no line matching %r" % pattern)
            label = "%s %s" % (setup, " ".join(extra))
            if problems:
                failures += 1
                print("FAIL: %s (%.1f s)\n  %s\n--- output:\n%s%s" % (
                    label, time.time() - started, "\n  ".join(problems), out, p.stderr))
            else:
                print("ok: %s (%.1f s)" % (label, time.time() - started))
                if os.environ.get("VERBOSE"):
                    print(out)
        # The token goes out once, as GuestInfo, and nothing else is posted.
        with open(d + "/access.log") as f:
            posts = [l for l in f if '"POST ' in l]
        if len(posts) != 1 or ("POST /v1/GuestInfo/%s HTTP/1.1" % TOKEN) not in posts[0]:
            failures += 1
            print("FAIL: expected exactly one POST, to v1/GuestInfo/, got %r" % posts)
        # Bad arguments, a port where nothing listens, plain HTTP.
        for cmd, status, pattern in (
                ([NAME, "--oldest", "Windows 95"], 2, "unknown row"),
                ([NAME, "--connect-to", "%s:%d" % (no_listener, BASE_PORT)], 2, "Nothing answers"),
                (["%s:notaport" % NAME], 2, "bad port"),
                ([NAME, "--connect-to", "%s:%d" % (address, CRL_PORT)], 1,
                 "Windows 7, TLS 1.2 on: FAILED: the service does not speak TLS on port %d" % CRL_PORT)):
            p = subprocess.run([sys.executable, tool] + cmd, capture_output=True, text=True, timeout=120)
            if p.returncode != status or pattern not in p.stdout + p.stderr:
                failures += 1
                print("FAIL: %s: exit %d, expected %d and %r\n%s%s" % (
                    cmd, p.returncode, status, pattern, p.stdout, p.stderr))
            else:
                print("ok: %s: exit %d" % (" ".join(cmd), status))
    finally:
        stopped.set()
        for process in [nginx] + sservers:
            stop(process)
        shutil.rmtree(d, ignore_errors=True)
    print("%d failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
