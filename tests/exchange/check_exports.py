#!/usr/bin/python3
"""The vCards and the calendar the program exports, read by real parsers
(vobject and icalendar, as address books and calendars written in Python
read them), and the cards imported back unchanged.

Usage: check_exports.py TARVIK_EXECUTABLE DATA_FOLDER"""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

import icalendar
import vobject

tarvik, data = sys.argv[1], sys.argv[2]
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: {got!r} != {expected!r}")


def run(*args, cwd):
    p = subprocess.run([tarvik, *args], cwd=cwd, capture_output=True)
    if p.returncode != 0:
        sys.exit(f"tarvik {' '.join(args)}: {p.returncode}\n{p.stderr.decode()}")
    return p.stdout


def records(path):
    """The records of a contact file: lists of lines, header and trailer off."""
    out, current = [], None
    for line in open(path, "rb").read().decode("cp1252").split("\r\n"):
        if line.startswith("<BLOC"):
            current = []
        elif line.startswith("</BLOC"):
            out.append(current)
            current = None
        elif current is not None:
            current.append(line)
    return out


with tempfile.TemporaryDirectory() as work:
    shutil.copy(os.path.join(data, "exchange.ctc"), work)
    cards_text = run("export", "--format", "vcard", "exchange.ctc", "-", cwd=work).decode("utf-8")
    cards = list(vobject.readComponents(cards_text))
    check("cards", len(cards), 3)
    first = cards[0]
    check("FN", first.fn.value, 'Dupont; Fils, & Cie "Le Œuf" \\ 50 €')
    check("ORG", first.org.value, ['Dupont; Fils, & Cie "Le Œuf" \\ 50 €'])
    check("N family", first.n.value.family, "Jean-Noël “Jeannot” Dupont")
    check("N prefix", first.n.value.prefix, "M.")
    check("TITLE", first.title.value, "Gérant \\ fondateur")
    check("ADR street", first.adr.value.street, "12, rue de l’Église\nBP 7;\tCedex")
    check("ADR city", first.adr.value.city, "Paris – 1er")
    check("ADR code", first.adr.value.code, "75001")
    check("ADR type", first.adr.params.get("TYPE"), ["work"])
    tels = {tuple(t.params.get("TYPE")): t.value for t in first.tel_list}
    check("TEL", tels, {("work", "voice"): "01 23 45 67 89", ("work", "fax"): "01 23 45 67 90"})
    check("EMAIL", first.email.value, "contact@dupont.example")
    check("CATEGORIES", first.categories.value, ["Négoce, vins; spiritueux"])
    check("NOTE", first.note.value,
          "Première ligne; avec « guillemets »\n\n\tTroisième\\n, pas un saut")
    check("X-TARVIK-CODE", first.contents["x-tarvik-code"][0].value, "10001")
    check("UID form", first.uid.value.startswith("urn:uuid:"), True)
    check("empty FN", cards[2].fn.value, "")
    for line in cards_text.split("\r\n"):
        if len(line.encode("utf-8")) > 75:
            failures.append(f"line longer than 75 octets: {line!r}")

    # The identifiers stay from one export to the next.
    again = run("export", "--format", "vcard", "exchange.ctc", "-", cwd=work).decode("utf-8")
    check("same cards twice", again, cards_text)

    calendar_bytes = run("export", "--format", "ics", "exchange.ctc", "-", cwd=work)
    cal = icalendar.Calendar.from_ical(calendar_bytes)
    todos = list(cal.walk("VTODO"))
    check("to-dos", len(todos), 2)
    timed, whole_day = todos
    check("SUMMARY", str(timed["SUMMARY"]), 'Rappel : Dupont; Fils, & Cie "Le Œuf" \\ 50 €')
    due = timed["DUE"].dt
    check("DUE", (due.replace(tzinfo=None), due.utcoffset()),
          (datetime.datetime(2026, 12, 20, 14, 30), datetime.timedelta(hours=1)))
    check("DUE zone", timed["DUE"].params.get("TZID"), "Europe/Paris")
    check("whole day", whole_day["DUE"].dt, datetime.date(2026, 12, 21))
    check("SUMMARY without type", str(whole_day["SUMMARY"]), "Café du Port")
    check("RELATED-TO", str(timed["RELATED-TO"]), first.uid.value)
    check("STATUS", str(timed["STATUS"]), "NEEDS-ACTION")
    check("DESCRIPTION", str(timed["DESCRIPTION"]),
          "Téléphone : 01 23 45 67 89\nInterlocuteur : Standard\nType de contact\tDate\n"
          "Visite\t\t02/03/2026")
    alarms = list(timed.walk("VALARM"))
    check("alarm", (len(alarms), str(alarms[0]["ACTION"])), (1, "DISPLAY"))
    check("alarm at due", alarms[0]["TRIGGER"].dt, datetime.timedelta(0))
    check("VTIMEZONE", [str(z["TZID"]) for z in cal.walk("VTIMEZONE")], ["Europe/Paris"])
    # vobject reads the same calendar, zone included.
    vcal = vobject.readOne(calendar_bytes.decode("utf-8"))
    check("vobject due", vcal.vtodo_list[0].due.value.utcoffset(), datetime.timedelta(hours=1))

    # Imported back: every field a card carries comes out as it went in.
    with open(os.path.join(work, "cards.vcf"), "w", encoding="utf-8", newline="") as f:
        f.write(cards_text)
    run("import", "--format", "vcard", "back.ctc", "cards.vcf", cwd=work)
    original = records(os.path.join(work, "exchange.ctc"))
    back = records(os.path.join(work, "back.ctc"))
    check("records back", len(back), 3)
    carried = range(1, 13)  # name .. function
    for n, (o, b) in enumerate(zip(original, back)):
        check(f"record {n} fields", [b[i] for i in carried], [o[i] for i in carried])
        check(f"record {n} free text", [l for l in b if l.startswith("TEXT")],
              [l for l in o if l.startswith("TEXT")])
    uids = dict(line.split("\t") for line in
                open(os.path.join(work, "back.uid"), encoding="utf-8").read().splitlines() if line)
    check("card UID kept", uids.get(back[0][0]), first.uid.value)

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("vobject and icalendar read the exports")
