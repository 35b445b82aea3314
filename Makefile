BUILD ?= build
PYTHON ?= python3
VENV ?= .venv

.PHONY: deps pydeps build demo test clean

# GoogleTest comes from Debian's libgtest-dev; install it when missing.
deps:
	@test -f /usr/include/gtest/gtest.h || \
		(apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libgtest-dev)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

# The main job: a feature frame built by the Python package over the bundled candles.
demo: build
	PYTHONPATH=$(abspath $(BUILD))/python $(PYTHON) examples/demo.py data/sample_candles.csv

# pytest, and pandas for the frame tests, in the project's own venv; installed once.
$(VENV)/.ostrel-deps:
	$(PYTHON) -m venv $(VENV)
	$(VENV)/bin/python -m pip install -q --disable-pip-version-check pytest pandas
	touch $@

pydeps: $(VENV)/.ostrel-deps

# The Python tests import the package from the build tree; pytest's 5 means no tests.
test: build pydeps
	ctest --test-dir $(BUILD) --output-on-failure -j2
	PYTHONPATH=$(abspath $(BUILD))/python $(VENV)/bin/python -m pytest -p no:cacheprovider tests/python; \
		status=$$?; [ $$status -eq 0 ] || [ $$status -eq 5 ]

clean:
	rm -rf $(BUILD)
