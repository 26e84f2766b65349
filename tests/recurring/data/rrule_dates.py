#!/usr/bin/env python3
# Reads lines "YYYYMMDD RRULE-TEXT FROM TO" and prints, for each, the dates
# python-dateutil's rrule gives within FROM..TO (YYYYMMDD, inclusive), as
# one line of space-separated YYYYMMDD values (an empty line for none), or
# "?" when dateutil has not finished in two seconds: it follows a rule that
# never falls to the year 9999.
import signal
import sys
import warnings
from datetime import datetime
from dateutil.rrule import rrulestr


def give_up(signum, frame):
    raise TimeoutError


signal.signal(signal.SIGALRM, give_up)
warnings.simplefilter("ignore", DeprecationWarning)
for line in sys.stdin:
    first, rule, low, high = line.split()
    r = rrulestr("RRULE:" + rule, dtstart=datetime.strptime(first, "%Y%m%d"))
    lo = datetime.strptime(low, "%Y%m%d")
    hi = datetime.strptime(high, "%Y%m%d")
    # A rule that never falls would be followed to year 9999: end it at TO.
    if r._until is None or r._until > hi:
        r = r.replace(until=hi)
    signal.alarm(2)
    try:
        print(" ".join(d.strftime("%Y%m%d") for d in r if d >= lo), flush=True)
    except TimeoutError:
        print("?", flush=True)
    signal.alarm(0)
