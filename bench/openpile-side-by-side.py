#!/usr/bin/env python3
"""Speed of the engine beside OpenPile, an open Python library of p-y analyses.

Both analyse a beam of 40 elements on generated springs of the same two soil
models (sand over soft clay, after the benchmark BM_Generated40 of
AnalysisBench.cpp: 24 ft, sand to 8 ft, clay su 500 to 700 psf below), one
after the other in one run of this script on the same machine:

  in memory   the engine's BM_Generated40_Analyse (bench_engine) against
              OpenPile's winkler() on a model already built;
  whole run   a process from start to end: `terraq run` of
              examples/cantilever-sand-generated.tq4d (read, analyse, write
              and sync the outputs) against a Python script that imports
              OpenPile, builds the model, analyses it and writes its results
              as CSV.

The problems are alike in size and soil models, not the same structure (a
wall with soil on both faces against a pile loaded at its head): the figures
are ratios of work of one kind, not of identical numbers.

OpenPile is not a dependency of the project: point OPENPILE_SRC at its
source folder (its src/) and run with a Python that has its packages, e.g.
  OPENPILE_SRC=/tmp/openpile/src /usr/bin/python3 bench/openpile-side-by-side.py build
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROUNDS = 5


def engine_in_memory_seconds(build):
    out = subprocess.run(
        [os.path.join(build, "bin", "bench_engine"),
         "--benchmark_filter=BM_Generated40_Analyse$", "--benchmark_format=json",
         "--benchmark_min_time=2"],
        check=True, capture_output=True, text=True).stdout
    run = json.loads(out)["benchmarks"][0]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
    return run["cpu_time"] * scale


def engine_whole_run_seconds(build, source):
    example = os.path.join(source, "examples", "cantilever-sand-generated.tq4d")
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "wall.tq4d")
        shutil.copy(example, data)
        command = [os.path.join(build, "bin", "terraq"), "run", data]
        subprocess.run(command, check=True, capture_output=True)
        start = time.perf_counter()
        for _ in range(ROUNDS * 4):
            subprocess.run(command, check=True, capture_output=True)
        return (time.perf_counter() - start) / (ROUNDS * 4)


def openpile_model():
    from openpile.construct import Layer, Model, Pile, SoilProfile
    from openpile.soilmodels import API_clay, API_sand
    pile = Pile.create_tubular(name="wall", top_elevation=0, bottom_elevation=-7.315,
                               diameter=0.61, wt=0.012)
    soil = SoilProfile(name="sand over soft clay", top_elevation=0, water_line=-20, layers=[
        Layer(name="sand", top=0, bottom=-2.44, weight=18.85,
              lateral_model=API_sand(phi=30, kind="static")),
        Layer(name="soft clay", top=-2.44, bottom=-8.0, weight=17.3,
              lateral_model=API_clay(Su=[23.9, 33.5], eps50=0.02, kind="static")),
    ])
    model = Model(name="side by side", pile=pile, soil=soil, coarseness=7.315 / 40)
    model.set_support(elevation=-7.315, Tx=True)
    model.set_pointload(elevation=0, Py=20)
    return model


def openpile_in_memory_seconds():
    import contextlib
    import io
    from openpile.analyze import winkler
    with contextlib.redirect_stdout(io.StringIO()):
        model = openpile_model()
        winkler(model)  # compiles what it compiles once
        start = time.perf_counter()
        for _ in range(ROUNDS):
            winkler(model)
    return (time.perf_counter() - start) / ROUNDS


def openpile_whole_run_seconds():
    with tempfile.TemporaryDirectory() as folder:
        script = (f"import sys; sys.path[:0] = {sys.path!r}\n"
                  "import importlib.util, os\n"
                  f"spec = importlib.util.spec_from_file_location('side', {__file__!r})\n"
                  "side = importlib.util.module_from_spec(spec); spec.loader.exec_module(side)\n"
                  "from openpile.analyze import winkler\n"
                  "result = winkler(side.openpile_model())\n"
                  f"result.deflection.to_csv({os.path.join(folder, 'deflection.csv')!r})\n"
                  f"result.forces.to_csv({os.path.join(folder, 'forces.csv')!r})\n")
        start = time.perf_counter()
        for _ in range(ROUNDS):
            subprocess.run([sys.executable, "-c", script], check=True, capture_output=True)
        return (time.perf_counter() - start) / ROUNDS


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if os.environ.get("OPENPILE_SRC"):
        sys.path.insert(0, os.environ["OPENPILE_SRC"])
    try:
        import openpile  # noqa: F401
    except ImportError as error:
        sys.exit(f"OpenPile cannot be imported ({error}): set OPENPILE_SRC")
    ours_memory = engine_in_memory_seconds(build)
    ours_run = engine_whole_run_seconds(build, source)
    theirs_memory = openpile_in_memory_seconds()
    theirs_run = openpile_whole_run_seconds()
    print(f"{'':12}{'engine':>14}{'OpenPile':>14}{'ratio':>10}")
    for name, ours, theirs in (("in memory", ours_memory, theirs_memory),
                               ("whole run", ours_run, theirs_run)):
        print(f"{name:12}{ours * 1e3:11.3f} ms{theirs * 1e3:11.1f} ms{theirs / ours:9.0f}x")


if __name__ == "__main__":
    main()
