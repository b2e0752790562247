#!/usr/bin/env python3
"""Writes the two example load files of data/ from the record layouts in data/TALVERON.CFG.

    python3 tools/make_sample_data.py

data/sample.dat is the annual report of a made-up hospital licensee that validates without a
single finding; data/faulty.dat is the same report with typical licensee mistakes worked in.
Every record is padded with blanks to the full width of its layout and ends with CR LF.
Doses are in rem; TEDE and TODE are derived from DDE, CEDE and CDE so the sums always hold.
Standard library only.
"""

import copy
import sys
from decimal import Decimal
from pathlib import Path

DATA_DIR = Path(__file__).resolve().parent.parent / "data"
CONFIG_PATH = DATA_DIR / "TALVERON.CFG"


def read_ini(text):
    """Sections and keys with lower-cased names; the first occurrence of a name counts."""
    sections, current = {}, None
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().lower(), {})
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), value.strip())
    return sections


def read_layout(ini, record_type):
    """The (name, width) pairs of one record type, in record order."""
    fields, ordinal = [], 1
    while str(ordinal) in ini[record_type.lower()]:
        name = ini[record_type.lower()][str(ordinal)]
        fields.append((name, int(ini[name.lower()]["len"])))
        ordinal += 1
    return fields


def format_record(layout, values):
    """One record line: every field left-aligned in its width, one blank between fields."""
    unknown = set(values) - {name for name, _ in layout}
    if unknown:
        raise ValueError(f"fields not in the layout: {sorted(unknown)}")
    parts = []
    for name, width in layout:
        text = values.get(name, "")
        if len(text) > width:
            raise ValueError(f"{name} value {text!r} is wider than {width}")
        parts.append(text.ljust(width))
    return " ".join(parts)


def dose_sum(first, second):
    """The decimal text of first + second, where the codes NR, ND and blanks count as zero;
    a zero total is written ND because a reported zero dose is not accepted."""
    total = sum(Decimal(v) for v in (first, second) if v[:1].isdigit())
    return f"{total:.3f}" if total > 0 else "ND"


HEADER = {
    "License_Number": "48-27319-01",
    "Report_Period": "20240101 - 20241231",
    "Licensee_Name": "LAKESHORE UNIVERSITY HOSPITAL",
    "Contact_Person": "MARGARET A. KOWALSKI",
    "Contact_Phone": "(414) 555-0142",
    "Associated_License_1": "48-27319-02",
    "Associated_License_2": "48-27319-05",
}

# Employee_ID, ID_Type, First_Name, Last_Name, Middle_Initial, Birth_Date, Sex, Facility_Code,
# Occupation
PEOPLE = {
    "P01": ("901234567", "SSN", "MARGARET", "KOWALSKI", "A", "19640312", "F", "RSO",
            "HEALTH PHYSICIST"),
    "P02": ("902558104", "SSN", "DAVID", "OKAFOR", "E", "19810722", "M", "NUCMED",
            "NUC MED TECHNOLOGIST"),
    "P03": ("903771290", "SSN", "LINDA", "GARCIA-LOPEZ", "M", "19750105", "F", "NUCMED",
            "NUC MED TECHNOLOGIST"),
    "P04": ("904118833", "SSN", "THOMAS", "O'BRIEN", "J", "19580930", "M", "RXPHARM",
            "RADIOPHARMACIST"),
    "P05": ("905640017", "SSN", "PRIYA", "RAGHAVAN", "", "19880414", "F", "RXPHARM",
            "RADIOPHARMACIST"),
    "P06": ("906302948", "SSN", "JAMES", "WHITFIELD", "R", "19700228", "M", "RADONC",
            "RADIATION THERAPIST"),
    "P07": ("907845521", "SSN", "SUSAN", "NAKAMURA", "K", "19661117", "F", "RADONC",
            "MEDICAL PHYSICIST"),
    "P08": ("908219964", "SSN", "ROBERT", "VAN DER BERG", "", "19520608", "M", "CATHLAB",
            "CARDIOLOGIST"),
    "P09": ("909563302", "SSN", "ANGELA", "DUBOIS", "L", "19830903", "F", "CATHLAB",
            "CATH LAB NURSE"),
    "P10": ("910087456", "SSN", "MICHAEL", "ST. JOHN", "P", "19790521", "M", "INTRAD",
            "RADIOLOGIST"),
    "P11": ("911436780", "SSN", "KAREN", "LINDQVIST", "", "19910310", "F", "INTRAD",
            "RADIOLOGIC TECH"),
    "P12": ("912904115", "SSN", "CHRISTOPHER", "MBEKI", "A", "19950716", "M", "RESLAB",
            "RESEARCH ASSOCIATE"),
    "P13": ("913275668", "SSN", "ELENA", "PETROVA", "V", "19860829", "F", "RESLAB",
            "RESEARCH SCIENTIST"),
    "P14": ("C47719032", "PPN", "HIROSHI", "TANAKA", "", "19770404", "M", "RESLAB",
            "VISITING SCIENTIST"),
    "P15": ("914650291", "SSN", "WILLIAM", "HARGROVE", "T", "19500127", "M", "CYCLOTRON",
            "CYCLOTRON ENGINEER"),
    "P16": ("915382047", "SSN", "JENNIFER", "MCALLISTER", "", "19920211", "F", "CYCLOTRON",
            "RADIOCHEMIST"),
    "P17": ("916014583", "SSN", "DANIEL", "ABERNATHY", "C", "19680615", "M", "RSO",
            "HEALTH PHYSICS TECH"),
    "P18": ("917729306", "SSN", "MARIA", "SANTOS-REYES", "I", "19730808", "F", "NUCMED",
            "NURSE"),
    "P19": ("918443870", "SSN", "KEVIN", "O'CONNELL", "", "19990101", "M", "RXPHARM",
            "PHARMACY TECHNICIAN"),
    "P20": ("919867213", "SSN", "PATRICIA", "HOLLOWAY", "D", "19610419", "F", "NUCMED",
            "PHYSICIAN"),
    "P21": ("LUH004417", "OTH", "ANDRE", "FONTAINE", "", "19850930", "M", "ENVSVC",
            "ENVIRONMENTAL SVCS"),
    "P22": ("W20931877", "WPN", "SOFIA", "ESPINOZA", "R", "19900712", "F", "RESLAB",
            "POSTDOCTORAL FELLOW"),
    "P23": ("920158632", "SSN", "GEORGE", "PAPADOPOULOS", "N", "19550223", "M", "RADONC",
            "DOSIMETRIST"),
    "P24": ("921704519", "SSN", "RACHEL", "BLOOMFIELD", "", "19970505", "F", "NUCMED",
            "NUC MED TECHNOLOGIST"),
    "P25": ("922390846", "SSN", "ISAAC", "ADEYEMI", "O", "19821130", "M", "CATHLAB",
            "CARDIOVASCULAR TECH"),
    "P26": ("923612078", "SSN", "NANCY", "KILPATRICK", "E", "19591014", "F", "INTRAD",
            "NURSE"),
    "P27": ("924085731", "SSN", "SAMUEL", "GREENE", "", "19930318", "M", "CYCLOTRON",
            "CYCLOTRON OPERATOR"),
    "P28": ("925547194", "SSN", "YVONNE", "CHARBONNEAU", "B", "19710627", "F", "RESLAB",
            "LAB MANAGER"),
}

YEAR = ("20240101", "20241231")


class LoadFile:
    """The records of a load file, each a (record type, field values) pair, plus the record
    numbers of the dose records by a short label so that mistakes can be worked in later."""

    def __init__(self):
        self.records = []
        self.labels = {}
        self._identity = None

    def dose(self, label, person, period, dde, lde, sde_wb, sde_me, cede="ND", cde="ND",
             report="ORG", exposure="ROU"):
        emp_id, id_type, first, last, middle, birth, sex, facility, occupation = PEOPLE[person]
        self._identity = {"Employee_ID": emp_id, "ID_Type": id_type,
                          "Monitoring_Start": period[0], "Monitoring_End": period[1]}
        values = dict(self._identity)
        values.update({
            "Record_Type": "D", "First_Name": first, "Last_Name": last,
            "Middle_Initial": middle, "Birth_Date": birth, "Sex": sex,
            "Report_Type": report, "Exposure_Type": exposure,
            "CEDE": cede, "CDE": cde, "TODE": dose_sum(dde, cde), "DDE": dde,
            "TEDE": dose_sum(dde, cede), "LDE": lde, "SDE_WB": sde_wb, "SDE_ME": sde_me,
            "Facility_Code": facility, "Occupation": occupation,
        })
        self.labels[label] = len(self.records)
        self.records.append(("D", values))

    def intake(self, label, nuclide, intake_class, mode, amount):
        values = dict(self._identity)
        values.update({"Record_Type": "I", "Radionuclide": nuclide, "Class": intake_class,
                       "Mode": mode, "Intake": amount})
        self.labels[label] = len(self.records)
        self.records.append(("I", values))

    def comment(self, text):
        values = dict(self._identity)
        values.update({"Record_Type": "C", "Comment": text})
        self.records.append(("C", values))

    def values(self, label):
        return self.records[self.labels[label]][1]


def build_sample():
    f = LoadFile()
    f.dose("P01", "P01", YEAR, "0.046", "0.049", "0.051", "NR")
    f.dose("P02a", "P02", ("20240101", "20240630"), "0.188", "0.192", "0.197", "2.140")
    f.dose("P02b", "P02", ("20240701", "20241231"), "0.203", "0.205", "0.211", "2.385",
           cede="0.009", cde="0.270")
    f.intake("P02b-I131", "I-131", "D", "H", "2.7E-01")
    f.dose("P03", "P03", YEAR, "0.155", "0.160", "0.163", "1.870", cede="0.003", cde="0.004")
    f.intake("P03-Xe133", "Xe-133", "G", "G", "4.8E+02")
    f.dose("P04", "P04", YEAR, "0.312", "0.318", "0.330", "7.450", cede="0.015", cde="0.450")
    f.intake("P04-I131", "I-131", "D", "H", "2.9E-01")
    f.intake("P04-I125", "I-125", "D", "H", "1.8E-01")
    f.dose("P05", "P05", YEAR, "0.276", "0.281", "0.290", "6.120")
    f.dose("P06q1", "P06", ("20240101", "20240331"), "0.012", "0.012", "0.013", "NR")
    f.dose("P06q2", "P06", ("20240401", "20240630"), "ND", "ND", "ND", "NR")
    f.dose("P06q3", "P06", ("20240701", "20240930"), "0.008", "0.008", "0.009", "NR")
    f.dose("P06q4", "P06", ("20241001", "20241231"), "0.015", "0.016", "0.016", "NR")
    f.dose("P07", "P07", YEAR, "0.021", "0.022", "0.023", "NR")
    f.dose("P08", "P08", YEAR, "0.640", "0.910", "0.680", "1.150")
    f.dose("P09", "P09", YEAR, "0.187", "0.240", "0.195", "NR")
    f.dose("P10", "P10", YEAR, "0.455", "0.720", "0.470", "0.980")
    f.dose("P11a", "P11", ("20240101", "20240630"), "0.098", "0.130", "0.101", "NR")
    f.dose("P11b", "P11", ("20240701", "20241231"), "0.112", "0.141", "0.115", "NR")
    f.dose("P12", "P12", YEAR, "ND", "ND", "ND", "NR", cede="0.006", cde="0.006")
    f.intake("P12-H3", "H-3", "V", "H", "9.4E+01")
    f.dose("P13", "P13", YEAR, "0.014", "0.014", "0.016", "0.210")
    f.dose("P14", "P14", ("20240315", "20240913"), "0.007", "0.007", "0.008", "NR")
    f.comment("VISITING SCIENTIST FROM OSAKA UNIVERSITY, MARCH TO SEPTEMBER 2024. "
              "IDENTIFIED BY PASSPORT NUMBER.")
    f.dose("P15", "P15", YEAR, "0.388", "0.392", "0.401", "3.260")
    f.dose("P16", "P16", YEAR, "0.296", "0.301", "0.305", "2.870", cede="0.004", cde="0.011")
    f.intake("P16-F18", "F-18", "F", "H", "1.1E+02")
    f.dose("P17", "P17", YEAR, "0.145", "0.148", "0.156", "0.420", cede="1.250", cde="9.800",
           exposure="ACC")
    f.intake("P17-Sr90", "Sr-90", "Y", "H", "9.6E-01")
    f.comment("CEDE FROM SR-90 SOLUTION SPILL IN LAB B-214 ON 20240611. INTAKE ASSESSED FROM "
              "URINE BIOASSAY; INCIDENT REPORT RSO-2024-07 ON FILE.")
    f.dose("P18", "P18", YEAR, "0.033", "0.035", "0.036", "NR")
    f.dose("P19a", "P19", ("20231201", "20240531"), "0.084", "0.086", "0.090", "1.340")
    f.dose("P19b", "P19", ("20240601", "20241130"), "0.097", "0.099", "0.104", "1.515")
    f.dose("P20", "P20", YEAR, "ND", "ND", "ND", "NR", cede="NR")
    f.dose("P21", "P21", ("20240401", "20240930"), "ND", "ND", "ND", "NR")
    f.dose("P22", "P22", ("20240201", "20241231"), "0.018", "0.018", "0.021", "0.350",
           cede="0.011", cde="0.068")
    f.intake("P22-P32", "P-32", "W", "H", "2.5E+00")
    f.dose("P23", "P23", YEAR, "0.019", "0.019", "0.020", "NR")
    f.dose("P24", "P24", ("20240603", "20241231"), "0.067", "0.069", "0.071", "0.860")
    f.dose("P25", "P25", YEAR, "0.228", "0.305", "0.240", "0.515")
    f.dose("P26", "P26", ("20240101", "20240816"), "0.091", "0.133", "0.095", "NR",
           report="TRM")
    f.comment("EMPLOYMENT ENDED 20240816. TERMINATION REPORT SENT TO THE EMPLOYEE ON 20240905.")
    f.dose("P27", "P27", YEAR, "0.352", "0.355", "0.362", "2.030")
    f.dose("P28a", "P28", ("20230101", "20231231"), "0.038", "0.038", "0.040", "NR",
           report="AMD")
    f.comment("AMENDS THE 2023 REPORT: DDE REVISED AFTER A REREAD OF THE DOSIMETER BY THE "
              "DOSIMETRY VENDOR.")
    f.dose("P28b", "P28", YEAR, "0.041", "0.042", "0.044", "NR")
    return f


def set_dose(values, **doses):
    """Changes dose fields of a dose record and re-derives TEDE and TODE."""
    values.update(doses)
    values["TEDE"] = dose_sum(values["DDE"], values["CEDE"])
    values["TODE"] = dose_sum(values["DDE"], values["CDE"])


def build_faulty(sample):
    """The sample with the mistakes licensees typically make, about one per record."""
    f = copy.deepcopy(sample)
    f.values("P09")["TEDE"] = "0.178"                        # digits transposed: wrong sum
    f.values("P20")["DDE"] = "NC"                            # NC is only for CDE and TODE
    set_dose(f.values("P08"), DDE="5.640")                   # DDE and TEDE above 5 rem
    f.values("P21")["Monitoring_Start"] = "20230401"         # period of 18 months
    f.values("P11b")["Monitoring_Start"] = "20240615"        # overlaps the first half year
    f.values("P24")["Birth_Date"] = "20020505"               # birth year after 1999
    f.values("P07")["Employee_ID"] = "9O7845521"             # letter O typed for a zero
    f.values("P23").update(First_Name="TEST", Last_Name="EMPLOYEE")  # leftover test record
    f.values("P13")["Sex"] = "X"                             # not in Sex_List
    f.values("P27")["Record_Type"] = "d"                     # record type in lower case
    f.values("P01").update(Facility_Code="", Occupation="")  # written without trailing blanks
    set_dose(f.values("P16"), CEDE="ND")                     # intake below a CEDE of ND
    f.values("P22-P32")["Mode"] = "G"                        # class W needs mode H
    f.values("P04-I125")["Radionuclide"] = "I125"            # hyphen missing
    f.values("P10")["Birth_Date"] = "19791321"               # month 13
    f.values("P06q2")["DDE"] = "0.000"                       # zero instead of ND
    set_dose(f.values("P15"), CEDE="0.021")                  # CEDE without an intake record
    set_dose(f.values("P17"), CDE="ND")                      # CEDE above 1 rem without CDE
    return f, {f.labels["P01"]}


def render(load_file, layouts, stripped=frozenset()):
    lines = [format_record(layouts["H"], HEADER)]
    # The pass that collects dose and intake records types every line by its column 41,
    # the header included.
    if lines[0][40:41] in ("D", "I"):
        raise ValueError("column 41 of the header must not read D or I")
    for index, (record_type, values) in enumerate(load_file.records):
        line = format_record(layouts[record_type], values)
        lines.append(line.rstrip() if index in stripped else line)
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def main():
    ini = read_ini(CONFIG_PATH.read_text(encoding="ascii"))
    layouts = {t: read_layout(ini, t) for t in "HDIC"}
    sample = build_sample()
    faulty, stripped = build_faulty(sample)
    (DATA_DIR / "sample.dat").write_bytes(render(sample, layouts))
    (DATA_DIR / "faulty.dat").write_bytes(render(faulty, layouts, stripped))
    return 0


if __name__ == "__main__":
    sys.exit(main())
