#!/usr/bin/env python3
"""Writes a summary document like the client uploads, of about the size asked (MB)."""
import random
import sys

def main():
    path = sys.argv[1]
    megabytes = float(sys.argv[2]) if len(sys.argv) > 2 else 50
    target = int(megabytes * 1024 * 1024)
    rng = random.Random(20261211)
    surnames = ["DUPONT", "MARTIN", "SMITH", "BACH", "MÜLLER", "GARCÍA", "O'BRIEN", "KENNEDY",
                "LEFEBVRE", "ROUSSEAU", "NGUYEN", "ROSSI", "JANSSEN", "NOVAK", "KOWALSKI"]
    surnames += ["NAME%04d" % i for i in range(3000)]
    given = ["JEAN", "MARIE", "PIERRE", "ANNE", "JOHANN SEBASTIAN", "ELIZABETH", "JOHN FITZGERALD",
             "LOUISE", "FRANÇOIS", "CATHERINE", "WILLIAM", "MARGARET", "HENRI", "JOSÉPHINE"]
    places = ["-"] + ["PLACE %d, REGION %d, COUNTRY %d" % (i, i % 97, i % 13) for i in range(5000)]
    with open(path, "w", encoding="latin-1", newline="") as out:
        out.write('<?xml version="1.0" encoding="ISO-8859-1"?>\r\n<gedcom id="17"><lnames>')
        for i, name in enumerate(surnames):
            out.write('<ln id="%d" txt="%s" />' % (i, name.replace("'", "&apos;")))
        out.write("</lnames><places>")
        for i, place in enumerate(places):
            out.write('<p id="%d" txt="%s" />' % (i, place))
        out.write("</places><indivs>")
        written = out.tell()
        n = 0
        while written < target:
            n += 1
            birth = rng.randint(1500, 1990)
            parts = ['<i id="I%d" lnid="%d" fn="%s">' % (n, rng.randrange(len(surnames)),
                                                          rng.choice(given))]
            if rng.random() < 0.8:
                parts.append("<birth pid='%d' y='%d' />" % (rng.randrange(len(places)), birth))
            if rng.random() < 0.5:
                parts.append("<death pid='%d' y='%d' />" % (rng.randrange(len(places)),
                                                            birth + rng.randint(0, 95)))
            parts.append("</i>")
            line = "".join(parts)
            out.write(line)
            written += len(line)
        out.write("</indivs></gedcom>")

if __name__ == "__main__":
    main()
