#!/usr/bin/env python3
"""Writes a brisvane.log of a till's days, in the lines the DLL writes: an
Init each morning, guest lookups (some refused by an unreachable service,
retried once) and returns. For looking at the summary's page and for
timing `hostemu summary` over many tills' logs.

usage: till-log.py OUT [--days N] [--bytes N] [--seed N] [--outage HH:MM-HH:MM]
"""
import argparse
import datetime
import random

TOKEN = "tok-bench"


def entry(at, text):
    return "[" + at.strftime("%m-%d-%Y %H:%M:%S") + "] " + text.replace("\n", "\r\n") + "\r\n"


def init(at):
    return (entry(at, "Init : Started") + entry(at, "Init : CURRENT VERSION: 37") +
            entry(at, "WriteConfToLog : <Configuration><ApiAddress>h</ApiAddress><PlaceOfService>"
                  "<PlaceCode>1</PlaceCode><LoyltyApiToken Default=\"true\">" + TOKEN +
                  "</LoyltyApiToken></PlaceOfService></Configuration>") +
            entry(at, "Init : Ended"))


def head(at, card):
    return (entry(at, "GetCardInfoEx : GetCardInfoEx from File1 Started!") +
            entry(at, "GetCardInfoEx : InputBuf was\n\n<CHECK chmode=\"0\"/>") +
            entry(at, "GetConfig : TRY GET configuration") +
            entry(at, "SendRequestWrapper : TRY SEND REQUEST TO v1/GuestInfo/" + TOKEN +
                  " WITH {\"CardToken\":" + str(card) + "}"))


def found(at, card):
    done = at + datetime.timedelta(seconds=1)
    return (head(at, card) +
            entry(at, "ANSWER FROM URL v1/GuestInfo/" + TOKEN + " \n{\"Status\":1,\"ClientId\":\"" +
                  str(card) + "\",\"BonusBalance\":\"12.5\",\"DiscountId\":3,\"BonusId\":7}") +
            entry(at, "GetCardInfoEx RESULT INFO : Info - \nAccess_amount: 1250;\n"
                  "Card_owner: Guest;\nComment: ;\n") +
            entry(done, "GetCardInfoEx : Ended successfully! RETURN 0"))


def refused(at, card):
    later = at + datetime.timedelta(seconds=10)
    return (head(at, card) + entry(at, "SendRequest : RETURN vector<char> dwExitCode != 0 1") +
            entry(at, "SendRequest : Windows error 12029: The attempt to connect to the server "
                  "failed.") +
            entry(later, "SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
            entry(later, "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!") +
            entry(later, "SendRequestWrapper : AND INFO WAS NULL") +
            "[" + later.strftime("%m-%d-%Y %H:%M:%S") + "] SendRequestWrapper : Info - \r\nNULL")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("out")
    p.add_argument("--days", type=int, default=4)
    p.add_argument("--bytes", type=int, default=0, help="stop once the log holds this many")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--outage", default="12:00-12:40", help="daily, the service unreachable")
    p.add_argument("--start", default="12-01-2026")
    a = p.parse_args()
    rnd = random.Random(a.seed)
    o_from, o_to = [datetime.datetime.strptime(x, "%H:%M").time() for x in a.outage.split("-")]
    day = datetime.datetime.strptime(a.start, "%m-%d-%Y")
    size = 0
    with open(a.out, "w", encoding="utf-8", newline="") as f:
        d = 0
        while (a.bytes and size < a.bytes) or (not a.bytes and d < a.days):
            at = day + datetime.timedelta(days=d, hours=9)
            text = init(at)
            while at.hour < 22:
                at += datetime.timedelta(seconds=rnd.randint(20, 300))
                card = rnd.randint(1000, 9999)
                text += refused(at, card) if o_from <= at.time() < o_to else found(at, card)
            f.write(text)
            size += len(text.encode())
            d += 1


main()
