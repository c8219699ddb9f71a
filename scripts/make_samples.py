#!/usr/bin/env python3
"""Write the demo's campaign files into a folder.

    python3 scripts/make_samples.py DIR [YEAR]
    python3 scripts/make_samples.py --lines N DIR [YEAR]

Writes DIR/cnpj_campanha_YEAR.txt (fixed columns, UTF-8) and DIR/cnpj_campanha_YEAR.csv
(';'-delimited, Windows-1252). YEAR is the election year, this year by default, so that the
window, which lists this year, shows what was imported. The same arguments always give the
same bytes.

Besides new contributors, each file names some contributors that sql/demo_data.sql stores:
this year's with a later CNPJ date (the import rewrites them), this year's with an earlier
date and ones of two years ago (the import leaves them alone). The two files share no CNPJ,
so they can be imported in either order; importing a file again changes nothing.

With --lines, writes instead DIR/campanha_N_YEAR.txt and .csv for timing the import on an empty
table: the same N contributor lines in both layouts, every tenth of them a contributor of the
file named again with a later CNPJ date (the import rewrites it), the others new.
"""

import datetime
import os
import sys
import unicodedata

FIRST_NAMES = [
    "MARIA", "JOÃO", "JOSÉ", "ANTÔNIO", "FRANCISCA", "ANA", "LUÍS", "CONCEIÇÃO", "PAULO",
    "MÁRCIA", "SEBASTIÃO", "HELENA", "CÉSAR", "INÊS", "ÍTALO", "GLÓRIA", "ESTÊVÃO", "LÚCIA",
    "ÂNGELA", "CÁSSIO", "DÉBORA", "RAIMUNDO", "TEREZA",
]
MIDDLE_NAMES = ["", "APARECIDA", "JOSÉ", "DE FÁTIMA", "CARLOS", "DAS GRAÇAS", "HENRIQUE"]
SURNAMES = [
    "DA SILVA", "DOS SANTOS", "OLIVEIRA", "SOUZA", "PEREIRA", "LIMA", "GONÇALVES", "ARAÚJO",
    "FERREIRA", "RODRIGUES", "ALMEIDA", "ASSUNÇÃO", "GUIMARÃES", "BRANDÃO", "LEÃO",
    "MAGALHÃES", "ROMÃO", "FALCÃO", "BARBOSA", "CONCEIÇÃO",
]
OFFICES = ["VEREADOR", "VEREADOR", "VEREADOR", "VEREADOR", "PREFEITO", "VICE-PREFEITO"]
PARTIES = [
    ("PAM", "PARTIDO DA AÇÃO MUNICIPAL"), ("PV", "PARTIDO VERDE"),
    ("PS", "PARTIDO DA SOLIDARIEDADE"), ("PT", "PARTIDO DO TRABALHO"),
    ("PD", "PARTIDO DEMOCRÁTICO"), ("PR", "PARTIDO DA REPÚBLICA"),
    ("PUC", "PARTIDO DA UNIÃO CÍVICA"), ("PRA", "PARTIDO DA REFORMA AGRÁRIA"),
    ("PPJ", "PARTIDO DO PROGRESSO E JUSTIÇA"),
]
TOWN = "SÃO JOÃO DAS ÁGUAS"

NATJUR_CANDIDATE = "4090"
NATJUR_PARTY = "3050"
CNAE_POLITICAL = "9492800"


def nfc(text):
    return unicodedata.normalize("NFC", text)


def cnpj_with_check_digits(base12):
    """The 14 digits of a CNPJ whose first 12 are base12, with its two check digits."""
    digits = [int(c) for c in base12]
    for weights in ([5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2], [6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2]):
        rest = sum(d * w for d, w in zip(digits, weights)) % 11
        digits.append(0 if rest < 2 else 11 - rest)
    return "".join(str(d) for d in digits)


def formatted_cnpj(cnpj):
    return f"{cnpj[0:2]}.{cnpj[2:5]}.{cnpj[5:8]}/{cnpj[8:12]}-{cnpj[12:14]}"


class Line:
    """One contributor of a campaign file."""

    def __init__(self, party, cnpj, name, year, natjur, cnae, when, acronym=""):
        self.party = party
        self.cnpj = cnpj
        self.name = nfc(name)
        self.year = year
        self.natjur = natjur
        self.cnae = cnae
        self.when = when
        self.acronym = acronym

    def name_field(self):
        # A candidate's name field: 8 characters, the election year, a blank, the name.
        return self.name if self.party else f"ELEIÇÃO {self.year} {self.name}"


def stored_rows(year):
    """The contributors that sql/demo_data.sql stores, as it computes them, keyed by number."""
    firsts = ["MARIA", "JOÃO", "ANTÔNIO", "FRANCISCA", "JOSÉ", "ANA", "LUÍS", "CONCEIÇÃO",
              "PAULO", "MÁRCIA", "SEBASTIÃO", "HELENA"]
    lasts = ["DA SILVA", "DOS SANTOS", "OLIVEIRA", "SOUZA", "PEREIRA", "LIMA", "GONÇALVES",
             "ARAÚJO", "FERREIRA", "RODRIGUES", "ALMEIDA"]
    parties = ["PARTIDO DA AÇÃO MUNICIPAL", "PARTIDO VERDE", "PARTIDO DA SOLIDARIEDADE",
               "PARTIDO DO TRABALHO", "PARTIDO DEMOCRÁTICO", "PARTIDO DA REPÚBLICA"]
    rows = {}
    for i in range(1, 361):
        row_year = year - (2 if i % 3 == 0 else 0)
        cnpj = f"{30000000 + i * 7919:08d}0001{i * 37 % 100:02d}"
        party = i % 10 == 0
        name = parties[(i // 10) % 6] if party else f"{firsts[i % 12]} {lasts[i * 7 % 11]}"
        when = datetime.datetime(row_year, 7, 15, 10, 0) + datetime.timedelta(days=i * 13 % 90)
        rows[i] = (party, cnpj, name, row_year, when)
    return rows


def known_line(row, days_later):
    """A line for a stored contributor, its CNPJ date moved by days_later (may be negative)."""
    party, cnpj, name, row_year, when = row
    when = when + datetime.timedelta(days=days_later, hours=4, minutes=30)
    natjur = NATJUR_PARTY if party else NATJUR_CANDIDATE
    return Line(party, cnpj, name, row_year, natjur, CNAE_POLITICAL, when)


def new_lines(year, count, cnpj_base, first_candidate):
    """count new contributors: every tenth a party, the others candidates."""
    lines = []
    for k in range(1, count + 1):
        # 4099 shares no factor with 10^8, so the roots stay distinct for any count below it.
        cnpj = cnpj_with_check_digits(f"{(cnpj_base + k * 4099) % 100_000_000:08d}0001")
        when = datetime.datetime(year, 8, 16, 8, 0) + datetime.timedelta(
            days=k * 7 % 45, minutes=k * 37 % 600)
        if k % 10 == 0:
            acronym, party = PARTIES[(k // 10 + cnpj_base) % len(PARTIES)]
            kind = "COMISSÃO PROVISÓRIA" if k % 20 else "DIRETÓRIO"
            name = f"{party} - {kind} MUNICIPAL DE {TOWN}"
            lines.append(Line(True, cnpj, name, year, NATJUR_PARTY, CNAE_POLITICAL, when,
                              acronym))
        else:
            n = first_candidate + k
            parts = [FIRST_NAMES[n % len(FIRST_NAMES)], MIDDLE_NAMES[n * 5 % len(MIDDLE_NAMES)],
                     SURNAMES[n * 3 % len(SURNAMES)], SURNAMES[n * 7 % len(SURNAMES)]]
            name = " ".join(p for p in parts if p) + " " + OFFICES[n % len(OFFICES)]
            lines.append(Line(False, cnpj, name, year, NATJUR_CANDIDATE, CNAE_POLITICAL, when))
    return lines


def later(line, days):
    """The same contributor again, its CNPJ date days later."""
    return Line(line.party, line.cnpj, line.name, line.year, line.natjur, line.cnae,
                line.when + datetime.timedelta(days=days), line.acronym)


def bulk_lines(year, count):
    """count lines: after every nine new contributors, one of the file's earlier ones again
    with a later date, each named again once, from about halfway back in the file."""
    repeats = count // 10
    news = new_lines(year, count - repeats, 10000000, 0)
    lines = []
    for i, line in enumerate(news):
        lines.append(line)
        block = i // 9
        if i % 9 == 8 and block < repeats:
            lines.append(later(news[(block // 2) * 9 + 2 + 4 * (block % 2)], 3))
    return lines


def interleave(news, others):
    """The new lines with the others spread evenly among them."""
    result = list(news)
    step = max(1, len(news) // (len(others) + 1))
    for n, line in enumerate(others):
        result.insert((n + 1) * step + n, line)
    return result


def fixed_column_line(line, sequence):
    """A detail line; columns count characters, so an accented letter takes one."""
    text = ("2" + ("01" if line.party else "02") + line.cnpj + line.name_field().ljust(150)[:150]
            + line.natjur.ljust(4) + line.cnae.ljust(7) + f"{sequence:010d}"
            + line.when.strftime("%d%m%Y%H%M"))
    assert len(text) == 200, text
    return text


def delimited_line(line):
    name = line.name_field()
    if ";" in name or '"' in name:
        name = '"' + name.replace('"', '""') + '"'
    when = line.when.strftime("%d/%m/%Y %H:%M")
    if line.party:
        # A party line has one more field, not read, before the legal nature.
        fields = ["PARTIDO", formatted_cnpj(line.cnpj), name, line.acronym, line.natjur,
                  line.cnae, when]
    else:
        fields = ["CANDIDATO", formatted_cnpj(line.cnpj), name, line.natjur, line.cnae, when]
    return ";".join(fields)


def write_fixed_column_file(path, year, lines):
    """The header, the detail lines and the trailer; the number of lines written."""
    text = [f"1CNPJ DE CAMPANHA ELEITORAL {year} - {TOWN}"]
    text += [fixed_column_line(line, n) for n, line in enumerate(lines, start=1)]
    text.append(f"9{len(lines):09d}")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(text) + "\n")
    return len(text)


def write_delimited_file(path, lines):
    """The title line and the lines; the number of lines written."""
    text = ["TIPO;CNPJ;NOME;NATJUR;CNAE;DATA"] + [delimited_line(line) for line in lines]
    with open(path, "w", encoding="cp1252", newline="\r\n") as out:
        out.write("\n".join(text) + "\n")
    return len(text)


def write_fixed_columns(path, year, stored):
    news = new_lines(year, 200, 50000000, 0)
    # The same new CNPJ again, later: inserted by its first line, rewritten by this one.
    repeated = later(news[41], 3)
    rewrites = [known_line(stored[i], 20) for i in (1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 20, 22)]
    earlier = [known_line(stored[i], -10) for i in (200, 202, 203)]
    old_year = [known_line(stored[i], 20) for i in (3, 6)]
    lines = interleave(news, rewrites + earlier + old_year)
    lines.insert(len(lines) - 5, repeated)
    return write_fixed_column_file(path, year, lines), len(news), len(rewrites) + 1


def write_delimited(path, year, stored):
    news = new_lines(year, 150, 60000000, 500)
    # One party name holds the separator, so its field is quoted.
    news[29].name = nfc(f"PARTIDO DA UNIÃO; TRABALHO E PROGRESSO - DIRETÓRIO MUNICIPAL DE {TOWN}")
    rewrites = [known_line(stored[i], 25) for i in (100, 101, 103, 104, 106, 107, 109, 110)]
    earlier = [known_line(stored[i], -5) for i in (250, 251)]
    old_year = [known_line(stored[9], 25)]
    lines = interleave(news, rewrites + earlier + old_year)
    return write_delimited_file(path, lines), len(news), len(rewrites)


def write_bulk(folder, year, count):
    lines = bulk_lines(year, count)
    repeats = count // 10
    stem = os.path.join(folder, f"campanha_{count}_{year}")
    written = [(stem + ".txt", write_fixed_column_file(stem + ".txt", year, lines)),
               (stem + ".csv", write_delimited_file(stem + ".csv", lines))]
    for path, total in written:
        print(f"{path}: {total} lines; imported into an empty table: "
              f"({count - repeats} Importados e {repeats} Alterados)")


def main():
    args = sys.argv[1:]
    count = None
    if args[:1] == ["--lines"] and len(args) > 1:
        count = int(args[1])
        args = args[2:]
    if len(args) not in (1, 2):
        sys.exit("usage: make_samples.py [--lines N] DIR [YEAR]")
    folder = args[0]
    year = int(args[1]) if len(args) == 2 else datetime.date.today().year
    os.makedirs(folder, exist_ok=True)
    if count is not None:
        write_bulk(folder, year, count)
        return
    stored = stored_rows(year)
    for name, write in ((f"cnpj_campanha_{year}.txt", write_fixed_columns),
                        (f"cnpj_campanha_{year}.csv", write_delimited)):
        path = os.path.join(folder, name)
        total, inserted, rewritten = write(path, year, stored)
        print(f"{path}: {total} lines; imported into a fresh demo database: "
              f"({inserted} Importados e {rewritten} Alterados)")


if __name__ == "__main__":
    main()
