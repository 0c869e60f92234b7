"""Reads a LandXML file with Python's own XML parser and checks what Terravue promises of it.

usage: check_landxml.py FILE.xml POINTS TRIANGLES BORDER_POINTS BREAKLINES UNIT

UNIT is meter, foot or USSurveyFoot. The file must be LandXML 1.2 in its namespace, name its units
and the application, and hold one TIN surface with the given numbers of points, faces, outer
boundary vertices (the closing repeat not counted) and breakline segments. Every face must name
three points of the surface and go round counter-clockwise in the plan; every number must read
as a finite real. Exit status 0 when all holds; otherwise the problems are printed and it is 1.
"""

import math
import sys
import xml.etree.ElementTree as ET

NS = "{http://www.landxml.org/schema/LandXML-1.2}"


def numbers(text):
    values = [float(t) for t in (text or "").split()]
    if not all(math.isfinite(v) for v in values):
        raise ValueError("a number is not finite")
    return values


def triples(text):
    values = numbers(text)
    if len(values) % 3:
        raise ValueError("a vertex list is not made of triples")
    return [values[i:i + 3] for i in range(0, len(values), 3)]


def main():
    path, points, triangles, border, breaklines, unit = sys.argv[1:7]
    problems = []

    def expect(what, got, want):
        if str(got) != str(want):
            problems.append(f"{what}: {got}, expected {want}")

    root = ET.parse(path).getroot()
    expect("root", root.tag, NS + "LandXML")
    expect("version", root.get("version"), "1.2")
    for attribute in ("date", "time"):
        if not root.get(attribute):
            problems.append(f"the root has no {attribute}")
    linear = [e.get("linearUnit") for e in root.iter() if e.tag in (NS + "Metric", NS + "Imperial")]
    expect("linear unit", linear, [unit])
    applications = root.findall(NS + "Application")
    expect("application", [a.get("name") for a in applications], ["Terravue"])
    if applications and not applications[0].get("version"):
        problems.append("the application has no version")

    surfaces = root.findall(f"{NS}Surfaces/{NS}Surface")
    expect("surfaces", len(surfaces), 1)
    if not surfaces:
        return report(problems)
    surface = surfaces[0]
    definition = surface.find(NS + "Definition")
    expect("surface type", definition.get("surfType"), "TIN")

    place = {}
    for p in definition.iter(NS + "P"):
        pid = p.get("id")
        if pid in place:
            problems.append(f"point id {pid} is repeated")
        if not pid or not pid.isdigit() or int(pid) < 1:
            problems.append(f"point id {pid!r} is no positive whole number")
        xyz = numbers(p.text)
        if len(xyz) != 3:
            problems.append(f"point {pid} holds {len(xyz)} numbers")
        place[pid] = xyz
    expect("points", len(place), points)

    faces = definition.findall(f"{NS}Faces/{NS}F")
    expect("faces", len(faces), triangles)
    for f in faces:
        ids = (f.text or "").split()
        if len(ids) != 3 or any(i not in place for i in ids):
            problems.append(f"face {ids} does not name three points")
            continue
        (n0, e0, _), (n1, e1, _), (n2, e2, _) = (place[i] for i in ids)
        # Easting is x, northing is y: counter-clockwise means a positive cross product.
        if (e1 - e0) * (n2 - n0) - (n1 - n0) * (e2 - e0) <= 0:
            problems.append(f"face {ids} is not counter-clockwise")

    source = surface.find(NS + "SourceData")
    outer = [] if source is None else [
        b for b in source.iter(NS + "Boundary") if b.get("bndType") == "outer"]
    ring = triples(outer[0].find(NS + "PntList3D").text) if outer else []
    if ring and ring[0] != ring[-1]:
        problems.append("the outer boundary is not closed")
    expect("border points", max(len(ring) - 1, 0), border)

    segments = 0
    if source is not None:
        for line in source.iter(NS + "Breakline"):
            segments += len(triples(line.find(NS + "PntList3D").text)) - 1
    expect("breakline segments", segments, breaklines)
    return report(problems)


def report(problems):
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
