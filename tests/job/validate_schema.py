"""Has the program save its sample files, checks those of one kind (job:
*.kelvane against docs/kelvane-job.schema.json; prices: *.prices.json
against docs/kelvane-prices.schema.json), and checks that the schema refuses
what the program refuses:
    validate_schema.py <schema> <write_samples program> job|prices
Exits 77 (skipped) when python3-jsonschema is not installed."""
import copy
import glob
import json
import os
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("skipped: python3-jsonschema is not installed")
    sys.exit(77)

with open(sys.argv[1], encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft7Validator.check_schema(schema)
validator = jsonschema.Draft7Validator(schema)

kind = sys.argv[3]
samples = tempfile.mkdtemp(prefix="kelvane-samples-")
subprocess.run([sys.argv[2], samples], check=True)
failed = False
jobs = []
for path in sorted(glob.glob(os.path.join(samples, "*"))):
    if not path.endswith({"job": ".kelvane", "prices": ".prices.json"}[kind]):
        os.remove(path)
        continue
    with open(path, encoding="utf-8") as f:
        job = json.load(f)
    jobs.append(job)
    errors = [e.message for e in validator.iter_errors(job)]
    print(("valid: " if not errors else "INVALID: ") + path, *errors, sep="\n  ")
    failed |= bool(errors)
    os.remove(path)
os.rmdir(samples)
if not jobs:
    print("no " + kind + " files given")
    sys.exit(1)


def edited(change):
    job = copy.deepcopy(jobs[0])
    change(job)
    return job


def refused_job():
    priced = next(i for j in jobs for i in j["items"] if i.get("quotationTerms"))
    item = lambda change: edited(lambda j: change(j["items"][0]))
    return {
        "newer format version": edited(lambda j: j.update(formatVersion=4)),
        "no format version": edited(lambda j: j.pop("formatVersion")),
        "another format": edited(lambda j: j.update(format="kelvane-batch")),
        "no items": edited(lambda j: j.pop("items")),
        "no item": edited(lambda j: j.update(items=[])),
        "a hundred and one items": edited(lambda j: j.update(items=j["items"] * 101)),
        "version 2 without its coil": edited(lambda j: j.update(formatVersion=2)),
        "missing input box": item(lambda i: i["inputs"].pop("turns")),
        "number for a text": item(lambda i: i["inputs"].update(turns=10)),
        "unknown former": item(lambda i: i.update(former="oval")),
        "unknown material": item(lambda i: i.update(material=0)),
        "part number too long": item(lambda i: i.update(partNumber="x" * 10001)),
        "basis lot as text": item(lambda i: i.update(basisLot="0")),
        "requirement of a length": item(lambda i: i.update(
            requirements=[{"result": "length", "value": 1, "unit": "mm"}])),
        "requirement of nothing": item(lambda i: i.update(
            requirements=[{"result": "weight", "value": 0, "unit": "g"}])),
        "requirement without a unit": item(lambda i: i.update(
            requirements=[{"result": "weight", "value": 40}])),
        "memo too long": edited(lambda j: j["job"].update(memo="x" * 10001)),
        "temperature as text": edited(lambda j: j["job"].update(workingTemperature="75")),
        "temperature too hot": edited(lambda j: j["job"].update(workingTemperature=500.5)),
        "negative revision": edited(lambda j: j["job"].update(revision=-1)),
        "validity as text": edited(lambda j: j["job"].update(validDays="30")),
        "terms as text": item(lambda i: i.update(quotationTerms="1800")),
        "terms without wire price": item(lambda i: i.update(quotationTerms={
            "lossPercent": 0, "windingRpm": 1, "handlingMinutes": 0, "setupMinutes": 0,
            "labourYenPerHour": 0, "overheadPercent": 0, "profitPercent": 0, "parts": [],
            "quantities": []})),
        "unknown wire material": item(lambda i: i.update(quotationTerms=dict(
            priced["quotationTerms"], wireMaterial="silver"))),
        "six lots": item(lambda i: i.update(quotationTerms=dict(
            priced["quotationTerms"], quantities=[1, 2, 3, 4, 5, 6]))),
        "lot of none": item(lambda i: i.update(quotationTerms=dict(
            priced["quotationTerms"], quantities=[0]))),
        "part name as number": item(lambda i: i.update(quotationTerms=dict(
            priced["quotationTerms"], parts=[{"name": 1, "yenPerPiece": 1}]))),
    }


def refused_prices():
    return {
        "newer format version": edited(lambda p: p.update(formatVersion=3)),
        "another format": edited(lambda p: p.update(format="kelvane-job")),
        "no wire prices": edited(lambda p: p.pop("wirePrices")),
        "negative wire price": edited(lambda p: p["wirePrices"][0].update(yenPerKg=-1)),
        "unknown wire material": edited(lambda p: p["wirePrices"][0].update(material="gold")),
        "diameter as text": edited(lambda p: p["wirePrices"][0].update(fromMm="0.2")),
        "no loss": edited(lambda p: p["terms"].pop("lossPercent")),
        "standing winder": edited(lambda p: p["terms"].update(windingRpm=0)),
        "rate as text": edited(lambda p: p["terms"].update(labourYenPerHour="3000")),
        "part without price": edited(lambda p: p["terms"].update(parts=[{"name": "ボビン"}])),
        "twenty-one parts": edited(
            lambda p: p["terms"].update(parts=[{"name": "x", "yenPerPiece": 1}] * 21)),
        "no quantity": edited(lambda p: p["terms"].update(quantities=[])),
        "lot of none": edited(lambda p: p["terms"].update(quantities=[0])),
        "fractional lot": edited(lambda p: p["terms"].update(quantities=[2.5])),
    }


refused = {"job": refused_job, "prices": refused_prices}[kind]()
for name, job in refused.items():
    if validator.is_valid(job):
        print("ACCEPTED by the schema: " + name)
        failed = True
accepted = edited(lambda j: j.update(extra={"later": [1, 2]}))
if not validator.is_valid(accepted):
    print("REFUSED by the schema: a key of a later version")
    failed = True
if kind == "job":
    # A job of one coil as version 2 saved it is still a job of the schema.
    def version_two(j):
        one = j["items"][0]
        del j["items"]
        j["formatVersion"] = 2
        j["job"]["partNumber"] = one["partNumber"]
        for key in ("former", "material", "inputs", "quotationTerms", "priceListSavedAt"):
            j[key] = one[key]
    if not validator.is_valid(edited(version_two)):
        print("REFUSED by the schema: a job of version 2")
        failed = True
sys.exit(1 if failed else 0)
