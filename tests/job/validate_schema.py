"""Has the program save its sample jobs, checks them against
docs/kelvane-job.schema.json, and checks that the schema refuses what the
program refuses:
    validate_schema.py <schema> <write_samples program>
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

samples = tempfile.mkdtemp(prefix="kelvane-samples-")
subprocess.run([sys.argv[2], samples], check=True)
failed = False
jobs = []
for path in sorted(glob.glob(os.path.join(samples, "*.kelvane"))):
    with open(path, encoding="utf-8") as f:
        job = json.load(f)
    jobs.append(job)
    errors = [e.message for e in validator.iter_errors(job)]
    print(("valid: " if not errors else "INVALID: ") + path, *errors, sep="\n  ")
    failed |= bool(errors)
    os.remove(path)
os.rmdir(samples)
if not jobs:
    print("no job files given")
    sys.exit(1)


def edited(change):
    job = copy.deepcopy(jobs[0])
    change(job)
    return job


refused = {
    "newer format version": edited(lambda j: j.update(formatVersion=2)),
    "no format version": edited(lambda j: j.pop("formatVersion")),
    "another format": edited(lambda j: j.update(format="kelvane-batch")),
    "missing input box": edited(lambda j: j["inputs"].pop("turns")),
    "number for a text": edited(lambda j: j["inputs"].update(turns=10)),
    "unknown former": edited(lambda j: j.update(former="oval")),
    "unknown material": edited(lambda j: j.update(material=0)),
    "memo too long": edited(lambda j: j["job"].update(memo="x" * 10001)),
    "temperature as text": edited(lambda j: j["job"].update(workingTemperature="75")),
    "temperature too hot": edited(lambda j: j["job"].update(workingTemperature=500.5)),
}
for name, job in refused.items():
    if validator.is_valid(job):
        print("ACCEPTED by the schema: " + name)
        failed = True
accepted = edited(lambda j: j.update(extra={"later": [1, 2]}))
if not validator.is_valid(accepted):
    print("REFUSED by the schema: a key of a later version")
    failed = True
sys.exit(1 if failed else 0)
