#!/usr/bin/python3
"""Holiday dates from python3-holidays (Debian), the reference the holiday
sets are checked against.

  library_dates.py --list     every country class and region it knows:
                              "CLASS<TAB>REGION" lines, REGION "-" for the whole
  library_dates.py FIRST LAST then reads "CLASS<TAB>REGION" lines on standard
                              input and writes, for each, "INDEX YYYY-MM-DD"
                              for every holiday of the years FIRST..LAST
"""
import inspect
import sys
import warnings

import holidays

warnings.simplefilter("ignore")

# The countries and the nations of the United Kingdom; aliases (AT, Czech,
# Polish, ...) name the same sets again and are left out.
EXTRA = ["England", "Scotland", "Wales", "NorthernIreland", "IsleOfMan",
         "Ireland", "PortugalExt"]


def classes():
    found = []
    for name in dir(holidays):
        cls = getattr(holidays, name)
        if not inspect.isclass(cls) or cls is holidays.HolidayBase:
            continue
        if not issubclass(cls, holidays.HolidayBase) or cls.__name__ != name:
            continue
        if cls.__bases__[0] is holidays.HolidayBase or name in EXTRA:
            found.append(name)
    return sorted(found)


def regions(cls):
    return list(dict.fromkeys((getattr(cls, "PROVINCES", None) or [])
                              + (getattr(cls, "STATES", None) or [])))


def dates(name, region, first, last):
    cls = getattr(holidays, name)
    kwargs = {}
    if region != "-":
        kwargs["state" if region in (getattr(cls, "STATES", None) or []) else "prov"] = region
    return sorted(cls(years=range(first, last + 1), **kwargs).keys())


def main():
    if sys.argv[1:] == ["--list"]:
        for name in classes():
            print(name + "\t-")
            for region in regions(getattr(holidays, name)):
                print(name + "\t" + region)
        return
    first, last = int(sys.argv[1]), int(sys.argv[2])
    out = []
    for index, line in enumerate(sys.stdin):
        name, region = line.rstrip("\n").split("\t")
        for day in dates(name, region, first, last):
            out.append("%d %s" % (index, day.isoformat()))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
