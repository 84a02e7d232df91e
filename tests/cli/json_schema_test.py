#!/usr/bin/env python3
"""Every JSON line pelodyn-cli analyse prints (a good file, a failed file, an
irregular search, a file whose result file cannot be written) is valid
against the documented schema."""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

import jsonschema

cli, examples, schema_path = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
schema = json.loads(schema_path.read_text())
jsonschema.Draft202012Validator.check_schema(schema)
with tempfile.TemporaryDirectory() as tmp:
    work = pathlib.Path(tmp)
    for name in ("homogeneous-grid.pdd", "irregular-random.pdd"):
        shutil.copy(examples / name, work / name)
    (work / "broken.pdd").write_text("not a project\n")
    shutil.copy(examples / "homogeneous-grid.pdd", work / "blocked.pdd")
    (work / "blocked.pdr").mkdir()
    files = [str(work / n) for n in ("homogeneous-grid.pdd", "irregular-random.pdd", "broken.pdd", "blocked.pdd")]
    run = subprocess.run([cli, "analyse", "--json", "--quiet", *files], capture_output=True, text=True,
                         env={"PELODYN_HOME": tmp, "PATH": "/usr/bin:/bin"})
    lines = [json.loads(line) for line in run.stdout.splitlines() if line.strip()]
    assert len(lines) == 4, run.stdout
    for line in lines:
        jsonschema.validate(line, schema)
    assert [line["ok"] for line in lines] == [True, True, False, True]
    assert [line["result_file_error"] is None for line in lines] == [True, True, True, False]
    assert lines[3]["minima"] == lines[0]["minima"]
print("4 result lines valid against the schema")
