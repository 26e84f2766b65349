#!/usr/bin/env python3
# Reads lines "YYYYMMDD RRULE-TEXT FROM TO" and prints, for each, the dates
# python-dateutil's rrule gives within FROM..TO (YYYYMMDD, inclusive), as
# one line of space-separated YYYYMMDD values (an empty line for none).
import datetime
import sys
import warnings

from dateutil import rrule

# A rule that never falls would be followed to the year 9999; rrule gives up
# at datetime.MAXYEAR, which only it reads here.
rrule.datetime.MAXYEAR = 2045
warnings.simplefilter("ignore", DeprecationWarning)
for line in sys.stdin:
    first, rule, low, high = line.split()
    start = datetime.datetime.strptime(first, "%Y%m%d")
    r = rrule.rrulestr("RRULE:" + rule, dtstart=start)
    lo = datetime.datetime.strptime(low, "%Y%m%d")
    hi = datetime.datetime.strptime(high, "%Y%m%d")
    print(" ".join(d.strftime("%Y%m%d") for d in r if lo <= d <= hi), flush=True)
