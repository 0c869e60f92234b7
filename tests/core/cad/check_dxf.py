"""Reads a DXF file with two independent readers and compares what they see.

usage: check_dxf.py FILE.DXF OGRINFO

ezdxf must load the file and its audit must find no errors; GDAL's ogrinfo must read the same
number of entities on every layer as ezdxf finds in the model space. Exit status 0 when all
holds; otherwise the differences are printed and the status is 1.
"""

import collections
import subprocess
import sys

import ezdxf


def main():
    path, ogrinfo = sys.argv[1], sys.argv[2]
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        for error in auditor.errors:
            print("audit error:", error)
        return 1
    ezdxf_counts = collections.Counter(e.dxf.layer for e in doc.modelspace())

    run = subprocess.run([ogrinfo, "-ro", "-al", "-q", "-geom=NO", path],
                         capture_output=True, text=True, check=False)
    if run.returncode != 0:
        print("ogrinfo failed:", run.stderr)
        return 1
    ogr_counts = collections.Counter()
    for line in run.stdout.splitlines():
        line = line.strip()
        if line.startswith("Layer (String) = "):
            ogr_counts[line.split(" = ", 1)[1]] += 1

    if ezdxf_counts != ogr_counts:
        for layer in sorted(set(ezdxf_counts) | set(ogr_counts)):
            print(f"{layer}: ezdxf {ezdxf_counts[layer]}, ogrinfo {ogr_counts[layer]}")
        return 1
    if not ezdxf_counts:
        print("no entities")
        return 1
    for layer, count in sorted(ezdxf_counts.items()):
        print(f"{layer} {count}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
