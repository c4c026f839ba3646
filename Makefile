# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test
# make test-sanitize  the same tests built with ASan and UBSan

JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-sanitize

.PHONY: setup build run test test-sanitize bench clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_OPTIONS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# The tests and the benchmarks are options of the build (off without their libraries).
test: CMAKE_OPTIONS += -DTARVEL_TESTS=ON
bench: CMAKE_OPTIONS += -DTARVEL_BENCH=ON

run: build
	cd $(BUILD)/bin && ./tarvel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize: setup
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTARVEL_SANITIZE=ON -DTARVEL_TESTS=ON -DTARVEL_BENCH=OFF >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
