BUILD ?= build

.PHONY: deps build demo test bench clean

# GoogleTest comes from Debian's libgtest-dev; install it when missing.
deps:
	@test -f /usr/include/gtest/gtest.h || \
		(apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libgtest-dev)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

demo: build
	$(BUILD)/ostrel_demo data/sample_candles.csv

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD)
