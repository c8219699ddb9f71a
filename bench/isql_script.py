#!/usr/bin/env python3
"""Write the isql-fb script a DBA would load a campaign file with, to compare the import with.

    python3 bench/isql_script.py N YEAR OUT

The lines are those of scripts/make_samples.py --lines N, with the values the import stores,
each an UPDATE OR INSERT matching the CNPJ, a COMMIT after every 1000. COD_CAM is the script's
running number, so a line naming a CNPJ again gives its row a new code too. The script is in
Windows-1252, for isql-fb -ch WIN1252.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import make_samples  # noqa: E402

LINES_PER_COMMIT = 1000


def literal(text):
    return "'" + text.replace("'", "''") + "'"


def statement(code, line):
    values = [
        str(code),
        literal("PARTIDO" if line.party else "CANDIDATO"),
        literal(line.cnpj),
        literal(line.name),
        str(line.year),
        literal(line.natjur),
        literal(line.cnae),
        literal(line.when.strftime("%Y-%m-%d %H:%M")),
        literal("bench"),
        "CURRENT_TIMESTAMP",
    ]
    return ("UPDATE OR INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, "
            "ANO_CAM, NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM) VALUES ("
            + ", ".join(values) + ") MATCHING (CNPJ_CAM);")


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: isql_script.py N YEAR OUT")
    count, year, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    with open(path, "w", encoding="cp1252", newline="\n") as out:
        for code, line in enumerate(make_samples.bulk_lines(year, count), start=1):
            out.write(statement(code, line) + "\n")
            if code % LINES_PER_COMMIT == 0:
                out.write("COMMIT;\n")
        out.write("COMMIT;\n")


if __name__ == "__main__":
    main()
