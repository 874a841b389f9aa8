#!/usr/bin/env python3
"""Which tills will get through to the loyalty service? A readiness check of
the service's TLS, made from any Linux machine, one row per kind of till.

    servicecheck.py HOST[:PORT] [--connect-to ADDRESS[:PORT]] [--ca FILE]
                    [--oldest ROW] [--token TOKEN]

For each kind of till (a Windows version with its WinInet's TLS settings),
the check sends the TLS ClientHello such a till sends (protocol versions,
cipher suites in its order, elliptic curves, signature algorithms, server
name or none) and reads what the service answers up to the end of its first
flight: the protocol, suite and key exchange it chose, or why it refused.
When it refuses, one dimension of the offer at a time is widened (suites,
curves, signature algorithms, protocol versions, extended master secret) to
find out which one stands in the way. For TLS 1.2 and older the certificates come
in the clear; for TLS 1.3 `openssl s_client` makes the same offer and shows
them. The chain is then verified with `openssl verify` against this
machine's trusted roots (and --ca), for the name the till uses, and a
missing intermediate is looked for where Windows would fetch it.
Building the ClientHello here, rather than through `openssl s_client`, is
what lets the check offer suites this machine's OpenSSL no longer has (RC4,
DES, 3DES, export suites: everything Windows XP SP3 offers).

Windows 7 and 8.1 are judged with and without update 3042058, which adds
their RSA and DHE-RSA AES-GCM suites: a till with updates off lacks them.
Below the rows the check says which failing rows an update or a setting gets
through, as measured (the row with it got through, or the probe that added
what the update brings did).

Exit status: 0 when the --oldest row (default "Windows 7, TLS 1.2 on", a
Windows 7 till without update 3042058) and every row below it get through; 1
when one of them does not; 2 on bad arguments or when nothing answers at all.

Where each profile comes from, and which of its facts could not be confirmed
there: SOURCES and PROFILES below; `--profiles` prints both.
"""

import argparse
import base64
import copy
import datetime
import email.utils
import hashlib
import ipaddress
import json
import os
import re
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.parse
import urllib.request

HANDSHAKE_SECONDS = 10
IDLE_LIMIT_SECONDS = 65  # a little beyond the DLL's own 60-second limit

SUITES = {
    0x0003: "TLS_RSA_EXPORT_WITH_RC4_40_MD5",
    0x0004: "TLS_RSA_WITH_RC4_128_MD5",
    0x0005: "TLS_RSA_WITH_RC4_128_SHA",
    0x0006: "TLS_RSA_EXPORT_WITH_RC2_CBC_40_MD5",
    0x0009: "TLS_RSA_WITH_DES_CBC_SHA",
    0x000A: "TLS_RSA_WITH_3DES_EDE_CBC_SHA",
    0x0012: "TLS_DHE_DSS_WITH_DES_CBC_SHA",
    0x0013: "TLS_DHE_DSS_WITH_3DES_EDE_CBC_SHA",
    0x002F: "TLS_RSA_WITH_AES_128_CBC_SHA",
    0x0032: "TLS_DHE_DSS_WITH_AES_128_CBC_SHA",
    0x0033: "TLS_DHE_RSA_WITH_AES_128_CBC_SHA",
    0x0035: "TLS_RSA_WITH_AES_256_CBC_SHA",
    0x0038: "TLS_DHE_DSS_WITH_AES_256_CBC_SHA",
    0x0039: "TLS_DHE_RSA_WITH_AES_256_CBC_SHA",
    0x003C: "TLS_RSA_WITH_AES_128_CBC_SHA256",
    0x003D: "TLS_RSA_WITH_AES_256_CBC_SHA256",
    0x0040: "TLS_DHE_DSS_WITH_AES_128_CBC_SHA256",
    0x0062: "TLS_RSA_EXPORT1024_WITH_DES_CBC_SHA",
    0x0063: "TLS_DHE_DSS_EXPORT1024_WITH_DES_CBC_SHA",
    0x0064: "TLS_RSA_EXPORT1024_WITH_RC4_56_SHA",
    0x006A: "TLS_DHE_DSS_WITH_AES_256_CBC_SHA256",
    0x009C: "TLS_RSA_WITH_AES_128_GCM_SHA256",
    0x009D: "TLS_RSA_WITH_AES_256_GCM_SHA384",
    0x009E: "TLS_DHE_RSA_WITH_AES_128_GCM_SHA256",
    0x009F: "TLS_DHE_RSA_WITH_AES_256_GCM_SHA384",
    0x1301: "TLS_AES_128_GCM_SHA256",
    0x1302: "TLS_AES_256_GCM_SHA384",
    0xC009: "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA",
    0xC00A: "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA",
    0xC013: "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA",
    0xC014: "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA",
    0xC023: "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA256",
    0xC024: "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384",
    0xC027: "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA256",
    0xC028: "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384",
    0xC02B: "TLS_ECDHE_ECDSA_WITH_AES_128_GCM_SHA256",
    0xC02C: "TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384",
    0xC02F: "TLS_ECDHE_RSA_WITH_AES_128_GCM_SHA256",
    0xC030: "TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384",
}
SUITE_CODES = {name: code for code, name in SUITES.items()}

GROUPS = {0x0017: "P-256", 0x0018: "P-384", 0x0019: "P-521", 0x001D: "X25519"}
SIGALGS = {  # code: name for `openssl s_client -sigalgs`
    0x0201: "RSA+SHA1", 0x0202: "DSA+SHA1", 0x0203: "ECDSA+SHA1",
    0x0401: "rsa_pkcs1_sha256", 0x0403: "ecdsa_secp256r1_sha256",
    0x0501: "rsa_pkcs1_sha384", 0x0503: "ecdsa_secp384r1_sha384",
    0x0601: "rsa_pkcs1_sha512", 0x0603: "ecdsa_secp521r1_sha512",
    0x0804: "rsa_pss_rsae_sha256", 0x0805: "rsa_pss_rsae_sha384",
    0x0806: "rsa_pss_rsae_sha512",
}
VERSIONS = {0x0300: "SSL 3.0", 0x0301: "TLS 1.0", 0x0302: "TLS 1.1",
            0x0303: "TLS 1.2", 0x0304: "TLS 1.3"}
ALERTS = {0: "close_notify", 10: "unexpected_message", 20: "bad_record_mac",
          40: "handshake_failure", 42: "bad_certificate", 47: "illegal_parameter",
          50: "decode_error", 51: "decrypt_error", 70: "protocol_version",
          71: "insufficient_security", 80: "internal_error", 86: "inappropriate_fallback",
          109: "missing_extension", 110: "unsupported_extension", 112: "unrecognized_name",
          120: "no_application_protocol"}
HELLO_RETRY_RANDOM = hashlib.sha256(b"HelloRetryRequest").digest()


def suites(*names):
    return [SUITE_CODES[n] for n in names]


def tls10(suite_list):
    """The suites of a list that TLS 1.0 can carry (no SHA-256/384 MAC, no GCM)."""
    return [s for s in suite_list
            if not 0x1300 <= s < 0x1400 and not SUITES[s].endswith(("SHA256", "SHA384"))]


# The suites of Windows XP and Server 2003, in their default order [XP],
# without the two NULL suites (no encryption; WinInet does not ask for them).
XP_SUITES = suites(
    "TLS_RSA_WITH_RC4_128_MD5", "TLS_RSA_WITH_RC4_128_SHA", "TLS_RSA_WITH_3DES_EDE_CBC_SHA",
    "TLS_DHE_DSS_WITH_3DES_EDE_CBC_SHA", "TLS_RSA_WITH_DES_CBC_SHA", "TLS_DHE_DSS_WITH_DES_CBC_SHA",
    "TLS_RSA_EXPORT1024_WITH_RC4_56_SHA", "TLS_RSA_EXPORT1024_WITH_DES_CBC_SHA",
    "TLS_DHE_DSS_EXPORT1024_WITH_DES_CBC_SHA", "TLS_RSA_EXPORT_WITH_RC4_40_MD5",
    "TLS_RSA_EXPORT_WITH_RC2_CBC_40_MD5")

# Windows 7 and Windows 8.1 list the same suites in the same order [W7]
# [W81]; a suite listed once per curve (_P256, _P384) is offered once, and
# the curves P-256 then P-384 are those suffixes (P-521 is not on by default).
# The NULL and SSL 2.0 entries are used only when an application asks.
W7_SUITES = suites(
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA",
    "TLS_DHE_RSA_WITH_AES_256_GCM_SHA384", "TLS_DHE_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_DHE_RSA_WITH_AES_256_CBC_SHA", "TLS_DHE_RSA_WITH_AES_128_CBC_SHA",
    "TLS_RSA_WITH_AES_256_GCM_SHA384", "TLS_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA256", "TLS_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA", "TLS_RSA_WITH_AES_128_CBC_SHA",
    "TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_GCM_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA",
    "TLS_DHE_DSS_WITH_AES_256_CBC_SHA256", "TLS_DHE_DSS_WITH_AES_128_CBC_SHA256",
    "TLS_DHE_DSS_WITH_AES_256_CBC_SHA", "TLS_DHE_DSS_WITH_AES_128_CBC_SHA",
    "TLS_RSA_WITH_3DES_EDE_CBC_SHA", "TLS_DHE_DSS_WITH_3DES_EDE_CBC_SHA",
    "TLS_RSA_WITH_RC4_128_SHA", "TLS_RSA_WITH_RC4_128_MD5")
# The two ECDSA suites with a SHA-384 MAC are listed with _P384 only [W7]:
# that curve is the only one this Windows takes with them.
W7_PAIRS = {SUITE_CODES["TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384"]: [0x0018],
            SUITE_CODES["TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384"]: [0x0018]}

# Windows 10 1809 [W10LTSC]; the same list as 1903 to 2004 [W10-1903]. 1607's
# list [W10-1607] has these and more (DHE-RSA and DHE-DSS with AES-CBC, RC4),
# so this is what all three long-term images have in common.
W10_LTSC_SUITES = suites(
    "TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_GCM_SHA256",
    "TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384", "TLS_ECDHE_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_DHE_RSA_WITH_AES_256_GCM_SHA384", "TLS_DHE_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA",
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA",
    "TLS_RSA_WITH_AES_256_GCM_SHA384", "TLS_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA256", "TLS_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA", "TLS_RSA_WITH_AES_128_CBC_SHA",
    "TLS_RSA_WITH_3DES_EDE_CBC_SHA")

W10_SUITES = suites(
    "TLS_ECDHE_ECDSA_WITH_AES_256_GCM_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_GCM_SHA256",
    "TLS_ECDHE_RSA_WITH_AES_256_GCM_SHA384", "TLS_ECDHE_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA384", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA",
    "TLS_ECDHE_RSA_WITH_AES_256_CBC_SHA", "TLS_ECDHE_RSA_WITH_AES_128_CBC_SHA",
    "TLS_RSA_WITH_AES_256_GCM_SHA384", "TLS_RSA_WITH_AES_128_GCM_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA256", "TLS_RSA_WITH_AES_128_CBC_SHA256",
    "TLS_RSA_WITH_AES_256_CBC_SHA", "TLS_RSA_WITH_AES_128_CBC_SHA")

# 22H2 and later [W11]: 21H2's DHE-RSA-GCM and 3DES moved to "not enabled".
W11_SUITES = suites("TLS_AES_256_GCM_SHA384", "TLS_AES_128_GCM_SHA256") + W10_SUITES

# Signature algorithms are on none of the pages and no capture of them was
# read: these are the lists commonly given for each generation. RSA-PSS came
# with later Windows 10 builds, so the long-term row leaves it out.
SIGALGS_W7 = [0x0401, 0x0501, 0x0201, 0x0403, 0x0503, 0x0203, 0x0202, 0x0601, 0x0603]
SIGALGS_W10 = [0x0804, 0x0805, 0x0806, 0x0401, 0x0501, 0x0201, 0x0403, 0x0503, 0x0203,
               0x0202, 0x0601, 0x0603]

# The four suites that update 3042058 adds to Windows 7 and 8.1 [ADV3042058]:
# a till that never installed it lacks them. They are TLS 1.2 suites, so the
# TLS 1.0 offer is the same with and without the update. Both pages give the
# list as it is after that update, and the order before it is on no page read
# here: the rows without it keep the remaining suites in the pages' order.
UPDATE_3042058 = suites("TLS_DHE_RSA_WITH_AES_256_GCM_SHA384", "TLS_DHE_RSA_WITH_AES_128_GCM_SHA256",
                        "TLS_RSA_WITH_AES_256_GCM_SHA384", "TLS_RSA_WITH_AES_128_GCM_SHA256")
W7_SHIPPED = [s for s in W7_SUITES if s not in UPDATE_3042058]

# DH groups: CNG makes DH keys of 512 to 4096 bits in multiples of 64 [CNG];
# SChannel's floor is 1024 bits since MS15-055 [MS15-055] [TLSREG]. That
# SChannel refuses a server's group outside CNG's rule is inferred from [CNG],
# not seen on a till.
DH_RULE = (1024, 4096, 64)

# Read in 2026. learn.microsoft.com pages are quoted from their source, the
# repositories MicrosoftDocs/win32 (desktop-src/SecAuthN/), MicrosoftDocs/
# sdk-api and MicrosoftDocs/windowsserverdocs on GitHub; security advisories
# and bulletins from MicrosoftDocs/security-updates.de-de (the German edition:
# the English one was not at hand; suite names and update numbers read the same).
SOURCES = [
    ("[XP]", "\"TLS Cipher Suites\" (Windows Server 2003 and Windows XP). Its address "
     "redirects now; the text is in the repository's history, tls-cipher-suites.md at commit "
     "0180b6dbcaa133e58745702bf0ebefa871ee151b",
     "https://github.com/MicrosoftDocs/win32/blob/0180b6dbcaa133e58745702bf0ebefa871ee151b/"
     "desktop-src/SecAuthN/tls-cipher-suites.md"),
    ("[IE7TLS]", "\"TLS enabled by default in IE 7.0 and WinINet\", Microsoft's Windows Networking "
     "team blog, 12 April 2006: TLS and extensions on by default from Internet Explorer 7 in "
     "WinInet; SChannel sends extensions from Windows Vista on",
     "https://blogs.msdn.microsoft.com/wndp/2006/04/12/tls-enabled-by-default-in-ie-7-0-and-wininet/"),
    ("[W7]", "\"TLS Cipher Suites in Windows 7\" (the list after update 3042058)",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-7"),
    ("[W81]", "\"TLS Cipher Suites in Windows 8.1\" (the list after update 2919355)",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-8-1"),
    ("[ADV3042058]", "Microsoft security advisory 3042058, \"Update to default cipher suite "
     "priority order\" (May 2015; on Windows Update since October 2015): adds "
     "TLS_DHE_RSA_WITH_AES_256_GCM_SHA384, TLS_DHE_RSA_WITH_AES_128_GCM_SHA256, "
     "TLS_RSA_WITH_AES_256_GCM_SHA384 and TLS_RSA_WITH_AES_128_GCM_SHA256 to Windows 7, 8 and 8.1",
     "https://learn.microsoft.com/security-updates/SecurityAdvisories/2015/3042058"),
    ("[MS15-121]", "Microsoft security bulletin MS15-121 (update 3081320, November 2015): adds "
     "extended master secret to every TLS version of Windows Vista, 7, 8 and 8.1; Windows 10 is "
     "not among the systems it rates",
     "https://learn.microsoft.com/security-updates/SecurityBulletins/2015/ms15-121"),
    ("[MS15-055]", "Microsoft security bulletin MS15-055 (update 3061518, May 2015): raises "
     "SChannel's smallest DHE key to 1024 bits on Windows Vista, 7, 8 and 8.1",
     "https://learn.microsoft.com/security-updates/SecurityBulletins/2015/ms15-055"),
    ("[TLSREG]", "\"Transport Layer Security (TLS) registry settings\" (Windows 10 and Server "
     "2016 on): a TLS client's DH floor is 1024 bits unless set; no ceiling is set by default",
     "https://learn.microsoft.com/windows-server/security/tls/tls-registry-settings"),
    ("[CNG]", "\"BCryptGenerateKeyPair function\": BCRYPT_DH_ALGORITHM keys of 512 to 4096 bits, "
     "a multiple of 64",
     "https://learn.microsoft.com/windows/win32/api/bcrypt/nf-bcrypt-bcryptgeneratekeypair"),
    ("[W10-1607]", "\"TLS Cipher Suites in Windows 10 v1607\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-10-v1607"),
    ("[W10LTSC]", "\"TLS Cipher Suites in Windows 10 v1809\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-10-v1809"),
    ("[W10-1903]", "\"TLS Cipher Suites in Windows 10 v1903, v1909, and v2004\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-10-v1903"),
    ("[W10-20H2]", "\"TLS Cipher Suites in Windows 10 v20H2 and v21H1\" (so titled in both "
     "versions read; 21H2 is named on none of the pages read)",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-10-v20H2"),
    ("[W10]", "\"TLS Cipher Suites in Windows 10 v22H2\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-10-v22H2"),
    ("[W11]", "\"TLS Cipher Suites in Windows 11 v22H2 and later\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-cipher-suites-in-windows-11-v22H2"),
    ("[PROT]", "\"Protocols in TLS/SSL (Schannel SSP)\"",
     "https://learn.microsoft.com/windows/win32/secauthn/protocols-in-tls-ssl--schannel-ssp-"),
    ("[EC10]", "\"TLS Elliptic Curves in Windows 10 version 1607 and later\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-elliptic-curves-in-windows-10-1607-and-later"),
    ("[KB5017811]", "KB5017811, \"Manage Transport Layer Security (TLS) 1.0 and 1.1 after default "
     "behavior change on September 20, 2022\": the updates from 20 September 2022 on turn TLS 1.0 "
     "and 1.1 off for WinInet and WinHTTP; it applies to Windows 10 LTSC 2019, 20H2, 21H1 and 21H2 "
     "(its list as read names neither 1607 nor 22H2) and tells how to turn them back on",
     "https://support.microsoft.com/topic/kb5017811-manage-transport-layer-security-tls-1-0-and-1-1-"
     "after-default-behavior-change-on-september-20-2022-e95b1b47-9c7c-4d64-9baf-610604a64c3e"),
    ("[TLS1011]", "\"TLS 1.0 and TLS 1.1 deprecation in Windows\": \"TLS 1.0 and TLS 1.1 have "
     "already been disabled by ... WinHTTP and WinINet API surfaces\"",
     "https://learn.microsoft.com/windows/win32/secauthn/tls-10-11-deprecation-in-windows"),
]


class Profile:
    def __init__(self, name, versions, suite_list, groups=(), sigalgs=(), sni=True,
                 stapling=True, ems=False, dh=DH_RULE, pairs=None, sources="", notes="",
                 unconfirmed=False, extensions=True, fixes=(), ems_update=None):
        self.name = name
        self.versions = list(versions)  # offered protocol versions, lowest first
        self.suites = list(suite_list)
        self.groups = list(groups)
        self.sigalgs = list(sigalgs)
        self.sni = sni
        self.stapling = stapling  # asks for an OCSP answer in the handshake
        self.ems = ems  # extended master secret
        self.dh = dh  # (fewest, most, step) bits of a DH group this Windows takes
        self.pairs = pairs or {}  # suite: the only curves taken with it
        self.extensions = extensions  # False: the hello has no extension block at all
        self.fixes = list(fixes)  # (row, what): that row is this till with an update or setting
        self.ems_update = ems_update  # the update that brings extended master secret
        self.sources = sources
        self.notes = notes
        self.unconfirmed = unconfirmed


XP6, XP7 = "Windows XP SP3 (IE 6)", "Windows XP SP3 (IE 7 or 8)"
W7_OFF, W7_ON = "Windows 7, TLS 1.2 off", "Windows 7, TLS 1.2 on"
W7_UPDATED, W81, W81_UPDATED = ("Windows 7, TLS 1.2 on, update 3042058", "Windows 8.1",
                                "Windows 8.1, update 3042058")
TICK_TLS12 = "\"Use TLS 1.2\" ticked in Internet Options, Advanced (or Internet Explorer 11)"
MS15_121 = "update 3081320 (MS15-121), which adds extended master secret"
W7_NOTES = ("Signature algorithms on no page and from no capture read here: not confirmed. "
            "Extended master secret not sent: update 3081320 adds it [MS15-121]; a service "
            "that demands it is named as the cause, with that update as the fix.")

# Oldest and least able first: the rows without update 3042058 come before
# those with it, so that --oldest naming an updated row counts only updated tills.
PROFILES = [
    Profile(XP6, [0x0300], XP_SUITES, sni=False, stapling=False, dh=None, extensions=False,
            sources="[XP] [IE7TLS]", fixes=[(XP7, "Internet Explorer 7 or 8, or \"Use TLS 1.0\" "
                                            "ticked in Internet Options, Advanced")],
            notes="Windows XP SP3 as shipped, with Internet Explorer 6: its WinInet has TLS 1.0 "
                  "off (TLS came on by default with Internet Explorer 7 [IE7TLS]), so it offers "
                  "SSL 3.0 only, with XP's suites [XP], and no extensions (SChannel sends them "
                  "from Vista on [IE7TLS]). Not confirmed: that SSL 3.0 is the highest version "
                  "it offers (SSL 2.0 is not offered here; no current service takes either)."),
    Profile(XP7, [0x0301], XP_SUITES, sni=False, stapling=False, dh=None, extensions=False,
            sources="[XP] [IE7TLS]",
            notes="Internet Explorer 7 or 8 on XP SP3: TLS 1.0 on by default in WinInet "
                  "[IE7TLS]; suites and order from [XP]; no extensions, so no server name, as "
                  "XP's SChannel sends none [IE7TLS]. SSL 3.0 below TLS 1.0 is not offered "
                  "separately. No capture of such a hello was read."),
    Profile("Windows Embedded POSReady 2009 with the TLS 1.2 update", [0x0301, 0x0302, 0x0303],
            suites("TLS_RSA_WITH_AES_128_CBC_SHA", "TLS_RSA_WITH_AES_256_CBC_SHA") + XP_SUITES,
            sigalgs=[0x0401, 0x0201, 0x0202], sni=False, stapling=False, dh=None,
            sources="[XP]", unconfirmed=True,
            notes="UNCONFIRMED. Sourced: XP's suites [XP]. Not sourced: everything the update "
                  "adds. No Microsoft page lists the suites of the update that brings TLS 1.1 "
                  "and 1.2 to POSReady 2009, and no capture of its hello was found: assumed "
                  "are TLS 1.0 to 1.2, XP's suites with RSA AES-CBC in front, no elliptic "
                  "curves, no server name, the signature algorithms listed."),
    Profile(W7_OFF, [0x0301], tls10(W7_SUITES), [0x0017, 0x0018], pairs=W7_PAIRS,
            sources="[W7] [PROT] [ADV3042058] [MS15-121] [CNG] [MS15-055]",
            ems_update=MS15_121,
            fixes=[(W7_ON, TICK_TLS12), (W7_UPDATED, TICK_TLS12 + " and update 3042058")],
            notes="What a till with Internet Explorer 8 to 10 and its defaults sends: SChannel "
                  "has TLS 1.1 and 1.2 off for clients [PROT], so only TLS 1.0 and the 14 "
                  "suites [W7] marks for it. Update 3042058 adds only TLS 1.2 suites "
                  "[ADV3042058], so this row stands for tills with and without it. SSL 3.0, "
                  "also on with those defaults, is not offered separately."),
    Profile(W7_ON, [0x0301, 0x0302, 0x0303], W7_SHIPPED, [0x0017, 0x0018], SIGALGS_W7,
            pairs=W7_PAIRS, sources="[W7] [PROT] [ADV3042058] [MS15-121] [CNG] [MS15-055]",
            ems_update=MS15_121,
            fixes=[(W7_UPDATED, "update 3042058")],
            notes="Windows 7 as shipped with the TLS 1.2 switch (Internet Explorer 11, or "
                  "\"Use TLS 1.2\" ticked): TLS 1.0 to 1.2 and the suites of [W7] without the "
                  "four that update 3042058 adds [ADV3042058]. " + W7_NOTES),
    Profile(W81, [0x0301, 0x0302, 0x0303], W7_SHIPPED, [0x0017, 0x0018], SIGALGS_W7,
            pairs=W7_PAIRS, sources="[W81] [PROT] [ADV3042058] [MS15-121] [CNG] [MS15-055]",
            ems_update=MS15_121,
            fixes=[(W81_UPDATED, "update 3042058")],
            notes="TLS 1.0 to 1.2 on by default [PROT]. The suites of [W81] without the four "
                  "that update 3042058 adds to Windows 8.1 too [ADV3042058] ([W81] names "
                  "update 2919355 for its list, not 3042058). Signature algorithms as Windows "
                  "7, not confirmed. Extended master secret as Windows 7 [MS15-121]."),
    Profile(W7_UPDATED, [0x0301, 0x0302, 0x0303], W7_SUITES, [0x0017, 0x0018], SIGALGS_W7,
            pairs=W7_PAIRS, sources="[W7] [PROT] [ADV3042058] [MS15-121] [CNG] [MS15-055]",
            ems_update=MS15_121,
            notes="Windows 7 with the TLS 1.2 switch and update 3042058: the suites of [W7], in "
                  "its order. " +
                  W7_NOTES),
    Profile(W81_UPDATED, [0x0301, 0x0302, 0x0303], W7_SUITES, [0x0017, 0x0018], SIGALGS_W7,
            pairs=W7_PAIRS, sources="[W81] [PROT] [ADV3042058] [MS15-121] [CNG] [MS15-055]",
            ems_update=MS15_121,
            notes="Windows 8.1 with update 3042058: the suites of [W81], in its order. "
                  "Signature algorithms as Windows 7, not confirmed. Extended master secret as "
                  "Windows 7 [MS15-121]."),
    Profile("Windows 10 LTSB/LTSC", [0x0303], W10_LTSC_SUITES, [0x001D, 0x0017, 0x0018],
            SIGALGS_W7, ems=True,
            sources="[W10-1607] [W10LTSC] [W10-1903] [W10-20H2] [EC10] [KB5017811] [TLS1011] "
                    "[TLSREG] [CNG] [MS15-121]",
            notes="Stands for the 2016 (1607), 2019 (1809) and 2021 (21H2) images, so it offers "
                  "what all three have: 1809's suites (1607 has more; 1903 to 21H1 the same; "
                  "21H2 on no page read), the curves of [EC10], and TLS 1.2 only: WinInet has "
                  "TLS 1.0 and 1.1 off after the updates of September 2022 on 2019 and 21H2 "
                  "[KB5017811] [TLS1011]; [KB5017811] does not name 1607, whose tills may still "
                  "offer them (not confirmed; it changes nothing for a TLS 1.2 service). "
                  "Signature algorithms without RSA-PSS, which 1607 is not confirmed to offer: "
                  "from no page or capture read here, not confirmed. Extended master secret: "
                  "[MS15-121] leaves Windows 10 out, which suggests it had it already; not "
                  "confirmed."),
    Profile("Windows 10 22H2", [0x0303], W10_SUITES, [0x001D, 0x0017, 0x0018], SIGALGS_W10,
            ems=True, sources="[W10] [EC10] [TLS1011] [KB5017811] [TLSREG]",
            notes="Updated: WinInet offers TLS 1.2 only ([TLS1011]; [KB5017811] names 20H2 to "
                  "21H2 as read, not 22H2) and no TLS 1.3. Signature "
                  "algorithms (with RSA-PSS) and extended master secret: from no page or "
                  "capture read here, not confirmed."),
    Profile("Windows 11", [0x0303, 0x0304], W11_SUITES, [0x001D, 0x0017, 0x0018], SIGALGS_W10,
            ems=True, sources="[W11] [EC10] [TLS1011] [TLSREG]",
            notes="22H2 and later. TLS 1.0 and 1.1 off in WinInet [TLS1011] (not offered here). "
                  "Signature algorithms, extended master secret and the single X25519 key share "
                  "not confirmed."),
]
NAMES = [p.name for p in PROFILES]
DEFAULT_OLDEST = W7_ON

# What one widened dimension adds when a handshake fails: all suites and
# curves this check knows, every signature algorithm, TLS 1.0 to 1.2.
WIDE = {"suites": [s for s in SUITES if not 0x1300 <= s < 0x1400], "groups": [0x001D, 0x0017, 0x0018, 0x0019],
        "sigalgs": list(SIGALGS), "versions": [0x0301, 0x0302, 0x0303]}


# --- the ClientHello and what the service answers -------------------------------------------

def u8(n):
    return bytes([n])


def u16(n):
    return n.to_bytes(2, "big")


def u24(n):
    return n.to_bytes(3, "big")


def vec8(b):
    return u8(len(b)) + b


def vec16(b):
    return u16(len(b)) + b


def extension(kind, data):
    return u16(kind) + vec16(data)


def is_ip(host):
    try:
        ipaddress.ip_address(host)
        return True
    except ValueError:
        return False


def client_hello(profile, host):
    legacy = max(v for v in profile.versions if v <= 0x0303)
    tls13 = 0x0304 in profile.versions
    ext = b""
    if profile.sni and not is_ip(host):  # Windows names no IP address
        name = host.encode("idna")
        ext += extension(0, vec16(u8(0) + vec16(name)))
    if profile.stapling:
        ext += extension(5, b"\x01\x00\x00\x00\x00")  # OCSP stapling
    if profile.groups:
        ext += extension(10, vec16(b"".join(u16(g) for g in profile.groups)))
        ext += extension(11, vec8(b"\x00"))
    if legacy >= 0x0303 and profile.sigalgs:
        ext += extension(13, vec16(b"".join(u16(s) for s in profile.sigalgs)))
    if profile.ems:
        ext += extension(23, b"")
    if tls13:
        ext += extension(43, vec8(b"".join(u16(v) for v in sorted(profile.versions, reverse=True))))
        ext += extension(45, vec8(b"\x01"))
        # One X25519 share (any 32 bytes are a key); without X25519, none,
        # and the service asks again for the curve it wants.
        share = u16(0x001D) + vec16(os.urandom(32)) if 0x001D in profile.groups else b""
        ext += extension(51, vec16(share))
    ext += extension(0xFF01, vec8(b""))  # secure renegotiation
    if not profile.extensions:
        # XP's SChannel sends no extension block at all; only a widened probe
        # adds the one it widens.
        ext = extension(23, b"") if profile.ems else b""
    body = (u16(legacy) + os.urandom(32) + vec8(os.urandom(32) if tls13 else b"")
            + vec16(b"".join(u16(s) for s in profile.suites)) + vec8(b"\x00") + (vec16(ext) if ext else b""))
    handshake = u8(1) + u24(len(body)) + body
    return u8(22) + u16(0x0300 if legacy == 0x0300 else 0x0301) + vec16(handshake)


class Answer:
    """What one handshake attempt brought back."""

    def __init__(self, kind, detail=""):
        self.kind = kind  # noconnect, timeout, closed, alert, notls, hello
        self.detail = detail
        self.alert = None
        self.version = None
        self.suite = None
        self.certs = []  # DER, as served (TLS 1.2 and older)
        self.group = None  # curve of the key exchange
        self.dh_bits = None  # size of the DH group
        self.sigalg = None  # signature algorithm of the key exchange (TLS 1.2)
        self.stapled = None  # bytes of a stapled OCSP answer, None when none came
        self.warnings = []  # warning alerts, which do not end a handshake


def read_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise EOFError
        data += chunk
    return data


def parse_server_hello(body, answer):
    version = int.from_bytes(body[0:2], "big")
    random = body[2:34]
    pos = 35 + body[34]
    answer.suite = int.from_bytes(body[pos:pos + 2], "big")
    pos += 3
    if pos + 2 <= len(body):
        end = pos + 2 + int.from_bytes(body[pos:pos + 2], "big")
        pos += 2
        while pos + 4 <= end:
            kind = int.from_bytes(body[pos:pos + 2], "big")
            size = int.from_bytes(body[pos + 2:pos + 4], "big")
            if kind == 43 and size == 2:
                version = int.from_bytes(body[pos + 4:pos + 6], "big")
            elif kind == 51 and size >= 2:  # TLS 1.3 key share: the group comes first
                answer.group = int.from_bytes(body[pos + 4:pos + 6], "big")
            pos += 4 + size
    answer.version = version
    answer.detail = "HelloRetryRequest" if random == HELLO_RETRY_RANDOM else ""


def parse_certificates(body):
    certs = []
    pos, end = 3, 3 + int.from_bytes(body[0:3], "big")
    while pos + 3 <= end:
        size = int.from_bytes(body[pos:pos + 3], "big")
        certs.append(body[pos + 3:pos + 3 + size])
        pos += 3 + size
    return certs


def parse_key_exchange(body, answer):
    """Curve or DH group size, and the signature algorithm, of a ServerKeyExchange."""
    name = SUITES.get(answer.suite, "")
    if "_ECDHE_" in name:
        if body[0] != 3:  # not a named curve: no Windows takes those
            answer.group = -1
            return
        answer.group = int.from_bytes(body[1:3], "big")
        pos = 4 + body[3]
    elif "_DHE_" in name:
        size = int.from_bytes(body[0:2], "big")
        answer.dh_bits = int.from_bytes(body[2:2 + size], "big").bit_length()
        pos = 2 + size
        for _ in range(2):  # g, then the server's public value
            pos += 2 + int.from_bytes(body[pos:pos + 2], "big")
    else:
        return
    if answer.version == 0x0303 and pos + 2 <= len(body):
        answer.sigalg = int.from_bytes(body[pos:pos + 2], "big")


def probe(profile, host, address, port):
    try:
        sock = socket.create_connection((address, port), timeout=HANDSHAKE_SECONDS)
    except socket.timeout:
        return Answer("noconnect", "no connection within %d s" % HANDSHAKE_SECONDS)
    except OSError as e:
        return Answer("noconnect", e.strerror or str(e))
    answer = Answer("closed")
    warnings = []
    try:
        sock.settimeout(HANDSHAKE_SECONDS)
        sock.sendall(client_hello(profile, host))
        pending = b""
        while True:
            header = read_exact(sock, 5)
            kind, size = header[0], int.from_bytes(header[3:5], "big")
            if kind not in (20, 21, 22, 23) or header[1] != 3:
                return Answer("notls", header)
            payload = read_exact(sock, size)
            if kind == 21:
                level = payload[0] if payload else 2
                description = payload[1] if len(payload) > 1 else None
                if level == 1 and description != 0:
                    # A warning (unrecognized_name, say) leaves the handshake going.
                    warnings.append(description)
                    answer.warnings = warnings
                    continue
                if answer.kind == "hello" and description == 0:
                    return answer
                answer = Answer("alert")
                answer.alert = description
                answer.warnings = warnings
                return answer
            if kind != 22:
                return answer  # encrypted from here on (TLS 1.3)
            pending += payload
            while len(pending) >= 4 and len(pending) >= 4 + int.from_bytes(pending[1:4], "big"):
                msg, size = pending[0], int.from_bytes(pending[1:4], "big")
                body, pending = pending[4:4 + size], pending[4 + size:]
                if msg == 2:
                    answer = Answer("hello")
                    answer.warnings = warnings
                    parse_server_hello(body, answer)
                    if answer.version == 0x0304:
                        return answer
                elif msg == 11:
                    answer.certs = parse_certificates(body)
                elif msg == 22:
                    answer.stapled = len(body)
                elif msg == 12:
                    parse_key_exchange(body, answer)
                elif msg == 14:
                    return answer
    except socket.timeout:
        if answer.kind == "hello":
            return answer
        return Answer("timeout", "no answer to the ClientHello within %d s" % HANDSHAKE_SECONDS)
    except (EOFError, ConnectionResetError):
        return answer
    except (IndexError, ValueError):
        return Answer("notls", "garbled")
    except OSError as e:
        return Answer("closed", e.strerror or str(e))
    finally:
        sock.close()


# --- openssl ----------------------------------------------------------------------------------

def run(args, stdin=None, timeout=30):
    # Its text is read: in the C locale, whatever language the machine speaks.
    env = dict(os.environ, LC_ALL="C")
    try:
        p = subprocess.run(args, input=stdin, capture_output=True, timeout=timeout, env=env)
        return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return 124, "", "timed out"


def pem(der):
    text = base64.encodebytes(der).decode().replace("\n", "")
    lines = [text[i:i + 64] for i in range(0, len(text), 64)]
    return "-----BEGIN CERTIFICATE-----\n" + "\n".join(lines) + "\n-----END CERTIFICATE-----\n"


def pems_in(text):
    return re.findall(r"-----BEGIN CERTIFICATE-----.*?-----END CERTIFICATE-----\n?", text, re.S)


_stdnames = None


def openssl_name(suite):
    """The OpenSSL name of a suite, or None where this OpenSSL lacks it."""
    global _stdnames
    if _stdnames is None:
        _stdnames = {}
        _, out, _ = run(["openssl", "ciphers", "-stdname", "ALL:COMPLEMENTOFALL:@SECLEVEL=0"])
        for line in out.splitlines():
            parts = line.split()
            if len(parts) >= 3 and parts[1] == "-":
                _stdnames[parts[0]] = parts[2]
    return _stdnames.get(SUITES[suite])


def s_client_args(profile, host, address, port):
    tls12 = ":".join(n for n in (openssl_name(s) for s in profile.suites if s < 0x1300) if n)
    tls13 = ":".join(SUITES[s] for s in profile.suites if 0x1300 <= s < 0x1400)
    args = ["openssl", "s_client", "-connect", join_host_port(address, port),
            "-min_protocol", protocol_option(min(profile.versions)),
            "-max_protocol", protocol_option(max(profile.versions)),
            "-cipher", (tls12 or "NULL") + ":@SECLEVEL=0",
            "-sigalgs", ":".join(SIGALGS[s] for s in profile.sigalgs)]
    if tls13:
        args += ["-ciphersuites", tls13]
    if profile.groups:
        args += ["-groups", ":".join(GROUPS[g] for g in profile.groups)]
    args += ["-servername", host] if profile.sni and not is_ip(host) else ["-noservername"]
    if profile.stapling:
        args += ["-status"]
    return args


def protocol_option(version):
    return {0x0301: "TLSv1", 0x0302: "TLSv1.1", 0x0303: "TLSv1.2", 0x0304: "TLSv1.3"}[version]


def cert_info(pem_text):
    _, out, _ = run(["openssl", "x509", "-noout", "-subject", "-issuer", "-enddate",
                     "-ext", "subjectAltName,authorityInfoAccess,crlDistributionPoints",
                     "-nameopt", "oneline"], stdin=pem_text.encode())
    info = {"subject": "", "issuer": "", "end": None, "names": [], "ocsp": [], "crl": [],
            "ca_issuers": []}
    for line in out.splitlines():
        if line.startswith("subject="):
            info["subject"] = line[8:].strip()
        elif line.startswith("issuer="):
            info["issuer"] = line[7:].strip()
        elif line.startswith("notAfter="):
            try:
                info["end"] = datetime.datetime.strptime(line[9:].strip(), "%b %d %H:%M:%S %Y %Z")
            except ValueError:
                pass
        info["names"] += re.findall(r"(?:DNS|IP Address):([^,\s]+)", line)
        if "OCSP - URI:" in line:
            info["ocsp"].append(line.split("URI:", 1)[1].strip())
        elif "CA Issuers - URI:" in line:
            info["ca_issuers"].append(line.split("URI:", 1)[1].strip())
        elif line.strip().startswith("URI:"):
            info["crl"].append(line.split("URI:", 1)[1].strip())
    return info


class Verifier:
    """`openssl verify` against this machine's roots plus --ca."""

    def __init__(self, ca_file, workdir):
        self.workdir = workdir
        self.fetched = {}
        self.bundle = os.path.join(workdir, "roots.pem")
        with open(self.bundle, "w") as out:
            for system in ("/etc/ssl/certs/ca-certificates.crt",):
                if os.path.exists(system):
                    with open(system) as f:
                        out.write(f.read() + "\n")
            if ca_file:
                with open(ca_file) as f:
                    out.write(f.read() + "\n")

    def fetch(self, url):
        """The certificate at a CA Issuers address, as PEM, and why not when None."""
        if url not in self.fetched:
            try:
                if not url.lower().startswith(("http://", "https://")):
                    raise ValueError("not an HTTP address")
                with urllib.request.urlopen(url, timeout=10) as r:
                    data = r.read(1 << 20)
                text = pems_in(data.decode("latin-1"))
                self.fetched[url] = (text[0] if text else pem(data), "")
                if not text:
                    code, _, _ = run(["openssl", "x509", "-noout"], stdin=self.fetched[url][0].encode())
                    if code != 0:
                        self.fetched[url] = (None, "what it gives is no certificate")
            except urllib.error.HTTPError as e:
                self.fetched[url] = (None, "HTTP %d" % e.code)
            except Exception as e:  # any network failure is the finding itself
                self.fetched[url] = (None, str(getattr(e, "reason", e)))
        return self.fetched[url]

    def root(self, chain_pems):
        """The subject of the trusted root the chain ends in, or None."""
        leaf = os.path.join(self.workdir, "leaf.pem")
        with open(leaf, "w") as f:
            f.write(chain_pems[0])
        args = ["openssl", "verify", "-show_chain", "-no-CApath", "-no-CAstore", "-CAfile", self.bundle]
        if len(chain_pems) > 1:
            rest = os.path.join(self.workdir, "served.pem")
            with open(rest, "w") as f:
                f.write("".join(chain_pems[1:]))
            args += ["-untrusted", rest]
        code, out, _ = run(args + ["-nameopt", "oneline", leaf])
        depths = re.findall(r"^depth=\d+: (.*?)(?: \(untrusted\))?$", out, re.M)
        return depths[-1] if code == 0 and depths else None

    def verify(self, chain_pems, host=None):
        """None when the chain verifies (for host, when given), else (code, text)."""
        leaf = os.path.join(self.workdir, "leaf.pem")
        rest = os.path.join(self.workdir, "served.pem")
        with open(leaf, "w") as f:
            f.write(chain_pems[0])
        args = ["openssl", "verify", "-no-CApath", "-no-CAstore", "-CAfile", self.bundle,
                "-purpose", "sslserver"]
        if len(chain_pems) > 1:
            with open(rest, "w") as f:
                f.write("".join(chain_pems[1:]))
            args += ["-untrusted", rest]
        if host:
            args += ["-verify_ip" if is_ip(host) else "-verify_hostname", host]
        code, out, err = run(args + [leaf])
        if code == 0:
            return None
        m = re.search(r"error (\d+) at \d+ depth lookup: (.*)", out + err)
        if m:
            return int(m.group(1)), m.group(2).strip()
        return 0, (err or out).strip().splitlines()[-1] if (err or out).strip() else "openssl verify failed"


def missing_issuer(verifier, chain_pems):
    """When the chain stops short of a root because an issuer is not served:
    (issuer's name, CA Issuers address or None, what fetching it from here
    gave). None when that is not why the chain fails."""
    failure = verifier.verify(chain_pems)
    if failure is None or failure[0] not in (2, 20):
        return None
    last = cert_info(chain_pems[-1])
    if last["subject"] == last["issuer"]:
        return None  # a root is served: it is untrusted, not missing
    # Past the leaf, the issuer not found is as likely a root this machine
    # lacks: only a fetched certificate that completes the chain tells.
    guess = len(chain_pems) == 1
    if not last["ca_issuers"]:
        return (last["issuer"], None, None) if guess else None
    url = last["ca_issuers"][0]
    fetched, note = verifier.fetch(url)
    if fetched and verifier.verify(chain_pems + [fetched]) is None:
        return last["issuer"], url, "answers from here and completes the chain"
    if not guess:
        return None
    if fetched:
        return last["issuer"], url, "answers from here, but what it gives does not complete the chain"
    return last["issuer"], url, "does NOT answer from here (%s)" % note


def chain_verdict(verifier, chain_pems, host, profile):
    """None when Windows would take the chain, else (verdict word, why)."""
    failure = verifier.verify(chain_pems, host)
    if failure is None:
        return None
    code, text = failure
    if code in (62, 64):  # hostname / IP mismatch
        names = ", ".join(cert_info(chain_pems[0])["names"]) or cert_info(chain_pems[0])["subject"]
        if profile.sni and not is_ip(host):
            return "FAILED", "the certificate is for another name (%s), not %s" % (names, host)
        return "FAILED", "the certificate served without a server name is for another name (%s), not %s" % (
            names, host)
    missing = missing_issuer(verifier, chain_pems)
    if missing:
        issuer, url, fetched = missing
        if not url:
            return "FAILED", ("the intermediate certificate (%s) is not served and the certificate "
                              "names no CA Issuers address to fetch it from" % issuer)
        if fetched.startswith("answers from here and completes"):
            # Windows fetches a missing issuer from that address when it can
            # reach it: a till behind a firewall that lets it reach only the
            # service cannot.
            return "FAILED unless the till can fetch it from %s" % url, (
                "the intermediate certificate (%s) is not served; its CA Issuers address %s" % (
                    issuer, fetched))
        return "FAILED", ("the intermediate certificate (%s) is not served; its CA Issuers address "
                          "%s %s" % (issuer, url, fetched))
    if code in (2, 20):
        return "FAILED", ("the chain does not verify: %s (a root this machine does not trust: "
                          "--ca FILE)" % text)
    if code in (18, 19):
        return "FAILED", "the chain does not verify: %s (--ca FILE trusts its root)" % text
    return "FAILED", "the chain does not verify: %s" % text


def join_host_port(host, port):
    return "[%s]:%d" % (host, port) if ":" in host else "%s:%d" % (host, port)


def split_host_port(text, default_port):
    m = re.fullmatch(r"\[([^\]]+)\](?::(\d+))?", text)
    if m:
        return m.group(1), int(m.group(2) or default_port)
    if text.count(":") == 1:
        host, port = text.split(":")
        if not port.isdigit():
            raise ValueError("bad port %r" % port)
        return host, int(port)
    return text, default_port


# --- one row per generation -------------------------------------------------------------------

class Row:
    def __init__(self, profile):
        self.profile = profile
        self.ok = False
        self.answered = False
        self.text = ""
        self.chain = []  # PEM, as served
        self.answer = None


def describe(answer):
    """What was agreed: protocol, suite, curve or DH size, signature algorithm."""
    parts = [VERSIONS.get(answer.version, "version 0x%04X" % (answer.version or 0)),
             SUITES.get(answer.suite, "suite 0x%04X" % (answer.suite or 0))]
    if answer.group == -1:
        parts.append("an unnamed curve")
    elif answer.group is not None:
        parts.append(GROUPS.get(answer.group, "curve 0x%04X" % answer.group))
    if answer.dh_bits:
        parts.append("DH %d bits" % answer.dh_bits)
    if answer.sigalg is not None:
        parts.append("signed %s" % SIGALGS.get(answer.sigalg, "0x%04X" % answer.sigalg))
    return ", ".join(parts)


def key_exchange_fault(profile, answer):
    """Why this Windows would refuse the key exchange the service chose, or None."""
    if answer.group == -1:
        return "the service's curve is not a named one, which no Windows takes"
    if answer.group is not None:
        name = GROUPS.get(answer.group, "0x%04X" % answer.group)
        if answer.group not in profile.groups:
            return "the curve %s is not one this Windows offers (%s)" % (
                name, ", ".join(GROUPS[g] for g in profile.groups) or "none")
        only = profile.pairs.get(answer.suite)
        if only and answer.group not in only:
            return "this Windows takes %s only with %s, not with %s" % (
                SUITES[answer.suite], ", ".join(GROUPS[g] for g in only), name)
    if answer.dh_bits and profile.dh:
        fewest, most, step = profile.dh
        if not (fewest <= answer.dh_bits <= most and answer.dh_bits % step == 0):
            return "a DH group of %d bits, where this Windows takes %d to %d bits in steps of %d" % (
                (answer.dh_bits,) + profile.dh)
    if answer.sigalg is not None and answer.sigalg not in profile.sigalgs:
        return "the key exchange is signed with %s, which this Windows does not offer" % (
            SIGALGS.get(answer.sigalg, "0x%04X" % answer.sigalg))
    return None


def widened(profile, dimension):
    """The profile with one dimension widened, or None when that adds nothing."""
    wide = copy.copy(profile)
    if dimension in ("groups", "sigalgs", "ems"):
        wide.extensions = True  # these travel in extensions
    if dimension == "ems":
        wide.ems = True
        return None if profile.ems else wide
    extra = [x for x in WIDE[dimension] if x not in getattr(profile, dimension)]
    if not extra or (dimension == "sigalgs" and max(profile.versions) < 0x0303):
        return None
    setattr(wide, dimension, sorted(set(profile.versions + extra)) if dimension == "versions"
            else getattr(profile, dimension) + extra)
    return wide


def diagnose(profile, host, address, port):
    """Which one dimension, widened, gets the service to agree: (dimension,
    its answer), or None. One probe per dimension, each on its own."""
    for dimension in ("suites", "groups", "sigalgs", "versions", "ems"):
        wide = widened(profile, dimension)
        if wide is None:
            continue
        answer = probe(wide, host, address, port)
        if answer.kind == "hello":
            return dimension, answer
    return None


def refused_text(profile, answer, host, address, port):
    offered = ", ".join(VERSIONS[v] for v in profile.versions)
    if answer.kind == "closed":
        why = "the service closed the connection without an answer"
    else:
        why = "alert %s" % ALERTS.get(answer.alert, str(answer.alert))
        if answer.alert == 70:
            return "FAILED: no common protocol (this Windows offers %s; %s)" % (offered, why)
        if answer.alert == 112:
            return "FAILED: the service does not know the name %s (%s)" % (host, why)
    found = diagnose(profile, host, address, port)
    if found is None and max(profile.versions) == 0x0300:
        # Every suite was offered with SSL 3.0 above and refused too.
        return ("FAILED: no common protocol (this Windows offers SSL 3.0; %s, also when offered every "
                "suite: the service takes no SSL 3.0)" % why)
    if found is None:
        if answer.kind == "alert" and answer.alert not in (40, 71, 47):
            return "FAILED: the service refused the handshake (%s)" % why
        return ("FAILED: no common suite (the service accepts none of this Windows' %d suites "
                "with %s; %s)" % (len(profile.suites), offered, why))
    dimension, wide = found
    chose = describe(wide)
    if dimension == "suites":
        return ("FAILED: no common suite (the service accepts none of this Windows' %d suites with "
                "%s; %s; offered more suites, it chose %s)" % (len(profile.suites), offered, why, chose))
    if dimension == "groups":
        return ("FAILED: no common curve: the service takes none of this Windows' curves (%s; %s; "
                "offered more curves, it chose %s)" % (
                    ", ".join(GROUPS[g] for g in profile.groups) or "none", why, chose))
    if dimension == "sigalgs":
        return ("FAILED: no common signature algorithm: the service signs with none that this "
                "Windows offers (%s; offered more, it chose %s)" % (why, chose))
    if dimension == "ems":
        return ("FAILED: the service demands extended master secret, which this Windows does not "
                "send (%s; offered it, the service chose %s)" % (why, chose))
    return ("FAILED: no common protocol (this Windows offers %s; %s; offered TLS 1.0 to 1.2, the "
            "service chose %s)" % (offered, why, chose))


def check_row(profile, host, address, port, verifier):
    row = Row(profile)
    answer = probe(profile, host, address, port)
    row.answer = answer
    if answer.kind in ("noconnect", "timeout"):
        row.text = "FAILED: %s (%s)" % (
            "no connection to %s" % join_host_port(address, port) if answer.kind == "noconnect"
            else "no answer", answer.detail)
        return row
    row.answered = True
    if answer.kind == "notls":
        row.text = ("FAILED: the service's answer to the handshake cannot be read" if
                    answer.detail == "garbled" else
                    "FAILED: the service does not speak TLS on port %d" % port)
        return row
    if answer.kind in ("closed", "alert") and not profile.sni and not is_ip(host):
        # Told apart from a refusal of the offer itself: the same offer with a name.
        named = copy.copy(profile)
        named.sni = True
        retry = probe(named, host, address, port)
        if retry.kind == "hello":
            row.text = ("FAILED: the service refuses a handshake without a server name (with "
                        "one it would agree on %s, %s)" % (
                            VERSIONS.get(retry.version, "?"), SUITES.get(retry.suite, "?")))
            return row
    if answer.kind in ("closed", "alert"):
        row.text = refused_text(profile, answer, host, address, port)
        return row
    if answer.version not in profile.versions:
        # A service that has only older protocols answers with one of them.
        row.text = "FAILED: no common protocol (this Windows offers %s; the service chose %s)" % (
            ", ".join(VERSIONS[v] for v in profile.versions),
            VERSIONS.get(answer.version, "0x%04X" % (answer.version or 0)))
        return row
    if answer.suite not in profile.suites:
        row.text = "FAILED: the service chose %s, which this Windows does not offer" % describe(answer)
        return row
    if answer.version == 0x0304:
        code, out, err = run(s_client_args(profile, host, address, port) + ["-showcerts"],
                             stdin=b"", timeout=HANDSHAKE_SECONDS + 5)
        row.chain = pems_in(out)
        if not row.chain:
            lines = [l for l in err.splitlines() if "error" in l.lower()] or err.splitlines()
            row.text = "FAILED: the %s handshake did not complete (%s)" % (
                VERSIONS[answer.version], lines[-1].strip() if lines else "openssl s_client: exit %d" % code)
            return row
        if answer.group is None:
            m = re.search(r"Server Temp Key: (X25519|ECDH, (?:prime256v1|secp384r1|secp521r1))", out)
            names = {"X25519": 0x001D, "ECDH, prime256v1": 0x0017, "ECDH, secp384r1": 0x0018,
                     "ECDH, secp521r1": 0x0019}
            answer.group = names.get(m.group(1)) if m else None
        if profile.stapling:
            answer.stapled = 1 if "OCSP Response Data" in out else None
    else:
        row.chain = [pem(der) for der in answer.certs]
        if not row.chain:
            row.text = "FAILED: the service sent no certificate with %s" % describe(answer)
            return row
    fault = key_exchange_fault(profile, answer)
    if fault:
        row.text = "FAILED: %s: %s" % (describe(answer), fault)
        return row
    verdict = chain_verdict(verifier, row.chain, host, profile)
    if verdict:
        row.text = "%s: %s: %s" % (verdict[0], describe(answer), verdict[1])
        return row
    row.ok = True
    row.text = "OK: %s" % describe(answer)
    if answer.warnings:
        row.text += " (warning alert %s noted; a warning does not end the handshake)" % ", ".join(
            ALERTS.get(w, str(w)) for w in answer.warnings)
    return row


# --- below the rows ---------------------------------------------------------------------------

def report_chain(chain, verifier, source):
    print("Chain as served (to %s):" % source)
    infos = [cert_info(c) for c in chain]
    now = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None)
    for i, info in enumerate(infos):
        left = "expiry unknown"
        if info["end"]:
            days = (info["end"] - now).days
            left = "expires %s, %d days left" % (info["end"].strftime("%Y-%m-%d"), days)
            if days < 0:
                left = "EXPIRED %s" % info["end"].strftime("%Y-%m-%d")
            elif days < 30:
                left += " (renew soon)"
        print("  %d  %s  (issued by %s; %s)" % (i, info["subject"], info["issuer"], left))
    missing = missing_issuer(verifier, chain)
    if verifier.verify(chain) is None:
        print("  every intermediate sent: yes, the chain reaches a trusted root from what is served")
    elif missing and not missing[1]:
        print("  every intermediate sent: NO: the issuer of the last certificate served (%s) is not "
              "served, and the certificate names no CA Issuers address: a till fails unless it "
              "already holds that certificate" % missing[0])
    elif missing:
        print("  every intermediate sent: NO: the issuer of the last certificate served (%s) is not "
              "served; a till fails unless it can fetch it from %s (the CA Issuers address, which %s)"
              % missing)
    else:
        print("  every intermediate sent: cannot tell: %s" % verifier.verify(chain)[1])
    fetched = verifier.fetch(missing[1])[0] if missing and missing[1] else None
    root = verifier.root(chain + ([fetched] if fetched else []))
    if root:
        print("  root: %s, trusted on this machine (its roots and --ca). Windows XP and tills that "
              "never reach Windows Update may lack a root that Windows Update delivers later: "
              "such a till fails as with an untrusted authority" % root)
    else:
        print("  root: none that this machine trusts (--ca FILE names one)")
    return infos


def reachable(url):
    """None when a TCP connection to the URL's host opens, else why not."""
    parsed = urllib.parse.urlsplit(url)
    try:
        port = parsed.port or (443 if parsed.scheme == "https" else 80)
        socket.create_connection((parsed.hostname, port), timeout=10).close()
        return None
    except (OSError, ValueError) as e:
        return "does NOT answer from here (%s)" % (getattr(e, "strerror", None) or e)


def answers_ocsp(url, chain, workdir):
    # openssl ocsp keeps retrying a refused connection until its time-out.
    down = reachable(url)
    if down:
        return down
    if len(chain) < 2:
        return answers_http(url)
    leaf, issuer = os.path.join(workdir, "o-leaf.pem"), os.path.join(workdir, "o-issuer.pem")
    with open(leaf, "w") as f:
        f.write(chain[0])
    with open(issuer, "w") as f:
        f.write(chain[1])
    code, out, err = run(["openssl", "ocsp", "-issuer", issuer, "-cert", leaf, "-url", url,
                          "-no_nonce", "-noverify", "-timeout", "10"], timeout=20)
    m = re.search(r"o-leaf\.pem: (\w+)", out)
    if code == 0 and m:
        return "answers (certificate status: %s)" % m.group(1)
    text = (err or out).strip().splitlines()
    return "does NOT answer from here (%s)" % (text[-1] if text else "openssl ocsp: exit %d" % code)


def answers_http(url):
    try:
        with urllib.request.urlopen(url, timeout=10) as r:
            return "answers (HTTP %d, %d bytes)" % (r.status, len(r.read()))
    except urllib.error.HTTPError as e:
        return "answers, but with HTTP %d" % e.code
    except Exception as e:  # any network failure is the finding itself
        return "does NOT answer from here (%s)" % getattr(e, "reason", e)


def report_stapling(rows, leaf):
    asked = [r for r in rows if r.profile.stapling and r.answer is not None and r.chain]
    if not asked:
        return
    stapled = [r for r in asked if r.answer.stapled]
    if stapled:
        print("  OCSP stapling: yes, the service sends the certificate's OCSP answer in the "
              "handshake (to %s)" % ", ".join("\"%s\"" % r.profile.name for r in stapled))
    else:
        print("  OCSP stapling: no%s" % ("; every till asks the OCSP or CRL address below itself"
                                          if leaf["ocsp"] or leaf["crl"] else ""))


def report_revocation(infos, chain, workdir):
    leaf = infos[0]
    if not leaf["ocsp"] and not leaf["crl"]:
        print("Revocation: the certificate names no OCSP or CRL address")
        return
    print("  Revocation addresses, measured from this machine, not from the tills' network:")
    for url in leaf["ocsp"]:
        print("    OCSP %s: %s" % (url, answers_ocsp(url, chain, workdir)))
    for url in leaf["crl"]:
        print("    CRL  %s: %s" % (url, answers_http(url)))


def http_context():
    # Only the Date header and the idle time are read here: the rows above
    # give the verdict on the certificate.
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
    ctx.check_hostname = False
    ctx.verify_mode = ssl.CERT_NONE
    return ctx


def read_http_reply(sock):
    """Status, headers (lower-case names) and body of one HTTP/1.1 reply."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(4096)
        if not chunk:
            raise EOFError("the connection closed before a reply")
        data += chunk
    head, body = data.split(b"\r\n\r\n", 1)
    lines = head.decode("iso-8859-1").split("\r\n")
    status = int(lines[0].split()[1])
    headers = {}
    for line in lines[1:]:
        if ":" in line:
            k, v = line.split(":", 1)
            headers[k.strip().lower()] = v.strip()
    if "content-length" in headers:
        want = int(headers["content-length"])
        while len(body) < want:
            chunk = sock.recv(4096)
            if not chunk:
                break
            body += chunk
    elif headers.get("transfer-encoding", "").lower() == "chunked":
        while not body.endswith(b"0\r\n\r\n"):
            chunk = sock.recv(4096)
            if not chunk:
                break
            body += chunk
    return status, headers, body


def report_date_and_idle(host, address, port):
    try:
        raw = socket.create_connection((address, port), timeout=HANDSHAKE_SECONDS)
        sock = http_context().wrap_socket(raw, server_hostname=None if is_ip(host) else host)
        sock.settimeout(HANDSHAKE_SECONDS)
        sent = time.time()
        sock.sendall(("GET / HTTP/1.1\r\nHost: %s\r\nConnection: keep-alive\r\n\r\n" % host).encode())
        status, headers, _ = read_http_reply(sock)
        got = time.time()
    except (OSError, EOFError, ValueError, IndexError) as e:
        print("Date and idle connection: not checked (no HTTP reply: %s)" % e)
        return
    date = headers.get("date")
    if date:
        try:
            server = email.utils.parsedate_to_datetime(date).timestamp()
            skew = int(round(server - (sent + got) / 2))
            note = ""
            if abs(skew) > 300:
                note = " (more than 5 minutes apart: one of the two clocks is wrong)"
            print("Date: the service says \"%s\", %+d s from this machine's clock%s" % (date, skew, note))
        except (TypeError, ValueError):
            print("Date: the service's Date \"%s\" cannot be read" % date)
    else:
        print("Date: the service's reply has no Date header")
    why = ("  (This does the tills no harm: the DLL opens its connection afresh for every request. "
           "What hurts is a limit under 60 s that the service or a gateway also applies while a "
           "request waits for its reply: the DLL waits 60 s for a reply, and a connection cut "
           "sooner fails a slow request. That limit is not measured here.)")
    if headers.get("connection", "").lower() == "close":
        print("Idle connection: the service closes the connection after each reply")
        print(why)
        sock.close()
        return
    sock.settimeout(IDLE_LIMIT_SECONDS)
    start = time.time()
    try:
        while sock.recv(4096):
            pass
        print("Idle connection: the service closed an idle connection after %.0f s" % (time.time() - start))
    except socket.timeout:
        print("Idle connection: still open after %d s" % IDLE_LIMIT_SECONDS)
    except OSError:
        print("Idle connection: the service closed an idle connection after %.0f s" % (time.time() - start))
    finally:
        sock.close()
    print(why)


def mask(token):
    if len(token) <= 6:
        return "*" * len(token)
    return token[:4] + "*" * (len(token) - 6) + token[-2:]


def report_token(token, profile, row, host, address, port):
    print("GuestInfo with token \"%s\" over the %s profile:" % (mask(token), profile.name))
    if not row.ok:
        print("  not sent: that handshake failed above")
        return
    body = b'{"CardToken":0}'
    request = ("POST /v1/GuestInfo/%s HTTP/1.1\r\nHost: %s\r\nContent-Type:application/json;\r\n"
               "Accept: */*\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % (
                   token, host, len(body))).encode() + body
    started = time.time()
    code, out, err = run(s_client_args(profile, host, address, port) + ["-quiet"],
                         stdin=request, timeout=70)
    took = time.time() - started
    m = re.search(r"HTTP/1\.[01] (\d{3})", out)
    if not m:
        lines = err.strip().splitlines()
        print("  no HTTP reply (%s)" % (lines[-1] if lines else "openssl s_client: exit %d" % code))
        return
    reply = out[m.start():]
    payload = reply.split("\r\n\r\n", 1)[1] if "\r\n\r\n" in reply else ""
    try:
        doc = json.loads(payload.strip() or "x")
        if isinstance(doc, dict) and "Status" in doc:
            verdict = "JSON with a \"Status\" (%s)" % json.dumps(doc["Status"])
        else:
            verdict = "JSON, but without a \"Status\""
    except ValueError:
        verdict = "NOT JSON (%d bytes)" % len(payload)
    slow = " (too slow: the DLL gives up after 60 s)" if took > 60 else (
        " (slow: the DLL gives up after 60 s)" if took > 20 else "")
    print("  HTTP %s after %.1f s%s, %s" % (m.group(1), took, slow, verdict))


EPILOG = """Each row is one kind of till: a Windows version with the TLS settings its WinInet
has by default (or, where named, with one setting). The check sends the TLS
handshake such a till sends and prints what the service answers: "OK" with the
protocol, suite, curve or DH size and signature agreed, or "FAILED" with why.
The row's line begins with its name; the first OK or FAILED on it is its verdict.
"FAILED unless the till can fetch it from ADDRESS" means a till gets through only
if it can reach that address itself. Rows named "update 3042058" are Windows 7
or 8.1 with that update, after the rows without it; the default --oldest row
is a Windows 7 till without it, as nobody can assume a till installed it: name
the updated row when the fleet is known to have it. "What would get a failing till through"
lists the update or setting that gets a failing row through, where the check
saw it do so. --profiles lists what each row offers and where that comes from,
with what is not confirmed.

exit status:
  0  the --oldest row and every row below it get through
  1  one of them does not (the rows above --oldest are shown, not counted)
  2  bad arguments, or nothing answers at all
"""


def advise_windows7(rows):
    """Windows 7 tills get TLS 1.2 only with a setting: say so when it matters."""
    by_name = {r.profile.name: r for r in rows}
    off, on, updated = by_name.get(W7_OFF), by_name.get(W7_ON), by_name.get(W7_UPDATED)
    if off is None or off.ok:
        return
    print()
    offer = off.text.startswith(("FAILED: no common protocol", "FAILED: no common suite"))
    if not offer and on is not None and not on.ok:
        print("Windows 7 tills fail with \"Use TLS 1.2\" ticked and without it (\"%s\" and \"%s\" "
              "above)." % (W7_OFF, W7_ON))
        return
    still = ""
    if on is not None and not on.ok:
        still = " Even with it they fail here (\"%s\" above)" % W7_ON
        still += (", unless they also have update 3042058 (\"%s\" gets through)." % W7_UPDATED
                  if updated is not None and updated.ok else ".")
    print("Windows 7 tills: this service needs TLS 1.2 from them, which WinInet on Windows 7 "
          "uses only with Internet Explorer 11, or with \"Use TLS 1.2\" ticked in Internet "
          "Options, Advanced, for the account the host runs as. Tills with Internet Explorer 8 "
          "to 10 and nothing changed fail (\"%s\" above). INSTALL.txt, at \"TLS.\", tells "
          "the installer to tick it.%s" % (W7_OFF, still))


def report_fixes(rows):
    """Which failing rows an update or a setting gets through, as measured: the
    row that is the same till with it got through, or the widened probe that
    added what the update brings did."""
    by_name = {r.profile.name: r for r in rows}
    lines = []
    for row in rows:
        if row.ok or not row.answered:
            continue
        fixed = [(other, what) for other, what in row.profile.fixes
                 if other in by_name and by_name[other].ok]
        if fixed:
            other, what = fixed[0]
            lines.append("  %s: %s (\"%s\" gets through)" % (row.profile.name, what, other))
        elif row.profile.ems_update and row.text.startswith(
                "FAILED: the service demands extended master secret"):
            lines.append("  %s: %s (offered it, the service agrees)" % (
                row.profile.name, row.profile.ems_update))
    if lines:
        print()
        print("What would get a failing till through:")
        print("\n".join(lines))


def print_profiles():
    for p in PROFILES:
        print("%s (%s)%s" % (p.name, p.sources, " UNCONFIRMED" if p.unconfirmed else ""))
        print("  protocols   %s" % ", ".join(VERSIONS[v] for v in p.versions))
        print("  suites      %s" % ", ".join(SUITES[s] for s in p.suites))
        print("  curves      %s" % (", ".join(GROUPS[g] for g in p.groups) or "none"))
        for suite, groups in sorted(i for i in p.pairs.items() if i[0] in p.suites):
            print("              %s only with %s" % (SUITES[suite], ", ".join(GROUPS[g] for g in groups)))
        print("  sigalgs     %s" % (", ".join(SIGALGS[s] for s in p.sigalgs) or "none sent"))
        print("  DH groups   %s" % ("%d to %d bits in steps of %d [CNG] [MS15-055] [TLSREG] (that "
                                    "SChannel refuses other sizes is inferred from [CNG])" % p.dh if p.dh else
                                    "not judged (no source read for this Windows' limits)"))
        print("  extensions  %s" % (", ".join(
            e for e, on in (("server name", p.sni), ("OCSP stapling", p.stapling),
                            ("elliptic curves", bool(p.groups)), ("signature algorithms", bool(p.sigalgs)),
                            ("extended master secret", p.ems), ("secure renegotiation", True)) if on)
            if p.extensions else "none (no extension block)"))
        for other, what in p.fixes:
            print("  fixed by    %s, as the row \"%s\"" % (what, other))
        if p.ems_update:
            print("  fixed by    %s, where the service demands it" % p.ems_update)
        print("  notes       %s" % p.notes)
    print()
    for tag, title, url in SOURCES:
        print("%s %s%s" % (tag, title, "\n      " + url if url else ""))


# --- main -------------------------------------------------------------------------------------

def main(argv):
    parser = argparse.ArgumentParser(
        description="Which Windows generations' tills get through to the loyalty service's TLS.",
        formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog=EPILOG)
    parser.add_argument("target", metavar="HOST[:PORT]", nargs="?",
                        help="the service's name as the tills' conf.xml has it (port 443 by default)")
    parser.add_argument("--connect-to", metavar="ADDRESS[:PORT]",
                        help="connect here while naming HOST (DNS not asked)")
    parser.add_argument("--ca", metavar="FILE", help="trust this CA (PEM) besides the system's roots")
    parser.add_argument("--oldest", metavar="ROW", default=DEFAULT_OLDEST,
                        help="the oldest row the fleet has: one of %s (default: %%(default)s)" %
                        ", ".join('"%s"' % n for n in NAMES))
    parser.add_argument("--token", metavar="TOKEN",
                        help="also send one GuestInfo {\"CardToken\":0} with this API token")
    parser.add_argument("--profiles", action="store_true",
                        help="print what each row offers, with its sources and what is not "
                        "confirmed, and exit")
    args = parser.parse_args(argv)
    if args.profiles:
        print_profiles()
        return 0
    if not args.target:
        parser.error("HOST is missing")
    oldest = [n for n in NAMES if n.lower() == args.oldest.lower()]
    if not oldest:
        parser.error("--oldest: unknown row %r (one of %s)" % (
            args.oldest, ", ".join('"%s"' % n for n in NAMES)))
    target = re.sub(r"^https://", "", args.target).split("/", 1)[0]
    try:
        host, port = split_host_port(target, 443)
        address, port = split_host_port(args.connect_to, port) if args.connect_to else (host, port)
    except ValueError as e:
        parser.error(str(e))
    if args.ca and not os.path.isfile(args.ca):
        parser.error("--ca: no such file: %s" % args.ca)
    if args.token is not None and not re.fullmatch(r"[A-Za-z0-9._~-]+", args.token):
        parser.error("--token: only letters, digits and . _ ~ - can stand in a request path")

    try:
        address = socket.getaddrinfo(address, port, type=socket.SOCK_STREAM)[0][4][0]
    except OSError as e:
        print("%s: the name does not resolve (%s)" % (address, e))
        return 2

    print("Service check of %s as the tills see it (connecting to %s)" % (
        join_host_port(host, port), join_host_port(address, port)))
    with tempfile.TemporaryDirectory(prefix="servicecheck-") as workdir:
        verifier = Verifier(args.ca, workdir)
        rows = []
        for profile in PROFILES:
            row = check_row(profile, host, address, port, verifier)
            rows.append(row)
            print("%s: %s%s" % (profile.name, row.text,
                                " [profile unconfirmed: --profiles]" if profile.unconfirmed else ""))
            sys.stdout.flush()
        if not any(r.answered for r in rows):
            print("Nothing answers at %s." % join_host_port(address, port))
            return 2
        advise_windows7(rows)
        report_fixes(rows)
        print()
        seen = [r for r in rows if r.chain]
        if seen:
            source = ([r for r in seen if r.ok] or seen)[-1]
            infos = report_chain(source.chain, verifier, source.profile.name)
            plain = [r for r in seen if not r.profile.sni]
            if plain and plain[-1].chain[0] != source.chain[0]:
                info = cert_info(plain[-1].chain[0])
                print("  without a server name (%s): %s, for %s" % (
                    plain[-1].profile.name, info["subject"], ", ".join(info["names"]) or "no DNS names"))
            report_stapling(rows, infos[0])
            report_revocation(infos, source.chain, workdir)
        else:
            print("Chain: no certificate was served to any of the generations")
        report_date_and_idle(host, address, port)
        if args.token is not None:
            report_token(args.token, PROFILES[-1], rows[-1], host, address, port)

    first = NAMES.index(oldest[0])
    failing = ["\"%s\"" % r.profile.name for r in rows[first:] if not r.ok]
    print()
    if failing:
        print("Verdict: NOT every till from \"%s\" onwards gets through (FAILED: %s)" % (
            oldest[0], ", ".join(failing)))
        return 1
    print("Verdict: every till from \"%s\" onwards gets through" % oldest[0])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
