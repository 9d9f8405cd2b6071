"""Paths the Python tests share; CTest passes them in the environment."""
import os
import subprocess
from pathlib import Path

import pytest

SOURCE = Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def cli():
    """Runs tavrin-cli; returns (exit code, stdout, stderr)."""
    program = os.environ["TAVRIN_CLI"]

    def run(*args):
        r = subprocess.run([program, *map(str, args)], capture_output=True, text=True)
        return r.returncode, r.stdout, r.stderr

    return run


@pytest.fixture(scope="session")
def drawings():
    return Path(os.environ["TAVRIN_DXF_DRAWINGS"])
