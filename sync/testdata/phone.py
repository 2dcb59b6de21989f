#!/usr/bin/python3
"""A second CalDAV client for the sync tests: it plays the phone that shares the calendar.

It talks to the server through the python caldav module, independently of our client, and
edits the events' text in place so that whatever it does not touch (X- properties, alarms,
exceptions) stays as it was.

  phone.py --url URL --user U --password P --calendar NAME list
      one JSON object a line: {uid, href, summary, description, dtstart, rrule}
  phone.py ... add SUMMARY DATE [--rrule RULE] [--description D] [--uid UID]
      an all-day event on DATE (YYYY-MM-DD); prints {uid, href}
  phone.py ... edit UID [--summary S] [--description D]
  phone.py ... delete UID
  phone.py ... serve
      reads one command a line from standard input, each a JSON list of the words above after
      the calendar options (["edit", UID, "--description", D]); after each command's output it
      prints a line "--end--" (or "--error-- MESSAGE"): one process for a whole test, which
      saves starting Python for every step
"""

import argparse
import datetime
import json
import sys
import urllib.parse
import uuid

import caldav


def unfold(text):
    lines = []
    for line in text.replace("\r\n", "\n").split("\n"):
        if line.startswith((" ", "\t")) and lines:
            lines[-1] += line[1:]
        elif line:
            lines.append(line)
    return lines


def fold(line):
    data = line.encode("utf-8")
    out = []
    while len(data) > 75:
        cut = 75 if not out else 74
        while cut > 0 and (data[cut] & 0xC0) == 0x80:
            cut -= 1
        out.append(data[:cut].decode("utf-8"))
        data = data[cut:]
    out.append(data.decode("utf-8"))
    return "\r\n ".join(out)


def escape(text):
    return (text.replace("\\", "\\\\").replace(";", "\\;").replace(",", "\\,")
            .replace("\n", "\\n"))


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            c = {"n": "\n", "N": "\n"}.get(text[i], text[i])
        out.append(c)
        i += 1
    return "".join(out)


def split_property(line):
    """'NAME;PARAM=X:value' -> ('NAME', 'value'); the colon may not stand in a quoted param."""
    quoted = False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
        elif c == ":" and not quoted:
            return line[:i].split(";")[0].upper(), line[i + 1:]
    return line.upper(), ""


def master_range(lines):
    """The lines of the first VEVENT without RECURRENCE-ID, as (begin, end) indexes."""
    begin = None
    for i, line in enumerate(lines):
        name, value = split_property(line)
        if name == "BEGIN" and value.upper() == "VEVENT":
            begin = i
        elif name == "END" and value.upper() == "VEVENT" and begin is not None:
            if not any(split_property(l)[0] == "RECURRENCE-ID" for l in lines[begin:i]):
                return begin, i
            begin = None
    raise SystemExit("no VEVENT in the event")


def describe(event):
    lines = unfold(event.data)
    begin, end = master_range(lines)
    fields = {}
    for line in lines[begin + 1:end]:
        name, value = split_property(line)
        if name in ("UID", "SUMMARY", "DESCRIPTION", "DTSTART", "RRULE") and name not in fields:
            fields[name] = value
    return {
        "uid": fields.get("UID", ""),
        "href": urllib.parse.unquote(event.url.path),
        "summary": unescape(fields.get("SUMMARY", "")),
        "description": unescape(fields.get("DESCRIPTION", "")),
        "dtstart": fields.get("DTSTART", ""),
        "rrule": fields.get("RRULE", ""),
    }


def open_calendar(args):
    client = caldav.DAVClient(url=args.url, username=args.user, password=args.password)
    calendars = client.principal().calendars()
    for calendar in calendars:
        segment = urllib.parse.unquote(calendar.url.path.rstrip("/").rsplit("/", 1)[-1])
        if args.calendar in (calendar.name, segment):
            return calendar
    raise SystemExit("no calendar %r among %r" % (args.calendar, [c.name for c in calendars]))


def find(calendar, uid):
    for event in calendar.events():
        if describe(event)["uid"] == uid:
            return event
    raise SystemExit("no event with UID %r" % uid)


def command_list(calendar, args):
    events = sorted((describe(e) for e in calendar.events()), key=lambda d: (d["dtstart"], d["uid"]))
    for event in events:
        print(json.dumps(event, ensure_ascii=False))


def command_add(calendar, args):
    day = datetime.date.fromisoformat(args.date)
    uid = args.uid or str(uuid.uuid4())
    stamp = datetime.datetime.now(datetime.timezone.utc).strftime("%Y%m%dT%H%M%SZ")
    lines = [
        "BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Mirune tests//phone//EN",
        "BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:" + stamp,
        "DTSTART;VALUE=DATE:" + day.strftime("%Y%m%d"),
        "DTEND;VALUE=DATE:" + (day + datetime.timedelta(days=1)).strftime("%Y%m%d"),
        "SUMMARY:" + escape(args.summary),
    ]
    if args.description is not None:
        lines.append("DESCRIPTION:" + escape(args.description))
    if args.rrule:
        lines.append("RRULE:" + args.rrule)
    lines += ["END:VEVENT", "END:VCALENDAR"]
    event = calendar.save_event("\r\n".join(fold(l) for l in lines) + "\r\n")
    print(json.dumps({"uid": uid, "href": urllib.parse.unquote(event.url.path)},
                     ensure_ascii=False))


def command_edit(calendar, args):
    event = find(calendar, args.uid)
    lines = unfold(event.data)
    begin, end = master_range(lines)
    for name, value in (("SUMMARY", args.summary), ("DESCRIPTION", args.description)):
        if value is None:
            continue
        new_line = name + ":" + escape(value)
        for i in range(begin + 1, end):
            if split_property(lines[i])[0] == name:
                lines[i] = new_line
                break
        else:
            lines.insert(end, new_line)
            end += 1
    for i in range(begin + 1, end):
        name, value = split_property(lines[i])
        if name == "SEQUENCE":
            lines[i] = "SEQUENCE:%d" % (int(value or "0") + 1)
    event.data = "\r\n".join(fold(l) for l in lines) + "\r\n"
    event.save()


def command_delete(calendar, args):
    find(calendar, args.uid).delete()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--url", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--calendar", required=True)
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("list")
    add = commands.add_parser("add")
    add.add_argument("summary")
    add.add_argument("date")
    add.add_argument("--rrule")
    add.add_argument("--description")
    add.add_argument("--uid")
    edit = commands.add_parser("edit")
    edit.add_argument("uid")
    edit.add_argument("--summary")
    edit.add_argument("--description")
    delete = commands.add_parser("delete")
    delete.add_argument("uid")
    commands.add_parser("serve")
    args = parser.parse_args()
    calendar = open_calendar(args)
    run = {"list": command_list, "add": command_add, "edit": command_edit,
           "delete": command_delete}
    if args.command != "serve":
        run[args.command](calendar, args)
        return
    common = ["--url", args.url, "--user", args.user, "--password", args.password,
              "--calendar", args.calendar]
    for line in sys.stdin:
        try:
            step = parser.parse_args(common + json.loads(line))
            run[step.command](calendar, step)
            print("--end--", flush=True)
        except (SystemExit, Exception) as error:  # the test reads the reason and fails
            print("--error-- %s" % error, flush=True)


if __name__ == "__main__":
    sys.exit(main())
